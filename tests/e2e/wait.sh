# Sourced by the desktop tests: what a window manager, an X server or another process does on its own
# time is polled for until a deadline, never read once; and one way to fail.
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
# One look keeps its X connection until the window is there, as a connection closing just as the
# program opens its own can make Xvfb drop the program's; a look whose own connection was dropped is
# made again until the deadline.
#   program_window [CONDITIONS...]    prints the window, or fails after 30 seconds
program_window() {
    local deadline=$((SECONDS + 30)) found=""
    while [ -z "$found" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        found=$(timeout $((deadline - SECONDS + 1)) xdotool search --sync --all --onlyvisible "$@" \
            --name '^Sitewarden v[0-9.]*$' 2>/dev/null | head -n 1) || true
        [ -n "$found" ] || sleep 0.1
    done
    echo "$found"
}

# Says why the test failed and ends it: on standard output, or in the file `fail_to` names (a test run
# inside a desktop session reports through a file), then the tail of the log `fail_log` names.
#   fail REASON...
fail() {
    {
        echo "FAIL: $*"
        if [ -n "${fail_log:-}" ] && [ -f "$fail_log" ]; then tail -n 20 "$fail_log"; fi
    } >"${fail_to:-/dev/stdout}"
    exit 1
}
