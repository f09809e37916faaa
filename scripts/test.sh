#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test.
# SANITIZE=1 builds and runs them under AddressSanitizer and
# UndefinedBehaviorSanitizer, with clang, in build-asan (as CI does); a
# sanitizer report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/configure.sh
if [[ -n "${SANITIZE:-}" ]]; then
  BUILD_DIR=${BUILD_DIR:-build-asan}
  source scripts/sanitizer-options.sh
else
  BUILD_DIR=${BUILD_DIR:-build}
fi
cmake --build "$BUILD_DIR"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2
