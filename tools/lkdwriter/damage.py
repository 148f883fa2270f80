"""Damaged variants of a drawing file, each with the status word a load must leave.

    cut-file        the file ends inside its last record          100
    cut-record      the last record's length runs past the end    100
    size-mismatch   a record one byte longer than its contents    100
    signature       an unknown signature                           99
    len4116         a polyline of 256 vertices: 4116 bytes, kept    0
    len4117         the same with one byte more: refused          100
    zero-length     a length of 0 inside the entity section       100
"""

import struct

from . import drawing, records


def _polyline(n):
    return {"kind": "polyline", "vertices": [[i, i % 7] for i in range(n)]}


def variants(description):
    base = drawing.build(description)
    out = {}
    out["cut-file"] = (base[:-3], 100)
    out["cut-record"] = (base + struct.pack("<h", 200) + b"\0" * 40, 100)
    line = records.record({"kind": "polyline", "vertices": [[0, 0], [1, 1]]})[8:] + b"\0"
    out["size-mismatch"] = (base + drawing.counted(line), 100)
    out["signature"] = (b"Linework W9 Drawing\r\n\x1a" + base[22:], 99)
    big = records.record(_polyline(256))[8:]
    out["len4116"] = (base + drawing.counted(big), 0)
    out["len4117"] = (base + drawing.counted(big + b"\0"), 100)
    out["zero-length"] = (base + drawing.length(0), 100)
    return out
