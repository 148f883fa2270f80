"""The record-file checker for documents: a document whose picture store,
embedded files or keyword index are appended inside it (named by record type
14) does not end where its data area ends, so what follows the data area is
checked as the companions the record names, each a record file of its own.
"""

import struct

from . import records, vazazi

_COMPANION = struct.Struct("<II")
COMPANION_NAMES = {1: "pictureStore", 2: "embeddedFiles", 3: "keywordIndex"}


def _companions(buf):
    """(entry number, base, size) of the present entries of record type 14,
    in file order; [] when the document has no such record."""
    try:
        body = vazazi.from_bytes(buf).read(1, records.slot(14)).body
    except vazazi.VazaziError:
        return []
    if len(body) < 3:
        raise vazazi.VazaziError("record type 14 of %d bytes has no count" % len(body))
    (count,) = struct.unpack_from("<H", body, 1)
    if len(body) < 3 + count * _COMPANION.size:
        raise vazazi.VazaziError("record type 14 names %d companions in %d bytes" % (count, len(body)))
    entries = [(n,) + _COMPANION.unpack_from(body, 3 + n * _COMPANION.size) for n in range(count)]
    return sorted((e for e in entries if e[1:] != (0, 0)), key=lambda e: e[1])


def _check_appended(buf, data_end):
    """Problems of the companions after the data area: they follow it and each
    other without a gap, end with the file, and are sound record files."""
    try:
        entries = _companions(buf)
    except vazazi.VazaziError as e:
        return ["companions: %s" % e]
    if not entries:
        return ["file-end: data area ends at %d, file is %d" % (data_end, len(buf))]
    p = []
    cursor = data_end
    for number, base, size in entries:
        name = COMPANION_NAMES.get(number, "companion %d" % number)
        if base != cursor:
            p.append("companions: %s starts at %d, expected %d" % (name, base, cursor))
        if base + size > len(buf):
            p.append("companions: %s at %d+%d runs past the file's %d bytes" % (name, base, size, len(buf)))
            return p
        p += ["%s: %s" % (name, problem) for problem in vazazi.check_bytes(buf[base:base + size])]
        cursor = base + size
    if cursor != len(buf):
        p.append("file-end: the companions end at %d, file is %d" % (cursor, len(buf)))
    return p


def check(path, base=0, length=None):
    """vazazi.check, except that a whole file may carry its companions after
    its data area when record type 14 names them there."""
    if base or length:
        return vazazi.check(path, base, length)
    try:
        with open(path, "rb") as f:
            buf = f.read()
    except OSError as e:
        return ["window: %s" % e]
    problems = vazazi.check_bytes(buf, exact_end=False)
    if problems:
        return problems
    data_end = vazazi.TableHeader.unpack(buf).data_end
    return [] if data_end == len(buf) else _check_appended(buf, data_end)
