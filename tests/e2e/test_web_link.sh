#!/bin/bash
# The footer link and logo open the maker's web site through the desktop's opener.
. "$(dirname "$0")/lib.sh"

mkdir -p "$E2E_HOME/bin"
cat >"$E2E_HOME/bin/xdg-open" <<OPENER
#!/bin/sh
printf '%s\n' "\$@" >>"$E2E_HOME/opened"
OPENER
chmod +x "$E2E_HOME/bin/xdg-open"
export PATH="$E2E_HOME/bin:$PATH"

start_widget
wait_for_widget
pointer_to 500 331  # "View outdated drivers..."
xdotool click 1
wait_for 5 "the opener to be called" test -s "$E2E_HOME/opened"
grep -qx 'https://www.talvessa.com/drivers/' "$E2E_HOME/opened" || fail "opened $(cat "$E2E_HOME/opened")"
pass "the link text opens the maker's web site"

: >"$E2E_HOME/opened"
pointer_to 362 331  # the logo strip
xdotool click 1
wait_for 5 "the opener to be called again" test -s "$E2E_HOME/opened"
pass "the logo opens it too"
