#!/usr/bin/env bash
# Installs the real texts the benchmarks read (the King James Bible, German,
# Russian, Spanish, Italian and Chinese sentences), builds, and runs every benchmark,
# then the start-up measure. Usage: scripts/bench.sh [benchmark filter]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh bible-kjv fortunes-de fortunes-ru fortunes-es fortunes-it fortunes-zh python3 \
  libx11-dev libxtst-dev libxdamage-dev
BUILD_DIR=${BUILD_DIR:-build}
# The benchmarks are built only where they run: turned on here.
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRAMEL_BUILD_BENCH=ON
else
  cmake -S . -B "$BUILD_DIR" -DPRAMEL_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$BUILD_DIR"
for bench in "$BUILD_DIR"/bench/bench_*; do
  echo "== $(basename "$bench") =="
  "$bench" --benchmark_filter="${1:-.}"
done
scripts/bench-startup.sh "$BUILD_DIR"
