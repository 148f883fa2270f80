#!/usr/bin/env python3
"""Tests of the stand-alone VAZAZI tool: byte layout against hand-written
bytes, builder -> reader round trips, the invariant checker, chunked bodies,
base offsets, the fixture sets and the command line."""

import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, os.pardir, "tools")
sys.path.insert(0, TOOLS)
from lcnwriter import vazazi as vz  # noqa: E402

TOOL = os.path.join(TOOLS, "lcnwriter", "vazazi.py")


def h(text):
    return bytes.fromhex(text.replace(" ", ""))


def text_bytes(n, seed=1):
    return vz._text(n, seed)


class GoldenLayout(unittest.TestCase):
    """Builder output compared with bytes written out by hand from the layout."""

    def test_empty_file(self):
        data = vz.build({}).data
        self.assertEqual(len(data), 2388)
        self.assertEqual(data[:10], b"VAZAZI\x14\x04\x00\x01")
        self.assertEqual(data[10:266], bytes(256))
        self.assertEqual(data[266:288], h("9600 8d00 0000 0000 0e 09 00000000 00000000 00000000"))
        self.assertEqual(data[288:], bytes(2100))

    def test_title_and_kind(self):
        data = vz.build({}, title="Dům", kind=7).data
        self.assertEqual(data[9], 7)
        self.assertEqual(data[10:14], b"D\xf9m\x00")

    def test_typed_record(self):
        data = vz.build({(1, 130): (b"abc", 0, 10)}).data
        self.assertEqual(len(data), 2400)
        self.assertEqual(data[280:284], h("0c000000"))                   # data length
        self.assertEqual(data[2108:2122], h("01 54090000 0c000000 00000000 00"))
        self.assertEqual(data[2388:], h("fffefffe 8200 01 00 0a 616263"))

    def test_numbered_record_with_gap_and_slack(self):
        b = vz.build({(2, 1): b"xy"}, gap=3, slack=2, slack_fill=b"\xee")
        self.assertEqual(b.data[270:272], h("0200"))                      # count2
        self.assertEqual(b.data[276:284], h("03000000 0d000000"))         # gap, data length
        self.assertEqual(b.data[2388:2416], bytes(14) + h("01 73090000 0b000000 02000000 00"))
        self.assertEqual(b.data[2416:2419], bytes(3))
        self.assertEqual(b.data[2419:], h("fffefffe 0100 02 00 01 7879 eeee"))

    def test_wide_entry_and_record_header(self):
        b = vz.build({(1, 0): (b"z", 1, 5, "stored")}, esize=16, hsize=11)
        self.assertEqual(b.data[274:276], h("10 0b"))
        self.assertEqual(b.data[288:304], h("01 800a0000 11000000 00000000 00 0000"))
        # header, 2 padding bytes, then chunk count 1, a stored chunk of 1 byte
        self.assertEqual(b.data[2688:], h("fffefffe 0000 01 01 05 0000 0100 00 0100 7a"))


