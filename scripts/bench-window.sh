#!/usr/bin/env bash
# Felt speed in the real window: the real program on its own X server (Xvfb
# 1280x800x24 with openbox), with a store holding the King James Bible (text
# and split list) and 100 titles of 2,000 registered words, prepared as
# scripts/bench-startup.sh does. bench/window_latency starts each program,
# times it from the pixels' side (XDamage on its window) and sends keys with
# XTest; the floors run in the same X server in the same run: a bare
# QPlainTextEdit program holding the same text (bench/plain_editor FILE) and
# an empty Qt window (bench/plain_editor).
# Prints `name ms floor_ms ratio` lines, min and median of each:
#   first_paint   exec to the window's first damage (floor: the empty window)
#   startup       exec to "Window drawn" (first frame with the text; floor:
#                 the QPlainTextEdit program opening the same text)
#   settled       exec to the last damage before 1.5 s without one
#   keystroke     XTest key press to the first damage on the window (floor:
#                 the QPlainTextEdit program)
# Usage: scripts/bench-window.sh [build-dir] [--twice]
#   --twice  also the Bible twice (8.8 MB) in one title
# Environment: RUNS (start-ups of each program, 5), KEYS (keys per run, 30),
# RAW_OUT (a file to keep the driver's raw lines in).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
TWICE=${2:-}
RUNS=${RUNS:-5}
KEYS=${KEYS:-30}
scripts/setup.sh bible-kjv openbox x11-utils libx11-dev libxtst-dev libxdamage-dev python3
cmake -S . -B "$BUILD_DIR" -DPRAMEL_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target pramel bench_book window_latency plain_editor >/dev/null

WORK=$(mktemp -d)
XVFB_PID=""
WM_PID=""
cleanup() {
  [[ -n "$WM_PID" ]] && kill "$WM_PID" 2>/dev/null || true
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

echo "Preparing the store..."
"$BUILD_DIR/bench/bench_book" --prepare-store "$WORK/prepared" >/dev/null
bible -f Gen1:1-Rev22:21 >"$WORK/book.txt"
echo "book_MB $(du -b "$WORK/book.txt" | awk '{printf "%.1f", $1 / 1e6}')"
if [[ "$TWICE" == "--twice" ]]; then
  "$BUILD_DIR/bench/bench_book" --prepare-store-twice "$WORK/prepared-twice" >/dev/null
  cat "$WORK/book.txt" "$WORK/book.txt" >"$WORK/book-twice.txt"
fi

DISPLAY_NUMBER=97
while [[ -e /tmp/.X11-unix/X$DISPLAY_NUMBER ]]; do DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1)); done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NUMBER"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
mkdir -p "$WORK/openbox-config"
XDG_CONFIG_HOME="$WORK/openbox-config" openbox >/dev/null 2>&1 &
WM_PID=$!
sleep 1

echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
DRIVER="$BUILD_DIR/bench/window_latency"
FLOOR="$BUILD_DIR/bench/plain_editor"
RESULTS="$WORK/results"
: >"$RESULTS"

# One start-up of a program (and its keys on the first run): its lines go to
# the results, each prefixed with the program's name.
measure() {
  local name=$1 keys=$2 store=$3
  shift 3
  local data="$WORK/data-$name"
  rm -rf "$data" "$WORK/config-$name"
  mkdir -p "$data" "$WORK/config-$name"
  [[ -n "$store" ]] && cp -r "$store/." "$data/"
  XDG_DATA_HOME="$data" XDG_CONFIG_HOME="$WORK/config-$name" XDG_RUNTIME_DIR="$WORK" \
    "$DRIVER" --keys "$keys" --click 400,200 -- "$@" 2>"$WORK/stderr-$name" |
    sed "s/^/$name /" >>"$RESULTS" || {
    echo "$name failed:" >&2
    cat "$WORK/stderr-$name" >&2
    return 1
  }
}

run_set() {
  local suffix=$1 store=$2 text=$3
  for run in $(seq "$RUNS"); do
    local keys=0
    [[ $run -eq 1 ]] && keys=$KEYS
    measure "book$suffix" "$keys" "$store" "$BUILD_DIR/pramel"
    measure "plain$suffix" "$keys" "" "$FLOOR" "$text"
  done
}

for run in $(seq "$RUNS"); do
  measure empty 0 "" "$FLOOR"
done
run_set "" "$WORK/prepared" "$WORK/book.txt"
[[ "$TWICE" == "--twice" ]] && run_set "_twice" "$WORK/prepared-twice" "$WORK/book-twice.txt"

python3 - "$RESULTS" <<'PY'
import collections, statistics, sys

values = collections.defaultdict(list)
for line in open(sys.argv[1]):
    program, name, *numbers = line.split()
    values[(program, name)] += [float(n) for n in numbers if float(n) >= 0]
    lost = sum(1 for n in numbers if float(n) < 0)
    if lost:
        print(f"# {program} {name}: {lost} without an answer", file=sys.stderr)

def line(name, measured, floor):
    for kind, pick in (("min", min), ("median", statistics.median)):
        if not values.get(measured) or not values.get(floor):
            continue
        ms, floor_ms = pick(values[measured]), pick(values[floor])
        print(f"{name}_{kind} {ms:.1f} {floor_ms:.1f} {ms / floor_ms:.2f}")

for suffix in ("", "_twice"):
    book, plain = "book" + suffix, "plain" + suffix
    if (book, "first_paint_ms") not in values:
        continue
    line("first_paint" + suffix, (book, "first_paint_ms"), ("empty", "first_paint_ms"))
    line("startup" + suffix, (book, "drawn_ms"), (plain, "drawn_ms"))
    line("settled" + suffix, (book, "settled_ms"), (plain, "settled_ms"))
    line("keystroke" + suffix, (book, "key_ms"), (plain, "key_ms"))
    keys = values.get((book, "key_ms"))
    if keys:
        print(f"keystroke{suffix}_max {max(keys):.1f} {max(values[(plain, 'key_ms')]):.1f} "
              f"{max(keys) / max(values[(plain, 'key_ms')]):.2f}")
PY
if [[ -n "${RAW_OUT:-}" ]]; then cp "$RESULTS" "$RAW_OUT"; fi
echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
