#!/usr/bin/env bash
# Checks by ear, without speakers: plays the arrow-key click into a PulseAudio
# null sink and records what reaches it. Not part of CI (needs the packages
# pulseaudio and pulseaudio-utils). Usage: scripts/check-sound.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake --build "$BUILD_DIR" --target tst_triage >/dev/null

export XDG_RUNTIME_DIR=$(mktemp -d)
WORK=$(mktemp -d)
pulseaudio -D --exit-idle-time=-1 --system=false -n --load=module-native-protocol-unix \
  --load="module-null-sink sink_name=nullsink rate=48000"
sleep 1
pacat --playback --raw --format=s16le --rate=48000 --channels=2 </dev/zero &   # keeps the sink clocked
CLOCK_PID=$!
parec --latency-msec=20 --device=nullsink.monitor --format=s16le --rate=48000 --channels=2 >"$WORK/out.raw" &
REC_PID=$!
sleep 0.5
cleanup() {
  kill "$REC_PID" "$CLOCK_PID" 2>/dev/null || true
  pulseaudio --kill 2>/dev/null || true
}
trap cleanup EXIT

QT_QPA_PLATFORM=offscreen PRAMEL_CHECK_SOUND=1 XDG_DATA_HOME="$WORK/data" \
  "$BUILD_DIR/tests/tst_triage" soundReachesTheDevice
# parec loses what it still buffers when stopped: give the clicks time to land.
sleep 3
kill "$REC_PID"
wait "$REC_PID" 2>/dev/null || true

python3 - "$WORK/out.raw" <<'PY'
import array, sys
samples = array.array('h', open(sys.argv[1], 'rb').read())
loud = [i for i, s in enumerate(samples) if abs(s) > 500]
peak = max((abs(s) for s in samples), default=0)
print(f"recorded {len(samples) / 2 / 48000:.2f} s, peak {peak}, "
      f"{len(loud) / 2 / 48000 * 1000:.0f} ms above the noise floor")
if not loud:
    sys.exit("no click reached the sink")
print("the click was heard")
PY
