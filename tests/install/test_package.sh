#!/bin/bash
# The Debian package made from a build folder: lintian finds no errors and no
# warnings, and the dependencies read from the programs are there.
#   test_package.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
package=$(ls "$work"/pelmora_*.deb)

depends=$(dpkg-deb --field "$package" Depends)
# The libraries come from dpkg-shlibdeps; cpack leaves them out, with a warning
# at most, when that tool is missing or `file` does not call a program linked.
[[ $depends == *libqt6widgets6* ]] || fail "Depends lacks the libraries the programs link: $depends"
[[ $depends != *wayland* ]] || fail "Depends names a Wayland package: $depends"
echo "ok: Depends: $depends"

# Lintian warns that it runs as root, which CI does; that line is not a finding.
lintian --fail-on error,warning "$package" >"$work/lintian.log" 2>&1
status=$?
grep -v 'running with root privileges' "$work/lintian.log"
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
echo "ok: lintian finds no errors or warnings in $(basename "$package")"
