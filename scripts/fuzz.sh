#!/usr/bin/env bash
# Builds the libFuzzer targets (build-fuzz/, clang, sanitizers on) and runs
# them. Usage:
#   scripts/fuzz.sh --ci              every target for 10 seconds
#   scripts/fuzz.sh TARGET [SECONDS]  one target (extract_links, list_files,
#                                     settings, url_text, local_path,
#                                     today_url, today_scanner, today_converter),
#                                     default one hour
# New inputs that widen coverage go to build-fuzz/corpus/TARGET; a crash or a
# broken property leaves crash-* in build-fuzz/findings/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/setup-fuzz.sh
build_dir=${ZORONE_FUZZ_BUILD_DIR:-build-fuzz}
CXX=clang++-14 cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORONE_BUILD_GUI=OFF -DZORONE_BUILD_TESTS=OFF -DZORONE_FUZZ=ON >/dev/null
targets=(extract_links list_files settings url_text local_path today_url today_scanner today_converter)

run_target() {
  local name=$1 seconds=$2
  cmake --build "$build_dir" --parallel "$(nproc)" --target "zorone_fuzz_$name"
  mkdir -p "$build_dir/corpus/$name" "$build_dir/findings"
  echo "== fuzzing $name for ${seconds}s"
  # The first folder receives new inputs; the stored seeds are only read.
  "$build_dir/tests/fuzz/zorone_fuzz_$name" "$build_dir/corpus/$name" "tests/fuzz/corpus/$name" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 -max_len=65536 \
    -artifact_prefix="$build_dir/findings/$name-" -print_final_stats=1 2>&1 | tail -n 12
  return "${PIPESTATUS[0]}"
}

case "${1:-}" in
  --ci)
    for name in "${targets[@]}"; do run_target "$name" 10; done
    ;;
  "" | -h | --help)
    sed -n '2,10p' "$0"
    ;;
  *)
    run_target "$1" "${2:-3600}"
    ;;
esac
