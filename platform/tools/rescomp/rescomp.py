#!/usr/bin/env python3
"""Resource compiler: turns a module's .rsrc text files into one C++ source file and a header.

The generated source holds the module's resources as constant tables (texts already converted to
Windows-1250, the encoding the programs work in) and registers the module's descriptor with the
platform layer when the module is loaded. The generated header names the module's resource ids
for its code.

Usage: rescomp.py --module <windows file name> [--program] --output <out.cpp>
                  [--header <out.h> --namespace <c++ namespace>] [--depfile <out.d>] <inputs...>

Input syntax (UTF-8):

    // comment
    STRINGTABLE
      8105 kGifLicenseNotice "LZW licensed..."
      8107 "Quotes \\" tab \\t newline \\n"
    END

An entry is its id, an optional name and its text (a comma may stand before the text). A name is
written as the code writes a constant: 'k', a capital letter, then letters and digits
(kUntitledDocument). The header declares each name verbatim, in the namespace given, as

    namespace pixmill::res {
    inline constexpr UINT kGifLicenseNotice = 8105;
    }

so the name the code uses is the one written beside the id, and no macro of a system header can
clash with it. Names are unique in a module: one name stands for one id. The build writes the
header of a module as "resources/<module>_ids.h" in namespace <module>::res (see
cmake/Resources.cmake).

Pictures are BITMAP, CURSOR and ICON statements naming a file beside the resource file
(picture_statements.py); pix.py describes the .pix pixel-art format they are drawn in.

Every error is reported as "file:line: message" and makes the run exit with status 1.
"""

import argparse
import os
import re
import sys
import tempfile

import picture_statements
import pix

MAX_ID = 65535
ENCODING = "cp1250"
# A resource name: a constant as the code spells it. ASCII only, so it is a C++ identifier too,
# and never a keyword, a reserved identifier or a macro's usual spelling.
NAME = re.compile(r"k[A-Z][A-Za-z0-9]*\Z", re.ASCII)
IDENTIFIER = re.compile(r"[A-Za-z_][A-Za-z0-9_]*\Z", re.ASCII)


class ResourceError(Exception):
    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: {message}")


# ---------------------------------------------------------------------------------------------
# Tokens


class Token:
    __slots__ = ("kind", "value", "line")

    def __init__(self, kind, value, line):
        self.kind = kind  # "word", "number", "string", "punct" or "eof"
        self.value = value
        self.line = line

    def describe(self):
        if self.kind == "eof":
            return "end of file"
        if self.kind == "string":
            return "a string"
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
            elif c.isdigit():
                start = pos
                while pos < length and (line[pos].isalnum() or line[pos] == "_"):
                    pos += 1
                tokens.append(Token("number", parse_number(path, number, line[start:pos]), number))
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


def parse_number(path, number, word):
    try:
        if word[:2].lower() == "0x":
            return int(word[2:], 16)
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


# ---------------------------------------------------------------------------------------------
# Statements. Each block statement has its own parser; they add what they read to Resources.


class StringEntry:
    __slots__ = ("id", "name", "text", "path", "line")

    def __init__(self, id_, name, text, path, line):
        self.id = id_
        self.name = name  # None when the entry has no name
        self.text = text  # cp1250 bytes
        self.path = path
        self.line = line


class BinaryEntry:
    """A resource other than a string: its type, its name (an id or an upper-case cp1250 text) and
    its bytes in the stored form."""

    __slots__ = ("type", "name", "data", "path", "line")

    def __init__(self, rtype, name, data, path, line):
        self.type = rtype
        self.name = name  # int, or cp1250 bytes in upper case
        self.data = data
        self.path = path
        self.line = line

    def sort_key(self):
        """The order of the module's table: by type, then numeric ids, then names by their bytes."""
        if isinstance(self.name, int):
            return (self.type, 0, self.name, b"")
        return (self.type, 1, 0, self.name)

    def describe(self):
        name = self.name if isinstance(self.name, int) else '"' + self.name.decode(ENCODING) + '"'
        return f"{RESOURCE_TYPES.get(self.type, f'type {self.type}')} {name}"


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


