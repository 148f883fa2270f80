"""DIALOG: a dialog template in dialog units, stored as the classic DLGTEMPLATE.

    DIALOG "NAME"|id x y cx cy
      STYLE <dialog and window words...>      (without STYLE: popup border sysmenu)
      EXSTYLE <extended words or numbers...>
      FONT size "face"                         (adds setfont)
      CAPTION "text"
      CLASS "window class"
      MENU id|"NAME"
      CONTROL <class> <id> [kName] x y cx cy <style words...> ["text" | #id]
    END

A control's class is BUTTON, EDIT, STATIC, LISTBOX, SCROLLBAR, COMBOBOX (stored as their atoms),
msctls_trackbar32, msctls_updown32, or any class name in quotes. Its id is -1..65535 (-1 stands
for 65535, the id of controls nobody asks for); a name beside it (kPassword) is declared for the
code in the module's header of ids. Its style is child and visible, what its class
brings (styles.CONTROL_DEFAULTS) and the words written (styles.py lists them); its text is a
quoted text or #123, the id of a resource (an icon or bitmap of a static). Coordinates are
-32768..32767.

Stored form, little-endian: DWORD style, DWORD extended style, WORD control count, short x, y,
cx, cy; menu, class (each 0x0000 for none, 0xFFFF + WORD id, or a zero-ended UTF-16 text);
the title; with setfont WORD point size and the face. Then each control DWORD-aligned: DWORD
style, DWORD extended style, short x, y, cx, cy, WORD id, class (0xFFFF + atom, or a text),
text (0xFFFF + id, or a text), WORD 0 (no creation data)."""

import struct

import styles
from syntax import MAX_ID, RT_DIALOG

ATOMS = {"BUTTON": 0x80, "EDIT": 0x81, "STATIC": 0x82, "LISTBOX": 0x83, "SCROLLBAR": 0x84, "COMBOBOX": 0x85}
WORD_CLASSES = set(ATOMS) | {"MSCTLS_TRACKBAR32", "MSCTLS_UPDOWN32"}
SHORT = (-32768, 32767)


def utf16(text):
    return text.encode("utf-16-le") + b"\0\0"


def name_or_id(value):
    """The stored form of a menu, class or text: none, a number, or a text."""
    if value is None:
        return b"\0\0"
    if isinstance(value, int):
        return struct.pack("<HH", 0xFFFF, value)
    return utf16(value)


def rectangle(line):
    return [line.number_in(what, *SHORT) for what in ("x", "y", "width", "height")]


class Control:
    def __init__(self, line, resources):
        self.class_name = control_class(line)
        self.id = line.number_in("control id", -1, MAX_ID) & 0xFFFF
        resources.add_named_id("control", line.optional_name(), self.id, line.path, line.number)
        self.rect = rectangle(line)
        style = styles.Style(styles.WS_CHILD | styles.WS_VISIBLE | styles.CONTROL_DEFAULTS.get(self.class_name, 0))
        words = styles.CLASS_WORDS.get(self.class_name.upper())
        tables = ([words] if words else []) + [styles.WINDOW, styles.WINDOW_EXTENDED]
        style.read(line, tables, self.class_name)
        self.style, self.extended = style.style, style.extended
        self.text = ""
        if line.peek() is not None and line.peek().kind == "ordinal":
            self.text = line.next().value
            if self.text > MAX_ID:
                raise line.error(f"resource id {self.text} is outside 0..{MAX_ID}")
        elif line.peek() is not None:
            self.text = line.text("the control's text")
        line.finish()

    def encode(self):
        atom = ATOMS.get(self.class_name.upper())
        window_class = struct.pack("<HH", 0xFFFF, atom) if atom else utf16(self.class_name)
        return (
            struct.pack("<IIhhhhH", self.style, self.extended, *self.rect, self.id)
            + window_class
            + name_or_id(self.text)
            + struct.pack("<H", 0)
        )


