"""Encoders of a document's typed records (table 1), each from its record
table.  Every function returns a `Buf`; its caller bytes (compressed flag,
version) are chosen by the document builder.
"""

from .fields import Buf, cp, fixed
from . import formats, pagestyle, strings

# Record type -> table-1 slot; type 0 uses slots 0..127 by block.
SLOTS = {1: 128, 2: 129, 3: 130, 4: 131, 5: 132, 6: 133, 7: 134, 9: 135, 10: 136, 11: 137,
         12: 138, 13: 139, 14: 140}
FILE_TABLE_TYPES = {1: 4, 3: 10, 4: 11}  # file name table kind -> record type


def slot(record_type, sub_index=0):
    if record_type == 0:
        if not 0 <= sub_index <= 127:
            raise ValueError("string blocks are 0..127")
        return sub_index
    return SLOTS[record_type]


# ---------------------------------------------------------------- type 0

def string_block(strings_by_slot, header_word=0):
    """u16 header word, 256 length bytes, u16 size S, S bytes of the strings."""
    lengths = bytearray(256)
    data = bytearray()
    for s in range(256):
        text = cp(strings_by_slot.get(s, b""))
        if len(text) > 255:
            raise ValueError("a document string holds at most 255 bytes")
        lengths[s] = len(text)
        data += text
    return Buf().u16(header_word).raw(lengths).u16(len(data), "strings.size").raw(data)


