#!/usr/bin/env bash
# A system-wide install as a user meets it: installed by root (a staged copy of the configured
# prefix, owned by root), started by an ordinary user under Xvfb who saves an entry, an e-mail
# address and a default user ID, ends the program and starts it again. Everything lands in the
# user's own ~/.local/share/Sitewarden (a folder and files only they may read), nothing beside the
# program. Then a user who brings the old program's files moves them in by hand, as people do (a
# plain `mkdir -p` under umask 022, the files copied in): the list shows them at once, a save lands in
# them, and --help names that folder. Needs root, to be both.
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
mkdir -p "$home" "$work/moved-in"
chown -R 65534:65534 "$home" "$work/moved-in" "$work/runtime" "$work/config"
x_server

user() {
    setpriv --reuid=65534 --regid=65534 --clear-groups env -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME \
        HOME="$home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" DISPLAY="$DISPLAY" "$@"
}
program="$stage$prefix/lib/sitewarden/sitewarden"
start() {
    user "$program" &
    pid=$!
    window=$(program_window) || fail "no window"
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

# Moving in by hand: two entries, an address and an ID from the old program, in a folder of mode 755.
home="$work/moved-in"
data="$home/.local/share/Sitewarden"
field() { LC_ALL=C printf '%-*s' "$2" "$1"; }
record() { printf "\\x$(printf %02x "$1")\\x00"; field "$2" 35; field "$3" 35; field "$4" 35; field "$5" 200; }
umask 022
user mkdir -p "$data"
{ record 1 'old bank' olduser oldpw 'http://bank'; record 2 'old mail' me pw2 'http://mail'; } | user tee "$data/Sitewarden2.dta" >/dev/null
printf 'old@x.org\r\n' | user tee "$data/Email.dta" >/dev/null
printf 'olduser\r\n' | user tee "$data/default.dta" >/dev/null
user "$program" --help | grep -qxF "Your data folder: $data" || fail "--help does not name $data"
slot_name() { dd if="$data/Sitewarden2.dta" bs=1 skip=$((($1 - 1) * 307 + 2)) count=35 2>/dev/null | sed 's/ *$//'; }
start
# Into the list, where Space chooses its first line: erasing it proves the list showed the old entries.
xdotool key Tab space alt+e
until_true 10 eval '[ -n "$(dialog)" ]' || fail "no erase question"
xdotool windowfocus --sync "$(dialog)"
xdotool key Return
until_true 10 eval '[ "$(slot_name 1)" = "(Deleted)" ]' || fail "the old entry was not listed: slot 1 is '$(slot_name 1)'"
stop
start
type_entry 'new site' newuser newpw
xdotool key alt+s
until_true 10 eval '[ "$(slot_name 1)" = "new site" ]' || fail "the save did not land in the old file"
stop
[ "$(slot_name 2)" = "old mail" ] && sized Sitewarden2.dta 614 && holds Email.dta 'old@x.org\r\n' \
    || fail "the old data was not kept"
[ "$(stat -c '%a' "$data")" = 700 ] || fail "the hand-made folder was not made private"
[ "$(stat -c '%a' "$data/Sitewarden2.dta")" = 644 ] || fail "the copied file's mode was changed"
echo "1 passed, 0 failed"
