#!/usr/bin/env bash
# Runs inside Xvfb (see `sitewarden.sh screenshot`): starts the program over the sample folder,
# selects an entry and saves a picture of the main window.
#   screenshot.sh PROGRAM OUTPUT.png
set -euo pipefail

program=$1
output=$2
"$program" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Sitewarden v[0-9.]*$' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 0.5
# The second line of the list, as a click of the user's.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 40)) $((Y + 25 + 56 + 20)) click 1
sleep 0.5
import -window "$window" "$output"
kill "$pid"