def upper_cp1250(path, line, name):
    """A resource name as the table stores it: upper case, cp1250. A letter whose upper case
    cp1250 cannot hold as one character (German sharp s) stays as it is, as the layer's rule
    leaves it."""
    out = []
    for c in name:
        upper = c.upper()
        out.append(upper if len(upper) == 1 and can_encode(upper) else c)
    return to_cp1250(path, line, "".join(out))


def can_encode(c):
    try:
        c.encode(ENCODING)
        return True
    except UnicodeEncodeError:
        return False


class Resources:
    """Everything read from all input files of one module."""

    def __init__(self):
        self.strings = {}
        self.names = {}  # name -> the entry that gave it, across every kind of resource
        self.binaries = {}  # (type, id or upper-case name) -> BinaryEntry
        self.dependencies = []  # files read besides the inputs (pictures), for the build's depfile

    def add_string(self, entry):
        previous = self.strings.get(entry.id)
        if previous is not None:
            raise already_taken(entry, previous, f"string id {entry.id} is already defined")
        self.add_name(entry)
        self.strings[entry.id] = entry

    def add_binary(self, path, line, rtype, name, data):
        """Adds a resource of type 'rtype' named 'name' (an int id, or a text; "#123" is id 123)
        holding 'data' in its stored form."""
        if isinstance(name, str):
            if re.fullmatch(r"#[0-9]+", name, re.ASCII):
                name = int(name[1:])
            elif not name:
                raise ResourceError(path, line, "a resource name cannot be empty")
            else:
                name = upper_cp1250(path, line, name)
        if isinstance(name, int) and not 0 <= name <= MAX_ID:
            raise ResourceError(path, line, f"resource id {name} is outside 0..{MAX_ID}")
        entry = BinaryEntry(rtype, name, bytes(data), path, line)
        previous = self.binaries.get((rtype, name))
        if previous is not None:
            raise already_taken(entry, previous, f"{entry.describe()} is already defined")
        self.binaries[(rtype, name)] = entry
        return entry

    def add_dependency(self, path):
        self.dependencies.append(path)

    def add_name(self, entry):
        if entry.name is None:
            return
        previous = self.names.get(entry.name)
        if previous is not None:
            raise already_taken(entry, previous, f"name {entry.name} already stands for id {previous.id}")
        self.names[entry.name] = entry


def already_taken(entry, previous, what):
    """The refusal of an entry that takes what an earlier one has, saying where that one stands."""
    return ResourceError(entry.path, entry.line, f"{what} at {previous.path}:{previous.line}")


def to_cp1250(path, line, text):
    try:
        return text.encode(ENCODING)
    except UnicodeEncodeError as e:
        raise ResourceError(
            path, line, f"character {describe_char(text[e.start])} cannot be written in Windows-1250"
        ) from None


def parse_stringtable(stream, start, resources):
    while True:
        token = stream.next()
        if token.kind == "word" and token.value == "END":
            return
        if token.kind == "eof":
            raise stream.error(start, "STRINGTABLE is not closed with END")
        if token.kind != "number":
            raise stream.error(token, f"expected a string id or END, found {token.describe()}")
        if not 0 <= token.value <= MAX_ID:
            raise stream.error(token, f"string id {token.value} is outside 0..{MAX_ID}")
        name = parse_name(stream)
        stream.accept("punct", ",")
        text = stream.expect("string", "a quoted string")
        resources.add_string(
            StringEntry(token.value, name, to_cp1250(stream.path, text.line, text.value), stream.path, text.line)
        )


def parse_name(stream):
    """The optional name after an id; END is left for the block, so a missing text is named as such."""
    token = stream.peek()
    if token.kind != "word" or token.value == "END":
        return None
    stream.next()
    if not NAME.match(token.value):
        raise stream.error(
            token,
            f"name '{token.value}' is not written as a constant: 'k', a capital letter, then letters "
            "and digits (kUntitledDocument)",
        )
    return token.value


