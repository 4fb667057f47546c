#!/usr/bin/env python3
"""Checks that the present-day site keeps its promise: every file is reached
from the start page, and a reader that lacks one link feature misses exactly
the files the manifest puts in that category (or lists as also needing it).

A small reference resolver stands in for a downloader: it reads the pages as
a browser would (html.parser, the page's charset, <base href>, CSS url() and
@import) and tags every reference with the features it takes to follow it.
Run: python3 -m unittest bench/today_site/test_gen_site.py
"""

import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser
from urllib.parse import unquote_to_bytes, urldefrag, urljoin, urlsplit

GEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gen_site.py")
ORIGIN = "127.0.0.1:8443"
BIG_PAGE_LIMIT = 300 * 1024

# (element, attribute) -> the feature that reading it takes; None: a plain link.
ELEMENT_FEATURES = {
    ("a", "href"): None, ("area", "href"): None, ("link", "href"): "link_rel",
    ("img", "src"): "img_src", ("img", "srcset"): "srcset", ("source", "srcset"): "picture",
    ("img", "data-src"): "lazy", ("img", "data-srcset"): "lazy",
    ("video", "src"): "media", ("video", "poster"): "media", ("audio", "src"): "media",
    ("source", "src"): "media", ("track", "src"): "media",
    ("object", "data"): "object_embed", ("embed", "src"): "object_embed",
    ("iframe", "src"): "iframe", ("script", "src"): "script",
    ("image", "href"): "svg", ("image", "xlink:href"): "svg",
}
CSS_URL = re.compile(r"""url\(\s*(['"]?)(.*?)\1\s*\)""")
CSS_IMPORT = re.compile(r"""@import\s+(?:url\(\s*)?(['"]?)([^'")\s;]+)\1""")
FONT_FACE = re.compile(r"@font-face\s*\{[^}]*\}")


def css_refs(text):
    """(reference, feature) of a style sheet; a comment holds none."""
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    fonts = [m.span() for m in FONT_FACE.finditer(text)]
    refs = [(m.group(2), "css_import") for m in CSS_IMPORT.finditer(text)]
    for m in CSS_URL.finditer(text):
        if any(a <= m.start() < b for a, b in fonts):
            refs.append((m.group(2), "font_face"))
        elif not text[:m.start()].rstrip().endswith("@import"):
            refs.append((m.group(2), "css_url"))
    return refs


