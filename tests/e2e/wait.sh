# Sourced by the desktop tests: what a window manager, an X server or another process does on its own
# time is polled for until a deadline, never read once.
#   until_true SECONDS COMMAND [ARGS...]    true as soon as COMMAND succeeds, false once SECONDS pass
until_true() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The X window of the program once it is shown (xdotool search's further conditions may be added).
# Each look opens a new X connection, which Xvfb may drop as another client closes one: a look that
# fails is simply made again until the deadline.
#   program_window [CONDITIONS...]    prints the window, or fails after 30 seconds
program_window() {
    local deadline=$((SECONDS + 30)) found
    until found=$(xdotool search --all --onlyvisible "$@" --name '^Sitewarden v[0-9.]*$' 2>/dev/null | head -n 1) \
        && [ -n "$found" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
    echo "$found"
}
