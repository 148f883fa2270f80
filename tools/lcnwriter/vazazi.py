#!/usr/bin/env python3
"""Stand-alone reader, writer and invariant checker for VAZAZI record files.

This tool is deliberately separate from the viewer's own record-file code: it
was written from the byte layout alone, so that files either side writes can
be checked by the other.  Standard library only.

Layout in brief (all integers little-endian):

    0    6   "VAZAZI"
    6    1   20
    7    2   format version 4
    9    1   kind
    10   256 title, NUL-terminated
    266  22  table header: cap1, bound1, count2, reserved u16, entry size,
             record-header size, gap u32, data length u32, reserved u32
    288      table 1 (cap1 entries), table 2 (count2 entries), gap, data area

An index entry is used(1) offset(4) length(4) slack(4) reserved(1), padded to
the entry size; a record starts with FF FE FF FE, u16 index, table, compressed
flag, version, padded to the record-header size.  Offsets are relative to the
start of the record file, which may sit at a base offset in a larger file.
"""

import argparse
import builtins
import hashlib
import json
import os
import random
import struct
import sys
import zlib
from dataclasses import dataclass, field

MAGIC = b"VAZAZI"
FORMAT_BYTE = 20
FORMAT_VERSION = 4
HEADER_SIZE = 266
TABLE_HEADER_OFFSET = 266
TABLE1_OFFSET = 288
TITLE_FIELD = 256
MIN_ENTRY_SIZE = 14
MIN_RECORD_HEADER_SIZE = 9
RECORD_MAGIC = b"\xff\xfe\xff\xfe"
DEFAULT_CAP1 = 150
MIN_BOUND1 = 141
MAX_COUNT2 = 32767
CHUNK_SIZE = 64000
MAX_CHUNK = 64000

_TABLE_HEADER = struct.Struct("<HHHHBBIII")
_ENTRY = struct.Struct("<BIIIB")
_RECORD_HEADER = struct.Struct("<4sHBBB")
_CHUNK_STORED = struct.Struct("<BH")
_CHUNK_PACKED = struct.Struct("<BHH")

assert _TABLE_HEADER.size == 22 and _ENTRY.size == 14 and _RECORD_HEADER.size == 9

_builtin_open = builtins.open


class VazaziError(Exception):
    """A record file or record body that cannot be read."""


# --------------------------------------------------------------------------
# Chunked bodies


def decode_chunks(body, strict=False):
    """Expands a chunked body.  Every length is checked against what is there
    before anything is used, so a damaged body fails instead of over-reading.
    With strict set, bytes left over after the last chunk are an error too."""
    body = bytes(body)
    if len(body) < 2:
        raise VazaziError("chunked body shorter than its chunk count")
    (count,) = struct.unpack_from("<H", body, 0)
    pos = 2
    out = []
    for n in range(count):
        if pos + _CHUNK_STORED.size > len(body):
            raise VazaziError("chunk %d header runs past the body" % n)
        flag, unpacked = _CHUNK_STORED.unpack_from(body, pos)
        if unpacked > MAX_CHUNK:
            raise VazaziError("chunk %d unpacked length %d above %d" % (n, unpacked, MAX_CHUNK))
        if flag == 0:
            pos += _CHUNK_STORED.size
            if pos + unpacked > len(body):
                raise VazaziError("stored chunk %d runs past the body" % n)
            out.append(body[pos:pos + unpacked])
            pos += unpacked
        elif flag == 1:
            if pos + _CHUNK_PACKED.size > len(body):
                raise VazaziError("chunk %d header runs past the body" % n)
            _, _, packed = _CHUNK_PACKED.unpack_from(body, pos)
            pos += _CHUNK_PACKED.size
            if packed > MAX_CHUNK:
                raise VazaziError("chunk %d packed length %d above %d" % (n, packed, MAX_CHUNK))
            if pos + packed > len(body):
                raise VazaziError("packed chunk %d runs past the body" % n)
            d = zlib.decompressobj()
            try:
                data = d.decompress(body[pos:pos + packed], unpacked + 1)
            except zlib.error as e:
                raise VazaziError("chunk %d does not inflate: %s" % (n, e))
            if len(data) != unpacked or not d.eof:
                raise VazaziError("chunk %d expands to a length other than %d" % (n, unpacked))
            out.append(data)
            pos += packed
        else:
            raise VazaziError("chunk %d has unknown flag %d" % (n, flag))
    if strict and pos != len(body):
        raise VazaziError("%d bytes left after the last chunk" % (len(body) - pos))
    return b"".join(out)


def encode_chunks(data, flags="auto", chunk_size=CHUNK_SIZE, level=-1):
    """Builds a chunked body.

    flags: "packed" - every chunk zlib-packed (flag 1), even when it grows;
           "stored" - every chunk stored (flag 0);
           "auto"   - packed when that makes the chunk smaller, else stored;
           a sequence of 0/1, one per chunk.
    chunk_size: 1..64000; the last chunk takes the rest."""
    data = bytes(data)
    if not 1 <= chunk_size <= MAX_CHUNK:
        raise ValueError("chunk size must be 1..64000")
    pieces = [data[i:i + chunk_size] for i in range(0, len(data), chunk_size)]
    if len(pieces) > 0xFFFF:
        raise ValueError("too many chunks")
    if isinstance(flags, str):
        if flags not in ("auto", "packed", "stored"):
            raise ValueError("unknown chunk mode %r" % flags)
        modes = [flags] * len(pieces)
    else:
        modes = list(flags)
        if len(modes) != len(pieces) or any(f not in (0, 1) for f in modes):
            raise ValueError("need one flag 0/1 per chunk (%d chunks)" % len(pieces))
        modes = ["packed" if f else "stored" for f in modes]
    out = [struct.pack("<H", len(pieces))]
    for piece, mode in zip(pieces, modes):
        packed = zlib.compress(piece, level) if mode != "stored" else None
        if mode == "auto" and len(packed) >= len(piece):
            mode = "stored"
        if mode == "stored":
            out.append(_CHUNK_STORED.pack(0, len(piece)))
            out.append(piece)
        else:
            if len(packed) > MAX_CHUNK:
                raise ValueError("packed chunk of %d bytes above %d" % (len(packed), MAX_CHUNK))
            out.append(_CHUNK_PACKED.pack(1, len(piece), len(packed)))
            out.append(packed)
    return b"".join(out)


