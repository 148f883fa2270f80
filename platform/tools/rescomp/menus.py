"""MENU and ACCELERATORS: menus as the classic menu template, key tables as accelerator entries.

    MENU id|"NAME"
      POPUP "&Soubor" [flags]
        ITEM 1002 [kOpen] "&Otevřít...\\tCtrl+O" [flags]
        SEPARATOR
        POPUP "Nedávné"
          ITEM 1100 "1"
        END
      END
      ITEM 1003 "Konec"
    END

A name beside an item's id (kOpen) is declared for the code in the module's header of ids.
Flags: checked grayed disabled menubreak menubarbreak help. A menu and each drop-down hold at
least one item. Stored form, little-endian: WORD version 0, WORD header size 0; then each item:
WORD option (its MF_ flags; MF_POPUP for a drop-down, MF_END on the last item of its level),
WORD id (not for a drop-down), its zero-ended UTF-16 text; a drop-down's items follow it at
once. A separator is option 0, id 0 and an empty text.

    ACCELERATORS id|"NAME"
      CTRL "O" 1002
      F2 1017
      ALT SHIFT LEFT 1037
      ASCII "+" 1040
    END

A line is its modifiers (CTRL, SHIFT, ALT, in any order), a key and the command id. The key is a
quoted letter or digit (the virtual key of the upper-case letter), a key name (F1..F24 LEFT RIGHT
UP DOWN HOME END PRIOR NEXT INSERT DELETE ESCAPE RETURN TAB BACK SPACE ADD SUBTRACT MULTIPLY
DIVIDE NUMPAD0..NUMPAD9) or a virtual key number. ASCII "x" matches the character typed instead,
with ALT at most. Each entry is stored as WORD flags (FVIRTKEY 0x01, FSHIFT 0x04, FCONTROL 0x08,
FALT 0x10; 0x80 on the last entry), WORD key, WORD command, WORD 0."""

import struct

from syntax import ENCODING, MAX_ID, RT_ACCELERATOR, RT_MENU

MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP = 0x0001, 0x0002, 0x0008, 0x0010
MF_MENUBARBREAK, MF_MENUBREAK, MF_END, MF_HELP = 0x0020, 0x0040, 0x0080, 0x4000
ITEM_FLAGS = {
    "checked": MF_CHECKED,
    "grayed": MF_GRAYED,
    "disabled": MF_DISABLED,
    "menubreak": MF_MENUBREAK,
    "menubarbreak": MF_MENUBARBREAK,
    "help": MF_HELP,
}

FVIRTKEY, FSHIFT, FCONTROL, FALT, LAST_ENTRY = 0x01, 0x04, 0x08, 0x10, 0x80
MODIFIERS = {"CTRL": FCONTROL, "SHIFT": FSHIFT, "ALT": FALT}
KEYS = {
    "BACK": 0x08, "TAB": 0x09, "RETURN": 0x0D, "ESCAPE": 0x1B, "SPACE": 0x20, "PRIOR": 0x21,
    "NEXT": 0x22, "END": 0x23, "HOME": 0x24, "LEFT": 0x25, "UP": 0x26, "RIGHT": 0x27, "DOWN": 0x28,
    "INSERT": 0x2D, "DELETE": 0x2E, "MULTIPLY": 0x6A, "ADD": 0x6B, "SUBTRACT": 0x6D, "DIVIDE": 0x6F,
    **{f"NUMPAD{n}": 0x60 + n for n in range(10)},
    **{f"F{n}": 0x6F + n for n in range(1, 25)},
}


def is_end(line):
    return line.keyword.kind == "word" and line.keyword.value == "END" and line.at_end()


# ---------------------------------------------------------------------------------------------
# MENU


class MenuItem:
    def __init__(self, option, id_, text, children=None):
        self.option = option
        self.id = id_
        self.text = text
        self.children = children  # the items of a drop-down, else None

    def encode(self, last):
        option = self.option | (MF_END if last else 0)
        out = struct.pack("<H", option)
        if self.children is None:
            out += struct.pack("<H", self.id)
        out += self.text.encode("utf-16-le") + b"\0\0"
        if self.children is not None:
            out += encode_level(self.children)
        return out


def encode_level(items):
    return b"".join(item.encode(i == len(items) - 1) for i, item in enumerate(items))


