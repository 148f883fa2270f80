#!/usr/bin/env python3
"""An independent reader of the library's own BMI files, written from the file layout alone.

It prints what it finds one fact a line, so tests of the C++ writer can compare the stored
fields (directory, blocks, frame headers, chunk sizes and kinds, rows) with the picture that was
saved:

    bmi_layout_reader.py FILE [BASE_OFFSET]

    header WIDTH HEIGHT PALETTE_FLAG BITS ONE DIRECTORY_COUNT
    palette COUNT
    directory TYPE:OFFSET ...
    comment ZERO LENGTH WORD TEXT
    transparency COUNT, then one "entry" line of seven numbers for each
    rotation ANGLE
    end OFFSET
    frame WIDTH HEIGHT BITS PALETTE_FLAG WORD IMAGE_BYTES CHUNK_SIZE PALETTE_COUNT
    chunk KIND LENGTH UNPACKED_LENGTH   (for each chunk of the frame before)
    row HEX                             (for each row of the frame before, top first)
    error MESSAGE                       (the file breaks the layout; exit status 1)

Layout (all numbers little-endian):
  header, 21 bytes: "TarvoBMIa", u16 width, u16 height, u16 palette flag, u16 bits, u16 1,
                    u16 directory entry count
  palette when the flag is 1 and 2^bits <= 256: 2^bits x (blue, green, red, 0)
  directory: count x (u16 type, u32 offset from the base)
     1 frame, 3 comment, 5 transparency, 7 rotation, 255 end (offset = end of the data)
  comment: u16 0, u32 text length with its zero, u16 4000, text
  transparency: u32 count, count x 28 bytes (seven i32)
  rotation: i32
  frame: u16 w, u16 h, u16 bits, u16 palette flag, u16 1, u32 image bytes, u16 chunk size,
         palette (flag set), then chunks: u16 length, u8 kind (1 zlib, 0 stored), data;
         each chunk unpacks to whole rows of ((w * bits + 31) // 32) * 4 bytes, top row first.
"""
import struct
import sys
import zlib


class Bad(Exception):
    pass


class Reader:
    def __init__(self, data, base):
        self.data = data
        self.base = base

    def take(self, at, count):
        start = self.base + at
        if at < 0 or start + count > len(self.data):
            raise Bad("read of %d bytes at %d runs past the end" % (count, at))
        return self.data[start:start + count]

    def unpack(self, at, fmt):
        return struct.unpack("<" + fmt, self.take(at, struct.calcsize("<" + fmt)))


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def palette_entries(flag, bits):
    return (1 << bits) if flag == 1 and (1 << bits) <= 256 else 0


def read_frame(r, at):
    w, h, bits, flag, one, image_bytes, chunk_size = r.unpack(at, "HHHHHIH")
    frame = {"head": [w, h, bits, flag, one, image_bytes, chunk_size]}
    pos = at + 16
    entries = (1 << bits) if flag and bits <= 8 else 0
    frame["palette"] = [list(r.take(pos + 4 * i, 4)) for i in range(entries)]
    pos += 4 * entries
    row = stride(w, bits)
    rows = []
    chunks = []
    while len(rows) < h:
        length, kind = r.unpack(pos, "HB")
        payload = r.take(pos + 3, length)
        pos += 3 + length
        if kind == 1:
            unpacked = zlib.decompress(payload)
        elif kind == 0:
            unpacked = payload
        else:
            raise Bad("chunk kind %d" % kind)
        if len(unpacked) % row:
            raise Bad("chunk of %d bytes is not whole rows of %d" % (len(unpacked), row))
        chunks.append([kind, length, len(unpacked)])
        rows.extend(unpacked[i:i + row] for i in range(0, len(unpacked), row))
    frame["chunks"] = chunks
    frame["rows"] = [x.hex() for x in rows[:h]]
    frame["end"] = pos
    return frame


def read(data, base):
    r = Reader(data, base)
    head = r.take(0, 21)
    if head[:9] != b"TarvoBMIa":
        raise Bad("magic")
    w, h, flag, bits, one, count = struct.unpack("<HHHHHH", head[9:21])
    out = {"head": [w, h, flag, bits, one, count]}
    pos = 21
    entries = palette_entries(flag, bits)
    out["palette"] = [list(r.take(pos + 4 * i, 4)) for i in range(entries)]
    pos += 4 * entries
    directory = []
    for i in range(count):
        kind, offset = r.unpack(pos + 6 * i, "HI")
        directory.append([kind, offset])
    out["directoryAt"] = pos
    out["directory"] = directory
    frames = []
    for kind, offset in directory:
        if kind == 1:
            frames.append(read_frame(r, offset))
        elif kind == 3:
            zero, length, four_thousand = r.unpack(offset, "HIH")
            text = r.take(offset + 8, length)
            out["comment"] = [zero, length, four_thousand, text.rstrip(b"\0").decode("latin-1")]
        elif kind == 5:
            (n,) = r.unpack(offset, "I")
            out["transparency"] = [list(r.unpack(offset + 4 + 28 * i, "7i")) for i in range(n)]
        elif kind == 7:
            (angle,) = r.unpack(offset, "i")
            out["rotation"] = angle
        elif kind == 255:
            out["end"] = offset
    out["frames"] = frames
    return out


def lines(found):
    out = ["header %s" % " ".join(map(str, found["head"])), "palette %d" % len(found["palette"]),
           "directory %s" % " ".join("%d:%d" % (k, o) for k, o in found["directory"])]
    if "comment" in found:
        out.append("comment %s" % " ".join(map(str, found["comment"])))
    if "transparency" in found:
        out.append("transparency %d" % len(found["transparency"]))
        out += ["entry %s" % " ".join(map(str, e)) for e in found["transparency"]]
    if "rotation" in found:
        out.append("rotation %d" % found["rotation"])
    if "end" in found:
        out.append("end %d" % found["end"])
    for frame in found["frames"]:
        out.append("frame %s %d" % (" ".join(map(str, frame["head"])), len(frame["palette"])))
        out += ["chunk %d %d %d" % tuple(c) for c in frame["chunks"]]
        out += ["row %s" % r for r in frame["rows"]]
    return out


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    base = int(sys.argv[2]) if len(sys.argv) == 3 else 0
    try:
        print("\n".join(lines(read(data, base))))
    except (Bad, zlib.error, struct.error) as e:
        print("error %s" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
