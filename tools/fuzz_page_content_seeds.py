#!/usr/bin/env python3
"""Seed files of the page-content fuzz target, written by the independent document writer.

    fuzz_page_content_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: the whole record of a page of the
writer's reference documents (plain and styled text, a table, pictures, links), as
tests/fuzz/page_content_fuzz.cpp reads it into a document view. tools/make_fuzz_seeds.py runs it
once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import page, reference  # noqa: E402
from seed_script import write_named_seed  # noqa: E402

DOCUMENTS = {"text": reference.text_only, "styled": reference.styled, "table": reference.table,
             "pictures": reference.pictures, "links": reference.links}


def _seeds():
    seeds = {}
    for name, document in DOCUMENTS.items():
        for number, p in enumerate(document()["pages"][:2]):
            seeds["%s-%d" % (name, number)] = page.page_record(p).bytes()
    return seeds


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
