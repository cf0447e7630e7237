#!/usr/bin/env bash
# Breaks the program on purpose, one change at a time, to see that some test notices: applies the
# change to a copy of the tree, builds that copy incrementally and runs the suite (or the tests whose
# names match MUTATE_TESTS), then reports red (a test failed: good) or green (the change survived).
#   scripts/mutate.sh FILE 'OLD' 'NEW'     OLD must occur exactly once in FILE
set -euo pipefail

cd "$(dirname "$0")/.."
[ $# -eq 3 ] || { echo "usage: $0 FILE 'OLD' 'NEW'" >&2; exit 2; }
file=$1 old=$2 new=$3
[ -f "$file" ] || { echo "no file $file" >&2; exit 2; }
here=$PWD
copy=${MUTATE_DIR:-$here/build-mutate}/tree
build=${MUTATE_DIR:-$here/build-mutate}/build
mkdir -p "$copy"
# Only what differs from the last run's copy is copied, and with a new time, so that only it is rebuilt.
git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' tracked; do
    cmp -s "$tracked" "$copy/$tracked" 2>/dev/null || install -D -m "$(stat -c %a "$tracked")" "$tracked" "$copy/$tracked"
done
python3 - "$copy/$file" "$old" "$new" <<'PY'
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(f"'{old}' occurs {text.count(old)} times in {path}, not once")
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
cmake -S "$copy" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITEWARDEN_TESTS=ON >/dev/null
if ! cmake --build "$build" --parallel "$(nproc)" >"$build/mutant-build.log" 2>&1; then
    echo "RED: the change does not build"
    exit 0
fi
export QT_QPA_PLATFORM=offscreen
if ctest --test-dir "$build" --parallel "$(nproc)" ${MUTATE_TESTS:+-R "$MUTATE_TESTS"} >"$build/mutant-tests.log" 2>&1; then
    echo "GREEN: no test noticed $file: '$old' -> '$new'"
    exit 1
fi
echo "RED: $(grep -E '^\s+[0-9]+ - ' "$build/mutant-tests.log" | sed 's/^ *[0-9]* - //; s/ (.*//' | tr '\n' ' ')"
