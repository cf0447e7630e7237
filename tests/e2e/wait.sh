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
