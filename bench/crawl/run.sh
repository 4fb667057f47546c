#!/usr/bin/env bash
# Crawls a generated site served by a private nginx on loopback with zorone-cli
# and its peers (wget, wget2, httrack), several times each and interleaved, and
# reports the median wall time, CPU time, peak memory and what each fetched.
# See bench/README.md, section "Crawl benchmark".
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

usage() {
  cat <<EOF
Usage: bench/crawl/run.sh [--preset small|synthetic|wide|bigfile] [--runs N]
                          [--latency MS] [--tools LIST] [--timeout S] [--seed S]
                          [--https] [--update] [--fresh-fs]

  --preset   site to crawl (default small); bigfile fetches one sparse 2 GiB file
  --runs     runs per tool, interleaved (default 3; 1 for bigfile)
  --latency  delay added to every request round trip by a loopback proxy (default 0)
  --tools    comma-separated subset of: zorone1 zorone8 zorone8today zorone8convert
             wget wget2 httrack floor (zorone8today: --web today --no-convert-links,
             zorone8convert: --web today --convert-links; floor: request_floor.cpp
             asks for every file of the site over 8 connections and stores
             nothing, conditionally with --update; plain http only)
             (default all of them; zorone1,wget for bigfile)
  --timeout  seconds before one run is stopped and counted as failed (default 1800)
  --seed     site generator seed (default 1)
  --https    serve the site over https with HTTP/2 (a test certificate made by openssl)
  --update   zorone runs crawl once untimed, then the timed run crawls again with
             --update; reports the files rewritten and the answers 304, then
             changes 10 files on the server and checks that a third crawl
             fetches exactly those 10
  --fresh-fs each run writes to a new ext4 file system (mkfs.ext4 defaults, so
             with a journal) on a loop device; needs root

Environment: ZORONE_CLI (default build/cli/zorone-cli, or \$ZORONE_BUILD_DIR/cli/zorone-cli),
ZORONE_BENCH_CACHE (generated sites, default /tmp/zorone-bench-cache),
ZORONE_BENCH_RESULTS (result files, default build/bench-crawl).
EOF
}

preset=small runs="" latency=0 tools="" timeout_s=1800 seed=1 https=0 update=0 fresh_fs=0
while [ $# -gt 0 ]; do
  case "$1" in
    --preset) preset=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --latency) latency=$2; shift 2 ;;
    --tools) tools=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --https) https=1; shift ;;
    --update) update=1; shift ;;
    --fresh-fs) fresh_fs=1; shift ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
case "$preset" in
  small|synthetic|wide) : "${runs:=3}" "${tools:=zorone1,zorone8,wget,wget2,httrack}" ;;
  bigfile) : "${runs:=1}" "${tools:=zorone1,wget}" ;;
  *) echo "unknown preset '$preset'" >&2; exit 2 ;;
