#!/usr/bin/env python3
"""Writes the program's key tones to resources/tones/: two-frequency tones for the digits, star
and hash and a short click, each RIFF/WAVE 22050 Hz mono 16-bit, 80 ms, named by resource id."""
import math
import pathlib
import struct
import sys

RATE = 22050
SAMPLES = RATE * 80 // 1000
FADE = RATE * 5 // 1000
ROWS = (697, 770, 852, 941)
COLUMNS = (1209, 1336, 1477)
# resource id -> (row, column) of the keypad the tone stands for
KEYS = {133: (3, 1), 134: (0, 0), 135: (0, 1), 136: (0, 2), 137: (1, 0), 138: (1, 1), 139: (1, 2),
        140: (2, 0), 141: (2, 1), 142: (2, 2), 146: (3, 0), 144: (3, 2)}
CLICK_ID = 147


def envelope(n):
    return min(1.0, n / FADE, (SAMPLES - 1 - n) / FADE)


def dual_tone(low, high):
    return [0.35 * envelope(n) * (math.sin(2 * math.pi * low * n / RATE) +
                                  math.sin(2 * math.pi * high * n / RATE)) for n in range(SAMPLES)]


def click():
    # a 2 kHz burst dying away within a few milliseconds, then silence
    return [0.8 * math.exp(-n / (RATE * 0.0015)) * math.sin(2 * math.pi * 2000 * n / RATE)
            for n in range(SAMPLES)]


def wave_file(samples):
    data = b"".join(struct.pack("<h", round(max(-1.0, min(1.0, s)) * 32767)) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE" +
            b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data)


def main():
    out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "resources/tones")
    out.mkdir(parents=True, exist_ok=True)
    for rid, (row, column) in KEYS.items():
        (out / f"tone_{rid}.wav").write_bytes(wave_file(dual_tone(ROWS[row], COLUMNS[column])))
    (out / f"tone_{CLICK_ID}.wav").write_bytes(wave_file(click()))


if __name__ == "__main__":
    main()
