#!/usr/bin/env python3
"""The resource compiler's BITMAP, CURSOR and ICON statements, run as the build runs them: the
pictures they name become the module's binary resources in their stored forms, the files they read
are listed for the build, and mistakes are errors naming file and line."""

import os
import struct
import sys
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "platform", "tools", "rescomp"))

import pix  # noqa: E402
from test_rescomp import RescompCase  # noqa: E402

# 3 x 2, a transparent letter.
DOT = "size 3 2\ndepth 4\npalette r red\npalette k black\ntransparent .\nr.k\n.rr\n"
# 2 x 2, opaque.
SQUARE = "size 2 2\ndepth 1\npalette k black\npalette w white\nkw\nwk\n"


def directory(kind, entries):
    """An .ico (kind 1) or .cur (kind 2) file of (word x, word y, picture)."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    body = b""
    for word_x, word_y, picture in entries:
        head += struct.pack("<BBBBHHII", 0, 0, 0, 0, word_x, word_y, len(picture), offset + len(body))
        body += picture
    return head + body


class PictureCase(RescompCase):
    def setUp(self):
        super().setUp()
        os.makedirs(os.path.join(self.dir, "art"))
        self.dot = self.write("art/dot.pix", DOT)
        self.square = self.write("art/square.pix", SQUARE)

    def write_bytes(self, name, data):
        with open(os.path.join(self.dir, name), "wb") as f:
            f.write(data)

    def picture(self, path):
        return pix.read_pix(path)

    def table(self, rsrc_text):
        """The module's binary resources as the generated program prints them: (type, id, name,
        bytes), in the table's order."""
        rsrc = self.write("m.rsrc", textwrap.dedent(rsrc_text))
        result = self.rescomp([rsrc])
        self.assertEqual(result.returncode, 0, result.stderr)
        rows = []
        for line in self.compile_and_run():
            if line.startswith("resource "):
                _, rtype, id_, name, data, aligned = line.split(" ")
                self.assertEqual(aligned, "aligned")
                rows.append((int(rtype), int(id_), bytes.fromhex(name).decode("cp1250") if name != "-" else None,
                             bytes.fromhex(data)))
        return rows


class Statements(PictureCase):
    def test_pictures_become_stored_forms_in_the_table(self):
        dot, square = self.picture(self.dot), self.picture(self.square)
        self.write_bytes("art/two.ico", directory(1, [(1, 1, pix.icon_dib(square)), (1, 4, pix.icon_dib(dot))]))
        self.write_bytes("art/hand.cur", directory(2, [(1, 0, pix.icon_dib(square))]))
        rows = self.table("""
            BITMAP "Dot" art/dot.pix MASK "dot_t"   // names are kept upper case
            BITMAP 11001 "art/square.pix"
            CURSOR "hand" art/dot.pix HOTSPOT 2 1
            CURSOR 5 art/hand.cur
            CURSOR 6 art/square.pix
            ICON 1 art/two.ico INDEX 1
            ICON "SQ" art/square.pix
            """)
        self.assertEqual(rows, [
            (1, 5, None, struct.pack("<HH", 1, 0) + pix.icon_dib(square)),  # the file's hot spot
            (1, 6, None, struct.pack("<HH", 0, 0) + pix.icon_dib(square)),  # top left for a .pix
            (1, 0, "HAND", struct.pack("<HH", 2, 1) + pix.icon_dib(dot)),
            (2, 11001, None, pix.bitmap_dib(square)),
            (2, 0, "DOT", pix.bitmap_dib(dot)),
            (2, 0, "DOT_T", pix.mask_dib(dot)),
            (3, 1, None, pix.icon_dib(dot)),
            (3, 0, "SQ", pix.icon_dib(square)),
        ])

    def test_files_are_found_beside_the_resource_file_and_listed_for_the_build(self):
        rsrc = self.write("m.rsrc", "ICON 1 art/dot.pix\nBITMAP 2 \"art/square.pix\"\n")
        depfile = os.path.join(self.dir, "out.d")
        elsewhere = os.getcwd()
        try:
            os.chdir(os.path.dirname(self.dir))  # the files are not found from here
            result = self.rescomp([rsrc], options=["--depfile", depfile])
        finally:
            os.chdir(elsewhere)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(depfile, encoding="utf-8") as f:
            listed = f.read().replace("\\\n", " ").split()
        self.assertEqual(listed, [os.path.abspath(self.output) + ":", rsrc, self.dot, self.square])


