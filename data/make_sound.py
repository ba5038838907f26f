#!/usr/bin/env python3
"""Writes SOUND.wav, the monitor's alarm: two alternating tones, 0.8 s,
16-bit mono at 22050 Hz. Every tone burst starts and ends at silence with a
short fade, so the sound loops without a click.

Run from anywhere: python3 data/make_sound.py [output path]
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
AMPLITUDE = 0.45 * 32767
FADE = 0.012  # seconds of fade-in and fade-out per burst
# (frequency in Hz, duration in seconds); 0 Hz is a pause
PATTERN = [(880.0, 0.18), (0.0, 0.02), (660.0, 0.18), (0.0, 0.02),
           (880.0, 0.18), (0.0, 0.02), (660.0, 0.18), (0.0, 0.02)]


def burst(freq, seconds):
    count = int(round(seconds * RATE))
    fade = int(FADE * RATE)
    out = []
    for n in range(count):
        if freq == 0.0:
            out.append(0)
            continue
        gain = min(1.0, n / fade, (count - 1 - n) / fade)
        t = n / RATE
        # a touch of the third harmonic makes the tone cut through small speakers
        v = math.sin(2 * math.pi * freq * t) + 0.25 * math.sin(2 * math.pi * 3 * freq * t)
        out.append(int(round(AMPLITUDE * gain * v / 1.25)))
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "SOUND.wav")
    samples = []
    for freq, seconds in PATTERN:
        samples.extend(burst(freq, seconds))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))
    print("%s: %d samples, %.2f s" % (path, len(samples), len(samples) / RATE))


if __name__ == "__main__":
    main()
