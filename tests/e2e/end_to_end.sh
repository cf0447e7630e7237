#!/usr/bin/env bash
# The built program, started for real under Xvfb with a program folder and settings of its own,
# driven by the keyboard: a new entry typed through the tab order and saved with Alt+S must reach
# the record file, and Alt+X must end the program with exit status 0. The program folder is named
# in GBK bytes, as a folder unpacked from a Chinese Windows archive is.
#   end_to_end.sh PROGRAM
set -euo pipefail

# The data files live beside the program, so the program gets a folder of its own.
app_folder=$(printf '\xb3\xcc\xd0\xf2 \xca\xfd\xbe\xdd')
source "$(dirname "$0")/sandbox.sh" "$1"

root_before=$(ls -A /)
x_server
bash "$(dirname "$0")/drive.sh" "$app/sitewarden"
[ "$(ls -A /)" = "$root_before" ] || fail "the program wrote outside its folder"

records="$app/Sitewarden2.dta"
size=$(stat -c %s "$records")
[ "$size" -eq 307 ] || fail "record file holds $size bytes, expected one record"
expect_field() { # offset width text
    local got
    got=$(dd if="$records" bs=1 skip="$1" count="$2" 2>/dev/null)
    [ "$got" = "$(printf '%-*s' "$2" "$3")" ] || fail "field at $1 is '$got', expected '$3'"
}
[ "$(od -An -tx1 -N2 "$records" | tr -d ' ')" = "0100" ] || fail "slot number"
expect_field 2 35 "e2e site"
expect_field 37 35 "e2e-user"
expect_field 72 35 "e2e-password"
expect_field 107 200 "http://www."
[ "$(stat -c %a "$records")" = "600" ] || fail "record file is not owner-only"
grep -q 'WebSet=True' "$work/config/Sitewarden/Sitewarden.ini" || fail "WebSet not stored"
echo "1 passed, 0 failed"
