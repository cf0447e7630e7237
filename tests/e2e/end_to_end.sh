#!/usr/bin/env bash
# The built program, started for real under Xvfb with a program folder and settings of its own,
# driven by the keyboard: a new entry typed through the tab order and saved with Alt+S must reach
# the record file, and Alt+X must end the program with exit status 0. The program folder is named
# in GBK bytes, as a folder unpacked from a Chinese Windows archive is.
#   end_to_end.sh PROGRAM
set -euo pipefail

program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
app="$work/$(printf '\xb3\xcc\xd0\xf2 \xca\xfd\xbe\xdd')"
mkdir -p "$app" "$work/config" "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
# The data files live beside the program, so the program gets a folder of its own.
cp "$program" "$app/sitewarden"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

root_before=$(ls -A /)
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
    bash "$(dirname "$0")/drive.sh" "$app/sitewarden"
[ "$(ls -A /)" = "$root_before" ] || { echo "FAIL: the program wrote outside its folder"; exit 1; }

records="$app/Sitewarden2.dta"
size=$(stat -c %s "$records")
[ "$size" -eq 307 ] || { echo "FAIL: record file holds $size bytes, expected one record"; exit 1; }
expect_field() { # offset width text
    local got
    got=$(dd if="$records" bs=1 skip="$1" count="$2" 2>/dev/null)
    [ "$got" = "$(printf '%-*s' "$2" "$3")" ] || { echo "FAIL: field at $1 is '$got', expected '$3'"; exit 1; }
}
[ "$(od -An -tx1 -N2 "$records" | tr -d ' ')" = "0100" ] || { echo "FAIL: slot number"; exit 1; }
expect_field 2 35 "e2e site"
expect_field 37 35 "e2e-user"
expect_field 72 35 "e2e-password"
expect_field 107 200 "http://www."
[ "$(stat -c %a "$records")" = "600" ] || { echo "FAIL: record file is not owner-only"; exit 1; }
grep -q 'WebSet=True' "$work/config/Sitewarden/Sitewarden.ini" || { echo "FAIL: WebSet not stored"; exit 1; }
echo "1 passed, 0 failed"
