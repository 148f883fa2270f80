"""Style words of dialogs and controls: the lowercase classic names, each standing for the bits of
the constant of the layer's headers it is named for (winplat/user.h, winplat/controls.h).

Window words (any dialog or control):
    popup child visible disabled clipsiblings clipchildren minimize maximize caption border
    dlgframe vscroll hscroll sysmenu thickframe group tabstop minimizebox maximizebox
  extended styles, which go to the extended style wherever they are written:
    dlgmodalframe noparentnotify topmost acceptfiles transparent toolwindow windowedge
    clientedge contexthelp controlparent staticedge
Dialog words (STYLE of a DIALOG):
    absalign sysmodal 3dlook fixedsys nofailcreate localedit setfont modalframe noidlemsg
    setforeground control center centermouse contexthelp
  (contexthelp is the dialog style there; setfont needs no writing: FONT adds it.)
Control words, by class (the class's own words are looked up first, so "center" of an edit
field is its own, not the dialog's):
    BUTTON: push defpush checkbox autocheckbox radio 3state auto3state groupbox userbutton
            autoradio ownerdraw (one of these: the type), lefttext rightbutton text icon bitmap
            left right center top bottom vcenter pushlike multiline notify flat
    EDIT: left center right (one of these), multiline uppercase lowercase password autovscroll
          autohscroll nohidesel oemconvert readonly wantreturn number
    STATIC: left center right icon blackrect grayrect whiterect blackframe grayframe whiteframe
            useritem simple leftnowordwrap ownerdraw bitmap enhmetafile etchedhoriz etchedvert
            etchedframe (one of these: the type), noprefix notify centerimage rightjust
            realsizeimage sunken
    LISTBOX: notify sort noredraw multiplesel ownerdrawfixed ownerdrawvariable hasstrings
             usetabstops nointegralheight multicolumn wantkeyboardinput extendedsel
             disablenoscroll nodata nosel
    COMBOBOX: simple dropdown dropdownlist (one of these), cbownerdrawfixed
              cbownerdrawvariable cbautohscroll oemconvert cbsort cbhasstrings
              nointegralheight disablenoscroll uppercase lowercase
    SCROLLBAR: horz vert topalign leftalign bottomalign rightalign sizebox sizegrip
    msctls_trackbar32: autoticks vert horz top bottom left right both noticks enableselrange
                       fixedlength nothumb tooltips
    msctls_updown32: wrap setbuddyint alignright alignleft autobuddy arrowkeys udhorz
                     nothousands hottrack
A number (0x...) adds its bits to the style, and "not <word>" takes the word's bits away (a
control that starts hidden: "not visible")."""


class Word:
    __slots__ = ("constant", "value", "extended", "field")

    def __init__(self, constant, value, extended=False, field=0):
        self.constant = constant  # the header's name for it
        self.value = value
        self.extended = extended  # a bit of the extended style
        self.field = field  # the mask of the type field it is a value of, or 0 for a flag


def flags(pairs, extended=False):
    return {word: Word(constant, value, extended) for word, (constant, value) in pairs.items()}


def field(mask, pairs):
    return {word: Word(constant, value, field=mask) for word, (constant, value) in pairs.items()}


WINDOW = flags({
    "popup": ("WS_POPUP", 0x80000000),
    "child": ("WS_CHILD", 0x40000000),
    "minimize": ("WS_MINIMIZE", 0x20000000),
    "visible": ("WS_VISIBLE", 0x10000000),
    "disabled": ("WS_DISABLED", 0x08000000),
    "clipsiblings": ("WS_CLIPSIBLINGS", 0x04000000),
    "clipchildren": ("WS_CLIPCHILDREN", 0x02000000),
    "maximize": ("WS_MAXIMIZE", 0x01000000),
    "caption": ("WS_CAPTION", 0x00C00000),
    "border": ("WS_BORDER", 0x00800000),
    "dlgframe": ("WS_DLGFRAME", 0x00400000),
    "vscroll": ("WS_VSCROLL", 0x00200000),
    "hscroll": ("WS_HSCROLL", 0x00100000),
    "sysmenu": ("WS_SYSMENU", 0x00080000),
    "thickframe": ("WS_THICKFRAME", 0x00040000),
    "group": ("WS_GROUP", 0x00020000),
    "tabstop": ("WS_TABSTOP", 0x00010000),
    "minimizebox": ("WS_MINIMIZEBOX", 0x00020000),
    "maximizebox": ("WS_MAXIMIZEBOX", 0x00010000),
})

