#!/usr/bin/env bash
# Felt speed in the real window: the real program on its own X server (Xvfb
# 1280x800x24 with openbox), with a store holding the King James Bible (text
# and split list) and 100 titles of 2,000 registered words, prepared as
# scripts/bench-startup.sh does. bench/window_latency starts each program,
# times it from the pixels' side (XDamage on its window) and sends keys with
# XTest; the floors run in the same X server in the same run: a bare
# QPlainTextEdit program holding the same text (bench/plain_editor FILE) and
# an empty Qt window (bench/plain_editor), both the size and place of
# Pramel's first window, so that they draw as many pixels.
# Prints `name ms floor_ms ratio` lines, min and median of each:
#   first_paint   exec to the window's first damage (floor: the empty window)
#   startup       exec to "Window drawn" (first frame with the text; floor:
#                 the QPlainTextEdit program opening the same text)
#   settled       exec to the last damage before 1.5 s without one
#   keystroke     XTest key press to the first damage on the window (floor:
#                 the QPlainTextEdit program)
# Then, driven by the keys a user gives (window_latency --script), in one
# session of the real program on each store, RUNS times each:
#   return_the    Return on the split list's row of "the" (registered as
#                 known, every row of it gone) to the first damage; the row
#                 is the list's third (Ge1, In, the): Home, Down, Down
#   undo_the      Ctrl+Z after it (the rows back, the row selected again)
#   page_down     Page Down in the text, to the first damage (floor: the
#                 QPlainTextEdit program's Page Down in the same text)
#   split         Ctrl+Shift+S (Words > Split Words) to the last damage
#                 before a second without one: the new list drawn
#   split_busy    the longest stretch the program's GUI thread was busy
#                 (no key or paint could be handled) during each split, as
#                 Pramel notes it with PRAMEL_BUSY_LOG (stretches of 8 ms and
#                 less are not noted: 0); _max, the longest of all
# and after them about 100 triage steps (Return, Ctrl+U, Ctrl+Z, Down),
# typing in the text, a split, other titles and back, a search:
#   peak_memory   the program's VmHWM at the end, in MB (floor: the
#                 QPlainTextEdit program's after typing in the same text)
# On a store whose current title, in English, holds 20,000 registered words
# of its own (15,000 known, 5,000 unwanted) and whose language has 20,000
# learning words (bench_book --prepare-store-words), one key typed into the
# registered pane's search field (Ctrl+F) to the first damage, RUNS times:
#   search_registered   with the Known list shown
#   search_learning     with the Learning list shown (the same field)
# And the start-up with 5,000 titles of 20 words beside the book
# (bench_book --prepare-store-titles):
#   startup_5000  exec to "Window drawn" (floor: the start-up with the 100
#                 titles of 2,000 words, the `startup` figure's)
# With the book an English title whose forms count as one (bench_book
# --prepare-store-english), Return on "created", which takes its family:
#   return_family, undo_family    in a row per occurrence
#   return_family_one_row         in One Row per Word, on the family's row
#   split_family                  its split, key to list drawn (floor: the
#                                 plain book's split)
# Figures without a floor of their own (return_the, undo_the, split,
# return_family*, search_*) print the frame, 16.7 ms, as their floor: their ratio reads in
# frames.
# Usage: scripts/bench-window.sh [build-dir] [--twice]
#   --twice  also the Bible twice (8.8 MB) in one title
# Environment: MARKS (off: Pramel runs with View > Mark Words in Text off,
# to compare; on by default, as for a new user), RUNS (start-ups of each program, and timed keys of each
# session, 5), KEYS (keys per run, 30), RAW_OUT (a file to keep the driver's
# raw lines in), SHOTS (a folder to keep screenshots of the sessions in: the
# row of "the" selected, after its Return and its undo, the session's end).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
TWICE=${2:-}
RUNS=${RUNS:-5}
KEYS=${KEYS:-30}
scripts/setup.sh bible-kjv fortunes-de fortunes-ru fortunes-es fortunes-it openbox x11-utils libx11-dev libxtst-dev libxdamage-dev python3
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
XDG_RUNTIME_DIR="$WORK" "$BUILD_DIR/bench/bench_book" --prepare-store "$WORK/prepared" >/dev/null
XDG_RUNTIME_DIR="$WORK" "$BUILD_DIR/bench/bench_book" --prepare-store-words "$WORK/prepared-words" >/dev/null
XDG_RUNTIME_DIR="$WORK" "$BUILD_DIR/bench/bench_book" --prepare-store-titles "$WORK/prepared-titles" >/dev/null
XDG_RUNTIME_DIR="$WORK" "$BUILD_DIR/bench/bench_book" --prepare-store-english "$WORK/prepared-english" >/dev/null
bible -f Gen1:1-Rev22:21 >"$WORK/book.txt"
echo "book_MB $(du -b "$WORK/book.txt" | awk '{printf "%.1f", $1 / 1e6}')"
if [[ "$TWICE" == "--twice" ]]; then
  XDG_RUNTIME_DIR="$WORK" "$BUILD_DIR/bench/bench_book" --prepare-store-twice "$WORK/prepared-twice" >/dev/null
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

