#!/usr/bin/env bash
# Checks what review would otherwise have to catch by eye, and fails on any
# finding:
#   - includes go down the layers only (scripts/check-layers.py);
#   - names follow the naming rule of docs/architecture.md (clang-tidy with
#     readability-identifier-naming alone, configured in .clang-tidy).
# clang-tidy reads the build's compile_commands.json (BUILD_DIR, default
# build) and checks every source file under src and tests and the headers
# there that they include; a file that passed is checked again only when
# what it reads of ours changes (scripts/lint-names.py). Generated files
# (moc, uic) and the benchmarks (named after Google Benchmark's BM_ habit)
# are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh python3 clang-tidy
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-2}

echo "== Layers =="
python3 scripts/check-layers.py

echo "== Names =="
if [[ ! -f "$BUILD_DIR/compile_commands.json" ]]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# The sources include what uic and moc make (ui_Main.h, tst_*.moc): have it made.
cmake --build "$BUILD_DIR" --target autogen >/dev/null
python3 scripts/lint-names.py "$BUILD_DIR" "$JOBS"
