#!/usr/bin/python3
"""Writes Resources/TuningModel.bin, the tuning model behind the "Estimated A4" line.

The breakpoints below are the model's source: for each oscillator tuning control, how far a
display value moves the pitch, in cents. Replace a curve with measured points to calibrate the
estimate; the program reads whatever this writes. Run from anywhere:

    /usr/bin/python3 scripts/make-tuning-model.py

Format (little-endian; read by Source/model/TuningModel.cpp):
    0   4  magic "OTUN"
    4   2  version, 1
    6   2  number of curves N, 1..8
    8   4  reference A4 in millihertz (440000)
    12     N curves, each:
              1  input: 0 semitone, 1 cents, 2 fine
              1  reserved, 0
              2  number of points P, 2..64
              P  points of two signed 32-bit values: input in hundredths of a display unit
                 (strictly rising), pitch offset in hundredths of a cent
    end-4  4  CRC-32 (as zlib computes it) of every byte before it
"""

import os
import struct
import zlib

REFERENCE_MILLIHERTZ = 440000

# input code -> [(display value, cents)]
CURVES = {
    0: [(-60, -6000), (60, 6000)],  # semitone: 100 cents per semitone
    1: [(-100, -100), (100, 100)],  # cents: one cent per step
    2: [(-100, -10), (100, 10)],    # fine: a tenth of a cent per step, +/-10 cents at the ends
}


def build():
    body = b"OTUN" + struct.pack("<HHI", 1, len(CURVES), REFERENCE_MILLIHERTZ)
    for code, points in sorted(CURVES.items()):
        body += struct.pack("<BBH", code, 0, len(points))
        for display, cents in points:
            body += struct.pack("<ii", round(display * 100), round(cents * 100))
    return body + struct.pack("<I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = os.path.join(root, "Resources", "TuningModel.bin")
    data = build()
    with open(target + ".tmp", "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(target + ".tmp", target)
    print(f"{target}: {len(data)} bytes")


if __name__ == "__main__":
    main()
