#!/usr/bin/env bash
# The built program in a Wayland session (headless weston with Xwayland), started as a desktop starts it:
# XDG_SESSION_TYPE=wayland, WAYLAND_DISPLAY and DISPLAY set, no platform chosen. It must run through
# Xwayland, its window mapped at the lower right of the 1024 x 768 output and asking to be kept on top
# before it is mapped. Weston's own X window manager ignores that request (and clears _NET_WM_STATE), so
# only the request is checked here. Then the window tests with the real placement run on the native
# Wayland platform.
#   weston.sh PROGRAM UI_TESTS
set -euo pipefail

ui_tests=$2
source "$(dirname "$0")/sandbox.sh" "$1"
unset DISPLAY
fail_log="$work/weston.log"

# --debug lets weston-debug read the scene graph; the xwm-wm-x11 scope logs what the X client asked for.
weston --backend=headless-backend.so --xwayland --use-pixman --width=1024 --height=768 --debug \
    --socket=wayland-sitewarden --logger-scopes=log,xwm-wm-x11 --log="$work/weston.log" 2>/dev/null &
pids+=($!)
until_true 30 grep -q 'xserver listening on display' "$work/weston.log" 2>/dev/null || true
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n 1)
[ -n "$display" ] || fail "weston started no Xwayland"

export XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-sitewarden DISPLAY=$display
"$app/sitewarden" 2>/dev/null &
pids+=($!)
window=$(program_window) \
    || fail "no X window titled Sitewarden v…: the program did not run through Xwayland"

map_line() { grep -n "XCB_MAP_REQUEST (window $window," "$work/weston.log" | head -n 1; }
until_true 10 eval '[ -n "$(map_line)" ]' || true
map=$(map_line)
[[ $map == *"@ 651,496)"* ]] || fail "mapped as: ${map:-nothing}"
above=$(grep -n "PROPERTY_NOTIFY: window $window, _NET_WM_STATE: .*_NET_WM_STATE_ABOVE" "$work/weston.log" | head -n 1)
[ -n "$above" ] && [ "${above%%:*}" -lt "${map%%:*}" ] || fail "no keep-above request before mapping"
# Weston's frame draws a 32-pixel shadow around the window, so the view begins 32 pixels above and left.
view_place() {
    weston-debug scene-graph 2>/dev/null | grep -A1 "top-level window 'Sitewarden v" \
        | sed -n 's/.*position: (\([-0-9]*\), \([-0-9]*\)).*/\1,\2/p'
}
until_true 10 eval '[ "$(view_place)" = 619,464 ]' || fail "the window's view is at $(view_place), expected 619,464"
kill "${pids[-1]}"

# Under the sanitizers, the Wayland client libraries leave their own allocations at exit (without frames to
# suppress them by); the program's leaks are looked for in the offscreen runs of the same tests.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 QT_QPA_PLATFORM=wayland "$ui_tests" --gtest_filter='OptionsMenuTest.KeepOnTop*' \
    || fail "window tests on native Wayland"
echo "1 passed, 0 failed"
