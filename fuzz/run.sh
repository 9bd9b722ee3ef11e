#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a chosen time.
#   fuzz/run.sh [SECONDS_PER_TARGET=60] [TARGET...]
# Findings are written to build-fuzz/findings/<target>/; copy a finding into
# fuzz/regressions/<target>/ once it is fixed so the test suite keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD_DIR:-build-fuzz}
if ! command -v clang++ >/dev/null; then
  echo "fuzz/run.sh needs clang (libFuzzer): apt-get install --no-install-recommends clang" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do n=$(basename "$f" .cpp); [ "$n" = regression_main ] || targets+=("$n"); done
fi
cmake --build "$build" --target $(printf 'fuzz_%s ' "${targets[@]}")
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"; findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "fuzz/regressions/$t" ] && seeds+=("fuzz/regressions/$t")
  echo "== $t ($secs s)"
  "$build/fuzz/fuzz_$t" "$corpus" "${seeds[@]}" -max_total_time="$secs" -artifact_prefix="$findings/" \
     -print_final_stats=1 -timeout=10 -rss_limit_mb=4096 2>&1 | grep -E "^stat::number_of_executed_units|^stat::peak_rss|ERROR|fuzz property|SUMMARY" || true
done
