#!/usr/bin/env bash
# The built program under a plain X11 window manager (openbox in Xvfb): its frame stands at the lower
# right of a 1024 x 768 screen and is kept on top; Ctrl+T switches that off and on for the same X window,
# which stays where it is, and after the user moved it, returns to the lower right, above a bottom panel
# once there is one.
# Then the password box's copies are tested where X11 has a selection (PRIMARY) too, and the bell.
#   openbox.sh PROGRAM UI_TESTS PLATFORM_TESTS
set -euo pipefail

ui_tests=$2
platform_tests=$3
source "$(dirname "$0")/sandbox.sh" "$1"
unset WAYLAND_DISPLAY

x_server
window_manager openbox

"$app/sitewarden" &
pids+=($!)
window=$(program_window) || fail "no window titled Sitewarden v…"

# The frame's upper left: the client's absolute position less the frame extents the window manager added.
frame_place() {
    local x y left top
    x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $NF}')
    y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $NF}')
    read -r left _ top _ < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((${x:-0} - ${left:-0})),$((${y:-0} - ${top:-0}))"
}
above() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above; }
placed_at() { [ "$(frame_place)" = "$1" ]; }
not_placed_at() { ! placed_at "$1"; }
# Ctrl+T, then a wait until the window manager shows the state $1 (above or not_above).
ctrl_t() {
    xdotool windowactivate --sync "$window"
    xdotool key ctrl+t
    until_true 10 "$1" || fail "keep-on-top is not $1 after Ctrl+T"
}

until_true 10 placed_at 651,496 || fail "frame at $(frame_place), expected 651,496"
until_true 10 above || fail "not kept on top at start"
xprop -id "$window" WM_CLASS | grep -q '"sitewarden", "sitewarden"' || fail "window class $(xprop -id "$window" WM_CLASS)"

ctrl_t not_above
xwininfo -id "$window" 2>/dev/null | grep -q IsViewable || fail "Ctrl+T did not keep the same X window"
placed_at 651,496 || fail "moved to $(frame_place) by Ctrl+T"
until_true 10 grep -q 'WebSet=False' "$work/config/Sitewarden/Sitewarden.ini" || fail "WebSet=False not stored"

xdotool windowmove --sync "$window" 100 80
until_true 10 not_placed_at 651,496 || fail "the window did not move"
ctrl_t above
until_true 10 placed_at 651,496 || fail "frame at $(frame_place) after the second Ctrl+T, expected 651,496"
[ "$(xdotool search --onlyvisible --name '^Sitewarden v[0-9.]*$' | head -n 1)" = "$window" ] || fail "a new window"

# A bottom panel 27 pixels high: the lower right is that of the area the panel leaves free.
xmessage -name panel -geometry 1024x27+0+741 panel >/dev/null 2>&1 &
pids+=($!)
panel=$(timeout 10 xdotool search --sync --classname '^panel$' | head -n 1)
xprop -id "$panel" -f _NET_WM_STRUT_PARTIAL 32c -set _NET_WM_STRUT_PARTIAL "0, 0, 0, 27, 0, 0, 0, 0, 0, 0, 0, 1023"
until_true 10 eval "xprop -root _NET_WORKAREA | grep -q '= 0, 0, 1024, 741'" || fail "the panel took no room"
ctrl_t not_above
ctrl_t above
until_true 10 placed_at 651,469 || fail "frame at $(frame_place) over a bottom panel, expected 651,469"
kill "${pids[-2]}"

QT_QPA_PLATFORM=xcb "$ui_tests" --gtest_filter='DesktopInputTest.WhatThePasswordBox*' >"$work/ui_tests.log" 2>&1 \
    || { tail -n 20 "$work/ui_tests.log"; fail "the password box's copies under X11"; }
QT_QPA_PLATFORM=xcb "$platform_tests" --gtest_filter='QtBeeperTest.*' >"$work/platform_tests.log" 2>&1 \
    || { tail -n 20 "$work/platform_tests.log"; fail "the bell under X11"; }
echo "1 passed, 0 failed"