# One start-up of a program (and its keys, or its script, given): its lines
# go to the results, each prefixed with the program's name.
measure() {
  local name=$1 keys=$2 store=$3 script=$4
  shift 4
  local scripted=()
  [[ -n "$script" ]] && scripted=(--script "$script" --busy-log "$WORK/busy-$name")
  rm -f "$WORK/busy-$name"
  local data="$WORK/data-$name"
  rm -rf "$data" "$WORK/config-$name"
  mkdir -p "$data" "$WORK/config-$name"
  if [[ ${MARKS:-on} == off ]]; then
    mkdir -p "$WORK/config-$name/Pramel"
    printf '[view]\nmarkWordsInText=false\n' >"$WORK/config-$name/Pramel/Pramel.conf"
  fi
  [[ -n "$store" ]] && cp -r "$store/." "$data/"
  XDG_DATA_HOME="$data" XDG_CONFIG_HOME="$WORK/config-$name" XDG_RUNTIME_DIR="$WORK" \
    PRAMEL_BUSY_LOG="$WORK/busy-$name" "$DRIVER" --keys "$keys" --click 400,200 "${scripted[@]}" -- "$@" 2>"$WORK/stderr-$name" |
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
    measure "book$suffix" "$keys" "$store" "" "$BUILD_DIR/pramel"
    measure "plain$suffix" "$keys" "" "" "$FLOOR" "$text"
  done
  measure "triage$suffix" 0 "$store" "$WORK/triage$suffix.script" "$BUILD_DIR/pramel"
  measure "plainmem$suffix" 0 "" "$WORK/typing.script" "$FLOOR" "$text"
}

# A screenshot into SHOTS, when asked for.
shot() {
  if [[ -n "${SHOTS:-}" ]]; then echo "screenshot $SHOTS/$1.png"; fi
}

# The triage session on the book. After a start the list has the keys, on
# its first row; Return on "the" takes its 63,919 rows (twice as many in the
# book twice) out of the list, and its undo puts them back and selects the
# row again.
triage_script() {
  local suffix=$1
  cat <<END
key Home
wait-quiet 500
key Down
wait-quiet 300
key Down
wait-quiet 1000
$(shot "the$suffix")
repeat $RUNS
mark return_the
key Return
wait-quiet 1000
$(shot "return$suffix")
mark undo_the
key ctrl+z
wait-quiet 1000
$(shot "undo$suffix")
end
# Page Down in the text: a page of it drawn anew, with its marks.
click 400 200
wait-quiet 500
repeat $RUNS
mark page_down
key Next
wait-quiet 1000
end
repeat $RUNS
mark split quiet 1000
key ctrl+shift+s
end
# About 100 steps of triage from the list's top, as a learner goes.
key Home
wait-quiet 300
repeat 12
key Return
wait-quiet 150
key ctrl+u
wait-quiet 150
key Return
wait-quiet 150
key ctrl+z
wait-quiet 150
key Down
key Return
wait-quiet 150
key ctrl+z
wait-quiet 150
key ctrl+u
wait-quiet 150
end
# Typing in the text, then a split of it.
click 400 200
wait-quiet 300
type and so it was
wait-quiet 500
key ctrl+shift+s
wait-quiet 1000
# Other titles, from the title list (its second row, Text 0), and back to
# the book (its first).
click 55 139
wait-quiet 500
key Down
wait-quiet 300
key Down
wait-quiet 300
key Up
wait-quiet 300
key Up
wait-quiet 300
key Up
wait-quiet 1000
# A search of the registered words, emptied again.
key ctrl+f
wait-quiet 300
type the
wait-quiet 500
key Escape
wait-quiet 500
$(shot "session$suffix")
memory peak_memory
END
}
triage_script "" >"$WORK/triage.script"
triage_script "_twice" >"$WORK/triage_twice.script"
cat >"$WORK/typing.script" <<END
click 400 200
wait-quiet 300
repeat $RUNS
mark page_down
key Next
wait-quiet 1000
end
type and so it was
wait-quiet 500
memory peak_memory
END

