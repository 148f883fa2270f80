"""Character and paragraph formats, control codes in text, and link targets.

A format part is given as a dict entry; the packed form writes a u16 mask,
the u16 of bit 0x0001 when asked for, then the parts of the set bits in bit
order.  A style record is all ten parts back to back (40 bytes).
"""

from .fields import Buf, cp

UNSET_SIZE = 0x7F00

# (mask bit, name, packed size) in the order of the packed form.
PARTS = [
    (0x0002, "char", 5),
    (0x0004, "colours", 2),
    (0x0008, "shadow", 3),
    (0x0010, "indents", 8),
    (0x0020, "align", 1),
    (0x0040, "line", 2),
    (0x0080, "spacing", 4),
    (0x0100, "border", 4),
    (0x0200, "frame", 3),
    (0x0400, "marker", 8),
]
FLAG_ONLY = 0x8000


def char_format(f):
    """CharFormat: byte font, s16 size, byte weight class, byte flags; a
    missing field is written unset (255, 0x7F00, 255, flags 1)."""
    f = f or {}
    return (Buf().u8(f.get("font", 255)).u16(f.get("size", UNSET_SIZE))
            .u8(f.get("weight", 255)).u8(f.get("flags", 1)).bytes())


def _bytes(values, widths):
    b = Buf()
    for v, w in zip(values, widths):
        b.field(w, v)
    return b.bytes()


def part(name, value):
    """The packed bytes of one format part."""
    if name == "char":
        return char_format(value)
    if name in ("colours",):
        return _bytes(value, (1, 1))
    if name in ("shadow", "frame"):
        return _bytes(value, (1, 1, 1))
    if name == "indents":
        return _bytes(value, (2, 2, 2, 2))
    if name == "align":
        return _bytes([value], (1,))
    if name == "line":
        return _bytes([value], (2,))
    if name == "spacing":
        return _bytes(value, (2, 2))
    if name == "border":
        return _bytes(value, (1, 1, 1, 1))
    if name == "marker":
        # kind, numbering style, character, third byte, s16 size, byte, colour
        return _bytes(value, (1, 1, 1, 1, 2, 1, 1))
    raise ValueError("unknown format part %r" % name)


def packed_format(fmt, first_word=None, extra_mask=0, name="format."):
    """Packed format: u16 mask, [u16 first word for bit 0x0001], parts.
    extra_mask adds bits without data (0x8000 for a row that holds a table)."""
    fmt = fmt or {}
    unknown = set(fmt) - {n for _, n, _ in PARTS} - {"flag_8000"}
    if unknown:
        raise ValueError("unknown format parts %s" % sorted(unknown))
    mask = extra_mask | (FLAG_ONLY if fmt.get("flag_8000") else 0)
    body = Buf()
    if first_word is not None:
        mask |= 0x0001
        body.u16(first_word, name + "first_word")
    for bit, pname, _ in PARTS:
        if pname in fmt:
            mask |= bit
            body.raw(part(pname, fmt[pname]))
    return Buf().u16(mask, name + "mask").append(body)


STYLE_DEFAULTS = {
    "char": {"font": 0, "size": 10, "weight": 3, "flags": 0},
    "colours": [0, 255], "shadow": [255, 0, 0], "indents": [0, 0, 0, 0], "align": 0,
    "line": -100, "spacing": [0, 0], "border": [0, 0, 0, 0], "frame": [255, 0, 0],
    "marker": [0, 0, 0, 0, 0, 0, 0],
}


def style_record(style):
    """The 40-byte style record: every part in order, defaults where not given."""
    out = b"".join(part(n, style.get(n, STYLE_DEFAULTS[n])) for _, n, _ in PARTS)
    assert len(out) == 40
    return out


# ---------------------------------------------------------------- link targets

# Body after the kind byte: (member, width) in order.
_PAGE = [("page", 2), ("position", 2), ("link", 1)]
_LINK_BODIES = {2: _PAGE, 3: _PAGE, 10: [("value", 4)],
                15: [("page", 2), ("position", 2), ("word_c", 2), ("document", 1)]}
_NO_BODY = set(range(5, 10))


def link_body_fields(kind):
    if kind in _LINK_BODIES:
        return _LINK_BODIES[kind]
    if kind in _NO_BODY or kind >= 16:
        return []
    return [("page", 2)]


def link_target(link):
    """The stored LinkTarget: kind byte and the body of that kind.  The word of
    kinds 0, 1, 4 and 11-14 is given as "page" or "value"."""
    kind = link["kind"]
    b = Buf().u8(kind)
    for member, width in link_body_fields(kind):
        value = link.get(member)
        if value is None and member == "page":
            value = link.get("value", 0)
        b.field(width, value or 0)
    return b.bytes()


# The length byte of a frame in the table form: this entry (by kind 0-20; 0 past the table) + 2.
FRAME_TABLE = (3, 3, 6, 6, 3, 0, 0, 0, 0, 0, 5, 3, 3, 3, 3, 8, 0, 0, 0, 0, 3)
FRAME_FORMS = ("table", "body")


def frame_length(link):
    """L of a framed link.  "table" (the default, as the reader's own encoder
    writes): the kind's length-table entry + 2, which for the kinds with a
    one-byte body (5-9, 16-20 and above) is not the payload's length.
    "body": the body length + 2, the whole payload (L, body, L); documents
    hold this form too.  Both forms agree for every other kind."""
    form = link.get("frame", "table")
    if form not in FRAME_FORMS:
        raise ValueError("link frame form %r is none of %s" % (form, ", ".join(FRAME_FORMS)))
    kind = link["kind"]
    if form == "body":
        return len(link_target(link)) + 2
    return (FRAME_TABLE[kind] if kind < len(FRAME_TABLE) else 0) + 2


def framed_link(link, length=None):
    """20, L, body, L, 20 with L from the link's frame form, or the given L."""
    body = link_target(link)
    length = frame_length(link) if length is None else length
    return bytes([20, length]) + body + bytes([length, 20])


# ---------------------------------------------------------------- text runs

def text(runs):
    """Row text from runs: a string is text (TAB and LF included); a dict is a
    control sequence: {"char": {...}} code 1, {"colours": [t, b]} code 2,
    {"shadow": [c, dx, dy]} code 3, {"link": {...}, "text": runs} a link,
    {"raw": "hex"} bytes as they stand."""
    if isinstance(runs, (str, bytes)):
        runs = [runs]
    out = bytearray()
    for run in runs:
        if isinstance(run, (str, bytes, bytearray)):
            data = cp(run)
            if any(c < 32 and c not in (9, 10) for c in data):
                raise ValueError("control bytes belong in control runs, not in text %r" % run)
            out += data
        elif "char" in run:
            out += b"\x01" + char_format(run["char"]) + b"\x01"
        elif "colours" in run:
            out += b"\x02" + part("colours", run["colours"]) + b"\x02"
        elif "shadow" in run:
            out += b"\x03" + part("shadow", run["shadow"]) + b"\x03"
        elif "link" in run:
            out += framed_link(run["link"]) + text(run.get("text", [])) + b"\x15\x15"
        elif "raw" in run:
            out += bytes.fromhex(run["raw"])
        else:
            raise ValueError("unknown text run %r" % (run,))
    return bytes(out)
