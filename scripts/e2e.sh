#!/usr/bin/env bash
# The end-to-end test through the real window (tests/e2e/window_test.py):
# the built program on an X server of its own, driven through the
# accessibility tree and the keyboard, in a D-Bus session of its own that
# starts the accessibility bus. Installs what it needs.
# Usage: scripts/e2e.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh python3 python3-pyatspi at-spi2-core dbus-daemon xdotool xclip
BUILD_DIR=${1:-build}
cmake --build "$BUILD_DIR" --target pramel
# Debian's python3, which has pyatspi; a DISPLAY from outside is not used.
unset DISPLAY WAYLAND_DISPLAY
timeout 120 dbus-run-session -- /usr/bin/python3 tests/e2e/window_test.py "$BUILD_DIR/pramel"
