#!/usr/bin/env python3
"""A tiny TrueType font of box glyphs, for tests and as the main seed of the font fuzz target.

    make_test_font.py OUT [--family NAME] [--symbol] [--mono]

Writes a complete sfnt file of the ten tables a Windows text face needs (cmap, glyf, head, hhea,
hmtx, loca, maxp, name, OS/2, post) with a handful of glyphs drawn as boxes, every table's checksum
and the whole-file adjustment in place, in a few hundred bytes: small enough that each mutation of
it reaches the tables rather than the outlines.

Glyphs (1000 units per em, Windows ascent 900, descent 300):
    0  .notdef   a hollow box (two contours)       advance 600
    1  space     no contours                       advance 250
    2  box       a filled box 50..450 x 0..700      advance 500
    3  bar       a thin stem 100..200 x -200..800   advance 300, reaching past the ascent line
    4  wide      a filled box 50..850 x 0..500      advance 900
    5  pair      a composite of 'box' and 'bar'     advance 700
    6  wedge     a triangle 0..600 x 0..600         advance 600

Without --symbol the Windows Unicode cmap (3, 1) maps space, a few ASCII letters and the letters
by which a face is taken to cover the Western and Central European code pages; with --symbol a
Windows symbol cmap (3, 0) maps U+F020..U+F07E, and the names are in that encoding too. --mono
gives every glyph the same advance and marks the face fixed pitch.
"""

import argparse
import struct
import sys

UNITS_PER_EM = 1000
ASCENT = 900
DESCENT = 300


def box(x0, y0, x1, y1):
    """One clockwise rectangle contour (TrueType fills clockwise outer contours)."""
    return [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]


# name, advance, contours (lists of on-curve points) or, for a composite, (glyph, dx, dy) parts
GLYPHS = [
    (".notdef", 600, [box(50, 0, 550, 700), list(reversed(box(100, 50, 500, 650)))]),
    ("space", 250, []),
    ("box", 500, [box(50, 0, 450, 700)]),
    ("bar", 300, [box(100, -200, 200, 800)]),
    ("wide", 900, [box(50, 0, 850, 500)]),
    ("pair", 700, ("composite", [(2, 0, 0), (3, 400, 0)])),
    ("wedge", 600, [[(0, 0), (300, 600), (600, 0)]]),
]

# Characters of the Unicode face: space, ASCII letters, the Western test letters (é ü ß – “) and
# the Central European ones (č ř š ž ő ľ).
TEXT_CHARACTERS = {
    0x20: 1, 0x41: 2, 0x61: 2, 0x69: 3, 0x6C: 3, 0x6D: 4, 0x57: 4, 0x40: 5, 0x5E: 6,
    0xE9: 2, 0xFC: 2, 0xDF: 2, 0x2013: 4, 0x201C: 6,
    0x10D: 2, 0x159: 2, 0x161: 2, 0x17E: 2, 0x151: 2, 0x13E: 3,
}


def symbol_characters():
    return {0xF020 + i: 1 + i % (len(GLYPHS) - 1) for i in range(0x5F)}


def be16(*values):
    return b"".join(struct.pack(">h" if v < 0 else ">H", v) for v in values)


def be32(*values):
    return b"".join(struct.pack(">I", v) for v in values)


def bounds(points):
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return min(xs), min(ys), max(xs), max(ys)


def simple_glyph(contours):
    if not contours:
        return b""
    points = [p for contour in contours for p in contour]
    ends, total = [], 0
    for contour in contours:
        total += len(contour)
        ends.append(total - 1)
    data = be16(len(contours), *bounds(points)) + be16(*ends) + be16(0)  # no instructions
    data += bytes([1] * len(points))  # on curve, coordinates as signed 16-bit deltas
    last = (0, 0)
    xs, ys = b"", b""
    for x, y in points:
        xs += be16(x - last[0])
        ys += be16(y - last[1])
        last = (x, y)
    return data + xs + ys


def composite_glyph(parts):
    points = []
    for glyph, dx, dy in parts:
        for contour in GLYPHS[glyph][2]:
            points += [(x + dx, y + dy) for x, y in contour]
    data = be16(-1, *bounds(points))
    for i, (glyph, dx, dy) in enumerate(parts):
        more = 0x20 if i + 1 < len(parts) else 0
        data += be16(0x0001 | 0x0002 | more, glyph, dx, dy)  # word arguments, x/y offsets
    return data


def outline_points(entry):
    """The points of a glyph, components placed, for the bounding boxes of head and hmtx."""
    shape = entry[2]
    if isinstance(shape, tuple):
        return [(x + dx, y + dy) for glyph, dx, dy in shape[1] for contour in GLYPHS[glyph][2]
                for x, y in contour]
    return [p for contour in shape for p in contour]


