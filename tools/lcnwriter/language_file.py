"""Language files (.clf) for the reader's tests, written with the record-file writer.

A language file is a record file whose numbered record 0 (table 2) holds: one ignored byte, u16 T
(the number of string tables), u16 S (the block size), the S-byte block, then the UI text list in
saved keyed-text form (entry header: used, length, u16 text id).  The block begins with T
directory entries {u16 entry count, u16 offset of the first entry in the block}, followed by the
entries {u16 id, u8 L, L text bytes, 0}.

    python3 tools/lcnwriter/language_file.py <folder>

writes the fixtures the reader's tests open: good.clf and one file per kind of damage.
"""
import os
import sys

if __package__ in (None, ""):
    sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    from lcnwriter import vazazi
    from lcnwriter.fields import Buf, cp
    from lcnwriter.strings import keyed_texts
else:
    from . import vazazi
    from .fields import Buf, cp
    from .strings import keyed_texts


def table_block(tables):
    """The block of string tables: tables is a list of lists of (id, text)."""
    directory = Buf()
    entries = Buf()
    start = 4 * len(tables)
    for table in tables:
        directory.u16(len(table)).u16(start + len(entries))
        for ident, text in table:
            data = cp(text)
            entries.u16(ident).u8(len(data)).raw(data).u8(0)
    return bytes(directory.data) + bytes(entries.data)


def language_record(tables, texts, block=None, count=None, size=None, tail=None):
    """Record 0's body.  block/count/size/tail replace the parts the tables and texts give, for
    damaged variants."""
    block = table_block(tables) if block is None else block
    count = len(tables) if count is None else count
    size = len(block) if size is None else size
    tail = keyed_texts(texts).bytes() if tail is None else tail
    return bytes(Buf().u8(0).u16(count).u16(size).raw(block).raw(tail).data)


def language_file(body, title="Language", index=0):
    return vazazi.build({(2, index): body}, title=title).data


# Table 0: a dialog (0 = its caption); table 1: the menu-bar titles by position; table 2: a menu
# by command id.
GOOD_TABLES = [
    [(0, "Find"), (2, "Cancel"), (101, "Whole words")],
    [(0, "&File"), (0, "&View")],
    [(201, "&Open..."), (202, "&Close")],
]
GOOD_TEXTS = [(3308, "Untitled"), (3309, "first"), (3309, "second")]


def fixtures():
    good = table_block(GOOD_TABLES)
    unterminated = bytearray(table_block([[(5, "abc")]]))
    unterminated[-1] = ord("x")
    return {
        "good.clf": language_file(language_record(GOOD_TABLES, GOOD_TEXTS), "English"),
        "other.clf": language_file(language_record([[(0, "Other")], [(0, "Other bar")]], [(3308, "Other")]),
                                   "Other"),
        # The directory of three tables needs 12 bytes; the block has 8.
        "directory_past_block.clf": language_file(language_record([], [], block=bytes(8), count=3)),
        # A table whose first entry would start beyond the block.
        "offset_past_block.clf": language_file(language_record([], [], block=Buf().u16(1).u16(40).data, count=1)),
        # The last entry's text runs over the end of the block.
        "entry_past_block.clf": language_file(language_record([], [], block=good[:-3], count=3)),
        # Only the last entry's terminating zero lies beyond the block.
        "zero_past_block.clf": language_file(language_record([], [], block=good[:-1], count=3)),
        # The entry's text has no terminating zero inside the block.
        "unterminated.clf": language_file(language_record([], [], block=bytes(unterminated), count=1)),
        # The block size is larger than what the record holds.
        "short_block.clf": language_file(language_record([], [], block=good, size=len(good) + 200, tail=b"")),
        # The text list is cut off.
        "short_text_list.clf": language_file(language_record(GOOD_TABLES, [], tail=keyed_texts(GOOD_TEXTS).bytes()[:-4])),
        # Record 1 only: no record 0.
        "no_record.clf": language_file(language_record(GOOD_TABLES, GOOD_TEXTS), index=1),
    }


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    os.makedirs(argv[0], exist_ok=True)
    for name, data in fixtures().items():
        with open(os.path.join(argv[0], name), "wb") as out:
            out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
