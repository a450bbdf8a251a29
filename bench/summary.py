#!/usr/bin/env python3
"""Prints the figures that bench/run.sh measured beside their targets and baselines.

Usage: summary.py RESULTS_DIR   (build-bench/bench-results)
"""
import glob
import json
import os
import re
import statistics
import sys


def load(path):
    with open(path) as f:
        return json.load(f)


def peak_rss_kib(path):
    with open(path) as f:
        return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read()).group(1))


def main(out):
    hot = {b["name"]: b for b in load(os.path.join(out, "hot_paths.json"))["benchmarks"]
           if b.get("run_type") != "aggregate" and not b.get("error_occurred")}

    def ms(name):
        b = hot.get(name)
        if not b:
            return None
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        return b["real_time"] * scale

    start = {r["command"]: r for r in load(os.path.join(out, "start.json"))["results"]}
    painted_ms = start["painted"]["median"] * 1e3
    listed_ms = start["listed"]["median"] * 1e3
    session_kib = max(peak_rss_kib(p) for p in glob.glob(os.path.join(out, "session-*.time")))

    pages = load(os.path.join(out, "chromium_pages.json"))["loads"]
    large = load(os.path.join(out, "chromium_large.json"))["loads"]

    def chromium(fragment, table):
        return next(v for k, v in table.items() if fragment in k)

    chromium_start = statistics.median(
        load(p)["launch_to_first_load_ms"]
        for p in glob.glob(os.path.join(out, "chromium_start-*.json")))
    chromium_session = load(os.path.join(out, "chromium_session.json"))
    chromium_tree_kib = chromium_session["peak_tree_rss_kib"]
    chromium_largest_kib = peak_rss_kib(os.path.join(out, "chromium_session.time"))

    rows = []

    def row(figure, value, unit, target, met):
        rows.append((figure, f"{value:10.1f} {unit}", target,
                     "" if met is None else ("met" if met else "MISSED")))

    row("start to first painted window", painted_ms, "ms", "(reported)", None)
    row("start to first listing shown", listed_ms, "ms", "< 300 ms", listed_ms < 300)
    row("peak RSS, 10 listing + 10 message pages", session_kib / 1024, "MiB", "< 60 MiB",
        session_kib / 1024 < 60)
    for label, ours, theirs in (
            ("listing 100 rows, http", ms("Listing/FetchDomesticPage/http/100/real_time"),
             chromium("http://", {k: v for k, v in pages.items() if "/dl/100" in k})),
            ("listing 100 rows, https",
             ms("Listing/LoadFirstDomesticPage/https/100/real_time"),
             chromium("https://", pages)),
            ("listing 10000 rows, http", ms("Listing/FetchDomesticPage/http/10000/real_time"),
             chromium("/dl/10000", large))):
        if ours is None:
            continue
        ratio = theirs / ours
        row(f"{label}: Chromium {theirs:.1f} ms / SmsDock {ours:.2f} ms", ratio, "x", ">= 10x",
            ratio >= 10)
    ratio = chromium_start / listed_ms
    row(f"start to listing: Chromium {chromium_start:.0f} ms / SmsDock {listed_ms:.0f} ms", ratio,
        "x", ">= 3x", ratio >= 3)
    for label, theirs in (("sum over its process tree", chromium_tree_kib),
                          ("largest single process", chromium_largest_kib)):
        ratio = theirs / session_kib
        row(f"peak memory: Chromium {theirs / 1024:.0f} MiB ({label}) / SmsDock "
            f"{session_kib / 1024:.0f} MiB", ratio, "x", ">= 3x", ratio >= 3)
    message = chromium("/message/1MiB", pages)
    rows.append((f"(Chromium, 1 MiB message page: {message:.1f} ms to its load event)", "", "", ""))

    width = max(len(r[0]) for r in rows)
    print(f"\n{'figure':<{width}}  {'value':>15}  {'target':<10}")
    for figure, value, target, verdict in rows:
        print(f"{figure:<{width}}  {value:>15}  {target:<10} {verdict}")
    with open(os.path.join(out, "machine.txt")) as f:
        print("\n" + f.read().strip())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build-bench/bench-results"))