STATEMENTS = {
    "STRINGTABLE": parse_stringtable,
    **picture_statements.STATEMENTS,
}


def parse_file(path, resources):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise ResourceError(path, 0, f"cannot read: {e.strerror}") from None
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        line = data[: e.start].count(b"\n") + 1
        raise ResourceError(path, line, "the file is not valid UTF-8") from None

    stream = TokenStream(path, tokenize(path, text))
    while True:
        token = stream.next()
        if token.kind == "eof":
            return
        parser = STATEMENTS.get(token.value) if token.kind == "word" else None
        if parser is None:
            raise stream.error(token, f"expected a resource statement, found {token.describe()}")
        parser(stream, token, resources)


# ---------------------------------------------------------------------------------------------
# Output


def c_string(data):
    """A C++ string literal of the bytes. Non-ASCII bytes become three-digit octal escapes, which
    end on their own, so no following character can be read as part of them; '?' is escaped so
    no pair of them can look like a trigraph to a compiler that warns about those."""
    named = {0x5C: "\\\\", 0x22: '\\"', 0x3F: "\\?", 0x0A: "\\n", 0x0D: "\\r", 0x09: "\\t"}
    out = ['"']
    for b in data:
        if b in named:
            out.append(named[b])
        elif 0x20 <= b < 0x7F:
            out.append(chr(b))
        else:
            out.append(f"\\{b:03o}")
    out.append('"')
    return "".join(out)


def binary_tables(binaries):
    """The bytes of each binary resource, then the sorted table of them. The bytes are aligned as
    a DWORD, as programs reading a template in place expect."""
    lines = []
    for index, entry in enumerate(binaries):
        lines.append(f"// From {os.path.basename(entry.path)}:{entry.line}")
        lines.append(f"alignas(4) const unsigned char kResource{index}[] = {{")
        data = entry.data or b"\0"  # an array cannot be empty; the size says 0
        for start in range(0, len(data), 16):
            lines.append("    " + " ".join(f"0x{b:02x}," for b in data[start : start + 16]))
        lines.append("};")
    if binaries:
        lines.append("")
        lines.append("const winplat::BinaryResource kResources[] = {")
        for index, entry in enumerate(binaries):
            if isinstance(entry.name, int):
                id_, name = entry.name, "nullptr"
            else:
                id_, name = 0, c_string(entry.name)
            lines.append(f"    {{{entry.type}, {id_}, {name}, kResource{index}, {len(entry.data)}}},")
        lines.append("};")
    return lines


def generate(module, is_program, inputs, resources):
    lines = [
        "// Generated by rescomp.py from the resource files below; edit those instead.",
    ]
    lines += [f"//   {os.path.basename(path)}" for path in inputs]
    lines += [
        '#include "winplat/resources.h"',
        "",
        "namespace {",
        "",
    ]
    entries = [resources.strings[i] for i in sorted(resources.strings)]
    if entries:
        lines.append("const winplat::StringResource kStrings[] = {")
        for entry in entries:
            lines.append(f"    {{{entry.id}, {c_string(entry.text)}, {len(entry.text)}}},")
        lines.append("};")
        table = "kStrings"
    else:
        table = "nullptr"
    binaries = sorted(resources.binaries.values(), key=BinaryEntry.sort_key)
    lines += binary_tables(binaries)
    lines += [
        "",
        "const winplat::ModuleResources kModule = {",
        f"    {c_string(module)},",
        f"    {'true' if is_program else 'false'},",
        f"    {table},",
        f"    {len(entries)},",
        f"    {'kResources' if binaries else 'nullptr'},",
        f"    {len(binaries)},",
        "};",
        "",
        "// Registers the module while it is loaded; its address also tells which file it came from.",
        "// Registered before any other initialiser of the module runs, so start-up code can already",
        "// load its strings.",
        "struct Registration {",
        "    HINSTANCE instance;",
        "    Registration() : instance(winplat::registerModule(kModule, &kModule)) {}",
        "    ~Registration() { winplat::unregisterModule(instance); }",
        "    Registration(const Registration&) = delete;",
        "    Registration& operator=(const Registration&) = delete;",
        "};",
        "",
        "__attribute__((init_priority(101))) const Registration registration;",
        "",
        "}  // namespace",
        "",
    ]
    return "\n".join(lines)


