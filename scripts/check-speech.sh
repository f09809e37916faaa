#!/usr/bin/env bash
# Checks by ear, without speakers, that Words ▸ Speak is heard: speaks
# "Hund und Katze" with the engine Pramel chooses (speech-dispatcher with
# espeak-ng, else flite) into a PulseAudio null sink, records the sink and
# fails unless at least 0.3 s of speech reached it. Not part of CI, which
# has no audio server.
# Usage: scripts/check-speech.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
scripts/setup.sh pulseaudio pulseaudio-utils speech-dispatcher speech-dispatcher-espeak-ng \
  espeak-ng python3
cmake --build "$BUILD_DIR" --target tst_speech >/dev/null

export XDG_RUNTIME_DIR=$(mktemp -d)
WORK=$(mktemp -d)
pulseaudio -D --exit-idle-time=-1 --system=false -n --load=module-native-protocol-unix \
  --load="module-null-sink sink_name=nullsink rate=48000" \
  --load="module-always-sink"
sleep 1
pactl set-default-sink nullsink
PULSE_PID=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
pacat --playback --raw --format=s16le --rate=48000 --channels=2 </dev/zero &   # keeps the sink clocked
CLOCK_PID=$!
parec --latency-msec=20 --device=nullsink.monitor --format=s16le --rate=48000 --channels=2 >"$WORK/out.raw" &
REC_PID=$!
for _ in $(seq 100); do
  (($(stat -c %s "$WORK/out.raw") >= 48000 * 4 / 2)) && break
  sleep 0.1
done
cleanup() {
  kill "$REC_PID" "$CLOCK_PID" 2>/dev/null || true
  pkill -u "$(id -u)" -f "speech-dispatcher" 2>/dev/null || true
  kill "$PULSE_PID" 2>/dev/null || true
}
trap cleanup EXIT

test_status=0
QT_QPA_PLATFORM=offscreen PRAMEL_CHECK_SPEECH=1 XDG_DATA_HOME="$WORK/data" \
  "$BUILD_DIR/tests/tst_speech" checkSpeechReachesTheDevice || test_status=$?
sleep 2
kill "$REC_PID"
wait "$REC_PID" 2>/dev/null || true

heard_status=0
python3 - "$WORK/out.raw" <<'PY' || heard_status=$?
import array, sys
samples = array.array('h', open(sys.argv[1], 'rb').read())
RATE, CHANNELS = 48000, 2
WINDOW = RATE * CHANNELS // 100          # 10 ms
FLOOR = 300
loud = sum(1 for i in range(0, len(samples), WINDOW)
           if max(map(abs, samples[i:i + WINDOW]), default=0) > FLOOR)
print(f"recorded {len(samples) / CHANNELS / RATE:.2f} s, {loud * 10} ms of it above the floor")
if loud < 30:
    sys.exit("FAIL: less than 0.3 s of speech reached the sink")
print("PASS: the word was heard")
PY

if ((test_status != 0)); then
  echo "FAIL: tst_speech checkSpeechReachesTheDevice exited with $test_status"
fi
if ((test_status != 0 || heard_status != 0)); then
  exit 1
fi
