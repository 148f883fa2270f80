#!/usr/bin/env python3
"""Self-test of tools/slowest_tests.py: test cases from the shards' gtest reports and tests from
ctest's cost record, slowest first, the newest report winning for a case found twice."""

import json
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "tools" / "slowest_tests.py"


def report(cases):
    """A gtest JSON report of (suite, case, time) triples."""
    suites = {}
    for suite, case, time in cases:
        suites.setdefault(suite, []).append({"name": case, "time": time, "status": "RUN"})
    return {"tests": len(cases), "testsuites": [{"name": s, "testsuite": c} for s, c in suites.items()]}


def run(build, *extra):
    result = subprocess.run([sys.executable, "-B", str(SCRIPT), str(build), *extra],
                            capture_output=True, text=True, check=False)
    return result.returncode, result.stdout.splitlines(), result.stderr


class SlowestTests(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.build = Path(self.folder.name)
        (self.build / "test_reports").mkdir()

    def tearDown(self):
        self.folder.cleanup()

    def write_report(self, name, cases, age):
        path = self.build / "test_reports" / name
        path.write_text(json.dumps(report(cases)))
        stamp = 1_700_000_000 - age
        os.utime(path, (stamp, stamp))

    def test_cases_slowest_first_across_programs_and_shards(self):
        self.write_report("winplat_tests.0.json", [("Region", "Combine", "0.250s"), ("Dc", "Save", "2.5s")], 0)
        self.write_report("winplat_tests.1.json", [("Pen/Width", "Draws/3", "1.125s")], 0)
        self.write_report("drafting_tests.0.json", [("Script", "Loops", "0.75s")], 0)
        code, lines, _ = run(self.build, "3")
        self.assertEqual(code, 0)
        self.assertEqual(lines[0], "slowest of 4 test cases (4.6 s in all):")
        self.assertEqual([line.split() for line in lines[1:4]], [
            ["2.500", "s", "winplat_tests", "Dc.Save"],
            ["1.125", "s", "winplat_tests", "Pen/Width.Draws/3"],
            ["0.750", "s", "drafting_tests", "Script.Loops"],
        ])
        self.assertEqual(len(lines), 4, "COUNT bounds the list")

    def test_newest_report_wins_for_a_case_found_twice(self):
        # The shards were counted differently once: the older report still holds the case.
        self.write_report("pixmill_tests.3.json", [("Gif", "Frames", "9.0s")], 100)
        self.write_report("pixmill_tests.1.json", [("Gif", "Frames", "0.5s")], 0)
        code, lines, _ = run(self.build)
        self.assertEqual(code, 0)
        self.assertEqual(lines[0], "slowest of 1 test cases (0.5 s in all):")
        self.assertEqual(lines[1].split(), ["0.500", "s", "pixmill_tests", "Gif.Frames"])

    def test_ctest_costs_leave_out_the_failed_list(self):
        temporary = self.build / "Testing" / "Temporary"
        temporary.mkdir(parents=True)
        (temporary / "CTestCostData.txt").write_text(
            "layering 2 0.5\nwinplat_tests.0 2 40.25\nbmp_load_fuzz 1 12\n---\nbmp_load_fuzz\n")
        code, lines, _ = run(self.build)
        self.assertEqual(code, 0)
        self.assertEqual(lines[0], "slowest of 3 ctest tests:")
        self.assertEqual([line.split() for line in lines[1:]], [
            ["40.250", "s", "winplat_tests.0"], ["12.000", "s", "bmp_load_fuzz"], ["0.500", "s", "layering"]])

    def test_a_broken_report_is_passed_over(self):
        (self.build / "test_reports" / "lect32_store_tests.0.json").write_text('{"tests": 3, "testsu')
        self.write_report("lect32_store_tests.1.json", [("Store", "Opens", "0.002s")], 0)
        code, lines, _ = run(self.build)
        self.assertEqual(code, 0)
        self.assertEqual(lines[1].split(), ["0.002", "s", "lect32_store_tests", "Store.Opens"])

    def test_nothing_to_list_fails_saying_why(self):
        code, lines, error = run(self.build)
        self.assertEqual(code, 1)
        self.assertEqual(lines, [])
        self.assertIn("run the tests first", error)

    def test_a_time_without_its_unit_is_refused(self):
        self.write_report("drafting_tests.0.json", [("Script", "Loops", "0.75")], 0)
        code, _, error = run(self.build)
        self.assertNotEqual(code, 0)
        self.assertIn("not a time in seconds", error)


if __name__ == "__main__":
    unittest.main()
