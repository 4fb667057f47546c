#!/usr/bin/env python3
"""Writes a deterministic present-day web site and its manifest.

The site is made of categories. Each file belongs to one category: the one
link feature a downloader needs to reach it (a root-relative link, a query
string, srcset, CSS url(), a Shift_JIS page ...). Hub pages, reached from the
start page by plain relative links, carry the references; a downloader that
lacks a feature misses exactly the files of that category. A few files need a
second feature as well (what a style sheet references needs the style sheet):
the manifest lists it in "also_needs".

Absolute and protocol-relative links carry the origin given with --origin, so
the site is written for one server address; the same arguments always give
the same bytes.

Query pages live on disk as "<path>@<query>" (list?page=2 is the file
"list@page=2"); the nginx configuration beside this script maps a request
with a query string to that file.

The manifest (JSON) lists every file with its URL, category and sha256, every
trap (a string that looks like a link but must never be requested, with a
token that identifies a request made for it), and the deliberate broken link.

Prints one line: "files=N bytes=B" for the tree written.
"""

import argparse
import hashlib
import json
import os
import random
import sys
from urllib.parse import quote

# The documented analysis limit of classic downloaders: the big page is larger
# and carries its only link after it.
BIG_PAGE_LIMIT = 300 * 1024

WORDS = ("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod "
         "tempor incididunt ut labore et dolore magna aliqua enim ad minim veniam").split()

# Names shared by the Shift_JIS, EUC-JP and UTF-8 pages. "表" and "ソ" end in
# the byte 0x5C ("\") in Shift_JIS, a classic stumbling block.
JA_NAMES = ("資料", "写真", "文書", "目次", "表", "ソフト", "日本語", "案内")

TRAPS = (
    # (where it sits, the text of the reference, the token its request carries)
    ("comment", "trap-comment.html", "trap-comment"),
    ("script text", "trap-script.html", "trap-script"),
    ("script string", "trap-string.html", "trap-string"),
    ("escaped text", "trap-escaped.html", "trap-escaped"),
    ("mailto", "mailto:trap-mail@example.invalid", "trap-mail"),
    ("javascript", "javascript:void('trap-js')", "trap-js"),
    ("data", "data:image/gif;base64,R0lGODlhAQABAAAAACw=", "data:"),
    ("tel", "tel:+81300000000", "tel:"),
    ("css comment", "trap-css-comment.png", "trap-css-comment"),
)
BROKEN = "/missing/broken.html"


class Site:
    def __init__(self, seed, origin):
        self.rng = random.Random(seed)
        self.origin = origin
        self.files = {}
        self.entries = []
        self.hubs = []

    def add(self, path, body, category, url=None, also_needs=(), charset=None):
        """Stores a file; its URL defaults to its path, percent-encoded."""
        assert path not in self.files, path
        if isinstance(body, str):
            body = body.encode("utf-8")
        self.files[path] = body
        entry = {"path": path, "url": url or "/" + quote(path), "category": category,
                 "sha256": hashlib.sha256(body).hexdigest(), "size": len(body)}
        if also_needs:
            entry["also_needs"] = sorted(also_needs)
        if charset:
            entry["charset"] = charset
        self.entries.append(entry)

    def blob(self, path, category, lo=300, hi=6000, **kw):
        """A binary file whose bytes are unique to its path."""
        data = path.encode() + b"\0" + self.rng.randbytes(self.rng.randint(lo, hi))
        self.add(path, data, category, **kw)

    def text(self, words=40):
        return " ".join(self.rng.choice(WORDS) for _ in range(words))

    def page(self, title, body, head="", charset="utf-8", meta=True):
        meta_tag = f'<meta charset="{charset}">\n' if meta else ""
        return (f"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n{meta_tag}<title>{title}</title>\n"
                f"{head}</head>\n<body>\n<h1>{title}</h1>\n<p>{self.text()}</p>\n{body}\n</body>\n</html>\n")

    def leaf(self, path, category, **kw):
        self.add(path, self.page(path, f"<p>{self.text(60)}</p>"), category, **kw)

    def hub(self, name, body, head="", styled=True, **kw):
        """A page reached from the start page by a plain relative link."""
        path = f"hub/{name}.html"
        self.hubs.append(path)
        if styled:
            head = '<link rel="stylesheet" href="../css/site.css">\n' + head
        self.add(path, self.page(name, body, head), "relative", **kw)


