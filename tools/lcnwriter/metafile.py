"""Placeable Windows metafiles: a small encoder written from the format's record table.

A file is the 22-byte placeable header (key 0x9AC6CDD7, handle 0, bounding box, units per inch,
reserved 0, checksum = XOR of the ten words before it), the 18-byte metafile header (type 1,
header size 9 words, version 0x0300, file size in words, object count, largest record in words,
0), then records: u32 size in words (the 6-byte head included), u16 function, parameters as
16-bit words, most of them stored last argument first. The end record is 3 words, function 0.

Run as a program, it writes a small sample picture to the file named (a seed for the player's
fuzz target): metafile.py OUT.wmf
"""

import struct
import sys

PLACEABLE_KEY = 0x9AC6CDD7

# Record functions of the records written here.
EOF_RECORD = 0x0000
SET_WINDOW_ORG = 0x020B
SET_WINDOW_EXT = 0x020C
MOVE_TO = 0x0214
LINE_TO = 0x0213
RECTANGLE = 0x041B
ELLIPSE = 0x0418
POLYGON = 0x0324
POLYLINE = 0x0325
SELECT_OBJECT = 0x012D
DELETE_OBJECT = 0x01F0
CREATE_PEN = 0x02FA
CREATE_BRUSH = 0x02FC

PS_SOLID, PS_NULL = 0, 5
BS_SOLID, BS_NULL = 0, 1


class Metafile:
    """Records added one by one; objects take the smallest free slot, as a player numbers them."""

    def __init__(self):
        self.records = []
        self.slots = []
        self.most_objects = 0

    def record(self, function, *words):
        body = struct.pack("<%dh" % len(words), *words) if words else b""
        self.records.append(struct.pack("<IH", 3 + len(body) // 2, function) + body)

    def window(self, x, y, width, height):
        self.record(SET_WINDOW_ORG, y, x)
        self.record(SET_WINDOW_EXT, height, width)

    def _take(self):
        slot = self.slots.index(False) if False in self.slots else len(self.slots)
        if slot == len(self.slots):
            self.slots.append(True)
        self.slots[slot] = True
        self.most_objects = max(self.most_objects, len(self.slots))
        return slot

    def pen(self, style, width, colour):
        """A pen of a style, width in logical units and COLORREF; its slot."""
        self.records.append(struct.pack("<IHHhhI", 8, CREATE_PEN, style, width, 0, colour))
        return self._take()

    def brush(self, style, colour, hatch=0):
        self.records.append(struct.pack("<IHHIH", 7, CREATE_BRUSH, style, colour, hatch))
        return self._take()

    def select(self, slot):
        self.record(SELECT_OBJECT, slot)

    def delete(self, slot):
        self.record(DELETE_OBJECT, slot)
        self.slots[slot] = False

    def box(self, function, left, top, right, bottom):
        """A rectangle or ellipse: the right and bottom edges are outside."""
        self.record(function, bottom, right, top, left)

    def points(self, function, points):
        """A polygon or polyline; points are (x, y) pairs stored x first."""
        flat = [c for p in points for c in p]
        self.record(function, len(points), *flat)

    def line(self, x0, y0, x1, y1):
        self.record(MOVE_TO, y0, x0)
        self.record(LINE_TO, y1, x1)

    def bytes(self, box, inch):
        """The file: placeable with box (left, top, right, bottom) of 'inch' units per inch."""
        left, top, right, bottom = box
        head = struct.pack("<IHhhhhHI", PLACEABLE_KEY, 0, left, top, right, bottom, inch, 0)
        checksum = 0
        for (word,) in struct.iter_unpack("<H", head):
            checksum ^= word
        end = struct.pack("<IH", 3, EOF_RECORD)
        body = b"".join(self.records) + end
        largest = max(len(r) for r in self.records + [end]) // 2
        header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, self.most_objects, largest, 0)
        return head + struct.pack("<H", checksum) + header + body


def sample():
    """A red-bordered yellow square with a blue ellipse, a line and a green triangle, 40 x 30."""
    m = Metafile()
    m.window(0, 0, 40, 30)
    pen, brush = m.pen(PS_SOLID, 1, 0x0000FF), m.brush(BS_SOLID, 0x00FFFF)
    m.select(pen), m.select(brush)
    m.box(RECTANGLE, 0, 0, 40, 30)
    m.box(ELLIPSE, 5, 5, 35, 25)
    m.line(0, 29, 39, 0)
    m.points(POLYGON, [(20, 2), (37, 27), (3, 27)])
    m.delete(pen), m.delete(brush)
    return m.bytes((0, 0, 40, 30), 96)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        sys.exit(2)
    with open(sys.argv[1], "wb") as f:
        f.write(sample())
