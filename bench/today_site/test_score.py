#!/usr/bin/env python3
"""Pins how the scorer counts requests and stored files, with small tables
of access-log lines and output folders. Run:
python3 -m unittest bench/today_site/test_score.py
"""

import hashlib
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import score  # noqa: E402

PAGE, IMAGE, QUERY = b"<p>page</p>", b"\x89PNG image", b"<p>list 2</p>"
MANIFEST = {
    "origin": "127.0.0.1:8443",
    "files": [
        {"path": "index.html", "url": "/", "category": "relative", "sha256": hashlib.sha256(PAGE).hexdigest()},
        {"path": "ja/\u8cc7\u6599.png", "url": "/ja/%E8%B3%87%E6%96%99.png", "category": "utf8_names",
         "sha256": hashlib.sha256(IMAGE).hexdigest()},
        {"path": "query/list@page=2", "url": "/query/list?page=2", "category": "query",
         "sha256": hashlib.sha256(QUERY).hexdigest()},
    ],
    "traps": [{"token": "trap-comment"}, {"token": "mailto:"}],
    "broken": ["/missing/broken.html"],
}

REQUESTS = [
    # (access-log lines, the counts that differ from zero besides "requests")
    (["8443 200 GET /"], {"site": 1}),
    (["80 301 GET /", "8443 200 GET /"], {"redirects": 1, "site": 1}),
    (["8443 200 GET /", "8443 200 GET /"], {"site": 1, "duplicates": 1}),
    (["8443 200 GET /ja/%E8%B3%87%E6%96%99.png", "8443 200 GET /ja/%e8%b3%87%e6%96%99.png",
      "8443 200 GET /ja/\u8cc7\u6599.png"], {"site": 1, "duplicates": 2}),
    (["8443 200 GET /query/list?page=2", "8443 404 GET /query/list"], {"site": 1, "4xx": 1}),
    (["8443 404 GET /missing/broken.html"], {"broken": 1}),
    (["8443 404 GET /hub/trap-comment.html", "8443 404 GET /hub/mailto%3Aa@b.invalid"], {"traps": 2}),
    (["8443 200 GET /index.html", "80 200 GET /x"], {"other": 2}),
]


class Scoring(unittest.TestCase):
    def test_requests_are_counted_by_what_they_asked_for(self):
        for lines, expected in REQUESTS:
            with self.subTest(lines=lines):
                counts, wrong = score.score_requests(MANIFEST, [l.encode() + b"\n" for l in lines], "8443")
                self.assertEqual(counts.pop("requests"), len(lines))
                self.assertEqual({k: v for k, v in counts.items() if v}, expected)
                self.assertEqual(len(wrong), sum(expected.get(k, 0) for k in ("duplicates", "4xx", "traps", "other")))

    def test_files_are_found_by_content_or_for_pages_by_name(self):
        layouts = [
            # (stored files below the output folder, reached, rewritten)
            ({"h/index.html": PAGE, "h/any/name.bin": IMAGE, "h/query/list?page=2": QUERY}, 3, 0),
            ({"h:1/index.html": PAGE + b"<!-- converted -->", "h:1/query/list@page=2.html": b"rewritten"}, 0, 2),
            ({"h/index.html": PAGE, "h/ja/\u8cc7\u6599.png": b"truncated"}, 1, 0),
        ]
        for stored, reached, rewritten in layouts:
            with self.subTest(stored=list(stored)), tempfile.TemporaryDirectory() as out:
                for path, body in stored.items():
                    os.makedirs(os.path.dirname(os.path.join(out, path)), exist_ok=True)
                    with open(os.path.join(out, path), "wb") as f:
                        f.write(body)
                got, conv, missed = score.score_files(MANIFEST, out)
                self.assertEqual((sum(got.values()), sum(conv.values())), (reached, rewritten))
                self.assertEqual(len(missed), 3 - reached - rewritten)


if __name__ == "__main__":
    unittest.main()
