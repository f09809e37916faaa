# Sourced by scripts/check-sound.sh and scripts/check-speech.sh: starts a
# PulseAudio server of its own with a null sink as the default output, keeps
# the sink clocked, and records its monitor into "$WORK/out.raw" (48 kHz,
# stereo, 16 bit) until stop_recording. Sets WORK and XDG_RUNTIME_DIR; the
# caller's EXIT trap calls stop_sink_recording.
export XDG_RUNTIME_DIR=$(mktemp -d)
WORK=$(mktemp -d)
pulseaudio -D --exit-idle-time=-1 --system=false -n --load=module-native-protocol-unix \
  --load="module-null-sink sink_name=nullsink rate=48000" --load="module-always-sink"
sleep 1
pactl set-default-sink nullsink
PULSE_PID=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
pacat --playback --raw --format=s16le --rate=48000 --channels=2 </dev/zero &   # keeps the sink clocked
CLOCK_PID=$!
parec --latency-msec=20 --device=nullsink.monitor --format=s16le --rate=48000 --channels=2 >"$WORK/out.raw" &
REC_PID=$!
# The recording starts when its stream is connected, which can take a second
# or more on a busy machine: wait until half a second of it has reached the file.
for _ in $(seq 100); do
  (($(stat -c %s "$WORK/out.raw") >= 48000 * 4 / 2)) && break
  sleep 0.1
done

# parec loses what it still buffers when stopped: give the sound time to land.
stop_recording() {
  sleep "${1:-3}"
  kill "$REC_PID" 2>/dev/null || true
  wait "$REC_PID" 2>/dev/null || true
}
stop_sink_recording() {
  kill "$REC_PID" "$CLOCK_PID" 2>/dev/null || true
  kill "$PULSE_PID" 2>/dev/null || true
}
