#!/usr/bin/env python3
"""Seed files of the embedded-file tables fuzz target, written by the independent document writer.

    fuzz_file_tables_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: the record version byte by which
tests/fuzz/file_tables_fuzz.cpp reads the body, then the body of document record type 9 as
tools/lcnwriter writes it. tools/make_fuzz_seeds.py runs it once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import records  # noqa: E402
from seed_script import write_named_seed  # noqa: E402

TABLES = {
    "programs": ["c:\\nastroje\\kalk.exe", "d:\\hry\\sachy.exe", "prohlizec.exe"],
    "arguments": ["/a", "-f soubor.txt"],
    "documents": ["c:\\knihy\\druha.lcn", "treti.lcn"],
    "associated": ["c:\\data\\tabulka.xls"],
    "urls": ["http://priklad.cz/", "mailto:autor@priklad.cz"],
}


def _seeds():
    seeds = {"empty-1": bytes([1]) + records.file_tables(version=1).bytes(),
             "empty-2": bytes([2]) + records.file_tables(version=2).bytes()}
    for version in (1, 2):
        seeds["full-%d" % version] = bytes([version]) + records.file_tables(version=version, **TABLES).bytes()
    return seeds


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
