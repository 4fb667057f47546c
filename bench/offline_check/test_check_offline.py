#!/usr/bin/env python3
"""Pins how the offline checker resolves references, one case per row: each
case is a page (or style sheet) added to a small mirror, and the row says
which class its references fall in. Run:
python3 -m unittest bench/offline_check/test_check_offline.py
"""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_offline  # noqa: E402

FIXTURES = {
    "host/page.html": b"<p>no references</p>",
    "host/img/a.png": b"png",
    "host/img/b c.png": b"png",
    "host/list?page=2": b"<!DOCTYPE html><p>page 2</p>",
    "host/\u8cc7\u6599.html": "<p>\u8cc7\u6599</p>".encode(),
    "host/sub/x.html": b"<p>x</p>",
    "host/dir/index.html": b"<p>folder</p>",
}

CASES = [
    # (file name, content, expected counts of the case's references)
    ("case.html", '<a href="page.html#sec">', {"resolved": 1}),
    ("case.html", '<a href="#top"> <a href="case.html#end"> <a href="">', {"same_document": 3}),
    ("case.html", '<img srcset="img/a.png 1x, img/b%20c.png 2x">', {"resolved": 2}),
    ("case.html", '<img src="img/a.png" srcset="img/missing.png 480w,img/a.png 800w">',
     {"resolved": 2, "nothing": 1}),
    ("case.html", '<a href="list%3Fpage=2">', {"resolved": 1, "page_without_html_name": 1}),
    ("case.html", '<a href="list?page=2">', {"nothing": 1}),
    ("case.html", '<a href="%E8%B3%87%E6%96%99.html"> <a href="\u8cc7\u6599.html">', {"resolved": 2}),
    ("case.html", '<a href="https://example.com/x"> <a href="HTTP://example.com/">', {"network": 2}),
    ("case.html", '<a href="//example.com/x">', {"nothing": 1}),
    ("case.html", '<a href="/etc/hostname"> <a href="../../outside.html">', {"nothing": 2}),
    ("case.html", '<a href="dir/">', {"nothing": 1}),
    ("case.html", '<a href="mailto:a@b.invalid"> <a href="javascript:go()"> <img src="data:,x">'
                  ' <link rel="canonical" href="https://example.com/">', {"not_loaded": 4}),
    ("case.html", '<!-- <a href="page.html"> --> <script>var u = "<a href=\'x.html\'>";</script>'
                  ' <p>&lt;a href="page.html"&gt;</p>', {}),
    ("case.html", '<div style="background: url(&quot;img/a.png&quot;)">', {"resolved": 1}),
    ("case.html", '<style>@import "missing.css"; .x { background: url(img/a.png) }</style>',
     {"resolved": 1, "nothing": 1}),
    ("case.html", '<meta http-equiv="refresh" content="0; url=page.html">', {"resolved": 1}),
    ("case.html", '<base href="sub/"><a href="x.html"> <a href="page.html">', {"resolved": 1, "nothing": 1}),
    ("case.html", '<base href="https://example.com/"><a href="page.html">', {"network": 1}),
    ("case.html", '<svg><image href="img/a.png"/><image xlink:href="img/none.png"/></svg>',
     {"resolved": 1, "nothing": 1}),
    ("case.html", '<a href="img\\a.png"> <a href=" page.html ">', {"resolved": 2}),
    ("case.css", "@import url('page.css'); .a { background: url( img/a.png ) } /* url(no.png) */",
     {"resolved": 1, "nothing": 1}),
    ("case.css", '@font-face { src: url("img/b%20c.png") format("woff2"), url(img/b.woff) }',
     {"resolved": 1, "nothing": 1}),
]

COUNTED = ("resolved", "network", "nothing", "same_document", "not_loaded", "page_without_html_name")


class OfflineCheck(unittest.TestCase):
    def test_references_fall_in_the_class_a_browser_gives_them(self):
        for name, content, expected in CASES:
            with self.subTest(content=content), tempfile.TemporaryDirectory() as root:
                for path, body in FIXTURES.items():
                    os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
                    with open(os.path.join(root, path), "wb") as f:
                        f.write(body)
                with open(os.path.join(root, "host", name), "w", encoding="utf-8") as f:
                    f.write(content)
                got = check_offline.Mirror(root).check().summary()
                self.assertEqual({k: got[k] for k in COUNTED if got[k]}, expected)
                self.assertEqual(got["references"], got["resolved"] + got["network"] + got["nothing"])


if __name__ == "__main__":
    unittest.main()
