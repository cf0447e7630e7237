#!/usr/bin/env python3
"""Runs each one-line fault of a list through scripts/mutate.sh and prints the score.

   mutants.py LIST [PATTERN]    LIST: tab-separated file, old, new, tests (a ctest -R pattern) and
                                what the fault would mean to a user; \\n, \\t and \\\\ stand for a
                                line end, a tab and a backslash. PATTERN runs the rows whose file
                                matches it.
"""
import os
import re
import subprocess
import sys


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def main():
    rows = []
    with open(sys.argv[1], encoding="utf-8") as listed:
        for line in listed:
            if line.strip() and not line.startswith("#"):
                rows.append(line.rstrip("\n").split("\t"))
    if len(sys.argv) > 2:
        rows = [row for row in rows if re.search(sys.argv[2], row[0])]
    here = os.path.dirname(os.path.abspath(__file__))
    caught = 0
    for path, old, new, tests, meaning in rows:
        run = subprocess.run(["bash", os.path.join(here, "mutate.sh"), path, unescape(old), unescape(new)],
                             env=dict(os.environ, MUTATE_TESTS=tests), capture_output=True, text=True)
        said = (run.stdout.strip().splitlines() or [run.stderr.strip()])[-1]
        red = said.startswith("RED")
        caught += red
        print(f"{'caught ' if red else 'MISSED '} {path}: {meaning}" + ("" if red else f"\n         {said}"),
              flush=True)
    print(f"{caught} of {len(rows)} faults caught")
    return 0 if caught == len(rows) else 1


if __name__ == "__main__":
    sys.exit(main())
