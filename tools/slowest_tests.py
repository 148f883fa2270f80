#!/usr/bin/env python3
"""The slowest tests of the last test run in a build folder.

    slowest_tests.py BUILD [COUNT]

Lists the COUNT (15 by default) slowest test cases of the test programs, from the reports every
shard writes (BUILD/test_reports/<program>.<shard>.json, gtest's JSON output), and the slowest
tests ctest runs (shards, fuzz runs, tool tests), from ctest's own record of their times
(BUILD/Testing/Temporary/CTestCostData.txt). A test case found in several reports (the shards were
counted differently since) is taken from the newest. Exits 1 when there is nothing to list.
"""

import glob
import json
import os
import sys


def seconds(text):
    """gtest writes a case's time as '0.125s'."""
    if not text.endswith("s"):
        raise ValueError("not a time in seconds: %r" % text)
    return float(text[:-1])


def report_cases(report, program):
    """(seconds, program, Suite.Case) of every case a gtest JSON report holds."""
    cases = []
    for suite in report.get("testsuites", []):
        for case in suite.get("testsuite", []):
            cases.append((seconds(case["time"]), program, "%s.%s" % (suite["name"], case["name"])))
    return cases


def program_of(report_path):
    """<program>.<shard>.json names the program."""
    name = os.path.basename(report_path)[: -len(".json")]
    return name.rsplit(".", 1)[0] if "." in name else name


def gtest_cases(build):
    """The newest time of every test case in the build's reports."""
    newest = {}
    paths = sorted(glob.glob(os.path.join(build, "test_reports", "*.json")), key=os.path.getmtime)
    for path in paths:
        with open(path, encoding="utf-8") as f:
            try:
                report = json.load(f)
            except ValueError:
                continue  # a shard that died while writing leaves no whole report
        for case in report_cases(report, program_of(path)):
            newest[(case[1], case[2])] = case
    return sorted(newest.values(), reverse=True)


def ctest_costs(text):
    """(seconds, name) of every test in ctest's cost record: 'name runs average' lines, then
    '---' and the names of the tests that failed, a word a line."""
    costs = []
    for line in text.splitlines():
        words = line.split()
        if len(words) == 3:
            costs.append((float(words[2]), words[0]))
    return sorted(costs, reverse=True)


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    build = argv[1]
    count = int(argv[2]) if len(argv) == 3 else 15
    cases = gtest_cases(build)
    costs = []
    cost_file = os.path.join(build, "Testing", "Temporary", "CTestCostData.txt")
    if os.path.exists(cost_file):
        with open(cost_file, encoding="utf-8") as f:
            costs = ctest_costs(f.read())
    if not cases and not costs:
        print("no test reports in %s: run the tests first (ctest --test-dir %s)" % (build, build),
              file=sys.stderr)
        return 1
    if cases:
        total = sum(case[0] for case in cases)
        print("slowest of %d test cases (%.1f s in all):" % (len(cases), total))
        for time, program, name in cases[:count]:
            print("%9.3f s  %-24s %s" % (time, program, name))
    if costs:
        print("slowest of %d ctest tests:" % len(costs))
        for time, name in costs[:count]:
            print("%9.3f s  %s" % (time, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
