"""The page record (table 2, record n = page n) and what it holds: rows of
styled text, tables of text frames, page objects with their attribute slots,
keyword items, related pages and the page's own style.

Page record, in reading order:
    2 bytes (0), u16 row count, the rows;
    1 byte (0), the objects (byte version, u16 count, per object ...);
    1 byte (0), 1 byte (0), the keyword items (a keyed text list);
    1 byte (0), byte format 2, u16 count, per entry u16 page, byte link, u16 link number;
    1 byte (0), the page style in its file form.
"""

from .fields import Buf
from . import formats, pagestyle, records, strings

TABLE_ROW = 0x8000
ANCHOR = 0x0001
CELL_DEFAULTS = {"colspan": 1, "rowspan": 1, "owner": 0xFFFF, "width": 100, "height": 20,
                 "contentHeight": 0, "background": 255, "picture": -1, "valign": 0,
                 "margins": [2, 2, 0, 0], "borders": [[0, 0], [0, 0], [0, 0], [0, 0]]}
# Stop written after a row's own stops: the view takes the first C - 1 of C entries.
TAB_END = (0, 0x7FFF)


# ---------------------------------------------------------------- rows

def row_record(row, extra_mask=0):
    """u32 height (0; layout overwrites it), byte style, packed format whose
    bit 0x0001 word is the paragraph's anchor number."""
    b = Buf().u32(row.get("height", 0)).u8(row.get("style", 0))
    return b.append(formats.packed_format(row.get("format"), row.get("anchor"), extra_mask))


def tab_stops(stops):
    """u16 C, C x 4 bytes.  A row with stops of its own stores them followed
    by one closing stop; a row without stores none (its style's stops hold)."""
    b = Buf()
    if not stops:
        return b.u16(0, "count")
    b.u16(len(stops) + 1, "count")
    for kind, position in list(stops) + [TAB_END]:
        b.raw(records.tab_stop(kind, position))
    return b


def row(r, name="row."):
    """One row of a page or a text frame: u16 + row record, tab stops, u16 +
    text; a table row has an empty text and its table follows."""
    b = Buf()
    table = r.get("table")
    b.sized(row_record(r, TABLE_ROW if table else 0), name=name + "record.")
    b.append(tab_stops(r.get("tabs")), name + "tabs.")
    b.sized(Buf(b"" if table else formats.text(r.get("text", ""))), name=name + "text.")
    if table:
        b.append(table_object(table), name + "table.")
    return b


# ---------------------------------------------------------------- tables

def cell_record(cell):
    c = dict(CELL_DEFAULTS)
    c.update({k: v for k, v in cell.items() if k in CELL_DEFAULTS})
    b = Buf().u16(c["colspan"]).u16(c["rowspan"]).u16(c["owner"]).u16(c["width"])
    b.u32(c["height"]).u32(c["contentHeight"]).u8(c["background"]).u16(c["picture"])
    b.u8(c["valign"])
    for m in c["margins"]:
        b.u16(m)
    for width, colour in c["borders"]:
        b.u8(width).u8(colour)
    assert len(b) == 36
    return b


def table_object(t):
    """byte kind (0), u16 rows, u16 columns, per cell u16 + text-frame record
    and u16 + 36-byte cell record.  cells: rows x columns dicts in row-major
    order, each with "rows" (its paragraphs) and cell-record fields.  With
    "sections" (255 as the reader's own tables store their cells) every cell's
    record carries that section byte, its view state (the cell's contentHeight
    as the content height) and an empty highlights byte.  A cell's "objects"
    (OBJECTs) go into its frame's object block."""
    rows, columns = t["rows"], t["columns"]
    cells = t.get("cells") or [{} for _ in range(rows * columns)]
    if len(cells) != rows * columns and not t.get("allow_short"):
        raise ValueError("a table of %d x %d needs %d cells" % (rows, columns, rows * columns))
    sections = t.get("sections")
    b = Buf().u8(t.get("kind", 0)).u16(rows, "rows").u16(columns, "columns")
    for i, cell in enumerate(cells):
        paragraphs = cell.get("rows") or [{"text": cell.get("text", "")}]
        objs = cell.get("objects", [])
        if sections is None:
            frame = text_frame(paragraphs, objects=objs)
        else:
            frame = text_frame(paragraphs, view={"height": cell.get("contentHeight", 0)},
                               highlights=[], sections=sections, objects=objs)
        b.sized(frame, name="cell%d.text." % i)
        b.sized(cell_record(cell), name="cell%d.record." % i)
    return b


