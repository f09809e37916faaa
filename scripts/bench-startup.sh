#!/usr/bin/env bash
# Start-up as the learner feels it: the real program on its own X server,
# with a store holding the King James Bible (text and split list) and 100
# titles of 2,000 registered words, timed from exec to the first frame with
# content ("Window drawn" on standard output). Five runs; prints the memory
# (RSS) after start-up; then one session driven by keys (split the book,
# five Returns, Ctrl+Q) and its peak memory; and `startup_ms <median of 5>`
# last.
# Usage: scripts/bench-startup.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
scripts/setup.sh bible-kjv fortunes-de fortunes-ru fortunes-es fortunes-it python3 xdotool \
  libx11-dev libxtst-dev libxdamage-dev
cmake -S . -B "$BUILD_DIR" -DPRAMEL_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target pramel bench_book >/dev/null

WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

echo "Preparing the store..."
"$BUILD_DIR/bench/bench_book" --prepare-store "$WORK/prepared" >/dev/null
du -b "$WORK/prepared/Pramel/TestModel.sqlite" | awk '{printf "store_MB %.1f\n", $1 / 1e6}'

DISPLAY_NUMBER=97
while [[ -e /tmp/.X11-unix/X$DISPLAY_NUMBER ]]; do DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1)); done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
sleep 1

DISPLAY=":$DISPLAY_NUMBER" python3 - "$BUILD_DIR/pramel" "$WORK" <<'PY'
import os, shutil, signal, sqlite3, statistics, subprocess, sys, time

binary, work = sys.argv[1], sys.argv[2]
times, rss = [], []
for run in range(5):
    data = os.path.join(work, f"run{run}")
    shutil.copytree(os.path.join(work, "prepared"), data)
    env = dict(os.environ, XDG_DATA_HOME=data, XDG_RUNTIME_DIR=work)
    start = time.monotonic()
    process = subprocess.Popen([binary], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
    for line in process.stdout:
        if line.strip() == "Window drawn":
            times.append((time.monotonic() - start) * 1000)
            break
    else:
        sys.exit("the program ended before its window was drawn")
    time.sleep(1.0)
    with open(f"/proc/{process.pid}/status") as status:
        for field in status:
            if field.startswith("VmRSS:"):
                rss.append(int(field.split()[1]) / 1024)
    process.send_signal(signal.SIGTERM)
    process.wait(timeout=60)
    shutil.rmtree(data)
    print(f"run {run + 1}: {times[-1]:.0f} ms, {rss[-1]:.0f} MB resident")

# A session: split the book, triage a few words, quit; the peak resident
# memory of the process (VmHWM) just before it ends.
data = os.path.join(work, "session")
shutil.copytree(os.path.join(work, "prepared"), data)
env = dict(os.environ, XDG_DATA_HOME=data, XDG_RUNTIME_DIR=work)
process = subprocess.Popen([binary], env=env, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
for line in process.stdout:
    if line.strip() == "Window drawn":
        break
def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)
subprocess.run(["xdotool", "mousemove", "400", "200", "click", "1"], check=True)
time.sleep(0.5)
keys("ctrl+shift+s")
time.sleep(3)
keys("Return", "Return", "Return", "Return", "Return")
time.sleep(1)
peak = 0
with open(f"/proc/{process.pid}/status") as status:
    for field in status:
        if field.startswith("VmHWM:"):
            peak = int(field.split()[1]) / 1024
keys("ctrl+q")
process.wait(timeout=60)
# The keys reached the program: five words left the split list.
with sqlite3.connect(os.path.join(data, "Pramel", "TestModel.sqlite")) as db:
    gone = db.execute("SELECT count(*) FROM TestSplitWordRemoval").fetchone()[0]
if gone != 5:
    sys.exit(f"the session's keys did not all arrive: {gone} words left the list, not 5")
print(f"session_peak_rss_mb {peak:.0f}")
print(f"rss_after_startup_mb {statistics.median(rss):.0f}")
print(f"startup_ms {statistics.median(times):.0f}")
PY
