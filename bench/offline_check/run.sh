#!/usr/bin/env bash
# Makes offline copies of two sites with the link-converting downloaders
# (wget -k, wget2 -k, zorone-cli --convert-links) and checks each copy with
# check_offline.py: how many references of its stored pages and style sheets
# resolve to a stored file under file:, point to the network, or to nothing.
# The sites: the generated present-day site over https (bench/today_site) and
# the Python 3.11 documentation (Debian's python3.11-doc) over http.
# See bench/README.md, section "Offline copies".
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

usage() {
  cat <<EOF
Usage: bench/offline_check/run.sh [--tools LIST] [--sites LIST] [--timeout S]

  --tools    comma-separated subset of: zorone wget wget2 zorone-classic
             (default zorone,wget,wget2; zorone-classic: classic rules, no conversion)
  --sites    comma-separated subset of: today doc (default both)
  --timeout  seconds before one run is stopped and counted as failed (default 900)

Environment: ZORONE_CLI (default build/cli/zorone-cli, or \$ZORONE_BUILD_DIR/cli/zorone-cli),
ZORONE_DOC_SITE (default /usr/share/doc/python3.11/html),
ZORONE_BENCH_RESULTS (result files, default build/bench-offline),
ZORONE_KEEP=1 keeps the run folder (sites, logs, mirrors) and prints its name.
EOF
}

tools=zorone,wget,wget2 sites=today,doc timeout_s=900
while [ $# -gt 0 ]; do
  case "$1" in
    --tools) tools=$2; shift 2 ;;
    --sites) sites=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
IFS=, read -r -a tool_list <<<"$tools"
IFS=, read -r -a site_list <<<"$sites"

zorone_cli=${ZORONE_CLI:-$repo/${ZORONE_BUILD_DIR:-build}/cli/zorone-cli}
doc_site=${ZORONE_DOC_SITE:-/usr/share/doc/python3.11/html}
results_dir=${ZORONE_BENCH_RESULTS:-$repo/build/bench-offline}
for t in /usr/bin/time timeout; do
  command -v "$t" >/dev/null || { echo "$t is missing: run scripts/bench-setup.sh" >&2; exit 1; }
done

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/zorone-offline.XXXXXX")
# shellcheck source=SCRIPTDIR/../today_site/serve.sh
source "$repo/bench/today_site/serve.sh"
doc_pid=""
cleanup() {
  today_site_stop
  if [ -n "$doc_pid" ]; then kill "$doc_pid" 2>/dev/null || true; wait "$doc_pid" 2>/dev/null || true; fi
  if [ -n "${ZORONE_KEEP:-}" ]; then echo "kept $run_dir" >&2; else rm -rf "$run_dir"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_doc_site() {
  [ -f "$doc_site/index.html" ] || { echo "$doc_site is missing: run scripts/bench-setup.sh" >&2; return 1; }
  local dir=$run_dir/doc port
  mkdir -p "$dir/tmp"
  chmod a+rx "$run_dir" "$dir"
  read -r port _ < <(bench_free_ports)
  sed -e "s|@RUN@|$dir|g" -e "s|@ROOT@|$doc_site|g" -e "s|@PORT@|$port|g" \
    "$repo/bench/doc_site/nginx.conf.in" >"$dir/nginx.conf"
  nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" &
  doc_pid=$!
  bench_wait_port "$port"
  doc_url=http://127.0.0.1:$port/
}

# The command line of a tool, in the array "cmd", mirroring $3 into folder $1.
tool_command() {
  local out=$1 tool=$2 url=$3
  case "$tool" in
    zorone|zorone-classic)
      mkdir -p "$out.home"
      cmd=(env "CURL_CA_BUNDLE=$run_dir/cert.pem" "$zorone_cli" --home "$out.home" --path "$out")
      [ "$tool" = zorone ] && cmd+=(--web today --convert-links)
      cmd+=(--set m_nMultiDownloadMax=8 --quiet "$url") ;;
    wget)
      cmd=(wget -r -p -l inf -k -e robots=off --no-check-certificate -q -P "$out" "$url") ;;
    wget2)
      cmd=(wget2 -r -p -l inf -k -e robots=off --no-check-certificate -q -P "$out" "$url") ;;
    *) echo "unknown tool '$tool'" >&2; return 1 ;;
  esac
}

tool_available() {
  case "$1" in
    zorone|zorone-classic) [ -x "$zorone_cli" ] ;;
    *) command -v "$1" >/dev/null ;;
  esac
}

ran=()
for tool in "${tool_list[@]}"; do
  if tool_available "$tool"; then ran+=("$tool"); else echo "skipping $tool: not installed or not built" >&2; fi
done
[ ${#ran[@]} -gt 0 ] || { echo "no tool to run" >&2; exit 1; }

mkdir -p "$results_dir"
stamp=$(date +%Y%m%d-%H%M%S)
result=$results_dir/offline-$stamp.txt
exits=$run_dir/exits.txt
: >"$exits"
for site in "${site_list[@]}"; do
  case "$site" in
    today) today_site_start 1; url=https://127.0.0.1:$https_port/; origin=127.0.0.1:$https_port ;;
    doc) start_doc_site; url=$doc_url; origin=${doc_url#http://}; origin=${origin%/} ;;
    *) echo "unknown site '$site'" >&2; exit 2 ;;
  esac
  mirrors=()
  for tool in "${ran[@]}"; do
    out=$run_dir/out/$site-$tool rc=0
    tool_command "$out" "$tool" "$url"
    mkdir -p "$out"
    /usr/bin/time -f '%e' -o "$run_dir/time-$site-$tool" timeout -k 10 "$timeout_s" "${cmd[@]}" \
      >"$run_dir/stdout-$site-$tool.txt" 2>"$run_dir/stderr-$site-$tool.txt" || rc=$?
    printf '%s %s: exit %d, %s s wall\n' "$site" "$tool" "$rc" "$(tail -n 1 "$run_dir/time-$site-$tool")" | tee -a "$exits" >&2
    if [ "$rc" -ne 0 ] && [ -s "$run_dir/stderr-$site-$tool.txt" ]; then
      sed -n '1,5s/^/    /p' "$run_dir/stderr-$site-$tool.txt" | tee -a "$exits" >&2
    fi
    mirrors+=("$tool=$out")
  done
  {
    echo "== $site: $url"
    python3 "$here/check_offline.py" --site "$origin" --json "$run_dir/$site.json" "${mirrors[@]}"
    echo
  } >>"$run_dir/report.txt"
  today_site_stop
  if [ -n "$doc_pid" ]; then kill "$doc_pid" 2>/dev/null || true; wait "$doc_pid" 2>/dev/null || true; doc_pid=""; fi
done

{
  echo "Offline copies, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "machine: $(nproc) cores, $(uname -sr); nginx $(nginx -v 2>&1 | sed 's|.*/||')"
  echo "zorone: $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"
  for t in wget wget2; do
    case " ${ran[*]} " in *" $t "*) echo "$t: $("$t" --version 2>/dev/null | head -n 1)" ;; esac
  done
  echo "runs (wget exits 8 when any link answers 404, as the present-day site's broken link does):"
  sed 's/^/  /' "$exits"
  echo
  cat "$run_dir/report.txt"
} | tee "$result"
echo "results written to $result" >&2
