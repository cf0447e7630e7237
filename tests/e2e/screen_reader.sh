#!/usr/bin/env bash
# The program as a screen reader meets it, over the AT-SPI bus under Xvfb: every box answers the
# queries Orca makes when the user moves by word, the end of the text included, with whole attribute
# runs, and each word move says its word; Tab into the list names it, and Down chooses its first line,
# heard; that entry erased elsewhere, the line reads as no longer chosen. See atspi_probe.py.
#   screen_reader.sh PROGRAM
set -euo pipefail

source "$(dirname "$0")/atspi_session.sh" "$@"
field() { LC_ALL=C printf '%-*s' "$2" "$1"; }
record() { printf "\\x$(printf %02x "$1")\\x00"; field "$2" 35; field "$3" 35; field "$4" 35; field "$5" 200; }
{
    record 1 "$(printf '\xcd\xf8\xc9\xcf\xd2\xf8\xd0\xd0')" 'zhang wei' 'pass word' 'http://bank.example.org'
    record 2 'mail' 'li si' 'pw2' 'http://mail.example.org'
} >"$app/Sitewarden2.dta"
printf 'zhang.wei@example.org\r\n' >"$app/Email.dta"

x_server
# A window manager, as in the other desktop tests, none of which has lost a connection: without one,
# the program or the look for its window could not reach Xvfb twice in some twenty runs on fresh
# systems.
window_manager openbox
accessibility_bus

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$app/sitewarden" &
pids+=($!)
window=$(program_window) || fail "no window"
xdotool windowfocus --sync "$window"
SITEWARDEN_DATA="$app" /usr/bin/python3 "$here/atspi_probe.py" || fail "the screen reader's queries"
echo "1 passed, 0 failed"
