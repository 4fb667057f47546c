#!/usr/bin/env python3
"""Turns the raw runs of run.sh into a table of medians, one row per tool.

Ratios compare a tool's median wall and CPU time with wget's (above 1: slower
than wget), and its wall time with the request floor's when that ran. A run
that ended with a non-zero exit status is counted in the "failed" column but
its figures still enter the medians: wget, for one, exits with 8 when a
single link answers 404, and the files column shows what the run really
fetched.
"""

import argparse
import csv
import statistics
import sys


def load(path):
    rows = {}
    with open(path, newline="") as f:
        for r in csv.DictReader(f, delimiter="\t"):
            rows.setdefault(r["tool"], []).append(r)
    return rows


def median(rows, key):
    return statistics.median(float(r[key]) for r in rows)


def table(rows, site_files):
    base = rows.get("wget")
    base_wall = median(base, "wall_s") if base else None
    base_cpu = median(base, "cpu_s") if base else None
    # The request floor's wall: what asking for every file alone takes.
    floor = rows.get("floor")
    floor_wall = median(floor, "wall_s") if floor else None
    head = ("tool", "runs", "wall s", "CPU s", "peak MiB", "files", "MB", "wall/wget", "CPU/wget", "wall/floor", "failed",
            "conns", "rewritten", "304s", "after 10 changed", "exact")
    lines = []
    for tool, rs in rows.items():
        wall = median(rs, "wall_s")
        cpu = median(rs, "cpu_s")
        files = int(median(rs, "files"))
        ratio = lambda v, b: f"{v / b:.2f}" if b else "-"
        lines.append((
            tool, str(len(rs)), f"{wall:.2f}", f"{cpu:.2f}",
            f"{median(rs, 'rss_kib') / 1024:.1f}",
            f"{files}" + ("" if site_files is None or files >= site_files else " (short)"),
            f"{median(rs, 'bytes') / 1e6:.1f}",
            ratio(wall, base_wall), ratio(cpu, base_cpu), ratio(wall, floor_wall),
            str(sum(1 for r in rs if r["exit"] != "0")),
            # Connections nginx accepted, and for update runs the files whose
            # time or inode changed and the answers 304 (older raw files lack them).
            *(f"{int(median(rs, k))}" if k in rs[0] else "-" for k in ("conns", "rewritten", "answers304")),
            # Update runs: the answers 200 once 10 files changed on the server,
            # and in how many runs the files rewritten were exactly those 10.
            f"{int(median(rs, 'after10'))}" if rs[0].get("after10", "-") != "-" else "-",
            f"{sum(r['exact10'] == '1' for r in rs)}/{len(rs)}" if rs[0].get("exact10", "-") != "-" else "-",
        ))
    widths = [max(len(c) for c in col) for col in zip(head, *lines)]
    fmt = lambda cells: "  ".join(c.rjust(w) if k else c.ljust(w) for k, (c, w) in enumerate(zip(cells, widths)))
    return "\n".join([fmt(head), fmt(tuple("-" * w for w in widths))] + [fmt(l) for l in lines])


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("raw", help="tab-separated runs written by run.sh")
    ap.add_argument("--site-files", type=int, help="files on the site: marks tools that fetched fewer")
    args = ap.parse_args(argv)
    rows = load(args.raw)
    if not rows:
        print("no runs recorded", file=sys.stderr)
        return 1
    print(table(rows, args.site_files))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
