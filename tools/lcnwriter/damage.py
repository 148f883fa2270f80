"""Damaged variants of a document, made deterministically from a seed, for the
tests that prove readers fail cleanly.

Each variant damages one thing: the file cut at a byte; one page record cut
at a byte; a length field of a page record pointing past the record; a count
set to 0x7FFF or 0xFFFF (0x7F or 0xFF in one byte); a table of more than 16,383 cells; an object slot
longer than its item; a compressed page whose chunk does not inflate; link
frames whose two length bytes disagree.  object_variants damages the object
lists alone, every kind on every object, without a seed.  The
encoders mark where their counts and lengths lie, so the damage lands on the
field named, and the same seed gives the same variants.
"""

import json
import os
import random
import struct
import zlib
from dataclasses import dataclass

from . import document, formats, reference, vazazi

CHUNK_PACKED = struct.Struct("<BHH")


@dataclass
class Variant:
    name: str
    data: bytes          # the damaged .lcn
    table: int           # damaged record (0, 0 for the file as a whole)
    index: int
    what: str            # the damage, in words
    fails: str           # "open", "read" (the store refuses the record), "store" (the store
                         # refuses the file or one of its records), "parse" (the record's reader must)
                         # or "cut" (the reader reads the record, cutting the damaged list short)


def _rebuild(doc, key, body, compressed=None, raw=None):
    """The document's own container with one record body replaced."""
    built = doc.containers[0].built
    defs = dict(built.defs)
    old = defs[key]
    defs[key] = vazazi.RecordDef(body, old.compressed if compressed is None else compressed,
                                 old.version, raw=raw)
    return vazazi.build(defs, title=built.title).data


def _patch(body, offset, width, value):
    b = bytearray(body)
    b[offset:offset + width] = value.to_bytes(width, "little")
    return bytes(b)


def _field_value(body, offset, width):
    return int.from_bytes(body[offset:offset + width], "little")


def _is_count(name):
    """Counts whose wrong value a reader must refuse.  A string list's free
    count is not one: a reader that finds no free slot resets it."""
    last = name.rsplit(".", 1)[-1]
    return last in ("count", "rows", "columns")


def _extreme(value, width):
    """0x7FFF or 0xFFFF (the largest signed and unsigned 16-bit counts) for a
    field of 'width' bytes: a one-byte count takes 0x7F or 0xFF."""
    return value >> 8 * (2 - width) if width < 2 else value


def length_past(doc, key, buf, mark, rng):
    name, offset, width = mark
    past = len(buf) - offset - width + 1 + rng.randrange(0, 64)
    value = min(past, (1 << (8 * width)) - 1)
    return Variant("", _rebuild(doc, key, _patch(buf.bytes(), offset, width, value)), *key,
                   "%s set to %d, past the record's end" % (name, value), "parse")


def count_set(doc, key, buf, mark, value):
    name, offset, width = mark
    value = _extreme(value, width)
    return Variant("", _rebuild(doc, key, _patch(buf.bytes(), offset, width, value)), *key,
                   "%s set to 0x%X" % (name, value), "parse")


def table_too_big(doc, key, buf, rows_mark, columns_mark):
    body = _patch(buf.bytes(), rows_mark[1], 2, 200)
    body = _patch(body, columns_mark[1], 2, 100)
    return Variant("", _rebuild(doc, key, body), *key,
                   "%s x %s set to 200 x 100 (20,000 cells)" % (rows_mark[0], columns_mark[0]),
                   "parse")


def cut_record(doc, key, buf, at):
    what = "page record" if key[0] == 2 else "record %d:%d" % key
    return Variant("", _rebuild(doc, key, buf.bytes()[:at]), *key,
                   "%s cut to %d of %d bytes" % (what, at, len(buf)), "parse")


def bad_inflate(doc, key, buf):
    """A compressed body whose one chunk claims the right lengths but holds a
    stream with a wrong checksum."""
    body = buf.bytes()
    packed = bytearray(zlib.compress(body))
    packed[-1] ^= 0xFF
    raw = struct.pack("<H", 1) + CHUNK_PACKED.pack(1, len(body), len(packed)) + bytes(packed)
    return Variant("", _rebuild(doc, key, body, 1, raw), *key,
                   "compressed page whose chunk does not inflate", "read")