class StatementErrors(PictureCase):
    # (what, resource text, other files, file and line reported, fragment of the message)
    CASES = [
        ("bitmap from an icon file", 'BITMAP 1 art/x.ico\n', {}, ("m.rsrc", 1), ".pix or .bmp"),
        ("icon from a bitmap file", '\nICON 1 art/x.bmp\n', {}, ("m.rsrc", 2), ".pix or .ico"),
        ("missing picture", 'ICON 1 art/none.pix\n', {}, ("m.rsrc", 1), "none.pix: cannot read"),
        ("no file", 'ICON 1\nICON 2 art/dot.pix\n', {}, ("m.rsrc", 2), "not 'ICON'"),
        ("number for a file", 'ICON 1 2\n', {}, ("m.rsrc", 1), "file's path"),
        ("name neither id nor text", 'ICON DOT art/dot.pix\n', {}, ("m.rsrc", 1), "id or quoted name"),
        ("id past a WORD", 'ICON 65536 art/dot.pix\n', {}, ("m.rsrc", 1), "65536"),
        ("mask of an opaque picture", 'BITMAP 1 art/square.pix\n  MASK 2\n', {}, ("m.rsrc", 2), "transparent"),
        ("mask twice", 'BITMAP 1 art/dot.pix MASK 2 MASK 3\n', {}, ("m.rsrc", 1), "MASK is given twice"),
        ("mask named as the bitmap", 'BITMAP 1 art/dot.pix MASK 1\n', {}, ("m.rsrc", 1), "already defined"),
        ("hot spot one past the width", 'CURSOR 1 art/dot.pix HOTSPOT 3 0\n', {}, ("m.rsrc", 1), "off the picture of 3 x 2"),
        ("hot spot one past the height", 'CURSOR 1 art/dot.pix HOTSPOT 0 2\n', {}, ("m.rsrc", 1), "0 2"),
        ("index of a .pix", 'ICON 1 art/dot.pix INDEX 0\n', {}, ("m.rsrc", 1), "INDEX"),
        ("fault inside the picture", 'ICON 1 art/bad.pix\n', {"art/bad.pix": "size 2 1\ndepth 1\npalette a black\naaa\n"},
         ("art/bad.pix", 4), "row of 3 letters"),
        ("damaged icon file", '\n\nICON 1 art/bad.ico\n', {"art/bad.ico": "\0\0\1\0\1\0"}, ("m.rsrc", 3), "bad.ico: a directory"),
        ("two of a name", 'ICON "A" art/dot.pix\nICON "a" art/square.pix\n', {}, ("m.rsrc", 2), "ICON \"A\" is already"),
    ]

    def test_errors_name_file_and_line_and_write_nothing(self):
        for what, text, files, (bad_file, line), fragment in self.CASES:
            with self.subTest(what):
                for name, content in files.items():
                    self.write(name, content)
                result = self.rescomp([self.write("m.rsrc", text)])
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertTrue(result.stderr.startswith(f"{os.path.join(self.dir, bad_file)}:{line}: "), result.stderr)
                self.assertIn(fragment, result.stderr)
                self.assertFalse(os.path.exists(self.output))

    def test_the_last_pixel_is_a_hot_spot(self):
        result = self.rescomp([self.write("m.rsrc", "CURSOR 1 art/dot.pix HOTSPOT 2 1\n")])
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    unittest.main()