WINDOW_EXTENDED = flags({
    "dlgmodalframe": ("WS_EX_DLGMODALFRAME", 0x00000001),
    "noparentnotify": ("WS_EX_NOPARENTNOTIFY", 0x00000004),
    "topmost": ("WS_EX_TOPMOST", 0x00000008),
    "acceptfiles": ("WS_EX_ACCEPTFILES", 0x00000010),
    "transparent": ("WS_EX_TRANSPARENT", 0x00000020),
    "toolwindow": ("WS_EX_TOOLWINDOW", 0x00000080),
    "windowedge": ("WS_EX_WINDOWEDGE", 0x00000100),
    "clientedge": ("WS_EX_CLIENTEDGE", 0x00000200),
    "contexthelp": ("WS_EX_CONTEXTHELP", 0x00000400),
    "controlparent": ("WS_EX_CONTROLPARENT", 0x00010000),
    "staticedge": ("WS_EX_STATICEDGE", 0x00020000),
}, extended=True)

DIALOG = flags({
    "absalign": ("DS_ABSALIGN", 0x0001),
    "sysmodal": ("DS_SYSMODAL", 0x0002),
    "3dlook": ("DS_3DLOOK", 0x0004),
    "fixedsys": ("DS_FIXEDSYS", 0x0008),
    "nofailcreate": ("DS_NOFAILCREATE", 0x0010),
    "localedit": ("DS_LOCALEDIT", 0x0020),
    "setfont": ("DS_SETFONT", 0x0040),
    "modalframe": ("DS_MODALFRAME", 0x0080),
    "noidlemsg": ("DS_NOIDLEMSG", 0x0100),
    "setforeground": ("DS_SETFOREGROUND", 0x0200),
    "control": ("DS_CONTROL", 0x0400),
    "center": ("DS_CENTER", 0x0800),
    "centermouse": ("DS_CENTERMOUSE", 0x1000),
    "contexthelp": ("DS_CONTEXTHELP", 0x2000),
})
DS_SETFONT = DIALOG["setfont"].value

BUTTON = {
    **field(0x000F, {
        "push": ("BS_PUSHBUTTON", 0x0000),
        "defpush": ("BS_DEFPUSHBUTTON", 0x0001),
        "checkbox": ("BS_CHECKBOX", 0x0002),
        "autocheckbox": ("BS_AUTOCHECKBOX", 0x0003),
        "radio": ("BS_RADIOBUTTON", 0x0004),
        "3state": ("BS_3STATE", 0x0005),
        "auto3state": ("BS_AUTO3STATE", 0x0006),
        "groupbox": ("BS_GROUPBOX", 0x0007),
        "userbutton": ("BS_USERBUTTON", 0x0008),
        "autoradio": ("BS_AUTORADIOBUTTON", 0x0009),
        "ownerdraw": ("BS_OWNERDRAW", 0x000B),
    }),
    **flags({
        "lefttext": ("BS_LEFTTEXT", 0x0020),
        "rightbutton": ("BS_RIGHTBUTTON", 0x0020),
        "text": ("BS_TEXT", 0x0000),
        "icon": ("BS_ICON", 0x0040),
        "bitmap": ("BS_BITMAP", 0x0080),
        "left": ("BS_LEFT", 0x0100),
        "right": ("BS_RIGHT", 0x0200),
        "center": ("BS_CENTER", 0x0300),
        "top": ("BS_TOP", 0x0400),
        "bottom": ("BS_BOTTOM", 0x0800),
        "vcenter": ("BS_VCENTER", 0x0C00),
        "pushlike": ("BS_PUSHLIKE", 0x1000),
        "multiline": ("BS_MULTILINE", 0x2000),
        "notify": ("BS_NOTIFY", 0x4000),
        "flat": ("BS_FLAT", 0x8000),
    }),
}

EDIT = {
    **field(0x0003, {
        "left": ("ES_LEFT", 0x0000),
        "center": ("ES_CENTER", 0x0001),
        "right": ("ES_RIGHT", 0x0002),
    }),
    **flags({
        "multiline": ("ES_MULTILINE", 0x0004),
        "uppercase": ("ES_UPPERCASE", 0x0008),
        "lowercase": ("ES_LOWERCASE", 0x0010),
        "password": ("ES_PASSWORD", 0x0020),
        "autovscroll": ("ES_AUTOVSCROLL", 0x0040),
        "autohscroll": ("ES_AUTOHSCROLL", 0x0080),
        "nohidesel": ("ES_NOHIDESEL", 0x0100),
        "oemconvert": ("ES_OEMCONVERT", 0x0400),
        "readonly": ("ES_READONLY", 0x0800),
        "wantreturn": ("ES_WANTRETURN", 0x1000),
        "number": ("ES_NUMBER", 0x2000),
    }),
}