def compress_like_writer(data):
    """What a writer that only ever packs does: 64000-byte chunks, all flag 1,
    and no compressed form at all (None) when any chunk fails to shrink."""
    data = bytes(data)
    for i in range(0, len(data), CHUNK_SIZE):
        piece = data[i:i + CHUNK_SIZE]
        if len(zlib.compress(piece)) >= len(piece):
            return None
    return encode_chunks(data, "packed")


# --------------------------------------------------------------------------
# Reader


@dataclass(frozen=True)
class TableHeader:
    cap1: int = DEFAULT_CAP1
    bound1: int = MIN_BOUND1
    count2: int = 0
    reserved1: int = 0
    esize: int = MIN_ENTRY_SIZE
    hsize: int = MIN_RECORD_HEADER_SIZE
    gap: int = 0
    data_length: int = 0
    reserved2: int = 0

    def pack(self):
        return _TABLE_HEADER.pack(self.cap1, self.bound1, self.count2, self.reserved1,
                                  self.esize, self.hsize, self.gap, self.data_length,
                                  self.reserved2)

    @classmethod
    def unpack(cls, buf, pos=TABLE_HEADER_OFFSET):
        return cls(*_TABLE_HEADER.unpack_from(buf, pos))

    @property
    def table2_offset(self):
        return TABLE1_OFFSET + self.esize * self.cap1

    @property
    def tables_end(self):
        return self.table2_offset + self.esize * self.count2

    @property
    def data_start(self):
        return self.tables_end + self.gap

    @property
    def data_end(self):
        return self.data_start + self.data_length


@dataclass(frozen=True)
class Entry:
    used: int
    offset: int
    length: int
    slack: int
    reserved: int
    raw: bytes

    @property
    def end(self):
        return self.offset + self.length + self.slack


@dataclass(frozen=True)
class Record:
    compressed: int
    version: int
    body: bytes      # expanded
    stored: bytes    # as it lies in the file


def _entries(buf, offset, count, esize):
    out = []
    for i in range(count):
        pos = offset + i * esize
        raw = bytes(buf[pos:pos + esize])
        out.append(Entry(*_ENTRY.unpack_from(raw, 0), raw=raw))
    return out


def _read_window(path, base, length):
    with _builtin_open(path, "rb") as f:
        f.seek(0, os.SEEK_END)
        size = f.tell()
        if base < 0 or base > size:
            raise VazaziError("base %d outside a file of %d bytes" % (base, size))
        if not length:
            length = size - base
        if length < 0 or base + length > size:
            raise VazaziError("window %d+%d runs past a file of %d bytes" % (base, length, size))
        f.seek(base)
        return f.read(length)


class VazaziFile:
    """A parsed record file held in memory (the window only)."""

    def __init__(self, data, path=None, base=0):
        self.path = path
        self.base = base
        self.data = bytes(data)
        buf = self.data
        if len(buf) < TABLE1_OFFSET:
            raise VazaziError("header shorter than %d bytes (%d)" % (TABLE1_OFFSET, len(buf)))
        if buf[:6] != MAGIC:
            raise VazaziError("bad magic %r" % buf[:6])
        self.format_byte = buf[6]
        (self.version_word,) = struct.unpack_from("<H", buf, 7)
        self.kind = buf[9]
        self.title_field = buf[10:10 + TITLE_FIELD]
        self.title = self.title_field.split(b"\0", 1)[0]
        th = TableHeader.unpack(buf)
        self.th = th
        if th.esize < MIN_ENTRY_SIZE:
            raise VazaziError("index entry size %d below %d" % (th.esize, MIN_ENTRY_SIZE))
        if th.hsize < MIN_RECORD_HEADER_SIZE:
            raise VazaziError("record header size %d below %d" % (th.hsize, MIN_RECORD_HEADER_SIZE))
        if th.tables_end > len(buf):
            raise VazaziError("index tables end at %d, past the end %d" % (th.tables_end, len(buf)))
        self.tables = {1: _entries(buf, TABLE1_OFFSET, th.cap1, th.esize),
                       2: _entries(buf, th.table2_offset, th.count2, th.esize)}

    @property
    def data_start(self):
        return self.th.data_start

    @property
    def data_length(self):
        return self.th.data_length

    def title_text(self):
        return self.title.decode("cp1250", "replace")

    def entry(self, table, index):
        if table not in self.tables:
            raise VazaziError("no table %r" % (table,))
        entries = self.tables[table]
        if not 0 <= index < len(entries):
            raise VazaziError("index %d beyond table %d of %d entries"
                              % (index, table, len(entries)))
        return entries[index]

    def used_slots(self):
        return [(t, i) for t in (1, 2) for i, e in enumerate(self.tables[t]) if e.used]

    def free_slots(self):
        return [(t, i) for t in (1, 2) for i, e in enumerate(self.tables[t]) if not e.used]

    def read_stored(self, table, index):
        """(compressed flag, version, body as stored) of a record."""
        e = self.entry(table, index)
        if not e.used:
            raise VazaziError("entry %d:%d is free" % (table, index))
        th = self.th
        if e.length < th.hsize:
            raise VazaziError("entry %d:%d length %d below the record header size"
                              % (table, index, e.length))
        if e.offset < th.data_start or e.offset + e.length > th.data_end:
            raise VazaziError("record %d:%d at %d+%d lies outside the data area %d+%d"
                              % (table, index, e.offset, e.length, th.data_start, th.data_length))
        if e.offset + e.length > len(self.data):
            raise VazaziError("record %d:%d runs past the end of the file" % (table, index))
        magic, rindex, rtable, flag, version = _RECORD_HEADER.unpack_from(self.data, e.offset)
        if magic != RECORD_MAGIC:
            raise VazaziError("record %d:%d has a bad header magic" % (table, index))
        if rindex != index or rtable != table:
            raise VazaziError("record header says %d:%d, entry is %d:%d"
                              % (rtable, rindex, table, index))
        return flag, version, self.data[e.offset + th.hsize:e.offset + e.length]

    def read(self, table, index):
        """The record with its body expanded; a non-zero flag means chunked."""
        flag, version, stored = self.read_stored(table, index)
        body = decode_chunks(stored) if flag else stored
        return Record(flag, version, body, stored)


