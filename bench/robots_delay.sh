#!/usr/bin/env bash
# How a robots.txt Crawl-delay paces a crawl: a loopback site whose
# robots.txt asks for DELAY seconds between requests serves a top page with
# PAGES links; zorone-cli mirrors it with --robots on and off, and the wall
# times and the gaps between the requests the server saw are printed.
# With --robots on the pages should arrive no closer than DELAY apart (the
# robots.txt request itself is not paced), and the window stays responsive:
# the wait is a timer, not a sleep on the user-interface thread.
# Usage: bench/robots_delay.sh [CLI] [DELAY] [PAGES]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "${1:-build/cli/zorone-cli}")
delay=${2:-1}
pages=${3:-5}

work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

python3 -c '
import http.server, sys, time
delay, pages, log_path, port_path = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
log = open(log_path, "a")
top = "".join("<a href=\"p%d.html\">%d</a>" % (i, i) for i in range(pages)).encode()
class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass
    def do_GET(self):
        log.write("%.3f %s\n" % (time.monotonic(), self.path))
        log.flush()
        if self.path == "/robots.txt":
            body = ("User-agent: *\nCrawl-delay: %s\n" % delay).encode()
        elif self.path == "/top.html":
            body = top
        else:
            body = b"page"
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
open(port_path, "w").write(str(server.server_address[1]))
server.serve_forever()
' "$delay" "$pages" "$work/requests.log" "$work/port" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
top="http://127.0.0.1:$(cat "$work/port")/top.html"

for robots in off on; do
  : >"$work/requests.log"
  rm -rf "$work/dl"
  start=$(date +%s.%N)
  env no_proxy='*' "$cli" --home "$work/home" --path "$work/dl" --quiet --robots "$robots" \
    --set m_nMultiDownloadMax=4 "$top" >/dev/null
  end=$(date +%s.%N)
  gaps=$(grep -v robots.txt "$work/requests.log" | awk 'NR > 1 { printf "%.2f ", $1 - prev } { prev = $1 }')
  printf 'robots %-3s wall %5.2f s   %d requests   gaps between page requests: %s\n' "$robots" \
    "$(echo "$end - $start" | bc)" "$(wc -l <"$work/requests.log")" "$gaps"
done
