#!/usr/bin/env bash
# Checks by ear, without speakers: presses Down 12 times, 1.2 s apart, in the
# split list, plays the clicks into a PulseAudio null sink and counts the
# clicks that reach it. Fails when fewer than 11 of the 12 are heard, or when
# the test that presses the keys fails (a press that started no sound, or a
# player that reported an error). Not part of CI, which has no audio server;
# needs the packages pulseaudio and pulseaudio-utils.
# Usage: scripts/check-sound.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
PRESSES=12
AT_LEAST=11
cmake --build "$BUILD_DIR" --target tst_triage >/dev/null

source scripts/null-sink-recording.sh
cleanup() {
  stop_sink_recording
}
trap cleanup EXIT

test_status=0
QT_QPA_PLATFORM=offscreen PRAMEL_CHECK_SOUND=$PRESSES XDG_DATA_HOME="$WORK/data" \
  "$BUILD_DIR/tests/tst_triage" soundReachesTheDevice || test_status=$?
stop_recording 3

heard_status=0
python3 - "$WORK/out.raw" "$PRESSES" "$AT_LEAST" <<'PY' || heard_status=$?
import array, sys
path, presses, at_least = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
samples = array.array('h', open(path, 'rb').read())
RATE, CHANNELS = 48000, 2
WINDOW = RATE * CHANNELS // 200          # 5 ms
FLOOR = 500                              # the sink is silent between clicks
QUIET_WINDOWS = 40                       # 200 ms of quiet ends a click
peaks = [max(map(abs, samples[i:i + WINDOW]), default=0)
         for i in range(0, len(samples), WINDOW)]
clicks, quiet, start = [], QUIET_WINDOWS, 0
for n, peak in enumerate(peaks):
    if peak > FLOOR:
        if quiet >= QUIET_WINDOWS:
            clicks.append(n * 5 / 1000)
        quiet = 0
    else:
        quiet += 1
print(f"recorded {len(samples) / CHANNELS / RATE:.2f} s, peak {max(peaks, default=0)}")
print(f"{len(clicks)} clicks heard for {presses} presses, at (s): "
      + " ".join(f"{t:.2f}" for t in clicks))
if len(clicks) < at_least:
    sys.exit(f"FAIL: fewer than {at_least} of {presses} clicks reached the sink")
print(f"PASS: at least {at_least} of {presses} clicks were heard")
PY

if ((test_status != 0)); then
  echo "FAIL: tst_triage soundReachesTheDevice exited with $test_status"
fi
if ((test_status != 0 || heard_status != 0)); then
  exit 1
fi
