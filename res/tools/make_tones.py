#!/usr/bin/env python3
"""Regenerate the lock keys' built-in tones in res/: a short rising chirp for a
lock switched on (lock_on.wav) and a falling one for off (lock_off.wav).

Standard library only. 8 kHz, 8-bit, mono, 70 ms each with a smooth start and
end (no click), so each file is a few hundred bytes. Output is deterministic.

Usage:  python3 res/tools/make_tones.py
"""
import math
import struct
from pathlib import Path

RES = Path(__file__).resolve().parent.parent
RATE = 8000
SECONDS = 0.07
LOW, HIGH = 880.0, 1320.0  # a fifth apart
VOLUME = 0.45


def tone(start_hz, end_hz):
    count = int(RATE * SECONDS)
    samples, phase = bytearray(), 0.0
    for n in range(count):
        t = n / (count - 1)
        phase += 2 * math.pi * (start_hz + (end_hz - start_hz) * t) / RATE
        envelope = math.sin(math.pi * t) ** 0.5  # rises and falls without a step
        samples.append(int(round(128 + 127 * VOLUME * envelope * math.sin(phase))))
    return samples


def wave(samples):
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)  # PCM, mono, 8 bits
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
    if len(samples) % 2:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    for name, (a, b) in (("lock_on.wav", (LOW, HIGH)), ("lock_off.wav", (HIGH, LOW))):
        data = wave(tone(a, b))
        (RES / name).write_bytes(data)
        print(f"wrote {RES / name} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