def build(site):
    o = site.origin
    a = lambda href, text="link": f'<a href="{href}">{text}</a>'

    # Plain relative links: pages in three folders that link each other with
    # "../" and folder-local names; the hub reaches the first of each chain.
    rel = [f"rel/{d}/p{i}.html" for d in "abc" for i in range(20)]
    for k, path in enumerate(rel):
        folder = os.path.dirname(path)
        nxt = [rel[(k + 1) % len(rel)], rel[(k * 7 + 3) % len(rel)]]
        links = " ".join(a(os.path.relpath(t, folder)) for t in nxt)
        site.add(path, site.page(path, f"<p>{links}</p>"), "relative")
    site.hub("relative", " ".join(a(f"../rel/{d}/p0.html") for d in "abc")
             + " " + a(".." + BROKEN, "broken"))

    site.hub("root-relative", " ".join(a(f"/rootrel/r{i}.html") for i in range(30)))
    for i in range(30):
        site.leaf(f"rootrel/r{i}.html", "root_relative")

    site.hub("protocol-relative", " ".join(a(f"//{o}/protorel/pr{i}.html") for i in range(10)))
    for i in range(10):
        site.leaf(f"protorel/pr{i}.html", "protocol_relative")

    site.hub("absolute", " ".join(a(f"https://{o}/absolute/ab{i}.html") for i in range(10)))
    for i in range(10):
        site.leaf(f"absolute/ab{i}.html", "absolute")

    # Query pages: a paginated list and the items of its first page.
    site.hub("query", a("../query/list?page=1"))
    for n in range(1, 21):
        nav = [a(f"list?page={m}", f"page {m}") for m in (n - 1, n + 1) if 1 <= m <= 20]
        if n == 1:
            nav += [a(f"item?id={k}") for k in range(1, 6)]
        site.add(f"query/list@page={n}", site.page(f"list {n}", " ".join(nav)), "query",
                 url=f"/query/list?page={n}")
    for k in range(1, 6):
        site.add(f"query/item@id={k}", site.page(f"item {k}", f"<p>{site.text()}</p>"), "query",
                 url=f"/query/item?id={k}")

    # Fragments only: every link to these pages carries one.
    site.hub("fragment", " ".join(a(f"../fragment/f{i}.html#{s}") for i in range(10)
                                  for s in ("top", "sec2", "end")))
    for i in range(10):
        site.leaf(f"fragment/f{i}.html", "fragment")

    site.hub("folder", " ".join(a(f"../folder/d{i}/") for i in range(10)))
    for i in range(10):
        site.leaf(f"folder/d{i}/index.html", "folder", url=f"/folder/d{i}/")

    # Character references in attribute values: "&amp;" and numeric ones in
    # the path, and "&amp;" between the fields of a query.
    ent = [("tom&amp;jerry{}.html", "tom&jerry{}.html"),
           ("a&#38;b{}.html", "a&b{}.html"),
           ("e&#x5F;{}.html", "e_{}.html")]
    body = []
    for i in range(2):
        for written, real in ent:
            body.append(a("../entity/" + written.format(i)))
            site.leaf("entity/" + real.format(i), "entity", url="/entity/" + quote(real.format(i), safe="&"))
    for i in range(2):
        body.append(a(f"../entity/search?x={i}&amp;y=2"))
        site.add(f"entity/search@x={i}&y=2", site.page(f"search {i}", "<p>result</p>"), "entity",
                 url=f"/entity/search?x={i}&y=2", also_needs=["query"])
    site.hub("entity", " ".join(body))

    site.hub("base", " ".join(a(f"b{i}.html") for i in range(8)), head='<base href="../based/">\n')
    for i in range(8):
        site.leaf(f"based/b{i}.html", "base_href")

    # Images and media. The img src of the srcset, picture and lazy pages
    # reuses these images, as a fallback does.
    img = [f"img/i{i}.{('png', 'jpg', 'gif')[i % 3]}" for i in range(25)]
    for path in img:
        site.blob(path, "img_src")
    site.hub("img", " ".join(f'<img src="../{p}" alt="">' for p in img))

    srcset = []
    for i in range(3):
        srcset.append(f'<img src="../{img[i]}" srcset="../srcset/x{i}-1x.jpg 1x, ../srcset/x{i}-2x.jpg 2x" alt="">')
        srcset.append(f'<img src="../{img[i + 3]}" sizes="(max-width: 600px) 480px, 800px" '
                      f'srcset="../srcset/w{i}-480.jpg 480w,../srcset/w{i}-800.jpg  800w" alt="">')
        for name in (f"x{i}-1x", f"x{i}-2x", f"w{i}-480", f"w{i}-800"):
            site.blob(f"srcset/{name}.jpg", "srcset")
    site.hub("srcset", "\n".join(srcset))

    pictures = []
    for i in range(3):
        pictures.append(f'<picture><source srcset="../picture/p{i}.avif" type="image/avif">'
                        f'<source srcset="../picture/p{i}-wide.webp 2x" media="(min-width: 800px)">'
                        f'<img src="../{img[i]}" alt=""></picture>')
        site.blob(f"picture/p{i}.avif", "picture")
        site.blob(f"picture/p{i}-wide.webp", "picture")
    site.hub("picture", "\n".join(pictures))

    lazy = []
    for i in range(4):
        lazy.append(f'<img src="../{img[9]}" data-src="../lazy/l{i}.jpg" class="lazy" alt="">')
        site.blob(f"lazy/l{i}.jpg", "lazy")
    for i in range(2):
        lazy.append(f'<img src="../{img[10]}" data-srcset="../lazy/s{i}-1x.webp 1x, ../lazy/s{i}-2x.webp 2x" alt="">')
        site.blob(f"lazy/s{i}-1x.webp", "lazy")
        site.blob(f"lazy/s{i}-2x.webp", "lazy")
    site.hub("lazy", "\n".join(lazy))

    media = ('<video src="../media/clip0.mp4" poster="../media/poster0.jpg" controls>'
             '<track src="../media/subs0.vtt" kind="subtitles" srclang="en"></video>\n'
             '<video poster="../media/poster1.jpg" controls><source src="../media/clip1.webm" type="video/webm">'
             '<source src="../media/clip1.mp4" type="video/mp4">'
             '<track src="../media/subs1.vtt" kind="captions" srclang="ja"></video>\n'
             '<audio src="../media/sound0.ogg" controls></audio>\n'
             '<audio controls><source src="../media/sound1.mp3" type="audio/mpeg"></audio>')
    for name in ("clip0.mp4", "poster0.jpg", "subs0.vtt", "poster1.jpg", "clip1.webm",
                 "clip1.mp4", "subs1.vtt", "sound0.ogg", "sound1.mp3"):
        site.blob(f"media/{name}", "media")
    site.hub("media", media)

    site.hub("object", '<object data="../object/o0.svg" type="image/svg+xml"></object>\n'
                       '<object data="../object/o1.pdf" type="application/pdf"></object>\n'
                       '<embed src="../object/e0.swf" type="application/x-shockwave-flash">\n'
                       '<embed src="../object/e1.svg" type="image/svg+xml">')
    for name in ("o0.svg", "o1.pdf", "e0.swf", "e1.svg"):
        site.blob(f"object/{name}", "object_embed")

    site.hub("iframe", " ".join(f'<iframe src="../frames/fr{i}.html" title="frame {i}"></iframe>' for i in range(4)))
    for i in range(4):
        site.leaf(f"frames/fr{i}.html", "iframe")

    site.hub("script", " ".join(f'<script src="../js/s{i}.js"></script>' for i in range(5)))
    for i in range(5):
        site.add(f"js/s{i}.js", f"// script {i}\nvar v{i} = {site.rng.randint(0, 10**9)};\n", "script")

    build_css(site)
    build_html_css(site)

    for i in range(3):
        site.hub(f"refresh{i}", "<p>moving on</p>",
                 head=f'<meta http-equiv="refresh" content="{i + 5}; url=../refresh/t{i}.html">\n')
        site.leaf(f"refresh/t{i}.html", "meta_refresh")

    site.hub("svg", '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
                    'width="200" height="100">\n'
                    '<image href="../svg/g0.png" width="50" height="50"/>\n'
                    '<image href="../svg/g1.jpg" x="50" width="50" height="50"/>\n'
                    '<image xlink:href="../svg/g2.png" x="100" width="50" height="50"/>\n'
                    '<image xlink:href="../svg/g3.gif" x="150" width="50" height="50"/>\n</svg>')
    for name in ("g0.png", "g1.jpg", "g2.png", "g3.gif"):
        site.blob(f"svg/{name}", "svg")

    build_japanese(site)

    filler = []
    size = 0
    while size <= BIG_PAGE_LIMIT + 20 * 1024:
        para = f"<p>{site.text(80)}</p>\n"
        filler.append(para)
        size += len(para)
    site.hub("big", "".join(filler) + a("../big/after-limit.bin", "the only link"), styled=False)
    site.blob("big/after-limit.bin", "big_page", lo=20000, hi=40000)

    build_traps(site)

    index = site.page("Present-day test site", "<ul>\n" + "".join(
        f"<li>{a(h, os.path.basename(h))}</li>\n" for h in site.hubs) + "</ul>")
    site.add("index.html", index, "relative", url="/")


