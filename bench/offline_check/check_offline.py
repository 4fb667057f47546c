#!/usr/bin/env python3
"""Checks how much of a mirror works offline, as a browser would see it.

Every stored HTML page and CSS file of the mirror is read for the references
a browser follows or loads: a/area/link href, the src of img, script, iframe,
frame, embed, input, audio, video, source and track, srcset and data-srcset
entry by entry, data-src, video poster, object data, body/table/td
background, meta refresh, SVG href and xlink:href, and CSS url() and @import
in .css files, <style> blocks and style attributes. Each reference is
resolved against the file's own file: URL (or its <base href>, the first one,
as a browser does) and falls in one of three classes:

  resolved  a file stored inside the mirror (the path percent-decoded, the
            query and fragment dropped: under file: they name no file)
  network   an http: or https: URL; "site" counts those on the mirrored
            site's own origin (--site), which a complete copy converts
  nothing   a file: path that does not exist, is a folder (a browser shows a
            listing, not the page) or leaves the mirror; also a
            protocol-relative reference ("//host/x"), which under file:
            becomes file://host/x and loads nothing online or off

References to the document itself ("", "#top", "page.html#top" in
page.html) are counted apart and not in the shares, and so are references
that load nothing: other schemes (mailto:, javascript:, data:, tel:) and
<link rel> canonical, preconnect and dns-prefetch. "no .html" counts
resolved references to a stored HTML page whose name does not end in .html
or .htm: a browser opening it from disk may not show it as a page.
"""

import argparse
import codecs
import json
import os
import re
import sys
from collections import Counter
from html.parser import HTMLParser
from urllib.parse import quote, unquote_to_bytes, urldefrag, urljoin, urlsplit

HTML_SUFFIXES = (".html", ".htm", ".xhtml", ".shtml")
# Only these schemes can load anything; the rest are not links to a file.
LOADING_SCHEMES = ("file", "http", "https")

URL_ATTRIBUTES = {
    "href": {"a", "area", "link", "image", "use", "base"},
    "xlink:href": {"a", "image", "use"},
    "src": {"img", "script", "iframe", "frame", "embed", "input", "audio", "video", "source", "track"},
    "data-src": None,
    "poster": {"video"},
    "data": {"object"},
    "background": {"body", "table", "td", "th"},
}
SRCSET_ATTRIBUTES = ("srcset", "data-srcset")
# Link relations that name the site's online address or a host to connect to
# early, never a file the copy should hold.
NAMES_NOT_FILES = {"canonical", "preconnect", "dns-prefetch"}

CSS_COMMENT = re.compile(r"/\*.*?\*/", re.S)
CSS_URL = re.compile(r"""url\(\s*(?:"([^"]*)"|'([^']*)'|([^)'"\s]*))\s*\)""", re.I)
CSS_IMPORT_STRING = re.compile(r"""@import\s+(?:"([^"]*)"|'([^']*)')""", re.I)
META_CHARSET = re.compile(rb"""<meta[^>]+charset\s*=\s*["']?\s*([A-Za-z0-9_.:-]+)""", re.I)
REFRESH_URL = re.compile(r"""^\s*[\d.]*\s*[;,]?\s*(?:url\s*=\s*)?(["']?)(.*?)\1\s*$""", re.I | re.S)


def css_references(text):
    text = CSS_COMMENT.sub("", text)
    refs = [next(g for g in m.groups() if g is not None) for m in CSS_URL.finditer(text)]
    refs += [m.group(1) if m.group(1) is not None else m.group(2) for m in CSS_IMPORT_STRING.finditer(text)]
    return refs


def srcset_references(value):
    """The URLs of a srcset, read the way the HTML standard's parser does: a
    URL runs to the next blank (trailing commas end the candidate), then the
    descriptors run to the next comma outside parentheses."""
    refs, i, n = [], 0, len(value)
    while i < n:
        while i < n and (value[i].isspace() or value[i] == ","):
            i += 1
        start = i
        while i < n and not value[i].isspace():
            i += 1
        url = value[start:i]
        if url.endswith(","):
            url = url.rstrip(",")
        else:
            depth = 0
            while i < n and (value[i] != "," or depth):
                depth += (value[i] == "(") - (value[i] == ")")
                i += 1
        if url:
            refs.append(url)
    return refs


