#!/usr/bin/env bash
# Mirrors the Python 3.11 documentation (Debian's python3.11-doc, a Sphinx
# site of about a thousand pages) from a private nginx on loopback with
# zorone-cli, then checks the result the way a user would: which rows failed
# and why, whether any stored file is an error page, and whether anything was
# requested under a name made from a file: or news: link.
# See bench/README.md, section "Documentation site".
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
zorone_cli=${ZORONE_CLI:-$repo/${ZORONE_BUILD_DIR:-build}/cli/zorone-cli}
site=${ZORONE_DOC_SITE:-/usr/share/doc/python3.11/html}
slots=${1:-8}
rules=${2:-classic}

for t in nginx python3 /usr/bin/time; do
  command -v "$t" >/dev/null || { echo "$t is missing: run scripts/bench-setup.sh" >&2; exit 1; }
done
[ -f "$site/index.html" ] || { echo "$site is missing: run scripts/bench-setup.sh" >&2; exit 1; }
[ -x "$zorone_cli" ] || { echo "$zorone_cli is missing: run scripts/build.sh" >&2; exit 1; }

run_dir=$(mktemp -d /tmp/zorone-doc-site.XXXXXX)
chmod a+rx "$run_dir"
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT
[ -n "${ZORONE_KEEP:-}" ] && trap "kill \$nginx_pid 2>/dev/null; echo kept \$run_dir" EXIT
trap 'exit 130' INT TERM

# shellcheck source=SCRIPTDIR/../loopback_ports.sh
source "$repo/bench/loopback_ports.sh"
port=$(bench_free_ports)
mkdir -p "$run_dir/tmp"
sed -e "s|@RUN@|$run_dir|g" -e "s|@ROOT@|$site|g" -e "s|@PORT@|$port|g" \
  "$here/nginx.conf.in" >"$run_dir/nginx.conf"
nginx -p "$run_dir" -c "$run_dir/nginx.conf" -e "$run_dir/error.log" &
nginx_pid=$!
bench_wait_port "$port"

top=http://127.0.0.1:$port/
# ZORONE_SKIPPED=FILE keeps the crawl's skipped-links CSV there.
extra=()
[ -n "${ZORONE_SKIPPED:-}" ] && extra=(--skipped "$ZORONE_SKIPPED")
status=0
/usr/bin/time -f '%e %U %S %M' -o "$run_dir/time" \
  "$zorone_cli" --home "$run_dir/home" --path "$run_dir/dl" --set "m_nMultiDownloadMax=$slots" \
  --web "$rules" --save "$run_dir/list.csv" "${extra[@]}" --quiet "$top" >"$run_dir/out" 2>"$run_dir/err" || status=$?

python3 "$here/summarize.py" --list "$run_dir/list.csv" --access "$run_dir/access.log" \
  --mirror "$run_dir/dl/127.0.0.1:$port" --report "$run_dir/out" --time "$run_dir/time" --exit "$status" \
  --base "$top"
