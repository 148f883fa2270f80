#!/usr/bin/env python3
"""Pictures of the resource compiler: .pix text pixel art and our own .bmp, .ico and .cur files
made into the stored forms of bitmaps, icons and cursors, checked byte by byte."""

import os
import struct
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "platform", "tools", "rescomp"))

import pix  # noqa: E402

# A 3 x 2 picture of three colours and a transparent letter.
ARROW = """\
// three colours and a see-through letter
size 3 2
depth 4
palette r #FF0000
palette k black
palette w White
transparent .
r.k
wr.
"""


def header(width, height, depth, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, 0, image_size, 0, 0, 0, 0)


def table(*colours, entries):
    padded = list(colours) + [(0, 0, 0)] * (entries - len(colours))
    return b"".join(bytes((b, g, r, 0)) for r, g, b in padded)


class PixCase(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory(prefix="pix-test-")
        self.dir = self._dir.name

    def tearDown(self):
        self._dir.cleanup()

    def write(self, name, content):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(content.encode("utf-8") if isinstance(content, str) else content)
        return path


class StoredForms(PixCase):
    def test_bitmap_mask_and_icon_of_a_transparent_picture(self):
        picture = pix.read_pix(self.write("arrow.pix", ARROW))
        # Entries in palette order; the transparent letter shares black's entry 1.
        colours = table((255, 0, 0), (0, 0, 0), (255, 255, 255), entries=16)
        # 4-bit rows padded to 4 bytes, bottom row first: "wr." = 2 0 1 -> 0x20 0x10;
        # "r.k" = 0 1 1 -> 0x01 0x10.
        colour_rows = bytes.fromhex("20100000" "01100000")
        self.assertEqual(pix.bitmap_dib(picture), header(3, 2, 4, 8) + colours + colour_rows)
        # Mask rows, bottom first: "wr." -> 001 -> 0x20; "r.k" -> 010 -> 0x40.
        mask_rows = bytes.fromhex("20000000" "40000000")
        white = (255, 255, 255)
        self.assertEqual(pix.mask_dib(picture), header(3, 2, 1, 8) + table((0, 0, 0), white, entries=2) + mask_rows)
        self.assertEqual(pix.icon_dib(picture), header(3, 4, 4, 16) + colours + colour_rows + mask_rows)

    def test_depths_pack_their_rows(self):
        # (depth, palette lines, rows, the stored rows bottom first)
        cases = [
            (1, ["a black", "b white"], ["abbbbbbba", "baaaaaaab"], "80800000" "7f000000"),
            (8, ["a black", "b #010203"], ["ab", "ba"], "01000000" "00010000"),
            # 24-bit: blue, green, red a pixel; 2 pixels = 6 bytes padded to 8.
            (24, ["a #102030", "b navy"], ["ab", "ba"], "800000302010" "0000" "302010800000" "0000"),
        ]
        for depth, palette, rows, stored in cases:
            with self.subTest(depth=depth):
                text = f"size {len(rows[0])} {len(rows)}\ndepth {depth}\n"
                text += "".join(f"palette {line}\n" for line in palette) + "\n".join(rows) + "\n"
                picture = pix.read_pix(self.write("p.pix", text))
                dib = pix.bitmap_dib(picture)
                table_bytes = 4 << depth if depth <= 8 else 0
                self.assertEqual(dib[40 + table_bytes :], bytes.fromhex(stored))
                self.assertEqual(struct.unpack_from("<H", dib, 14)[0], depth)

    def test_transparent_pixels_of_24_bit_pictures_are_black_and_opaque_picture_has_no_mask(self):
        text = "size 2 1\ndepth 24\npalette a #FFFFFF\npalette b #00FF00\ntransparent b\nab\n"
        picture = pix.read_pix(self.write("t.pix", text))
        self.assertEqual(pix.bitmap_dib(picture)[40:], bytes.fromhex("ffffff000000" "0000"))
        opaque = pix.read_pix(self.write("o.pix", "size 2 1\ndepth 1\npalette a black\naa\n"))
        self.assertIsNone(opaque.mask)
        # An icon without a transparent letter is opaque throughout: its mask rows are all 0.
        self.assertEqual(pix.icon_dib(opaque)[-4:], bytes(4))

    def test_cursor_resource_puts_the_hot_spot_first(self):
        self.assertEqual(pix.cursor_resource((5, 258), b"DIB"), bytes.fromhex("0500" "0201") + b"DIB")


class PixErrors(PixCase):
    # (what, file text, line reported, fragment of the message)
    CASES = [
        ("row too short", "size 3 2\ndepth 1\npalette a black\naaa\naa\n", 5, "row of 2 letters"),
        ("row too long", "size 3 1\ndepth 1\npalette a black\naaaa\n", 4, "row of 4 letters"),
        ("unknown letter", "size 3 1\ndepth 1\npalette a black\n\naXa\n", 5, "'X' in column 2"),
        ("too many rows", "size 1 1\ndepth 1\npalette a black\na\na\n", 5, "2 rows"),
        ("too few rows", "size 1 2\ndepth 1\npalette a black\na\n", 5, "1 rows"),
        (
            "three colours at depth 1",
            "size 1 1\ndepth 1\npalette a black\npalette b white\npalette c red\na\n",
            7,
            "3 colours for depth 1",
        ),
        (
            "transparent letter takes an entry when there is no black",
            "size 1 1\ndepth 1\npalette a red\npalette b white\ntransparent .\na\n",
            7,
            "3 colours for depth 1",
        ),
        (
            "seventeen colours at depth 4",
            "size 1 1\ndepth 4\n" + "".join(f"palette {chr(65 + i)} black\n" for i in range(17)) + "A\n",
            21,
            "17 colours for depth 4",
        ),
        ("colour not hex", "size 1 1\ndepth 1\npalette a #12345G\na\n", 3, "#12345G"),
        ("unknown colour name", "size 1 1\ndepth 1\npalette a pink\na\n", 3, "'pink'"),
        ("letter repeated", "size 1 1\ndepth 4\npalette a black\npalette a white\na\n", 4, "already"),
        ("slash is no letter", "size 1 1\ndepth 4\npalette / black\n/\n", 3, "not a letter"),
        ("side too large", "size 257 1\ndepth 1\n", 1, "'257'"),
        ("side zero", "size 0 1\ndepth 1\n", 1, "'0'"),
        ("depth 2", "size 1 1\ndepth 2\n", 2, "depth '2'"),
        ("no size", "depth 1\npalette a black\na\n", 4, "no 'size'"),
        ("no depth", "size 1 1\npalette a black\na\n", 4, "no 'depth'"),
        ("header after rows", "size 1 2\ndepth 1\npalette a black\na\npalette b white\na\n", 5, "after the rows"),
        ("unknown header", "size 1 1\ndepth 1\ncolour a black\n", 3, "'colour'"),
    ]

    def test_errors_name_file_and_line(self):
        for what, text, line, fragment in self.CASES:
            with self.subTest(what):
                path = self.write("bad.pix", text)
                with self.assertRaises(pix.PictureError) as caught:
                    pix.read_pix(path)
                message = str(caught.exception)
                self.assertTrue(message.startswith(f"{path}:{line}: "), message)
                self.assertIn(fragment, message)

    def test_transparent_letter_shares_a_black_entry(self):
        text = "size 3 1\ndepth 1\npalette w white\npalette k black\ntransparent .\nw.k\n"
        picture = pix.read_pix(self.write("mono.pix", text))
        self.assertEqual(picture.pixels, [[0, 1, 1]])
        self.assertEqual(picture.mask, [[0, 1, 0]])

    def test_the_largest_palette_of_a_depth_is_accepted(self):
        text = "size 1 1\ndepth 4\n" + "".join(f"palette {chr(65 + i)} black\n" for i in range(16)) + "P\n"
        self.assertEqual(pix.read_pix(self.write("full.pix", text)).pixels, [[15]])


def directory(kind, entries):
    """An .ico (kind 1) or .cur (kind 2) file of (width, height, word x, word y, picture)."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    body = b""
    for width, height, word_x, word_y, picture in entries:
        head += struct.pack("<BBBBHHII", width, height, 0, 0, word_x, word_y, len(picture), offset + len(body))
        body += picture
    return head + body


class BinaryFiles(PixCase):
    def setUp(self):
        super().setUp()
        self.picture = pix.read_pix(self.write("arrow.pix", ARROW))
        self.icon = pix.icon_dib(self.picture)

    def test_bmp_file_gives_its_dib(self):
        dib = pix.bitmap_dib(self.picture)
        path = self.write("a.bmp", b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 14 + 40 + 64) + dib)
        self.assertEqual(pix.bitmap_from_file(path), (dib, None))

    def test_icon_and_cursor_files_give_the_picture_asked_for(self):
        other = pix.icon_dib(pix.read_pix(self.write("o.pix", "size 1 1\ndepth 1\npalette a black\na\n")))
        ico = self.write("two.ico", directory(1, [(1, 1, 1, 1, other), (3, 2, 1, 4, self.icon)]))
        self.assertEqual(pix.icon_from_file(ico, 1), self.icon)
        self.assertEqual(pix.icon_from_file(ico, 0), other)
        cur = self.write("one.cur", directory(2, [(3, 2, 2, 1, self.icon)]))
        self.assertEqual(pix.cursor_from_file(cur, None), (self.icon, (2, 1), (3, 2)))

    def test_damaged_or_unsuitable_files_are_refused(self):
        png = pix.PNG_SIGNATURE + bytes(40)
        good = directory(1, [(3, 2, 1, 4, self.icon)])
        past_end = bytearray(good)
        struct.pack_into("<I", past_end, 6 + 8, len(self.icon) + 1)  # the picture's length
        cases = [
            ("two pictures, no index", "a.ico", directory(1, [(3, 2, 1, 4, self.icon)] * 2), None, "INDEX"),
            ("index past the last", "a.ico", good, 1, "picture 1 asked of 1"),
            ("cursor file as icon", "a.ico", directory(2, [(3, 2, 0, 0, self.icon)]), None, "not an icon file"),
            ("png picture", "a.ico", directory(1, [(3, 2, 1, 32, png)]), None, "PNG"),
            ("picture past the end", "a.ico", bytes(past_end), None, "outside the file"),
            ("directory larger than file", "a.ico", good[:6 + 15], None, "does not fit"),
            ("cut header", "a.ico", directory(1, [(3, 2, 1, 4, self.icon[:39])]), None, "cut short"),
            ("not a bmp", "a.bmp", b"XX" + bytes(60), None, "'BM'"),
        ]
        for what, name, content, index, fragment in cases:
            with self.subTest(what):
                path = self.write(name, content)
                with self.assertRaises(pix.PictureError) as caught:
                    if name.endswith(".bmp"):
                        pix.bitmap_from_file(path)
                    else:
                        pix.icon_from_file(path, index)
                self.assertIn(fragment, str(caught.exception))
                self.assertTrue(str(caught.exception).startswith(f"{path}:0: "))


if __name__ == "__main__":
    unittest.main()
