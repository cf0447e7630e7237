#!/usr/bin/env bash
# Runs inside a desktop session of desktops.sh: the program's window, covered by another window the
# user typed into, then minimized, must each time come forward, focused and shown, when the program
# is started again; a start with a launcher's startup id must end that startup sequence.
#   second_start.sh APP_FOLDER OTHER_FOLDER RESULT_FILE
set -euo pipefail

app=$1 other=$2 result=$3
source "$(dirname "$0")/wait.sh"
echo "FAIL: the test did not finish" > "$result"
fail_to=$result
active() { xdotool getactivewindow 2>/dev/null || true; }
is_active() { [ "$(active)" = "$1" ]; }
not_active() { [ "$(active)" != "$1" ]; }
heard() { grep -q "$1" "$result.xev"; }
# Active, not hidden, and stacked over the other window.
in_front() {
    local stacking
    is_active "$window" || return 1
    ! xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || return 1
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //')
    [[ $stacking == *"$(printf '0x%x' "$covering")"*"$(printf '0x%x' "$window")"* ]]
}
start_again() {
    timeout 10 "$app/sitewarden" || fail "the second start ended with $?"
    until_true 10 in_front \
        || fail "$1: the window $window is not in front of $covering (active $(active), $(xprop -id "$window" _NET_WM_STATE), $(xprop -root _NET_CLIENT_LIST_STACKING))"
}

"$app/sitewarden" 2>/dev/null &
window=$(program_window --pid $!) || fail "no window"
"$other/sitewarden" 2>/dev/null &
covering=$(program_window --pid $!) || fail "no second window"

xdotool windowactivate --sync "$covering"
xdotool type --delay 20 'abc'
until_true 10 is_active "$covering" || fail "the other window did not take the focus"
# The listener hears the root window's properties once it hears one of the test's own.
xev -root -event property > "$result.xev" 2>/dev/null &
listener=$!
until_true 10 eval 'xprop -root -f _SITEWARDEN_TEST 8s -set _SITEWARDEN_TEST listening; heard _SITEWARDEN_TEST' \
    || fail "xev does not listen"
DESKTOP_STARTUP_ID=sitewarden-e2e-1 start_again "covered"
until_true 10 heard _NET_STARTUP_INFO_BEGIN || fail "the startup sequence was not ended"
kill "$listener"

xdotool windowminimize --sync "$window"
until_true 10 not_active "$window" || fail "still active when minimized"
start_again "minimized"
echo "ok" > "$result"
