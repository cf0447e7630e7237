# Sourced first by the tests that reach the program over AT-SPI: the script runs again on a session
# bus of its own, on which the accessibility bus is announced, then in the sandbox of sandbox.sh.
#   source atspi_session.sh PROGRAM [ARGS...]    (the script's own arguments)
[ -n "${SITEWARDEN_TEST_BUS:-}" ] || SITEWARDEN_TEST_BUS=1 \
    exec dbus-run-session --config-file="$(dirname "${BASH_SOURCE[0]}")/session-bus.conf" -- bash "$0" "$@"

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/sandbox.sh" "$1"
unset WAYLAND_DISPLAY