def table_file(d):
    """The bytes of the `table` command: {"table": TABLE} gives the table's
    stored form alone; "patch": [[mark, value], ...] then sets named fields
    (marks such as "rows", "columns", "cell1.text.length",
    "cell0.record.length", or "cell2.owner" and the other cell-record
    fields by name), and "cut": n keeps the first n bytes."""
    b = table_object(d["table"])
    data = bytearray(b.bytes())
    fields = dict((name, (offset, width)) for name, offset, width in b.marks)
    fields.update(_cell_fields(b))
    for name, value in d.get("patch", []):
        if name not in fields:
            raise ValueError("the table has no field %s" % name)
        offset, width = fields[name]
        data[offset:offset + width] = value.to_bytes(width, "little", signed=value < 0)
    if "cut" in d:
        data = data[:d["cut"]]
    return bytes(data)


CELL_FIELDS = (("colspan", 0, 2), ("rowspan", 2, 2), ("owner", 4, 2), ("width", 6, 2),
               ("height", 8, 4), ("contentHeight", 12, 4), ("background", 16, 1),
               ("picture", 17, 2), ("valign", 19, 1))


def _cell_fields(b):
    """Where each cell record's fields lie, by the record's length mark."""
    out = {}
    for name, offset, width in b.marks:
        if name.startswith("cell") and name.endswith(".record.length"):
            cell = name[:-len(".record.length")]
            for field, at, size in CELL_FIELDS:
                out["%s.%s" % (cell, field)] = (offset + width + at, size)
    return out


def view_state(view, version):
    """u32 content height, u16 content width, u16 caret row, u16 caret offset,
    u16 third caret word, byte selection present [u16 start row, start offset,
    end row, end offset]; from version 2 u16 horizontal and u32 vertical scroll."""
    b = Buf().u32(view.get("height", 0)).u16(view.get("width", 0)).u16(view.get("caretRow", 0))
    b.u16(view.get("caretOffset", 0)).u16(view.get("caretWord", 0))
    selection = view.get("selection")
    b.u8(1 if selection else 0)
    for value in selection or []:
        b.u16(value)
    if version >= 2:
        b.u16(view.get("scrollX", 0)).u32(view.get("scrollY", 0))
    return b


def text_frame(rows, version=3, view=None, highlights=None, sections=None, objects=()):
    """Text-frame record: byte version, u16 rows, per row u16 + attributes,
    u16 tab-stop count and stops, u16 + text, u16 0 lines; then (from version
    2) the section flags: bit 0 when a view state is given, bit 1 when
    highlighted ranges are; the view state (version 1 always has one: its
    flags are taken as 1); the highlights (byte 1, per row u16 count and
    (u16 start, u16 end) ranges); then the frame's object block.  sections:
    the section byte to write instead (its view state and highlights must
    then be given)."""
    b = Buf().u8(version).u16(len(rows), "rows")
    for i, r in enumerate(rows):
        b.sized(row_record(r), name="row%d.record." % i)
        b.append(tab_stops(r.get("tabs")), "row%d.tabs." % i)
        b.sized(Buf(formats.text(r.get("text", ""))), name="row%d.text." % i)
        b.u16(0)
    if version < 2:
        view = view or {}
        highlights = None
    else:
        flags = (1 if view is not None else 0) | (2 if highlights is not None else 0)
        b.u8(flags if sections is None else sections)
    if view is not None:
        b.append(view_state(view, version), "view.")
    if highlights is not None:
        b.u8(1 if any(highlights) else 0)
        if any(highlights):
            for i in range(len(rows)):
                ranges = highlights[i] if i < len(highlights) else []
                b.u16(len(ranges), "highlights%d.count" % i)
                for start, end in ranges:
                    b.u16(start).u16(end)
    return b.append(object_block(list(objects)), "objects.")


def object_block(objects, fmt=2, current=-1, values=(-1, 0, -1, 0)):
    """The saved object block of a frame: byte format (2), u16 count, s16
    current (-1), byte record size 58, per object 58 bytes (the stored 36, then
    the page's own 22 at their new-object values) and two u16-sized texts
    (attribute slots; a text frame's content); from format 2 byte flags 1 and
    the four page values s16, byte, s16, byte (-1, 0, -1, 0)."""
    b = Buf().u8(fmt).u16(len(objects), "count").u16(current).u8(58)
    for i, o in enumerate(objects):
        b.append(object_record(o)).u32(0).u16(-1).raw(bytes(4)).u16(-1).u32(0).u16(-1)
        b.u16(0).u16(0)
        b.sized(attribute_slots(o), name="object%d.slots." % i)
        b.sized(_second_text(o), name="object%d.text." % i)
    if fmt < 2:
        return b
    first, second, third, fourth = values
    return b.u8(1).u16(first).u8(second).u16(third).u8(fourth)


# ---------------------------------------------------------------- objects

KINDS = {"picture": 1, "vector": 2, "video": 3, "sound": 4, "text": 5, "button": 7}