def control_class(line):
    """The class as the template stores it: a predefined name in upper case (its atom), else the
    name as written."""
    token = line.next()
    if token.kind == "string":
        line.pos -= 1
        name = line.text("the class name")
        if not name:
            raise line.error("a control's class name cannot be empty")
    elif token.kind == "word" and token.value.upper() in WORD_CLASSES:
        name = token.value
    else:
        raise line.error(
            "expected a control class (BUTTON, EDIT, STATIC, LISTBOX, SCROLLBAR, COMBOBOX, "
            f"msctls_trackbar32, msctls_updown32 or a quoted name), found {token.describe()}"
        )
    return name.upper() if name.upper() in ATOMS else name


class Dialog:
    def __init__(self, head, resources):
        self.resources = resources
        self.name = head.resource_name("dialog")
        self.rect = rectangle(head)
        head.finish()
        self.style = None  # the default unless STYLE is written
        self.extended = 0
        self.font = None  # (point size, face)
        self.caption = ""
        self.window_class = None
        self.menu = None
        self.controls = []
        self.given = {}  # keyword -> line it was given on, so none is given twice

    def read_line(self, line):
        keyword = line.keyword
        reader = LINES.get(keyword.value) if keyword.kind == "word" else None
        if reader is None:
            raise line.error(
                f"expected STYLE, EXSTYLE, FONT, CAPTION, CLASS, MENU, CONTROL or END, found {keyword.describe()}"
            )
        if keyword.value != "CONTROL":
            if keyword.value in self.given:
                raise line.error(f"{keyword.value} is already given on line {self.given[keyword.value]}")
            self.given[keyword.value] = line.number
        reader(self, line)

    def read_style(self, line):
        style = styles.Style()
        style.read(line, [styles.DIALOG, styles.WINDOW, styles.WINDOW_EXTENDED], "a dialog")
        line.finish()
        self.style = style.style
        self.extended |= style.extended

    def read_extended_style(self, line):
        style = styles.Style()
        style.read(line, [styles.WINDOW_EXTENDED], "a dialog's extended style")
        line.finish()
        # A number written here is an extended style, not a style.
        self.extended |= style.extended | style.style

    def read_font(self, line):
        size = line.number_in("point size", 0, MAX_ID)
        self.font = (size, line.text("the face name"))
        line.finish()

    def read_caption(self, line):
        self.caption = line.text("the caption")
        line.finish()

    def read_class(self, line):
        self.window_class = line.text("the window class")
        line.finish()

    def read_menu(self, line):
        self.menu = line.resource_name("menu")
        line.finish()

    def read_control(self, line):
        if len(self.controls) == MAX_ID:
            raise line.error(f"a dialog holds at most {MAX_ID} controls")
        self.controls.append(Control(line, self.resources))

    def encode(self):
        style = styles.DIALOG_DEFAULT if self.style is None else self.style
        if self.font is not None:
            style |= styles.DS_SETFONT
        out = bytearray(struct.pack("<IIHhhhh", style, self.extended, len(self.controls), *self.rect))
        out += name_or_id(self.menu) + name_or_id(self.window_class) + utf16(self.caption)
        if self.font is not None:
            out += struct.pack("<H", self.font[0]) + utf16(self.font[1])
        for control in self.controls:
            out += bytes(-len(out) % 4)
            out += control.encode()
        return bytes(out)


LINES = {
    "STYLE": Dialog.read_style,
    "EXSTYLE": Dialog.read_extended_style,
    "FONT": Dialog.read_font,
    "CAPTION": Dialog.read_caption,
    "CLASS": Dialog.read_class,
    "MENU": Dialog.read_menu,
    "CONTROL": Dialog.read_control,
}


def parse_dialog(stream, start, resources):
    dialog = Dialog(stream.rest_of_line(start), resources)
    while True:
        line = stream.next_line()
        if line is None:
            raise stream.error(start, "DIALOG is not closed with END")
        if line.keyword.kind == "word" and line.keyword.value == "END":
            line.finish()
            break
        dialog.read_line(line)
    resources.add_binary(stream.path, start.line, RT_DIALOG, dialog.name, dialog.encode())
