# Sourced by the desktop tests: a copy of the program in a folder of its own, a home, settings and
# runtime folders of the test's own, and every process the test adds to `pids` ended when it ends.
#   source sandbox.sh PROGRAM    (sets work, app, pids; defines x_server, window_manager, accessibility_bus,
#                                 and those of wait.sh)
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"
work=$(mktemp -d)
# The program's folder: "app", or the name the test gives in `app_folder`.
app="$work/${app_folder:-app}"
mkdir -p "$app" "$work/config" "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
cp "$1" "$app/sitewarden"
# A home of the test's own: window managers and input methods keep their state there (mutter its
# session, fcitx5 its pinyin history), never in the home of whoever runs the tests.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache" XDG_STATE_HOME="$work/home/.local/state"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    # Those that are not this shell's children (an input method's engines) are waited for too.
    until_true 10 all_ended || true
    rm -rf "$work"
}
all_ended() {
    local pid
    for pid in "${pids[@]}"; do
        ! kill -0 "$pid" 2>/dev/null || return 1
    done
}
trap cleanup EXIT

# An Xvfb of the test's own, 1024 x 768, on the first display number nobody holds; DISPLAY names it.
# Xvfb's own choice (-displayfd) looks only at lock files, and a Wayland test's Xwayland may still hold
# the number's abstract socket for a moment after its lock is gone: X clients would reach that server.
x_server() {
    local n
    for n in $(seq 0 99); do
        [ ! -e "/tmp/.X$n-lock" ] && ! grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix || continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        pids+=($!)
        export DISPLAY=":$n"
        until_true 10 eval 'xdpyinfo >/dev/null 2>&1' || fail "Xvfb did not start on $DISPLAY"
        return
    done
    fail "no free X display number"
}

# Starts a window manager (its output in wm.log) and waits until it has taken DISPLAY. Xvfb may drop a
# connection opened just as another one closes (here, x_server's check): a window manager that ended
# without taking the display is started again.
window_manager() {
    local deadline=$((SECONDS + 30)) pid
    while [ "$SECONDS" -lt "$deadline" ]; do
        "$@" >"$work/wm.log" 2>&1 &
        pid=$!
        pids+=("$pid")
        until_true $((deadline - SECONDS)) eval "wm_taken || ! running $pid"
        wm_taken && return
    done
    tail -n 5 "$work/wm.log"
    fail "no window manager on $DISPLAY"
}
wm_taken() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
running() { [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" != Z ] && kill -0 "$1" 2>/dev/null; }

# The AT-SPI bus, announced on the session bus the test runs in (see session-bus.conf), where screen
# readers and the tests' AT-SPI clients meet the program.
accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
    pids+=($!)
    until_true 10 eval "gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.a11y.Bus 2>/dev/null | grep -q true" || fail "no accessibility bus"
}
