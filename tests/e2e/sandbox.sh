# Sourced by the desktop tests: a copy of the program in a folder of its own, settings and runtime
# folders of the test's own, and every process the test adds to `pids` ended when it ends.
#   source sandbox.sh PROGRAM    (sets work, app, pids; defines fail)
work=$(mktemp -d)
app="$work/app"
mkdir -p "$app" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$1" "$app/sitewarden"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
