"""A whole drawing file from a description.

    signature (22 bytes), header blocks 1-3 (length word + bytes), level flag (2 bytes),
    setting blocks S1-S5 (length word + bytes), block section (per block: length -n and the
    header, then its member records, each length m and m bytes, inserts followed by the block
    name), length 0, then the entity section to the end of the file.

Every block must come after the blocks it inserts (the reader resolves names as it reads)."""

import struct

from . import records

CURRENT = b"Linework W0 Drawing\r\n\x1a"
OLDER = b"Linework 3  Drawing\r\n\x1a"
SETTING_BLOCKS = ("s1", "s2", "s3", "s4", "s5")
SETTING_SIZES = {"s1": 12, "s2": 1320, "s3": 1368, "s4": 5100, "s5": 2048}


def length(n):
    if not -32768 <= n <= 32767:
        raise ValueError("a length word holds -32768..32767, not %d" % n)
    return struct.pack("<h", n)


def counted(data):
    return length(len(data)) + data


def setting_block(spec):
    """A setting block from {"length": L, "bytes"/"ints"/"doubles"/"singles": {offset: value}}."""
    if spec is None:
        return length(0)
    data = bytearray(spec.get("length", 0))
    for offset, value in spec.get("bytes", {}).items():
        data[int(offset)] = value
    for fmt, key in (("<i", "ints"), ("<d", "doubles"), ("<f", "singles")):
        for offset, value in spec.get(key, {}).items():
            struct.pack_into(fmt, data, int(offset), value)
    return counted(bytes(data))


def _entity(e, older, in_block, levels):
    if older:
        data = records.older_record(e, e.get("level", 0) if levels and not in_block else None)
    else:
        full = records.record(e)
        data = full[4:] if levels and not in_block else full[8:]
    out = counted(data)
    if e["kind"] == "insert":
        name = e["block"].encode("cp1250")
        out += (bytes([len(name)]) + name.ljust(8, b"\0"))[:9] if older else records.short(e["block"])
    return out


def block_header(block, older):
    base = records.point(block.get("base", [0, 0]))
    name = block["name"].encode("cp1250")
    if older:
        data = bytes([len(name)]) + name + b"\0" * max(0, 8 - len(name)) + base
    else:
        data = base + records.short(block["name"])
    return length(-len(data)) + data


def build(description):
    older = description.get("format", "current") == "older"
    levels = bool(description.get("levels", False))
    out = bytearray(OLDER if older else CURRENT)
    for index in (1, 2, 3):
        data = description.get("header%d" % index)
        if data is None:
            out += length(0)
        else:
            out += counted(b"".join(struct.pack("<d", v) for v in data))
    out += struct.pack("<H", 1 if levels else 0)
    settings = description.get("settings", {})
    for name in SETTING_BLOCKS:
        out += setting_block(settings.get(name))
    for block in description.get("blocks", []):
        out += block_header(block, older)
        for e in block.get("entities", []):
            out += _entity(e, older, True, levels)
    out += length(0)
    for e in description.get("entities", []):
        out += _entity(e, older, False, levels)
    return bytes(out)
