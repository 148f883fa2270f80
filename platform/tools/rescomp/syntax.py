"""The resource files' syntax: tokens, the error every statement raises, and lines of tokens.

A statement reads the rest of its own line through a Line, and a block reads line by line, so
an error names the line it is on and nothing runs on into the next statement."""

import re

MAX_ID = 65535
ENCODING = "cp1250"
# A name written beside an id: a constant as the code spells it. ASCII only, so it is a C++
# identifier too, and never a keyword, a reserved identifier or a macro's usual spelling.
NAME = re.compile(r"k[A-Z][A-Za-z0-9]*\Z", re.ASCII)

# The types the table knows, by their numbers in the stored form.
RT_CURSOR, RT_BITMAP, RT_ICON, RT_MENU, RT_DIALOG, RT_ACCELERATOR = 1, 2, 3, 4, 5, 9
RESOURCE_TYPES = {
    RT_CURSOR: "CURSOR",
    RT_BITMAP: "BITMAP",
    RT_ICON: "ICON",
    RT_MENU: "MENU",
    RT_DIALOG: "DIALOG",
    RT_ACCELERATOR: "ACCELERATORS",
}


class ResourceError(Exception):
    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: {message}")


# ---------------------------------------------------------------------------------------------
# Tokens


class Token:
    __slots__ = ("kind", "value", "line")

    def __init__(self, kind, value, line):
        self.kind = kind  # "word", "number", "ordinal" (#123), "string", "punct" or "eof"
        self.value = value
        self.line = line

    def describe(self):
        if self.kind == "eof":
            return "end of file"
        if self.kind == "string":
            return "a string"
        if self.kind == "ordinal":
            return f"'#{self.value}'"
        return f"'{self.value}'"


STRING_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}
PUNCTUATION = ",{}|"
WORD_PATH_CHARACTERS = "_./-"


def tokenize(path, text):
    """Splits the file into tokens; '//' starts a comment that runs to the end of the line."""
    tokens = []
    for number, line in enumerate(text.split("\n"), start=1):
        pos = 0
        length = len(line)
        while pos < length:
            c = line[pos]
            if c in " \t\r\f\v":
                pos += 1
            elif line.startswith("//", pos):
                break
            elif c == '"':
                value, pos = read_string(path, number, line, pos)
                tokens.append(Token("string", value, number))
            elif c.isdigit() or (c == "-" and line[pos + 1 : pos + 2].isdigit()):
                start = pos
                pos += 1
                while pos < length and (line[pos].isalnum() or line[pos] == "_"):
                    pos += 1
                tokens.append(number_or_word(path, number, line[start:pos]))
            elif c == "#" and line[pos + 1 : pos + 2].isdigit():
                start = pos + 1
                pos += 1
                while pos < length and line[pos].isalnum():
                    pos += 1
                tokens.append(Token("ordinal", parse_number(path, number, line[start:pos]), number))
            elif c.isalpha() or c == "_":
                # A word may go on as a relative path (art/tree/book_1.pix); other paths are quoted.
                start = pos
                while pos < length and (line[pos].isalnum() or line[pos] in WORD_PATH_CHARACTERS):
                    pos += 1
                tokens.append(Token("word", line[start:pos], number))
            elif c in PUNCTUATION:
                tokens.append(Token("punct", c, number))
                pos += 1
            else:
                raise ResourceError(path, number, f"unexpected character {describe_char(c)}")
    tokens.append(Token("eof", None, text.count("\n") + 1))
    return tokens


def read_string(path, number, line, pos):
    """Reads the quoted string starting at line[pos]; returns its text and the position after it."""
    out = []
    pos += 1
    while pos < len(line):
        c = line[pos]
        if c == '"':
            return "".join(out), pos + 1
        if c == "\\":
            if pos + 1 >= len(line):
                break
            escape = line[pos + 1]
            if escape not in STRING_ESCAPES:
                raise ResourceError(path, number, f"unknown escape '\\{escape}' in string")
            out.append(STRING_ESCAPES[escape])
            pos += 2
        else:
            out.append(c)
            pos += 1
    raise ResourceError(path, number, "string not closed before the end of the line")


def number_or_word(path, number, text):
    """A number, or a word that starts with a digit (the style word "3dlook")."""
    if text.isdigit() or text[:1] == "-" or text[:2].lower() == "0x":
        return Token("number", parse_number(path, number, text), number)
    return Token("word", text, number)


