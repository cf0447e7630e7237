#!/usr/bin/env bash
# Chinese typed in the site list through fcitx5 or IBus (pinyin, openbox, Xvfb) chooses the first line
# that starts with it: "mail" chosen, "wang" and Space, then 擦除(E) and Enter erase that line, not "mail".
#   list_typeahead.sh PROGRAM fcitx5|ibus
set -euo pipefail

[ -n "${SITEWARDEN_TEST_BUS:-}" ] || SITEWARDEN_TEST_BUS=1 \
    exec dbus-run-session --config-file="$(dirname "$0")/session-bus.conf" -- bash "$0" "$@" 2>/dev/null

source "$(dirname "$0")/sandbox.sh" "$1"
source "$(dirname "$0")/input_method.sh"
field() { LC_ALL=C printf '%-*s' "$2" "$1"; }
record() { printf "\\x$(printf %02x "$1")\\x00"; field "$2" 35; field "u$1" 35; field "p$1" 35; field '' 200; }
# "mail", then a line for each character the input method may give "wang" first: 王 网 往 望 忘 旺, in GBK.
records="$app/Sitewarden2.dta" slot=0
for name in mail '\xcd\xf5' '\xcd\xf8' '\xcd\xf9' '\xcd\xfb' '\xcd\xfc' '\xcd\xfa'; do
    record $((slot += 1)) "$(printf "$name")"
done >"$records"

x_server
window_manager openbox
start_input_method "$2"
"$app/sitewarden" &
pids+=($!)
window=$(program_window) || fail "no window titled Sitewarden v…"
xdotool windowactivate --sync "$window"
input_method_ready "$2" || fail "no input context in the window"
# From the description box into the list, and onto "mail"; then "wang", its first candidate chosen.
xdotool key --delay 100 Tab Down
xdotool type --delay 100 wang
xdotool sleep 0.3 key space sleep 0.3 key alt+e
until_true 10 eval 'xdotool search --name "^删除此网址\?$" >/dev/null' || fail "擦除(E) asked nothing"
xdotool key Return
deleted() { [ "$(od -An -c -j$((($1 - 1) * 307 + 2)) -N9 "$records" | tr -d ' ')" = "(Deleted)" ]; }
one_erased() { for n in 2 3 4 5 6 7; do deleted "$n" && return 0; done; return 1; }
until_true 10 eval 'one_erased || deleted 1' || fail "nothing was erased"
! deleted 1 || fail "the line typed in the list was not chosen: \"mail\" was erased"
echo "1 passed, 0 failed"
