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
                    u16 directory entry count (6)
  palette when the flag is 1 (depths up to 8 bits, else the flag is 0):
                    2^bits x (blue, green, red, 0)
  directory: count x (u16 type, u32 offset from the base)
     1 frame, 3 comment, 5 transparency, 7 rotation, 255 end (offset = end of the data);
     a new file has 3, 5, 7, 1, 3 (the spare slot names the comment again), 255, and a file
     with an appended frame 3, 5, 7, 1, 1, 255
  blocks follow the directory back to back, in the order comment, transparency, rotation,
     frame, appended frame; the end entry names the byte after the last of them
  comment: u16 0, u32 46 (text length with its zero), u16 4000,
           "This file was created by TARVO software, Inc." and its zero
  transparency: u32 count (at most 10, as many as an image keeps), count x 28 bytes (seven i32)
  rotation: i32, the image's 16-bit rotation angle
  frame: u16 w, u16 h, u16 bits, u16 palette flag, u16 1, u32 image bytes (stride x h),
         u16 chunk size, palette (flag set), then chunks: u16 length, u8 kind (1 zlib,
         0 stored), data. The stride is ((w * bits + 31) // 32) * 4. The chunk size is
         20 x stride, but 4000 when the stride is below 200 and at most 32000, and never less
         than one row. Each chunk unpacks to at most the chunk size: as many whole rows as fit
         it, top row first, and the rest in the last chunk. A chunk is stored only when zlib
         cannot pack its rows into the chunk size. The first frame has the size, depth and
         palette of the header.
"""
import struct
import sys
import zlib

MAGIC = b"TarvoBMIa"
COMMENT_TEXT = b"This file was created by TARVO software, Inc.\0"
COMMENT_WORD = 4000
HEADER_SIZE = 21
DIRECTORY_COUNT = 6
DIRECTORY_ENTRY_SIZE = 6
FRAME_HEADER_SIZE = 16
CHUNK_HEADER_SIZE = 3
MAX_TRANSPARENCY_ENTRIES = 10
TRANSPARENCY_ENTRY_SIZE = 28
DEPTHS = (1, 4, 8, 16, 24, 32)

FRAME, COMMENT, TRANSPARENCY, ROTATION, END = 1, 3, 5, 7, 255
NEW_FILE_DIRECTORY = [COMMENT, TRANSPARENCY, ROTATION, FRAME, COMMENT, END]
APPENDED_DIRECTORY = [COMMENT, TRANSPARENCY, ROTATION, FRAME, FRAME, END]

STORED, DEFLATED = 0, 1


class Bad(Exception):
    pass


class Reader:
    """Bounded little-endian reads at offsets counted from the base of the BMI data."""

    def __init__(self, data, base):
        if base < 0 or base > len(data):
            raise Bad("base offset %d lies outside the file of %d bytes" % (base, len(data)))
        self.data = data
        self.base = base

    def size(self):
        return len(self.data) - self.base

    def take(self, at, count):
        if at < 0 or count < 0 or at + count > self.size():
            raise Bad("read of %d bytes at %d runs past the end" % (count, at))
        start = self.base + at
        return self.data[start:start + count]

    def unpack(self, at, fmt):
        return struct.unpack("<" + fmt, self.take(at, struct.calcsize("<" + fmt)))


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def expected_chunk_size(row):
    # Never below one row: a row longer than the cap still needs a chunk it fits in.
    rule = 4000 if row < 200 else min(20 * row, 32000)
    return max(rule, row)


def check(condition, message, *args):
    if not condition:
        raise Bad(message % args)


def check_depth(bits, flag, where):
    check(bits in DEPTHS, "%s depth of %d bits", where, bits)
    wanted = 1 if bits <= 8 else 0
    check(flag == wanted, "%s palette flag %d with %d bits (must be %d)", where, flag, bits, wanted)


def read_palette(r, at, count, where):
    palette = [list(r.take(at + 4 * i, 4)) for i in range(count)]
    for i, entry in enumerate(palette):
        check(entry[3] == 0, "%s palette entry %d has %d in its fourth byte", where, i, entry[3])
    return palette


def read_header(r):
    check(r.take(0, len(MAGIC)) == MAGIC, "magic %r", r.take(0, len(MAGIC)))
    w, h, flag, bits, one, count = r.unpack(len(MAGIC), "HHHHHH")
    check(w > 0 and h > 0, "picture of %dx%d", w, h)
    check_depth(bits, flag, "header")
    check(one == 1, "header word at 17 is %d, not 1", one)
    check(count == DIRECTORY_COUNT, "%d directory entries, not %d", count, DIRECTORY_COUNT)
    return [w, h, flag, bits, one, count]


def read_directory(r, at, count):
    directory = [list(r.unpack(at + DIRECTORY_ENTRY_SIZE * i, "HI")) for i in range(count)]
    types = [kind for kind, _ in directory]
    check(types in (NEW_FILE_DIRECTORY, APPENDED_DIRECTORY), "directory types %s", types)
    if types == NEW_FILE_DIRECTORY:
        check(directory[4][1] == directory[0][1],
              "spare slot names offset %d, the comment is at %d", directory[4][1], directory[0][1])
    return directory


def read_comment(r, at):
    zero, length, word = r.unpack(at, "HIH")
    check(zero == 0, "comment starts with %d, not 0", zero)
    check(length == len(COMMENT_TEXT), "comment length %d, not %d", length, len(COMMENT_TEXT))
    check(word == COMMENT_WORD, "comment word %d, not %d", word, COMMENT_WORD)
    text = r.take(at + 8, length)
    check(text == COMMENT_TEXT, "comment text %r", text)
    return [zero, length, word, text[:-1].decode("latin-1")], at + 8 + length


def read_transparency(r, at):
    (count,) = r.unpack(at, "I")
    check(count <= MAX_TRANSPARENCY_ENTRIES, "%d transparency entries, at most %d",
          count, MAX_TRANSPARENCY_ENTRIES)
    first = at + 4
    entries = [list(r.unpack(first + TRANSPARENCY_ENTRY_SIZE * i, "7i")) for i in range(count)]
    return entries, first + TRANSPARENCY_ENTRY_SIZE * count


def read_rotation(r, at):
    (angle,) = r.unpack(at, "i")
    check(-0x8000 <= angle <= 0x7FFF, "rotation angle %d is not a 16-bit value", angle)
    return angle, at + 4


def inflate(payload, capacity):
    unpacker = zlib.decompressobj()
    try:
        unpacked = unpacker.decompress(payload, capacity + 1)
    except zlib.error as e:
        raise Bad("compressed chunk of %d bytes is no zlib stream: %s" % (len(payload), e))
    check(len(unpacked) <= capacity, "chunk inflates to more than the chunk size %d", capacity)
    check(unpacker.eof, "compressed chunk of %d bytes ends before its zlib stream", len(payload))
    check(not unpacker.unused_data, "%d bytes follow the zlib stream of a chunk",
          len(unpacker.unused_data))
    return unpacked


def read_chunk(r, at, capacity, want):
    """One chunk that must unpack to exactly `want` bytes; returns (facts, bytes, next offset)."""
    length, kind = r.unpack(at, "HB")
    payload = r.take(at + CHUNK_HEADER_SIZE, length)
    check(length <= capacity, "chunk of %d bytes is longer than the chunk size %d",
          length, capacity)
    if kind == DEFLATED:
        unpacked = inflate(payload, capacity)
    elif kind == STORED:
        unpacked = payload
        packed = zlib.compress(unpacked)
        check(len(packed) > capacity,
              "stored chunk of %d bytes packs to %d, within the chunk size %d",
              length, len(packed), capacity)
    else:
        raise Bad("chunk kind %d" % kind)
    check(len(unpacked) == want, "chunk at %d unpacks to %d bytes, not %d",
          at, len(unpacked), want)
    return [kind, length, len(unpacked)], unpacked, at + CHUNK_HEADER_SIZE + length


def read_frame(r, at, like=None):
    """A frame block; `like` is the header's (width, height, bits, palette) for the first frame."""
    w, h, bits, flag, one, image_bytes, chunk_size = r.unpack(at, "HHHHHIH")
    check(w > 0 and h > 0, "frame at %d of %dx%d", at, w, h)
    check_depth(bits, flag, "frame")
    if like:
        check([w, h, bits] == like[:3], "first frame %s differs from the header %s",
              [w, h, bits], like[:3])
    check(one == 1, "frame word at 8 is %d, not 1", one)
    row = stride(w, bits)
    check(image_bytes == row * h, "frame image bytes %d, not %d", image_bytes, row * h)
    check(chunk_size > 0, "chunk size 0")
    check(chunk_size >= row, "chunk size %d is below the row of %d bytes", chunk_size, row)
    wanted = expected_chunk_size(row)
    check(chunk_size == wanted, "chunk size %d for rows of %d bytes, not %d",
          chunk_size, row, wanted)
    pos = at + FRAME_HEADER_SIZE
    count = (1 << bits) if flag else 0
    frame = {"head": [w, h, bits, flag, one, image_bytes, chunk_size],
             "palette": read_palette(r, pos, count, "frame")}
    if like:
        check(frame["palette"] == like[3], "first frame palette differs from the header's")
    pos += 4 * count
    rows_per_chunk = chunk_size // row
    rows, chunks = [], []
    while len(rows) < h:
        want = min(rows_per_chunk, h - len(rows)) * row
        facts, unpacked, pos = read_chunk(r, pos, chunk_size, want)
        chunks.append(facts)
        rows.extend(unpacked[i:i + row].hex() for i in range(0, want, row))
    frame["chunks"] = chunks
    frame["rows"] = rows
    return frame, pos


def check_next(block, at, expected):
    check(at == expected, "%s block at %d, where the block before ends at %d", block, at, expected)


def read(data, base):
    r = Reader(data, base)
    head = read_header(r)
    out = {"head": head}
    w, h, flag, bits, _, count = head
    pos = HEADER_SIZE
    entries = (1 << bits) if flag else 0
    out["palette"] = read_palette(r, pos, entries, "header")
    pos += 4 * entries
    directory = read_directory(r, pos, count)
    out["directory"] = directory
    pos += DIRECTORY_ENTRY_SIZE * count
    offsets = dict(enumerate(offset for _, offset in directory))

    check_next("comment", offsets[0], pos)
    out["comment"], pos = read_comment(r, offsets[0])
    check_next("transparency", offsets[1], pos)
    out["transparency"], pos = read_transparency(r, offsets[1])
    check_next("rotation", offsets[2], pos)
    out["rotation"], pos = read_rotation(r, offsets[2])

    frames = []
    for kind, offset in directory:
        if kind == FRAME:
            check_next("frame", offset, pos)
            like = None if frames else [w, h, bits, out["palette"]]
            frame, pos = read_frame(r, offset, like)
            frames.append(frame)
    out["frames"] = frames

    out["end"] = directory[-1][1]
    check(out["end"] == pos, "end entry %d, the last block ends at %d", out["end"], pos)
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


def fail(message):
    print("error %s" % message)
    print("bmi_layout_reader: %s" % message, file=sys.stderr)
    return 1


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    try:
        with open(sys.argv[1], "rb") as f:
            data = f.read()
        base = int(sys.argv[2]) if len(sys.argv) == 3 else 0
        found = lines(read(data, base))
    except (Bad, OSError, ValueError, zlib.error) as e:
        return fail(e)
    print("\n".join(found))
    return 0


if __name__ == "__main__":
    sys.exit(main())
