#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pramel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build}
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --target pramel
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found: run Pramel under a virtual one with: xvfb-run -a $BUILD_DIR/pramel" >&2
  exit 1
fi
# The glosses are asked of a DICT server on this machine: start the one
# setup.sh installed when nothing answers on its port (no init system does
# it in a container).
if ! (exec 3<>/dev/tcp/127.0.0.1/2628) 2>/dev/null && [[ -x /usr/sbin/dictd ]]; then
  /usr/sbin/dictd 2>/dev/null || echo "dictd did not start: words will have no glosses" >&2
fi
exec "$BUILD_DIR/pramel"
