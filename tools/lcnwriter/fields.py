"""Little-endian field writing with named marks.

Every encoder writes through a `Buf`.  Besides the bytes, a Buf keeps marks:
the name, offset and width of the fields that damaged variants patch later
(counts, lengths).  When one Buf is appended to another its marks follow,
shifted and prefixed, so a whole page record knows where each of its row
lengths and counts lies.
"""

import struct

_FORMATS = {1: ("<B", "<b"), 2: ("<H", "<h"), 4: ("<I", "<i")}


def _pack(width, value):
    unsigned, signed = _FORMATS[width]
    if value < 0:
        return struct.pack(signed, value)
    return struct.pack(unsigned, value)


def cp(text):
    """Text as the documents hold it: Windows-1250 bytes (bytes pass through)."""
    if isinstance(text, (bytes, bytearray)):
        return bytes(text)
    return text.encode("cp1250")


class Buf:
    def __init__(self, data=b""):
        self.data = bytearray(data)
        self.marks = []  # (name, offset, width)

    def __len__(self):
        return len(self.data)

    def mark(self, name, width):
        """Names the field of the given width that is written next."""
        self.marks.append((name, len(self.data), width))
        return self

    def field(self, width, value, name=None):
        if name:
            self.mark(name, width)
        self.data += _pack(width, value)
        return self

    def u8(self, value, name=None):
        return self.field(1, value, name)

    def u16(self, value, name=None):
        return self.field(2, value, name)

    def u32(self, value, name=None):
        return self.field(4, value, name)

    def raw(self, data):
        self.data += bytes(data)
        return self

    def append(self, other, prefix=""):
        """Appends another Buf (or bytes); its marks follow under the prefix."""
        base = len(self.data)
        if isinstance(other, Buf):
            self.marks += [(prefix + name, base + offset, width)
                           for name, offset, width in other.marks]
            self.data += other.data
        else:
            self.data += bytes(other)
        return self

    def sized(self, other, width=2, name="", prefix=None):
        """A length field of the given width, then the bytes it counts."""
        self.field(width, len(other), (name + "length") if name is not None else None)
        return self.append(other, name if prefix is None else prefix)

    def bytes(self):
        return bytes(self.data)


def fixed(text, size):
    """Text in a zero-padded field of size bytes (cut to size - 1, so a NUL always ends it)."""
    data = cp(text)[:size - 1]
    return data + bytes(size - len(data))