def object_record(o, size=36):
    """The first 36 bytes of a page object (29 for versions 4 and below)."""
    b = Buf().u16(o.get("width", 0)).u16(o.get("height", 0)).u16(o.get("x", 0))
    b.u32(o.get("y", 0))
    for s in o.get("spacing", [0, 0, 0, 0]):
        b.u16(s)
    b.u8(o.get("placement", 0)).u8(o.get("anchoring", 0)).u8(o.get("flow", 0))
    b.u16(o.get("anchorId", 0)).u8(o.get("behind", 0)).u8(o.get("borderWidth", 0))
    b.u8(o.get("borderColour", 0)).u8(KINDS.get(o.get("kind"), o.get("kind")))
    b.u16(o.get("picture", -1))
    if size == 29:
        return b
    b.u16(o.get("z", 0)).u16(-1).u16(-1).u8(o.get("active", 0))
    assert len(b) == 36
    return b


def hot_spots(spots):
    """Byte format (0), u16 count, per shape 22 bytes: s16 left, top, right,
    bottom, byte shape, byte 0, byte link flag, 7 link bytes, s16 polygon
    marker, u16 extra length; a polygon's extra data: u16 points, byte 0,
    s16 x, s16 y per point."""
    b = Buf().u8(0).u16(len(spots), "count")
    for s in spots:
        left, top, right, bottom = s["box"]
        points = s.get("points")
        shape = s.get("shape", 2 if points else 0)
        b.u16(left).u16(top).u16(right).u16(bottom).u8(shape).u8(0)
        link = s.get("link")
        body = formats.link_target(link) if link else b""
        b.u8(1 if link else 0).raw(body[:7].ljust(7, b"\0"))
        extra = Buf()
        if points:
            extra.u16(len(points)).u8(0)
            for x, y in points:
                extra.u16(x).u16(y)
        b.u16(0 if points else -1).sized(extra, name="extra.")
    return b


def _slot2(o):
    kind = o.get("kind")
    if "slot2" in o:
        return bytes.fromhex(o["slot2"])
    if kind in ("picture", "vector") and "fit" in o:
        mode, zoom, free, enlarge, enlarge_picture = o["fit"]
        return Buf().u8(mode).u16(zoom).u8(free).u8(enlarge).u16(enlarge_picture).bytes()
    if kind in ("video", "sound") and "media" in o:
        controls, at_once, repeat = o["media"]
        return bytes([controls, at_once, repeat, 0])
    if kind == "text":
        width, height = o.get("frameSize", (o.get("width", 0), o.get("height", 0)))
        b = Buf().u16(width).u16(height).u8(o.get("frameBackground", 255))
        b.u16(o.get("framePicture", -1))
        for m in o.get("frameMargins", [2, 2, 2, 2]):
            b.u16(m)
        return b.bytes()
    if kind == "button":
        pictures = list(o.get("states", [])) + [-1] * 4
        b = Buf()
        for p in pictures[:4]:
            b.u16(p)
        for _ in range(4):
            b.u16(-1)
        return b.u8(1).u8(0).bytes()
    return None


def animation(a):
    """Slot 4: u16 frame count, u16 current frame, u16 elapsed, u16 repeats
    left (0x7FFF = as created), u16 delay per frame (1/100 s)."""
    b = Buf().u16(len(a["delays"])).u16(a.get("current", 0)).u16(a.get("elapsed", 0))
    b.u16(a.get("repeats", 0x7FFF))
    for delay in a["delays"]:
        b.u16(delay)
    return b.bytes()


def scroller(sc):
    """Slot 6: s16 thumb position, s16 track length, s16 thumb length, s32 text
    height, s32 visible height, s32 scroll position of the followed text frame."""
    b = Buf().u16(sc.get("thumb", 0)).u16(sc.get("track", 0)).u16(sc.get("thumbLength", 0))
    return b.u32(sc.get("textHeight", 0)).u32(sc.get("visible", 0)).u32(sc.get("scroll", 0)).bytes()


def _old_button(o):
    """The button record of object version 5: three s16 pictures, six bytes
    (0), then the two bytes the 18-byte record ends with."""
    pictures = list(o.get("states", [])) + [-1] * 3
    b = Buf()
    for p in pictures[:3]:
        b.u16(p)
    return b.raw(bytes(6)).u8(1).u8(0).bytes()


def attribute_slots(o, version=6):
    """The object's attribute store: slots of byte number, u16 length, data."""
    slots = {}
    if "link" in o:
        slots[1] = formats.link_target(o["link"])
    second = _old_button(o) if version == 5 and o.get("kind") == "button" else _slot2(o)
    if second is not None:
        slots[2] = second
    if "hotSpots" in o:
        slots[3] = hot_spots(o["hotSpots"]).bytes()
    if "animation" in o:
        slots[4] = animation(o["animation"])
    if "scroller" in o:
        slots[6] = scroller(o["scroller"])
    for n, data in o.get("slots", {}).items():
        slots[int(n)] = bytes.fromhex(data) if isinstance(data, str) else bytes(data)
    b = Buf()
    for n, data in sorted(slots.items()):
        b.u8(n).sized(Buf(data), name="slot%d." % n)
    return b


