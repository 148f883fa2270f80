#!/usr/bin/env python3
"""Whole documents from descriptions: records land in the slots their types
name, companions beside and inside the document resolve, the command line
builds the same files as the library, and bad descriptions are refused."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), *[os.pardir] * 3, "tools")
sys.path.insert(0, TOOLS)
from lcnwriter import document, formats, media, page, records, reference, vazazi, viewsettings  # noqa: E402

SMALL = {
    "name": "small", "title": "Malý",
    "names": {"0": "Úvod", "300": "Daleko"},
    "properties": {"idList": [0]},
    "colours": [[0, 0, 0]],
    "fonts": {"main": [["Arial CE", 238]]},
    "styles": {"styles": {"0": {"name": "Z"}}},
    "pictures": [{"path": "a.png", "tag": 1}],
    "pictureStore": [{"hex": "89504e470d0a1a0a"}],
    "embeddedFiles": [{"text": "zvuk"}],
    "pages": [{"rows": [{"text": "Jedna"}]}, {"number": 4, "rows": [{"text": "Pět"}]}],
}


def read(doc, container, key):
    c = container.built if hasattr(container, "built") else container
    return vazazi.from_bytes(c.data).read(*key)


class Slots(unittest.TestCase):
    def setUp(self):
        self.doc = document.build(SMALL)
        self.vf = vazazi.from_bytes(self.doc.files["small.lcn"])

    def test_typed_records_sit_in_their_directory_slots(self):
        for record_type, slot in ((3, 130), (4, 131), (5, 132), (6, 133), (7, 134)):
            self.assertTrue(self.vf.entry(1, slot).used, "type %d" % record_type)
        self.assertTrue(self.vf.entry(1, 0).used and self.vf.entry(1, 1).used)  # strings 0, 300
        self.assertEqual(self.vf.read(1, 130).version, 10)
        self.assertEqual(self.vf.read(1, 132).version, 2)
        self.assertEqual(self.vf.read(1, 134).version, 3)

    def test_string_300_lies_in_block_1_slot_44(self):
        body = self.vf.read(1, 1).body
        self.assertEqual(body[2 + 44], len("Daleko"))
        self.assertEqual(body[260:266], "Daleko".encode("cp1250"))

    def test_pages_are_numbered_records_by_page_number(self):
        self.assertEqual(self.vf.th.count2, 5)
        self.assertEqual(self.vf.read(2, 4).body, page.page_record(SMALL["pages"][1]).bytes())
        self.assertFalse(self.vf.entry(2, 1).used)

    def test_companions_beside_hold_the_items_in_order(self):
        store = vazazi.from_bytes(self.doc.files["small.lpx"])
        self.assertEqual(store.read(2, 0).body, bytes.fromhex("89504e470d0a1a0a"))
        self.assertEqual(store.read(2, 0).compressed, 0)
        self.assertEqual(vazazi.from_bytes(self.doc.files["small.lnx"]).read(2, 0).body, b"zvuk")

    def test_compressed_pages_expand_to_the_same_record(self):
        doc = document.build(dict(SMALL, compressPages=True))
        r = vazazi.from_bytes(doc.files["small.lcn"]).read(2, 0)
        self.assertEqual(r.compressed, 1)
        self.assertEqual(r.body, page.page_record(SMALL["pages"][0]).bytes())


class Inside(unittest.TestCase):
    def test_record_14_names_the_appended_containers(self):
        doc = document.build(dict(SMALL, inside=True))
        self.assertEqual(list(doc.files), ["small.lcn"])
        data = doc.files["small.lcn"]
        own = doc.containers[0].built
        body = vazazi.from_bytes(data[:len(own.data)]).read(1, 140).body
        self.assertEqual(body[:3], b"\x00\x03\x00")
        entries = [vazazi.struct.unpack_from("<II", body, 3 + 8 * n) for n in range(3)]
        self.assertEqual(entries[0], (0, 0))
        self.assertEqual(entries[1][0], len(own.data))
        self.assertEqual(entries[2][0], entries[1][0] + entries[1][1])
        self.assertEqual(entries[2][0] + entries[2][1], len(data))
        pictures = vazazi.from_bytes(data[entries[1][0]:entries[1][0] + entries[1][1]])
        self.assertEqual(pictures.read(2, 0).body, bytes.fromhex("89504e470d0a1a0a"))
        files = vazazi.from_bytes(data[entries[2][0]:])
        self.assertEqual(files.read(2, 0).body, b"zvuk")
        for base, size in entries[1:]:
            self.assertEqual(vazazi.check_bytes(data[base:base + size]), [])
        self.assertEqual(vazazi.check_bytes(data[:len(own.data)]), [])


class Reference(unittest.TestCase):
    def test_every_record_file_passes_the_checker_and_reads_back(self):
        with tempfile.TemporaryDirectory() as d:
            manifest = reference.make(d)
            self.assertGreaterEqual(len(manifest["files"]), 14)
            for f in manifest["files"]:
                path = os.path.join(d, f["name"])
                with self.subTest(f["name"], base=f["base"]):
                    self.assertEqual(vazazi.check(path, f["base"], f["length"]), [])
                    vf = vazazi.open(path, f["base"], f["length"])
                    for r in f["records"]:
                        rec = vf.read(r["table"], r["index"])
                        self.assertEqual((len(rec.body), rec.version, rec.compressed),
                                         (r["size"], r["version"], r["compressed"]))

    def test_links_hold_both_frame_forms_of_the_one_byte_kinds(self):
        doc = document.build(reference.links())
        body = read(doc, doc.containers[0], (2, 0)).body
        for kind in list(range(5, 10)) + list(range(16, 21)):
            table = 5 if kind == 20 else 2
            with self.subTest(kind=kind):
                self.assertIn(bytes([20, table, kind, table, 20]), body, "the length table's L")
                self.assertIn(bytes([20, 3, kind, 3, 20]), body, "L = body + 2")

    def test_the_set_is_the_same_every_time(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            reference.make(a)
            reference.make(b)
            for name in sorted(os.listdir(a)):
                with open(os.path.join(a, name), "rb") as x, open(os.path.join(b, name), "rb") as y:
                    self.assertEqual(x.read(), y.read(), name)


class CommandLine(unittest.TestCase):
    def test_build_writes_what_the_library_builds(self):
        with tempfile.TemporaryDirectory() as d:
            desc = os.path.join(d, "small.json")
            with open(desc, "w", encoding="utf-8") as f:
                json.dump(SMALL, f, ensure_ascii=False)
            out = os.path.join(d, "out")
            subprocess.run([sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "build", desc, out],
                           check=True, capture_output=True)
            for name, data in document.build(SMALL).files.items():
                with open(os.path.join(out, name), "rb") as f:
                    self.assertEqual(f.read(), data, name)

    def test_check_accepts_companions_inside_and_nothing_else_after_the_data(self):
        doc = document.build(reference.inside())
        data = doc.files["inside.lcn"]
        picture_store = doc.containers[1]
        self.assertEqual(picture_store.role, "pictureStore")
        broken = bytearray(data)
        broken[picture_store.base] ^= 0xFF  # the appended store's magic
        cases = [("as written", data, 0, "ok"),
                 ("a byte after the companions", data + b"\0", 1, "file-end"),
                 ("a companion that is no record file", bytes(broken), 1, "pictureStore"),
                 ("cut inside the last companion", data[:-1], 1, "")]
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "inside.lcn")
            for what, content, code, says in cases:
                with self.subTest(what):
                    with open(path, "wb") as f:
                        f.write(content)
                    run = subprocess.run([sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "check", path],
                                         capture_output=True, text=True)
                    self.assertEqual(run.returncode, code, run.stdout + run.stderr)
                    self.assertIn(says, run.stdout)

    def test_objects_writes_the_list_a_page_record_holds(self):
        objs = [{"kind": "picture", "width": 10, "height": 20, "fit": [1, 1000, 0, 0, -1]},
                {"kind": "sound", "picture": 0, "media": [1, 0, 0]}]
        record = page.page_record({"objects": objs, "objectVersion": 4}).bytes()
        listed = page.objects(objs, 4).bytes()
        block = {"objects": objs, "block": {"format": 1, "current": 1}}
        cases = [("object list", {"objects": objs, "objectVersion": 4}, listed),
                 ("saved block", block, page.object_block(objs, 1, 1).bytes())]
        self.assertIn(listed, record, "the list as the page record holds it")
        self.assertEqual(page.object_block(objs, 1).bytes()[1:], page.object_block(objs).bytes()[1:-7],
                         "format 1 ends without the flags and page values")
        with tempfile.TemporaryDirectory() as d:
            for what, description, expected in cases:
                with self.subTest(what):
                    desc = os.path.join(d, "objects.json")
                    with open(desc, "w", encoding="utf-8") as f:
                        json.dump(description, f)
                    out = os.path.join(d, "objects.bin")
                    subprocess.run([sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "objects", desc, out],
                                   check=True, capture_output=True)
                    with open(out, "rb") as f:
                        self.assertEqual(f.read(), expected)

    def test_page_writes_the_record_of_each_described_page(self):
        pages = [{"rows": [{"text": "Jedna", "tabs": [[0, 40]]}, {"table": {"rows": 1, "columns": 1}}],
                  "objects": [{"kind": "picture", "width": 10, "height": 20}]},
                 {"rows": [{"text": "Dvě\n", "format": {"align": 3}}]}]
        with tempfile.TemporaryDirectory() as d:
            command = [sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "page"]
            for i, description in enumerate(pages):
                desc = os.path.join(d, "%d.json" % i)
                with open(desc, "w", encoding="utf-8") as f:
                    json.dump(description, f)
                command += [desc, os.path.join(d, "%d.bin" % i)]
            subprocess.run(command, check=True, capture_output=True)
            for i, description in enumerate(pages):
                with self.subTest(page=i), open(os.path.join(d, "%d.bin" % i), "rb") as f:
                    written = f.read()
                    self.assertEqual(written, page.page_record(description).bytes())
                    self.assertEqual(written[2:4], bytes([len(description["rows"]), 0]), "the row count")

    def test_table_writes_the_stored_form_with_named_fields_patched(self):
        table = {"rows": 1, "columns": 2, "sections": 255,
                 "cells": [{"text": "a", "contentHeight": 12}, {"text": "b", "owner": 0, "width": -5}]}
        whole = page.table_object(table).bytes()
        first_text = int.from_bytes(whole[5:7], "little")
        first_record = 7 + first_text + 2  # the first cell's 36 bytes
        self.assertEqual(whole[7 + first_text], 36, "a cell record's length")
        at = 7 + 3  # the first cell's frame: version, u16 rows, then its one row
        for unit in (1, 4, 1, 4):
            at += 2 + unit * int.from_bytes(whole[at:at + 2], "little")
        self.assertEqual(whole[at], 255, "the cell text's section byte follows its one row")
        self.assertEqual(int.from_bytes(whole[at + 1:at + 5], "little"), 12, "the view state's content height")
        second_record = len(whole) - 36
        self.assertEqual(int.from_bytes(whole[second_record + 4:second_record + 6], "little"), 0, "owner")
        self.assertEqual(int.from_bytes(whole[second_record + 6:second_record + 8], "little", signed=True), -5)
        cases = [
            ("as described", {"table": table}, whole),
            ("rows patched", {"table": table, "patch": [["rows", 0x7FFF]]},
             whole[:1] + b"\xff\x7f" + whole[3:]),
            ("record length patched", {"table": table, "patch": [["cell0.record.length", 35]]},
             whole[:first_record - 2] + b"\x23\x00" + whole[first_record:]),
            ("record field patched", {"table": table, "patch": [["cell0.rowspan", 3]]},
             whole[:first_record + 2] + b"\x03\x00" + whole[first_record + 4:]),
            ("cut", {"table": table, "cut": 9}, whole[:9]),
        ]
        with tempfile.TemporaryDirectory() as d:
            for what, description, expected in cases:
                with self.subTest(what):
                    desc = os.path.join(d, "table.json")
                    with open(desc, "w", encoding="utf-8") as f:
                        json.dump(description, f)
                    out = os.path.join(d, "table.bin")
                    subprocess.run([sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "table", desc, out],
                                   check=True, capture_output=True)
                    with open(out, "rb") as f:
                        self.assertEqual(f.read(), expected)
            with open(desc, "w", encoding="utf-8") as f:
                json.dump({"table": table, "patch": [["cell9.width", 1]]}, f)
            run = subprocess.run([sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "table", desc, out],
                                 capture_output=True, text=True)
            self.assertEqual(run.returncode, 2)
            self.assertIn("cell9.width", run.stderr)

    def test_a_bad_description_fails_with_a_reason(self):
        with tempfile.TemporaryDirectory() as d:
            desc = os.path.join(d, "bad.json")
            with open(desc, "w", encoding="utf-8") as f:
                json.dump({"name": "bad", "pages": [{"rows": [{"format": {"colour": [1, 2]}}]}]}, f)
            run = subprocess.run([sys.executable, "-B", os.path.join(TOOLS, "lcnwriter"), "build",
                                  desc, d], capture_output=True, text=True)
            self.assertEqual(run.returncode, 2)
            self.assertIn("colour", run.stderr)


class Consistency(unittest.TestCase):
    def test_names_of_missing_things_are_reported(self):
        page = lambda **more: dict({"rows": [{"text": ""}]}, **more)
        cases = [
            ("link", {"pages": [page(rows=[{"text": [{"link": {"kind": 2, "page": 3}, "text": "x"}]}])]}),
            ("link in a cell", {"pages": [page(rows=[{"table": {"rows": 1, "columns": 1, "cells": [
                {"rows": [{"text": [{"link": {"kind": 3, "page": 1}}]}]}]}}])]}),
            ("picture", {"pictures": ["a.png"], "pages": [page(objects=[{"kind": "picture", "picture": 1}])]}),
            ("sound", {"pages": [page(objects=[{"kind": "sound", "picture": 0}])]}),
            ("background sound", {"pages": [page(style={"flags": 0x40, "soundIndex": 0})]}),
            ("stored beyond the store", {"pictures": [{"path": "a.png", "tag": 2}], "pictureStore": [{"hex": "00"}]}),
            ("index page", {"pages": [page()], "keywordIndex": [{"term": "t", "pages": [0, 1]}]}),
            ("contents page", {"pages": [page()], "contents": {"items": [{"text": "a", "children": [
                {"text": "b", "page": 2}]}]}}),
        ]
        for what, d in cases:
            with self.subTest(what):
                self.assertEqual(len(document.problems(dict(d, name="x"))), 1, document.problems(dict(d, name="x")))

    def test_what_is_there_is_not_reported(self):
        d = dict(SMALL, keywordIndex=[{"term": "t", "pages": [4]}],
                 pages=SMALL["pages"] + [{"number": 7, "rows": [
                     {"text": [{"link": {"kind": 2, "page": 4}}, {"link": {"kind": 2, "page": 9, "link": 1}}]}],
                     "objects": [{"kind": "picture", "picture": 0}]}])
        self.assertEqual(document.problems(d), [])

    def test_the_sample_document_is_whole(self):
        sample = os.path.join(TOOLS, os.pardir, "samples", "ukazka.json")
        with open(sample, encoding="utf-8") as f:
            d = json.load(f)
        self.assertEqual(document.problems(d), [])
        doc = document.build(d, os.path.dirname(sample))
        self.assertEqual(sorted(doc.files), ["ukazka.lcn", "ukazka.lix", "ukazka.lnx", "ukazka.lpx"])
        for c in doc.containers:
            self.assertEqual(vazazi.check_bytes(c.built.data), [], c.role)


class Refusals(unittest.TestCase):
    def test_descriptions_that_cannot_be_stored_are_refused(self):
        cases = [
            ("unknown format part", lambda: formats.packed_format({"bold": 1})),
            ("control byte in text", lambda: formats.text("a\x01b")),
            ("unknown page style field", lambda: page.page_record({"style": {"colour": 1}})),
            ("unknown property", lambda: records.properties({"allowcopy": 0})),
            ("password of 21 bytes", lambda: records.properties({"password": "x" * 21})),
            ("string of 256 bytes", lambda: records.string_block({0: "x" * 256})),
            ("style name of 30 bytes", lambda: records.style_sheet({0: {"name": "n" * 30}})),
            ("style name of 30 bytes in cp1250", lambda: records.style_sheet({0: {"name": "č" * 30}})),
            ("link frame of no known form", lambda: formats.framed_link({"kind": 7, "frame": "short"})),
            ("table short of cells", lambda: page.table_object({"rows": 2, "columns": 2,
                                                                "cells": [{}] * 3})),
            ("file name without name", lambda: records.file_table(["folder\\"])),
            ("unknown view setting", lambda: viewsettings.block({"colour": 1})),
            ("vector picture 4097 wide", lambda: media.vector(4097, 1, [])),
            ("polygon of one point", lambda: media.vector(1, 1, [{"kind": "polygon", "points": [(0, 0)]}])),
            ("polygon of 1025 points", lambda: media.vector(1, 1, [{"kind": "polygon", "points": [(0, 0)] * 1025}])),
            ("shape of no known kind", lambda: media.vector(1, 1, [{"kind": "spline", "box": [0, 0, 1, 1]}])),
            ("4097 shapes", lambda: media.vector(1, 1, [{"kind": "line", "box": [0, 0, 1, 1]}] * 4097)),
        ]
        for what, make in cases:
            with self.subTest(what):
                self.assertRaises(ValueError, make)

    def test_limits_take_their_largest_value(self):
        self.assertEqual(len(records.properties({"password": "x" * 20}).bytes()), 234)
        self.assertEqual(records.string_block({0: "x" * 255}).bytes()[2], 255)
        # Headers 22 + 18, window 10 + 10; the shape's pen 16, brush 14, two selects and two
        # deletes 8 each, the polygon 6 + 2 + 4 per point; the end record 6.
        self.assertEqual(len(media.vector(4096, 4096, [{"kind": "polygon", "points": [(0, 0)] * 1024}])),
                         22 + 18 + 20 + 16 + 14 + 4 * 8 + 8 + 4 * 1024 + 6)
        sheet = records.style_sheet({0: {"name": "n" * 29}}).bytes()
        self.assertEqual(sheet[2 + 128 + 42 + 2:2 + 128 + 42 + 2 + 30], b"n" * 29 + b"\0")


if __name__ == "__main__":
    unittest.main()
