"""Entity records of the drawing file, built from the layout tables field by field.

Offsets are those of the record in memory (the file leaves out its first 8 bytes, or the first 4
when the file carries levels). Pointer fields (the next link, an insert's block, an image's row
table) are written as 0."""

import struct

KINDS = {
    "polyline": 0x10, "arc": 0x20, "text": 0x30, "dimension": 0x40, "attdef": 0x50,
    "polyline3d": 0x70, "insert": 0xA0, "reference": 0xE0, "image": 0xF0,
}


def short(text):
    data = text.encode("cp1250") if isinstance(text, str) else bytes(text)
    if len(data) > 255:
        raise ValueError("a short string holds 255 bytes at most: %r" % text)
    return bytes([len(data)]) + data


def d(value):
    return struct.pack("<d", float(value))


def point(p):
    return d(p[0]) + d(p[1])


def head(e, kind):
    """The 12-byte head: next 0, level, kind byte, layer, colour, width."""
    return (b"\0\0\0\0" + struct.pack("<f", float(e.get("level", 0))) +
            bytes([kind | e.get("flags", 0), e.get("layer", 0), e.get("colour", 0), e.get("width", 0)]))


def _polyline(e, three_d):
    vertices = e["vertices"]
    body = struct.pack("<f", float(e.get("aux", 0))) + bytes([0, e.get("end", 0), e.get("style", 0),
                                                              len(vertices) - 1])
    for v in vertices:
        body += b"".join(d(c) for c in (v if three_d else v[:2]))
    return body


def _text_fields(e):
    return (point(e["at"]) + d(e.get("height", 1)) + d(e.get("charwidth", 1)) + d(e.get("angle", 0)) +
            b"\0\0\0" + bytes([e.get("justify", 0)]))


def payload(e):
    kind = e["kind"]
    if kind == "polyline":
        return _polyline(e, False)
    if kind == "polyline3d":
        return _polyline(e, True)
    if kind == "arc":
        return point(e["centre"]) + point(e["start"]) + point(e["end"]) + b"\0\0\0" + bytes([e.get("type", 0)])
    if kind == "text":
        return _text_fields(e) + short(e["text"])
    if kind == "attdef":
        return (_text_fields(e) + short(e.get("tag", "")) + short(e.get("default", "")) +
                short(e.get("prompt", "")) + struct.pack("<H", e.get("flags16", 0)))
    if kind == "dimension":
        pts = e["points"]
        return (b"".join(point(p) for p in pts) + d(e.get("value", 0)) + b"\0\0\0" +
                bytes([e.get("style", 0)]) + short(e.get("text", "")))
    if kind == "insert":
        attributes = e.get("attributes", [])
        scale = e.get("scale", [1, 1])
        body = (d(scale[0]) + d(scale[1]) + d(e.get("angle", 0)) + b"\0\0\0\0" +
                bytes([e.get("display", 0), 0, 0, len(attributes)]) + point(e["at"]))
        body += b"".join(point(a["position"]) for a in attributes)
        body += b"".join(short(a["value"]) for a in attributes)
        return body
    if kind == "reference":
        scale = e.get("scale", [1, 1])
        return d(scale[0]) + d(scale[1]) + d(e.get("angle", 0)) + point(e["at"]) + short(e["file"])
    if kind == "image":
        last = e["last"]
        pixel = e["pixel"]
        return (b"\0\0\0\0" + struct.pack("<hh", last[0], last[1]) + b"\0\0" +
                struct.pack("<H", e.get("flags16", 0)) + point(e["at"]) + d(pixel[0]) + d(pixel[1]) +
                short(e["file"]))
    raise ValueError("unknown entity kind %r" % kind)


def record(e):
    """The whole record in memory (12-byte head and payload)."""
    return head(e, KINDS[e["kind"]]) + payload(e)


# The older format: the kind byte (bit 2 = width 3), layer and colour, then the kind's older
# layout; the current record's reserved bytes and head are left out.
def older_record(e, level=None):
    kind = KINDS[e["kind"]]
    full = record(e)
    kind_byte = kind | (0x04 if e.get("width", 1) == 3 else 0)
    start = bytes([kind_byte, e.get("layer", 0), e.get("colour", 0)])
    k = e["kind"]
    if k in ("polyline", "polyline3d"):
        body = bytes([full[18], full[17]]) + full[19:]
    elif k == "arc":
        body = full[12:60] + bytes([e.get("older_type", full[63])])
    elif k in ("text", "attdef"):
        body = full[12:52] + full[55:]
    elif k == "dimension":
        body = full[12:100] + full[103:]
    elif k == "insert":
        body = full[12:40] + full[43:]
    elif k == "reference":
        body = full[12:]
    elif k == "image":
        body = full[12:20] + full[22:]
    else:
        raise ValueError(k)
    lead = struct.pack("<f", float(level)) if level is not None else b""
    return lead + start + body
