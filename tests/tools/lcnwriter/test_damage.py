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
                _, offset, width = next(m for m in buf.marks if m[0] == name)
                self.assertEqual(int.from_bytes(body[offset:offset + width], "little"), int(value, 16))
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

    def test_written_variants_come_with_their_manifest(self):
        with tempfile.TemporaryDirectory() as d:
            made = damage.write_variants("links", d, seed=2, count=12)
            names = sorted(os.listdir(d))
            self.assertIn("damaged.json", names)
            self.assertIn("damaged.txt", names)
            self.assertEqual(len(names), len(made) + 2)


if __name__ == "__main__":
    unittest.main()