# One key into the registered pane's search (Ctrl+F), emptied with Escape
# before the next; then the same with the Learning list shown (its segment,
# at the pane's top right, clicked).
cat >"$WORK/search.script" <<END
key ctrl+f
wait-quiet 500
repeat $RUNS
mark search_registered
key a
wait-quiet 1000
key Escape
wait-quiet 1000
end
click 1199 102
wait-quiet 500
key ctrl+f
wait-quiet 500
repeat $RUNS
mark search_learning
key a
wait-quiet 1000
$(shot "search")
key Escape
wait-quiet 1000
end
END

# Home, then Down n times: the list's row n + 1 selected.
to_row() {
  local i
  echo "key Home"
  echo "wait-quiet 500"
  for ((i = 0; i < $1; i++)); do echo "key Down"; done
  echo "wait-quiet 1000"
}

# The book as an English title, its forms counted as one: Return on the
# row of "created" (its fifth) takes "create", "creates", "creating" with it;
# then the same on its family's row in One Row per Word.

cat >"$WORK/family.script" <<END
$(to_row 4)
repeat $RUNS
mark return_family
key Return
wait-quiet 1000
$(shot "family")
mark undo_family
key ctrl+z
wait-quiet 1000
end
# The split of the book with its forms counted as one, key to list drawn
# (its floor: the plain book's split, the split figure).
repeat $RUNS
mark split_family quiet 1000
key ctrl+shift+s
end
$(to_row 5)
key ctrl+shift+o
wait-quiet 1500
repeat $RUNS
mark return_family_one_row
key Return
wait-quiet 1000
$(shot "family_one_row")
key ctrl+z
wait-quiet 1000
end
END

for run in $(seq "$RUNS"); do
  measure empty 0 "" "" "$FLOOR"
done
run_set "" "$WORK/prepared" "$WORK/book.txt"
[[ "$TWICE" == "--twice" ]] && run_set "_twice" "$WORK/prepared-twice" "$WORK/book-twice.txt"
measure words 0 "$WORK/prepared-words" "$WORK/search.script" "$BUILD_DIR/pramel"
measure family 0 "$WORK/prepared-english" "$WORK/family.script" "$BUILD_DIR/pramel"
for run in $(seq "$RUNS"); do
  measure titles 0 "$WORK/prepared-titles" "" "$BUILD_DIR/pramel"
done

python3 - "$RESULTS" <<'PY'
import collections, statistics, sys

values = collections.defaultdict(list)
# The floor of the figures without one: a frame at 60 Hz.
FRAME = ("frame", "ms")
FRAME_MS = 1000 / 60
values[FRAME] = [FRAME_MS]
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
    triage = "triage" + suffix
    line("return_the" + suffix, (triage, "return_the_ms"), FRAME)
    line("undo_the" + suffix, (triage, "undo_the_ms"), FRAME)
    line("page_down" + suffix, (triage, "page_down_ms"), ("plainmem" + suffix, "page_down_ms"))
    line("split" + suffix, (triage, "split_ms"), FRAME)
    line("split_busy" + suffix, (triage, "split_busy_ms"), FRAME)
    busy = values.get((triage, "split_busy_ms"))
    if busy:
        print(f"split_busy{suffix}_max {max(busy):.1f} {FRAME_MS:.1f} {max(busy) / FRAME_MS:.2f}")
    memory = values.get((triage, "peak_memory_kB"))
    floor = values.get(("plainmem" + suffix, "peak_memory_kB"))
    if memory and floor:
        mb, floor_mb = max(memory) / 1024, max(floor) / 1024
        print(f"peak_memory{suffix}_MB {mb:.1f} {floor_mb:.1f} {mb / floor_mb:.2f}")

line("return_family", ("family", "return_family_ms"), FRAME)
line("undo_family", ("family", "undo_family_ms"), FRAME)
line("return_family_one_row", ("family", "return_family_one_row_ms"), FRAME)
line("split_family", ("family", "split_family_ms"), ("triage", "split_ms"))
line("search_registered", ("words", "search_registered_ms"), FRAME)
line("search_learning", ("words", "search_learning_ms"), FRAME)
line("startup_5000", ("titles", "drawn_ms"), ("book", "drawn_ms"))
PY
if [[ -n "${RAW_OUT:-}" ]]; then cp "$RESULTS" "$RAW_OUT"; fi
echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
