"""Small picture and sound files written directly, for documents to carry:
PNG (true colour), GIF (palette, optional transparent index, several frames
with delays and a loop count) and PCM WAV.
"""

import math
import struct
import zlib


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


VECTOR_MAGIC = b"VXM1"
VECTOR_KINDS = {"line": 1, "rectangle": 2, "ellipse": 3, "polygon": 4}
NO_FILL = 0xFFFFFFFF


def vector(width, height, shapes):
    """A vector picture in the stand-in vector library's format (README,
    decision 17): "VXM1", u16 width, u16 height, u16 shape count, shapes of
    byte kind, byte pen width, u32 pen colour, u32 fill colour (0xFFFFFFFF
    none), then s16 left, top, right, bottom (lines, rectangles, ellipses) or
    u16 point count and s16 x, y per point (polygons).
    shapes: [{"kind", "pen", "colour", "fill", "box" | "points"}]."""
    if not (1 <= width <= 4096 and 1 <= height <= 4096 and len(shapes) <= 4096):
        raise ValueError("a vector picture is 1-4096 pixels each way with at most 4096 shapes")
    out = bytearray(VECTOR_MAGIC + struct.pack("<HHH", width, height, len(shapes)))
    for s in shapes:
        kind = VECTOR_KINDS[s["kind"]]
        if kind == 4 and not 2 <= len(s["points"]) <= 1024:
            raise ValueError("a polygon has 2-1024 points")
        out += struct.pack("<BBII", kind, s.get("pen", 1), s.get("colour", 0), s.get("fill", NO_FILL))
        if kind == 4:
            out += struct.pack("<H", len(s["points"]))
            out += b"".join(struct.pack("<hh", x, y) for x, y in s["points"])
        else:
            out += struct.pack("<hhhh", *s["box"])
    return bytes(out)