def item_flags(line):
    flags = 0
    while not line.at_end():
        token = line.expect("word", "an item flag")
        if token.value not in ITEM_FLAGS:
            raise line.error(f"'{token.value}' is not an item flag ({' '.join(ITEM_FLAGS)})")
        flags |= ITEM_FLAGS[token.value]
    return flags


def read_level(stream, start, what, resources):
    """The items up to the END of a menu or drop-down that 'start' opened."""
    items = []
    while True:
        line = stream.next_line()
        if line is None:
            raise stream.error(start, f"{what} is not closed with END")
        if is_end(line):
            if not items:
                raise stream.error(start, f"{what} holds no item")
            return items
        items.append(read_item(stream, line, resources))


def read_item(stream, line, resources):
    keyword = line.keyword.value if line.keyword.kind == "word" else None
    if keyword == "ITEM":
        id_ = line.number_in("command id", 0, MAX_ID)
        resources.add_named_id("command", line.optional_name(), id_, line.path, line.number)
        text = line.text("the item's text")
        return MenuItem(item_flags(line), id_, text)
    if keyword == "SEPARATOR":
        line.finish()
        return MenuItem(0, 0, "")
    if keyword == "POPUP":
        text = line.text("the drop-down's text")
        flags = item_flags(line) | MF_POPUP
        return MenuItem(flags, 0, text, read_level(stream, line.keyword, "POPUP", resources))
    raise line.error(f"expected ITEM, SEPARATOR, POPUP or END, found {line.keyword.describe()}")


def parse_menu(stream, start, resources):
    head = stream.rest_of_line(start)
    name = head.resource_name("menu")
    head.finish()
    items = read_level(stream, start, "MENU", resources)
    data = struct.pack("<HH", 0, 0) + encode_level(items)
    resources.add_binary(stream.path, start.line, RT_MENU, name, data)


# ---------------------------------------------------------------------------------------------
# ACCELERATORS


def read_key(line):
    """The flags and key of the rest of the line before the command id."""
    flags = 0
    token = line.next()
    while token.kind == "word" and token.value in MODIFIERS and not line.at_end():
        if flags & MODIFIERS[token.value]:
            raise line.error(f"{token.value} is written twice")
        flags |= MODIFIERS[token.value]
        token = line.next()
    if token.kind == "word" and token.value == "ASCII":
        if flags & (FCONTROL | FSHIFT):
            raise line.error("a character key takes ALT at most: CTRL and SHIFT change the character itself")
        return flags, character_key(line)
    flags |= FVIRTKEY
    if token.kind == "string":
        return flags, letter_key(line, token.value)
    if token.kind == "word" and token.value in KEYS:
        return flags, KEYS[token.value]
    if token.kind == "number":
        if not 1 <= token.value <= 0xFE:
            raise line.error(f"virtual key {token.value} is outside 1..254")
        return flags, token.value
    raise line.error(f"expected CTRL, SHIFT, ALT, ASCII, a quoted letter or a key name, found {token.describe()}")


def letter_key(line, text):
    if len(text) != 1 or not ("0" <= text <= "9" or "A" <= text.upper() <= "Z"):
        raise line.error(f'the quoted key "{text}" is not one letter or digit: name the key (F2, LEFT, ...)')
    return ord(text.upper())


def character_key(line):
    text = line.text("the character")
    if len(text) != 1:
        raise line.error(f'the character "{text}" is not one character')
    return text.encode(ENCODING)[0]


def parse_accelerators(stream, start, resources):
    head = stream.rest_of_line(start)
    name = head.resource_name("accelerator table")
    head.finish()
    entries = []
    chords = {}  # (flags, key) -> line, so no chord stands for two commands
    while True:
        line = stream.next_line()
        if line is None:
            raise stream.error(start, "ACCELERATORS is not closed with END")
        if is_end(line):
            break
        line = line.from_keyword()  # the first word is already part of the key
        flags, key = read_key(line)
        command = line.number_in("command id", 0, MAX_ID)
        line.finish()
        if (flags, key) in chords:
            raise line.error(f"the same key is given on line {chords[(flags, key)]}")
        chords[(flags, key)] = line.number
        entries.append((flags, key, command))
    if not entries:
        raise stream.error(start, "ACCELERATORS holds no key")
    data = b"".join(
        struct.pack("<HHHH", flags | (LAST_ENTRY if i == len(entries) - 1 else 0), key, command, 0)
        for i, (flags, key, command) in enumerate(entries)
    )
    resources.add_binary(stream.path, start.line, RT_ACCELERATOR, name, data)
