#!/usr/bin/env python3
"""Writes the monitor's alarm sound, data/ALARM8.WAV: 1.5 seconds of two
alternating tones (1000 Hz and 750 Hz, 125 ms each), mono 16-bit PCM at
22050 Hz, each tone faded in and out over 5 ms so the changes do not click.

    tools/make_alarm_wav.py [output]
"""

import math
import struct
import sys
import wave

RATE = 22050
TONES = (1000.0, 750.0)
TONE_SECONDS = 0.125
TONE_COUNT = 12
FADE_SECONDS = 0.005
VOLUME = 0.6


def samples():
    per_tone = int(RATE * TONE_SECONDS)
    fade = int(RATE * FADE_SECONDS)
    for n in range(TONE_COUNT):
        frequency = TONES[n % 2]
        for i in range(per_tone):
            envelope = min(1.0, i / fade, (per_tone - 1 - i) / fade)
            yield VOLUME * envelope * math.sin(2 * math.pi * frequency * i / RATE)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "data/ALARM8.WAV"
    frames = b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples())
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
