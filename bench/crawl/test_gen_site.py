#!/usr/bin/env python3
"""Checks that generated sites are crawlable and repeatable.

A site that lost a page from the link graph, or a link form some downloader
resolves differently, would make the tools fetch different sets of files and
the comparison meaningless. Run: python3 -m unittest bench/crawl/test_gen_site.py
"""

import hashlib
import os
import posixpath
import re
import subprocess
import sys
import tempfile
import unittest

GEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gen_site.py")
LINK = re.compile(rb' (?:href|src|background)="([^"]*)"')


def generate(out, preset, pages, seed):
    r = subprocess.run([sys.executable, GEN, "--out", out, "--preset", preset,
                        "--pages", str(pages), "--seed", str(seed)],
                       check=True, capture_output=True, text=True)
    return r.stdout.strip()


def tree_digest(root):
    h = hashlib.sha256()
    for folder, dirs, files in sorted(os.walk(root)):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            h.update(os.path.relpath(path, root).encode())
            with open(path, "rb") as f:
                h.update(f.read())
    return h.hexdigest()


class GeneratedSite(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def out(self, name):
        return os.path.join(self.tmp.name, name)

    def test_every_file_is_reached_from_index_through_plain_relative_links(self):
        for preset in ("small", "synthetic", "wide"):
            with self.subTest(preset=preset):
                root = self.out(preset)
                summary = generate(root, preset, pages=80, seed=7)
                on_disk = {os.path.relpath(os.path.join(d, f), root)
                           for d, _, fs in os.walk(root) for f in fs}
                seen, todo = {"index.html"}, ["index.html"]
                while todo:
                    page = todo.pop()
                    with open(os.path.join(root, page), "rb") as f:
                        body = f.read()
                    for link in LINK.findall(body):
                        text = link.decode()
                        self.assertRegex(text, r"^(\.\./)*[a-z0-9_]+(/[a-z0-9_]+)*\.[a-z]+$",
                                         f"{page} links {text!r}")
                        target = posixpath.normpath(posixpath.join(posixpath.dirname(page), text))
                        self.assertIn(target, on_disk, f"{page} links a missing file {text!r}")
                        if target not in seen:
                            seen.add(target)
                            if target.endswith(".html"):
                                todo.append(target)
                self.assertEqual(seen, on_disk)
                total = sum(os.path.getsize(os.path.join(root, p)) for p in on_disk)
                self.assertEqual(summary, f"files={len(on_disk)} bytes={total}")

    def test_same_seed_gives_the_same_bytes_and_another_seed_does_not(self):
        generate(self.out("a"), "small", pages=40, seed=3)
        generate(self.out("b"), "small", pages=40, seed=3)
        generate(self.out("c"), "small", pages=40, seed=4)
        self.assertEqual(tree_digest(self.out("a")), tree_digest(self.out("b")))
        self.assertNotEqual(tree_digest(self.out("a")), tree_digest(self.out("c")))

    def test_refuses_to_write_into_a_folder_that_holds_files(self):
        root = self.out("full")
        os.makedirs(root)
        with open(os.path.join(root, "keep.txt"), "w") as f:
            f.write("mine")
        r = subprocess.run([sys.executable, GEN, "--out", root, "--pages", "5"],
                           capture_output=True, text=True)
        self.assertNotEqual(r.returncode, 0)
        self.assertEqual(os.listdir(root), ["keep.txt"])


if __name__ == "__main__":
    unittest.main()