SHORT_FRAME_KINDS = set(range(5, 10)) | set(range(16, 21))


def _frame_forms(kind):
    """The two L bytes a frame of a one-byte kind may carry: the length
    table's and body + 2."""
    return (formats.frame_length({"kind": kind}), formats.frame_length({"kind": kind, "frame": "body"}))


def short_link_frames(doc, key, buf):
    """Every framed link of a one-byte kind, in either valid form, given the
    table form's L in front and the body form's L behind: a frame whose two L
    bytes disagree matches neither form, so no walk can cross it."""
    body = bytearray(buf.bytes())
    found = 0
    i = 0
    while i + 4 < len(body):
        kind = body[i + 2]
        if body[i] == 20 and body[i + 4] == 20 and kind in SHORT_FRAME_KINDS \
                and body[i + 1] == body[i + 3] and body[i + 1] in _frame_forms(kind):
            body[i + 1], body[i + 3] = _frame_forms(kind)
            found += 1
            i += 5
        else:
            i += 1
    if not found:
        return None
    return Variant("", _rebuild(doc, key, bytes(body)), *key,
                   "%d one-byte link frames whose two L bytes disagree" % found, "parse")


def cut_file(doc, at):
    data = doc.files[doc.containers[0].file]
    return Variant("", data[:at], 0, 0, "file cut to %d of %d bytes" % (at, len(data)),
                   "open" if at < 288 else "store")


def variants(doc, seed, count):
    """Up to count variants (at least one of every kind the document allows)."""
    rng = random.Random(seed)
    out = []
    data = doc.files[doc.containers[0].file]
    out.append(cut_file(doc, rng.randrange(0, 288)))
    out.append(cut_file(doc, rng.randrange(288, len(data))))
    for number, buf in sorted(doc.pages.items()):
        key = (2, number)
        lengths = [m for m in buf.marks if m[0].endswith("length")]
        counts = [m for m in buf.marks if _is_count(m[0])]
        slots = [m for m in lengths if ".slot" in m[0]]
        rows = [m for m in buf.marks if m[0].endswith("table.rows")]
        out.append(cut_record(doc, key, buf, rng.randrange(0, len(buf))))
        if lengths:
            out.append(length_past(doc, key, buf, rng.choice(lengths), rng))
        if slots:
            out.append(length_past(doc, key, buf, rng.choice(slots), rng))
        for value in (0x7FFF, 0xFFFF):
            if counts:
                out.append(count_set(doc, key, buf, rng.choice(counts), value))
        for r in rows:
            columns = next(m for m in buf.marks if m[0] == r[0][:-4] + "columns")
            out.append(table_too_big(doc, key, buf, r, columns))
        out.append(bad_inflate(doc, key, buf))
        short = short_link_frames(doc, key, buf)
        if short:
            out.append(short)
    for key, buf in sorted(doc.typed.items()):
        marks = [m for m in buf.marks if m[0].endswith("length") or _is_count(m[0])]
        if marks:
            out.append(count_set(doc, key, buf, rng.choice(marks), rng.choice((0x7FFF, 0xFFFF))))
        out.append(cut_record(doc, key, buf, rng.randrange(0, len(buf))))
    while len(out) < count and doc.pages:
        number = rng.choice(sorted(doc.pages))
        buf = doc.pages[number]
        marks = [m for m in buf.marks if m[0].endswith("length") or _is_count(m[0])]
        kind = rng.randrange(3)
        if kind == 0 or not marks:
            out.append(cut_record(doc, (2, number), buf, rng.randrange(0, len(buf))))
        elif kind == 1:
            out.append(length_past(doc, (2, number), buf, rng.choice(marks), rng))
        else:
            out.append(count_set(doc, (2, number), buf, rng.choice(marks), rng.choice((0x7FFF, 0xFFFF))))
    for n, v in enumerate(out):
        v.name = "%s-damaged-%02d.lcn" % (os.path.splitext(doc.containers[0].file)[0], n)
    return out


def _object_list_end(buf):
    """Offset just past a page record's object list: the end of the last
    object's last sized part (its content, or its hot-spot list)."""
    ends = [offset + width + _field_value(buf.bytes(), offset, width)
            for name, offset, width in buf.marks
            if name.startswith("objects.object") and name.count(".") == 3 and name.endswith(".length")]
    return max(ends, default=None)