def parse_number(path, number, word):
    try:
        if word[:2].lower() == "0x":
            return int(word[2:], 16)
        if word[:3].lower() == "-0x":
            return -int(word[3:], 16)
        return int(word, 10)
    except ValueError:
        raise ResourceError(path, number, f"'{word}' is not a number") from None


def describe_char(c):
    return f"'{c}' (U+{ord(c):04X})"


class TokenStream:
    def __init__(self, path, tokens):
        self.path = path
        self.tokens = tokens
        self.pos = 0

    def peek(self):
        return self.tokens[self.pos]

    def next(self):
        token = self.tokens[self.pos]
        if token.kind != "eof":
            self.pos += 1
        return token

    def accept(self, kind, value=None):
        token = self.peek()
        if token.kind == kind and (value is None or token.value == value):
            return self.next()
        return None

    def expect(self, kind, what):
        token = self.next()
        if token.kind != kind:
            raise self.error(token, f"expected {what}, found {token.describe()}")
        return token

    def error(self, token, message):
        return ResourceError(self.path, token.line, message)

    def rest_of_line(self, token):
        """The tokens after 'token' on its line, as a Line."""
        tokens = []
        while self.peek().kind != "eof" and self.peek().line == token.line:
            tokens.append(self.next())
        return Line(self.path, token, tokens)

    def next_line(self):
        """The whole next line, as a Line whose keyword is its first token; None at the end."""
        first = self.next()
        if first.kind == "eof":
            return None
        return self.rest_of_line(first)


class Line:
    """The tokens of one line after its first (the keyword), read left to right."""

    def __init__(self, path, keyword, tokens):
        self.path = path
        self.keyword = keyword
        self.tokens = tokens
        self.pos = 0

    @property
    def number(self):
        return self.keyword.line

    def from_keyword(self):
        """The same line read again from its first token, for lines without a keyword."""
        return Line(self.path, self.keyword, [self.keyword] + self.tokens)

    def peek(self):
        return self.tokens[self.pos] if self.pos < len(self.tokens) else None

    def next(self):
        token = self.peek()
        if token is None:
            raise self.error("the line ends early")
        self.pos += 1
        return token

    def at_end(self):
        return self.pos >= len(self.tokens)

    def accept(self, kind, value=None):
        token = self.peek()
        if token is not None and token.kind == kind and (value is None or token.value == value):
            self.pos += 1
            return token
        return None

    def expect(self, kind, what):
        token = self.peek()
        if token is None:
            raise self.error(f"expected {what} before the end of the line")
        if token.kind != kind:
            raise self.error(f"expected {what}, found {token.describe()}")
        self.pos += 1
        return token

    def number_in(self, what, low, high):
        token = self.expect("number", what)
        if not low <= token.value <= high:
            raise self.error(f"{what} {token.value} is outside {low}..{high}")
        return token.value

    def optional_name(self):
        """The name written after an id for the code to use (kOpenFile), or None."""
        token = self.peek()
        if token is None or token.kind != "word":
            return None
        self.pos += 1
        return checked_name(self.path, self.number, token.value)

    def resource_name(self, what):
        """An id or a quoted name: the name of a resource a statement defines or refers to."""
        token = self.peek()
        if token is not None and token.kind == "string":
            return self.text(f"the {what} name")
        return self.number_in(f"{what} id", 0, MAX_ID)

    def text(self, what):
        """A quoted text, checked to be writable in cp1250; returned as Python text."""
        token = self.expect("string", what)
        to_cp1250(self.path, self.number, token.value)
        return token.value

    def finish(self):
        token = self.peek()
        if token is not None:
            raise self.error(f"unexpected {token.describe()} at the end of the line")

    def error(self, message):
        return ResourceError(self.path, self.number, message)


def checked_name(path, line, word):
    """The name as written, when it is written as a constant."""
    if not NAME.match(word):
        raise ResourceError(
            path,
            line,
            f"name '{word}' is not written as a constant: 'k', a capital letter, then letters "
            "and digits (kUntitledDocument)",
        )
    return word


def to_cp1250(path, line, text):
    try:
        return text.encode(ENCODING)
    except UnicodeEncodeError as e:
        raise ResourceError(
            path, line, f"character {describe_char(text[e.start])} cannot be written in Windows-1250"
        ) from None
