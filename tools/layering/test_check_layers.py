#!/usr/bin/env python3
"""Self-test of check_layers.py: a small tree whose includes keep to their layers passes, and the
same tree with one include across layers planted fails, naming the file and the line."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent / "check_layers.py"

# A tree in the project's shape; every include here is allowed.
GOOD_TREE = {
    "platform/include/winplat/base.h": "",
    "platform/src/gdi/surface.h": '#include "winplat/base.h"\n',
    "platform/src/gdi/surface.cpp": '#include "gdi/surface.h"\n',
    "imagelib/pixmill/pixmill.h": '#include "winplat/base.h"\n',
    "imagelib/core/registry.h": '#include <vector>\n#include "pixmill/pixmill.h"\n',
    "imagelib/core/registry.cpp": '#include "core/registry.h"\n#include "../core/registry.h"\n',
    "viewer/store/pool.h": '#include "winplat/base.h"\n#include "pixmill/pixmill.h"\n',
    "viewer/store/pool.cpp": '#include "store/pool.h"\n#include "pool.h"\n',
    "viewer/text/words.h": '#include "store/pool.h"\n',
    "viewer/text/words.cpp": '#include "text/words.h"\n#include "../store/pool.h"\n',
    "viewer/page/lines.h": '#include "text/words.h"\n#include "store/pool.h"\n',
    "drafting/drawing/lines.h": '#include "winplat/base.h"\n',
    "drafting/script/engine.h": '#include "drawing/lines.h"\n#include "winplat/base.h"\n',
    # The platform's own tests may reach its sources (written in two pieces so that a search of the
    # tree for such includes does not find this line).
    "tests/platform/gdi/surface_test.cpp": "#include " + '"../../../platform/src/gdi/surface.h"\n',
    # So may the fuzz targets, which drive its readers directly.
    "tests/fuzz/surface_fuzz.cpp": "#include " + '"gdi/surface.h"\n',
    "tests/viewer/text/words_test.cpp": '#include "text/words.h"\n#include "store/pool.h"\n',
    "tests/imagelib/core/registry_test.cpp": '#include "core/registry.h"\n',
    "bench/bench_registry.cpp": '#include "core/registry.h"\n',
}

# (file, include planted in it, a fragment of the reason given)
BAD_INCLUDES = [
    ("viewer/store/pool.cpp", '"text/words.h"', "the store layer may not include the text layer"),
    ("viewer/store/pool.h", '"../text/words.h"', "the store layer may not include the text layer"),
    ("viewer/text/words.h", '"page/lines.h"', "the text layer may not include the page layer"),
    ("viewer/store/pool.cpp", '"core/registry.h"', "exported header only"),
    ("imagelib/core/registry.cpp", '"gdi/surface.h"', "the image library uses its own headers"),
    ("imagelib/core/registry.cpp", '"../../platform/src/gdi/surface.h"', "the image library uses its own headers"),
    ("imagelib/core/registry.h", '"store/pool.h"', "the image library uses its own headers"),
    ("imagelib/core/registry.h", '"../../viewer/text/words.h"', "the image library uses its own headers"),
    ("drafting/drawing/lines.h", '"text/words.h"', "the drafting program shares no code"),
    ("drafting/drawing/lines.h", '"pixmill/pixmill.h"', "the drafting program shares no code"),
    ("drafting/drawing/lines.h", '"script/engine.h"', "the drawing layer may not include the script layer"),
    ("platform/src/gdi/surface.cpp", '"pixmill/pixmill.h"', "the platform includes nothing above it"),
    ("tests/imagelib/core/registry_test.cpp", '"../../../platform/src/gdi/surface.h"', "private sources"),
    ("tests/viewer/text/words_test.cpp", "<platform/src/gdi/missing.h>", "private sources"),
    ("bench/bench_registry.cpp", '"gdi/surface.h"', "private sources"),
]


def write_tree(root, files):
    for name, text in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)


def run_check(root):
    return subprocess.run([sys.executable, "-B", str(SCRIPT), str(root)], capture_output=True, text=True)


class CheckLayers(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = Path(self.folder.name)
        write_tree(self.root, GOOD_TREE)

    def tearDown(self):
        self.folder.cleanup()

    def test_a_tree_within_its_layers_passes(self):
        result = run_check(self.root)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn(f"{len(GOOD_TREE)} files", result.stdout)

    def test_each_include_across_layers_fails_naming_file_line_and_reason(self):
        for source, include, reason in BAD_INCLUDES:
            with self.subTest(source=source, include=include):
                path = self.root / source
                path.write_text(GOOD_TREE[source] + f"#include {include}\n")
                result = run_check(self.root)
                path.write_text(GOOD_TREE[source])
                self.assertEqual(result.returncode, 1, result.stdout)
                line = GOOD_TREE[source].count("\n") + 1
                self.assertIn(f"{source}:{line}: includes ", result.stdout)
                self.assertIn(reason, result.stdout)

    def test_a_reader_folder_that_is_no_layer_fails(self):
        write_tree(self.root, {"viewer/widgets/button.h": ""})
        result = run_check(self.root)
        self.assertEqual(result.returncode, 1)
        self.assertIn("viewer/widgets: not one of the reader's layers", result.stdout)

    def test_a_root_without_sources_fails(self):
        with tempfile.TemporaryDirectory() as empty:
            result = run_check(Path(empty))
        self.assertEqual(result.returncode, 1)
        self.assertIn("no C or C++ files", result.stderr)

    def test_build_folders_are_not_read(self):
        write_tree(self.root, {"build/viewer/store/x.cpp": '#include "text/words.h"\n'})
        self.assertEqual(run_check(self.root).returncode, 0)


if __name__ == "__main__":
    unittest.main()