def open(path, base=0, length=None):  # noqa: A001 - the tool's natural verb
    """Opens the record file at path, or the one at base (length bytes, or the
    rest of the file) inside a larger file."""
    return VazaziFile(_read_window(path, base, length), path=path, base=base)


def from_bytes(data):
    return VazaziFile(data)


# --------------------------------------------------------------------------
# Invariant checker


def check_bytes(buf, exact_end=True):
    """Problems of a record file as a writer should leave it, each "code: text".
    exact_end: the record file ends exactly where its data area ends."""
    p = []
    buf = bytes(buf)
    if len(buf) < TABLE1_OFFSET:
        return ["short: %d bytes, header needs %d" % (len(buf), TABLE1_OFFSET)]
    if buf[:6] != MAGIC:
        p.append("magic: %r" % buf[:6])
    if buf[6] != FORMAT_BYTE:
        p.append("byte6: %d, expected %d" % (buf[6], FORMAT_BYTE))
    ver = struct.unpack_from("<H", buf, 7)[0]
    if ver != FORMAT_VERSION:
        p.append("version: %d, expected %d" % (ver, FORMAT_VERSION))
    if b"\0" not in buf[10:10 + TITLE_FIELD]:
        p.append("title: no NUL within the 256-byte title")
    th = TableHeader.unpack(buf)
    if th.reserved1 or th.reserved2:
        p.append("reserved: table header reserved fields %d, %d" % (th.reserved1, th.reserved2))
    if th.count2 > MAX_COUNT2:
        p.append("count2: %d above %d" % (th.count2, MAX_COUNT2))
    if th.esize < MIN_ENTRY_SIZE:
        p.append("entry-size: %d" % th.esize)
    if th.hsize < MIN_RECORD_HEADER_SIZE:
        p.append("header-size: %d" % th.hsize)
    if th.esize < MIN_ENTRY_SIZE or th.hsize < MIN_RECORD_HEADER_SIZE:
        return p
    if th.tables_end > len(buf):
        p.append("tables-past-end: tables end at %d, file is %d" % (th.tables_end, len(buf)))
        return p
    if th.data_end > len(buf):
        p.append("data-past-end: data area ends at %d, file is %d" % (th.data_end, len(buf)))
    elif exact_end and th.data_end != len(buf):
        p.append("file-end: data area ends at %d, file is %d" % (th.data_end, len(buf)))

    tables = {1: _entries(buf, TABLE1_OFFSET, th.cap1, th.esize),
              2: _entries(buf, th.table2_offset, th.count2, th.esize)}
    if th.bound1 < MIN_BOUND1:
        p.append("bound1: %d below %d" % (th.bound1, MIN_BOUND1))
    if th.bound1 > max(th.cap1, MIN_BOUND1):
        p.append("bound1: %d above capacity %d" % (th.bound1, th.cap1))
    spans = []
    for t in (1, 2):
        for i, e in enumerate(tables[t]):
            where = "%d:%d" % (t, i)
            if not e.used:
                if any(e.raw):
                    p.append("entry-free-nonzero: %s" % where)
                continue
            if e.used != 1:
                p.append("entry-used-byte: %s used byte %d" % (where, e.used))
            if t == 1 and i >= th.bound1:
                p.append("bound1: %d not above used slot %d" % (th.bound1, i))
            if e.length < th.hsize:
                p.append("entry-length: %s length %d below %d" % (where, e.length, th.hsize))
                continue
            if e.offset < th.data_start or e.end > th.data_end:
                p.append("entry-outside-data: %s span %d..%d, data area %d..%d"
                         % (where, e.offset, e.end, th.data_start, th.data_end))
                continue
            spans.append((e.offset, e.end, where))
            if e.offset + e.length > len(buf):
                p.append("entry-past-end: %s record runs past the end %d" % (where, len(buf)))
                continue
            magic, rindex, rtable, flag, _ = _RECORD_HEADER.unpack_from(buf, e.offset)
            if magic != RECORD_MAGIC or rindex != i or rtable != t:
                p.append("record-header: %s header reads magic %s index %d table %d"
                         % (where, magic.hex(), rindex, rtable))
                continue
            if flag > 1:
                p.append("record-flag: %s compressed flag %d" % (where, flag))
            elif flag == 1:
                try:
                    decode_chunks(buf[e.offset + th.hsize:e.offset + e.length], strict=True)
                except VazaziError as err:
                    p.append("chunks: %s %s" % (where, err))
    spans.sort()
    cursor = th.data_start
    for start, end, where in spans:
        if start > cursor:
            p.append("hole: %d..%d not owned by any record" % (cursor, start))
        elif start < cursor:
            p.append("overlap: %s starts at %d inside the span before (ends %d)"
                     % (where, start, cursor))
        cursor = max(cursor, end)
    if cursor < th.data_end:
        p.append("hole: %d..%d not owned by any record" % (cursor, th.data_end))
    return p


def check(path, base=0, length=None):
    """check_bytes on a file, or on a window of one.  A file of its own, or a
    window with an explicit length, must end exactly at the data area's end;
    a base without a length only has to contain it."""
    try:
        buf = _read_window(path, base, length)
    except (OSError, VazaziError) as e:
        return ["window: %s" % e]
    return check_bytes(buf, exact_end=bool(length) or base == 0)


# --------------------------------------------------------------------------
# Writer


