#!/usr/bin/env python3
"""Damaged variants: the same seed gives the same files, each variant damages
exactly what it says and leaves every other record as it was."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), *[os.pardir] * 3, "tools"))
from lcnwriter import damage, document, reference, vazazi  # noqa: E402


def _doc(make):
    d = make()
    d.pop("beside", None)
    return document.build(d)


class Variants(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.doc = _doc(reference.table)
        cls.made = damage.variants(cls.doc, 5, 30)
        cls.original = vazazi.from_bytes(cls.doc.files["table.lcn"])
        styled = _doc(reference.styled)
        cls.sets = [(cls.doc, cls.made, cls.original),
                    (styled, damage.variants(styled, 9, 0), vazazi.from_bytes(styled.files["styled.lcn"]))]

    @staticmethod
    def buf(doc, v):
        return doc.pages[v.index] if v.table == 2 else doc.typed[(v.table, v.index)]

    def test_the_seed_decides_every_byte(self):
        again = damage.variants(_doc(reference.table), 5, 30)
        self.assertEqual([v.data for v in self.made], [v.data for v in again])
        other = damage.variants(_doc(reference.table), 6, 30)
        self.assertNotEqual([v.data for v in self.made], [v.data for v in other])

    def test_every_kind_of_damage_is_made(self):
        what = " ".join(v.what for v in self.made)
        for kind in ("file cut", "page record cut", "past the record's end", "0x7FFF", "0xFFFF",
                     "20,000 cells", "does not inflate"):
            self.assertIn(kind, what)

    def test_typed_records_are_damaged_too(self):
        _, made, _ = self.sets[1]
        typed = [v for v in made if v.table == 1]
        self.assertTrue(any("set to 0x" in v.what for v in typed))
        self.assertTrue(any(" cut to " in v.what for v in typed))

    def test_record_damage_stays_in_its_record(self):
        for _, made, original in self.sets:
            for v in made:
                if v.fails == "open" or v.fails == "store":
                    continue
                with self.subTest(v.what):
                    damaged = vazazi.from_bytes(v.data)
                    for t, i in original.used_slots():
                        if (t, i) != (v.table, v.index):
                            self.assertEqual(damaged.read(t, i).body, original.read(t, i).body)
                    self.assertEqual(vazazi.check_bytes(v.data) == [], v.fails == "parse", v.what)

    def test_lengths_point_past_the_record(self):
        for doc, made, _ in self.sets:
            for v in made:
                if "past the record's end" not in v.what:
                    continue
                name = v.what.split(" set to ")[0]
                value = int(v.what.split(" set to ")[1].split(",")[0])
                buf = self.buf(doc, v)
                _, offset, width = next(m for m in buf.marks if m[0] == name)
                self.assertGreater(value, len(buf) - offset - width, v.what)
                body = vazazi.from_bytes(v.data).read(v.table, v.index).body
                self.assertEqual(int.from_bytes(body[offset:offset + width], "little"), value)

    def test_counts_and_table_sizes_are_set(self):
        for doc, made, _ in self.sets:
            self._counts_and_tables(doc, made)

    def _counts_and_tables(self, doc, made):
        for v in made:
            body = None if v.fails != "parse" else vazazi.from_bytes(v.data).read(v.table, v.index).body
            buf = self.buf(doc, v) if v.table else None
            if "set to 0x" in v.what:
                name, value = v.what.split(" set to ")
                # A record may hold several fields of one name (one per item): one of them is set.
                held = [int.from_bytes(body[offset:offset + width], "little")
                        for n, offset, width in buf.marks if n == name]
                self.assertIn(int(value, 16), held, v.what)
            if "cells" in v.what:
                rows = next(m for m in buf.marks if m[0].endswith("table.rows"))
                r = int.from_bytes(body[rows[1]:rows[1] + 2], "little")
                c = int.from_bytes(body[rows[1] + 2:rows[1] + 4], "little")
                self.assertGreater(r * c, 16383)

    def test_store_damage_is_refused_by_the_store(self):
        for v in self.made:
            with self.subTest(v.what):
                if v.fails == "open":
                    self.assertRaises(vazazi.VazaziError, vazazi.from_bytes, v.data)
                elif v.fails == "read":
                    vf = vazazi.from_bytes(v.data)
                    self.assertRaises(vazazi.VazaziError, vf.read, v.table, v.index)
                elif v.fails == "store":
                    self.assertNotEqual(vazazi.check_bytes(v.data), [])

    def test_every_reference_document_gives_variants_on_every_seed(self):
        for make in reference.ALL:
            if make is reference.package:
                continue
            doc = _doc(make)
            for seed in range(1, 9):
                with self.subTest(make.__name__, seed=seed):
                    made = damage.variants(doc, seed, 40)
                    self.assertGreaterEqual(len(made), 2)
                    self._counts_and_tables(doc, made)

    def test_one_byte_counts_take_the_extremes_of_a_byte(self):
        doc = _doc(reference.navigation)
        one_byte = [m for b in list(doc.pages.values()) + list(doc.typed.values()) for m in b.marks
                    if m[2] == 1 and damage._is_count(m[0])]
        self.assertTrue(one_byte, "the navigation document has one-byte counts")
        seen = set()
        for seed in range(1, 40):
            for v in damage.variants(doc, seed, 40):
                if " set to 0x" in v.what and v.what.split(" set to ")[0] in {m[0] for m in one_byte}:
                    seen.add(v.what.split(" set to ")[1])
        self.assertEqual(seen, {"0x7F", "0xFF"})

    def test_free_counts_are_left_alone(self):
        """A free count that disagrees with the slots is reset by the reader, so it
        is no damage a reader must refuse."""
        docs = [_doc(make) for make in (reference.links, reference.navigation, reference.styled)]
        frees = [m for doc in docs for b in list(doc.pages.values()) + list(doc.typed.values())
                 for m in b.marks if m[0].endswith(".free")]
        self.assertTrue(frees, "the documents hold string lists")
        for doc in docs:
            for seed in range(1, 16):
                for v in damage.variants(doc, seed, 40):
                    self.assertNotIn(".free set to", v.what)

    def test_link_frames_are_damaged_into_no_known_form(self):
        doc = _doc(reference.links)
        body = doc.pages[0].bytes()
        short = [k for k in range(5, 10)] + [k for k in range(16, 21)]
        frames = [i for i in range(len(body) - 4) if body[i] == 20 and body[i + 2] in short
                  and body[i + 4] == 20 and body[i + 1] == body[i + 3]]
        self.assertGreaterEqual(len(frames), 2 * len(short), "both forms of every one-byte kind")
        made = [v for v in damage.variants(doc, 3, 0) if "link frames" in v.what]
        self.assertEqual(len(made), 1)
        damaged = vazazi.from_bytes(made[0].data).read(2, 0).body
        self.assertEqual(len(damaged), len(body))
        self.assertIn("%d " % len(frames), made[0].what)
        for i in frames:
            leading, trailing = damaged[i + 1], damaged[i + 3]
            with self.subTest(at=i, kind=body[i + 2]):
                self.assertNotEqual(leading, trailing, "a frame whose two L bytes agree is valid")
                self.assertIn(leading, (2, 3, 5))
                self.assertIn(trailing, (2, 3, 5))
        changed = [i for i in range(len(body)) if body[i] != damaged[i]]
        self.assertTrue(all(i - 1 in frames or i - 3 in frames for i in changed), "only L bytes change")

    def test_written_variants_come_with_their_manifest(self):
        with tempfile.TemporaryDirectory() as d:
            made = damage.write_variants("links", d, seed=2, count=12)
            names = sorted(os.listdir(d))
            self.assertIn("damaged.json", names)
            self.assertIn("damaged.txt", names)
            self.assertEqual(len(names), len(made) + 2)


class ObjectVariants(unittest.TestCase):
    """Every damage of the object lists, on the documents whose pages hold objects of
    every list version."""

    @classmethod
    def setUpClass(cls):
        cls.doc = _doc(reference.old_formats)
        cls.made = damage.object_variants(cls.doc)

    def body(self, v):
        return vazazi.from_bytes(v.data).read(v.table, v.index).body

    def test_every_page_with_objects_gets_every_kind(self):
        for number, buf in self.doc.pages.items():
            mine = " | ".join(v.what for v in self.made if v.index == number)
            with self.subTest(page=number):
                for kind in ("objects.count set to 0x7FFF", "objects.count set to 0xFFFF",
                             "past the record's end", "page record cut"):
                    self.assertIn(kind, mine)
                slots = [m for m in buf.marks if ".slots.slot" in m[0]]
                self.assertEqual(len(slots), mine.count("past its item's end"))

    def test_a_slot_past_its_item_stays_inside_the_record(self):
        cuts = [v for v in self.made if "past its item's end" in v.what]
        self.assertTrue(cuts)
        for v in cuts:
            with self.subTest(v.what):
                self.assertEqual(v.fails, "cut")
                buf = self.doc.pages[v.index]
                name = v.what.split(" set to ")[0]
                _, offset, width = next(m for m in buf.marks if m[0] == name)
                item = next(m for m in buf.marks if m[0] == ".".join(name.split(".")[:3]) + ".length")
                item_end = item[1] + 2 + int.from_bytes(buf.bytes()[item[1]:item[1] + 2], "little")
                value = int.from_bytes(self.body(v)[offset:offset + width], "little")
                self.assertGreater(offset + width + value, item_end)
                self.assertLessEqual(offset + width + value, len(buf))

    def test_the_store_reads_every_variant(self):
        for v in self.made:
            with self.subTest(v.what):
                self.assertEqual(vazazi.check_bytes(v.data), [])
                self.assertIn(v.fails, ("parse", "cut"))

    def test_the_same_document_gives_the_same_variants(self):
        again = damage.object_variants(_doc(reference.old_formats))
        self.assertEqual([v.data for v in self.made], [v.data for v in again])


if __name__ == "__main__":
    unittest.main()