def build_css(site):
    """The style sheet every hub links, what it references, and the other
    link relations (icon, preload, manifest)."""
    css_url = []
    for i in range(10):
        name = f"c{i}.{('png', 'jpg', 'gif', 'webp', 'svg')[i % 5]}"
        form = ('url("../cssimg/{}")', "url('../cssimg/{}')", "url(../cssimg/{})", "url( ../cssimg/{} )")[i % 4]
        css_url.append(f".c{i} {{ background: #fff {form.format(name)} no-repeat; }}")
        site.blob(f"cssimg/{name}", "css_url", also_needs=["link_rel"])
    imports = ('@import "imp0.css";', "@import url(imp1.css);", "@import url('imp2.css') screen;",
               "@import 'imp3.css' print;")
    for i in range(4):
        site.add(f"css/imp{i}.css", f"/* imported {i} */\n.imp{i} {{ color: #{i}{i}{i}; }}\n",
                 "css_import", also_needs=["link_rel"])
    fonts = ("@font-face {\n  font-family: Site0;\n"
             '  src: url("../fonts/site0.woff2") format("woff2"), url(../fonts/site0.woff) format("woff");\n}\n'
             "@font-face {\n  font-family: Site1;\n"
             "  src: local('Site One'), url('../fonts/site1.ttf') format('truetype'),\n"
             '       url(../fonts/site1.otf) format("opentype");\n}\n')
    for name in ("site0.woff2", "site0.woff", "site1.ttf", "site1.otf"):
        site.blob(f"fonts/{name}", "font_face", also_needs=["link_rel"])
    css = ("\n".join(imports) + "\n/* url(trap-css-comment.png) is a comment */\n" + fonts
           + "body { font-family: Site0, sans-serif; }\n" + "\n".join(css_url) + "\n")
    site.add("css/site.css", css, "link_rel")

    site.hub("link-rel",
             "<p>icons, preloads and a manifest</p>",
             head='<link rel="icon" href="../icons/favicon.png" type="image/png">\n'
                  '<link rel="apple-touch-icon" href="../icons/touch.png">\n'
                  '<link rel="preload" href="../preload/hero.jpg" as="image">\n'
                  '<link rel="preload" href="../preload/body.woff2" as="font" type="font/woff2" crossorigin>\n'
                  '<link rel="manifest" href="../app.webmanifest">\n'
                  '<link rel="stylesheet" href="../css/print.css" media="print">\n')
    for path in ("icons/favicon.png", "icons/touch.png", "preload/hero.jpg", "preload/body.woff2"):
        site.blob(path, "link_rel")
    site.add("app.webmanifest", '{"name": "Present-day test site", "start_url": "/"}\n', "link_rel")
    site.add("css/print.css", "@media print { body { color: #000; } }\n", "link_rel")