@dataclass
class RecordDef:
    body: bytes = b""
    compressed: int = 0
    version: int = 1
    chunks: object = "auto"           # see encode_chunks
    chunk_size: int = CHUNK_SIZE
    raw: bytes = None                 # stored body written verbatim (ignores chunks)

    def stored(self):
        if self.raw is not None:
            return bytes(self.raw)
        if self.compressed:
            return encode_chunks(self.body, self.chunks, self.chunk_size)
        return bytes(self.body)


def _as_def(value):
    if isinstance(value, RecordDef):
        return value
    if isinstance(value, (bytes, bytearray)):
        return RecordDef(bytes(value))
    return RecordDef(*value)


def junk(n, pattern=b"\xa5junk\x5a"):
    """n filler bytes that no reader should ever interpret."""
    if n <= 0:
        return b""
    return (pattern * (n // len(pattern) + 1))[:n]


@dataclass
class Built:
    data: bytes
    th: TableHeader
    placements: dict          # (table, index) -> (offset, length, slack)
    defs: dict               # (table, index) -> RecordDef
    title: bytes = b""
    kind: int = 1

    def entry_pos(self, table, index):
        first = TABLE1_OFFSET if table == 1 else self.th.table2_offset
        return first + index * self.th.esize

    def record_pos(self, table, index):
        return self.placements[(table, index)][0]


def build(records=None, *, cap1=DEFAULT_CAP1, bound1=None, count2=None, esize=MIN_ENTRY_SIZE,
          hsize=MIN_RECORD_HEADER_SIZE, gap=0, slack=0, order="slot", seed=0, title=b"",
          kind=1, gap_fill=None, slack_fill=None, entry_reserved=0):
    """Builds a legal record file in memory.

    records: {(table, index): RecordDef | (body, compressed, version[, chunks]) | body}
    slack: bytes after every record, or {(table, index): n}
    order: "slot", "reversed", "shuffled" (seeded) or an explicit list of keys
    gap_fill/slack_fill: None for zeros, else a byte pattern to repeat
    entry_reserved: reserved byte 13 of used entries, int or {(table, index): n}
    """
    defs = {k: _as_def(v) for k, v in (records or {}).items()}
    if isinstance(title, str):
        title = title.encode("cp1250")
    if len(title) > 255 or b"\0" in title:
        raise ValueError("title must be at most 255 bytes without NUL")
    if not MIN_ENTRY_SIZE <= esize <= 255 or not MIN_RECORD_HEADER_SIZE <= hsize <= 255:
        raise ValueError("entry size 14..255, record header size 9..255")
    if not 1 <= cap1 <= 0xFFFF:
        raise ValueError("table-1 capacity 1..65535")
    t1 = [i for (t, i) in defs if t == 1]
    t2 = [i for (t, i) in defs if t == 2]
    if any(t not in (1, 2) for (t, _) in defs):
        raise ValueError("tables are 1 and 2")
    if any(not 0 <= i < cap1 for i in t1):
        raise ValueError("table-1 index beyond capacity")
    if bound1 is None:
        bound1 = max([MIN_BOUND1] + [i + 1 for i in t1])
    if bound1 < MIN_BOUND1 or any(i >= bound1 for i in t1):
        raise ValueError("table-1 bound must be >= 141 and above every used slot")
    if count2 is None:
        count2 = max([0] + [i + 1 for i in t2])
    if count2 > MAX_COUNT2 or any(not 0 <= i < count2 for i in t2):
        raise ValueError("table-2 count at most 32767 and above every used index")
    for s in defs.values():
        if s.compressed not in (0, 1) or not 0 <= s.version <= 255:
            raise ValueError("compressed flag 0/1, version a byte")

    keys = sorted(defs)
    if order == "slot":
        pass
    elif order == "reversed":
        keys.reverse()
    elif order == "shuffled":
        random.Random(seed).shuffle(keys)
    else:
        if sorted(order) != keys:
            raise ValueError("explicit order must list every record once")
        keys = list(order)

    def slack_of(k):
        return slack.get(k, 0) if isinstance(slack, dict) else slack

    def fill(n, pattern):
        return bytes(n) if pattern is None else junk(n, pattern)

    th = TableHeader(cap1=cap1, bound1=bound1, count2=count2, esize=esize, hsize=hsize, gap=gap)
    data_start = th.data_start
    area = bytearray()
    placements = {}
    for k in keys:
        stored = defs[k].stored()
        offset = data_start + len(area)
        length = hsize + len(stored)
        s = slack_of(k)
        area += _RECORD_HEADER.pack(RECORD_MAGIC, k[1], k[0], defs[k].compressed, defs[k].version)
        area += bytes(hsize - _RECORD_HEADER.size)
        area += stored
        area += fill(s, slack_fill)
        placements[k] = (offset, length, s)
    th = TableHeader(cap1=cap1, bound1=bound1, count2=count2, esize=esize, hsize=hsize, gap=gap,
                     data_length=len(area))
    if th.data_end > 0xFFFFFFFF:
        raise ValueError("record file too large for 32-bit offsets")

    out = bytearray()
    out += MAGIC + bytes([FORMAT_BYTE]) + struct.pack("<H", FORMAT_VERSION) + bytes([kind])
    out += title.ljust(TITLE_FIELD, b"\0")
    out += th.pack()
    tables = bytearray(esize * (cap1 + count2))
    for (t, i), (offset, length, s) in placements.items():
        res = entry_reserved.get((t, i), 0) if isinstance(entry_reserved, dict) else entry_reserved
        pos = (i if t == 1 else cap1 + i) * esize
        _ENTRY.pack_into(tables, pos, 1, offset, length, s, res)
    out += tables
    out += fill(gap, gap_fill)
    out += area
    assert len(out) == th.data_end
    return Built(bytes(out), th, placements, defs, title, kind)


def embed(outer_path, inner_bytes, base, prefix=None, suffix=None):
    """Writes a larger file with a record file at base: prefix (default junk,
    exactly base bytes), the record file, then suffix (default some junk).
    Returns (base, length) of the record file."""
    if prefix is None:
        prefix = junk(base, b"\x13outer file\x00")
    if len(prefix) != base:
        raise ValueError("prefix must be exactly base bytes")
    if suffix is None:
        suffix = junk(777, b"\x17trailing\xff")
    with _builtin_open(outer_path, "wb") as f:
        f.write(prefix + bytes(inner_bytes) + suffix)
    return base, len(inner_bytes)


# --------------------------------------------------------------------------
# Facts for the C++ side


def _sha(b):
    return hashlib.sha256(b).hexdigest()


def record_fact(table, index, compressed, version, body):
    return {"table": table, "index": index, "compressed": compressed, "version": version,
            "size": len(body), "crc32": "%08x" % zlib.crc32(body), "sha256": _sha(body)}


def _record_line(word, r):
    return "%s %d %d %d %d %d %s %s" % (word, r["table"], r["index"], r["compressed"],
                                        r["version"], r["size"], r["crc32"], r["sha256"])


def facts_text(entry):
    """One file's facts as lines of space-separated words, for readers without
    a JSON parser.  Layout in manifest_text."""
    lines = ["file %s %d %d %d" % (entry["name"], entry["base"], entry["length"],
                                   1 if entry.get("own_file", entry["base"] == 0) else 0)]
    if "fails" in entry:
        lines[0] += " " + entry["fails"]
        if entry["fails"] == "read":
            lines[0] += " %d %d" % (entry["table"], entry["index"])
        lines += [_record_line("readable", r) for r in entry["readable"]]
    else:
        lines.append("title %s" % (entry["title"].encode("cp1250").hex() or "-"))
        lines.append("layout %d %d %d %d %d %d %d %d %d" % (
            entry["kind"], entry["cap1"], entry["bound1"], entry["count2"], entry["entry_size"],
            entry["record_header_size"], entry["gap"], entry["data_start"], entry["data_length"]))
        lines += [_record_line("record", r) for r in entry["records"]]
        lines += ["free %d %d %d" % tuple(f) for f in entry["free_ranges"]]
        lines += ["error %d %d" % (e["table"], e["index"]) for e in entry.get("errors", [])]
    lines.append("end")
    return "\n".join(lines) + "\n"


def write_manifest(directory, files):
    """manifest.json and the same facts as manifest.txt."""
    manifest = {"format": 1, "files": files}
    with _builtin_open(os.path.join(directory, "manifest.json"), "w", encoding="utf-8") as fh:
        json.dump(manifest, fh, indent=1, ensure_ascii=False)
    with _builtin_open(os.path.join(directory, "manifest.txt"), "w", encoding="ascii") as fh:
        fh.write("vazazi-manifest 1\n")
        for entry in files:
            fh.write(facts_text(entry))
    return manifest


def free_ranges(slots):
    """Sorted (table, index) pairs as [table, first, last] runs, last inclusive."""
    runs = []
    for t, i in sorted(slots):
        if runs and runs[-1][0] == t and runs[-1][2] == i - 1:
            runs[-1][2] = i
        else:
            runs.append([t, i, i])
    return runs


def built_facts(built):
    """Facts about a built file taken from what was asked for, not re-read."""
    th = built.th
    used = set(built.defs)
    return {
        "kind": built.kind,
        "title": built.title.decode("cp1250"),
        "cap1": th.cap1, "bound1": th.bound1, "count2": th.count2,
        "entry_size": th.esize, "record_header_size": th.hsize,
        "gap": th.gap, "data_start": th.data_start, "data_length": th.data_length,
        "records": [record_fact(t, i, s.compressed, s.version, s.body)
                    for (t, i), s in sorted(built.defs.items())],
        "free_ranges": free_ranges([(t, i) for t in (1, 2)
                                    for i in range(th.cap1 if t == 1 else th.count2)
                                    if (t, i) not in used]),
    }


def file_facts(vf):
    """The same facts read back from a file (list-records)."""
    th = vf.th
    records, errors = [], []
    for t, i in vf.used_slots():
        try:
            r = vf.read(t, i)
            records.append(record_fact(t, i, r.compressed, r.version, r.body))
        except VazaziError as e:
            errors.append({"table": t, "index": i, "error": str(e)})
    facts = {
        "kind": vf.kind, "title": vf.title_text(),
        "cap1": th.cap1, "bound1": th.bound1, "count2": th.count2,
        "entry_size": th.esize, "record_header_size": th.hsize,
        "gap": th.gap, "data_start": th.data_start, "data_length": th.data_length,
        "records": records,
        "free_ranges": free_ranges(vf.free_slots()),
    }
    if errors:
        facts["errors"] = errors
    return facts


# --------------------------------------------------------------------------
# Fixture sets


def _text(n, seed):
    """Compressible but not trivial bytes: words drawn from a small vocabulary."""
    rng = random.Random(seed)
    words = [b"stranka", b"kapitola", b"obrazek", b"text", b"odstavec", b"\x9a\xe8\xf8",
             b"0123", b"\n", b"radek", b"VAZAZI", b"\xff\xfe\xff\xfe"]
    out = bytearray()
    while len(out) < n:
        out += rng.choice(words) + b" "
    return bytes(out[:n])


def _noise(n, seed):
    return random.Random(seed).randbytes(n)


EDGE_SIZES = (0, 1, 63999, 64000, 64001, 128000, 128001)


def _typed_set(seed):
    """A typical document's typed records plus a few numbered ones."""
    return {
        (1, 0): RecordDef(_text(700, seed + 1)),
        (1, 5): RecordDef(_text(64, seed + 2)),
        (1, 128): RecordDef(_text(333, seed + 3)),
        (1, 130): RecordDef(_text(120, seed + 4), 0, 10),
        (1, 135): RecordDef(_text(90, seed + 5), 0, 2),
        (1, 140): RecordDef(b""),
        (2, 0): RecordDef(_text(1000, seed + 6)),
        (2, 1): RecordDef(_text(1, seed + 7)),
        (2, 3): RecordDef(_text(5000, seed + 8), 0, 3),
    }


def fixture_builds():
    """name -> (Built, description).  Every one is a legal file."""
    f = {}
    f["baseline.vzz"] = (build(_typed_set(100), title="Baseline"),
                         "default layout, records in slot order, no gap or slack")
    f["empty.vzz"] = (build({}, title="Prázdný"), "no records; a fresh file of 2388 bytes")
    f["empty_gap.vzz"] = (build({}, gap=500, count2=3, gap_fill=b"\xeegap"),
                          "no records, three free table-2 entries and a gap of junk")
    f["gap_slack.vzz"] = (build(_typed_set(200), gap=1234, gap_fill=b"GAP!",
                                slack={(1, 0): 10, (1, 128): 1, (2, 0): 4000, (2, 3): 77},
                                slack_fill=b"\x00old record bytes\x01"),
                          "gap and slack filled with junk, slack on the last record too")
    f["reversed.vzz"] = (build(_typed_set(300), order="reversed", slack=3),
                         "records in reverse slot order, 3 bytes slack each")
    f["shuffled.vzz"] = (build(_typed_set(400) | {(2, 40): RecordDef(_text(10, 9))},
                               order="shuffled", seed=7, count2=50, gap=64,
                               slack={(2, 40): 9}, entry_reserved=0x5A, kind=9,
                               title="Příliš žluťoučký kůň úpěl ďábelské ódy"),
                         "shuffled order, sparse table 2 with free entries after the last used "
                         "one, "
                         "reserved entry byte set on used entries, kind 9, cp1250 title")
    f["cap1_141.vzz"] = (build(_typed_set(500), cap1=141, slack=1, order="reversed"),
                         "smallest table 1 that holds every directory slot")
    f["cap1_300.vzz"] = (build(_typed_set(600) | {(1, 299): RecordDef(_text(50, 61)),
                                                        (1, 200): RecordDef(_text(5, 62), 0, 7)},
                               cap1=300, bound1=300, gap=14),
                         "table 1 of 300 entries with slots 200 and 299 in use")
    f["bound1_high.vzz"] = (build(_typed_set(650), cap1=150, bound1=150),
                            "table-1 bound above the highest used slot, as after a deletion")
    f["wide_entries.vzz"] = (build(_typed_set(700), esize=20, hsize=16, gap=7, slack=5,
                                   order="shuffled", seed=3, count2=6),
                             "20-byte entries and 16-byte record headers, zero padded")
    f["max_sizes.vzz"] = (build(_typed_set(800), esize=255, hsize=255, slack=2, order="reversed"),
                          "255-byte entries and 255-byte record headers")
    compressed = {
        (1, 130): RecordDef(_text(3000, 11), 1, 10),
        (1, 1): RecordDef(_text(200000, 12), 1, 1, "packed"),
        (1, 2): RecordDef(_text(10, 13), 1, 1, "stored"),
        (2, 0): RecordDef(_noise(70000, 14) + _text(70000, 15) + _noise(10, 16), 1, 1,
                           [0, 1, 1]),
        (2, 1): RecordDef(_text(5000, 17), 1, 1, "packed", 1000),
        (2, 2): RecordDef(_text(3, 18), 1, 4, "stored", 1),
        (2, 3): RecordDef(b"", 1, 1),
        (2, 4): RecordDef(_text(900, 19), 0, 1),
    }
    f["compressed.vzz"] = (build(compressed, hsize=12, gap=30, slack={(1, 1): 100, (2, 3): 1},
                                 order="shuffled", seed=5),
                           "chunked bodies: several chunks, flag-0 chunks, mixed flags, "
                           "chunks smaller than 64000, an empty compressed body, version 10")
    sizes = {}
    for n, size in enumerate(EDGE_SIZES):
        sizes[(2, n)] = RecordDef(_text(size, 1000 + n), 1, 1, "packed")
        sizes[(2, 7 + n)] = RecordDef(_noise(size, 2000 + n), 1, 1, "stored")
        sizes[(2, 14 + n)] = RecordDef(_noise(size, 3000 + n), 0, 1)
    f["sizes.vzz"] = (build(sizes, order="reversed"),
                      "numbered 0..6: sizes 0, 1, 63999, 64000, 64001, 128000, 128001 in packed "
                      "chunks (flag 1 even where packing does not shrink); 7..13: the same sizes "
                      "in stored chunks (flag 0); 14..20: the same sizes uncompressed")
    big = build({(2, MAX_COUNT2 - 1): RecordDef(_text(40, 21)), (2, 0): RecordDef(b"first"),
                 (1, 3): RecordDef(b"x")}, gap=3)
    f["count2_max.vzz"] = (big, "table 2 of 32767 entries, last and first used")
    return f


def _package_parts():
    """Two documents inside one package, a decoy record file in front."""
    decoy = build({(1, 130): RecordDef(b"decoy properties", 0, 10),
                   (2, 0): RecordDef(b"decoy page")}, title="Decoy").data
    doc1 = build(_typed_set(900), gap=40, slack={(2, 0): 13}, order="reversed", title="Dokument 1")
    doc2 = build(_typed_set(950) | {(2, 9): RecordDef(_text(70000, 96), 1, 1, [1, 0])},
                 esize=16, hsize=10, order="shuffled", seed=11, title="Dokument 2")
    return decoy, doc1, doc2


def make_fixtures(directory):
    os.makedirs(directory, exist_ok=True)
    files = []
    for name, (built, desc) in fixture_builds().items():
        with _builtin_open(os.path.join(directory, name), "wb") as fh:
            fh.write(built.data)
        entry = {"name": name, "base": 0, "length": len(built.data), "own_file": True,
                 "description": desc}
        entry.update(built_facts(built))
        files.append(entry)

    decoy, doc1, doc2 = _package_parts()
    lead = decoy + junk(5000 - len(decoy), b"\x00package directory\x7f")
    between = junk(1111, b"\x02between\x03")
    base1 = len(lead)
    base2 = base1 + len(doc1.data) + len(between)
    path = os.path.join(directory, "package.pkg")
    embed(path, doc1.data + between + doc2.data, base1, prefix=lead)
    for base, doc, desc in ((base1, doc1, "first document inside a package, a decoy record file "
                                         "at offset 0"),
                            (base2, doc2, "second document inside the same package, 16-byte "
                                         "entries, junk after it")):
        entry = {"name": "package.pkg", "base": base, "length": len(doc.data), "own_file": False,
                 "description": desc}
        entry.update(built_facts(doc))
        files.append(entry)

    return write_manifest(directory, files)


def _patch(data, pos, fmt, *values):
    b = bytearray(data)
    struct.pack_into(fmt, b, pos, *values)
    return bytes(b)


def _zstream(payload):
    return zlib.compress(payload)


def malformed_builds():
    """name -> (bytes, expectation).  expectation: {"fails": "open"} or
    {"fails": "read", "table": t, "index": i}, plus "description"."""
    good = {(1, 130): RecordDef(b"good properties", 0, 10), (2, 0): RecordDef(b"good page 0")}
    base_built = build(good | {(2, 1): RecordDef(b"the record that is damaged")},
                       slack={(2, 1): 8})
    d = base_built.data
    out = {}

    def open_fail(name, data, desc):
        out[name] = (data, {"fails": "open", "description": desc})

    def read_fail(name, built, desc, key=(2, 1)):
        data = built.data if isinstance(built, Built) else built
        out[name] = (data, {"fails": "read", "table": key[0], "index": key[1], "description": desc})

    open_fail("bad_magic.vzz", b"VAZAZJ" + d[6:], "magic VAZAZJ")
    open_fail("short_header_287.vzz", d[:287], "287 bytes: table header cut short")
    open_fail("short_header_100.vzz", d[:100], "100 bytes")
    open_fail("empty_file.vzz", b"", "zero bytes")
    open_fail("entry_size_0.vzz", _patch(d, 274, "<B", 0), "index entry size 0")
    open_fail("entry_size_13.vzz", _patch(d, 274, "<B", 13), "index entry size 13")
    open_fail("header_size_0.vzz", _patch(d, 275, "<B", 0), "record header size 0")
    open_fail("header_size_8.vzz", _patch(d, 275, "<B", 8), "record header size 8")
    open_fail("count2_past_eof.vzz", _patch(d, 270, "<H", MAX_COUNT2),
              "count2 32767 in a small file: table 2 runs past the end")
    open_fail("cap1_past_eof.vzz", _patch(d, 266, "<H", 0xFFFF),
              "capacity 65535: table 1 runs past the end")

    b = base_built
    e21 = b.entry_pos(2, 1)
    r21 = b.record_pos(2, 1)
    read_fail("entry_offset_past_eof.vzz", _patch(d, e21 + 1, "<I", len(d) + 100),
              "entry offset beyond the end of the file")
    read_fail("entry_offset_huge.vzz", _patch(d, e21 + 1, "<I", 0xFFFFFFF0),
              "entry offset near 4 GB (offset + length wraps in 32 bits)")
    read_fail("entry_length_past_eof.vzz", _patch(d, e21 + 5, "<I", 0x7FFFFFF0),
              "entry length of about 2 GB")
    read_fail("entry_length_ffffffff.vzz", _patch(d, e21 + 5, "<I", 0xFFFFFFFF),
              "entry length 0xFFFFFFFF")
    read_fail("entry_length_8.vzz", _patch(d, e21 + 5, "<I", 8), "entry length 8, below the header")
    read_fail("entry_length_0.vzz", _patch(d, e21 + 5, "<I", 0), "entry length 0")
    read_fail("record_magic.vzz", _patch(d, r21, "<4s", b"\xff\xfe\xff\xff"),
              "record header magic FF FE FF FF")
    read_fail("record_index.vzz", _patch(d, r21 + 4, "<H", 0),
              "record header index 0 under entry 2:1")
    read_fail("record_table.vzz", _patch(d, r21 + 6, "<B", 1),
              "record header table 1 under entry 2:1")
    long_area = _patch(_patch(d, 280, "<I", b.th.data_length + 1000), e21 + 5, "<I",
                       b.placements[(2, 1)][1] + 1000)
    read_fail("entry_and_data_length_past_eof.vzz", long_area,
              "data length and the last entry both claim 1000 bytes beyond the end of the file")
    # A reader that checks only the header magic would accept this: the entry
    # points into the gap at a forged header in front of the data area.
    g = build(good | {(2, 1): RecordDef(b"real")}, gap=64)
    forged = _RECORD_HEADER.pack(RECORD_MAGIC, 1, 2, 0, 1) + b"forged body"
    gd = bytearray(g.data)
    fpos = g.th.tables_end + 8
    gd[fpos:fpos + len(forged)] = forged
    struct.pack_into("<II", gd, g.entry_pos(2, 1) + 1, fpos, len(forged))
    read_fail("entry_in_gap.vzz", bytes(gd), "entry points into the gap, at a forged record header")

    def chunked(raw, desc, name):
        bb = build(good | {(2, 1): RecordDef(raw=raw, compressed=1)})
        read_fail(name, bb, desc)

    hello = b"hello, chunk"
    one = _CHUNK_PACKED.pack(1, len(hello), len(_zstream(hello))) + _zstream(hello)
    chunked(struct.pack("<H", 0xFFFF) + one, "chunk count 65535, one chunk present",
            "chunk_count_65535.vzz")
    p100 = _text(100, 77)
    z100 = _zstream(p100)
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 100, 64001) + z100.ljust(64001, b"\0"),
            "packed length 64001 (a valid stream padded to it; the bytes are all there)",
            "packed_length_64001.vzz")
    chunked(struct.pack("<H", 1) + _CHUNK_STORED.pack(0, 64001) + _text(64001, 78),
            "stored chunk with unpacked length 64001, all bytes present",
            "stored_unpacked_64001.vzz")
    z64001 = _zstream(_text(64001, 79))
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 64001, len(z64001)) + z64001,
            "packed chunk with unpacked length 64001 whose stream really expands to 64001",
            "packed_unpacked_64001.vzz")
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 100, len(z100) + 50) + z100,
            "packed length runs 50 bytes past the body", "packed_past_body.vzz")
    chunked(struct.pack("<H", 1) + _CHUNK_STORED.pack(0, 100) + p100[:50],
            "stored chunk of 100 with 50 bytes left", "stored_past_body.vzz")
    chunked(struct.pack("<H", 2) + one + b"\x01\x05",
            "second chunk header cut short", "chunk_header_truncated.vzz")
    chunked(b"", "compressed flag on an empty body: no chunk count", "compressed_empty_body.vzz")
    chunked(b"\x01", "compressed body of one byte", "compressed_one_byte_body.vzz")
    z99 = _zstream(p100[:99])
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 100, len(z99)) + z99,
            "unpacked length 100, stream expands to 99", "chunk_expands_short.vzz")
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 99, len(z100)) + z100,
            "unpacked length 99, stream expands to 100", "chunk_expands_long.vzz")
    bad = bytearray(z100)
    bad[-1] ^= 0xFF
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 100, len(bad)) + bytes(bad),
            "stream with a wrong Adler-32", "chunk_bad_checksum.vzz")
    chunked(struct.pack("<H", 1) + _CHUNK_PACKED.pack(1, 100, 20) + b"\x78\x9c" + junk(18),
            "stream that is not deflate data", "chunk_not_deflate.vzz")
    return out


