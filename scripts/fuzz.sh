#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 60). Findings are written to build-fuzz/findings/; the corpus is kept in
# build-fuzz/corpus/ so later runs start from what earlier ones found; the
# seeds in tests/fuzz/corpus/ are read, never written.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
scripts/setup.sh clang libclang-rt-14-dev
BUILD_DIR=${BUILD_DIR:-build-fuzz}
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPRAMEL_FUZZ=ON -DPRAMEL_BUILD_BENCH=OFF -DPRAMEL_BUILD_TESTS=ON
fi
cmake --build "$BUILD_DIR" --target fuzz

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$BUILD_DIR/findings"
for target in fuzz_csv fuzz_split; do
  echo "== $target for ${SECONDS_EACH}s =="
  mkdir -p "$BUILD_DIR/corpus/$target"
  "$BUILD_DIR/tests/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/findings/$target-" \
    "$BUILD_DIR/corpus/$target" "tests/fuzz/corpus/$target"
done
