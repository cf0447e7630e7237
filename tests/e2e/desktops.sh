#!/usr/bin/env bash
# A second start under GNOME's and KDE's window managers (mutter, KWin), on an X server of their own
# and as Wayland compositors with Xwayland, all headless: see second_start.sh.
#   desktops.sh PROGRAM mutter-x11|mutter-wayland|kwin-x11|kwin-wayland
set -euo pipefail

# Both window managers want a session bus: one of the test's own.
[ -n "${SITEWARDEN_TEST_BUS:-}" ] || SITEWARDEN_TEST_BUS=1 \
    exec dbus-run-session --config-file="$(dirname "$0")/session-bus.conf" -- bash "$0" "$@" 2>/dev/null

desktop=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/sandbox.sh" "$1"
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$work/other"
cp "$1" "$work/other/sitewarden"
session=("$here/second_start.sh" "$app" "$work/other" "$work/result")

case "$desktop" in
mutter-x11)
    x_server
    window_manager mutter --x11 --replace --sm-disable
    bash "${session[@]}" || true
    ;;
kwin-x11)
    x_server
    window_manager env QT_QPA_PLATFORM=xcb kwin_x11 --replace
    bash "${session[@]}" || true
    ;;
mutter-wayland)
    XDG_SESSION_TYPE=wayland mutter --headless --wayland --virtual-monitor 1024x768 \
        --wayland-display wayland-sitewarden -- bash "${session[@]}" >"$work/wm.log" 2>&1 || true
    ;;
kwin-wayland)
    # Debian's binary carries a file capability that a container may not grant: a plain copy runs.
    cp /usr/bin/kwin_wayland "$work/kwin_wayland"
    printf '#!/bin/sh\nexec bash %q %q %q %q\n' "${session[@]}" >"$work/session"
    chmod +x "$work/session"
    XDG_SESSION_TYPE=wayland "$work/kwin_wayland" --virtual --xwayland --socket wayland-sitewarden --width 1024 \
        --height 768 --no-lockscreen --no-global-shortcuts --no-kactivities --exit-with-session="$work/session" \
        >"$work/wm.log" 2>&1 || true
    ;;
*)
    fail "unknown desktop $desktop"
    ;;
esac
if [ "$(cat "$work/result" 2>/dev/null)" != ok ]; then
    cat "$work/result" 2>/dev/null || true
    grep -i -E 'warn|error|fail' "$work/wm.log" | tail -n 10
    fail "$desktop"
fi
echo "1 passed, 0 failed"
