#!/usr/bin/env python3
"""Self-test of the BMI layout reader: BMI files put together field by field here, read back
with the facts the C++ tests rely on, and damaged files that the reader must refuse."""

import os
import random
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import bmi_layout_reader as bmi  # noqa: E402

TOOL = os.path.join(HERE, "bmi_layout_reader.py")
COMMENT_TEXT = b"This file was created by TARVO software, Inc.\0"


def grey_palette(count):
    """count entries of blue, green, red, 0."""
    return b"".join(bytes([v, v, v, 0]) for v in range(0, 256, 256 // count))


class Frame:
    """One frame block; rows are whole padded rows, top first, grouped into chunks as given."""

    def __init__(self, width, height, bits, rows, chunk_size, rows_per_chunk, palette=b""):
        self.head = dict(width=width, height=height, bits=bits, flag=1 if palette else 0, one=1,
                         image_bytes=sum(len(r) for r in rows), chunk_size=chunk_size)
        self.palette = palette
        groups = [b"".join(rows[i:i + rows_per_chunk]) for i in range(0, len(rows), rows_per_chunk)]
        self.chunks = [(1, zlib.compress(g)) for g in groups]

    def store_chunk(self, index, raw):
        self.chunks[index] = (0, raw)

    def data(self):
        h = self.head
        out = struct.pack("<HHHHH", h["width"], h["height"], h["bits"], h["flag"], h["one"])
        out += struct.pack("<IH", h["image_bytes"], h["chunk_size"])
        out += self.palette
        for kind, payload in self.chunks:
            out += struct.pack("<HB", len(payload), kind) + payload
        return out


class File:
    """A whole BMI file: header, palette, six directory entries, then the blocks back to back."""

    def __init__(self, frame, entries=(), rotation=0, appended=None, prefix=b""):
        h = frame.head
        self.head = dict(magic=b"TarvoBMIa", width=h["width"], height=h["height"], flag=h["flag"],
                         bits=h["bits"], one=1, count=6)
        self.palette = frame.palette
        self.comment = struct.pack("<HIH", 0, 46, 4000) + COMMENT_TEXT
        self.transparency = struct.pack("<I", len(entries))
        self.transparency += b"".join(struct.pack("<7i", *e) for e in entries)
        self.rotation = struct.pack("<i", rotation)
        self.frames = [frame] + ([appended] if appended else [])
        self.types = [3, 5, 7, 1, 1 if appended else 3, 255]
        self.offsets = None  # computed from the block sizes unless a test sets its own
        self.prefix = prefix

    def block_offsets(self):
        at = 21 + len(self.palette) + 6 * 6
        comment = at
        transparency = comment + len(self.comment)
        rotation = transparency + len(self.transparency)
        frame = rotation + len(self.rotation)
        frames = [frame]
        for f in self.frames[:-1]:
            frames.append(frames[-1] + len(f.data()))
        end = frames[-1] + len(self.frames[-1].data())
        spare = frames[1] if len(frames) > 1 else comment
        return [comment, transparency, rotation, frames[0], spare, end]

    def data(self):
        h = self.head
        out = h["magic"] + struct.pack("<HHHHHH", h["width"], h["height"], h["flag"], h["bits"],
                                       h["one"], h["count"])
        out += self.palette
        offsets = self.offsets or self.block_offsets()
        out += b"".join(struct.pack("<HI", t, o) for t, o in zip(self.types, offsets))
        out += self.comment + self.transparency + self.rotation
        out += b"".join(f.data() for f in self.frames)
        return self.prefix + out


def rows_of(width_bytes, height, seed=0):
    """Distinct rows that zlib packs well: a row number pattern."""
    return [bytes((seed + y * 7 + x) % 251 for x in range(width_bytes)) for y in range(height)]


def one_bit_file():
    # 9 pixels at 1 bit: a row of 2 bytes padded to 4; chunks of 4000 bytes hold all 3 rows.
    rows = [b"\xff\x80\x00\x00", b"\x55\x00\x00\x00", b"\x00\x80\x00\x00"]
    return File(Frame(9, 3, 1, rows, 4000, 1000, grey_palette(2)))


def read(data, base=0):
    return bmi.read(data, base)


def output(data, base=0):
    return bmi.lines(bmi.read(data, base))


class GoodFiles(unittest.TestCase):
    def test_one_bit_file_prints_every_field(self):
        f = one_bit_file()
        data = f.data()
        # header 21 + palette 8 + directory 36 = 65; comment 54 bytes; transparency 4; rotation 4
        self.assertEqual(output(data), [
            "header 9 3 1 1 1 6",
            "palette 2",
            "directory 3:65 5:119 7:123 1:127 3:65 255:%d" % len(data),
            "comment 0 46 4000 This file was created by TARVO software, Inc.",
            "transparency 0",
            "rotation 0",
            "end %d" % len(data),
            "frame 9 3 1 1 1 12 4000 2",
            "chunk 1 %d 12" % len(f.frames[0].chunks[0][1]),
            "row ff800000",
            "row 55000000",
            "row 00800000",
        ])

    def test_each_depth_gives_its_chunk_size_and_rows(self):
        cases = [
            # width, height, bits, stride, chunk size, rows per chunk, palette entries
            (5, 2, 4, 4, 4000, 1000, 16),
            (100, 41, 8, 100, 4000, 40, 256),     # 40 rows fill a chunk, the 41st starts one
            (2000, 6, 24, 6000, 32000, 5, 0),     # 20 rows would be 120000 bytes: capped
            (3, 1, 24, 12, 4000, 1000, 0),
        ]
        for width, height, bits, stride, chunk, per, entries in cases:
            with self.subTest(width=width, bits=bits):
                rows = rows_of(stride, height)
                palette = grey_palette(entries) if entries else b""
                found = read(File(Frame(width, height, bits, rows, chunk, per, palette)).data())
                frame = found["frames"][0]
                self.assertEqual(frame["head"], [width, height, bits, 1 if entries else 0, 1,
                                                 stride * height, chunk])
                self.assertEqual(len(frame["palette"]), entries)
                self.assertEqual(len(found["palette"]), entries)
                self.assertEqual([c[2] for c in frame["chunks"]],
                                 [min(per, height - i) * stride for i in range(0, height, per)])
                self.assertEqual(frame["rows"], [r.hex() for r in rows])

    def test_chunk_size_follows_the_row_size(self):
        cases = [
            # width, bits, chunk size
            (196, 8, 4000),     # stride 196, below 200
            (200, 8, 4000),     # stride 200: 20 rows make 4000
            (204, 8, 4080),     # stride 204: 20 rows
            (1600, 8, 32000),   # stride 1600: 20 rows make exactly the cap
            (1604, 8, 32000),   # stride 1604: capped, 19 rows fit
            (1, 1, 4000),       # stride 4
            (11000, 24, 33000),  # a row longer than the cap: one row a chunk
            (21844, 24, 65532),  # the longest row whose chunk size the u16 field holds
        ]
        for width, bits, chunk in cases:
            stride = (width * bits + 31) // 32 * 4
            with self.subTest(width=width, bits=bits):
                palette = grey_palette(1 << bits) if bits <= 8 else b""
                good = File(Frame(width, 1, bits, [bytes(stride)], chunk, 1, palette))
                self.assertEqual(read(good.data())["frames"][0]["head"][6], chunk)
                for wrong in (chunk - 4, chunk + 4):
                    if wrong > 65535:
                        continue
                    bad = File(Frame(width, 1, bits, [bytes(stride)], wrong, 1, palette))
                    with self.assertRaisesRegex(bmi.Bad, "chunk size"):
                        read(bad.data())

    def test_incompressible_rows_are_stored(self):
        noise = random.Random(5)
        rows = [noise.randbytes(100) for _ in range(41)]
        frame = Frame(100, 41, 8, rows, 4000, 40, grey_palette(256))
        frame.store_chunk(0, b"".join(rows[:40]))
        found = read(File(frame).data())
        self.assertEqual(found["frames"][0]["chunks"][0], [0, 4000, 4000])
        self.assertEqual(found["frames"][0]["chunks"][1][0], 1)
        self.assertEqual(found["frames"][0]["rows"], [r.hex() for r in rows])

    def test_transparency_entries_and_rotation(self):
        entries = [(255, 0, 255, 10, 0, 0, 0), (0, 0, 7, 0, 1, 0, 0), (1, 2, 3, 4, 2, 5, 6),
                   (-1, 0, 0, 0, 0, -7, 2147483647)]
        f = File(Frame(2, 1, 24, [bytes(8)], 4000, 1), entries=entries, rotation=-90)
        found = read(f.data())
        self.assertEqual(found["transparency"], [list(e) for e in entries])
        self.assertEqual(found["rotation"], -90)
        text = output(f.data())
        self.assertIn("transparency 4", text)
        self.assertIn("entry 1 2 3 4 2 5 6", text)
        ten = File(Frame(2, 1, 24, [bytes(8)], 4000, 1), entries=[entries[0]] * 10)
        self.assertEqual(len(read(ten.data())["transparency"]), 10)

    def test_appended_frame(self):
        picture = Frame(4, 2, 8, [b"\x01\x02\x03\x04", b"\x05\x06\x07\x08"], 4000, 1000,
                        grey_palette(256))
        mask = Frame(4, 2, 1, [b"\xa0\x00\x00\x00", b"\x50\x00\x00\x00"], 4000, 1000,
                     grey_palette(2))
        f = File(picture, appended=mask)
        data = f.data()
        found = read(data)
        offsets = f.block_offsets()
        self.assertEqual(found["directory"], [[3, offsets[0]], [5, offsets[1]], [7, offsets[2]],
                                              [1, offsets[3]], [1, offsets[4]], [255, len(data)]])
        self.assertEqual(offsets[4], offsets[3] + len(picture.data()))
        self.assertEqual([fr["head"][2] for fr in found["frames"]], [8, 1])
        self.assertEqual(found["frames"][1]["rows"], ["a0000000", "50000000"])
        self.assertEqual(found["end"], len(data))

    def test_base_offset_and_trailing_bytes(self):
        plain = one_bit_file().data()
        f = one_bit_file()
        f.prefix = b"PREFIX!"
        embedded = f.data() + b"more data of the stream"
        self.assertEqual(output(embedded, 7), output(plain))
        with self.assertRaisesRegex(bmi.Bad, "magic"):
            read(embedded, 0)
        with self.assertRaisesRegex(bmi.Bad, "base offset"):
            read(plain, len(plain) + 1)


def damaged(change, maker=one_bit_file):
    f = maker()
    change(f)
    return f.data()


def two_frame_file():
    picture = Frame(4, 2, 8, rows_of(4, 2), 4000, 1000, grey_palette(256))
    mask = Frame(4, 2, 1, rows_of(4, 2), 4000, 1000, grey_palette(2))
    return File(picture, appended=mask)


def set_head(**fields):
    return lambda f: f.head.update(fields)


def set_frame(**fields):
    return lambda f: f.frames[0].head.update(fields)


def set_attr(name, value):
    return lambda f: setattr(f, name, value)


def set_chunk(kind, payload):
    def change(f):
        f.frames[0].chunks[0] = (kind, payload)
    return change


def move_offset(delta, *slots):
    def change(f):
        offsets = f.block_offsets()
        for slot in slots:
            offsets[slot] += delta
        f.offsets = offsets
    return change


ROWS_9x3 = b"\xff\x80\x00\x00\x55\x00\x00\x00\x00\x80\x00\x00"


class DamagedFiles(unittest.TestCase):
    CASES = [
        # name, change, message the reader gives
        ("magic", set_head(magic=b"TarvoBMIb"), "magic"),
        ("zero width", set_head(width=0), "picture of"),
        ("word at 17 zero", set_head(one=0), "word at 17"),
        ("word at 17 two", set_head(one=2), "word at 17"),
        ("five directory entries", set_head(count=5), "directory entries"),
        ("depth 2", set_head(bits=2), "depth"),
        ("palette flag 2", set_head(flag=2), "palette flag"),
        ("palette reserved byte", set_attr("palette", b"\x00\x00\x00\x00\xff\xff\xff\x01"),
         "fourth byte"),
        ("directory order", set_attr("types", [5, 3, 7, 1, 3, 255]), "directory types"),
        ("unknown block type", set_attr("types", [3, 5, 7, 1, 9, 255]), "directory types"),
        ("no end entry", set_attr("types", [3, 5, 7, 1, 3, 3]), "directory types"),
        ("spare slot elsewhere", move_offset(8, 4), "spare slot"),
        ("gap before the comment", move_offset(1, 0, 4), "comment block at"),
        ("rotation moved", move_offset(-1, 2), "rotation block at"),
        ("frame moved", move_offset(2, 3), "frame block at"),
        ("end before the frame ends", move_offset(-1, 5), "end entry"),
        ("end past the frame", move_offset(1, 5), "end entry"),
        ("comment lead word", set_attr("comment", struct.pack("<HIH", 1, 46, 4000) + COMMENT_TEXT),
         "comment starts"),
        ("comment length",
         set_attr("comment", struct.pack("<HIH", 0, 45, 4000) + COMMENT_TEXT[:-1]),
         "comment length"),
        ("comment word", set_attr("comment", struct.pack("<HIH", 0, 46, 4001) + COMMENT_TEXT),
         "comment word"),
        ("comment without its zero",
         set_attr("comment", struct.pack("<HIH", 0, 46, 4000) + COMMENT_TEXT[:-1] + b"!"),
         "comment text"),
        ("eleven transparency entries",
         set_attr("transparency", struct.pack("<I", 11) + bytes(28 * 11)), "transparency entries"),
        ("count 25 with 25 entries",
         set_attr("transparency", struct.pack("<I", 25) + bytes(28 * 25)), "transparency entries"),
        ("count 2 with one entry", set_attr("transparency", struct.pack("<I", 2) + bytes(28)),
         "block at"),
        ("rotation beyond 16 bits", set_attr("rotation", struct.pack("<i", 40000)), "16-bit"),
        ("frame wider than the header", set_frame(width=10), "differs from the header"),
        ("frame depth differs", set_frame(bits=4, flag=1), "differs"),
        ("frame word", set_frame(one=0), "frame word"),
        ("frame palette flag on 24 bits", set_frame(bits=24, flag=1), "palette flag"),
        ("image bytes", set_frame(image_bytes=16), "image bytes"),
        ("chunk size 0", set_frame(chunk_size=0), "chunk size 0"),
        ("chunk size below the row", set_frame(chunk_size=3), "below the row"),
        ("chunk kind 2", set_chunk(2, zlib.compress(ROWS_9x3)), "chunk kind"),
        ("rows short of the height", set_chunk(1, zlib.compress(ROWS_9x3[:8])), "unpacks to 8"),
        ("more rows than the height", set_chunk(1, zlib.compress(ROWS_9x3 + bytes(4))),
         "unpacks to 16"),
        ("part of a row", set_chunk(1, zlib.compress(ROWS_9x3[:10])), "unpacks to 10"),
        ("stored chunk longer than the chunk size", set_chunk(0, bytes(4004)), "longer than"),
        ("stored chunk that zlib packs", set_chunk(0, ROWS_9x3), "stored chunk"),
        ("not a zlib stream", set_chunk(1, b"\x00" * 12), "no zlib stream"),
        ("cut zlib stream", set_chunk(1, zlib.compress(ROWS_9x3)[:-3]), "ends before"),
        ("bytes after the zlib stream", set_chunk(1, zlib.compress(ROWS_9x3) + b"\x00"), "follow"),
        ("inflates beyond the chunk size", set_chunk(1, zlib.compress(bytes(5000))),
         "more than the chunk size"),
    ]

    def test_reader_refuses_each_damage(self):
        for name, change, message in self.CASES:
            with self.subTest(name):
                with self.assertRaisesRegex(bmi.Bad, message):
                    read(damaged(change))

    def test_first_frame_palette_must_be_the_headers(self):
        with self.assertRaisesRegex(bmi.Bad, "palette differs"):
            read(damaged(set_attr("palette", bytes(1024)), two_frame_file))

    def test_appended_frame_must_follow_the_first(self):
        with self.assertRaisesRegex(bmi.Bad, "frame block at"):
            read(damaged(move_offset(1, 4), two_frame_file))
        # the slot of the appended frame still typed as the spare comment entry
        with self.assertRaisesRegex(bmi.Bad, "spare slot"):
            read(damaged(set_attr("types", [3, 5, 7, 1, 3, 255]), two_frame_file))

    def test_appended_frame_without_pixels(self):
        for width, height in ((0, 2), (4, 0)):
            with self.subTest(width=width, height=height):
                def change(f):
                    f.frames[1].head.update(width=width, height=height, image_bytes=0)
                    f.frames[1].chunks = []
                with self.assertRaisesRegex(bmi.Bad, "frame at"):
                    read(damaged(change, two_frame_file))

    def test_every_cut_of_a_file_is_refused(self):
        data = two_frame_file().data()
        read(data)
        for size in range(len(data)):
            with self.subTest(size=size):
                with self.assertRaises(bmi.Bad):
                    read(data[:size])


class CommandLine(unittest.TestCase):
    def run_tool(self, *args):
        return subprocess.run([sys.executable, "-B", TOOL, *args], capture_output=True, text=True)

    def write(self, data):
        fd, path = tempfile.mkstemp(suffix=".bmi")
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        self.addCleanup(os.remove, path)
        return path

    def test_good_file_prints_its_lines(self):
        f = one_bit_file()
        f.prefix = b"xyz"
        done = self.run_tool(self.write(f.data()), "3")
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertEqual(done.stdout.splitlines(), output(one_bit_file().data()))

    def test_damaged_file_fails_with_a_message(self):
        done = self.run_tool(self.write(damaged(set_frame(chunk_size=0))))
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, "error chunk size 0\n")
        self.assertIn("chunk size 0", done.stderr)

    def test_unreadable_file_and_bad_base_fail(self):
        missing = self.run_tool(os.path.join(tempfile.gettempdir(), "no-such-dir", "x.bmi"))
        self.assertEqual(missing.returncode, 1)
        self.assertTrue(missing.stdout.startswith("error "))
        bad_base = self.run_tool(self.write(one_bit_file().data()), "seven")
        self.assertEqual(bad_base.returncode, 1)
        self.assertTrue(bad_base.stdout.startswith("error "))

    def test_wrong_arguments_show_usage(self):
        done = self.run_tool()
        self.assertEqual(done.returncode, 2)
        self.assertIn("bmi_layout_reader.py FILE [BASE_OFFSET]", done.stderr)


if __name__ == "__main__":
    unittest.main()
