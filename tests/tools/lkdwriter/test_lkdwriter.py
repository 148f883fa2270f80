"""The drawing writer's own checks: record sizes by the layout tables, the dump's numbers, the
older layouts' sizes and the damaged variants."""

import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools"))

from lkdwriter import damage, drawing, layer_names, records  # noqa: E402
from lkdwriter.dump_numbers import number  # noqa: E402


class Records(unittest.TestCase):
    def test_sizes_follow_the_layout_table(self):
        cases = [
            ({"kind": "polyline", "vertices": [[0, 0]] * 256}, 36 + 16 * 255),
            ({"kind": "polyline3d", "vertices": [[0, 0, 0]] * 2}, 44 + 24),
            ({"kind": "arc", "centre": [0, 0], "start": [1, 0], "end": [1, 0]}, 64),
            ({"kind": "text", "at": [0, 0], "text": "abc"}, 57 + 3),
            ({"kind": "attdef", "at": [0, 0], "tag": "T", "default": "dd", "prompt": ""}, 56 + 2 + 3 + 1 + 2),
            ({"kind": "dimension", "points": [[0, 0]] * 5, "text": "12"}, 105 + 2),
            ({"kind": "insert", "block": "B", "at": [0, 0], "attributes": [{"position": [0, 0], "value": "v"}]},
             60 + 16 + 2),
            ({"kind": "reference", "at": [0, 0], "file": "A.LKD"}, 53 + 5),
            ({"kind": "image", "at": [0, 0], "pixel": [1, 1], "last": [1, 1], "file": "A.PCX"}, 57 + 5),
        ]
        for entity, size in cases:
            with self.subTest(entity["kind"]):
                self.assertEqual(len(records.record(entity)), size)

    def test_older_records_are_smaller_by_head_and_growth(self):
        growth = {"polyline": 6, "arc": 4, "text": 4, "dimension": 4, "attdef": 5, "insert": 4, "reference": 1,
                  "image": 3}
        samples = {
            "polyline": {"kind": "polyline", "vertices": [[0, 0], [1, 1]]},
            "arc": {"kind": "arc", "centre": [0, 0], "start": [1, 0], "end": [0, 1]},
            "text": {"kind": "text", "at": [0, 0], "text": "ab"},
            "dimension": {"kind": "dimension", "points": [[0, 0]] * 5, "text": "1"},
            "insert": {"kind": "insert", "block": "B", "at": [0, 0]},
            "reference": {"kind": "reference", "at": [0, 0], "file": "A"},
            "image": {"kind": "image", "at": [0, 0], "pixel": [1, 1], "last": [1, 1], "file": "A"},
        }
        for kind, entity in samples.items():
            with self.subTest(kind):
                self.assertEqual(len(records.older_record(entity)) + 8 + growth[kind], len(records.record(entity)))


class Numbers(unittest.TestCase):
    def test_shortest_form_fixed_on_a_tie(self):
        for value, text in [(1.0, "1"), (100000.0, "1e+05"), (12345.0, "12345"), (0.5, "0.5"), (-2.5, "-2.5"),
                            (0.0001, "1e-04"), (0.001, "0.001"), (1e16, "1e+16"), (0.0, "0"), (123.456, "123.456")]:
            with self.subTest(value):
                self.assertEqual(number(value), text)


class Files(unittest.TestCase):
    def test_an_empty_drawing(self):
        data = drawing.build({})
        self.assertEqual(data[:22], b"Linework W0 Drawing\r\n\x1a")
        self.assertEqual(data[22:], b"\0" * (6 + 2 + 10 + 2))

    def test_blocks_then_terminator_then_entities(self):
        data = drawing.build({"blocks": [{"name": "AB", "base": [1, 2], "entities": []}],
                              "entities": [{"kind": "insert", "block": "AB", "at": [0, 0]}]})
        at = 22 + 6 + 2 + 10
        self.assertEqual(struct.unpack_from("<h", data, at)[0], -(16 + 3))
        at += 2 + 19
        self.assertEqual(struct.unpack_from("<h", data, at)[0], 0)
        self.assertEqual(struct.unpack_from("<h", data, at + 2)[0], 52)
        self.assertEqual(data[at + 4 + 52:], b"\x02AB")

    def test_damaged_variants_name_their_status(self):
        variants = damage.variants({"entities": [{"kind": "polyline", "vertices": [[0, 0]]}]})
        self.assertEqual({name: status for name, (_, status) in variants.items()},
                         {"cut-file": 100, "cut-record": 100, "size-mismatch": 100, "signature": 99,
                          "len4116": 0, "len4117": 100, "zero-length": 100})
        big = variants["len4116"][0]
        self.assertEqual(struct.unpack_from("<h", big, len(big) - 4108 - 2)[0], 4108)



class LayerNames(unittest.TestCase):
    def test_record_n_names_layer_n_and_ends_in_a_zero(self):
        data = layer_names.records({"0": "Podklad", "2": "Okna a dveře", "255": "x"})
        self.assertEqual(len(data), 256 * 128)
        self.assertEqual(data[0:8], b"Podklad\0")
        self.assertEqual(data[128:256], bytes(128))
        self.assertEqual(data[256:256 + 12], "Okna a dveře".encode("cp1250"))
        self.assertEqual(data[255 * 128:255 * 128 + 2], b"x\0")
        self.assertTrue(all(data[n * 128 + 127] == 0 for n in range(256)))

    def test_names_longer_than_a_record_holds_are_refused(self):
        for length, fits in ((126, True), (127, True), (128, False)):
            with self.subTest(length=length):
                names = {"3": "a" * length}
                if fits:
                    self.assertEqual(layer_names.records(names)[3 * 128:3 * 128 + length], b"a" * length)
                else:
                    self.assertRaises(ValueError, layer_names.records, names)

    def test_layers_outside_the_table_are_refused(self):
        for layer in (-1, 256):
            with self.subTest(layer=layer):
                self.assertRaises(ValueError, layer_names.records, {str(layer): "a"})

    def test_side_file_takes_the_dot_of_the_file_name_only(self):
        cases = [("KRESBA.LKD", "KRESBA.LKL"), ("a.b/KRESBA", "a.b/KRESBA.LKL"), ("C:\\a.b\\k.lkd", "C:\\a.b\\k.LKL")]
        for path, side in cases:
            with self.subTest(path=path):
                self.assertEqual(layer_names.side_file_name(path), side)

    def test_listing_shows_named_layers_in_order_without_end_blanks(self):
        self.assertEqual(layer_names.listing({"10": " b ", "2": "a", "3": "   "}), "layer 2: a\nlayer 10: b\n")

if __name__ == "__main__":
    unittest.main()