class PageReferences(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.refs, self.base = [], None
        self.unloaded = 0
        self._style = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "link" and set((a.get("rel") or "").lower().split()) & NAMES_NOT_FILES:
            self.unloaded += 1
            return
        for name, value in attrs:
            if value is None:
                continue
            tags = URL_ATTRIBUTES.get(name, ())
            if tag == "base" and name == "href":
                if self.base is None:
                    self.base = value
            elif tags is None or tag in tags:
                self.refs.append(value)
            elif name in SRCSET_ATTRIBUTES:
                self.refs += srcset_references(value)
            elif name == "style":
                self.refs += css_references(value)
        if tag == "meta" and (a.get("http-equiv") or "").lower() == "refresh" and a.get("content"):
            m = REFRESH_URL.match(a["content"])
            if m and m.group(2) and not m.group(2).replace(".", "").isdigit():
                self.refs.append(m.group(2))
        self._style = tag == "style"

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        self._style = False

    def handle_data(self, data):
        if self._style:
            self.refs += css_references(data)

    def handle_endtag(self, tag):
        self._style = False


def decode_document(body):
    """Decodes a stored document as a browser opening it from disk would: a
    byte-order mark, then a meta charset, then the first of UTF-8, EUC-JP and
    Shift_JIS that decodes cleanly (a browser's detector gets these right)."""
    for bom, enc in ((codecs.BOM_UTF8, "utf-8"), (codecs.BOM_UTF16_LE, "utf-16-le"), (codecs.BOM_UTF16_BE, "utf-16-be")):
        if body.startswith(bom):
            return body[len(bom):].decode(enc, "replace")
    m = META_CHARSET.search(body[:4096])
    if m:
        try:
            return body.decode(m.group(1).decode("ascii"), "replace")
        except LookupError:
            pass
    for enc in ("utf-8", "euc-jp", "shift_jis"):
        try:
            return body.decode(enc)
        except UnicodeDecodeError:
            continue
    return body.decode("cp1252", "replace")


def looks_like_html(path, body):
    if path.lower().endswith(HTML_SUFFIXES):
        return True
    head = body[:512].lstrip(b"\xef\xbb\xbf \t\r\n").lower()
    return head.startswith((b"<!doctype html", b"<html"))


def file_url(path):
    return "file://" + quote(os.path.abspath(path).encode("utf-8", "surrogateescape"))


class Mirror:
    def __init__(self, root, site=None):
        self.root = os.path.realpath(root)
        self.site = site
        self.counts = Counter()
        self.examples = {"nothing": Counter(), "network site": Counter(), "network": Counter()}
        self.first_seen = {}

    def check(self):
        for folder, dirs, names in os.walk(self.root):
            dirs.sort()
            for name in sorted(names):
                path = os.path.join(folder, name)
                with open(path, "rb") as f:
                    body = f.read()
                if name.lower().endswith(".css"):
                    self.counts["css"] += 1
                    self.classify_all(path, css_references(decode_document(body)), None)
                elif looks_like_html(name, body):
                    self.counts["pages"] += 1
                    reader = PageReferences()
                    reader.feed(decode_document(body))
                    reader.close()
                    self.classify_all(path, reader.refs, reader.base)
                    self.counts["not loaded"] += reader.unloaded
        return self

    def classify_all(self, path, refs, base):
        doc = file_url(path)
        base_url = urljoin(doc, self.clean(base)) if base is not None else doc
        for ref in refs:
            kind, target = self.classify(doc, base_url, self.clean(ref))
            self.counts[kind] += 1
            if kind in self.examples:
                self.examples[kind][target] += 1
                self.first_seen.setdefault((kind, target), (os.path.relpath(path, self.root), ref))

    @staticmethod
    def clean(ref):
        # A browser strips surrounding blanks, drops tabs and newlines inside
        # and reads "\" as "/" in file: and http(s): URLs.
        return re.sub(r"[\t\n\r]", "", ref.strip(" \t\n\r\f")).replace("\\", "/")

    def classify(self, doc, base_url, ref):
        if ref == "" or ref.startswith("#"):
            return "same document", doc
        scheme = re.match(r"^([A-Za-z][A-Za-z0-9+.-]*):", ref)
        if scheme and scheme.group(1).lower() not in LOADING_SCHEMES:
            return "other scheme", ref
        target = urljoin(base_url, ref)
        parts = urlsplit(target)
        if parts.scheme in ("http", "https"):
            online = urldefrag(target)[0]
            return ("network site" if self.site and parts.netloc == self.site else "network"), online
        if parts.scheme != "file" or parts.netloc not in ("", "localhost"):
            return "nothing", target
        local = os.path.realpath(unquote_to_bytes(parts.path).decode("utf-8", "surrogateescape"))
        shown = "/" + os.path.relpath(local, self.root)
        if os.path.commonpath([local, self.root]) != self.root:
            return "nothing", "outside the mirror: " + local
        if os.path.isfile(local):
            if local == os.path.realpath(unquote_to_bytes(urlsplit(doc).path).decode("utf-8", "surrogateescape")):
                return "same document", doc
            if not local.lower().endswith(HTML_SUFFIXES + (".css",)) and self.is_page(local):
                self.counts["page without .html"] += 1
            return "resolved", shown
        return "nothing", shown + (" (a folder)" if os.path.isdir(local) else "")

    @staticmethod
    def is_page(path):
        with open(path, "rb") as f:
            return looks_like_html(path, f.read(512))

    def summary(self):
        c = self.counts
        refs = c["resolved"] + c["network"] + c["network site"] + c["nothing"]
        return {"pages": c["pages"], "css": c["css"], "references": refs,
                "resolved": c["resolved"], "network": c["network"] + c["network site"],
                "network_site": c["network site"], "nothing": c["nothing"],
                "page_without_html_name": c["page without .html"],
                "same_document": c["same document"], "not_loaded": c["other scheme"] + c["not loaded"]}

    def top(self, kind, n):
        out = []
        for target, count in self.examples[kind].most_common(n):
            doc, ref = self.first_seen[(kind, target)]
            out.append(f"{count:6d}  {target}   (first: {doc}: {ref!r})")
        return out


def share(part, whole):
    return f"{part} ({100 * part / whole:.1f}%)" if whole else f"{part}"


def table(results):
    head = ("mirror", "pages", "css", "refs", "resolved", "network", "of it site", "nothing",
            "no .html", "same doc", "not loaded")
    lines = []
    for label, s in results:
        r = s["references"]
        lines.append((label, str(s["pages"]), str(s["css"]), str(r), share(s["resolved"], r),
                      share(s["network"], r), str(s["network_site"]), share(s["nothing"], r),
                      str(s["page_without_html_name"]), str(s["same_document"]), str(s["not_loaded"])))
    widths = [max(len(c) for c in col) for col in zip(head, *lines)]
    fmt = lambda cells: "  ".join(c.rjust(w) if k else c.ljust(w) for k, (c, w) in enumerate(zip(cells, widths)))
    return "\n".join([fmt(head), fmt(tuple("-" * w for w in widths))] + [fmt(l) for l in lines])


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("mirrors", nargs="+", metavar="[LABEL=]FOLDER",
                    help="a mirror's top folder (the tool's output folder), optionally labelled")
    ap.add_argument("--site", help="host:port of the mirrored site, to count network references to it apart")
    ap.add_argument("--top", type=int, default=10, help="unresolved examples listed per mirror and class")
    ap.add_argument("--json", help="also write the figures to this file")
    args = ap.parse_args(argv)
    results, mirrors = [], []
    for arg in args.mirrors:
        label, sep, folder = arg.partition("=")
        if not sep:
            label, folder = arg, arg
        if not os.path.isdir(folder):
            print(f"{folder}: no such folder", file=sys.stderr)
            return 1
        m = Mirror(folder, args.site).check()
        results.append((label, m.summary()))
        mirrors.append((label, m))
    print("References in stored pages and style sheets, resolved as a browser does under file:\n")
    print(table(results))
    for label, m in mirrors:
        for kind, title in (("nothing", "point to nothing"),
                            ("network site", "point to the mirrored site online"),
                            ("network", "point elsewhere online")):
            lines = m.top(kind, args.top)
            if lines:
                print(f"\n{label}: most frequent references that {title}:")
                print("\n".join(lines))
    if args.json:
        with open(args.json, "w", encoding="utf-8") as f:
            json.dump(dict(results), f, indent=1, ensure_ascii=False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
