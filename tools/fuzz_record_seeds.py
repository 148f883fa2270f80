#!/usr/bin/env python3
"""Seed files of the document-record fuzz target, written by the independent document writer.

    fuzz_record_seeds.py NAME

writes the seed NAME (one of SEEDS) into the current folder: the kind byte by which
tests/fuzz/document_record_fuzz.cpp chooses its reader, then the record body as tools/lcnwriter
writes it. tools/make_fuzz_seeds.py runs it once per seed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lcnwriter import formats, language_file, records, strings  # noqa: E402
from seed_script import write_named_seed  # noqa: E402

# The kind bytes of document_record_fuzz.cpp, in its order.
FILE_NAMES, PICTURE_FILES, STRING_LIST, STRING_POOL, PAGE_NAMES, TAB_STOPS, ID_LIST, FLAG_WORDS, \
    PROPERTIES, LINK_TARGET, LANGUAGE = range(11)

PATHS = ["C:\\Obrazky\\titul.gif", "c:\\obrazky\\mapa.pcx", "zvuky\\zvonek.wav", "D:\\x.bmp"]
PROPERTY_VALUES = {"startPage": 3, "password": "heslo", "infoText1": "Kniha", "language": 1029,
                   "idList": [4, 9, 32767], "currentId": 9}


def _words(*values):
    return b"".join(v.to_bytes(2, "little") for v in values)


def _link(kind, framed, options):
    link = {"kind": kind, "page": 0x0102, "position": 0x0304, "document": 2, "value": 0x0708090A,
            "word_c": 0x0506}
    body = formats.framed_link(link) if framed else formats.link_target(link)
    return bytes([LINK_TARGET, options | (1 if framed else 0), 0xFF]) + body


def _seeds():
    seeds = {
        "file-names": bytes([FILE_NAMES]) + strings.file_name_table(PATHS, tags=[0, 5, 0, 9]).bytes(),
        "string-list": bytes([STRING_LIST]) + strings.saved_list(
            [strings.Entry("úvod"), strings.Entry(None), strings.Entry("rejstřík")]).bytes(),
        "string-pool": bytes([STRING_POOL]) + strings.string_pool(["c:\\dokumenty\\", "d:\\"], [2, 1]).bytes(),
        "page-names": bytes([PAGE_NAMES]) + records.string_block({0: "Úvod", 1: "Obsah", 255: "Konec"}).bytes(),
        "tab-stops": bytes([TAB_STOPS]) + records.tab_stop_table({0: [(1, 100), (2, 300)], 255: [(3, -5)]}).bytes(),
        "id-list": bytes([ID_LIST]) + _words(3, 9, 4, 9, 32767),
        "flag-words": bytes([FLAG_WORDS, 4]) + _words(2) + (0x80000001).to_bytes(4, "little") + bytes(4),
        "language": bytes([LANGUAGE]) + language_file.language_record(language_file.GOOD_TABLES,
                                                                      language_file.GOOD_TEXTS),
    }
    for version in (10, 9, 8, 7, 6, 5, 4, 3, 2):
        body = records.properties(PROPERTY_VALUES, {"widthMode": 1, "width": 620}, version).bytes()
        seeds["properties-%d" % version] = bytes([PROPERTIES, version]) + body
    for kind in (0, 2, 5, 10, 15, 20):
        seeds["link-%d" % kind] = _link(kind, False, 0)
        seeds["link-%d-framed" % kind] = _link(kind, True, 2)
    return seeds


SEEDS = sorted(_seeds())


def main(argv):
    return write_named_seed(__doc__, _seeds, argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
