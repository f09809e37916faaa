#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp) with clang and runs
# each for SECONDS (default 60), as many at once as there are cores (JOBS).
# BUILD_DIR (default build-fuzz) is configured as SANITIZE=1
# scripts/configure.sh does if it is not yet: CI passes its sanitized
# build-asan. Findings are written to $BUILD_DIR/findings/; the corpus is
# kept in $BUILD_DIR/corpus/ so later runs start from what earlier ones
# found; the seeds in tests/fuzz/corpus/ are read, never written. A finding
# fails the run, and its target's output is shown.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
BUILD_DIR=${BUILD_DIR:-build-fuzz}
JOBS=${JOBS:-$(nproc)}
SANITIZE=1 BUILD_DIR=$BUILD_DIR scripts/configure.sh
cmake --build "$BUILD_DIR" --target fuzz

source scripts/sanitizer-options.sh
mkdir -p "$BUILD_DIR/findings" "$BUILD_DIR/fuzz-logs"

run() {
  local target=$1 seeds=()
  mkdir -p "$BUILD_DIR/corpus/$target"
  [[ -d "tests/fuzz/corpus/$target" ]] && seeds=("tests/fuzz/corpus/$target")
  "$BUILD_DIR/tests/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/findings/$target-" \
    "$BUILD_DIR/corpus/$target" "${seeds[@]}" >"$BUILD_DIR/fuzz-logs/$target.log" 2>&1
}

failed=()
declare -A running=()
finish() { # waits for one target to end and tells how it went
  local pid target
  wait -n -p pid "${!running[@]}" && status=0 || status=$?
  target=${running[$pid]}
  unset "running[$pid]"
  if ((status == 0)); then
    echo "$target: $(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' \
      "$BUILD_DIR/fuzz-logs/$target.log" | sed 's/.*: /runs: /'), no finding"
  else
    echo "$target: FAILED ($status)"
    tail -n 60 "$BUILD_DIR/fuzz-logs/$target.log"
    failed+=("$target")
  fi
}
echo "== every target for ${SECONDS_EACH}s, $JOBS at once =="
for source in tests/fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  ((${#running[@]} < JOBS)) || finish
  run "$target" &
  running[$!]=$target
done
while ((${#running[@]})); do finish; done
if ((${#failed[@]})); then
  echo "findings in: ${failed[*]} (inputs in $BUILD_DIR/findings/)" >&2
  exit 1
fi
