# Where the widget's notification-area icon stands in trayer, for the tests
# that run under Wine on scripts/with-test-display (sourced).

# The icon is a Wine window embedded in trayer's panel; prints its centre.
icon_centre() {
    local panel
    panel=$(xdotool search --classname '^panel$' | head -1)
    [ -n "$panel" ] || return 1
    xwininfo -tree -id "$panel" | awk '/"explorer.exe"/ {
        split($(NF-1), size, "[x+]"); split($NF, at, "+");
        print at[2] + int(size[1] / 2), at[3] + int(size[2] / 2); found = 1 }
        END { exit !found }'
}
