#!/usr/bin/env python3
"""Scores downloads of the present-day test site against its manifest.

"run" scores one run of one tool: which files of the site it stored with the
right bytes, and what it asked the server for. A file counts as reached when a
file with its sha256 lies anywhere below the output folder (tools name files
differently, and hashing does not care); an HTML or CSS file that a tool
rewrote after the download (link conversion) counts as "rewritten" when a
file sits at one of the names the tools give it. The requests come from the
part of nginx's access log that the run wrote: requests of site files,
repeats of a URL already asked for (duplicates), 4xx answers, trap URLs (a
link in a comment, a script, escaped text, a mailto:/javascript:/data:/tel:
reference) and the site's one deliberate broken link, which is counted apart.

"summary" turns the runs into two tables: files reached per category and
tool, and per tool the requests, wall and CPU time (medians over the runs).
"""

import argparse
import hashlib
import json
import os
import statistics
import sys
from urllib.parse import unquote, unquote_to_bytes

TEXT_SUFFIXES = (".html", ".css")


def load_manifest(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def request_key(uri):
    """A request target (bytes) reduced to what names a resource: the decoded
    path and the query as sent (a query is part of the address; "#" never
    reaches a server)."""
    path, sep, query = uri.partition(b"?")
    return unquote_to_bytes(path), query if sep else None


def stored_files(out):
    """Hashes and names (below the host folder, decoded) of every stored file."""
    by_hash, by_name = {}, {}
    for folder, _, names in os.walk(out):
        for name in names:
            full = os.path.join(folder, name)
            with open(full, "rb") as f:
                by_hash.setdefault(hashlib.sha256(f.read()).hexdigest(), full)
            rel = os.path.relpath(full, out).split(os.sep, 1)
            if len(rel) == 2:
                by_name[unquote(rel[1]).replace("?", "@")] = full
    return by_hash, by_name


def name_candidates(entry):
    """Local names the tools give a site file: as on the server ("@" for
    "?"), or with ".html" added to a page whose name lacks it."""
    path = entry["path"]
    return (path, path + ".html")


def score_files(manifest, out):
    by_hash, by_name = stored_files(out)
    reached, rewritten, missed = {}, {}, []
    for e in manifest["files"]:
        cat = e["category"]
        reached.setdefault(cat, 0)
        rewritten.setdefault(cat, 0)
        if e["sha256"] in by_hash:
            reached[cat] += 1
        elif e["path"].endswith(TEXT_SUFFIXES) or "@" in e["path"]:
            if any(c in by_name for c in name_candidates(e)):
                rewritten[cat] += 1
            else:
                missed.append(e["url"])
        else:
            missed.append(e["url"])
    return reached, rewritten, missed


def score_requests(manifest, access_lines, https_port):
    site = {request_key(e["url"].encode()) for e in manifest["files"]}
    broken = {request_key(u.encode()) for u in manifest["broken"]}
    tokens = [t["token"].lower().encode() for t in manifest["traps"]]
    counts = {"requests": 0, "site": 0, "duplicates": 0, "4xx": 0, "traps": 0,
              "broken": 0, "redirects": 0, "other": 0}
    seen, wrong = set(), []
    for line in access_lines:
        parts = line.rstrip(b"\n").split(b" ", 3)
        if len(parts) != 4:
            continue
        port, status, method = (p.decode("latin-1") for p in parts[:3])
        uri = parts[3]
        counts["requests"] += 1
        key = request_key(uri)
        text = unquote_to_bytes(uri).lower()
        shown = method + " " + uri.decode("utf-8", "backslashreplace")
        # The plain-http door answers the start URL once before the https
        # site does: the same target on another port is no repeat.
        if (port, key) in seen:
            counts["duplicates"] += 1
            wrong.append(f"again {status} {shown}")
            continue
        seen.add((port, key))
        if port != https_port:
            kind = "redirects" if status in ("301", "302", "307", "308") else "other"
        elif key in broken:
            kind = "broken"
        elif any(t in text for t in tokens):
            kind = "traps"
        elif status.startswith("4"):
            kind = "4xx"
        elif status.startswith("2") and key in site:
            kind = "site"
        else:
            kind = "other"
        counts[kind] += 1
        if kind in ("traps", "4xx", "other"):
            wrong.append(f"{kind} {status} {shown}")
    return counts, wrong


def parse_time(path):
    """Wall, CPU (user + system) seconds and peak memory from time -v."""
    wall = cpu = 0.0
    rss = 0
    with open(path) as f:
        for line in f:
            key, _, value = line.strip().rpartition(": ")
            if key.startswith("Elapsed (wall clock)"):
                for p in value.split(":"):
                    wall = wall * 60 + float(p)
            elif key in ("User time (seconds)", "System time (seconds)"):
                cpu += float(value)
            elif key == "Maximum resident set size (kbytes)":
                rss = int(value)
    return wall, cpu, rss


def cmd_run(args):
    manifest = load_manifest(args.manifest)
    https_port = manifest["origin"].rpartition(":")[2]
    reached, rewritten, missed = score_files(manifest, args.out)
    with open(args.access, "rb") as f:
        counts, wrong = score_requests(manifest, f, https_port)
    wall, cpu, rss = parse_time(args.time)
    row = {"tool": args.tool, "run": args.run, "exit": args.exit, "wall_s": wall, "cpu_s": cpu,
           "rss_kib": rss, "site_files": len(manifest["files"]), "reached": reached,
           "rewritten": rewritten, "missed": missed, "requests": counts, "wrong": wrong}
    with open(args.results, "a", encoding="utf-8") as f:
        f.write(json.dumps(row, ensure_ascii=False) + "\n")
    got = sum(reached.values()) + sum(rewritten.values())
    print(f"  {args.tool:<7} run {args.run}: {wall:6.2f} s wall, {cpu:6.2f} s CPU, "
          f"{got}/{len(manifest['files'])} files, {counts['requests']} requests, exit {args.exit}",
          file=sys.stderr)
    return 0


def fmt_table(head, lines):
    widths = [max(len(c) for c in col) for col in zip(head, *lines)]
    fmt = lambda cells: "  ".join(c.rjust(w) if k else c.ljust(w) for k, (c, w) in enumerate(zip(cells, widths)))
    return "\n".join([fmt(head), fmt(tuple("-" * w for w in widths))] + [fmt(l) for l in lines])


def med(values):
    return statistics.median(values)


def category_table(manifest, runs):
    totals = {}
    for e in manifest["files"]:
        totals[e["category"]] = totals.get(e["category"], 0) + 1
    tools = list(runs)
    lines = []
    for cat in sorted(totals, key=lambda c: (c != "relative", c)):
        cells = [cat, str(totals[cat])]
        for t in tools:
            got = med([r["reached"].get(cat, 0) for r in runs[t]])
            conv = med([r["rewritten"].get(cat, 0) for r in runs[t]])
            cells.append(f"{got:g}" + (f"+{conv:g}" if conv else ""))
        lines.append(cells)
    cells = ["all", str(sum(totals.values()))]
    for t in tools:
        got = med([sum(r["reached"].values()) for r in runs[t]])
        conv = med([sum(r["rewritten"].values()) for r in runs[t]])
        share = (got + conv) / sum(totals.values())
        cells.append(f"{got:g}" + (f"+{conv:g}" if conv else "") + f" ({100 * share:.0f}%)")
    lines.append(cells)
    return fmt_table(["category", "files"] + tools, lines)


def tool_table(runs, site_files):
    head = ("tool", "runs", "requests", "req/file", "4xx", "traps", "dup", "broken", "redirect",
            "other", "wall s", "CPU s", "peak MiB", "failed")
    lines = []
    for tool, rs in runs.items():
        q = lambda k: med([r["requests"][k] for r in rs])
        lines.append((tool, str(len(rs)), f"{q('requests'):g}", f"{q('requests') / site_files:.3f}",
                      f"{q('4xx'):g}", f"{q('traps'):g}", f"{q('duplicates'):g}", f"{q('broken'):g}",
                      f"{q('redirects'):g}", f"{q('other'):g}",
                      f"{med([r['wall_s'] for r in rs]):.2f}", f"{med([r['cpu_s'] for r in rs]):.2f}",
                      f"{med([r['rss_kib'] for r in rs]) / 1024:.1f}",
                      str(sum(1 for r in rs if r["exit"] != 0))))
    return fmt_table(head, lines)


def details(runs, limit):
    """What the first run of each tool missed and asked for wrongly."""
    out = []
    for tool, rs in runs.items():
        first = rs[0]
        out.append(f"{tool} run {first['run']}: exit {first['exit']}, {len(first['missed'])} files missed, "
                   f"{len(first['wrong'])} wrong requests")
        out += [f"  missed {u}" for u in first["missed"][:limit]]
        if len(first["missed"]) > limit:
            out.append(f"  ... {len(first['missed']) - limit} more missed")
        out += [f"  {w}" for w in first["wrong"][:limit]]
        if len(first["wrong"]) > limit:
            out.append(f"  ... {len(first['wrong']) - limit} more wrong requests")
    return "\n".join(out)


def cmd_summary(args):
    manifest = load_manifest(args.manifest)
    runs = {}
    with open(args.results, encoding="utf-8") as f:
        for line in f:
            r = json.loads(line)
            runs.setdefault(r["tool"], []).append(r)
    if not runs:
        print("no runs recorded", file=sys.stderr)
        return 1
    site_files = len(manifest["files"])
    print("Files reached with the right bytes (median of the runs; +N: pages found under")
    print("their name but rewritten by the tool):\n")
    print(category_table(manifest, runs))
    print("\nRequests (median of the runs; dup: a URL asked for again; redirect: answers")
    print("of the plain-http door; other: answers that are neither a site file nor an error):\n")
    print(tool_table(runs, site_files))
    print()
    print(details(runs, args.details))
    return 0


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    sub = ap.add_subparsers(dest="command", required=True)
    r = sub.add_parser("run", help="score one run and append it to the results file")
    r.add_argument("--manifest", required=True)
    r.add_argument("--out", required=True, help="the tool's output folder")
    r.add_argument("--access", required=True, help="the access-log lines of this run")
    r.add_argument("--time", required=True, help="the output of /usr/bin/time -v")
    r.add_argument("--exit", type=int, required=True)
    r.add_argument("--tool", required=True)
    r.add_argument("--run", type=int, required=True)
    r.add_argument("--results", required=True, help="JSON-lines file to append to")
    s = sub.add_parser("summary", help="print the tables of all runs")
    s.add_argument("--manifest", required=True)
    s.add_argument("--results", required=True)
    s.add_argument("--details", type=int, default=15, help="missed files and wrong requests listed per tool")
    args = ap.parse_args(argv)
    return cmd_run(args) if args.command == "run" else cmd_summary(args)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