def make_malformed(directory):
    os.makedirs(directory, exist_ok=True)
    good_facts = [record_fact(1, 130, 0, 10, b"good properties"),
                  record_fact(2, 0, 0, 1, b"good page 0")]
    files = []
    for name, (data, expect) in malformed_builds().items():
        with _builtin_open(os.path.join(directory, name), "wb") as fh:
            fh.write(data)
        entry = {"name": name, "base": 0, "length": len(data)}
        entry.update(expect)
        entry["readable"] = good_facts if expect["fails"] == "read" else []
        files.append(entry)

    # A wrong base: the window starts in the package's junk, not at a record file.
    inner = build({(2, 0): RecordDef(b"inside")}).data
    path = os.path.join(directory, "wrong_base.pkg")
    base, length = embed(path, inner, 3000)
    files.append({"name": "wrong_base.pkg", "base": base - 1000, "length": length,
                  "fails": "open", "description": "base points 1000 bytes before the record file",
                  "readable": []})
    return write_manifest(directory, files)


# --------------------------------------------------------------------------
# Command line


def _dump(vf, out):
    th = vf.th
    out.write("header kind=%d byte6=%d version=%d title=%r\n"
              % (vf.kind, vf.format_byte, vf.version_word, vf.title_text()))
    out.write("layout entry_size=%d record_header_size=%d gap=%d data_start=%d data_length=%d\n"
              % (th.esize, th.hsize, th.gap, th.data_start, th.data_length))
    out.write("table 1 offset=%d capacity=%d bound=%d used=%d\n"
              % (TABLE1_OFFSET, th.cap1, th.bound1, sum(1 for e in vf.tables[1] if e.used)))
    out.write("table 2 offset=%d count=%d used=%d\n"
              % (th.table2_offset, th.count2, sum(1 for e in vf.tables[2] if e.used)))
    for t, i in vf.used_slots():
        e = vf.entry(t, i)
        line = "record %d:%d offset=%d length=%d slack=%d" % (t, i, e.offset, e.length, e.slack)
        try:
            r = vf.read(t, i)
            line += " compressed=%d version=%d stored=%d body=%d sha256=%s" % (
                r.compressed, r.version, len(r.stored), len(r.body), _sha(r.body))
        except VazaziError as err:
            line += " error=%r" % str(err)
        out.write(line + "\n")


