#!/usr/bin/env python3
"""Regenerate every picture in res/: the program icon, the lock-key LEDs and
the social link tiles.

Standard library only: shapes are signed distance fields with analytic
anti-aliasing, encoded as DIB/PNG by hand and packed into ICO files.  The
smallest glyphs are placed by hand, because computed curves go mushy there.
Output is deterministic.

Usage:  python3 res/tools/make_icon.py [--preview SHEET.png]

--preview also reads the written files back and draws them all, at 1x and
magnified 8x, on a light button face and on white, into SHEET.png.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

RES = Path(__file__).resolve().parent.parent

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
CLEAR = (0.0, 0.0, 0.0, 0.0)


# ---------------------------------------------------------------- drawing ---

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smooth(e0, e1, v):
    t = clamp((v - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def over(dst, rgb, a):
    """Straight-alpha 'source over' of colour rgb at alpha a onto dst (r,g,b,a)."""
    if a <= 0:
        return dst
    da = dst[3] * (1 - a)
    oa = a + da
    return (*((s * a + d * da) / oa for s, d in zip(rgb, dst[:3])), oa)


def draw(size, shade):
    """Call shade(i, j) for every pixel, top row first; return RGBA byte tuples.

    shade returns (r, g, b, a) with r, g, b in 0..255 and a in 0..1.
    """
    out = []
    for j in range(size):
        for i in range(size):
            c = shade(i, j)
            out.append(tuple(int(round(clamp(v / 255) * 255)) for v in c[:3]) + (round(c[3] * 255),))
    return out


def hand_map(text):
    """Coverage rows from a drawing: '#' = full, 1-9 = tenths, '.' = none."""
    return [[1.0 if ch == "#" else 0.0 if ch == "." else int(ch) / 10 for ch in row]
            for row in text.split()]


# Distances are negative inside.  Strokes are a centre line minus half a width.

def sd_round_rect(x, y, lo, hi, r):
    """Distance to a square [lo, hi]^2 with corner radius r."""
    c, h = (lo + hi) / 2, (hi - lo) / 2 - r
    qx, qy = abs(x - c) - h, abs(y - c) - h
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def sd_box(x, y, x0, y0, x1, y1):
    qx, qy = abs(x - (x0 + x1) / 2) - (x1 - x0) / 2, abs(y - (y0 + y1) / 2) - (y1 - y0) / 2
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0)


def sd_segment(x, y, ax, ay, bx, by):
    """Distance to the segment a-b (add a width for a round-capped stroke)."""
    px, py, ux, uy = x - ax, y - ay, bx - ax, by - ay
    t = clamp((px * ux + py * uy) / (ux * ux + uy * uy))
    return math.hypot(px - ux * t, py - uy * t)


def sd_arc(x, y, cx, cy, r, a0, a1):
    """Distance to a circular arc, angles in degrees clockwise from +x (y grows down)."""
    px, py = x - cx, y - cy
    span = (a1 - a0) % 360
    if (math.degrees(math.atan2(py, px)) - a0) % 360 <= span:
        return abs(math.hypot(px, py) - r)
    return min(math.hypot(px - r * math.cos(math.radians(a)), py - r * math.sin(math.radians(a)))
               for a in (a0, a1))


def sd_ellipse(x, y, cx, cy, rx, ry, turn=0.0):
    """Close-enough distance to an ellipse turned by `turn` degrees."""
    c, s = math.cos(math.radians(turn)), math.sin(math.radians(turn))
    px, py = (x - cx) * c + (y - cy) * s, (y - cy) * c - (x - cx) * s
    k0 = math.hypot(px / rx, py / ry)
    k1 = math.hypot(px / (rx * rx), py / (ry * ry))
    return k0 * (k0 - 1) / k1 if k1 > 0 else -min(rx, ry)


def sd_polygon(x, y, pts):
    """Exact distance to a simple polygon."""
    d = min((x - px) ** 2 + (y - py) ** 2 for px, py in pts)
    sign = 1.0
    for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
        ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
        t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
        d = min(d, (wx - ex * t) ** 2 + (wy - ey * t) ** 2)
        c = (y >= ay, y < by, ex * wy > ey * wx)
        if all(c) or not any(c):
            sign = -sign
    return sign * math.sqrt(d)


# ------------------------------------------------------------------- tile ---
# The rounded tile of the program icon, shared by the social link tiles:
# corner radius 3/16 of the tile, full bleed at the tray sizes, a darker rim
# so it reads on white, and shading, shadow and gloss only where they show.

TILE = {16: (0, 3), 20: (0, 3.75), 24: (0, 4.5), 32: (1, 6), 48: (2, 9)}


def tile_box(size):
    inset, radius = TILE.get(size, (size * 0.055, size * 0.2))
    return inset, size - inset, radius


def shade_tile(x, y, size, fill, rim):
    """Paint the tile at pixel centre (x, y); return (colour, tile coverage).

    fill(x, y, t) gives the face colour, t running 0..1 from top to bottom.
    """
    lo, hi, radius = tile_box(size)
    large = size >= 128
    c = CLEAR
    d = sd_round_rect(x, y, lo, hi, radius)
    cover = clamp(0.5 - d)
    t = clamp((y - lo) / (hi - lo))
    col = fill(x, y, t)
    if large:
        ds = sd_round_rect(x, y - size * 0.016, lo, hi, radius)
        c = over(c, BLACK, 0.3 * (1 - smooth(-size * 0.03, size * 0.03, ds)))
        col = mix(col, WHITE, 0.12 * (1 - smooth(0.0, 0.5, t)))  # soft top gloss
        bevel = (1 - smooth(0, size * 0.014, -d)) * 0.4 * abs(1 - 2 * t)
        col = mix(col, WHITE if t < 0.5 else rim, bevel)
    col = mix(col, rim, 0.5 * (1 - clamp(-d - (1.5 if large else 0.5))))
    return over(c, col, cover), cover


def gradient(top, bottom):
    return lambda x, y, t: mix(top, bottom, t)


# --------------------------------------------------------------- MAINICON ---
# A teal tile with a white power glyph.

MAIN_SIZES = (16, 20, 24, 32, 48, 256)
TEAL, DEEP_BLUE = (30, 146, 170), (11, 66, 108)  # tile gradient, top -> bottom
MAIN_RIM = (6, 40, 66)
GLYPH_LOW = (222, 240, 246)

# Glyphs at the tray sizes placed by hand: computed curves go mushy there.
# At 24 px the ring is 3 px wide but the bar 2 px, so both stay centred.
POWER_HAND = {
    16: """
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
""",
    20: """