esac
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "--runs needs a positive number" >&2; exit 2; }
[[ "$latency" =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "--latency needs milliseconds" >&2; exit 2; }
IFS=, read -r -a tool_list <<<"$tools"

zorone_cli=${ZORONE_CLI:-$repo/${ZORONE_BUILD_DIR:-build}/cli/zorone-cli}
cache=${ZORONE_BENCH_CACHE:-/tmp/zorone-bench-cache}
results_dir=${ZORONE_BENCH_RESULTS:-$repo/build/bench-crawl}

for t in nginx python3 /usr/bin/time timeout; do
  command -v "$t" >/dev/null || { echo "$t is missing: run scripts/bench-setup.sh" >&2; exit 1; }
done

# --- the site, generated once per preset, seed and generator version ---------
site_key() {
  local gen_hash
  gen_hash=$(sha1sum "$here/gen_site.py" | cut -c1-12)
  if [ "$preset" = bigfile ]; then echo bigfile; else echo "$preset-s$seed-$gen_hash"; fi
}
site_dir=$cache/$(site_key)
www=$site_dir/www
if [ ! -f "$site_dir/generated.txt" ]; then
  rm -rf "$site_dir"
  mkdir -p "$site_dir"
  echo "generating the $preset site in $site_dir ..." >&2
  if [ "$preset" = bigfile ]; then
    mkdir -p "$www"
    truncate -s 2G "$www/big.bin"
    echo "files=1 bytes=$(stat -c %s "$www/big.bin")" >"$site_dir/generated.tmp"
  else
    python3 "$here/gen_site.py" --out "$www" --preset "$preset" --seed "$seed" >"$site_dir/generated.tmp"
  fi
  # nginx workers drop root rights; they must be able to read the site.
  chmod a+rx "$cache"
  chmod -R a+rX "$site_dir"
  mv "$site_dir/generated.tmp" "$site_dir/generated.txt"
fi
site_files=$(sed -n 's/^files=\([0-9]*\).*/\1/p' "$site_dir/generated.txt")
site_bytes=$(sed -n 's/.*bytes=\([0-9]*\).*/\1/p' "$site_dir/generated.txt")

# --- nginx and the delaying proxy, stopped on any exit -----------------------
run_dir=$(mktemp -d "${TMPDIR:-/tmp}/zorone-bench.XXXXXX")
chmod 755 "$run_dir"
nginx_pid="" proxy_pid=""
cleanup() {
  local pid
  for pid in $proxy_pid $nginx_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  local dir
  for dir in "$run_dir"/out/*; do
    if [ -f "$dir.img.dev" ]; then unmount_fresh_fs "$dir"; fi
  done
  rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=SCRIPTDIR/../loopback_ports.sh
source "$repo/bench/loopback_ports.sh"

port=$(bench_free_ports)
mkdir -p "$run_dir/tmp" "$run_dir/out" "$run_dir/trash"
# Update runs change files on the server: they get a private copy of the
# site, linked file by file, whose changed files are new files, so the
# cached site stays as generated.
if [ "$update" = 1 ]; then
  cp -al "$www" "$run_dir/www"
  www=$run_dir/www
fi
access_log=off
if [ "$update" = 1 ]; then access_log="$run_dir/access.log status_only"; fi
tls_server=""
if [ "$https" = 1 ]; then
  tls_port=$(bench_free_ports)
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
    -addext "subjectAltName=IP:127.0.0.1,DNS:localhost" \
    -keyout "$run_dir/key.pem" -out "$run_dir/cert.pem" 2>/dev/null
  tls_server="server { listen 127.0.0.1:$tls_port ssl http2; server_name localhost; root $www;
    ssl_certificate $run_dir/cert.pem; ssl_certificate_key $run_dir/key.pem; }"
fi
python3 - "$here/nginx.conf.in" "$run_dir/nginx.conf" "$run_dir" "$www" "$port" "$access_log" "$tls_server" <<'PY'
import sys
src, dst, run, root, port, log, tls = sys.argv[1:]
text = open(src).read()
# The server block stands on a line of its own; the header comment names it too.
text = text.replace("\n@TLS_SERVER@\n", "\n" + tls + "\n")
for key, value in (("@RUN@", run), ("@ROOT@", root), ("@PORT@", port), ("@ACCESS_LOG@", log)):
    text = text.replace(key, value)
open(dst, "w").write(text)
PY
nginx -p "$run_dir" -c "$run_dir/nginx.conf" -e "$run_dir/error.log" &
nginx_pid=$!
bench_wait_port "$port"

url_port=$port
if [ "$latency" != 0 ]; then
  url_port=$(bench_free_ports)
  python3 "$here/delay_proxy.py" --listen-port "$url_port" --target-port "$port" --delay-ms "$latency" &
  proxy_pid=$!
  bench_wait_port "$url_port"
fi
if [ "$https" = 1 ]; then
  bench_wait_port "$tls_port"
  url=https://127.0.0.1:$tls_port/index.html
  find "$www" -type f -print0 | xargs -0 cat >/dev/null
elif [ "$preset" = bigfile ]; then
  url=http://127.0.0.1:$url_port/big.bin
else
  url=http://127.0.0.1:$url_port/index.html
  # Read the site once so that the first tool does not pay for a cold cache.
  find "$www" -type f -print0 | xargs -0 cat >/dev/null
fi

# --- one run of one tool -----------------------------------------------------
# The command line of a tool, in the array "cmd", writing below folder $1.
tool_command() {
  local out=$1 tool=$2
  case "$tool" in
    zorone1|zorone8|zorone8today|zorone8convert)
      # A private program folder keeps the runs from sharing settings,
      # histories or a carried-over list.
      mkdir -p "$out.home"
      local slots=${tool#zorone}
      cmd=("$zorone_cli" --home "$out.home" --path "$out" --set "m_nMultiDownloadMax=${slots:0:1}" --quiet)
      # Today's rules with and without link conversion: what conversion
      # adds to the end of a crawl.
      case "$tool" in
        zorone8today) cmd+=(--web today --no-convert-links) ;;
        zorone8convert) cmd+=(--web today --convert-links) ;;
      esac
      if [ "$update" = 1 ]; then cmd+=(--update); fi
      cmd+=("$url") ;;
    wget)
      cmd=(wget -r -np -l inf -e robots=off -q -P "$out" "$url")
      if [ "$https" = 1 ]; then cmd+=(--ca-certificate="$run_dir/cert.pem"); fi ;;
    wget2)
      cmd=(wget2 --max-threads=8 -r -np -l inf -e robots=off -q -P "$out" "$url")
      if [ "$https" = 1 ]; then cmd+=(--ca-certificate="$run_dir/cert.pem"); fi ;;
    floor)
      cmd=("$run_dir/request_floor" --port "$url_port" --connections 8 --list "$run_dir/paths.txt")
      if [ "$update" = 1 ]; then cmd+=(--if-modified-since-from "$www"); fi ;;
    httrack)
      # -c8: eight connections. Left alone, httrack paces itself to a few
      # files a second; --disable-security-limits lets -%c0 (no cap on new
      # connections a second) and -A0 (no cap on the transfer rate) take
      # effect, and both are needed. -s0 ignores robots.txt; -%v0 -q -Q: no
      # display, no questions, no log; -I0: no index page of its own.
      cmd=(httrack "$url" -O "$out" -c8 --disable-security-limits -%c0 -A0 -s0 -%v0 -q -Q -I0) ;;
    *) echo "unknown tool '$tool'" >&2; return 1 ;;
  esac
}

tool_available() {
  case "$1" in
    zorone1|zorone8|zorone8today|zorone8convert) [ -x "$zorone_cli" ] ;;
    floor) [ "$https" = 0 ] && command -v c++ >/dev/null ;;
    *) command -v "$1" >/dev/null ;;
  esac
}

if [ "$https" = 1 ]; then export CURL_CA_BUNDLE=$run_dir/cert.pem; fi
raw=$run_dir/raw.tsv
printf 'tool\trun\twall_s\tcpu_s\trss_kib\tfiles\tbytes\texit\tconns\trewritten\tanswers304\tafter10\texact10\n' >"$raw"

# Connections nginx has accepted so far (its stub_status "accepts").
accepted() {
  python3 -c 'import sys, urllib.request
text = urllib.request.urlopen(sys.argv[1]).read().decode()
print(text.splitlines()[2].split()[0])' "http://127.0.0.1:$port/nginx_status"
}
# Lines of the status log so far (0 without one).
logged() { if [ -f "$run_dir/access.log" ]; then wc -l <"$run_dir/access.log"; else echo 0; fi; }

# A new ext4 file system mounted on folder $1 for one run, on a loop device
# over a sparse image beside it; direct I/O keeps the image's pages out of the
# page cache, so only the file system's own cache holds the data.
mount_fresh_fs() {
  local dir=$1 image=$1.img dev
  truncate -s "$(( site_bytes * 2 / 1048576 + 512 ))M" "$image"
  mkfs.ext4 -q -F -N "$(( site_files * 2 + 10000 ))" "$image"
  dev=$(losetup --direct-io=on -f --show "$image")
  mount "$dev" "$dir"
  echo "$dev" >"$image.dev"
}
unmount_fresh_fs() {
  local dir=$1 image=$1.img
  umount "$dir"
  losetup -d "$(cat "$image.dev")" 2>/dev/null || true
  rm -f "$image" "$image.dev"
}

# Every file below folder $1 with its modification time and inode, sorted:
# two snapshots differ in the files rewritten between them.
snapshot_files() {
  find "$1" -type f -printf '%P %T@ %i\n' | sort
}

# Gives 10 files of the served site new bytes and a new time, then crawls
# folder $1 once more with the command in "cmd" (untimed) and prints the
# answers 200 of that crawl and 1 when the files it rewrote are exactly the
# 10 changed ones (0 otherwise).
change_ten_and_recrawl() {
  local out=$1 before_log rel changed=$run_dir/changed.txt
  find "$www" -type f -name '*.html' -printf '%P\n' | sort >"$changed.all"
  # Ten pages spread over the site.
  awk -v step="$(( $(wc -l <"$changed.all") / 10 ))" 'NR % step == 1' "$changed.all" | head -n 10 >"$changed"
  while read -r rel; do
    { cat "$www/$rel"; echo "<!-- changed $(date +%s%N) -->"; } >"$www/$rel.new"
    mv "$www/$rel.new" "$www/$rel"
  done <"$changed"
  snapshot_files "$out" >"$out.before"
  before_log=$(logged)
  "${cmd[@]}" >/dev/null 2>&1 || true
  local fetched
  fetched=$(tail -n +"$((before_log + 1))" "$run_dir/access.log" | grep -c '^200$' || true)
  # Rewritten files, below the host folder, against the changed ones.
  snapshot_files "$out" | comm -13 "$out.before" - | cut -d' ' -f1 \
    | cut -d/ -f2- | grep -v '^\.zorone' | sort >"$changed.got" || true
  sort "$changed" >"$changed.want"
  if cmp -s "$changed.got" "$changed.want"; then echo "$fetched 1"; else echo "$fetched 0"; fi
  rm -f "$out.before"
}

run_once() {
  local tool=$1 i=$2 out=$run_dir/out/$1-$2 log=$run_dir/time-$1-$2.txt rc=0
  tool_command "$out" "$tool"
  mkdir -p "$out"
  if [ "$fresh_fs" = 1 ]; then mount_fresh_fs "$out"; fi
  local rewritten=0 answers304=0 after10=- exact10=- before_log
  if [ "$update" = 1 ] && [[ $tool == zorone* ]]; then
    # The first crawl fills the folder; its files carry the server's times.
    "${cmd[@]}" >/dev/null 2>&1 || true
    snapshot_files "$out" >"$out.before"
  fi
  # Dirty pages of the runs before are written out first, so that their
  # writeback does not land on this run.
  sync
  before_log=$(logged)
  local before_conns
  before_conns=$(accepted)
  /usr/bin/time -v -o "$log" timeout -k 10 "$timeout_s" "${cmd[@]}" \
    >"$run_dir/stdout-$tool-$i.txt" 2>"$run_dir/stderr-$tool-$i.txt" || rc=$?
  # The status request itself is one more accepted connection.
  local conns=$(( $(accepted) - before_conns - 1 ))
  if [ -f "$out.before" ]; then
    rewritten=$(snapshot_files "$out" | comm -13 "$out.before" - | wc -l)
    answers304=$(tail -n +"$((before_log + 1))" "$run_dir/access.log" | grep -c '^304$' || true)
    rm -f "$out.before"
    read -r after10 exact10 < <(change_ten_and_recrawl "$out")
  fi
  # Files below the top folder only: each tool puts the site in a host folder
  # and httrack keeps its cache and index pages beside it.
  local files bytes
  files=$(find "$out" -mindepth 2 -type f ! -path '*/hts-cache/*' | wc -l)
  bytes=$(find "$out" -mindepth 2 -type f ! -path '*/hts-cache/*' -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  awk -v tool="$tool" -v run="$i" -v files="$files" -v bytes="$bytes" -v rc="$rc" -v conns="$conns" \
      -v rewritten="$rewritten" -v answers304="$answers304" -v after10="$after10" -v exact10="$exact10" '
    /Elapsed \(wall clock\)/ { n = split($NF, p, ":"); wall = 0; for (k = 1; k <= n; k++) wall = wall * 60 + p[k] }
    /User time/ { user = $NF }
    /System time/ { sys = $NF }
    /Maximum resident set size/ { rss = $NF }
    END { printf "%s\t%s\t%.2f\t%.2f\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s\n", tool, run, wall, user + sys, rss, files, bytes, rc, conns, rewritten, answers304, after10, exact10 }
  ' "$log" >>"$raw"
  tail -n 1 "$raw" | awk -F'\t' '{printf "  %-8s run %s: %6.2f s wall, %6.2f s CPU, %7.1f MiB, %d files, exit %d, %d connections, %d rewritten, %d answered 304", $1, $2, $3, $4, $5 / 1024, $6, $8, $9, $10, $11
    if ($12 != "-") printf ", %d fetched after 10 changed (exactly those: %d)", $12, $13
    printf "\n"}' >&2
  if [ "$rc" -ne 0 ] && [ -s "$run_dir/stderr-$tool-$i.txt" ]; then
    sed -n '1,5s/^/    /p' "$run_dir/stderr-$tool-$i.txt" >&2
  fi
  # Moved aside, not deleted, until the end: ext4 without a journal skips
  # every inode freed in the last 30 seconds when it allocates one, and
  # deleting the thousands of files of one run made that search half the
  # CPU time of the next run, whichever tool it was.
  if [ "$fresh_fs" = 1 ]; then
    unmount_fresh_fs "$out"
  else
    mv "$out" "$run_dir/trash/$tool-$i"
  fi
  rm -rf "$out.home"
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
case " ${ran[*]} " in
  *" floor "*)
    c++ -O2 -std=c++20 -o "$run_dir/request_floor" "$here/request_floor.cpp"
    find "$www" -type f -printf '%P\n' >"$run_dir/paths.txt" ;;
esac

echo "site: $preset, $site_files files, $site_bytes bytes; $url; latency ${latency} ms; $runs runs; update $update" >&2
for i in $(seq "$runs"); do
  for tool in "${ran[@]}"; do
    run_once "$tool" "$i"
  done
done

# --- the report --------------------------------------------------------------
mkdir -p "$results_dir"
stamp=$(date +%Y%m%d-%H%M%S)
result=$results_dir/crawl-$preset-${latency}ms-$stamp.txt
{
  echo "Crawl benchmark, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "site: preset $preset (seed $seed), $site_files files, $site_bytes bytes; latency ${latency} ms per request; $runs runs per tool"
  echo "machine: $(nproc) cores, $(uname -sr); nginx $(nginx -v 2>&1 | sed 's|.*/||')"
  echo "zorone: $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)"
  for t in wget wget2 httrack; do
    case " ${ran[*]} " in *" $t "*) ;; *) continue ;; esac
    case "$t" in
      httrack) echo "$t: $(httrack --version 2>/dev/null | head -n 1)" ;;
      *) echo "$t: $("$t" --version 2>/dev/null | head -n 1)" ;;
    esac
  done
  echo
  python3 "$here/summarize.py" "$raw" --site-files "$site_files"
} | tee "$result"
cp "$raw" "${result%.txt}.tsv"
echo "results written to $result" >&2
