#!/usr/bin/env python3
"""A shared library's exports, as its headers declare them.

Every declaration a header marks with the library's export macro (--mark, PXL_API by default) is
an export:
- a function inside an extern "C" block (or between <X>_BEGIN_C and <X>_END_C) by its plain name;
- a function outside one with C++ linkage, named with its namespaces: by its signature, or, with
  --cxx-by-name, by its name whatever its parameters (for headers whose parameters are library
  types such as std::string_view, which the script does not spell the way the demangler does);
- a class or struct: its members, its virtual table and its type information, which programs
  need to derive from it and UBSan needs to check virtual calls on it.
The linker version script written from them keeps every other symbol of the library local, so
templates and type information that the library's code instantiates from the standard headers do
not become part of its interface.

Usage: exports.py [--mark MACRO] [--cxx-by-name] --version-script <out.map> <headers...>
       exports.py [--mark MACRO] [--cxx-by-name] --list <headers...>   (one export pattern a line)

A declaration the script cannot read (a mark without a name and parameter list after it, a marked
member of a class, or, without --cxx-by-name, a C++ export whose parameters are not plain built-in
types) is reported as "file:line: message" and makes the run exit with status 1.
"""

import argparse
import fnmatch
import re
import sys

DEFAULT_MARK = "PXL_API"

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

# After a function's name in a demangled symbol comes its parameter list or an ABI tag, never a
# character of a longer name. Version scripts take no parentheses or spaces outside quotes, so
# globs use a character class for the one and "?" for the other.
AFTER_NAME = "[!_a-zA-Z0-9]*"


class ExportError(Exception):
    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: {message}")


class Export:
    """One declared export: the symbols it stands for, as exact demangled names (quoted in the
    version script) or as globs."""

    __slots__ = ("name", "c_linkage", "exact", "globs")

    def __init__(self, name, c_linkage=False, exact=None, globs=()):
        self.name = name
        self.c_linkage = c_linkage
        self.exact = exact  # the whole demangled symbol, for C++ exports named by signature
        self.globs = tuple(globs)

    def symbol(self):
        """The export as the demangled dynamic symbol table shows it, or its first glob."""
        if self.c_linkage:
            return self.name
        return self.exact or self.globs[0]

    def patterns(self):
        if self.c_linkage:
            return [self.name]
        return [self.exact] if self.exact else list(self.globs)

    def matches(self, symbol):
        if self.c_linkage:
            return symbol == self.name
        if self.exact:
            return symbol == self.exact
        return any(fnmatch.fnmatchcase(symbol, glob) for glob in self.globs)


def function_export(name, cxx_signature=None, c_linkage=False):
    if c_linkage:
        return Export(name, c_linkage=True)
    if cxx_signature:
        return Export(name, exact=cxx_signature)
    return Export(name, globs=[name + AFTER_NAME])


def class_export(name):
    return Export(name, globs=[f"{name}::*", f"vtable?for?{name}", f"typeinfo?for?{name}",
                               f"typeinfo?name?for?{name}"])


def blank(match):
    return re.sub(r"[^\n]", " ", match.group(0))


def blank_comments(text):
    """Replaces comments by spaces, keeping line breaks so positions still give line numbers."""
    return re.sub(r"/\*.*?\*/|//[^\n]*", blank, text, flags=re.S)


def blank_preprocessor(text):
    """Replaces preprocessor lines (with their continuations) by spaces: macro definitions hold
    the mark and braces that are not declarations."""
    return re.sub(r"^[ \t]*#(?:[^\n]*\\\n)*[^\n]*", blank, text, flags=re.M)


def line_of(text, position):
    return text.count("\n", 0, position) + 1


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


def scope_tokens(mark):
    """What opens and closes scopes, and the mark itself, in the order a header holds them."""
    return re.compile(
        r'(?P<c_open>extern\s+"C"\s*\{|\b\w+_BEGIN_C\b)'
        r"|(?P<c_close>\b\w+_END_C\b)"
        r"|\bnamespace\s+(?P<namespace>[\w:]+)\s*\{"
        r"|\b(?:class|struct)\s+(?P<class_mark>\b" + mark + r"\s+)?(?P<class>\w+)(?:\s+final)?\s*(?::[^;{}()]*)?\{"
        r"|(?P<open>\{)|(?P<close>\})"
        r"|(?P<mark>\b" + mark + r"\b)")


