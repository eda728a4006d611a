#!/bin/bash
# The installed layout: `cmake --install` into a staging folder, the widget
# started from the menu entry's Exec line until its window (the entry's
# StartupWMClass) is on screen, and pelmora-readings from the staged bin folder.
#   test_staged_widget.sh BUILD_DIR APP_ID      (on a display of its own)
. "$(dirname "$0")/../e2e/lib.sh"
build=$1 app=$2
stage=$E2E_HOME/stage

DESTDIR=$stage cmake --install "$build" --prefix /usr >"$E2E_HOME/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$E2E_HOME/install.log")"

entry=$stage/usr/share/applications/$app.desktop
autostart=$stage/etc/xdg/autostart/$app.desktop
for path in "$entry" "$autostart" "$stage/usr/share/metainfo/$app.metainfo.xml" \
    "$stage"/usr/share/man/man1/{pelmora,pelmora-readings}.1.gz; do
    [ -f "$path" ] || fail "not installed: ${path#"$stage"}"
done
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16x16 24x24 32x32 48x48 64x64 128x128 256x256; do
    [ -f "$stage/usr/share/icons/hicolor/$size/apps/$icon.png" ] || fail "no $size icon named $icon"
done
[ -f "$stage/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$stage/usr/share/metainfo/$app.metainfo.xml" ||
    fail "the metainfo does not launch $app.desktop"
pass "the entries, the icons named $icon, the metainfo and the manual pages are installed"

export PATH=$stage/usr/bin:$PATH
# The Exec line as a desktop starts it: words, field codes (%f, %U ...) dropped.
exec_words() {
    sed -n 's/^Exec=//p' "$1" | sed 's/ %[a-zA-Z]//g'
}
read -r -a menu_command <<<"$(exec_words "$entry")"
[ "$(command -v "${menu_command[0]}")" = "$stage/usr/bin/pelmora" ] ||
    fail "the menu entry runs '${menu_command[0]}', not the installed widget"
read -r -a started_at_login <<<"$(exec_words "$autostart")"
[ "$(command -v "${started_at_login[0]}")" = "$stage/usr/bin/pelmora" ] ||
    fail "the autostart entry runs '${started_at_login[0]}', not the installed widget"

"${menu_command[@]}" >"$E2E_HOME/widget.log" 2>&1 &
E2E_PIDS+=($!)
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
window_shown() {
    [ -n "$(mapped_window_of_class "$class")" ]
}
wait_for 15 "a window of the entry's class $class" window_shown
pass "the menu entry's Exec line shows the widget's window ($class)"

pelmora-readings >"$E2E_HOME/readings" 2>"$E2E_HOME/readings.err" ||
    fail "the installed pelmora-readings failed: $(cat "$E2E_HOME/readings.err")"
grep -q $'^lblCPU_ID\t.' "$E2E_HOME/readings" || fail "the installed pelmora-readings printed no processor"
pass "the installed pelmora-readings prints the readings"