def build_html_css(site):
    """CSS inside pages: <style> blocks and style attributes."""
    block = "\n".join(f".s{i} {{ background-image: url('../styleblock/sb{i}.png'); }}" for i in range(5))
    site.hub("style-block", " ".join(f'<div class="s{i}">{i}</div>' for i in range(5)),
             head=f"<style>\n{block}\n</style>\n")
    for i in range(5):
        site.blob(f"styleblock/sb{i}.png", "style_block")
    attrs = " ".join(f'<div style="background:url(../styleattr/sa{i}.jpg) center; height:10px">{i}</div>'
                     if i % 2 else
                     f"<div style=\"background-image: url(&quot;../styleattr/sa{i}.jpg&quot;)\">{i}</div>"
                     for i in range(5))
    site.hub("style-attr", attrs)
    for i in range(5):
        # The quotes written as "&quot;" must be decoded before the CSS is read.
        site.blob(f"styleattr/sa{i}.jpg", "style_attr", also_needs=() if i % 2 else ["entity"])


def build_japanese(site):
    """Japanese file names: UTF-8 links written percent-encoded and raw, and
    a Shift_JIS page (charset in a meta tag) and an EUC-JP page (charset only
    in the HTTP header) whose links are in their own encoding."""
    links = []
    for i, name in enumerate(JA_NAMES):
        path = f"ja/{name}{i}.html" if i % 2 else f"ja/{name}{i}.png"
        written = quote(path) if i < 4 else path
        links.append(f'<a href="../{written}">{name}</a>')
        if path.endswith(".html"):
            site.leaf(path, "utf8_names")
        else:
            site.blob(path, "utf8_names")
    site.hub("japanese", " ".join(links))

    for enc, category, meta in (("shift_jis", "sjis", True), ("euc-jp", "eucjp", False)):
        names = [f"{category}/{n}{i}.html" for i, n in enumerate(JA_NAMES[2:6])]
        for path in names:
            site.leaf(path, category)
        body = " ".join(f'<a href="../{p}">{os.path.basename(p)[:-5]}</a>' for p in names)
        text = site.page(f"{enc} ページ", body, charset=enc, meta=meta).encode(enc)
        path = f"hub/{category}.html"
        site.hubs.append(path)
        site.add(path, text, "relative", charset=enc if not meta else None)