def main(argv=None):
    ap = argparse.ArgumentParser(description="VAZAZI record file tool")
    sub = ap.add_subparsers(dest="cmd", required=True)

    def windowed(p):
        p.add_argument("file")
        p.add_argument("--base", type=lambda s: int(s, 0), default=0)
        p.add_argument("--length", type=lambda s: int(s, 0), default=None)

    windowed(sub.add_parser("check", help="check a writer's invariants; exit 1 on problems"))
    windowed(sub.add_parser("dump", help="tables and records, one line each"))
    lr = sub.add_parser("list-records", help="facts of every record, JSON or manifest lines")
    windowed(lr)
    lr.add_argument("--text", action="store_true", help="manifest.txt lines instead of JSON")
    sub.add_parser("make-fixtures", help="unusual legal files + manifest.json").add_argument("dir")
    sub.add_parser("make-malformed", help="broken files + manifest.json").add_argument("dir")
    a = ap.parse_args(argv)

    if a.cmd == "check":
        problems = check(a.file, a.base, a.length)
        for pr in problems:
            print(pr)
        if not problems:
            print("ok")
        return 1 if problems else 0
    if a.cmd in ("make-fixtures", "make-malformed"):
        m = (make_fixtures if a.cmd == "make-fixtures" else make_malformed)(a.dir)
        print("%d files in %s" % (len(m["files"]), a.dir))
        return 0
    try:
        vf = open(a.file, a.base, a.length)
    except (OSError, VazaziError) as e:
        print("cannot open: %s" % e, file=sys.stderr)
        return 2
    if a.cmd == "dump":
        _dump(vf, sys.stdout)
        return 0
    facts = file_facts(vf)
    facts.update(name=os.path.basename(a.file), base=a.base, length=len(vf.data),
                 own_file=not a.length and a.base == 0)
    if a.text:
        sys.stdout.write(facts_text(facts))
    else:
        json.dump(facts, sys.stdout, indent=1, ensure_ascii=False)
        sys.stdout.write("\n")
    return 1 if "errors" in facts else 0


if __name__ == "__main__":
    sys.exit(main())
