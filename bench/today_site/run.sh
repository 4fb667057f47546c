#!/usr/bin/env bash
# Mirrors the generated present-day site with zorone-cli (today's rules) and
# its peers wget and wget2, several times each and interleaved, and scores
# every run: files reached per category, wrong requests, requests per file,
# wall and CPU time. See bench/README.md, section "Present-day site".
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

usage() {
  cat <<EOF
Usage: bench/today_site/run.sh [--runs N] [--tools LIST] [--scheme https|http]
                               [--timeout S] [--seed S]

  --runs     runs per tool, interleaved (default 3)
  --tools    comma-separated subset of: zorone wget wget2 zorone-classic
             (default zorone,wget,wget2; zorone-classic runs the classic rules)
  --scheme   https starts at https://127.0.0.1:PORT/; http starts at the
             plain-http door, which redirects to it (default https)
  --timeout  seconds before one run is stopped and counted as failed (default 600)
  --seed     site generator seed (default 1)

Environment: ZORONE_CLI (default build/cli/zorone-cli, or \$ZORONE_BUILD_DIR/cli/zorone-cli),
ZORONE_BENCH_RESULTS (result files, default build/bench-today),
ZORONE_KEEP=1 keeps the run folder (site, logs, outputs) and prints its name.
EOF
}

runs=3 tools=zorone,wget,wget2 scheme=https timeout_s=600 seed=1
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --tools) tools=$2; shift 2 ;;
    --scheme) scheme=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "--runs needs a positive number" >&2; exit 2; }
case "$scheme" in https|http) ;; *) echo "--scheme is https or http" >&2; exit 2 ;; esac
IFS=, read -r -a tool_list <<<"$tools"

zorone_cli=${ZORONE_CLI:-$repo/${ZORONE_BUILD_DIR:-build}/cli/zorone-cli}
results_dir=${ZORONE_BENCH_RESULTS:-$repo/build/bench-today}
for t in /usr/bin/time timeout; do
  command -v "$t" >/dev/null || { echo "$t is missing: run scripts/bench-setup.sh" >&2; exit 1; }
done

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/zorone-today.XXXXXX")
# shellcheck source=SCRIPTDIR/serve.sh
source "$here/serve.sh"
cleanup() {
  today_site_stop
  if [ -n "${ZORONE_KEEP:-}" ]; then echo "kept $run_dir" >&2; else rm -rf "$run_dir"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

today_site_start "$seed"
if [ "$scheme" = https ]; then url=https://127.0.0.1:$https_port/; else url=http://127.0.0.1:$http_port/; fi

# The command line of a tool, in the array "cmd", writing below folder $1.
tool_command() {
  local out=$1 tool=$2
  case "$tool" in
    zorone|zorone-classic)
      # A private program folder keeps the runs from sharing settings,
      # histories or a carried-over list; the test certificate is trusted
      # through CURL_CA_BUNDLE rather than skipping the check.
      mkdir -p "$out.home"
      cmd=(env "CURL_CA_BUNDLE=$run_dir/cert.pem" "$zorone_cli" --home "$out.home" --path "$out")
      [ "$tool" = zorone ] && cmd+=(--web today)
      cmd+=(--set m_nMultiDownloadMax=8 --quiet "$url") ;;
    wget)
      cmd=(wget -r -p -l inf --no-check-certificate -e robots=off -q -P "$out" "$url") ;;
    wget2)
      cmd=(wget2 -r -p -l inf --no-check-certificate -e robots=off -q -P "$out" "$url") ;;
    *) echo "unknown tool '$tool'" >&2; return 1 ;;
  esac
}

tool_available() {
  case "$1" in
    zorone|zorone-classic) [ -x "$zorone_cli" ] ;;
    *) command -v "$1" >/dev/null ;;
  esac
}

results=$run_dir/runs.jsonl
: >"$results"

run_once() {
  local tool=$1 i=$2 out=$run_dir/out/$1-$2 rc=0 before
  tool_command "$out" "$tool"
  mkdir -p "$out"
  before=$(wc -l <"$run_dir/access.log")
  /usr/bin/time -v -o "$run_dir/time-$tool-$i.txt" timeout -k 10 "$timeout_s" "${cmd[@]}" \
    >"$run_dir/stdout-$tool-$i.txt" 2>"$run_dir/stderr-$tool-$i.txt" || rc=$?
  tail -n +"$((before + 1))" "$run_dir/access.log" >"$run_dir/access-$tool-$i.log"
  python3 "$here/score.py" run --manifest "$manifest" --out "$out" --access "$run_dir/access-$tool-$i.log" \
    --time "$run_dir/time-$tool-$i.txt" --exit "$rc" --tool "$tool" --run "$i" --results "$results"
  if [ "$rc" -ne 0 ] && [ -s "$run_dir/stderr-$tool-$i.txt" ]; then
    sed -n '1,5s/^/    /p' "$run_dir/stderr-$tool-$i.txt" >&2
  fi
  [ -n "${ZORONE_KEEP:-}" ] || rm -rf "$out" "$out.home"
}

ran=()
for tool in "${tool_list[@]}"; do
  if tool_available "$tool"; then
    ran+=("$tool")
  else
    echo "skipping $tool: not installed or not built" >&2
  fi
done
[ ${#ran[@]} -gt 0 ] || { echo "no tool to run" >&2; exit 1; }

echo "site: $site_files files; start $url; $runs runs" >&2
for i in $(seq "$runs"); do
  for tool in "${ran[@]}"; do
    run_once "$tool" "$i"
  done
done

mkdir -p "$results_dir"
result=$results_dir/today-$scheme-$(date +%Y%m%d-%H%M%S).txt
{
  echo "Present-day site, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "site: seed $seed, $site_files files; start $url; $runs runs per tool"
  echo "machine: $(nproc) cores, $(uname -sr); nginx $(nginx -v 2>&1 | sed 's|.*/||')"
  echo "zorone: $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"
  for t in wget wget2; do
    case " ${ran[*]} " in *" $t "*) echo "$t: $("$t" --version 2>/dev/null | head -n 1)" ;; esac
  done
  echo
  python3 "$here/score.py" summary --manifest "$manifest" --results "$results"
} | tee "$result"
cp "$results" "${result%.txt}.jsonl"
cp "$manifest" "${result%.txt}.manifest.json"
echo "results written to $result" >&2
