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

source scripts/null-sink-recording.sh
cleanup() {
  pkill -u "$(id -u)" -f "speech-dispatcher" 2>/dev/null || true
  stop_sink_recording
}
trap cleanup EXIT

test_status=0
QT_QPA_PLATFORM=offscreen PRAMEL_CHECK_SPEECH=1 XDG_DATA_HOME="$WORK/data" \
  "$BUILD_DIR/tests/tst_speech" checkSpeechReachesTheDevice || test_status=$?
stop_recording 2

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
