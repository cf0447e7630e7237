#!/usr/bin/env python3
"""Prints each benchmark ratio against its target; exits 1 when a target is missed.
Usage: bench_check.py BENCH_JSON PEAK_FULL_KIB PEAK_ONE_KIB PEAK_BARE_KIB

Peak memory is that of one process: the window over 32,767 records, the same window over a file
of one record, and a bare window with an empty list."""
import json
import sys

results = json.load(open(sys.argv[1]))["benchmarks"]
peak_full, peak_one, peak_bare = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
# The median of the repetitions: the machines here are shared and noisy.
time = {b["run_name"]: b["real_time"] for b in results if b.get("aggregate_name") == "median"}

rows = []


def check(name, value, low, high, note=""):
    ok = (low is None or value >= low) and value <= high
    rows.append((name, value, low, high, ok, note))


check("start-up at 32,767 / bare window", time["StartupWindow/32767"] / time["StartupBareWindow"], None, 1.3)
# The same window showing one entry: what the other 32,766 records add to start-up.
check("start-up at 32,767 / same window over one record",
      time["StartupWindow/32767"] / time["StartupWindow/1"], None, 1.3, "the cost the records add")
check("save at 32,767 / plain read of the file", time["SaveIntoLastFreeSlot/32767"] / time["PlainRead/32767"], None, 8)
check("peak memory at 32,767 / bare window", peak_full / peak_bare, None, 1.3)
check("peak memory at 32,767 / same window over one record", peak_full / peak_one, None, 1.3,
      "the memory the records add")
for case in ["PlainRead", "LoadSiteList", "SaveIntoLastFreeSlot", "Append", "ShowLastRecord", "StartupWindow"]:
    ratio = time[f"{case}/32767"] / time[f"{case}/3276"]
    # Below 8 a fixed cost (a sync to disk, the window itself) outweighs the per-record cost:
    # the growth is then slower than linear, which the target allows for.
    check(f"growth of {case}, 32,767 / 3,276", ratio, None, 12, "linear: 8 to 12; less: a fixed cost dominates")

print(f"{'ratio':58} {'value':>7}  {'target':>9}  result")
for name, value, low, high, ok, note in rows:
    target = f"<= {high:g}" if low is None else f"{low:g}..{high:g}"
    print(f"{name:58} {value:7.2f}  {target:>9}  {'met' if ok else 'MISSED'}  {note}")
print(f"\nmilliseconds: " + ", ".join(f"{k} {v:.3f}" for k, v in sorted(time.items())))
print(f"peak RSS: window over 32,767 records {peak_full} KiB, over one record {peak_one} KiB, "
      f"bare window {peak_bare} KiB")
sys.exit(0 if all(r[4] for r in rows) else 1)