def _second_text(o):
    if o.get("kind") == "text":
        return text_frame(o.get("rows") or [{"text": o.get("text", "")}], o.get("frameVersion", 3),
                          o.get("frameView"), o.get("frameHighlights"))
    return Buf()


def objects(objs, version=6):
    """byte version, u16 count, then per object: v5+: 36 bytes, u16 + slots,
    u16 + second text; v2-4: 29 bytes, 8 old parameter bytes, 8 old link
    bytes, u16 z-order, u16 + hot-spot list (v2/3: u16 count of 18-byte
    entries); v1 and below the same without the hot-spot list."""
    b = Buf().u8(version).u16(len(objs), "count")
    for i, o in enumerate(objs):
        if version >= 5:
            b.append(object_record(o))
            b.sized(attribute_slots(o, version), name="object%d.slots." % i)
            b.sized(_second_text(o), name="object%d.text." % i)
            continue
        b.append(object_record(o, 29)).raw(_old_parameters(o, version)).raw(_old_link(o))
        b.u16(o.get("z", 0))
        if version >= 2:
            b.sized(_old_hot_spots(o, version), name="object%d.spots." % i)
    return b


def _old_parameters(o, version):
    """Old parameter bytes.  Pictures: byte mode, u16 zoom, byte free
    proportions, s16 enlarge picture (-1 none, -2 the object's own), byte 6,
    byte 7 active.  Media: u16 show controls | play at once << 8, byte repeat."""
    if o.get("kind") in ("video", "sound"):
        controls, at_once, repeat = o.get("media", (1, 0, 0))
        return Buf().u16(controls | at_once << 8).u8(repeat).raw(bytes(5)).bytes()
    mode, zoom, free, enlarge, picture = o.get("fit", (0, 1000, 0, 0, -1))
    old = {0: -1, 1: -2}.get(enlarge, picture)
    return Buf().u8(mode).u16(zoom).u8(free).u16(old).u8(0).u8(o.get("active", 0)).bytes()


def _old_link(o):
    """Old link block: byte present, then the stored link target in 7 bytes."""
    if "link" not in o:
        return bytes(8)
    return (b"\x01" + formats.link_target(o["link"])).ljust(8, b"\0")[:8]


def _old_hot_spots(o, version):
    """Version 4: the current list; versions 2 and 3: u16 count of the first
    18 bytes of each shape (no polygons)."""
    spots = o.get("hotSpots", [])
    if version >= 4:
        return hot_spots(spots) if spots else Buf()
    b = Buf().u16(len(spots), "count")
    for s in spots:
        b.raw(hot_spots([dict(s, points=None)]).bytes()[3:3 + 18])
    return b


def objects_file(d):
    """The bytes of the `objects` command: {"objects": [OBJECT...], "objectVersion": N}
    gives the object list as a page record holds it; with "block": {"format", "current",
    "values"} (each optional) the saved object block of a text frame instead."""
    objs = d.get("objects", [])
    block = d.get("block")
    if block is None:
        return objects(objs, d.get("objectVersion", 6)).bytes()
    return object_block(objs, block.get("format", 2), block.get("current", -1),
                        tuple(block.get("values", (-1, 0, -1, 0)))).bytes()


# ---------------------------------------------------------------- page record

def keyword_items(items):
    """One byte for the page window and one for the list pane, then the keyed texts."""
    return Buf().u8(0).u8(0).append(strings.keyed_texts(items), "keywords.")


def relations(items, fmt=2):
    """One byte for the page window, then byte format, u16 count, per entry
    u16 page, byte link, and (format 2 and later) u16 link number."""
    b = Buf().u8(0).u8(fmt).u16(len(items), "relations.count")
    for item in items:
        page, link, number = (list(item) + [0, 0])[:3]
        b.u16(page).u8(link)
        if fmt >= 2:
            b.u16(number)
    return b


def page_record(p):
    """The whole page record from a page description (see the README)."""
    rows = p.get("rows") or [{"text": ""}]
    b = Buf().u16(0).u16(len(rows), "rows.count")
    for i, r in enumerate(rows):
        b.append(row(r, ""), "row%d." % i)
    b.u8(0).append(objects(p.get("objects", []), p.get("objectVersion", 6)), "objects.")
    b.append(keyword_items([tuple(k) for k in p.get("keywords", [])]))
    b.append(relations(p.get("relations", []), p.get("relationFormat", 2)))
    b.u8(0).append(pagestyle.file_form(p.get("style"), p.get("styleVersion", 5)))
    return b
