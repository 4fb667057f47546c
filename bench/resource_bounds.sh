#!/usr/bin/env bash
# Heavy resource bounds of zorone-cli, each measured for peak memory (maximum
# resident set size, from /usr/bin/time -v) and wall time:
#   list      load and save a list of 1000000 rows
#   links     a page with 1000000 links (to another site, refused by the site
#             rule, so every one passes the add step and nothing is fetched);
#             each refused link is kept as a skipped-link record
#   links100k the same with 100000 links, the skipped links also written
#             out with --skipped (must stay under 100 MiB)
#   bightml   a 300 MB HTML page, analysed (m_nBytes raised above its size)
#   slots     2000 files fetched with m_nMultiDownloadMax=200
# The pages are served on 127.0.0.1 by python3's http.server. Usage:
#   bench/resource_bounds.sh [CLI] [CASE...]   CLI defaults to build/cli/zorone-cli
# Needs about 1 GB of free disk space in $TMPDIR.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "${1:-build/cli/zorone-cli}")
shift || true
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(list links links100k bightml slots)

work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/site" "$work/home"

python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
with open(os.path.join(work, "list.csv"), "wb") as f:
    for i in range(1000000):
        f.write(b"\x81\x9b,p%d.html,html,1234,http://example.test/d%d/p%d.html\r\n" % (i, i % 1000, i))
with open(os.path.join(work, "site", "links.html"), "wb") as f:
    for i in range(1000000):
        f.write(b'<a href="http://other.test/d%d/p%d.html">%d</a>\n' % (i % 1000, i, i))
with open(os.path.join(work, "site", "links100k.html"), "wb") as f:
    for i in range(100000):
        f.write(b'<a href="http://other.test/d%d/p%d.html">%d</a>\n' % (i % 1000, i, i))
with open(os.path.join(work, "site", "big.html"), "wb") as f:
    chunk = b"<p>" + b"text " * 200 + b"</p>\n"
    for _ in range(300 * 1024 * 1024 // len(chunk)):
        f.write(chunk)
    f.write(b'<a href="end.html">end</a>\n')
with open(os.path.join(work, "site", "end.html"), "wb") as f:
    f.write(b"end")
os.makedirs(os.path.join(work, "site", "files"))
with open(os.path.join(work, "site", "slots.html"), "wb") as f:
    for i in range(2000):
        f.write(b'<a href="files/f%d.txt">%d</a>\n' % (i, i))
        with open(os.path.join(work, "site", "files", "f%d.txt" % i), "wb") as g:
            g.write(b"x" * 4096)
PY

port_file="$work/port"
python3 -c '
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
handler.log_message = lambda *a: None
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
open(sys.argv[2], "w").write(str(server.server_address[1]))
server.serve_forever()
' "$work/site" "$port_file" &
server_pid=$!
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
base="http://127.0.0.1:$(cat "$port_file")"

measure() {
  local name=$1
  shift
  rm -rf "$work/dl"
  /usr/bin/time -v -o "$work/time.txt" env no_proxy='*' "$cli" --home "$work/home" --path "$work/dl" --quiet "$@" \
    >"$work/out.txt" 2>"$work/err.txt" || echo "$name: exit status $?" >&2
  printf '%-8s peak RSS %8s kB   wall %s   %s\n' "$name" \
    "$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")" \
    "$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")" \
    "$(cat "$work/out.txt")"
}

for c in "${cases[@]}"; do
  case $c in
    list) measure list --set m_sTopURL= --load "$work/list.csv" --save "$work/out.csv" ;;
    links) measure links --set m_nOtherSite=0 --set m_nBytes=100000000 "$base/links.html" ;;
    links100k) measure links100k --set m_nOtherSite=0 --set m_nBytes=100000000 --skipped "$work/skipped.csv" \
      "$base/links100k.html" ;;
    bightml) measure bightml --set m_nBytes=400000000 "$base/big.html" ;;
    slots) measure slots --set m_nMultiDownloadMax=200 "$base/slots.html" ;;
    *) echo "unknown case $c" >&2; exit 2 ;;
  esac
done
