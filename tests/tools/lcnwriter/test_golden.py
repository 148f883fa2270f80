#!/usr/bin/env python3
"""The stored forms against bytes worked out by hand from the record tables:
one case per record kind and version.  Each expected value is written field by
field with the field's name, so a failing case says which field moved."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), *[os.pardir] * 3, "tools"))
from lcnwriter import formats, media, page, pagestyle, records, strings, viewsettings  # noqa: E402


def fields(*pairs):
    """(hex, what) pairs -> bytes; spaces in the hex are ignored."""
    return b"".join(bytes.fromhex(h.replace(" ", "")) for h, _ in pairs)


Z = "00"
DEFAULT_STYLE = [("00 0a00 03 00", "char: font 0, size 10, weight class 3, flags 0"),
                 ("00 ff", "colours: text 0, background none"), ("ff 00 00", "shadow: none"),
                 ("0000 0000 0000 0000", "indents"), ("00", "align left"),
                 ("9cff", "line spacing -100"), ("0000 0000", "spacing before, after"),
                 ("00000000", "border"), ("ff 00 00", "frame: none"), ("00" * 8, "marker: none")]
TAB_TABLE_EMPTY = [("0001", "256 entries"), ("0003", "size 768")] + \
                  [("00 0003", "entry: 0 stops at 768")] * 256

TREE = [{"text": "A", "page": 3, "children": [{"text": "bc"}]}, {"text": "D", "graft": 2}]

CASES = [
    # ---- record type 0: string block
    ("string block", lambda: records.string_block({0: "Úvod", 2: "ab"}), [
        ("0000", "header word"), ("04 00 02" + Z * 253, "lengths of slots 0..255"),
        ("0600", "size S = 6"), ("da 76 6f 64", "cp1250 'Úvod'"), ("61 62", "'ab'")]),
    # ---- record type 3: document properties
    ("properties v10", lambda: records.properties(
        {"startPage": 2, "allowPrint": 0, "password": "ab", "passwordScope": 1,
         "infoText1": "I", "language": 0x405, "objectSound1": 3, "idList": [4, 9],
         "currentId": 9}, {"width": 500}, 10), [
        ("0200", "StartPage 2"), ("0000", "ContentsPage 0"), ("ffff", "MissingProgramPage -1"),
        ("01", "AllowCopy"), ("00", "CompressRecords"), ("01", "HasPassword"),
        ("9e 9e" + Z * 18, "password 'ab' scrambled: (0-1-0x61), (1-1-0x62)"),
        ("01", "PasswordScope"), ("00", "AllowPrint 0"),
        ("49" + Z * 80, "InfoText1 'I'"), (Z * 81, "InfoText2"), ("05040000", "Language"),
        ("0300", "ObjectSound1 3"), ("ffff", "ObjectSound2 -1"),
        ("00", "WidthMode"), ("f401", "Width 500"), ("0000", "layout word"),
        ("0a00 0a00 0a00 0a00", "Margins"), ("0f", "BackgroundColour 15"),
        ("ffff", "BackgroundPicture -1"), ("01", "BackgroundPictureMode 1"),
        ("00 01 02 00 00", "group 0x10 bytes 1, 2, 4, 5, 3 (defaults 0, 1, 0, 2, 0)"),
        ("00 00", "group 0x20"), ("ffff 01", "group 0x40 word, byte"), ("00", "group 0x80"),
        ("0200 0900 0400 0900", "IdList: count 2, current 9, ids 4, 9"), ("00", "reserved")]),
    ("properties v9", lambda: records.properties({"language": 7}, None, 9), [
        ("ffff 0000 ffff", "page ids"), ("01 00 00", "AllowCopy, Compress, HasPassword"),
        (Z * 20, "password"), ("00 01", "PasswordScope, AllowPrint"), (Z * 162, "info texts"),
        ("07000000", "Language"),
        ("00 9001 0000 0a000a000a000a00 0f ffff 01 0001020000 0000 ffff01", "page defaults"),
        ("00", "group 0x80 (version 9)"), ("0000 ffff", "empty IdList")]),
    ("properties v8", lambda: records.properties({}, None, 8), [
        ("ffff 0000 ffff 010000", ""), (Z * 20, ""), ("0001", ""), (Z * 162, ""),
        ("00000000", "Language"),
        ("00 9001 0000 0a000a000a000a00 0f ffff 01 0001020000 0000 ffff01", "no group 0x80"),
        ("0000 ffff", "IdList")]),
    ("properties v7", lambda: records.properties({}, None, 7), [
        ("ffff 0000 ffff 010000", ""), (Z * 20, ""), ("0001", ""), (Z * 162, "no Language"),
        ("00 9001 0000 0a000a000a000a00 0f ffff 01 0001020000 0000 ffff01", ""),
        ("0000 ffff", "IdList")]),
    ("properties v6", lambda: records.properties(
        {"allowCopy": 0, "infoText2": "x"}, {"backColour": 3, "soundIndex": 5}, 6), [
        ("ffff 0000 ffff", "page ids"), ("03", "BackgroundColour"), ("00", "AllowCopy"),
        ("00 9001 0000", "WidthMode, Width, word (v > 4)"), ("0a000a000a000a00", "Margins"),
        ("00 01 02 00 00", "group 0x10 in order 1, 2, 4, 5, 3"), ("00 00", "group 0x20"),
        ("00 00", "CompressRecords, HasPassword"), (Z * 20, "password"), ("00", "PasswordScope"),
        ("01", "AllowPrint (v > 2)"), (Z * 81 + "78" + Z * 80, "info texts (v > 3)"),
        ("0500 01", "group 0x40 (v > 5)")]),
    ("properties v2", lambda: records.properties({}, None, 2), [
        ("ffff 0000 ffff 0f 01", ""), ("0a000a000a000a00", "Margins, no width (v <= 4)"),
        ("0001020000 0000", "groups 0x10, 0x20"), ("00 00" + Z * 20 + "00", "no AllowPrint, texts")]),
    # ---- record type 5: style sheet
    ("style sheet v2", lambda: records.style_sheet(
        {1: {"name": "N", "key": 0x72, "align": 2}}, {1: [(2, 300)]}), [
        ("8000", "128 styles"), ("00 01" + Z * 126, "presence"), ("7200", "key of style 1"),
        ("00 0a00 03 00 00ff ff0000 0000000000000000 02 9cff 00000000 00000000 ff0000", "style 1"),
        (Z * 8, "marker"), ("8000", "128 names"), (Z * 30, "name 0"), ("4e" + Z * 29, "name 1 'N'"),
        (Z * 30 * 126, "names 2..127"), ("0001", "tab table: 256 entries"), ("0403", "size 772"),
        ("00 0003", "entry 0: none at 768"), ("01 0003", "entry 1: 1 stop at 768"),
        ("00 0403" * 254, "entries 2..255 at 772"), ("02 2c01 00", "stop: right at 300")]),
    # ---- record type 6: colour table
    ("colour table", lambda: records.colour_table([(1, 2, 3), (255, 0, 128)]), [
        ("0200", "count"), ("010203", "entry 0 r g b"), ("ff0080", "entry 1")]),
    # ---- record type 7: font table
    ("font table v3", lambda: records.font_table([("Arial CE", 238)], [("Wingdings", 2)], 3), [
        ("0100", "main count"), ("417269616c204345" + Z * 23, "'Arial CE' in 31 bytes"),
        ("ee", "charset 238"), ("0100", "marker count"),
        ("57696e6764696e6773" + Z * 22, "'Wingdings'"), ("02", "charset 2")]),
    ("font table v2", lambda: records.font_table([("A", 0)], [("B", 2)], 2), [
        ("0100", ""), ("41" + Z * 30, "no charsets before v3"), ("0100", ""), ("42" + Z * 30, "")]),
    ("font table v1", lambda: records.font_table([("A", 0)], [("B", 2)], 1), [
        ("0100", ""), ("41" + Z * 30, "main list only")]),
    # ---- records 4, 10, 11: file name table
    ("file name table", lambda: records.file_table(["Obr\\A.PNG", "b.gif", "obr\\c.jpeg"], [3, 0, 0]), [
        ("0200 0000 0c00", "folder pool: 2 entries, 0 free, size 12"),
        ("01 04 0200", "folder 0: 'obr\\' used twice"), ("01 00 0100", "folder 1: '' once"),
        ("6f62725c", "'obr\\'"), ("0300 0000 2b00", "table: 3 entries, size 27 + 16"),
        ("01 05 0100 0000 0a 0300", "a.png: folder 0, png 10, tag 3"),
        ("01 05 0100 0100 02 0000", "b.gif: folder 1, gif 2"),
        ("01 06 0100 0000 01 0000", "c.jpeg: other extension 1"),
        ("612e706e67 622e676966 632e6a706567", "names")]),
    # ---- record type 9: embedded-file tables
    ("file tables v2", lambda: records.file_tables(urls=["u"], version=2), [
        ("000000000000", "program folders"), ("000000000000", "programs"),
        ("000000000000", "arguments"), ("000000000000" * 4, "document and associated tables"),
        ("0100 0000 0500 01010100 75", "URL pool: 'u' used once")]),
    ("file tables v1", lambda: records.file_tables(arguments=["-x"], version=1), [
        ("000000000000" * 2, "program folders, programs"),
        ("0100 0000 0600 01020100 2d78", "argument pool")]),
    # ---- record type 14: companions inside the document
    ("companions", lambda: records.companions([(0, 0), (5000, 300), (5300, 20)]), [
        ("00", "unused"), ("0300", "count"), ("00000000 00000000", "entry 0 absent"),
        ("88130000 2c010000", "entry 1: picture store"), ("b4140000 14000000", "entry 2")]),
    # ---- .lnf: embedded-font table
    ("embedded fonts v2", lambda: records.embedded_font_table(
        [{"font": 1, "weight": 700, "italic": 1, "charset": 238, "weightClass": 6, "flags": 2}]), [
        ("0100", "count"), ("46 01 ee 04 00", "weight/10, italic, charset, precision, pitch"),
        ("01 06 01", "key: font, weight class, italic"), ("02", "flags (v2)")]),
    ("embedded fonts v1", lambda: records.embedded_font_table([{"font": 0}], 1), [
        ("0100", ""), ("28 00 00 04 00 00 03 00", "no flag bytes")]),
    # ---- page style
    ("page style v5", lambda: pagestyle.file_form({
        "flags": 0x3FFE, "width": 300, "height": 200, "backColour": 4, "backPicture": 2,
        "contentsList": 1, "bannerOn": 1, "bannerStyle": 5, "soundIndex": 3, "option80": 1,
        "noSearch": 1, "option200": 1, "option400": 1, "option800b": 0, "value800": 7,
        "pageLinks": [(1, 0), (2, 1), (-1, 0)], "timedPage": 6, "timedTicks": 30}, 5), [
        ("05", "version"), ("fe3f", "flags"), ("00 2c01 c800 0a000a000a000a00", "0x2"),
        ("04", "0x4"), ("0200 01", "0x8"), ("01 01 02 00 00", "0x10: list, 1, 3, 4, 2"),
        ("01 05", "0x20"), ("0300 01", "0x40"), ("01", "0x80"), ("01", "0x100"),
        ("01 0000 0000", "0x200"), ("01 c800 c800", "0x400"), ("01 00 0700", "0x800 (v5)"),
        ("0100 00 0200 01 ffff 00", "0x1000"), ("0600 00 1e00", "0x2000"),
        ("ffff", "templatePage (bit 1 clear)")]),
    ("page style v4", lambda: pagestyle.file_form({"flags": 0x0801, "option800a": 0}, 4), [
        ("04 0108", "version, flags"), ("00", "0x800: option800a only in v4")]),
    ("page style v3", lambda: pagestyle.file_form({"flags": 0x0180, "option80": 1}, 3), [
        ("03 8001", ""), ("01", "0x80 (v3); no 0x100 before v4"), ("ffff", "templatePage")]),
    ("page style v2", lambda: pagestyle.file_form({"flags": 0x0081, "templatePage": 3}, 2), [
        ("02 8100", "0x80 not before v3, no templatePage with bit 1")]),
    ("page style v1", lambda: pagestyle.file_form({"flags": 0x22, "bannerStyle": 4}, 1), [
        ("01", "version"), ("01 00 9001 0000 0a000a000a000a00 ff", "layout present, colour unset"),
        ("ff", "no contents group"), ("00 04 ffff 01", "banner and sound (v1)")]),
    ("page style v0", lambda: pagestyle.file_form({"flags": 0x10}, 0), [
        ("00", "version"), ("00", "no layout"), ("00 01 02 00 00", "contents group"),
        ("ff", "no banner")]),
    # ---- link targets
    ("link kind 0", lambda: formats.link_target({"kind": 0, "page": 0x1234}), [
        ("00 3412", "word A")]),
    ("link kind 2", lambda: formats.link_target({"kind": 2, "page": 5, "position": 6, "link": 1}), [
        ("02 0500 0600 01", "page, position, link number")]),
    ("link kind 5", lambda: formats.link_target({"kind": 5}), [("05", "no body")]),
    ("link kind 10", lambda: formats.link_target({"kind": 10, "value": 0x01020304}), [
        ("0a 04030201", "value D")]),
    ("link kind 15", lambda: formats.link_target(
        {"kind": 15, "page": 1, "position": 2, "word_c": 3, "document": 4}), [
        ("0f 0100 0200 0300 04", "words A, B, C, document")]),
    ("link kind 17", lambda: formats.link_target({"kind": 17}), [("11", "no body")]),
    ("framed kind 2", lambda: formats.framed_link({"kind": 2, "page": 1}), [
        ("14 08", "code 20, L"), ("02 0100 0000 00", "body"), ("08 14", "L, code 20")]),
    ("framed kind 7", lambda: formats.framed_link({"kind": 7}), [
        ("14 02 07 02 14", "L = length-table entry 0 + 2, one byte short of the payload")]),
    ("framed kind 7, body form", lambda: formats.framed_link({"kind": 7, "frame": "body"}), [
        ("14 03 07 03 14", "L = body + 2 = 3")]),
    ("framed kind 16", lambda: formats.framed_link({"kind": 16}), [("14 02 10 02 14", "table entry 0")]),
    ("framed kind 20", lambda: formats.framed_link({"kind": 20}), [
        ("14 05 14 05 14", "table entry 3 + 2 for a one-byte body")]),
    ("framed kind 20, body form", lambda: formats.framed_link({"kind": 20, "frame": "body"}), [
        ("14 03 14 03 14", "L = body + 2")]),
    ("framed kind 21", lambda: formats.framed_link({"kind": 21}), [("14 02 15 02 14", "past the table: 0")]),
    ("framed kind 10, body form", lambda: formats.framed_link({"kind": 10, "value": 1, "frame": "body"}), [
        ("14 07", "the forms agree where the table gives the body"), ("0a 01000000", "body"), ("07 14", "")]),
    # ---- formats and text
    ("packed format", lambda: formats.packed_format(
        {"char": {"font": 1, "size": 12, "weight": 6, "flags": 2}}, 9), [
        ("0300", "mask 0x0003"), ("0900", "style number / anchor"), ("01 0c00 06 02", "char")]),
    ("packed format all", lambda: formats.packed_format(
        {"colours": [1, 2], "shadow": [3, 1, 255], "indents": [1, 2, 3, 4], "align": 3,
         "line": 14, "spacing": [5, 6], "border": [1, 2, 3, 4], "frame": [5, 254, 2],
         "marker": [2, 1, 46, 0, 300, 0, 7], "flag_8000": True}), [
        ("fc87", "mask"), ("0102", "colours"), ("0301ff", "shadow"),
        ("0100020003000400", "indents"), ("03", "align"), ("0e00", "line"),
        ("05000600", "spacing"), ("01020304", "border"), ("05fe02", "frame"),
        ("02012e002c010007", "marker")]),
    ("text codes", lambda: formats.text(
        ["a\t", {"char": {"weight": 6}}, {"colours": [2, 255]}, {"shadow": [1, 2, 3]}, "č",
         {"link": {"kind": 0, "page": 3}, "text": "x"}]), [
        ("61 09", "'a' TAB"), ("01 ff 007f 06 01 01", "code 1: weight only, rest unset"),
        ("02 02ff 02", "code 2"), ("03 010203 03", "code 3"), ("e8", "cp1250 'č'"),
        ("14 05 00 0300 05 14", "link kind 0"), ("78", "'x'"), ("15 15", "link end")]),
    # ---- rows and tab stops
    ("row", lambda: page.row({"style": 2, "anchor": 7, "tabs": [(0, 40), (2, 90)],
                              "text": "Ab"}, ""), [
        ("0900", "L1 = 9"), ("00000000 02 0100 0700", "height, style 2, mask 1, anchor 7"),
        ("0300", "C = 3"), ("00 2800 00", "left 40"), ("02 5a00 00", "right 90"),
        ("00 ff7f 00", "closing stop"), ("0200 4162", "L2 = 2, 'Ab'")]),
    ("row without tabs", lambda: page.row({"text": ""}, ""), [
        ("0700", "L1"), ("00000000 00 0000", "record"), ("0000", "C = 0"), ("0000", "L2")]),
    # ---- tables
    ("cell record", lambda: page.cell_record({}), [
        ("0100 0100 ffff 6400", "spans, owner none, width 100"), ("14000000", "row height 20"),
        ("00000000", "content height"), ("ff ffff 00", "background, picture, valign"),
        ("0200 0200 0000 0000", "margins"), ("0000 0000 0000 0000", "borders")]),
    ("text frame v3", lambda: page.text_frame([{"text": "x"}]), [
        ("03 0100", "version 3, one row"), ("0700 00000000 00 0000", "row attributes"),
        ("0000", "tab stops"), ("0100 78", "text"), ("0000", "line table"),
        ("00", "section flags"),
        ("02 0000 ffff 3a 01 ffff 00 ffff 00", "object block: format 2, none, flags 1")]),
    ("text frame v1", lambda: page.text_frame([{"text": ""}], 1), [
        ("01 0100 0700 00000000 00 0000 0000 0000 0000", "one empty row"),
        ("00000000 0000 0000 0000 0000 00", "no flags byte: the view state always follows, no scroll"),
        ("02 0000 ffff 3a 01 ffff 00 ffff 00", "object block")]),
    ("text frame v3 view", lambda: page.text_frame([{"text": "x"}], 3, {
        "height": 500, "width": 300, "caretRow": 1, "caretOffset": 2, "caretWord": 3,
        "selection": [0, 1, 0, 4], "scrollX": 5, "scrollY": 70000}, [[(1, 3)]]), [
        ("03 0100 0700 00000000 00 0000 0000 0100 78 0000", "one row"), ("03", "section flags"),
        ("f4010000 2c01 0100 0200 0300", "content height, width, caret"),
        ("01 0000 0100 0000 0400", "selection (0, 1) to (0, 4)"), ("0500 70110100", "scroll x, y"),
        ("01 0100 0100 0300", "highlights: one range in row 0"),
        ("02 0000 ffff 3a 01 ffff 00 ffff 00", "object block")]),
    ("text frame v2 no highlights", lambda: page.text_frame([{"text": ""}], 2, None, [[]]), [
        ("02 0100 0700 00000000 00 0000 0000 0000 0000", ""), ("02", "flags: highlights only"),
        ("00", "none present: no per-row counts"), ("02 0000 ffff 3a 01 ffff 00 ffff 00", "")]),
    ("table 1x1", lambda: page.table_object({"rows": 1, "columns": 1,
                                             "cells": [{"text": "", "valign": 1}]}), [
        ("00 0100 0100", "kind, rows, columns"), ("2000", "N = 32"),
        ("03 0100 0700 00000000 00 0000 0000 0000 0000 00", "frame"),
        ("02 0000 ffff 3a 01 ffff 00 ffff 00", "its object block"), ("2400", "M = 36"),
        ("0100 0100 ffff 6400 14000000 00000000 ff ffff 01", "cell record, valign 1"),
        ("0200 0200 0000 0000 0000 0000 0000 0000", "")]),
    # ---- objects
    ("object v6", lambda: page.objects([{"kind": "picture", "width": 10, "height": 20, "x": 3,
                                          "y": 70000, "picture": 2, "z": 1,
                                          "fit": [2, 500, 1, 2, 4], "link": {"kind": 5}}]), [
        ("06 0100", "version 6, one object"), ("0a00 1400 0300 70110100", "w, h, x, y"),
        ("0000 0000 0000 0000", "spacing"), ("00 00 00 0000 00 00 00", "placement..colour"),
        ("01 0200 0100 ffff ffff 00", "kind 1, picture, z, reserved, active"),
        ("0e00", "slots length 14"), ("01 0100 05", "slot 1: link kind 5"),
        ("02 0700 02 f401 01 02 0400", "slot 2: placement"), ("0000", "no second text")]),
    ("object v6 button", lambda: page.objects([{"kind": "button", "states": [1, 2]}]), [
        ("06 0100", ""), ("0000 0000 0000 00000000 0000000000000000 000000 0000 000000", "record"),
        ("07 ffff 0000 ffff ffff 00", "kind 7"), ("1500", "slots"),
        ("02 1200 0100 0200 ffff ffff ffff ffff ffff ffff 01 00", "slot 2: button"),
        ("0000", "")]),
    ("animation and scroller slots", lambda: page.attribute_slots(
        {"animation": {"delays": [10, 300], "repeats": 3},
         "scroller": {"thumb": 4, "track": 100, "thumbLength": 20, "textHeight": 70000,
                      "visible": 90, "scroll": 12}}), [
        ("04 0c00", "slot 4, 12 bytes"), ("0200 0000 0000 0300", "2 frames, at 0, elapsed 0, 3 repeats"),
        ("0a00 2c01", "delays 10, 300"), ("06 1200", "slot 6, 18 bytes"),
        ("0400 6400 1400", "thumb, track, thumb length"), ("70110100 5a000000 0c000000", "text heights")]),
    ("object v5 button", lambda: page.objects([{"kind": "button", "states": [1, 2]}], 5), [
        ("05 0100", ""), ("0000 0000 0000 00000000 0000000000000000 000000 0000 000000", "record"),
        ("07 ffff 0000 ffff ffff 00", "kind 7"), ("1100", "slots"),
        ("02 0e00 0100 0200 ffff 000000000000 01 00", "slot 2: the old 14-byte button record"),
        ("0000", "no second text")]),
    ("object v4", lambda: page.objects([{"kind": "picture", "picture": 1, "z": 2, "active": 1,
                                          "fit": [1, 900, 0, 1, -1], "link": {"kind": 0, "page": 3},
                                          "hotSpots": [{"box": [0, 0, 4, 4]}]}], 4), [
        ("04 0100", ""), ("0000 0000 0000 00000000 0000000000000000 000000 0000 000000", "29 bytes"),
        ("01 0100", "kind, picture"), ("01 8403 00 feff 00 01", "old parameters"),
        ("01 00 0300" + Z * 4, "old link block"), ("0200", "z-order"),
        ("1900", "hot-spot list length 25"), ("00 0100", "format, count"),
        ("0000 0000 0400 0400 00 00 00" + Z * 7 + "ffff 0000", "rectangle, no link")]),
    ("object v3", lambda: page.objects([{"kind": "sound", "media": [1, 1, 0],
                                          "hotSpots": [{"box": [1, 2, 3, 4],
                                                        "link": {"kind": 2, "page": 1}}]}], 3), [
        ("03 0100", ""), ("0000 0000 0000 00000000 0000000000000000 000000 0000 000000", ""),
        ("04 ffff", "kind 4"), ("0101 00" + Z * 5, "old media parameters"), (Z * 8, "no link"),
        ("0000", "z"), ("1400", "length 20"), ("0100", "old count"),
        ("0100 0200 0300 0400 00 00 01 02 0100 0000 00 00", "18-byte shape")]),
    ("polygon", lambda: page.hot_spots([{"box": [0, 0, 8, 8], "points": [(0, 0), (8, 0), (4, 8)],
                                         "link": {"kind": 3, "page": 2, "link": 1}}]), [
        ("00 0100", ""), ("0000 0000 0800 0800 02 00 01", "polygon with link"),
        ("03 0200 0000 01 00", "link target in 7 bytes"), ("0000 0f00", "marker 0, extra 15"),
        ("0300 00 0000 0000 0800 0000 0400 0800", "three points")]),
    # ---- vector pictures: placeable metafiles
    ("vector picture", lambda: media.vector(40, 30, [
        {"kind": "rectangle", "box": [0, 0, 39, 29], "pen": 0, "fill": 0xC0FFFF},
        {"kind": "polygon", "points": [(1, 2), (3, -4)], "colour": 0xFF}]), [
        ("d7cdc69a 0000", "placeable key, no handle"), ("0000 0000 2800 1e00", "box 0, 0, 40, 30"),
        ("6000 00000000", "96 units per inch, reserved"), ("4757", "XOR of the ten words before"),
        ("0100 0900 0003", "type 1, 9-word header, version 3"), ("63000000", "99 words after the placeable header"),
        ("0200 08000000 0000", "2 objects, largest record 8 words"),
        ("05000000 0b02 0000 0000", "window origin y, x"), ("05000000 0c02 1e00 2800", "window extent 30 high, 40 wide"),
        ("08000000 fa02 0500 0000 0000 00000000", "pen: none (width 0)"),
        ("07000000 fc02 0000 ffffc000 0000", "brush: solid C0FFFF"),
        ("04000000 2d01 0000 04000000 2d01 0100", "select pen, select brush"),
        ("07000000 1b04 1e00 2800 0000 0000", "rectangle bottom 30, right 40, top, left: edges outside"),
        ("04000000 f001 0000 04000000 f001 0100", "delete both"),
        ("08000000 fa02 0000 0100 0000 ff000000", "pen: solid, width 1, red"),
        ("07000000 fc02 0100 00000000 0000", "brush: none"),
        ("04000000 2d01 0000 04000000 2d01 0100", "select both"),
        ("08000000 2403 0200 0100 0200 0300 fcff", "polygon of 2 points, x before y"),
        ("04000000 f001 0000 04000000 f001 0100", "delete both"), ("03000000 0000", "end record")]),
    # ---- keyword items and relations
    ("keyword items", lambda: page.keyword_items([(7, "k")]), [
        ("00 00", "page window byte, pane byte"), ("0100 0000 0500", "list: 1, 0 free, size 5"),
        ("01 01 0700 6b", "entry: key 7, 'k'")]),
    ("relations", lambda: page.relations([(4, 1, 2)]), [
        ("00 02 0100", "unused, format 2, count"), ("0400 01 0200", "page, link, link number")]),
    ("relations format 1", lambda: page.relations([(4, 1, 2)], 1), [
        ("00 01 0100 0400 01", "no link number before format 2")]),
    # ---- navigation records: contents tree (1), linked documents (2), appearance (12), areas (13)
    ("contents tree v6", lambda: records.contents_tree(TREE, 6), [
        ("0300 0000 0000", "3 items, no empty slots, first item 0"),
        ("1000 01 01 00 0300 ffff 0200 0100 ffff 0000 41", "L 16: 'A' page 3, next 2, child 1"),
        ("1100 01 02 00 ffff ffff ffff ffff 0000 0000 6263", "L 17: 'bc' under item 0"),
        ("1000 09 01 00 ffff 0000 ffff 0200 ffff 0000 44", "L 16: 'D' grafts link 2")]),
    ("contents tree v5", lambda: records.contents_tree(TREE, 5), [
        ("0300 0000 0000", "head"), ("3100", "size 3 x 15 + 4"),
        ("01 01 00 0300 ffff 0200 0100 ffff 0000", "head 0"),
        ("01 02 00 ffff ffff ffff ffff 0000 0000", "head 1"),
        ("09 01 00 ffff 0000 ffff 0200 ffff 0000", "head 2"), ("41 6263 44", "texts")]),
    ("contents tree v2", lambda: records.contents_tree(
        [{"text": "A"}], 2, ({"font": 0, "size": 15, "weight": 3, "flags": 0},
                             [({"font": 1, "size": 15, "weight": 6, "flags": 0}, 20)], 2)), [
        ("0100 0000 0000 1000", "head, size 16"),
        ("01 01 00 ffff ffff ffff ffff ffff 0000 41", "the item"),
        ("0000 00 0f00 03 00", "appearance: ignored word, tree font"),
        ("01 01 0f00 06 00 1400", "one level, indent 20"), ("0200", "row spacing")]),
    ("linked documents", lambda: records.linked_documents(["\\a.lcn"]), [
        ("0100 0000 0500 01 01 0100 5c", "folder pool: '\\'"),
        ("0100 0000 0e00 01 05 0100 0000 01 0000 612e6c636e", "table: a.lcn, type 1")]),
    ("tree appearance v1", lambda: records.tree_appearance(
        {"font": 1, "size": 10, "weight": 3, "flags": 0},
        [({"font": 1, "size": 10, "weight": 6, "flags": 0}, 20)]), [
        ("01 0a00 03 00", "tree font"), ("01", "level count"), ("01 0a00 06 00 1400", "level 0"),
        ("0100", "row spacing"), ("ffffc0 000080 000000 ffffff", "colours as red, green, blue"),
        ("008000 000080 ffffff ffffff", "the four extras")]),
    ("view settings", lambda: viewsettings.record({"switches": 0x17, "treeFont": {"index": 1, "size": 10},
                                                   "treeText": 0x80, "title": "T"}), [
        ("05 0802", "version 5, length 520"),
        ("15 8002 e001 02 ffff", "window flags, 640 x 480, band, no caption picture"),
        ("ffff 0000 0000 00", "caption font: default"), ("00000040" * 8, "caption colours: system"),
        ("03 01 ffff00000000 00", "menu flags, border, font"), ("00000040" * 6, "menu colours"),
        ("03" + "ffff00000000 00" * 2, "chapter bar"), ("00000040" * 4, "chapter colours"),
        ("05 03 ffff 00000040", "tool bar"), ("09 02 03 1e00 00000040 00000040", "splitter"),
        ("1f 03 ffff", "dock flags, gap, tree picture"),
        ("ffff00000000 00" * 7, "dock fonts and the five levels"), ("0100 0a00 0000 00", "tree font at 185"),
        ("00000040" * 10, "colours 192-231"), ("80000000", "tree text at 232"), ("00000040" * 2, "236, 240"),
        ("09", "display"), ("54" + Z * 255, "title 'T'"), ("17", "switches"), ("00000040", "highlight"),
        ("9600 0000 00000000 ffff ffff ffff", "tool bar thickness, unused, black, cursors")]),
    ("search areas v2", lambda: records.search_areas(["a", "b"], {0: [1], 2: [0, 1]}), [
        ("02 0200", "version, 2 areas"), ("0200 0000 0600 0101 0101 6162", "names"),
        ("04 0300", "element size 4, 3 pages"), ("02000000 00000000 03000000", "masks"),
        ("00000000", "extra value")]),
    ("search areas v1", lambda: records.search_areas([], {}, version=1), [
        ("01 0000", "no areas, no extra value before version 2")]),
    ("keyword index group", lambda: records.keyword_group([("ab", [3, 4]), ("c", [])]), [
        ("0200", "two terms"), ("0200 0300 0000 0400 0000", "pages 3 and 4, two unused bytes each"),
        ("0200 6162", "'ab'"), ("0000 0100 63", "no pages, 'c'")]),
    # ---- a whole page record
    ("page record", lambda: page.page_record({"rows": [{"text": "A"}]}), [
        ("0000 0100", "ignored, one row"), ("0700 00000000 00 0000 0000 0100 41", "the row"),
        ("00", "ignored"), ("06 0000", "objects v6, none"), ("00 00 0000 0000 0000", "keywords"),
        ("00 02 0000", "relations"), ("00", "ignored"), ("05 0000 ffff", "page style v5")]),
]


class Golden(unittest.TestCase):
    def test_every_stored_form(self):
        for name, encode, expected in CASES:
            with self.subTest(name):
                got = encode()
                got = got.bytes() if hasattr(got, "bytes") else bytes(got)
                want = fields(*expected)
                if got != want:
                    offset = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b),
                                  min(len(got), len(want)))
                    self.fail("%s: first difference at byte %d\n got  %s\n want %s"
                              % (name, offset, got[offset:offset + 24].hex(" "),
                                 want[offset:offset + 24].hex(" ")))


if __name__ == "__main__":
    unittest.main()