def _slot_past_item(doc, key, buf, slot_mark, item_mark):
    """A slot whose length runs one to three bytes past the end of its object's
    attribute item, still inside the record: the reader cuts the item's slots
    there and reads the rest of the page."""
    _, item_offset, item_width = item_mark
    item_end = item_offset + item_width + _field_value(buf.bytes(), item_offset, item_width)
    name, offset, width = slot_mark
    value = item_end - (offset + width) + 1 + (offset % 3)
    return Variant("", _rebuild(doc, key, _patch(buf.bytes(), offset, width, value)), *key,
                   "%s set to %d, past its item's end" % (name, value), "cut")


def object_variants(doc):
    """Damage to the object list of each page that has objects, every kind once
    and without a seed: the object count set to 0x7FFF and 0xFFFF, each
    object's sized parts (attribute slots, content, hot spots) past the record's
    end, each slot past its own item but not past the record and each hot-spot
    count past its list ("cut": the page reads, the list ends where its bytes
    do), and the record cut right after the count, inside the first object and
    one byte before the list's end."""
    out = []
    for number, buf in sorted(doc.pages.items()):
        key = (2, number)
        count = next((m for m in buf.marks if m[0] == "objects.count"), None)
        end = _object_list_end(buf)
        if count is None or end is None:
            continue
        for value in (0x7FFF, 0xFFFF):
            out.append(count_set(doc, key, buf, count, value))
        items = {m[0]: m for m in buf.marks if m[0].startswith("objects.object") and m[0].count(".") == 3
                 and m[0].endswith(".length")}
        for name, mark in sorted(items.items()):
            past = len(buf) - mark[1] - mark[2] + 1
            out.append(Variant("", _rebuild(doc, key, _patch(buf.bytes(), mark[1], mark[2], past)), *key,
                               "%s set to %d, past the record's end" % (name, past), "parse"))
        for name, offset, width in buf.marks:
            parts = name.split(".")
            if len(parts) == 5 and parts[2] == "slots" and parts[3].startswith("slot") and parts[4] == "length":
                item = items[".".join(parts[:3]) + ".length"]
                out.append(_slot_past_item(doc, key, buf, (name, offset, width), item))
        for name, offset, width in buf.marks:
            if name.startswith("objects.object") and name.endswith(".spots.count"):
                out.append(Variant("", _rebuild(doc, key, _patch(buf.bytes(), offset, width, 0x7FFF)), *key,
                                   "%s set to 0x7FFF, more shapes than its list holds" % name, "cut"))
        start = count[1] + count[2]
        for at in (start, start + 10, end - 1):
            out.append(cut_record(doc, key, buf, at))
    for n, v in enumerate(out):
        v.name = "%s-objects-%02d.lcn" % (os.path.splitext(doc.containers[0].file)[0], n)
    return out


def _description(source):
    """A reference-set name or a description file."""
    for make in reference.ALL:
        d = make()
        if d["name"] == source:
            d.pop("beside", None)
            return d, "."
    with open(source, encoding="utf-8") as f:
        return json.load(f), os.path.dirname(os.path.abspath(source))


def write_variants(source, directory, seed=1, count=20, objects=False):
    d, folder = _description(source)
    doc = document.build(d, folder)
    os.makedirs(directory, exist_ok=True)
    made = object_variants(doc) if objects else variants(doc, seed, count)
    manifest = []
    for v in made:
        with open(os.path.join(directory, v.name), "wb") as f:
            f.write(v.data)
        manifest.append({"name": v.name, "table": v.table, "index": v.index, "fails": v.fails,
                         "damage": v.what})
    with open(os.path.join(directory, "damaged.json"), "w", encoding="utf-8") as f:
        json.dump({"seed": seed, "files": manifest}, f, indent=1, ensure_ascii=False)
    # The same as words for readers without a JSON parser: name, table, index, what fails.
    with open(os.path.join(directory, "damaged.txt"), "w", encoding="ascii") as f:
        f.writelines("variant %s %d %d %s\n" % (v.name, v.table, v.index, v.fails) for v in made)
    return made
