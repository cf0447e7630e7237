#!/usr/bin/env bash
# Typing Chinese through fcitx5 (pinyin) under openbox in Xvfb, as a user does: a description and a
# user ID typed and chosen, then in the password box 米 chosen and "ma" still being composed. Alt+S
# must save nothing while the composition is open; once it is cancelled (Esc), Alt+S saves 米.
#   fcitx5.sh PROGRAM
set -euo pipefail

# fcitx5 and the program's input method module meet on a session bus of the test's own.
[ -n "${SITEWARDEN_TEST_BUS:-}" ] || SITEWARDEN_TEST_BUS=1 \
    exec dbus-run-session --config-file="$(dirname "$0")/session-bus.conf" -- bash "$0" "$@" 2>/dev/null

source "$(dirname "$0")/sandbox.sh" "$1"
source "$(dirname "$0")/input_method.sh"

x_server
window_manager openbox
start_input_method fcitx5

"$app/sitewarden" &
pids+=($!)
window=$(program_window) || fail "no window titled Sitewarden v…"
xdotool windowactivate --sync "$window"
input_method_ready fcitx5 || fail "no active input context in the window"

# Each syllable is followed by Space, which chooses its first candidate.
choose() { xdotool type --delay 50 "$1"; sleep 0.3; xdotool key space; sleep 0.3; }
choose wang
xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab
choose yong
xdotool key --delay 50 Tab Tab
choose mi
xdotool type --delay 50 ma
records="$app/Sitewarden2.dta"
above() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above; }
until_true 10 above || fail "not kept on top at start"
xdotool key alt+s
# Esc ends the composition; Ctrl+T, seen by the window manager, then shows that the keys before it
# were all handled.
xdotool key Escape ctrl+t
until_true 10 not_above || fail "Ctrl+T was not handled"
[ ! -s "$records" ] || fail "Alt+S saved while \"ma\" was still being composed"
xdotool key alt+s
until_true 10 test -s "$records" || fail "Alt+S saved nothing"
[ "$(od -An -tx1 -j72 -N3 "$records" | tr -d ' ')" = "c3d720" ] || fail "the password saved is not 米"
echo "1 passed, 0 failed"
