#!/usr/bin/env bash
# Runs inside the X server of end_to_end.sh: starts the program and types at it.
set -euo pipefail
source "$(dirname "$0")/wait.sh"
source "$(dirname "$0")/typing.sh"

program=$1
"$program" &
pid=$!

window=$(program_window) || { echo "FAIL: no window titled Sitewarden v…"; kill "$pid"; exit 1; }
xdotool windowfocus --sync "$window"

type_entry 'e2e site' 'e2e-user' 'e2e-password'
xdotool key alt+s

until_true 10 eval '[ "$(stat -c %s "$(dirname "$program")/Sitewarden2.dta" 2>/dev/null)" = 307 ]' || true
xdotool key alt+x

status=0
timeout 20 tail --pid="$pid" -f /dev/null || { echo "FAIL: the program did not end after Alt+X"; kill "$pid"; exit 1; }
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
