"""Small picture and sound files written directly, for documents to carry:
PNG (true colour), GIF (palette, optional transparent index, several frames
with delays and a loop count) and PCM WAV.
"""

import math
import struct
import zlib

from . import metafile


def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(width, height, pixel):
    """An 8-bit RGB PNG; pixel(x, y) -> (r, g, b)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(rows)) + _chunk(b"IEND", b""))


def _lzw(indices, bits):
    """Image data of one GIF frame: every index a literal code, with a clear
    code often enough that the code width never grows."""
    clear, end = 1 << bits, (1 << bits) + 1
    width = bits + 1
    codes = [clear]
    room = (1 << width) - end - 2
    for n, i in enumerate(indices):
        if n and n % room == 0:
            codes.append(clear)
        codes.append(i)
    codes.append(end)
    acc = nbits = 0
    out = bytearray()
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + out[i:i + 255]
                      for i in range(0, len(out), 255))
    return bytes([bits]) + blocks + b"\0"


def gif(width, height, palette, frames, transparent=None, delays=None, loops=None):
    """A GIF89a: palette of (r, g, b) (padded to a power of two, at least 4),
    frames as lists of width x height indices, delays in hundredths of a
    second, loops for the NETSCAPE2.0 block (0 = for ever)."""
    size = 2
    while (1 << size) < len(palette):
        size += 1
    table = b"".join(bytes(c) for c in palette) + bytes(3 * ((1 << size) - len(palette)))
    out = bytearray(b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | (size - 1), 0, 0))
    out += table
    if loops is not None:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", loops) + b"\0"
    for n, frame in enumerate(frames):
        delay = (delays or [0] * len(frames))[n]
        if transparent is not None or delays:
            flags = (1 if transparent is not None else 0) | (2 << 2 if len(frames) > 1 else 0)
            out += b"\x21\xf9\x04" + struct.pack("<BHB", flags, delay, transparent or 0) + b"\0"
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out += _lzw(frame, size)
    return bytes(out + b"\x3b")


def wav(seconds=1.0, rate=8000, tone=440):
    """Mono 8-bit PCM: a sine tone."""
    n = int(seconds * rate)
    samples = bytes(int(128 + 100 * math.sin(2 * math.pi * tone * i / rate)) for i in range(n))
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", n) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


VECTOR_KINDS = ("line", "rectangle", "ellipse", "polygon")
NO_FILL = 0xFFFFFFFF


def vector(width, height, shapes):
    """A vector picture as a placeable metafile (README, decision 17): box 0, 0, width, height at
    96 units per inch, so a unit is a pixel; the window the same. Each shape gets a pen (solid of
    its width, or none for width 0) and a brush (its fill, or none), selected, drawn and deleted.
    Boxes are inclusive pixel boxes: a rectangle or ellipse covers left..right, top..bottom.
    shapes: [{"kind", "pen", "colour", "fill", "box" | "points"}]."""
    if not (1 <= width <= 4096 and 1 <= height <= 4096 and len(shapes) <= 4096):
        raise ValueError("a vector picture is 1-4096 pixels each way with at most 4096 shapes")
    m = metafile.Metafile()
    m.window(0, 0, width, height)
    for s in shapes:
        kind = s["kind"]
        if kind not in VECTOR_KINDS:
            raise ValueError("no vector shape %r" % kind)
        if kind == "polygon" and not 2 <= len(s["points"]) <= 1024:
            raise ValueError("a polygon has 2-1024 points")
        width_ = s.get("pen", 1)
        pen = m.pen(metafile.PS_SOLID if width_ else metafile.PS_NULL, width_, s.get("colour", 0))
        fill = s.get("fill", NO_FILL)
        brush = m.brush(metafile.BS_NULL if fill == NO_FILL else metafile.BS_SOLID, 0 if fill == NO_FILL else fill)
        m.select(pen)
        m.select(brush)
        if kind == "polygon":
            m.points(metafile.POLYGON, s["points"])
        elif kind == "line":
            m.line(*s["box"])
        else:
            left, top, right, bottom = s["box"]
            m.box(metafile.RECTANGLE if kind == "rectangle" else metafile.ELLIPSE, left, top, right + 1, bottom + 1)
        m.delete(pen)
        m.delete(brush)
    return m.bytes((0, 0, width, height), 96)
