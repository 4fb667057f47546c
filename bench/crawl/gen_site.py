#!/usr/bin/env python3
"""Writes a deterministic static web site for the crawl benchmark.

The same preset, page count and seed always give the same bytes, so results of
different tools and different days compare. Every page is reachable from
index.html through a random spanning tree; on top of that each page carries
about twenty links to other pages, so a crawler meets every page many times
and its duplicate check is exercised. Links are plain relative paths
("p3.html", "../../s1/t2/p12.html"): no query strings and no links that start
with "/", which downloaders treat differently.

Prints one line: "files=N bytes=B" for the tree written.
"""

import argparse
import math
import os
import random
import sys
from dataclasses import dataclass

KIB = 1024
MIB = 1024 * KIB


@dataclass(frozen=True)
class Preset:
    pages: int
    # Folder tree below the root: one entry per level, the number of
    # sub-folders of every folder at that level.
    fanout: tuple
    assets_per_page: float
    # Ordinary assets are log-uniform between these sizes ...
    small: tuple
    # ... and one asset in large_every (0: none) is log-uniform between these.
    large_every: int
    large: tuple
    links_per_page: int = 20
    filler_words: int = 120


PRESETS = {
    # About 600 files, 10 MB: a run takes seconds.
    "small": Preset(pages=200, fanout=(4, 3), assets_per_page=2.0,
                    small=(1 * KIB, 64 * KIB), large_every=100, large=(1 * MIB, 3 * MIB)),
    # About 7000 files, 140 MB: a mid-sized site with a few big downloads.
    "synthetic": Preset(pages=2000, fanout=(6, 5, 4), assets_per_page=2.5,
                        small=(1 * KIB, 64 * KIB), large_every=200, large=(1 * MIB, 6 * MIB)),
    # 100000 small files, about 185 MB, in a shallow tree: bookkeeping cost
    # per file dominates, not bytes.
    "wide": Preset(pages=50000, fanout=(100,), assets_per_page=1.0,
                   small=(1 * KIB, 3 * KIB), large_every=0, large=(0, 0),
                   filler_words=100),
}

WORDS = ("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod "
         "tempor incididunt ut labore et dolore magna aliqua enim ad minim veniam "
         "quis nostrud exercitation ullamco laboris nisi aliquip ex ea commodo").split()

ASSET_KINDS = ("jpg", "png", "gif")


def folder_tree(fanout):
    """All folders of the tree, root ("") first, as relative paths."""
    folders = [""]
    level = [""]
    letters = "stuvwxyz"
    for depth, n in enumerate(fanout):
        nxt = []
        for parent in level:
            for k in range(n):
                nxt.append(os.path.join(parent, f"{letters[depth % len(letters)]}{k}"))
        folders.extend(nxt)
        level = nxt
    return folders


def log_uniform(rng, lo, hi):
    return int(math.exp(rng.uniform(math.log(lo), math.log(hi))))


def plan_site(preset, pages, rng):
    """Returns (page paths, links per page, assets per page)."""
    folders = folder_tree(preset.fanout)
    width = len(str(pages - 1))
    paths = ["index.html"]
    for i in range(1, pages):
        folder = folders[rng.randrange(len(folders))]
        paths.append(os.path.join(folder, f"p{i:0{width}d}.html"))

    # Random recursive tree: page i hangs below an earlier page, so following
    # links from index.html reaches every page.
    links = [[] for _ in range(pages)]
    for i in range(1, pages):
        links[rng.randrange(i)].append(i)

    by_folder = {}
    for i, p in enumerate(paths):
        by_folder.setdefault(os.path.dirname(p), []).append(i)
    for i in range(pages):
        # Half the extra links stay in the page's own folder, like the
        # navigation of a real site; the others go anywhere.
        neighbours = by_folder[os.path.dirname(paths[i])]
        want = preset.links_per_page + rng.randint(-3, 3)
        while len(links[i]) < want:
            pool = neighbours if rng.random() < 0.5 else None
            links[i].append(rng.choice(pool) if pool else rng.randrange(pages))
        if i:
            links[i].append(0)

    total_assets = int(pages * preset.assets_per_page)
    assets = [[] for _ in range(pages)]
    for a in range(total_assets):
        owner = a % pages if a < pages else rng.randrange(pages)
        large = preset.large_every and rng.randrange(preset.large_every) == 0
        if large:
            size = log_uniform(rng, *preset.large)
            ext = "zip"
        else:
            size = log_uniform(rng, *preset.small)
            ext = ASSET_KINDS[rng.randrange(len(ASSET_KINDS))]
        assets[owner].append((ext, size))
    return paths, links, assets


def relative(src, dst):
    return os.path.relpath(dst, os.path.dirname(src) or ".")


def render_page(i, paths, links, assets, rng, filler_words):
    here = paths[i]
    stem = os.path.splitext(os.path.basename(here))[0]
    out = ["<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n",
           f"<title>Page {i}</title>\n</head>\n"]
    asset_paths = []
    for k, (ext, size) in enumerate(assets[i]):
        asset_paths.append((f"img/{stem}_{k}.{ext}", ext, size))
    bg = next((a for a in asset_paths if a[1] != "zip"), None)
    out.append(f"<body background=\"{bg[0]}\">\n" if bg else "<body>\n")
    out.append(f"<h1>Page {i}</h1>\n<p>")
    out.append(" ".join(WORDS[rng.randrange(len(WORDS))] for _ in range(filler_words)))
    out.append("</p>\n")
    for path, ext, _ in asset_paths:
        if path == (bg[0] if bg else None):
            continue
        if ext == "zip":
            out.append(f"<p><a href=\"{path}\">archive</a></p>\n")
        else:
            out.append(f"<p><img src=\"{path}\" alt=\"\"></p>\n")
    out.append("<ul>\n")
    for j in links[i]:
        out.append(f"<li><a href=\"{relative(here, paths[j])}\">page {j}</a></li>\n")
    out.append("</ul>\n</body>\n</html>\n")
    return "".join(out).encode(), asset_paths


def write_site(out_dir, preset, pages, seed):
    rng = random.Random(seed)
    paths, links, assets = plan_site(preset, pages, rng)
    files = 0
    total = 0
    made = set()
    for i in range(pages):
        body, asset_paths = render_page(i, paths, links, assets, rng, preset.filler_words)
        page_path = os.path.join(out_dir, paths[i])
        folder = os.path.dirname(page_path)
        for path, _, size in asset_paths:
            target = os.path.join(folder, path)
            parent = os.path.dirname(target)
            if parent not in made:
                os.makedirs(parent, exist_ok=True)
                made.add(parent)
            with open(target, "wb") as f:
                f.write(rng.randbytes(size))
            files += 1
            total += size
        if folder not in made:
            os.makedirs(folder, exist_ok=True)
            made.add(folder)
        with open(page_path, "wb") as f:
            f.write(body)
        files += 1
        total += len(body)
    return files, total


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", required=True, help="folder to write (must not exist or be empty)")
    ap.add_argument("--preset", choices=sorted(PRESETS), default="synthetic")
    ap.add_argument("--pages", type=int, help="number of pages (default: the preset's)")
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args(argv)

    preset = PRESETS[args.preset]
    pages = args.pages if args.pages is not None else preset.pages
    if pages < 1:
        ap.error("--pages must be at least 1")
    if os.path.isdir(args.out) and os.listdir(args.out):
        ap.error(f"{args.out} is not empty")
    os.makedirs(args.out, exist_ok=True)
    files, total = write_site(args.out, preset, pages, args.seed)
    print(f"files={files} bytes={total}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
