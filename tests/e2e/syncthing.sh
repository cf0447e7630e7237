#!/usr/bin/env bash
# Two machines, one list: two Syncthing instances on 127.0.0.1, each with a home and a program folder
# of its own, keep the two folders in sync while the program runs on both. See syncthing_pair.py.
#   syncthing.sh PROGRAM [ROUNDS]    ROUNDS of near-simultaneous saves on both sides (default 1)
set -euo pipefail

source "$(dirname "$0")/atspi_session.sh" "$@"
x_server
window_manager openbox
accessibility_bus
/usr/bin/python3 "$here/syncthing_pair.py" "$app/sitewarden" "$work" "${2:-1}" || fail "two machines, one list"
echo "1 passed, 0 failed"
