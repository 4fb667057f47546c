"""Summarises one documentation-site run: rows by mark, failed rows grouped by
why they failed, requests the server could not answer, requests made from
non-web links, and stored files that are error pages."""
import argparse
import collections
import os

DONE, FAILED = "\u25cb", "\u00d7"
INDEX_NAMES = ("index.shtml", "index.shtm", "index.html", "index.htm")


def rows(path):
    with open(path, "rb") as f:
        for line in f.read().decode("cp932").split("\r\n"):
            if line:
                fields = line.split(",")
                yield fields[0], fields[-1]


def main():
    p = argparse.ArgumentParser()
    for name in ("list", "access", "mirror", "report", "time", "exit", "base"):
        p.add_argument("--" + name, required=True)
    a = p.parse_args()

    marks = collections.Counter()
    failed = []
    for mark, url in rows(a.list):
        marks[mark] += 1
        if mark == FAILED:
            failed.append(url)
    index_guesses = [u for u in failed if u.endswith(INDEX_NAMES)]
    others = [u for u in failed if not u.endswith(INDEX_NAMES)]

    requests = collections.Counter()
    odd = []
    with open(a.access) as f:
        for line in f:
            status, uri = line.rstrip("\n").split(" ", 1)
            requests[status] += 1
            if "file:" in uri or "news:" in uri or "mailto:" in uri:
                odd.append(uri)

    error_pages = []
    stored = 0
    for root, _, files in os.walk(a.mirror):
        for name in files:
            stored += 1
            with open(os.path.join(root, name), "rb") as f:
                head = f.read(4096)
            if b"<center>nginx" in head:
                error_pages.append(os.path.join(root, name))

    # GNU time puts "Command exited with non-zero status N" first when it did.
    wall, user, system, rss = open(a.time).read().split("\n")[-2].split()
    print(f"exit status        {a.exit}")
    print(f"report             {open(a.report, encoding='utf-8').read().strip()}")
    print(f"wall / cpu / rss   {wall} s / {float(user) + float(system):.2f} s / {int(rss) // 1024} MiB")
    print(f"rows               {sum(marks.values())} ({marks[DONE]} done, {marks[FAILED]} failed)")
    print(f"files stored       {stored}, error pages among them: {len(error_pages)}")
    print(f"requests           {sum(requests.values())} ({', '.join(f'{k}: {v}' for k, v in sorted(requests.items()))})")
    print(f"non-web requests   {len(odd)}")
    print(f"failed rows        {len(index_guesses)} index-name guesses, {len(others)} others:")
    for url in others:
        print(f"  {url[len(a.base):] if url.startswith(a.base) else url}")


if __name__ == "__main__":
    main()