STATIC = {
    **field(0x001F, {
        "left": ("SS_LEFT", 0x0000),
        "center": ("SS_CENTER", 0x0001),
        "right": ("SS_RIGHT", 0x0002),
        "icon": ("SS_ICON", 0x0003),
        "blackrect": ("SS_BLACKRECT", 0x0004),
        "grayrect": ("SS_GRAYRECT", 0x0005),
        "whiterect": ("SS_WHITERECT", 0x0006),
        "blackframe": ("SS_BLACKFRAME", 0x0007),
        "grayframe": ("SS_GRAYFRAME", 0x0008),
        "whiteframe": ("SS_WHITEFRAME", 0x0009),
        "useritem": ("SS_USERITEM", 0x000A),
        "simple": ("SS_SIMPLE", 0x000B),
        "leftnowordwrap": ("SS_LEFTNOWORDWRAP", 0x000C),
        "ownerdraw": ("SS_OWNERDRAW", 0x000D),
        "bitmap": ("SS_BITMAP", 0x000E),
        "enhmetafile": ("SS_ENHMETAFILE", 0x000F),
        "etchedhoriz": ("SS_ETCHEDHORZ", 0x0010),
        "etchedvert": ("SS_ETCHEDVERT", 0x0011),
        "etchedframe": ("SS_ETCHEDFRAME", 0x0012),
    }),
    **flags({
        "noprefix": ("SS_NOPREFIX", 0x0080),
        "notify": ("SS_NOTIFY", 0x0100),
        "centerimage": ("SS_CENTERIMAGE", 0x0200),
        "rightjust": ("SS_RIGHTJUST", 0x0400),
        "realsizeimage": ("SS_REALSIZEIMAGE", 0x0800),
        "sunken": ("SS_SUNKEN", 0x1000),
    }),
}

LISTBOX = flags({
    "notify": ("LBS_NOTIFY", 0x0001),
    "sort": ("LBS_SORT", 0x0002),
    "noredraw": ("LBS_NOREDRAW", 0x0004),
    "multiplesel": ("LBS_MULTIPLESEL", 0x0008),
    "ownerdrawfixed": ("LBS_OWNERDRAWFIXED", 0x0010),
    "ownerdrawvariable": ("LBS_OWNERDRAWVARIABLE", 0x0020),
    "hasstrings": ("LBS_HASSTRINGS", 0x0040),
    "usetabstops": ("LBS_USETABSTOPS", 0x0080),
    "nointegralheight": ("LBS_NOINTEGRALHEIGHT", 0x0100),
    "multicolumn": ("LBS_MULTICOLUMN", 0x0200),
    "wantkeyboardinput": ("LBS_WANTKEYBOARDINPUT", 0x0400),
    "extendedsel": ("LBS_EXTENDEDSEL", 0x0800),
    "disablenoscroll": ("LBS_DISABLENOSCROLL", 0x1000),
    "nodata": ("LBS_NODATA", 0x2000),
    "nosel": ("LBS_NOSEL", 0x4000),
})

COMBOBOX = {
    **field(0x0003, {
        "simple": ("CBS_SIMPLE", 0x0001),
        "dropdown": ("CBS_DROPDOWN", 0x0002),
        "dropdownlist": ("CBS_DROPDOWNLIST", 0x0003),
    }),
    **flags({
        "cbownerdrawfixed": ("CBS_OWNERDRAWFIXED", 0x0010),
        "cbownerdrawvariable": ("CBS_OWNERDRAWVARIABLE", 0x0020),
        "cbautohscroll": ("CBS_AUTOHSCROLL", 0x0040),
        "oemconvert": ("CBS_OEMCONVERT", 0x0080),
        "cbsort": ("CBS_SORT", 0x0100),
        "cbhasstrings": ("CBS_HASSTRINGS", 0x0200),
        "nointegralheight": ("CBS_NOINTEGRALHEIGHT", 0x0400),
        "disablenoscroll": ("CBS_DISABLENOSCROLL", 0x0800),
        "uppercase": ("CBS_UPPERCASE", 0x2000),
        "lowercase": ("CBS_LOWERCASE", 0x4000),
    }),
}

SCROLLBAR = flags({
    "horz": ("SBS_HORZ", 0x0000),
    "vert": ("SBS_VERT", 0x0001),
    "topalign": ("SBS_TOPALIGN", 0x0002),
    "leftalign": ("SBS_LEFTALIGN", 0x0002),
    "bottomalign": ("SBS_BOTTOMALIGN", 0x0004),
    "rightalign": ("SBS_RIGHTALIGN", 0x0004),
    "sizebox": ("SBS_SIZEBOX", 0x0008),
    "sizegrip": ("SBS_SIZEGRIP", 0x0010),
})

