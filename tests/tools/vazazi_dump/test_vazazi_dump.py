"""vazazi_dump as a check: it exits 0 for every good record file (alone, or a member of a package
given by --base and --length) and 1 for a damaged one, naming the damage; 2 for a wrong command.

Usage: test_vazazi_dump.py DUMP FIXTURES MALFORMED [REFERENCE]
(the tool, the folders of good and of damaged record files, and optionally the document writer's
reference set with its manifest.txt)."""

import concurrent.futures
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

DUMP = FIXTURES = MALFORMED = REFERENCE = None


def dump(path, *args):
    return subprocess.run([DUMP, path, *args], capture_output=True, check=False)


def text(result):
    return result.stdout.decode("cp1250", "replace")


class GoodFiles(unittest.TestCase):
    def assert_good(self, runs):
        """runs: (path, extra arguments) pairs, dumped side by side."""
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            results = list(pool.map(lambda run: dump(run[0], *run[1]), runs))
        for (path, args), result in zip(runs, results):
            with self.subTest(path=path, args=args):
                self.assertEqual(result.returncode, 0, text(result))
                self.assertNotIn("damaged", text(result))

    def test_every_fixture_exits_zero(self):
        names = sorted(n for n in os.listdir(FIXTURES) if n.endswith(".vzz"))
        self.assertGreater(len(names), 5)
        self.assert_good([(os.path.join(FIXTURES, name), []) for name in names])

    def test_package_members_exit_zero(self):
        with open(os.path.join(FIXTURES, "manifest.json")) as fh:
            members = [f for f in json.load(fh)["files"] if f["base"] != 0]
        self.assertTrue(members)
        self.assert_good([(os.path.join(FIXTURES, m["name"]), ["--base", str(m["base"]), "--length", str(m["length"])])
                          for m in members])

    def test_reference_documents_exit_zero(self):
        if not REFERENCE or not os.path.exists(os.path.join(REFERENCE, "manifest.txt")):
            self.skipTest("no reference set: the document writer's set is not built")
        with open(os.path.join(REFERENCE, "manifest.txt")) as fh:
            rows = [line.split() for line in fh if line.startswith("file ")]
        self.assertTrue(rows)
        self.assert_good([(os.path.join(REFERENCE, name), ["--base", base, "--length", length])
                          for _, name, base, length, _ in rows])


class DamagedFiles(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        with open(os.path.join(FIXTURES, "baseline.vzz"), "rb") as fh:
            self.baseline = fh.read()

    def tearDown(self):
        self.folder.cleanup()

    def made(self, name, data):
        path = os.path.join(self.folder.name, name)
        with open(path, "wb") as fh:
            fh.write(data)
        return path

    def free_entry_not_zero(self):
        data = bytearray(self.baseline)
        capacity = struct.unpack_from("<H", data, 266)[0]
        free = next(i for i in range(capacity) if data[288 + 14 * i] == 0)
        struct.pack_into("<I", data, 288 + 14 * free + 1, 1234)
        return self.made("free_not_zero.vzz", bytes(data)), r"1/%d +FREE, BUT NOT ZERO" % free

    def test_damage_is_named_and_exits_one(self):
        b = self.baseline
        cases = [
            ("wrong magic", os.path.join(MALFORMED, "bad_magic.vzz"), r"magic VAZAZJ \(WRONG\)"),
            ("no bytes", os.path.join(MALFORMED, "empty_file.vzz"), r"SHORTER THAN THE 288 BYTES"),
            ("cut in its headers", os.path.join(MALFORMED, "short_header_100.vzz"), r"SHORTER THAN THE 288 BYTES"),
            ("cut in its table header", os.path.join(MALFORMED, "short_header_287.vzz"), r"TABLES CANNOT BE READ"),
            ("cut in its tables", self.made("cut_tables.vzz", b[:400]), r"TABLES CANNOT BE READ"),
            ("cut in its data", self.made("cut_data.vzz", b[:-10]), r"PAST THE FILE END"),
            ("entry past the file", os.path.join(MALFORMED, "entry_offset_past_eof.vzz"), r"2/1 .*OUTSIDE THE FILE"),
            ("entry under a header of another slot", os.path.join(MALFORMED, "record_index.vzz"),
             r"2/1 .*HEADER MISMATCH"),
            ("table past the file", os.path.join(MALFORMED, "cap1_past_eof.vzz"), r"TABLES CANNOT BE READ"),
            ("entry size 13", os.path.join(MALFORMED, "entry_size_13.vzz"), r"TABLES CANNOT BE READ"),
            ("free entry not zero", *self.free_entry_not_zero()),
        ]
        for what, path, named in cases:
            with self.subTest(what):
                result = dump(path)
                self.assertEqual(result.returncode, 1, text(result))
                self.assertRegex(text(result), named)
                self.assertRegex(text(result), r"\d+ damaged parts?\n")

    def test_a_member_read_past_its_end_exits_one(self):
        with open(os.path.join(FIXTURES, "manifest.json")) as fh:
            member = next(f for f in json.load(fh)["files"] if f["base"] != 0)
        result = dump(os.path.join(FIXTURES, member["name"]), "--base", str(member["base"]), "--length",
                      str(member["length"] - 10))
        self.assertEqual(result.returncode, 1, text(result))
        self.assertRegex(text(result), r"PAST THE FILE END")

    def test_a_wrong_command_exits_two(self):
        for args in ([], ["--base"], [os.path.join(FIXTURES, "baseline.vzz"), "extra"]):
            with self.subTest(args):
                result = subprocess.run([DUMP, *args], capture_output=True, check=False)
                self.assertEqual(result.returncode, 2)
        self.assertEqual(dump(os.path.join(self.folder.name, "missing.vzz")).returncode, 1)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    DUMP, FIXTURES, MALFORMED = sys.argv[1:4]
    REFERENCE = sys.argv[4] if len(sys.argv) > 4 else None
    unittest.main(argv=[sys.argv[0]], verbosity=2)
