#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp) with clang and runs
# each for SECONDS (default 60). BUILD_DIR (default build-fuzz) is
# configured as SANITIZE=1 scripts/configure.sh does if it is not yet: CI
# passes its sanitized build-asan. Findings are written to
# $BUILD_DIR/findings/; the corpus is kept in $BUILD_DIR/corpus/ so later
# runs start from what earlier ones found; the seeds in tests/fuzz/corpus/
# are read, never written. A finding fails the run.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
BUILD_DIR=${BUILD_DIR:-build-fuzz}
SANITIZE=1 BUILD_DIR=$BUILD_DIR scripts/configure.sh
cmake --build "$BUILD_DIR" --target fuzz

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$BUILD_DIR/findings"
for source in tests/fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  echo "== $target for ${SECONDS_EACH}s =="
  mkdir -p "$BUILD_DIR/corpus/$target"
  seeds=()
  [[ -d "tests/fuzz/corpus/$target" ]] && seeds=("tests/fuzz/corpus/$target")
  "$BUILD_DIR/tests/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/findings/$target-" \
    "$BUILD_DIR/corpus/$target" "${seeds[@]}"
done
