# shellcheck shell=bash
# Sourced by bench/today_site/run.sh and bench/offline_check/run.sh: writes
# the present-day site for this run and serves it from a private nginx on
# loopback, over https (HTTP/2, a test certificate made here) and over plain
# http, which only redirects to https.
#
# The caller sets run_dir (an empty private folder, removed by the caller)
# and calls today_site_start [SEED]. Afterwards: https_port, http_port,
# site_www, manifest, site_files, nginx_pid, and $run_dir/cert.pem (the
# certificate a client can trust instead of skipping the check).
#
# The site is generated per run, not cached: its absolute and
# protocol-relative links carry the https port, which is picked free for
# every run. Writing it takes well under a second.

# run_dir comes from the caller, and the variables set here go back to it.
# shellcheck disable=SC2034,SC2154
today_site_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# shellcheck source=SCRIPTDIR/../loopback_ports.sh
source "$today_site_dir/../loopback_ports.sh"

today_site_start() {
  local seed=${1:-1}
  for t in nginx python3 openssl; do
    command -v "$t" >/dev/null || { echo "$t is missing: run scripts/bench-setup.sh" >&2; return 1; }
  done
  read -r https_port http_port < <(bench_free_ports 2)
  site_www=$run_dir/www
  manifest=$run_dir/manifest.json
  python3 "$today_site_dir/gen_site.py" --out "$site_www" --manifest "$manifest" \
    --origin "127.0.0.1:$https_port" --seed "$seed" >"$run_dir/generated.txt"
  site_files=$(sed -n 's/^files=\([0-9]*\).*/\1/p' "$run_dir/generated.txt")
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
    -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 \
    -keyout "$run_dir/key.pem" -out "$run_dir/cert.pem" 2>/dev/null
  # nginx workers drop root rights; they must be able to read the site.
  chmod a+rx "$run_dir"
  chmod -R a+rX "$site_www"
  mkdir -p "$run_dir/tmp"
  sed -e "s|@RUN@|$run_dir|g" -e "s|@ROOT@|$site_www|g" \
    -e "s|@HTTPS_PORT@|$https_port|g" -e "s|@HTTP_PORT@|$http_port|g" \
    "$today_site_dir/nginx.conf.in" >"$run_dir/nginx.conf"
  nginx -p "$run_dir" -c "$run_dir/nginx.conf" -e "$run_dir/error.log" &
  nginx_pid=$!
  bench_wait_port "$https_port" && bench_wait_port "$http_port"
}

today_site_stop() {
  if [ -n "${nginx_pid:-}" ]; then
    kill "$nginx_pid" 2>/dev/null || true
    wait "$nginx_pid" 2>/dev/null || true
    nginx_pid=""
  fi
}