def generate_header(namespace, header, inputs, resources):
    guard = "RESCOMP_" + re.sub(r"[^A-Za-z0-9]", "_", os.path.basename(header)).upper()
    lines = [
        "// Generated by rescomp.py from the resource files below; edit those instead.",
    ]
    lines += [f"//   {os.path.basename(path)}" for path in inputs]
    lines += [
        f"#ifndef {guard}",
        f"#define {guard}",
        "",
        '#include "winplat/types.h"',
        "",
        f"namespace {namespace} {{",
        "",
        "// String ids (LoadStringA).",
    ]
    for entry in (resources.strings[i] for i in sorted(resources.strings)):
        if entry.name is not None:
            lines.append(f"inline constexpr UINT {entry.name} = {entry.id};")
    lines += [
        "",
        f"}}  // namespace {namespace}",
        "",
        "#endif",
        "",
    ]
    return "\n".join(lines)


def depfile(output, sources):
    """The output's dependencies as make writes them, so the build reruns the compiler when a
    picture changes."""

    def escaped(path):
        return os.path.abspath(path).replace("\\", "\\\\").replace(" ", "\\ ").replace("$", "$$")

    return f"{escaped(output)}: " + " \\\n  ".join(escaped(p) for p in sources) + "\n"


def valid_namespace(namespace):
    return all(IDENTIFIER.match(part) for part in namespace.split("::"))


def write_if_changed(path, content):
    data = content.encode("utf-8")
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    directory = os.path.dirname(os.path.abspath(path))
    os.makedirs(directory, exist_ok=True)
    # Written aside and renamed, so an interrupted run never leaves half a file behind.
    fd, temp = tempfile.mkstemp(dir=directory, prefix=".rescomp-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temp, 0o666 & ~umask)
        os.replace(temp, path)
    except BaseException:
        os.unlink(temp)
        raise


def main(argv=None):
    parser = argparse.ArgumentParser(description="Compiles .rsrc resource files into C++.")
    parser.add_argument("--module", required=True, help="the module's Windows file name, e.g. lect32.exe")
    parser.add_argument("--program", action="store_true", help="the module is the program itself")
    parser.add_argument("--output", required=True, help="the C++ file to write")
    parser.add_argument("--header", help="the header of named ids to write (needs --namespace)")
    parser.add_argument("--namespace", help="the C++ namespace of the named ids, e.g. pixmill::res")
    parser.add_argument("--depfile", help="a make-style file of every file the output was made from")
    parser.add_argument("inputs", nargs="+", help=".rsrc files")
    args = parser.parse_args(argv)

    try:
        module = args.module.encode(ENCODING)
    except UnicodeEncodeError:
        print(f"rescomp: the module name {args.module!r} cannot be written in Windows-1250", file=sys.stderr)
        return 1
    if bool(args.header) != bool(args.namespace):
        print("rescomp: --header and --namespace go together", file=sys.stderr)
        return 1
    if args.namespace and not valid_namespace(args.namespace):
        print(f"rescomp: {args.namespace!r} is not a C++ namespace name", file=sys.stderr)
        return 1
    try:
        resources = Resources()
        for path in args.inputs:
            parse_file(path, resources)
        # Each file is rewritten only when it changes, so a changed text rebuilds the table alone
        # and the code that includes the header is compiled again only when a name or id changes.
        write_if_changed(args.output, generate(module, args.program, args.inputs, resources))
        if args.header:
            write_if_changed(args.header, generate_header(args.namespace, args.header, args.inputs, resources))
        if args.depfile:
            # Written every run: the build may take it away once it has read it.
            with open(args.depfile, "w", encoding="utf-8") as f:
                f.write(depfile(args.output, args.inputs + resources.dependencies))
    except (ResourceError, pix.PictureError) as e:
        print(e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
