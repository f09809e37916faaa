#!/usr/bin/env bash
# Checks what review would otherwise have to catch by eye: includes go down
# the layers only (scripts/check-layers.py).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh python3

echo "== Layers =="
python3 scripts/check-layers.py
