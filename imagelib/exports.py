#!/usr/bin/env python3
"""The image library's exports, as its headers declare them.

Every function a header declares with PXL_API is an export: inside an extern "C" block by its
plain name, outside one with C++ linkage by its signature. The linker version script written from
them keeps every other symbol of libpixmill.so local, so templates and type information that the
library's code instantiates from the standard headers do not become part of its interface.

Usage: exports.py --version-script <out.map> <headers...>
       exports.py --list <headers...>      (one export a line, C++ ones by signature)

A declaration the script cannot read (a PXL_API without a name and parameter list after it, or a
C++ export whose parameters are not plain built-in types) is reported as "file:line: message" and
makes the run exit with status 1.
"""

import argparse
import re
import sys

MARK = "PXL_API"

# Parameter types of C++ exports as the demangler spells them, which is how the version script
# names C++ symbols.
BUILTIN_TYPES = {
    "bool": "bool",
    "char": "char",
    "signed char": "signed char",
    "unsigned char": "unsigned char",
    "short": "short",
    "short int": "short",
    "unsigned short": "unsigned short",
    "unsigned short int": "unsigned short",
    "int": "int",
    "signed": "int",
    "signed int": "int",
    "unsigned": "unsigned int",
    "unsigned int": "unsigned int",
    "long": "long",
    "long int": "long",
    "unsigned long": "unsigned long",
    "unsigned long int": "unsigned long",
    "long long": "long long",
    "unsigned long long": "unsigned long long",
    "float": "float",
    "double": "double",
}
TYPE_WORDS = {word for spelling in BUILTIN_TYPES for word in spelling.split()}


class ExportError(Exception):
    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: {message}")


class Export:
    __slots__ = ("name", "cxx_signature")

    def __init__(self, name, cxx_signature=None):
        self.name = name
        self.cxx_signature = cxx_signature  # None for C linkage

    def symbol(self):
        """The export as the demangled dynamic symbol table shows it."""
        return self.cxx_signature or self.name


def blank_comments(text):
    """Replaces comments by spaces, keeping line breaks so positions still give line numbers."""

    def blank(match):
        return re.sub(r"[^\n]", " ", match.group(0))

    return re.sub(r"/\*.*?\*/|//[^\n]*", blank, text, flags=re.S)


def line_of(text, position):
    return text.count("\n", 0, position) + 1


def c_blocks(text):
    """The (start, end) spans of the extern "C" blocks; a block ends at the first line that is a
    lone closing brace, which is how the headers close theirs."""
    spans = []
    for opening in re.finditer(r'extern\s+"C"\s*\{', text):
        closing = re.compile(r"^\}\s*$", re.M).search(text, opening.end())
        spans.append((opening.end(), closing.start() if closing else len(text)))
    return spans


def cxx_signature(path, line, name, parameters):
    if parameters.strip() in ("", "void"):
        return f"{name}()"
    types = []
    for parameter in parameters.split(","):
        words = parameter.split()
        if len(words) > 1 and words[-1] not in TYPE_WORDS:
            words = words[:-1]  # the parameter's name
        spelling = BUILTIN_TYPES.get(" ".join(words))
        if spelling is None:
            raise ExportError(path, line, f"C++ export {name}: parameter '{parameter.strip()}' is not a "
                              "plain built-in type, which the version script cannot spell")
        types.append(spelling)
    return f"{name}({', '.join(types)})"


def header_exports(path, text):
    """The exports one header declares, in order."""
    text = blank_comments(text)
    blocks = c_blocks(text)
    declaration = re.compile(r"\b" + MARK + r"\b([^;{]*?)\b([A-Za-z_]\w*)\s*\(([^()]*)\)\s*[;{]")
    exports = []
    for mark in re.finditer(r"\b" + MARK + r"\b", text):
        line_start = text.rfind("\n", 0, mark.start()) + 1
        if text[line_start : mark.start()].lstrip().startswith("#"):
            continue  # the macro's own definition
        line = line_of(text, mark.start())
        found = declaration.match(text, mark.start())
        if not found:
            raise ExportError(path, line, f"{MARK} not followed by a function declaration whose "
                              "parameters hold no parentheses (name function pointer types)")
        name, parameters = found.group(2), found.group(3)
        if any(start <= mark.start() < end for start, end in blocks):
            exports.append(Export(name))
        else:
            exports.append(Export(name, cxx_signature(path, line, name, parameters)))
    return exports


def read_exports(paths):
    exports = []
    for path in paths:
        with open(path, encoding="utf-8") as f:
            exports.extend(header_exports(path, f.read()))
    return exports


def version_script(exports):
    c_names = sorted({e.name for e in exports if e.cxx_signature is None})
    cxx = sorted({e.cxx_signature for e in exports if e.cxx_signature is not None})
    lines = ["/* Written by imagelib/exports.py from the exported headers. */", "{", "  global:"]
    lines += [f"    {name};" for name in c_names]
    if cxx:
        lines.append('    extern "C++" {')
        lines += [f'      "{signature}";' for signature in cxx]
        lines.append("    };")
    lines += ["  local:", "    *;", "};", ""]
    return "\n".join(lines)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    what = parser.add_mutually_exclusive_group(required=True)
    what.add_argument("--version-script", metavar="OUT")
    what.add_argument("--list", action="store_true")
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args(argv)
    try:
        exports = read_exports(args.headers)
    except (ExportError, OSError) as error:
        print(f"exports.py: {error}", file=sys.stderr)
        return 1
    if args.list:
        for symbol in sorted({e.symbol() for e in exports}):
            print(symbol)
    else:
        with open(args.version_script, "w", encoding="utf-8") as f:
            f.write(version_script(exports))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