class PageReader(HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.refs, self.base, self.in_style = [], None, False
        self.line_starts = [0] + [m.end() for m in re.finditer("\n", text)]

    def position(self):
        line, col = self.getpos()
        return self.line_starts[line - 1] + col

    def handle_starttag(self, tag, attrs):
        raw = self.get_starttag_text()
        features = {"big_page"} if self.position() > BIG_PAGE_LIMIT else set()
        for name, value in attrs:
            if value is None:
                continue
            m = re.search(r"\s" + re.escape(name) + r'="([^"]*)"', raw)
            entity = {"entity"} if m and m.group(1) != value else set()
            extra = features | entity
            if tag == "base" and name == "href":
                self.base = value
            elif name == "style":
                self.refs += [(r, {"style_attr"} | extra) for r, _ in css_refs(value)]
            elif tag == "meta" and name == "content" and dict(attrs).get("http-equiv") == "refresh":
                self.refs.append((value.split("url=", 1)[1], {"meta_refresh"} | extra))
            elif (tag, name) in ELEMENT_FEATURES:
                feature = ELEMENT_FEATURES[(tag, name)]
                tags = ({feature} if feature else set()) | extra
                urls = [c.split()[0] for c in value.split(",")] if name.endswith("srcset") else [value]
                self.refs += [(u, tags) for u in urls]
        self.in_style = tag == "style"

    def handle_data(self, data):
        if self.in_style:
            self.refs += [(r, {"style_block"}) for r, _ in css_refs(data)]
        self.in_style = False


def form_features(ref, base, charset):
    """The features the written form of a reference takes."""
    f = set()
    if ref.startswith("//"):
        f.add("protocol_relative")
    elif ref.startswith("https:"):
        f.add("absolute")
    elif ref.startswith("/"):
        f.add("root_relative")
    elif base:
        f.add("base_href")
    path, _, frag = ref.partition("#")
    if frag:
        f.add("fragment")
    if "?" in path:
        f.add("query")
    if path.split("?")[0].endswith("/"):
        f.add("folder")
    if "%" in path or any(ord(c) > 127 for c in path):
        f.add({"shift_jis": "sjis", "euc-jp": "eucjp"}.get(charset, "utf8_names"))
    return f


def request_key(url):
    parts = urlsplit(urldefrag(url)[0])
    return unquote_to_bytes(parts.path.encode("utf-8")), parts.query


class SiteGraph:
    """The site as references between its files, each tagged with features."""

    def __init__(self, root, manifest):
        self.manifest = manifest
        self.by_key = {request_key(f"https://{ORIGIN}{e['url']}"): e for e in manifest["files"]}
        self.edges = {}
        self.foreign = []
        for e in manifest["files"]:
            with open(os.path.join(root, e["path"]), "rb") as f:
                body = f.read()
            self.edges[e["path"]] = self.read(e, body)

    def read(self, entry, body):
        page_url = f"https://{ORIGIN}{entry['url']}"
        if entry["path"].endswith(".css"):
            refs, base, charset = [(r, {k}) for r, k in css_refs(body.decode())], None, "utf-8"
        elif body.startswith(b"<!DOCTYPE html>"):
            m = re.search(rb'<meta charset="([^"]+)">', body)
            charset = entry.get("charset") or (m.group(1).decode() if m else "utf-8")
            reader = PageReader(body.decode(charset))
            reader.feed(body.decode(charset))
            refs, base = reader.refs, reader.base
        else:
            return []
        out = []
        for ref, features in refs:
            if ref.split(":")[0] in ("mailto", "javascript", "data", "tel"):
                continue
            target = urljoin(urljoin(page_url, base) if base else page_url, ref)
            hit = self.by_key.get(request_key(target))
            if hit is None:
                self.foreign.append(target)
                continue
            out.append((hit["path"], features | form_features(ref, base, charset)))
        return out

    def reach(self, without=None):
        seen, todo = {"index.html"}, ["index.html"]
        while todo:
            for target, features in self.edges[todo.pop()]:
                if without not in features and target not in seen:
                    seen.add(target)
                    todo.append(target)
        return seen


def generate(out, seed=1, origin=ORIGIN):
    subprocess.run([sys.executable, GEN, "--out", os.path.join(out, "www"), "--manifest",
                    os.path.join(out, "manifest.json"), "--origin", origin, "--seed", str(seed)],
                   check=True, capture_output=True, text=True)
    with open(os.path.join(out, "manifest.json"), encoding="utf-8") as f:
        return json.load(f)


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


class PresentDaySite(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.root = os.path.join(cls.tmp.name, "a")
        cls.manifest = generate(cls.root)
        cls.graph = SiteGraph(os.path.join(cls.root, "www"), cls.manifest)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_manifest_describes_the_files_on_disk(self):
        www = os.path.join(self.root, "www")
        on_disk = {os.path.relpath(os.path.join(d, f), www) for d, _, fs in os.walk(www) for f in fs}
        self.assertEqual(on_disk, {e["path"] for e in self.manifest["files"]})
        self.assertTrue(300 <= len(on_disk) <= 500, len(on_disk))
        for e in self.manifest["files"]:
            with open(os.path.join(www, e["path"]), "rb") as f:
                self.assertEqual(hashlib.sha256(f.read()).hexdigest(), e["sha256"], e["path"])
        self.assertEqual(len({e["sha256"] for e in self.manifest["files"]}), len(on_disk),
                         "two files with the same bytes cannot be told apart by hash")
        self.assertGreater(os.path.getsize(os.path.join(www, "hub/big.html")), BIG_PAGE_LIMIT)

    def test_every_file_is_reached_and_only_the_broken_link_leads_elsewhere(self):
        self.assertEqual(self.graph.reach(), {e["path"] for e in self.manifest["files"]})
        broken = [f"https://{ORIGIN}{u}" for u in self.manifest["broken"]]
        self.assertEqual(self.graph.foreign, broken)

    def test_a_reader_without_a_feature_misses_exactly_its_category(self):
        everything = {e["path"] for e in self.manifest["files"]}
        categories = {e["category"] for e in self.manifest["files"]} - {"relative"}
        for category in sorted(categories):
            with self.subTest(category=category):
                needs = {e["path"] for e in self.manifest["files"]
                         if e["category"] == category or category in e.get("also_needs", ())}
                self.assertEqual(everything - self.graph.reach(without=category), needs)

    def test_same_arguments_give_the_same_bytes(self):
        again = os.path.join(self.tmp.name, "b")
        other = os.path.join(self.tmp.name, "c")
        self.assertEqual(generate(again), self.manifest)
        generate(other, seed=2)
        www = lambda r: os.path.join(r, "www")
        self.assertEqual(tree_digest(www(self.root)), tree_digest(www(again)))
        self.assertNotEqual(tree_digest(www(self.root)), tree_digest(www(other)))


if __name__ == "__main__":
    unittest.main()