def string_blocks(names):
    """{string number: text} -> {block: Buf}."""
    blocks = {}
    for n, text in names.items():
        blocks.setdefault(n // 256, {})[n % 256] = text
    return {b: string_block(s) for b, s in blocks.items()}


# ---------------------------------------------------------------- type 3

PROPERTY_DEFAULTS = {
    "startPage": -1, "contentsPage": 0, "missingProgramPage": -1, "allowCopy": 1,
    "allowPrint": 1, "compressRecords": 0, "password": None, "passwordScope": 0,
    "infoText1": "", "infoText2": "", "language": 0, "objectSound1": -1, "objectSound2": -1,
    "idList": [], "currentId": -1,
}


def scramble(password):
    """The 20 stored password bytes: byte b at i becomes (i - 1 - b) mod 256."""
    data = cp(password)
    if len(data) > 20:
        raise ValueError("a password holds at most 20 bytes")
    out = bytes((i - 1 - b) % 256 for i, b in enumerate(data))
    return out + bytes(20 - len(out))


def _style_groups(b, s, version):
    """The page-defaults fields in the order of the properties record."""
    b.u8(s["widthMode"]).u16(s["width"]).u16(s["height"])
    for m in ("leftMargin", "rightMargin", "topMargin", "bottomMargin"):
        b.u16(s[m])
    b.u8(s["backColour"]).u16(s["backPicture"]).u8(s["backPictureMode"])
    _group10(b, s)
    b.u8(s["bannerOn"]).u8(s["bannerStyle"])
    b.u16(s["soundIndex"]).u8(s["soundMode"])
    if version > 8:
        b.u8(s["option80"])


def _group10(b, s):
    # Bytes 1, 2, 4, 5, 3 of the group: list flag, param 1, param 3, param 4, param 2.
    for f in ("contentsList", "contentsParam1", "contentsParam3", "contentsParam4",
              "contentsParam2"):
        b.u8(s[f])


def properties(values=None, defaults=None, version=10):
    """Document properties, record type 3: the version-10 layout, and the
    older layouts as the reader converts them (7-9 drop the tail fields one by
    one; 6 and below the old order without id list)."""
    p = dict(PROPERTY_DEFAULTS)
    unknown = set(values or {}) - set(p)
    if unknown:
        raise ValueError("unknown document properties %s" % sorted(unknown))
    p.update(values or {})
    s = pagestyle.style(defaults)
    b = Buf().u16(p["startPage"]).u16(p["contentsPage"]).u16(p["missingProgramPage"])
    if version <= 6:
        return _old_properties(b, p, s, version)
    has_password = p["password"] is not None
    b.u8(p["allowCopy"]).u8(p["compressRecords"]).u8(1 if has_password else 0)
    b.raw(scramble(p["password"] or b"")).u8(p["passwordScope"]).u8(p["allowPrint"])
    b.raw(fixed(p["infoText1"], 81)).raw(fixed(p["infoText2"], 81))
    if version > 7:
        b.u32(p["language"])
    if version > 9:
        b.u16(p["objectSound1"]).u16(p["objectSound2"])
    _style_groups(b, s, version)
    b.u16(len(p["idList"]), "ids.count").u16(p["currentId"])
    for i in p["idList"]:
        b.u16(i)
    if version > 9:
        b.u8(0)
    return b


def _old_properties(b, p, s, version):
    b.u8(s["backColour"]).u8(p["allowCopy"])
    if version > 4:
        b.u8(s["widthMode"]).u16(s["width"]).u16(s["height"])
    for m in ("leftMargin", "rightMargin", "topMargin", "bottomMargin"):
        b.u16(s[m])
    _group10(b, s)
    b.u8(s["bannerOn"]).u8(s["bannerStyle"])
    has_password = p["password"] is not None
    b.u8(p["compressRecords"]).u8(1 if has_password else 0).raw(scramble(p["password"] or b""))
    b.u8(p["passwordScope"])
    if version > 2:
        b.u8(p["allowPrint"])
    if version > 3:
        b.raw(fixed(p["infoText1"], 81)).raw(fixed(p["infoText2"], 81))
    if version > 5:
        b.u16(s["soundIndex"]).u8(s["soundMode"])
    return b


# ---------------------------------------------------------------- types 4, 10, 11

def file_table(paths, tags=None):
    """A file name table record: folder pool, then the table."""
    return strings.file_name_table(paths, tags)


# ---------------------------------------------------------------- type 5

STYLE_NAME_SLOT = 30
STYLE_NAME_LIMIT = STYLE_NAME_SLOT - 1

def style_sheet(styles, tab_stops=None, names_count=128, count=128):
    """Style sheet: u16 count, count presence bytes, per present style u16 key
    and the 40-byte record; u16 name count and 30-byte name slots (names of at
    most 29 bytes, zero-padded); the tab-stop
    table (u16 256 entries, u16 size, 768 bytes of (count, u16 offset), stops).
    styles: {slot: {"name", "key", format parts...}}; tab_stops: {slot: [(kind, position)]}."""
    b = Buf().u16(count, "styles.count")
    b.raw(bytes(1 if i in styles else 0 for i in range(count)))
    for i in range(count):
        if i in styles:
            b.u16(styles[i].get("key", 0)).raw(formats.style_record(styles[i]))
    b.u16(names_count, "names.count")
    for i in range(names_count):
        name = cp(styles.get(i, {}).get("name", b""))
        if len(name) > STYLE_NAME_LIMIT:
            raise ValueError("style %d: a name of %d bytes; a style name holds at most %d, its slot's "
                             "last byte is always 0" % (i, len(name), STYLE_NAME_LIMIT))
        b.raw(name + bytes(STYLE_NAME_SLOT - len(name)))
    return b.append(tab_stop_table(tab_stops or {}), "tabs.")


def tab_stop(kind, position):
    """A 4-byte tab stop: byte kind, s16 position, 0."""
    return Buf().u8(kind).u16(position).u8(0).bytes()


def tab_stop_table(stops_by_entry):
    entries = Buf()
    stops = bytearray()
    for i in range(256):
        mine = stops_by_entry.get(i, [])
        entries.u8(len(mine)).u16(768 + len(stops))
        for kind, position in mine:
            stops += tab_stop(kind, position)
    block = entries.bytes() + bytes(stops)
    return Buf().u16(256, "entries").u16(len(block), "size").raw(block)


# ---------------------------------------------------------------- type 6

def colour_table(colours):
    b = Buf().u16(len(colours), "colours.count")
    for r, g, bl in colours:
        b.u8(r).u8(g).u8(bl)
    return b


# ---------------------------------------------------------------- type 7

def face_list(faces, version):
    """u16 count, count x 31-byte names, and from version 3 count charsets."""
    b = Buf().u16(len(faces), "faces.count")
    for name, _ in faces:
        b.raw(fixed(name, 31))
    if version >= 3:
        b.raw(bytes(charset for _, charset in faces))
    return b


def font_table(main, markers=None, version=3):
    """Font table: the main face list; from version 2 the marker list too."""
    b = Buf().append(face_list(main, version), "main.")
    if version >= 2:
        b.append(face_list(markers or [], version), "markers.")
    return b


# ---------------------------------------------------------------- type 9

def file_tables(programs=(), arguments=(), documents=(), associated=(), urls=(),
                program_tags=None, document_tags=None, associated_tags=None, version=2):
    """Embedded-file tables: program table (folder pool, table), argument pool;
    from version 2 also the linked-document table, the associated-file table
    and the URL pool."""
    b = Buf().append(strings.file_name_table(list(programs), program_tags), "programs.")
    b.append(strings.string_pool(list(arguments)), "arguments.")
    if version >= 2:
        b.append(strings.file_name_table(list(documents), document_tags), "documents.")
        b.append(strings.file_name_table(list(associated), associated_tags), "associated.")
        b.append(strings.string_pool(list(urls)), "urls.")
    return b


# ---------------------------------------------------------------- type 14

def companions(entries):
    """Byte 0, u16 count, count x (u32 base, u32 size); entry 1 the picture
    store, entry 2 the embedded files; (0, 0) = absent."""
    b = Buf().u8(0).u16(len(entries), "companions.count")
    for base, size in entries:
        b.u32(base).u32(size)
    return b


# ---------------------------------------------------------------- .lnf type 7

def embedded_font_table(fonts, version=2):
    """u16 N; N x (weight / 10, italic, charset, out precision, pitch and
    family, font index, weight class, italic 0/1); from version 2 N flag bytes."""
    b = Buf().u16(len(fonts), "fonts.count")
    for f in fonts:
        b.u8(f.get("weight", 400) // 10).u8(f.get("italic", 0)).u8(f.get("charset", 0))
        b.u8(f.get("precision", 4)).u8(f.get("pitch", 0))
        b.u8(f["font"]).u8(f.get("weightClass", 3)).u8(1 if f.get("italic") else 0)
    if version >= 2:
        b.raw(bytes(f.get("flags", 2) for f in fonts))
    return b


# ---------------------------------------------------------------- type 1

def _flatten(items, parent=-1, out=None):
    """Pre-order list of (item, parent index); children follow their parent."""
    out = [] if out is None else out
    for item in items:
        index = len(out)
        out.append([item, parent, -1, -1, -1])  # item, parent, previous, next, first child
        _flatten(item.get("children", []), index, out)
    return out


def _link_tree(flat):
    last_child = {}
    for i, (item, parent, _, _, _) in enumerate(flat):
        previous = last_child.get(parent)
        if previous is not None:
            flat[previous][3] = i
            flat[i][2] = previous
        elif parent >= 0:
            flat[parent][4] = i
        last_child[parent] = i


def old_appearance(tree_font, levels, row_spacing=1):
    """The appearance block of contents-tree versions 2-4: u16 (0), tree
    font, byte level count, per level CharFormat and u16 indent, u16 spacing."""
    b = Buf().u16(0).raw(formats.char_format(tree_font)).u8(len(levels))
    for fmt, indent in levels:
        b.raw(formats.char_format(fmt)).u16(indent)
    return b.u16(row_spacing)


def contents_tree(items, version=6, appearance=None):
    """Contents tree: u16 item count, u16 empty slots (0), u16 first top-level
    item (0); versions 0-3 and 5: u16 size and the 15-byte heads, then the
    texts; versions 4 and 6: per item u16 length, head, text; versions 2-4
    end with the old appearance block (appearance: tree font, levels, spacing).
    Head: byte flags (1 used, 8 graft), byte text length, byte no-anchor,
    s16 page, s16 previous, s16 next, s16 first child (graft: link number),
    s16 parent, u16 width (0).  items: [{"text", "page", "noAnchor",
    "graft": link number, "children": [...]}]."""
    flat = _flatten(items)
    _link_tree(flat)
    heads, texts = [], []
    for item, parent, previous, following, child in flat:
        text = cp(item["text"])
        graft = item.get("graft")
        flags = 0x01 | (0x08 if graft is not None else 0)
        head = Buf().u8(flags).u8(len(text)).u8(item.get("noAnchor", 0)).u16(item.get("page", -1))
        head.u16(previous).u16(following).u16(graft if graft is not None else child).u16(parent)
        heads.append(head.u16(0).bytes())
        texts.append(text)
    b = Buf().u16(len(flat), "items.count").u16(0).u16(0)
    if version >= 6 or version == 4:
        for head, text in zip(heads, texts):
            b.u16(len(head) + len(text), "item.length").raw(head + text)
    else:
        b.u16(sum(map(len, heads + texts)), "items.size").raw(b"".join(heads + texts))
    if 2 <= version <= 4:
        b.append(old_appearance(*(appearance or ({"font": 1, "size": 10, "weight": 3, "flags": 0}, []))))
    return b


# ---------------------------------------------------------------- type 2

def linked_documents(paths):
    """The linked documents of a document (and the documents of a package):
    a file name table, link number n naming entry n - 1."""
    return strings.file_name_table(paths)


# ---------------------------------------------------------------- type 12

APPEARANCE_COLOURS = [0xC0FFFF, 0x800000, 0x000000, 0xFFFFFF, 0x008000, 0x800000, 0xFFFFFF, 0xFFFFFF]


def tree_appearance(tree_font, levels, row_spacing=1, colours=None):
    """Record type 12 in its version-1 layout: tree font, byte level count,
    per level a CharFormat and u16 indent, u16 row spacing, eight colours as
    red, green, blue (COLORREF values given)."""
    b = Buf().raw(formats.char_format(tree_font)).u8(len(levels), "levels.count")
    for fmt, indent in levels:
        b.raw(formats.char_format(fmt)).u16(indent)
    b.u16(row_spacing)
    for c in colours or APPEARANCE_COLOURS:
        b.u8(c & 0xFF).u8(c >> 8 & 0xFF).u8(c >> 16 & 0xFF)
    return b


# ---------------------------------------------------------------- type 13

def search_areas(names, pages, extra=0, version=2):
    """byte version, u16 area count, and when there are areas: the names as a
    string list, the page masks (byte 4, u16 pages, u32 per page: bit k = area
    k); from version 2 a u32 extra value.  pages: {page: [area numbers]}."""
    b = Buf().u8(version).u16(len(names), "areas.count")
    if names:
        b.append(strings.saved_list([strings.Entry(n) for n in names]), "names.")
        count = max(pages, default=-1) + 1
        b.u8(4).u16(count, "masks.count")
        for p in range(count):
            b.u32(sum(1 << k for k in pages.get(p, [])))
    if version >= 2:
        b.u32(extra)
    return b


# ---------------------------------------------------------------- .lix numbered records

def keyword_group(terms):
    """One numbered record of a keyword index: u16 term count; per term u16
    reference count, per reference u16 page and two zero bytes, u16 text
    length, the text.  terms: [(text, [pages])]."""
    b = Buf().u16(len(terms), "terms.count")
    for text, pages in terms:
        b.u16(len(pages), "references.count")
        for p in pages:
            b.u16(p).u16(0)
        b.sized(Buf(cp(text)), name="term.")
    return b