def glyf_and_loca():
    glyf, offsets = b"", []
    for entry in GLYPHS:
        offsets.append(len(glyf) // 2)
        shape = entry[2]
        data = composite_glyph(shape[1]) if isinstance(shape, tuple) else simple_glyph(shape)
        glyf += data + b"\0" * (len(data) % 2)
    offsets.append(len(glyf) // 2)
    return glyf, be16(*offsets)


def cmap_format4(characters):
    codes = sorted(characters)
    segments = [(c, c, (characters[c] - c) & 0xFFFF) for c in codes] + [(0xFFFF, 0xFFFF, 1)]
    count = len(segments)
    search = 2 ** (count.bit_length() - 1)
    body = be16(count * 2, search * 2, search.bit_length() - 1, count * 2 - search * 2)
    body += be16(*[end for _, end, _ in segments]) + be16(0)
    body += be16(*[start for start, _, _ in segments])
    body += be16(*[delta for _, _, delta in segments])
    body += be16(*[0] * count)
    return be16(4, 6 + len(body), 0) + body


def cmap_table(symbol, characters):
    subtable = cmap_format4(characters)
    return be16(0, 1, 3, 0 if symbol else 1) + be32(12) + subtable


def name_table(family, symbol):
    names = [(1, family), (2, "Regular"), (4, family + " Regular"), (6, family.replace(" ", "") + "-Regular")]
    records, strings = b"", b""
    for name_id, text in names:
        encoded = text.encode("utf-16-be")
        records += be16(3, 0 if symbol else 1, 0x0409, name_id, len(encoded), len(strings))
        strings += encoded
    return be16(0, len(names), 6 + len(records)) + records + strings


def os2_table(advances, characters, symbol, mono):
    average = sum(advances) // len(advances)
    panose = bytes([5 if symbol else 2, 11, 5, 0, 9 if mono else 3, 0, 0, 0, 0, 0])
    code_pages = 1 << 31 if symbol else (1 | 2)  # symbol, else 1252 and 1250
    return (be16(4, average, 400, 5, 0)
            + be16(650, 700, 0, 140, 650, 700, 0, 480)  # subscript and superscript
            + be16(50, 300, 0x0800)  # strike-out size and position, sans-serif class
            + panose + be32(0, 0, 0, 0) + b"TEST"
            + be16(0x0040, min(characters), min(max(characters), 0xFFFF))  # regular
            + be16(ASCENT - 100, -(DESCENT - 100), 100, ASCENT, DESCENT)
            + be32(code_pages, 0)
            + be16(500, 700, 0, 0x20, 2))


def font(family, symbol, mono):
    characters = symbol_characters() if symbol else TEXT_CHARACTERS
    advances = [600 if mono else entry[1] for entry in GLYPHS]
    boxes = [bounds(outline_points(entry)) if outline_points(entry) else (0, 0, 0, 0) for entry in GLYPHS]
    inked = [b for entry, b in zip(GLYPHS, boxes) if outline_points(entry)]
    x_min, y_min = min(b[0] for b in inked), min(b[1] for b in inked)
    x_max, y_max = max(b[2] for b in inked), max(b[3] for b in inked)
    glyf, loca = glyf_and_loca()
    points = max(len(outline_points(entry)) for entry in GLYPHS)
    tables = {
        b"cmap": cmap_table(symbol, characters),
        b"glyf": glyf,
        b"head": be32(0x00010000, 0x00010000, 0, 0x5F0F3CF5) + be16(0x000B, UNITS_PER_EM)
                 + b"\0" * 16 + be16(x_min, y_min, x_max, y_max, 0, 8, 2, 0, 0),
        b"hhea": be32(0x00010000) + be16(ASCENT, -DESCENT, 0, max(advances), x_min,
                                          min(a - b[2] for a, b in zip(advances, boxes)), x_max,
                                          1, 0, 0, 0, 0, 0, 0, 0, len(GLYPHS)),
        b"hmtx": b"".join(be16(a, b[0]) for a, b in zip(advances, boxes)),
        b"loca": loca,
        b"maxp": be32(0x00010000) + be16(len(GLYPHS), points, 2, 8, 2, 2, 0, 0, 0, 0, 0, 0, 2, 1),
        b"name": name_table(family, symbol),
        b"OS/2": os2_table(advances, characters, symbol, mono),
        b"post": be32(0x00030000, 0) + be16(-100, 50) + be32(1 if mono else 0, 0, 0, 0, 0),
    }
    return sfnt(tables)


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF


def sfnt(tables):
    count = len(tables)
    search = 2 ** (count.bit_length() - 1)
    header = be32(0x00010000) + be16(count, search * 16, search.bit_length() - 1, count * 16 - search * 16)
    directory, data = b"", b""
    offset = len(header) + 16 * count
    head_at = 0
    for tag in sorted(tables):
        body = tables[tag]
        if tag == b"head":
            head_at = offset + len(data)
        directory += tag + be32(checksum(body), offset + len(data), len(body))
        data += body + b"\0" * (-len(body) % 4)
    out = bytearray(header + directory + data)
    out[head_at + 8:head_at + 12] = be32((0xB1B0AFBA - checksum(bytes(out))) & 0xFFFFFFFF)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description="Writes a tiny TrueType font of box glyphs.")
    parser.add_argument("out")
    parser.add_argument("--family", default="Winplat Boxes")
    parser.add_argument("--symbol", action="store_true", help="a symbol cmap at U+F020..U+F07E")
    parser.add_argument("--mono", action="store_true", help="every advance the same, fixed pitch")
    args = parser.parse_args()
    with open(args.out, "wb") as f:
        f.write(font(args.family, args.symbol, args.mono))
    return 0


if __name__ == "__main__":
    sys.exit(main())
