#!/usr/bin/env python3
"""Races the program's real start against itself and its floors on a private Xvfb, three runs of
startup-race each, and prints the median ratio of each against its target; exits 1 when one is missed.
Usage: startup_check.py TOOLS FULL_PROGRAM ONE_PROGRAM QTCJK [KEEPASSXC]

FULL_PROGRAM and ONE_PROGRAM are copies of the program in folders of their own, beside a record file
of 32,767 and of one record; QTCJK is the bare window with Chinese captions; KEEPASSXC, when given,
is started on its welcome screen."""
import os
import re
import statistics
import subprocess
import sys

tools, full, one, qtcjk = sys.argv[1:5]
keepassxc = sys.argv[5] if len(sys.argv) > 5 else None
title = r"^Sitewarden v[0-9.]*$"
programs = {
    "32,767 records": (full, title),
    "1 record": (one, title),
    "qtcjk": (qtcjk, "^qtcjk$"),
    "KeePassXC": (keepassxc, "KeePassXC"),
}


def race(a, b):
    """Median over three runs of the time and memory ratios A/B."""
    times, memories = [], []
    for _ in range(3):
        out = subprocess.run(
            [os.path.join(tools, "startup-race"), "-n", "15",
             "--a", programs[a][0], "--a-title", programs[a][1], "--a-cwd", os.path.dirname(programs[a][0]),
             "--b", programs[b][0], "--b-title", programs[b][1], "--b-cwd", os.path.dirname(programs[b][0])],
            capture_output=True, text=True, check=True).stdout
        print(out, end="", file=sys.stderr)
        times.append(float(re.search(r"ratio wall A/B = (\S+)", out).group(1)))
        memories.append(float(re.search(r"ratio peak memory A/B = (\S+)", out).group(1)))
    return statistics.median(times), statistics.median(memories), times, memories


targets = [("32,767 records", "1 record", 1.03), ("1 record", "qtcjk", 1.07), ("32,767 records", "qtcjk", 1.10)]
if keepassxc:
    targets.append(("32,767 records", "KeePassXC", 0.35))

missed = 0
rows = []
for a, b, high in targets:
    time, memory, times, memories = race(a, b)
    for what, value, runs in (("time", time, times), ("memory", memory, memories)):
        met = value <= high
        missed += not met
        rows.append(f"| {a} / {b}, {what} | {value:.2f} ({', '.join(f'{r:.2f}' for r in runs)}) | ≤ {high:.2f} "
                    f"| {'met' if met else 'missed'} |")
if not keepassxc:
    rows.append("| 32,767 records / KeePassXC | (keepassxc not installed) | ≤ 0.35 | |")
print("| Ratio (median of three runs) | Value (the three runs) | Target | |")
print("|---|---|---|---|")
print("\n".join(rows))
sys.exit(1 if missed else 0)
