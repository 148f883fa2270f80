#!/usr/bin/env python3
"""A shared library exports exactly what its headers declare: no symbol beside the declarations
(std templates, type information of internal classes) and none of them missing; C functions by
their plain names, C++ ones by their signatures or names, classes with their members, virtual
tables and type information.

Usage: library_exports_test.py --nm <nm or empty> [--mark MACRO] [--cxx-by-name] <library> <headers...>
Exits 77 (skipped) when no nm is to be found."""

import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "cmake"))
import exports  # noqa: E402

SKIPPED = 77


def dynamic_symbols(nm, library):
    """The defined symbols of the dynamic table, demangled (C++ ones as name(parameters))."""
    output = subprocess.run([nm, "-D", "--defined-only", "-C", library], check=True, capture_output=True,
                            text=True).stdout
    symbols = set()
    for line in output.splitlines():
        fields = line.split(maxsplit=2)  # value, type, name (which may hold spaces)
        if len(fields) == 3:
            symbols.add(fields[2])
    return symbols


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", default="")
    exports.add_arguments(parser)
    parser.add_argument("library")
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args(argv)

    nm = args.nm if args.nm and os.access(args.nm, os.X_OK) else shutil.which("nm")
    if not nm:
        print("no nm (binutils) to list the library's dynamic symbols: export test skipped")
        return SKIPPED
    declared = exports.read_exports(args.headers, args.mark, args.cxx_by_name)
    if not declared:
        print(f"no exports found in {' '.join(args.headers)}")
        return 1
    found = dynamic_symbols(nm, args.library)

    stray = sorted(s for s in found if not any(e.matches(s) for e in declared))
    missing = sorted({e.symbol() for e in declared if not any(e.matches(s) for s in found)})
    for symbol in stray:
        print(f"exported but declared in no header: {symbol}")
    for symbol in missing:
        print(f"declared but not exported: {symbol}")
    if stray or missing:
        return 1
    print(f"{len(found)} exports, as the headers declare them")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
