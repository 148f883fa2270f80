"""String lists in their saved form, and the lists built on them.

Saved form: u16 count, u16 free count, u16 block size (0xFFFF and a u32 when
the size is 65535 or more), then the block: count entry headers of H bytes
(byte used, byte length, then the list kind's own fields), then the bytes of
the used entries back to back.  H is 2 for a plain list, 4 for a string pool
(u16 use count) and a keyed text list (u16 key), 7 for a page reference list,
9 for a file name table.
"""

from .fields import Buf, cp

LONG_SIZE = 0xFFFF
MEDIA_TYPES = {"pcx": 1, "gif": 2, "tif": 3, "bmp": 4, "wpg": 5, "ico": 6, "mac": 7,
               "tga": 8, "jpg": 9, "png": 10, "wmf": 100}


class Entry:
    """One entry: its text and the header bytes after used and length.  A
    free slot has text None."""

    def __init__(self, text, extra=b""):
        self.text = None if text is None else cp(text)
        self.extra = bytes(extra)


def saved_list(entries, header_size=2, name="list."):
    """The saved form of a list of `Entry`; header_size counts used and length."""
    headers = Buf()
    strings = bytearray()
    free = 0
    for e in entries:
        if len(e.extra) != header_size - 2:
            raise ValueError("entry header of %d bytes in a list of %d" % (len(e.extra) + 2, header_size))
        if e.text is None:
            free += 1
            headers.raw(bytes(header_size))
            continue
        if len(e.text) > 255:
            raise ValueError("list strings hold at most 255 bytes")
        headers.u8(1).u8(len(e.text)).raw(e.extra)
        strings += e.text
    block = headers.bytes() + bytes(strings)
    out = Buf().u16(len(entries), name + "count").u16(free, name + "free")
    if len(block) >= LONG_SIZE:
        out.u16(LONG_SIZE).u32(len(block), name + "size")
    else:
        out.u16(len(block), name + "size")
    return out.raw(block)


def word(value):
    return Buf().u16(value).bytes()


def string_pool(texts, uses=None):
    """A pool: each text with its use count (1 unless given)."""
    uses = uses or [1] * len(texts)
    return saved_list([Entry(t, word(u)) for t, u in zip(texts, uses)], 4, "pool.")


def keyed_texts(items):
    """A keyed text list: (key, text) pairs."""
    return saved_list([Entry(t, word(k)) for k, t in items], 4, "keyed.")


def page_refs(items):
    """A page reference list: (page, member, extra, text) entries."""
    return saved_list([Entry(t, Buf().u16(p).u8(m).u16(x).bytes()) for p, m, x, t in items],
                      7, "refs.")


def split_path(path, keep_case=False):
    """(folder with its backslash, file name, media type) as a file name table keeps them."""
    path = cp(path)
    if not keep_case:
        path = bytes(c + 32 if 65 <= c <= 90 else c for c in path)
    cut = path.rfind(b"\\") + 1
    folder, name = path[:cut], path[cut:]
    dot = name.rfind(b".")
    if dot < 0:
        media = 0
    else:
        media = MEDIA_TYPES.get(name[dot + 1:].decode("cp1250"), 1)
    return folder, name, media


def file_name_table(paths, tags=None, keep_case=False):
    """A file name table as a document stores it: its folder pool, then the
    table (H = 9: used, length, u16 uses, u16 folder, byte media type, u16 tag).
    tags: the u16 tag of each path (0 = not stored in a companion)."""
    tags = tags or [0] * len(paths)
    folders, folder_uses, entries = [], [], []
    for path, tag in zip(paths, tags):
        folder, name, media = split_path(path, keep_case)
        if not name:
            raise ValueError("a file name table entry needs a file name: %r" % path)
        if folder not in folders:
            folders.append(folder)
            folder_uses.append(0)
        index = folders.index(folder)
        folder_uses[index] += 1
        extra = Buf().u16(1).u16(index).u8(media).u16(tag).bytes()
        entries.append(Entry(name, extra))
    out = Buf().append(string_pool(folders, folder_uses), "folders.")
    return out.append(saved_list(entries, 9, "names."))
