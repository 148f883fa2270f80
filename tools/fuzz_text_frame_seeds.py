#!/usr/bin/env python3
"""Seed files of the text-frame record fuzz target, written by the independent document writer.

    fuzz_text_frame_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: a text frame's record as
tools/lcnwriter writes it (tests/fuzz/text_frame_record_fuzz.cpp reads it whole).
tools/make_fuzz_seeds.py runs it once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import page  # noqa: E402
from seed_script import write_named_seed  # noqa: E402


def _seeds():
    rows = [{"text": "one", "tabs": [[0, 40], [2, 90]]}, {"text": "two"}]
    view = {"height": 40, "width": 80, "caretRow": 1, "caretOffset": 2, "selection": [0, 0, 1, 2],
            "scrollX": 3, "scrollY": 7}
    return {
        "version-1": page.text_frame(rows, version=1, view=view).bytes(),
        "version-2-view": page.text_frame(rows, version=2, view=view).bytes(),
        "all-sections": page.text_frame(rows, view=view, highlights=[[(0, 2)], []], sections=255).bytes(),
        "no-sections": page.text_frame([{"text": ""}]).bytes(),
        "with-object": page.text_frame([{"text": "x"}], view={}, objects=[
            {"kind": "text", "width": 20, "height": 10}]).bytes(),
    }


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
