#!/usr/bin/env python3
"""Seed files of the table fuzz target, written by the independent document writer.

    fuzz_table_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: a table's stored form as
tools/lcnwriter writes it into a page row (tests/fuzz/table_read_fuzz.cpp reads it whole).
tools/make_fuzz_seeds.py runs it once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import page  # noqa: E402
from seed_script import write_named_seed  # noqa: E402


def _seeds():
    bordered = [[2, 1], [3, 2], [1, 0], [4, 3]]
    return {
        "plain-2x2": page.table_object({"rows": 2, "columns": 2, "cells": [
            {"text": "a"}, {"text": "b", "width": 40}, {"text": "c"}, {"text": "d"}]}).bytes(),
        "spans-3x3": page.table_object({"rows": 3, "columns": 3, "sections": 255, "cells": [
            {"text": "span", "colspan": 2, "rowspan": 2, "contentHeight": 30, "borders": bordered},
            {"owner": 0}, {"text": "x", "valign": 1, "contentHeight": 5}, {"owner": 0}, {"owner": 0},
            {"text": "y", "valign": 2, "borders": bordered}, {"text": "z", "colspan": 3, "rowspan": 1},
            {"owner": 6}, {"owner": 6}]}).bytes(),
        "two-paragraphs": page.table_object({"rows": 1, "columns": 1, "cells": [
            {"rows": [{"text": "one"}, {"text": "two"}], "borders": bordered}]}).bytes(),
    }


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