....................
....................
.........##.........
.........##.........
.........##.........
.....45..##..54.....
....4##1.##.1##4....
...1##4..##..4##1...
...5#6...##...6#5...
...8#2...##...2#8...
...##..........##...
...##..........##...
...8#2........2#8...
...5#6........6#5...
...1##4......4##1...
....4##62..26##4....
.....4########4.....
......158##851......
....................
....................
""",
    24: """
........................
........................
...........##...........
...........##...........
...........##...........
...........##...........
.......43..##..34.......
......7##2.##.2##7......
.....6###3.##.3###6.....
....2###4..##..4###2....
....6##6...##...6##6....
....9##2...##...2##9....
....###..........###....
....###..........###....
....9##2........2##9....
....6##6........6##6....
....2###4......4###2....
.....6###62..26###6.....
......7##########7......
.......6########6.......
........269##962........
........................
........................
........................
""",
}


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


def render_main(size):
    large = size >= 128
    lo, hi, _ = tile_box(size)
    T = hi - lo
    w, R = 0.1 * T, 0.27 * T
    gx, gy = size / 2, size / 2 + 0.05 * T  # sit slightly low: the bar adds weight on top
    if not large:  # whole-pixel strokes whose edges land on pixel boundaries
        w, R = round(w), round(R)
        gx, gy = round(gx - w / 2) + w / 2, round(gy - w / 2) + w / 2
    glyph = (gx, gy, R, w, math.radians(40), -0.38 * T, -0.05 * T)
    hand = hand_map(POWER_HAND[size]) if size in POWER_HAND else None
    fill = gradient(TEAL, DEEP_BLUE)

    def shade(i, j):
        x, y = i + 0.5, j + 0.5
        c, cover = shade_tile(x, y, size, fill, MAIN_RIM)
        gcol = WHITE
        if hand:
            g = hand[j][i]
        else:
            g = clamp(0.5 - sd_power(x, y, *glyph))
            if large:
                gs = sd_power(x, y - size * 0.012, *glyph)
                c = over(c, MAIN_RIM, cover * 0.35 * (1 - smooth(-size * 0.02, size * 0.025, gs)))
                gcol = mix(WHITE, GLYPH_LOW, smooth(gy - R, gy + R, y))
        return over(c, gcol, g * cover)
    return draw(size, shade)


# ------------------------------------------------------------------- LEDs ---
# A round lamp on a transparent background.  Both states share the lamp, the
# rim and the highlight; the lit one is bright red and glows past its rim.

LED_SIZES = (16, 20, 24, 32)
LED_GRAY = dict(light=(156, 156, 156), body=(98, 98, 98), rim=(56, 56, 56),
                shine=0.5, glow=None)
LED_RED = dict(light=(255, 128, 104), body=(232, 26, 18), rim=(184, 10, 4),
               shine=0.9, glow=(255, 36, 24))


def led_renderer(look):
    def render(size):
        cx = cy = size / 2
        R = round(size * 0.375)           # 6 px at 16: edges on pixel boundaries
        halo = size / 2 - R                # room left for the glow
        hx, hy = cx - 0.32 * R, cy - 0.38 * R  # where the light comes from

        def shade(i, j):
            x, y = i + 0.5, j + 0.5
            c = CLEAR
            d = math.hypot(x - cx, y - cy) - R
            if look["glow"]:
                c = over(c, look["glow"], 0.55 * (1 - smooth(-0.5, halo + 0.5, d)))
            cover = clamp(0.5 - d)
            if cover > 0:
                t = clamp(math.hypot(x - hx, y - hy) / (1.3 * R))
                col = mix(look["light"], look["body"], smooth(0.0, 1.0, t))
                col = mix(col, look["rim"], clamp(1 - (-d - 0.5) / max(1.0, 0.12 * R)))
                c = over(c, col, cover)
                s = sd_ellipse(x, y, hx, hy - 0.05 * R, 0.34 * R, 0.24 * R, -30)
                c = over(c, WHITE, cover * look["shine"] * (1 - smooth(-0.225 * R, 0.6, s)))
            return c
        return draw(size, shade)
    return render


# ----------------------------------------------------------- social tiles ---
# Glyphs are drawn in units of 1/16 of the icon, so straight edges on whole or
# half units land on pixel boundaries at 32 px; at 16 px they are placed by hand.

SOCIAL_SIZES = (16, 24, 32)


def stroke(d, w):
    return d - w / 2


def glyph_f(X, Y):
    return min(sd_box(X, Y, 7, 6, 9, 14),
               stroke(sd_arc(X, Y, 11, 6, 3, 180, 300), 2),
               sd_box(X, Y, 5, 6, 11, 8))


def glyph_gplus(X, Y):
    w = 1.5
    g = min(stroke(abs(math.hypot(X - 5.75, Y - 7.25) - 2.5), w),
            sd_box(X, Y, 7.5, 4, 9, 10.75),
            stroke(sd_arc(X, Y, 5.75, 10.75, 2.5, 0, 150), w))
    plus = min(sd_box(X, Y, 11.5, 5, 13, 9.5), sd_box(X, Y, 10, 6.5, 14.5, 8))
    return min(g, plus)


def glyph_bird(X, Y):
    """A bird flying right, wing raised: one outline plus a round head."""
    body = [(14.6, 4.9), (12.9, 6.1), (12.7, 7.9), (11.9, 9.9), (10.4, 11.4), (8.3, 12.4),
            (5.8, 12.7), (3.6, 12.4), (1.8, 11.7), (4.0, 11.1), (5.0, 9.7), (2.4, 6.1),
            (5.2, 6.9), (7.8, 8.1), (8.6, 6.3), (9.6, 4.7), (11.2, 3.9), (12.6, 4.3)]
    return min(sd_polygon(X, Y, body), math.hypot(X - 11.0, Y - 6.0) - 2.1)


def glyph_rss(X, Y):
    ox, oy = 3, 13
    quadrant = max(ox - X, Y - oy)

    def ring(r0, r1):
        return max(abs(math.hypot(X - ox, Y - oy) - (r0 + r1) / 2) - (r1 - r0) / 2, quadrant)
    return min(math.hypot(X - 4.6, Y - 11.4) - 1.6, ring(5, 7), ring(9, 11))


def glyph_su(X, Y):
    w = 1.5
    s = min(stroke(sd_arc(X, Y, 4.6, 7.4, 1.65, 160, 350), w),
            stroke(sd_segment(X, Y, 2.95, 7.4, 6.25, 10.6), w),
            stroke(sd_arc(X, Y, 4.6, 10.6, 1.65, 340, 170), w))
    u = min(sd_box(X, Y, 8.5, 5, 10, 10.25), sd_box(X, Y, 12.5, 5, 14, 13),
            stroke(sd_arc(X, Y, 11.25, 10.25, 2, 0, 180), w))
    return min(s, u)


DELICIOUS = dict(tl=(255, 255, 255), tr=(50, 116, 208), bl=(24, 24, 24), br=(206, 206, 206))


def delicious_fill(size):
    half = size / 2

    def fill(x, y, t):
        q = DELICIOUS[("t" if y < half else "b") + ("l" if x < half else "r")]
        return mix(mix(q, WHITE, 0.08), mix(q, BLACK, 0.08), t)
    return fill


SOCIAL = {
    # name: (tile top, tile bottom, rim, glyph); delicious is four squares, no glyph
    "facebook": ((72, 108, 182), (42, 68, 132), (20, 34, 74), glyph_f),
    "gplus": ((232, 88, 70), (188, 48, 36), (104, 22, 14), glyph_gplus),
    "twitter": ((100, 194, 246), (32, 142, 216), (12, 80, 140), glyph_bird),
    "rss": ((252, 156, 64), (232, 104, 20), (140, 54, 4), glyph_rss),
    "delicious": (None, None, (44, 44, 44), None),
    "stumbleupon": ((246, 104, 64), (214, 60, 26), (124, 30, 10), glyph_su),
}

# Shifts, in pixels, that put a glyph's straight edges on pixel boundaries
# at 24 px, where a unit is 1.5 px.
NUDGE = {("facebook", 24): (0.5, 0), ("rss", 24): (0.5, 0.5), ("stumbleupon", 24): (0.25, 0)}

SOCIAL_HAND = {
    "facebook": """
