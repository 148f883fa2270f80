"""The reader's 520-byte view settings block, stored in record type 12 from
record version 2 on (byte version, u16 length, the block), with its defaults.

Fields are named here for the description; each has its offset, its kind
(b byte, w 16-bit, d 32-bit, f 7-byte font record, t 256-byte title, or a
list of one kind) and its default.
"""

from .fields import Buf, cp

SYSTEM_COLOUR = 0x40000000
NO_FONT = {"index": -1, "size": 0, "weight": 0, "flags": 0}

FIELDS = [
    ("windowFlags", 0, "b", 0x15), ("width", 1, "w", 640), ("height", 3, "w", 480),
    ("frameBand", 5, "b", 2), ("captionPicture", 6, "w", -1), ("captionFont", 8, "f", NO_FONT),
    ("captionColours", 15, ["d"] * 8, [SYSTEM_COLOUR] * 8),
    ("menuFlags", 47, "b", 3), ("menuBorder", 48, "b", 1), ("menuFont", 49, "f", NO_FONT),
    ("menuColours", 56, ["d"] * 6, [SYSTEM_COLOUR] * 6),
    ("chapterFlags", 80, "b", 3), ("chapterFont", 81, "f", NO_FONT),
    ("chapterPathFont", 88, "f", NO_FONT), ("chapterColours", 95, ["d"] * 4, [SYSTEM_COLOUR] * 4),
    ("toolbarFlags", 111, "b", 5), ("toolbarSpacing", 112, "b", 3),
    ("userToolbarPage", 113, "w", 0xFFFF), ("toolbarColour", 115, "d", SYSTEM_COLOUR),
    ("splitterFlags", 119, "b", 9), ("splitterMargin", 120, "b", 2), ("splitterWidth", 121, "b", 3),
    ("splitterPosition", 122, "w", 30), ("splitterColour", 124, "d", SYSTEM_COLOUR),
    ("dockFrameColour", 128, "d", SYSTEM_COLOUR), ("dockFlags", 132, "b", 31), ("dockGap", 133, "b", 3),
    ("treePicture", 134, "w", -1),
    # 136 and 143 the dock captions, 150-178 the five tree levels, 185 the tree font
    ("dockFonts", 136, ["f"] * 8, [NO_FONT] * 8),
    # 196 tree background, 232 tree text, 236 selection background, 240 selected text
    ("dockColours", 192, ["d"] * 13, [SYSTEM_COLOUR] * 13),
    ("display", 244, "b", 9), ("title", 245, "t", ""), ("switches", 501, "b", 0x16),
    ("highlight", 502, "d", SYSTEM_COLOUR), ("userToolbarThickness", 506, "w", 150),
    ("unused", 508, "w", 0), ("blackColour", 510, "d", 0),
    ("cursors", 514, ["w"] * 3, [0xFFFF] * 3),
]
SIZE = 520
TREE_FONTS = {"levels": 2, "treeFont": 7}      # index into dockFonts
TREE_COLOURS = {"treeBackground": 1, "treeText": 10, "treeSelection": 11, "treeSelectedText": 12}


def _font(b, f):
    f = dict(NO_FONT, **f)
    b.u16(f["index"]).u16(f["size"]).u16(f["weight"]).u8(f["flags"])


def _write(b, kind, value):
    if isinstance(kind, list):
        for k, v in zip(kind, value):
            _write(b, k, v)
    elif kind == "f":
        _font(b, value)
    elif kind == "t":
        text = cp(value)[:255]
        b.raw(text + bytes(256 - len(text)))
    else:
        b.field({"b": 1, "w": 2, "d": 4}[kind], value)


def block(values=None):
    """The 520 bytes: defaults, then the given fields.  "levels" (five font
    records), "treeFont" and the tree colours name parts of the dock lists."""
    v = {name: default for name, _, _, default in FIELDS}
    v["dockFonts"] = list(v["dockFonts"])
    v["dockColours"] = list(v["dockColours"])
    for name, value in (values or {}).items():
        if name == "levels":
            v["dockFonts"][2:2 + len(value)] = value
        elif name == "treeFont":
            v["dockFonts"][7] = value
        elif name in TREE_COLOURS:
            v["dockColours"][TREE_COLOURS[name]] = value
        elif name in v:
            v[name] = value
        else:
            raise ValueError("unknown view setting %r" % name)
    b = Buf()
    for name, offset, kind, _ in FIELDS:
        assert len(b) == offset, name
        _write(b, kind, v[name])
    assert len(b) == SIZE
    return b.bytes()


def record(values=None, version=5, length=SIZE):
    """Record type 12 of version 2 or later: byte version, u16 length, the
    first length bytes of the block."""
    return Buf().u8(version).u16(length, "settings.length").raw(block(values)[:length])