class Chunks(unittest.TestCase):
    EXPECTED_COUNTS = {0: 0, 1: 1, 63999: 1, 64000: 1, 64001: 2, 128000: 2, 128001: 3}

    def test_edge_sizes_round_trip_in_every_mode(self):
        for size, count in self.EXPECTED_COUNTS.items():
            data = text_bytes(size, size)
            for mode in ("packed", "stored", "auto"):
                with self.subTest(size=size, mode=mode):
                    body = vz.encode_chunks(data, mode)
                    self.assertEqual(struct.unpack_from("<H", body)[0], count)
                    self.assertEqual(vz.decode_chunks(body, strict=True), data)
                    if mode == "stored":
                        self.assertEqual(len(body), 2 + 3 * count + size)
                    if mode == "packed" and size > 1000:
                        self.assertLess(len(body), size // 2)

    def test_hand_written_bodies(self):
        cases = [
            ("empty", "0000", b""),
            ("one stored chunk, no packed-length word", "0100 00 0300 616263", b"abc"),
            ("stored then packed", "0200 00 0200 6162 01 0200 0a00 789c4b4e0100012c00c8", b"abcd"),
            ("packed empty chunk", "0100 01 0000 0800 789c030000000001", b""),
        ]
        for name, body, want in cases:
            with self.subTest(name):
                self.assertEqual(vz.decode_chunks(h(body), strict=True), want)

    def test_writer_policy(self):
        self.assertEqual(vz.compress_like_writer(b""), b"\x00\x00")
        two = vz.compress_like_writer(text_bytes(128000))
        self.assertEqual(two[:2], b"\x02\x00")
        self.assertEqual(two[2], 1)
        self.assertEqual(vz.decode_chunks(two), text_bytes(128000))
        # the 1-byte last chunk cannot shrink, so the body stays plain
        self.assertIsNone(vz.compress_like_writer(text_bytes(128001)))

    def test_explicit_flags_and_small_chunks(self):
        data = vz._noise(3000, 1) + text_bytes(3000)
        body = vz.encode_chunks(data, [0, 1, 1], chunk_size=2000)
        self.assertEqual(body[2], 0)
        self.assertEqual(body[2 + 3 + 2000], 1)
        self.assertEqual(vz.decode_chunks(body, strict=True), data)
        with self.assertRaises(ValueError):
            vz.encode_chunks(data, [1, 1])
        with self.assertRaises(ValueError):   # random data packs to more than 64000
            vz.encode_chunks(vz._noise(64000, 2), "packed")

    def test_damaged_bodies_are_rejected(self):
        p = text_bytes(100)
        z = zlib.compress(p)
        big = zlib.compress(text_bytes(64001))
        bad = bytearray(z)
        bad[-1] ^= 1
        u16 = lambda n: struct.pack("<H", n)  # noqa: E731
        cases = [
            ("no chunk count", b""),
            ("half a chunk count", b"\x01"),
            ("count 65535", u16(0xFFFF) + b"\x01" + u16(100) + u16(len(z)) + z),
            ("packed length 64001, bytes present", u16(1) + b"\x01" + u16(100) + u16(64001)
             + z.ljust(64001, b"\0")),
            ("stored unpacked 64001, bytes present", u16(1) + b"\x00" + u16(64001) + bytes(64001)),
            ("packed unpacked 64001", u16(1) + b"\x01" + u16(64001) + u16(len(big)) + big),
            ("packed past body", u16(1) + b"\x01" + u16(100) + u16(len(z) + 1) + z),
            ("stored past body", u16(1) + b"\x00" + u16(100) + p[:99]),
            ("header cut after flag", u16(1) + b"\x01"),
            ("packed-length word cut", u16(1) + b"\x01" + u16(100) + b"\x05"),
            ("expands short", u16(1) + b"\x01" + u16(101) + u16(len(z)) + z),
            ("expands long", u16(1) + b"\x01" + u16(99) + u16(len(z)) + z),
            ("bad checksum", u16(1) + b"\x01" + u16(100) + u16(len(bad)) + bytes(bad)),
            ("stream cut short", u16(1) + b"\x01" + u16(100) + u16(len(z) - 4) + z[:-4]),
            ("unknown flag 2", u16(1) + b"\x02" + u16(3) + u16(3) + b"abc"),
        ]
        for name, body in cases:
            with self.subTest(name), self.assertRaises(vz.VazaziError):
                vz.decode_chunks(body)

    def test_trailing_bytes_only_fail_strict(self):
        body = vz.encode_chunks(b"abc", "stored") + b"??"
        self.assertEqual(vz.decode_chunks(body), b"abc")
        with self.assertRaises(vz.VazaziError):
            vz.decode_chunks(body, strict=True)


RECORDS = {
    (1, 0): (text_bytes(500, 1), 0, 1),
    (1, 128): (text_bytes(70, 2), 0, 1),
    (1, 130): (text_bytes(150, 3), 0, 10),
    (1, 135): (text_bytes(30, 4), 1, 2),
    (1, 140): (b"", 0, 1),
    (2, 0): (text_bytes(130000, 5), 1, 1, "packed"),
    (2, 2): (vz._noise(70000, 6) + text_bytes(9000, 7), 1, 3, [0, 1]),
    (2, 3): (b"", 1, 1),
    (2, 7): (text_bytes(2, 8), 0, 200),
}


class RoundTrip(unittest.TestCase):
    LAYOUTS = [
        ("defaults", {}),
        ("gap and junk slack", dict(gap=999, gap_fill=b"G", slack=17,
                                    slack_fill=b"\xff\xfe\xff\xfe")),
        ("reversed", dict(order="reversed", slack={(2, 7): 5, (1, 0): 1})),
        ("shuffled sparse", dict(order="shuffled", seed=4, count2=40, entry_reserved=0x77)),
        ("capacity 141", dict(cap1=141)),
        ("capacity 1000, high bound", dict(cap1=1000, bound1=900)),
        ("wide entries", dict(esize=20, hsize=16, order="shuffled", seed=9)),
        ("widest entries", dict(esize=255, hsize=255, gap=1, slack=1)),
    ]

    def test_layouts_read_back(self):
        for name, opts in self.LAYOUTS:
            with self.subTest(name):
                b = vz.build(RECORDS, **opts)
                self.assertEqual(vz.check_bytes(b.data), [])
                f = vz.from_bytes(b.data)
                self.assertEqual(f.used_slots(), sorted(RECORDS))
                for key, rdef in RECORDS.items():
                    r = f.read(*key)
                    self.assertEqual((r.compressed, r.version, r.body), (rdef[1], rdef[2], rdef[0]),
                                     key)
                for key in [(1, 1), (1, 129), (2, 1), (2, 4)]:
                    with self.assertRaises(vz.VazaziError):
                        f.read(*key)
                for key in [(1, f.th.cap1), (2, f.th.count2), (2, -1), (3, 0)]:
                    with self.assertRaises(vz.VazaziError):
                        f.read(*key)

    def test_data_area_order(self):
        slot = vz.build(RECORDS)
        rev = vz.build(RECORDS, order="reversed")
        shuf = vz.build(RECORDS, order="shuffled", seed=2)
        by_offset = lambda b: sorted(b.placements, key=lambda k: b.placements[k][0])  # noqa: E731
        self.assertEqual(by_offset(slot), sorted(RECORDS))
        self.assertEqual(by_offset(rev), sorted(RECORDS, reverse=True))
        self.assertNotIn(by_offset(shuf), (sorted(RECORDS), sorted(RECORDS, reverse=True)))

    def test_data_start_formula(self):
        for esize, cap1, count2, gap in [(14, 150, 0, 0), (14, 150, 8, 0), (20, 141, 3, 77),
                                         (255, 300, 1, 5)]:
            with self.subTest(esize=esize, cap1=cap1, count2=count2, gap=gap):
                b = vz.build({}, esize=esize, cap1=cap1, count2=count2, gap=gap)
                f = vz.from_bytes(b.data)
                self.assertEqual(f.data_start, 288 + esize * cap1 + esize * count2 + gap)
                self.assertEqual(len(b.data), f.data_start)

    def test_builder_refuses_illegal_requests(self):
        cases = [
            ("entry size 13", dict(records={}, esize=13)),
            ("header size 8", dict(records={}, hsize=8)),
            ("bound below 141", dict(records={}, bound1=140)),
            ("bound not above a used slot", dict(records={(1, 145): b"x"}, bound1=145)),
            ("slot beyond capacity", dict(records={(1, 150): b"x"})),
            ("count2 not above an index", dict(records={(2, 5): b"x"}, count2=5)),
            ("count2 above 32767", dict(records={}, count2=32768)),
            ("table 3", dict(records={(3, 0): b"x"})),
            ("title of 256 bytes", dict(records={}, title="x" * 256)),
        ]
        for name, kw in cases:
            with self.subTest(name), self.assertRaises(ValueError):
                vz.build(kw.pop("records"), **kw)


class Checker(unittest.TestCase):
    """Each mutation of a clean file must be reported under its own code."""

    @classmethod
    def setUpClass(cls):
        cls.b = vz.build({
            (1, 3): (b"first typed", 0, 1),
            (1, 145): (b"high slot", 0, 1),
            (2, 0): (text_bytes(3000), 1, 1, "packed"),
            (2, 1): (b"middle", 0, 1),
            (2, 2): (b"last", 0, 1),
        }, gap=20, count2=5, slack={(1, 3): 4, (2, 1): 6, (2, 2): 3},
            order=[(1, 3), (2, 0), (2, 1), (1, 145), (2, 2)])

    def mutate(self, pos, fmt, value):
        d = bytearray(self.b.data)
        struct.pack_into(fmt, d, pos, value)
        return bytes(d)

    def entry(self, t, i, field):
        return self.b.entry_pos(t, i) + {"used": 0, "offset": 1, "length": 5, "slack": 9,
                                         "reserved": 13}[field]

    def test_clean_file(self):
        self.assertEqual(vz.check_bytes(self.b.data), [])

    def test_each_broken_invariant_is_reported(self):
        b, e = self.b, self.entry
        rec = b.record_pos
        th = b.th
        compressed = vz.build({(2, 0): vz.RecordDef(raw=vz.encode_chunks(b"abc") + b"!",
                                                     compressed=1)}).data
        small = vz.build({(1, 3): b"x"}).data
        cases = [
            ("magic", lambda: self.mutate(0, "<6s", b"VAZAZJ")),
            ("byte6", lambda: self.mutate(6, "<B", 21)),
            ("version", lambda: self.mutate(7, "<H", 3)),
            ("title", lambda: self.mutate(10, "<256s", b"T" * 256)),
            ("reserved", lambda: self.mutate(272, "<H", 1)),
            ("reserved", lambda: self.mutate(284, "<I", 1)),
            ("entry-size", lambda: self.mutate(274, "<B", 13)),
            ("header-size", lambda: self.mutate(275, "<B", 8)),
            ("tables-past-end", lambda: self.mutate(270, "<H", 30000)),
            ("count2", lambda: vz.build({}, count2=32767).data[:270] + b"\x00\x80"
             + vz.build({}, count2=32767).data[272:]),
            ("bound1", lambda: small[:268] + b"\x8c\x00" + small[270:]),     # 140 < 141
            ("bound1", lambda: self.mutate(268, "<H", 145)),
            ("bound1", lambda: self.mutate(268, "<H", 151)),
            ("file-end", lambda: b.data + b"\0"),
            ("data-past-end", lambda: self.mutate(280, "<I", th.data_length + 1)),
            ("entry-outside-data", lambda: self.mutate(280, "<I", th.data_length - 1)[:-1]),
            ("entry-outside-data", lambda: self.mutate(e(1, 3, "offset"), "<I", rec(1, 3) - 1)),
            ("entry-used-byte", lambda: self.mutate(e(2, 1, "used"), "<B", 2)),
            ("entry-free-nonzero", lambda: self.mutate(e(2, 3, "reserved"), "<B", 1)),
            ("entry-free-nonzero", lambda: self.mutate(e(1, 4, "slack"), "<I", 7)),
            ("entry-length", lambda: self.mutate(e(2, 1, "length"), "<I", 8)),
            ("record-header", lambda: self.mutate(rec(2, 1), "<B", 0xFE)),
            ("record-header", lambda: self.mutate(rec(2, 1) + 4, "<H", 2)),
            ("record-header", lambda: self.mutate(rec(2, 1) + 6, "<B", 1)),
            ("record-flag", lambda: self.mutate(rec(2, 1) + 7, "<B", 2)),
            # 21: record header 9, chunk count 2, chunk header 5, then 5 bytes into the stream
            ("chunks", lambda: self.mutate(rec(2, 0) + 21, "<B", b.data[rec(2, 0) + 21] ^ 0x55)),
            ("chunks", lambda: compressed),
            ("overlap", lambda: self.mutate(e(2, 0, "slack"), "<I", 1)),
            ("overlap", lambda: self.mutate(e(2, 3, "used"), "<14s", b.data[e(2, 1, "used"):
                                                                            e(2, 1, "used") + 14])),
            ("hole", lambda: self.mutate(e(2, 1, "slack"), "<I", 5)),
            ("hole", lambda: self.mutate(e(2, 2, "slack"), "<I", 0)),
            ("hole", lambda: self.mutate(e(1, 145, "used"), "<14s", bytes(14))),
        ]
        for code, make in cases:
            with self.subTest(code):
                problems = vz.check_bytes(make())
                self.assertTrue(any(p.startswith(code + ":") for p in problems),
                                "%s not in %s" % (code, problems))

    def test_reserved_byte_of_used_entries_is_not_interpreted(self):
        d = self.mutate(self.entry(2, 1, "reserved"), "<B", 0x99)
        self.assertEqual(vz.check_bytes(d), [])
        self.assertEqual(vz.from_bytes(d).read(2, 1).body, b"middle")

    def test_checker_never_crashes_on_truncation(self):
        for n in range(0, len(self.b.data), 97):
            with self.subTest(n=n):
                self.assertNotEqual(vz.check_bytes(self.b.data[:n]), [])


class Fuzz(unittest.TestCase):
    def test_damaged_files_fail_only_with_reader_errors(self):
        rng = vz.random.Random(1234)
        clean = vz.build(RECORDS, gap=5, slack=3, count2=9).data
        tables_end = vz.from_bytes(clean).th.tables_end
        for n in range(400):
            d = bytearray(clean)
            for _ in range(rng.randint(1, 6)):
                # mostly the header and tables, where one byte changes the meaning of the rest
                if rng.random() < 0.7:
                    pos = rng.randrange(266, tables_end)
                else:
                    pos = rng.randrange(len(d))
                d[pos] = rng.randrange(256)
            if rng.random() < 0.2:
                d = d[:rng.randrange(len(d))]
            try:
                f = vz.from_bytes(d)
            except vz.VazaziError:
                continue
            for key in f.used_slots():
                try:
                    f.read(*key)
                except vz.VazaziError:
                    pass
            vz.check_bytes(d)


class BaseOffsets(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.tmp.name, "package.bin")
        self.inner = vz.build({(1, 130): (b"inner properties", 0, 10),
                               (2, 0): (b"inner page", 0, 1),
                               (2, 1): (text_bytes(70000), 1, 1)}, gap=9, slack=2, order="reversed")
        self.decoy = vz.build({(1, 130): (b"decoy", 0, 10), (2, 0): (b"decoy page", 0, 1)})
        self.base = 4096
        prefix = self.decoy.data + bytes(self.base - len(self.decoy.data))
        vz.embed(self.path, self.inner.data, self.base, prefix=prefix)

    def tearDown(self):
        self.tmp.cleanup()

    def test_reads_relative_to_base(self):
        f = vz.open(self.path, self.base, len(self.inner.data))
        self.assertEqual(f.read(1, 130).body, b"inner properties")
        self.assertEqual(f.read(2, 1).body, text_bytes(70000))
        self.assertLess(f.entry(2, 0).offset, len(self.inner.data))
        self.assertEqual(vz.open(self.path).read(1, 130).body, b"decoy")

    def test_window_without_length_runs_to_the_end(self):
        f = vz.open(self.path, self.base)
        self.assertEqual(f.read(2, 0).body, b"inner page")

    def test_check_with_windows(self):
        n = len(self.inner.data)
        self.assertEqual(vz.check(self.path, self.base, n), [])
        self.assertEqual(vz.check(self.path, self.base), [])         # junk after is allowed
        self.assertTrue(vz.check(self.path, self.base, n + 1)[0].startswith("file-end:"))
        self.assertTrue(vz.check(self.path, self.base + 1, n)[0].startswith("magic:"))
        self.assertTrue(vz.check(self.path)[0].startswith("file-end:"))  # the decoy, not the file
        self.assertTrue(vz.check(self.path, 10 ** 7)[0].startswith("window:"))

    def test_bad_windows_fail_to_open(self):
        size = os.path.getsize(self.path)
        for base, length in [(size + 1, None), (self.base, size), (self.base - 1, 5000),
                             (-1, None)]:
            with self.subTest(base=base, length=length), self.assertRaises(vz.VazaziError):
                vz.open(self.path, base, length)

    def test_default_embed_pads_with_junk(self):
        p = os.path.join(self.tmp.name, "other.bin")
        base, length = vz.embed(p, self.inner.data, 300)
        with open(p, "rb") as fh:
            whole = fh.read()
        self.assertGreater(len(whole), base + length)
        self.assertNotEqual(whole[:300], bytes(300))
        self.assertEqual(whole[base:base + length], self.inner.data)


class FixtureSets(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.fx = os.path.join(cls.tmp.name, "fx")
        cls.mf = os.path.join(cls.tmp.name, "mf")
        cls.fixtures = vz.make_fixtures(cls.fx)
        cls.malformed = vz.make_malformed(cls.mf)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_fixtures_are_legal_and_read_as_the_manifest_says(self):
        seen = set()
        for m in self.fixtures["files"]:
            with self.subTest(m["name"], base=m["base"]):
                path = os.path.join(self.fx, m["name"])
                self.assertEqual(vz.check(path, m["base"], m["length"]), [])
                facts = vz.file_facts(vz.open(path, m["base"], m["length"]))
                self.assertNotIn("errors", facts)
                for key in ("records", "free_ranges", "cap1", "bound1", "count2", "entry_size",
                            "record_header_size", "gap", "data_start", "data_length", "kind",
                            "title"):
                    self.assertEqual(facts[key], m[key], key)
                seen.add((m["entry_size"], m["record_header_size"], m["cap1"], m["gap"] > 0))
        self.assertGreaterEqual(len(seen), 6)

    def test_sizes_fixture_covers_the_chunk_edges(self):
        m = next(f for f in self.fixtures["files"] if f["name"] == "sizes.vzz")
        f = vz.open(os.path.join(self.fx, "sizes.vzz"))
        for n, size in enumerate(vz.EDGE_SIZES):
            for index, flag, chunk_flag in ((n, 1, 1), (7 + n, 1, 0), (14 + n, 0, None)):
                r = f.read(2, index)
                self.assertEqual((r.compressed, len(r.body)), (flag, size))
                if chunk_flag is not None and size:
                    self.assertEqual(r.stored[2], chunk_flag)
        self.assertEqual(len(m["records"]), 21)

    def test_package_documents_differ_from_the_decoy(self):
        pk = [m for m in self.fixtures["files"] if m["name"] == "package.pkg"]
        self.assertEqual(len(pk), 2)
        path = os.path.join(self.fx, "package.pkg")
        decoy = vz.open(path)
        for m in pk:
            self.assertGreater(m["base"], 0)
            self.assertNotEqual(vz.file_facts(vz.open(path, m["base"], m["length"]))["records"],
                                vz.file_facts(decoy)["records"])

    def test_malformed_files_fail_where_the_manifest_says(self):
        ops = []
        for m in self.malformed["files"]:
            with self.subTest(m["name"]):
                path = os.path.join(self.mf, m["name"])
                self.assertNotEqual(vz.check(path, m["base"], m["length"]), [])
                if m["fails"] == "open":
                    with self.assertRaises(vz.VazaziError):
                        vz.open(path, m["base"], m["length"])
                    ops.append("open")
                    continue
                f = vz.open(path, m["base"], m["length"])
                with self.assertRaises(vz.VazaziError):
                    f.read(m["table"], m["index"])
                self.assertTrue(m["readable"])
                for r in m["readable"]:
                    rec = f.read(r["table"], r["index"])
                    self.assertEqual(vz.record_fact(r["table"], r["index"], rec.compressed,
                                                    rec.version, rec.body), r)
                ops.append("read")
        self.assertGreaterEqual(ops.count("open"), 10)
        self.assertGreaterEqual(ops.count("read"), 20)
        names = {m["name"] for m in self.malformed["files"]}
        for must in ("bad_magic.vzz", "short_header_287.vzz", "entry_size_0.vzz",
                     "entry_size_13.vzz", "header_size_8.vzz", "entry_offset_past_eof.vzz",
                     "entry_length_8.vzz", "record_magic.vzz", "record_index.vzz",
                     "record_table.vzz", "count2_past_eof.vzz", "chunk_count_65535.vzz",
                     "packed_length_64001.vzz", "stored_unpacked_64001.vzz",
                     "packed_past_body.vzz"):
            self.assertIn(must, names)

    def test_text_manifest_matches_json(self):
        for d, manifest in ((self.fx, self.fixtures), (self.mf, self.malformed)):
            with open(os.path.join(d, "manifest.txt"), encoding="ascii") as fh:
                lines = fh.read().splitlines()
            self.assertEqual(lines[0], "vazazi-manifest 1")
            files, cur = [], None
            for line in lines[1:]:
                w = line.split()
                if w[0] == "file":
                    cur = {"name": w[1], "base": int(w[2]), "length": int(w[3]), "records": []}
                    if len(w) > 5:
                        cur["fails"] = w[5]
                elif w[0] in ("record", "readable"):
                    cur["records"].append({"table": int(w[1]), "index": int(w[2]),
                                           "compressed": int(w[3]), "version": int(w[4]),
                                           "size": int(w[5]), "crc32": w[6], "sha256": w[7]})
                elif w[0] == "title":
                    cur["title"] = "" if w[1] == "-" else bytes.fromhex(w[1]).decode("cp1250")
                elif w[0] == "end":
                    files.append(cur)
            self.assertEqual(len(files), len(manifest["files"]))
            for got, m in zip(files, manifest["files"]):
                self.assertEqual((got["name"], got["base"], got["length"]),
                                 (m["name"], m["base"], m["length"]))
                self.assertEqual(got["records"], m.get("records", m.get("readable")))
                self.assertEqual(got.get("fails"), m.get("fails"))
                self.assertEqual(got.get("title"), m.get("title"))

    def test_fixture_output_is_reproducible(self):
        again = os.path.join(self.tmp.name, "again")
        vz.make_fixtures(again)
        for name in sorted(set(m["name"] for m in self.fixtures["files"])):
            with open(os.path.join(self.fx, name), "rb") as a, \
                    open(os.path.join(again, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)


class CommandLine(unittest.TestCase):
    def run_tool(self, *args):
        env = dict(os.environ, PYTHONDONTWRITEBYTECODE="1")
        return subprocess.run([sys.executable, TOOL, *args], capture_output=True, text=True,
                              env=env, timeout=120)

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.good = os.path.join(self.tmp.name, "good.vzz")
        self.bad = os.path.join(self.tmp.name, "bad.vzz")
        b = vz.build(RECORDS, slack=2, order="reversed")
        with open(self.good, "wb") as fh:
            fh.write(b.data)
        with open(self.bad, "wb") as fh:
            fh.write(b.data + b"extra")

    def tearDown(self):
        self.tmp.cleanup()

    def test_check_exit_codes(self):
        r = self.run_tool("check", self.good)
        self.assertEqual((r.returncode, r.stdout.strip()), (0, "ok"))
        r = self.run_tool("check", self.bad)
        self.assertEqual(r.returncode, 1)
        self.assertTrue(r.stdout.startswith("file-end:"))
        r = self.run_tool("check", self.bad, "--base", "0",
                          "--length", str(os.path.getsize(self.good)))
        self.assertEqual(r.returncode, 0)

    def test_list_records(self):
        r = self.run_tool("list-records", self.good)
        self.assertEqual(r.returncode, 0)
        got = json.loads(r.stdout)
        self.assertEqual(got["records"], vz.built_facts(vz.build(RECORDS))["records"])
        r = self.run_tool("list-records", "--text", self.good)
        self.assertEqual(r.stdout.count("\nrecord "), len(RECORDS))
        r = self.run_tool("list-records", os.path.join(self.tmp.name, "missing"))
        self.assertEqual(r.returncode, 2)

    def test_list_records_reports_unreadable_records(self):
        d = bytearray(vz.build(RECORDS).data)
        b = vz.build(RECORDS)
        d[b.record_pos(2, 7)] = 0
        with open(self.bad, "wb") as fh:
            fh.write(d)
        r = self.run_tool("list-records", self.bad)
        self.assertEqual(r.returncode, 1)
        self.assertEqual(json.loads(r.stdout)["errors"][0]["index"], 7)

    def test_dump(self):
        r = self.run_tool("dump", self.good)
        self.assertEqual(r.returncode, 0)
        lines = r.stdout.splitlines()
        self.assertEqual(len(lines), 4 + len(RECORDS))
        self.assertIn("record 1:130 ", r.stdout)
        self.assertIn(" version=10 ", r.stdout)

    def test_make_sets(self):
        for cmd in ("make-fixtures", "make-malformed"):
            out = os.path.join(self.tmp.name, cmd)
            r = self.run_tool(cmd, out)
            self.assertEqual(r.returncode, 0, r.stderr)
            with open(os.path.join(out, "manifest.json"), encoding="utf-8") as fh:
                self.assertTrue(json.load(fh)["files"])


if __name__ == "__main__":
    unittest.main()