def header_exports(path, text, mark=DEFAULT_MARK, cxx_by_name=False):
    """The exports one header declares, in order."""
    text = blank_preprocessor(blank_comments(text))
    declaration = re.compile(r"\b" + mark + r"\b([^;{]*?)\b([A-Za-z_]\w*)\s*\(([^()]*)\)\s*[;{]")
    scopes = []  # (kind, name): kind is "c", "namespace", "class" or "block"
    exports = []

    def qualified(name):
        return "::".join([n for kind, n in scopes if kind in ("namespace", "class")] + [name])

    for token in scope_tokens(mark).finditer(text):
        line = line_of(text, token.start())
        if token["c_open"]:
            scopes.append(("c", None))
        elif token["namespace"]:
            scopes.append(("namespace", token["namespace"]))
        elif token["class"]:
            if token["class_mark"]:
                exports.append(class_export(qualified(token["class"])))
            scopes.append(("class", token["class"]))
        elif token["open"]:
            scopes.append(("block", None))
        elif token["c_close"] or token["close"]:
            if not scopes:
                raise ExportError(path, line, "a closing brace without an opening one")
            scopes.pop()
        elif token["mark"]:
            exports.append(function_declaration(path, line, text, token.start(), declaration, scopes,
                                                qualified, cxx_by_name))
    return exports


def function_declaration(path, line, text, start, declaration, scopes, qualified, cxx_by_name):
    if scopes and scopes[-1][0] in ("class", "block"):
        raise ExportError(path, line, "a marked member or local declaration: mark the class instead")
    found = declaration.match(text, start)
    if not found:
        raise ExportError(path, line, "export mark not followed by a function declaration whose "
                          "parameters hold no parentheses (name function pointer types)")
    name, parameters = found.group(2), found.group(3)
    if any(kind == "c" for kind, _ in scopes):
        return function_export(name, c_linkage=True)
    if cxx_by_name:
        return function_export(qualified(name))
    return function_export(name, cxx_signature(path, line, qualified(name), parameters))


def read_exports(paths, mark=DEFAULT_MARK, cxx_by_name=False):
    exports = []
    for path in paths:
        with open(path, encoding="utf-8") as f:
            exports.extend(header_exports(path, f.read(), mark, cxx_by_name))
    return exports


def version_script(exports):
    c_names = sorted({e.name for e in exports if e.c_linkage})
    cxx = sorted({f'"{e.exact}"' for e in exports if e.exact})
    cxx += sorted({glob for e in exports if not e.c_linkage and not e.exact for glob in e.globs})
    lines = ["/* Written by cmake/exports.py from the exported headers. */", "{", "  global:"]
    lines += [f"    {name};" for name in c_names]
    if cxx:
        lines.append('    extern "C++" {')
        lines += [f"      {pattern};" for pattern in cxx]
        lines.append("    };")
    lines += ["  local:", "    *;", "};", ""]
    return "\n".join(lines)


def add_arguments(parser):
    """The options that say how a library's headers mark their exports."""
    parser.add_argument("--mark", default=DEFAULT_MARK, help="the export macro (default %(default)s)")
    parser.add_argument("--cxx-by-name", action="store_true",
                        help="name C++ functions by their qualified name, whatever their parameters")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    what = parser.add_mutually_exclusive_group(required=True)
    what.add_argument("--version-script", metavar="OUT")
    what.add_argument("--list", action="store_true")
    add_arguments(parser)
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args(argv)
    try:
        exports = read_exports(args.headers, args.mark, args.cxx_by_name)
    except (ExportError, OSError) as error:
        print(f"exports.py: {error}", file=sys.stderr)
        return 1
    if args.list:
        for pattern in sorted({p for e in exports for p in e.patterns()}):
            print(pattern)
    else:
        with open(args.version_script, "w", encoding="utf-8") as f:
            f.write(version_script(exports))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