TRACKBAR = flags({
    "autoticks": ("TBS_AUTOTICKS", 0x0001),
    "horz": ("TBS_HORZ", 0x0000),
    "vert": ("TBS_VERT", 0x0002),
    "bottom": ("TBS_BOTTOM", 0x0000),
    "right": ("TBS_RIGHT", 0x0000),
    "top": ("TBS_TOP", 0x0004),
    "left": ("TBS_LEFT", 0x0004),
    "both": ("TBS_BOTH", 0x0008),
    "noticks": ("TBS_NOTICKS", 0x0010),
    "enableselrange": ("TBS_ENABLESELRANGE", 0x0020),
    "fixedlength": ("TBS_FIXEDLENGTH", 0x0040),
    "nothumb": ("TBS_NOTHUMB", 0x0080),
    "tooltips": ("TBS_TOOLTIPS", 0x0100),
})

UPDOWN = flags({
    "wrap": ("UDS_WRAP", 0x0001),
    "setbuddyint": ("UDS_SETBUDDYINT", 0x0002),
    "alignright": ("UDS_ALIGNRIGHT", 0x0004),
    "alignleft": ("UDS_ALIGNLEFT", 0x0008),
    "autobuddy": ("UDS_AUTOBUDDY", 0x0010),
    "arrowkeys": ("UDS_ARROWKEYS", 0x0020),
    "udhorz": ("UDS_HORZ", 0x0040),
    "nothousands": ("UDS_NOTHOUSANDS", 0x0080),
    "hottrack": ("UDS_HOTTRACK", 0x0100),
})

# By the class name as the template stores it (upper case for the predefined classes).
CLASS_WORDS = {
    "BUTTON": BUTTON,
    "EDIT": EDIT,
    "STATIC": STATIC,
    "LISTBOX": LISTBOX,
    "COMBOBOX": COMBOBOX,
    "SCROLLBAR": SCROLLBAR,
    "MSCTLS_TRACKBAR32": TRACKBAR,
    "MSCTLS_UPDOWN32": UPDOWN,
}

WS_CHILD = WINDOW["child"].value
WS_VISIBLE = WINDOW["visible"].value
WS_POPUP = WINDOW["popup"].value
WS_BORDER = WINDOW["border"].value
WS_SYSMENU = WINDOW["sysmenu"].value

# A DIALOG without STYLE.
DIALOG_DEFAULT = WS_POPUP | WS_BORDER | WS_SYSMENU

# What a control's class brings before its words: every control is a visible child; an edit
# field and a list box are framed, and a list box tells its dialog of clicks; a combo box is the
# simple kind unless a kind is written. "not <word>" takes any of it away.
CONTROL_DEFAULTS = {
    "EDIT": WS_BORDER,
    "LISTBOX": WS_BORDER | LISTBOX["notify"].value,
    "COMBOBOX": COMBOBOX["simple"].value,
}


def all_tables():
    """Every table with its name, for the check that the words match the layer's headers."""
    tables = {"window": WINDOW, "extended": WINDOW_EXTENDED, "dialog": DIALOG}
    tables.update({name.lower(): words for name, words in CLASS_WORDS.items()})
    return tables


class Style:
    """A style being read: the bits so far, and which type field a word has set."""

    def __init__(self, style=0, extended=0):
        self.style = style
        self.extended = extended
        self.fields = {}  # mask -> the word that set it

    def read(self, line, tables, owner):
        """Reads the rest of the line's style words ('owner' names what they style in errors),
        stopping at a text, which is left for the caller."""
        while not line.at_end() and line.peek().kind not in ("string", "ordinal"):
            token = line.next()
            if token.kind == "number":
                self.add_number(line, token.value)
            elif token.kind == "word" and token.value == "not":
                self.remove(self.word(line, line.expect("word", "a style word after 'not'"), tables, owner))
            elif token.kind == "word":
                self.add(line, self.word(line, token, tables, owner), token.value)
            else:
                raise line.error(f"expected a style word, found {token.describe()}")

    def add_number(self, line, value):
        if not 0 <= value <= 0xFFFFFFFF:
            raise line.error(f"style {value:#x} does not fit in 32 bits")
        self.style |= value

    @staticmethod
    def word(line, token, tables, owner):
        for table in tables:
            if token.value in table:
                return table[token.value]
        raise line.error(f"'{token.value}' is not a style word of {owner} (the words are listed in styles.py)")

    def add(self, line, word, written):
        if word.field:
            previous = self.fields.get(word.field)
            if previous is not None:
                raise line.error(f"'{written}' and '{previous}' both give the kind of control: write one")
            self.fields[word.field] = written
            self.style = (self.style & ~word.field) | word.value
        elif word.extended:
            self.extended |= word.value
        else:
            self.style |= word.value

    def remove(self, word):
        if word.extended:
            self.extended &= ~word.value
        else:
            self.style &= ~(word.field or word.value)
