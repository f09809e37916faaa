#!/usr/bin/env python3
"""Writes resources/sound.wav: the soft click played when the selection of the
split-word table moves. A short decaying tone pair, then 300 ms of silence:
PulseAudio drops the tail of a very short sample, so the padding is needed for
the click to be heard at all."""
import math
import struct
import sys
import wave

RATE = 44100
CLICK_MS = 45
SILENCE_MS = 300

def click():
    n = RATE * CLICK_MS // 1000
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.002)          # 2 ms fade-in, no pop
        decay = math.exp(-t / 0.009)          # ~9 ms time constant
        tone = (0.75 * math.sin(2 * math.pi * 1760 * t)
                + 0.25 * math.sin(2 * math.pi * 2640 * t))
        yield 0.8 * attack * decay * tone

def main(path):
    frames = bytearray()
    for s in click():
        frames += struct.pack('<h', int(max(-1.0, min(1.0, s)) * 32767))
    frames += b'\0\0' * (RATE * SILENCE_MS // 1000)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/sound.wav')