def build_traps(site):
    """Strings that look like links but are none, on one page."""
    t = {where: ref for where, ref, _ in TRAPS}
    body = (f'<!-- <a href="{t["comment"]}">old</a> -->\n'
            f'<script>\ndocument.write(\'<a href="{t["script text"]}">x</a>\');\n'
            f'var next = "{t["script string"]}";\n</script>\n'
            f'<p>Write &lt;a href="{t["escaped text"]}"&gt; to link.</p>\n'
            f'<a href="{t["mailto"]}">mail</a> <a href="{t["javascript"]}">js</a>\n'
            f'<img src="{t["data"]}" alt=""> <a href="{t["tel"]}">call</a>')
    site.hub("traps", body)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", required=True, help="folder to write the site into (must be empty or absent)")
    ap.add_argument("--manifest", required=True, help="JSON file to write the manifest to")
    ap.add_argument("--origin", default="127.0.0.1:8443",
                    help="host:port of the https server, written into absolute links")
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args(argv)
    if os.path.isdir(args.out) and os.listdir(args.out):
        print(f"{args.out} is not empty", file=sys.stderr)
        return 1
    site = Site(args.seed, args.origin)
    build(site)
    for path, body in site.files.items():
        full = os.path.join(args.out, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(body)
    manifest = {
        "origin": args.origin,
        "start": "/",
        "files": sorted(site.entries, key=lambda e: e["path"]),
        "traps": [{"where": w, "ref": r, "token": k} for w, r, k in TRAPS],
        "broken": [BROKEN],
    }
    with open(args.manifest, "w", encoding="utf-8") as f:
        json.dump(manifest, f, ensure_ascii=False, indent=1, sort_keys=True)
        f.write("\n")
    print(f"files={len(site.files)} bytes={sum(len(b) for b in site.files.values())}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
