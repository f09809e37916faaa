#!/usr/bin/env bash
# Installs what is missing and configures the build in BUILD_DIR (default
# build) if it is not configured yet: RelWithDebInfo with the system's
# compiler. With SANITIZE=1 (default folder build-asan): clang, -O1, under
# AddressSanitizer and UndefinedBehaviorSanitizer, with the fuzz targets,
# each layer compiled in batches, as CI builds and tests. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -n "${SANITIZE:-}" ]]; then
  scripts/setup.sh clang libclang-rt-14-dev lld
  BUILD_DIR=${BUILD_DIR:-build-asan}
  if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
    # Line tables are enough for the sanitizers' stack traces, and much quicker
    # to link; so is lld, with some fifty programs to link.
    CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld \
      -DPRAMEL_FUZZ=ON -DPRAMEL_UNITY=ON "$@"
  fi
else
  scripts/setup.sh
  BUILD_DIR=${BUILD_DIR:-build}
  if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
fi
