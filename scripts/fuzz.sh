#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for the given seconds, starting
# from the seeds in fuzz/corpus. New inputs go to build-fuzz/work, never into
# the tree. Any finding fails the run and leaves its input in build-fuzz.
# Usage: scripts/fuzz.sh SECONDS
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_EACH="${1:?usage: fuzz.sh SECONDS}"
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is not installed; fuzz targets skipped" >&2
  exit 0
fi
BUILD="$ROOT/build-fuzz"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DLUMETRA_FUZZ=ON >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
# The spreadsheet libraries are a module the program finds beside itself.
export LUMETRA_MODULE_DIR="$BUILD/src/app"
status=0
for seeds in "$ROOT"/fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  work="$BUILD/work/$target"
  mkdir -p "$work" "$BUILD/findings/$target"
  log="$BUILD/findings/$target/log.txt"
  if "$BUILD/fuzz/$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=1024 -timeout=10 \
       -print_final_stats=1 -artifact_prefix="$BUILD/findings/$target/" "$work" "$seeds" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    echo "fuzz: $target: $runs runs in ${SECONDS_EACH}s ($((runs / SECONDS_EACH)) per second), nothing found"
  else
    echo "fuzz: $target: FINDING (see $log)" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