................
................
........6###3...
.......8#####...
.......##8......
.......##.......
.....######.....
.....######.....
.......##.......
.......##.......
.......##.......
.......##.......
.......##.......
.......##.......
................
................
""",
    "gplus": """
................
................
................
................
..7#####........
.8#7..##...#....
.##...##...#....
.##...##.#####..
.8#7..##...#....
..7#####...#....
......##........
.4....##........
.8#####7........
..3666..........
................
................
""",
    "twitter": """
................
................
................
.........5##6...
..3.....7####85.
..#7...2####4...
..3##6.7####....
...6########....
....7#######....
....4######7....
....7#####8.....
..7######4......
....3662........
................
................
................
""",
    "rss": """
................
................
..##74..........
..#####5........
....47##82......
......28##2.....
..#85...7#8.....
..####4..8#5....
...26##4.2##....
...324##..7#4...
..6##26#5.4#7...
..8##32#8..##...
..386..##..##...
................
................
................
""",
    "stumbleupon": """
................
................
................
................
................
..5####.##..##..
..##....##..##..
..8#96..##..##..
...49#8.##..##..
.....##.##..##..
.....##.8#..##..
..####5..7####..
................
................
................
................
""",
}


def social_renderer(name):
    top, bottom, rim, glyph = SOCIAL[name]

    def render(size):
        fill = delicious_fill(size) if top is None else gradient(top, bottom)
        hand = hand_map(SOCIAL_HAND[name]) if size == 16 and name in SOCIAL_HAND else None
        k = size / 16
        dx, dy = NUDGE.get((name, size), (0, 0))

        def shade(i, j):
            x, y = i + 0.5, j + 0.5
            c, cover = shade_tile(x, y, size, fill, rim)
            if hand:
                g = hand[j][i]
            elif glyph:
                g = clamp(0.5 - k * glyph((x - dx) / k, (y - dy) / k))
            else:
                g = 0.0
            return over(c, WHITE, g * cover)
        return draw(size, shade)
    return render


# name, renderer, sizes, the sizes stored as DIBs: the icon's small, large and
# Explorer sizes, and the pictures' size at 96 dpi.
PICTURES = [
    ("corvello.ico", render_main, MAIN_SIZES, (16, 32, 48)),
    ("led_gray.ico", led_renderer(LED_GRAY), LED_SIZES, (16,)),
    ("led_red.ico", led_renderer(LED_RED), LED_SIZES, (16,)),
] + [(f"social_{n}.ico", social_renderer(n), SOCIAL_SIZES, (16,)) for n in SOCIAL]


# --------------------------------------------------------------- encoding ---

def png(width, height, pixels, channels=4, thorough=False):
    """PNG of packed RGBA (or RGB) bytes, top row first.  Each row takes the
    filter that leaves the smallest residue, as encoders usually choose; a
    thorough one also tries one filter for every row and the filter that
    adds the fewest compressed bytes row by row, and keeps the smallest."""
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    n = width * channels
    rows = [pixels[r * n:(r + 1) * n] for r in range(height)]
    lines = [[filter_row(kind, row, prior, channels) for kind in range(5)]
             for row, prior in zip(rows, [bytes(n)] + rows)]

    def encode(kinds):
        return b"".join(bytes((kind,)) + options[kind] for kind, options in zip(kinds, lines))

    residue = [min(range(5), key=lambda kind: sum(v if v < 128 else 256 - v for v in options[kind]))
               for options in lines]
    choices = [residue]
    if thorough:
        choices += [[kind] * height for kind in range(5)] + [fewest_bytes(lines)]
    idat = min((deflate(encode(kinds)) for kinds in choices), key=len)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6 if channels == 4 else 2, 0, 0, 0))
            + chunk(b"IDAT", idat) + chunk(b"IEND", b""))


def deflate(data):
    """The smallest zlib stream of a few settings of the standard library."""
    def compress(strategy):
        c = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
        return c.compress(data) + c.flush()
    return min((compress(s) for s in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED)), key=len)


def fewest_bytes(lines):
    """Row by row, the filter whose line adds the fewest bytes to the stream so far."""
    stream, kinds = zlib.compressobj(9, zlib.DEFLATED, 15, 9), []
    for options in lines:
        def cost(kind):
            trial = stream.copy()
            line = bytes((kind,)) + options[kind]
            return len(trial.compress(line)) + len(trial.flush(zlib.Z_SYNC_FLUSH))
        kind = min(range(5), key=cost)
        stream.compress(bytes((kind,)) + options[kind])
        kinds.append(kind)
    return kinds


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def predict(kind, left, up, upleft):
    return (0, left, up, (left + up) // 2, paeth(left, up, upleft))[kind]


def filter_row(kind, row, prior, bpp):
    return bytes((row[i] - predict(kind, row[i - bpp] if i >= bpp else 0, prior[i],
                                   prior[i - bpp] if i >= bpp else 0)) & 255 for i in range(len(row)))


def unfilter_row(kind, line, prior, bpp):
    row = bytearray(len(line))
    for i in range(len(line)):
        row[i] = (line[i] + predict(kind, row[i - bpp] if i >= bpp else 0, prior[i],
                                    prior[i - bpp] if i >= bpp else 0)) & 255
    return bytes(row)


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


def ico(render, sizes, dib_sizes):
    # The sizes Windows XP shows a picture at are DIBs, which every Windows
    # reads; the rest are PNG, which Vista and later read, at a fraction of the
    # bytes. Where XP meets a PNG frame the program scales a DIB one instead.
    images = [(s, dib(s, render(s)) if s in dib_sizes else png(s, s, bytes(v for p in render(s) for v in p), thorough=True))
              for s in sizes]
    offset = 6 + 16 * len(images)
    header, body = struct.pack("<HHH", 0, 1, len(images)), b""
    for s, data in images:
        header += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return header + body


# ---------------------------------------------------------------- preview ---

def read_ico(data):
    """{size: RGBA byte tuples} from an ICO holding 32-bit DIBs or PNGs."""
    out = {}
    for k in range(struct.unpack_from("<H", data, 4)[0]):
        _, _, _, _, _, _, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        blob = data[offset:offset + length]
        if blob.startswith(b"\x89PNG"):
            size = struct.unpack_from(">I", blob, 16)[0]
            pos, idat = 8, b""
            while pos < len(blob):
                n, tag = struct.unpack_from(">I4s", blob, pos)
                idat += blob[pos + 8:pos + 8 + n] if tag == b"IDAT" else b""
                pos += 12 + n
            raw, stride, prior, rgba = zlib.decompress(idat), size * 4 + 1, bytes(size * 4), b""
            for r in range(size):
                prior = unfilter_row(raw[r * stride], raw[r * stride + 1:(r + 1) * stride], prior, 4)
                rgba += prior
            px = [tuple(rgba[4 * i:4 * i + 4]) for i in range(size * size)]
        else:
            size, height, _, bits = struct.unpack_from("<IiHH", blob, 4)
            assert bits == 32 and height == 2 * size
            xor = blob[40:40 + size * size * 4]
            px = [(r, g, b, a) for j in range(size - 1, -1, -1)
                  for b, g, r, a in (xor[4 * (j * size + i):4 * (j * size + i) + 4] for i in range(size))]
        out[size] = px
    return out


def preview(path, files):
    """One row per picture and background: every size at 1x, then at 8x (256 at 1x only)."""
    grounds = [(0xF0, 0xF0, 0xF0), (0xFF, 0xFF, 0xFF)]
    pad, zoom = 8, 8
    rows = []
    for name in files:
        images = read_ico((RES / name).read_bytes())
        for bg in grounds:
            rows.append((images, bg))
    def row_size(images):
        ones = sum(s + pad for s in images)
        big = sum(s * zoom + pad for s in images if s < 128)
        return ones + pad + big, max(max(images), max(s * zoom for s in images if s < 128))
    width = max(row_size(im)[0] for im, _ in rows) + pad
    height = sum(row_size(im)[1] + pad for im, _ in rows) + pad
    sheet = bytearray(b"\x80" * (width * height * 3))  # mid grey between the rows

    def blit(px, size, left, top, k, bg):
        for j in range(size):
            line = bytearray()
            for i in range(size):
                r, g, b, a = px[j * size + i]
                line += bytes(round(v * a / 255 + u * (255 - a) / 255) for v, u in zip((r, g, b), bg)) * k
            for dy in range(k):
                at = ((top + j * k + dy) * width + left) * 3
                sheet[at:at + len(line)] = line

    top = pad
    for images, bg in rows:
        w, h = row_size(images)
        for j in range(h + pad):
            at = ((top - pad // 2 + j) * width + pad // 2) * 3
            sheet[at:at + (w + pad) * 3] = bytes(bg) * (w + pad)
        left = pad
        for s in sorted(images):
            blit(images[s], s, left, top, 1, bg)
            left += s + pad
        left += pad
        for s in sorted(images):
            if s < 128:
                blit(images[s], s, left, top, zoom, bg)
                left += s * zoom + pad
        top += h + pad
    Path(path).write_bytes(png(width, height, bytes(sheet), channels=3))
    print(f"wrote {path} ({width}x{height})")


def main(argv):
    for name, render, sizes, dib_sizes in PICTURES:
        data = ico(render, sizes, dib_sizes)
        (RES / name).write_bytes(data)
        print(f"wrote {RES / name} ({len(data)} bytes)")
    if argv[:1] == ["--preview"] and len(argv) == 2:
        preview(argv[1], [name for name, *_ in PICTURES])
    elif argv:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
