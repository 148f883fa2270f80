#!/usr/bin/env python3
"""Seed files of the page-style fuzz target, written by the independent document writer.

    fuzz_page_style_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: a page style in the file form of one
version (0 to 5) with all, some or none of its groups, as tests/fuzz/page_style_fuzz.cpp reads it.
tools/make_fuzz_seeds.py runs it once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import pagestyle  # noqa: E402
from seed_script import write_named_seed  # noqa: E402

VALUES = {"width": 612, "height": 800, "widthMode": 1, "backColour": 7, "contentsList": 1,
          "contentsParam2": 9, "bannerOn": 1, "bannerStyle": 4, "soundIndex": 3, "backPicture": 2,
          "option80": 1, "noSearch": 1, "option800b": 5, "value800": 300,
          "pageLinks": [(4, 1), (-1, 0), (6, 2)], "timedPage": 8, "timedLink": 1, "timedTicks": 30,
          "templatePage": 2}
FLAGS = {"all": 0x3FFE, "none": 0x0001, "odd": 0x2A55, "even": 0x15AA}


def _seeds():
    seeds = {}
    for version in range(6):
        for name, flags in FLAGS.items():
            values = dict(VALUES, flags=flags)
            seeds["v%d-%s" % (version, name)] = pagestyle.file_form(values, version).bytes()
    return seeds


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
