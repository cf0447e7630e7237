#!/usr/bin/env bash
# A system-wide install as a user meets it: installed by root (a staged copy of the configured
# prefix, owned by root), started by an ordinary user under Xvfb who saves an entry, an e-mail
# address and a default user ID, ends the program and starts it again. Everything lands in the
# user's own ~/.local/share/Sitewarden (a folder and files only they may read), nothing beside the
# program. Needs root, to be both.
#   system_install.sh BUILD_DIR
set -euo pipefail

[ "$(id -u)" -eq 0 ] || { echo "SKIP: only root can install for the system and start the program as another user"; exit 77; }
source "$(dirname "$0")/sandbox.sh" /dev/null
source "$(dirname "$0")/typing.sh"
unset WAYLAND_DISPLAY
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$1/CMakeCache.txt")
stage="$work/stage"
DESTDIR="$stage" cmake --install "$1" >/dev/null
chmod 755 "$work"
home="$work/home"
mkdir -p "$home"
chown -R 65534:65534 "$home" "$work/runtime" "$work/config"
x_server

user() {
    setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$home" XDG_CONFIG_HOME="$work/config" \
        XDG_RUNTIME_DIR="$work/runtime" DISPLAY="$DISPLAY" "$@"
}
start() {
    user "$stage$prefix/lib/sitewarden/sitewarden" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name '^Sitewarden v2\.2$' | head -n 1)
    [ -n "$window" ] || fail "no window"
    xdotool windowfocus --sync "$window"
}
stop() {
    xdotool windowfocus --sync "$window"
    xdotool key alt+x
    timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end after Alt+X"
    wait "$pid" || fail "exit status $?"
}
data="$home/.local/share/Sitewarden"
holds() { [ "$(cat "$data/$1" 2>/dev/null)" = "$(printf "$2")" ]; }
sized() { [ "$(stat -c %s "$data/$1" 2>/dev/null)" = "$2" ]; }

start
type_entry site user pw
xdotool key alt+s
until_true 10 sized Sitewarden2.dta 307 || fail "the entry was not saved in $data"
# Seven tabs back from the password box to the e-mail box.
xdotool key --delay 20 shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
xdotool type --delay 20 'a@x.org'
xdotool key alt+a
until_true 10 holds Email.dta 'a@x.org\r\n' || fail "the e-mail address was not saved"
xdotool key ctrl+d
dialog() { xdotool search --onlyvisible --pid "$pid" --class sitewarden | grep -vx "$window" | head -n 1; }
until_true 10 eval '[ -n "$(dialog)" ]' || fail "no default user ID dialog"
xdotool windowfocus --sync "$(dialog)"
xdotool type --delay 20 'me'
xdotool key alt+s
until_true 10 holds default.dta 'me\r\n' || fail "the default user ID was not saved"
stop

start
stop
sized Sitewarden2.dta 307 && holds Email.dta 'a@x.org\r\n' && holds default.dta 'me\r\n' || fail "after a restart"
[ "$(stat -c '%u %a' "$data")" = "65534 700" ] || fail "the data folder is $(stat -c '%u %a' "$data")"
[ "$(stat -c '%a' "$data"/Sitewarden2.dta)" = 600 ] || fail "the record file is not the user's alone"
[ -z "$(find "$stage" -name '*.dta')" ] || fail "data beside the program"
echo "1 passed, 0 failed"
