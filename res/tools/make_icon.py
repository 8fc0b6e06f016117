#!/usr/bin/env python3
"""Regenerate res/corvello.ico: a teal rounded tile with a white power glyph.

Standard library only: shapes are signed distance fields with analytic
anti-aliasing, encoded as DIB/PNG by hand and packed into one ICO.
Output is deterministic.  Usage:  python3 res/tools/make_icon.py
"""
import math
import struct
import zlib
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "corvello.ico"
SIZES = (16, 32, 48, 256)

TOP, BOTTOM = (30, 146, 170), (11, 66, 108)  # tile gradient: teal -> deep blue
RIM = (6, 40, 66)                             # dark edge so the tile reads on white
WHITE, GLYPH_LOW = (255, 255, 255), (222, 240, 246)

# 16 px glyph placed by hand: computed curves go mushy at this size.
# '#' = opaque white, 1-9 = coverage in tenths, '.' = none.
GLYPH16 = """
................
................
.......##.......
.......##.......
....75.##.57....
...8#4.##.4#8...
..4#7..##..7#4..
..8#2..##..2#8..
..##........##..
..##........##..
..8#2......2#8..
..4#7......7#4..
...8#72..27#8...
....7######7....
......6886......
................
"""


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smooth(e0, e1, v):
    t = clamp((v - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def sd_round_rect(x, y, lo, hi, r):
    """Distance to a square [lo, hi]^2 with corner radius r (negative inside)."""
    c, h = (lo + hi) / 2, (hi - lo) / 2 - r
    qx, qy = abs(x - c) - h, abs(y - c) - h
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def sd_power(x, y, gx, gy, R, w, gap, bar_top, bar_bot):
    """Ring open at the top (round caps) united with a vertical bar."""
    px, py = x - gx, y - gy
    if abs(math.atan2(px, -py)) > gap:
        ring = abs(math.hypot(px, py) - R) - w / 2
    else:  # inside the opening: distance to the nearer cap
        ex, ey = math.copysign(R * math.sin(gap), px), -R * math.cos(gap)
        ring = math.hypot(px - ex, py - ey) - w / 2
    bar = math.hypot(px, py - clamp(py, bar_top, bar_bot)) - w / 2
    return min(ring, bar)


def over(dst, rgb, a):
    """Straight-alpha 'source over' of colour rgb at alpha a onto dst (r,g,b,a)."""
    if a <= 0:
        return dst
    da = dst[3] * (1 - a)
    oa = a + da
    return (*((s * a + d * da) / oa for s, d in zip(rgb, dst[:3])), oa)


def render(size):
    """Return size*size RGBA byte tuples, top row first."""
    large = size >= 128  # shading, shadows and gloss only where they can be seen
    # Full bleed at 16 px; at 256 leave room for the drop shadow.
    inset, radius = {16: (0, 3), 32: (1, 6), 48: (2, 9)}.get(size, (size * 0.055, size * 0.2))
    lo, hi = inset, size - inset
    T = hi - lo

    w, R = 0.1 * T, 0.27 * T
    gx, gy = size / 2, size / 2 + 0.05 * T  # sit slightly low: the bar adds weight on top
    if not large:  # whole-pixel strokes whose edges land on pixel boundaries
        w, R = round(w), round(R)
        gx, gy = round(gx - w / 2) + w / 2, round(gy - w / 2) + w / 2
    glyph = (gx, gy, R, w, math.radians(40), -0.38 * T, -0.05 * T)
    hand = GLYPH16.split() if size == 16 else None

    out = []
    for j in range(size):
        for i in range(size):
            x, y = i + 0.5, j + 0.5
            c = (0.0, 0.0, 0.0, 0.0)
            d = sd_round_rect(x, y, lo, hi, radius)
            cover = clamp(0.5 - d)
            t = clamp((y - lo) / T)

            col = mix(TOP, BOTTOM, t)
            if large:
                ds = sd_round_rect(x, y - size * 0.016, lo, hi, radius)
                c = over(c, (0, 0, 0), 0.3 * (1 - smooth(-size * 0.03, size * 0.03, ds)))
                col = mix(col, WHITE, 0.12 * (1 - smooth(0.0, 0.5, t)))  # soft top gloss
                bevel = (1 - smooth(0, size * 0.014, -d)) * 0.4 * abs(1 - 2 * t)
                col = mix(col, WHITE if t < 0.5 else RIM, bevel)
            col = mix(col, RIM, 0.5 * (1 - clamp(-d - (1.5 if large else 0.5))))
            c = over(c, col, cover)

            if hand:
                ch = hand[j][i]
                g = 1.0 if ch == "#" else 0.0 if ch == "." else int(ch) / 10
                gcol = WHITE
            else:
                g = clamp(0.5 - sd_power(x, y, *glyph))
                gcol = WHITE
                if large:
                    gs = sd_power(x, y - size * 0.012, *glyph)
                    c = over(c, RIM, cover * 0.35 * (1 - smooth(-size * 0.02, size * 0.025, gs)))
                    gcol = mix(WHITE, GLYPH_LOW, smooth(gy - R, gy + R, y))
            c = over(c, gcol, g * cover)
            out.append(tuple(int(round(clamp(v / 255) * 255)) for v in c[:3]) + (round(c[3] * 255),))
    return out


def png(size, px):
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    raw = b"".join(b"\0" + bytes(v for p in px[r * size:(r + 1) * size] for v in p) for r in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(size, px):
    """32-bit BGRA DIB as stored in ICO: bottom-up, double height, plus AND mask."""
    head = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = range(size - 1, -1, -1)
    xor = b"".join(bytes((b, g, r, a)) for j in rows for r, g, b, a in px[j * size:(j + 1) * size])
    stride = (size + 31) // 32 * 4  # mask rows are padded to 32 bits
    mask = b""
    for j in rows:  # legacy 1-bit mask: set where fully transparent
        bits = 0
        for i in range(size):
            bits = bits << 1 | (px[j * size + i][3] == 0)
        mask += (bits << (stride * 8 - size)).to_bytes(stride, "big")
    return head + xor + mask


def main():
    # Small sizes as DIBs (works everywhere); 256 as PNG to keep the file small.
    images = [(s, png(s, render(s)) if s >= 256 else dib(s, render(s))) for s in SIZES]
    offset = 6 + 16 * len(images)
    header, body = struct.pack("<HHH", 0, 1, len(images)), b""
    for s, data in images:
        header += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    OUT.write_bytes(header + body)
    print(f"wrote {OUT} ({len(header + body)} bytes)")


if __name__ == "__main__":
    main()
