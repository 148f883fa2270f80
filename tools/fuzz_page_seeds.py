#!/usr/bin/env python3
"""Seed files of the page-objects fuzz target, written by the independent document writer.

    fuzz_page_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: the kind byte by which
tests/fuzz/page_objects_fuzz.cpp chooses its reader, then an object list of a page record, a text
frame's saved object block or a hot-spot list as tools/lcnwriter writes it. tools/make_fuzz_seeds.py
runs it once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import page, reference  # noqa: E402
from seed_script import write_named_seed  # noqa: E402

# The kind bytes of page_objects_fuzz.cpp, in its order.
OBJECT_LIST, SAVED_BLOCK, HOTSPOTS = range(3)

SPOTS = [{"box": [0, 0, 20, 20], "link": {"kind": 2, "page": 1}},
         {"box": [20, 0, 40, 20], "shape": 1, "link": {"kind": 0, "page": 2}},
         {"box": [0, 20, 40, 40], "points": [[0, 20], [40, 20], [20, 40], [0, 40]]}]


def _objects(version):
    """The reference set's objects of every kind, with the slots the version can hold."""
    objs = [dict(o) for o in reference.pictures()["pages"][0]["objects"]]
    objs.append({"kind": "sound", "picture": 0, "width": 32, "height": 32, "y": 130, "media": [1, 1, 0],
                 "hotSpots": SPOTS})
    objs.append({"kind": "text", "width": 120, "height": 40, "y": 170, "text": "Rámeček", "anchoring": 2,
                 "anchorId": 3, "flow": 1})
    if version < 5:
        objs = [o for o in objs if o["kind"] not in ("button", "text")]
    return objs


def _seeds():
    seeds = {}
    for version in (2, 3, 4, 5, 6):
        seeds["list-%d" % version] = bytes([OBJECT_LIST]) + page.objects(_objects(version), version).bytes()
    seeds["block"] = bytes([SAVED_BLOCK]) + page.object_block(_objects(6), values=(3, 1, 4, 1)).bytes()
    seeds["block-format-1"] = bytes([SAVED_BLOCK]) + page.object_block(_objects(6)[:3], 1).bytes()
    seeds["hotspots"] = bytes([HOTSPOTS]) + page.hot_spots(SPOTS).bytes()
    return seeds


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
