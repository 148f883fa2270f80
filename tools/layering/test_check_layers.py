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
    # The platform's areas, each including its own headers and those of the areas below it; from
    # user, the areas above it take what user lends them.
    "platform/src/base/call_refusal.h": '#include "winplat/base.h"\n',
    "platform/src/kernel/module.h": '#include "base/call_refusal.h"\n',
    "platform/src/kernel/module.cpp": '#include "kernel/module.h"\n',
    "platform/src/files/state_folder.h": '#include "base/call_refusal.h"\n',
    "platform/src/registry/reg_tree.h": '#include "files/state_folder.h"\n',
    "platform/src/profile/ini_text.h": '#include "registry/reg_tree.h"\n#include "files/state_folder.h"\n',
    "platform/src/gdi/objects.h": '#include "gdi/surface.h"\n#include "base/call_refusal.h"\n',
    "platform/src/text/face.h": '#include "gdi/objects.h"\n#include "../files/state_folder.h"\n',
    "platform/src/user/window.h": '#include "text/face.h"\n#include "winplat/base.h"\n',
    "platform/src/user/window_state.h": '#include "winplat/base.h"\n',
    "platform/src/user/edge_drawing.h": '#include "gdi/objects.h"\n',
    "platform/src/user/message_pump.h": '#include "user/window.h"\n',
    "platform/src/user/input_feed.h": '#include "user/window.h"\n',
    "platform/src/host/sdl/sdl_host.cpp": '#include "user/input_feed.h"\n#include "gdi/objects.h"\n',
    "platform/src/controls/button.cpp":
        '#include "user/window_state.h"\n#include "../user/edge_drawing.h"\n#include "text/face.h"\n'
        "// the dialog manager keeps no std::map<HWND, ...> of its own: a comment may say so\n",
    "platform/src/controls/button.h": '#include "winplat/base.h"\n',
    "platform/src/dialogs/dialog.cpp":
        '#include "controls/button.h"\n#include "user/message_pump.h"\n#include "user/window_state.h"\n',
    "platform/src/commdlg/file_dialog.h": '#include "dialogs/dialog.h"\n#include "user/edge_drawing.h"\n',
    "platform/src/commdlg/file_dialog.cpp": '#include "commdlg/file_dialog.h"\n#include "user/window_state.h"\n',
    "platform/src/dialogs/dialog.h": '#include "controls/button.h"\n',
    "platform/src/user/timers.cpp": "std::map<HWND, int> timersByWindow;  // user keeps its own tables\n",
    "imagelib/pixmill/pixmill.h": '#include "winplat/base.h"\n',
    "imagelib/core/registry.h": '#include <vector>\n#include "pixmill/pixmill.h"\n',
    "imagelib/core/registry.cpp": '#include "core/registry.h"\n#include "../core/registry.h"\n',
    "viewer/store/pool.h": '#include "winplat/base.h"\n#include "pixmill/pixmill.h"\n',
    "platform/vexmill/include/vexmill/vexmill.h": '#include "winplat/base.h"\n',
    "platform/vexmill/src/player.h": '#include "winplat/base.h"\n',
    "platform/vexmill/src/player.cpp": '#include "player.h"\n#include "vexmill/vexmill.h"\n',
    "viewer/page/pictures.h": '#include "vexmill/vexmill.h"\n#include "pixmill/pixmill.h"\n',
    "viewer/store/pool.cpp": '#include "store/pool.h"\n#include "pool.h"\n',
    "viewer/text/words.h": '#include "store/pool.h"\n',
    "viewer/text/words.cpp": '#include "text/words.h"\n#include "../store/pool.h"\n',
    "viewer/page/lines.h": '#include "text/words.h"\n#include "store/pool.h"\n',
    "drafting/drawing/lines.h": '#include "winplat/base.h"\n',
    "drafting/script/engine.h": '#include "drawing/lines.h"\n#include "winplat/base.h"\n',
    # The form library on the platform's public headers; the drafting program uses it.
    "platform/forms/include/winforms/form.h": '#include "winplat/base.h"\n',
    "platform/forms/src/form.cpp": '#include "winforms/form.h"\n#include "winplat/base.h"\n',
    "drafting/script/main_form.h": '#include "winforms/form.h"\n',
    "drafting/display/painter.h": '#include "drawing/lines.h"\n#include "winforms/canvas.h"\n',
    # The main form's layer sees every layer of the program below it.
    "drafting/ui/form.h": '#include "script/engine.h"\n#include "display/painter.h"\n#include "winforms/form.h"\n',
    "platform/forms/include/winforms/canvas.h": '#include "winplat/gdi.h"\n',
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
    ("viewer/store/pool.cpp", '"core/registry.h"', "exported headers"),
    ("imagelib/core/registry.cpp", '"gdi/surface.h"', "the image library uses its own headers"),
    ("imagelib/core/registry.cpp", '"../../platform/src/gdi/surface.h"', "the image library uses its own headers"),
    ("imagelib/core/registry.h", '"store/pool.h"', "the image library uses its own headers"),
    ("imagelib/core/registry.h", '"../../viewer/text/words.h"', "the image library uses its own headers"),
    ("drafting/drawing/lines.h", '"text/words.h"', "the drafting program shares no code"),
    ("drafting/drawing/lines.h", '"pixmill/pixmill.h"', "the drafting program shares no code"),
    ("drafting/drawing/lines.h", '"script/engine.h"', "the drawing layer may not include the script layer"),
    ("drafting/drawing/lines.h", '"display/painter.h"', "the drawing layer may not include the display layer"),
    ("drafting/drawing/lines.h", '"winforms/canvas.h"', "the drawing layer draws nothing"),
    ("drafting/display/painter.h", '"script/engine.h"', "the display layer may not include the script layer"),
    ("drafting/script/engine.h", '"ui/form.h"', "the main form's layer lies above"),
    ("drafting/display/painter.h", '"ui/form.h"', "the main form's layer lies above"),
    ("drafting/drawing/lines.h", '"ui/form.h"', "the main form's layer lies above"),
    ("platform/src/gdi/surface.cpp", '"pixmill/pixmill.h"', "the platform includes nothing above it"),
    ("platform/vexmill/src/player.cpp", '"gdi/surface.h"', "the vector-picture library uses its own headers"),
    ("platform/vexmill/src/player.h", '"pixmill/pixmill.h"', "the platform includes nothing above it"),
    ("viewer/page/pictures.h", '"../../platform/vexmill/src/player.h"', "exported headers"),
    ("platform/src/user/window.h", '"winforms/form.h"', "the platform includes nothing above it"),
    ("platform/forms/src/form.cpp", '"gdi/surface.h"', "the form library uses its own headers"),
    ("platform/forms/src/form.cpp", '"../../src/gdi/surface.h"', "the form library uses its own headers"),
    ("platform/forms/src/form.cpp", '"pixmill/pixmill.h"', "the form library uses its own headers"),
    ("viewer/store/pool.h", '"winforms/form.h"', "exported headers of the image and vector-picture libraries only"),
    ("imagelib/core/registry.h", '"winforms/form.h"', "the image library uses its own headers"),
    ("tests/imagelib/core/registry_test.cpp", '"../../../platform/src/gdi/surface.h"', "private sources"),
    ("tests/viewer/text/words_test.cpp", "<platform/src/gdi/missing.h>", "private sources"),
    ("bench/bench_registry.cpp", '"gdi/surface.h"', "private sources"),
    # GDI below text: the stock font's face is text's to make.
    ("platform/src/gdi/objects.h", '"text/face.h"', "the gdi area may not include the text area"),
    ("platform/src/gdi/surface.cpp", '"../text/face.h"', "the gdi area may not include the text area"),
    ("platform/src/base/call_refusal.h", '"kernel/module.h"', "the base area may not include the kernel area"),
    ("platform/src/kernel/module.cpp", '"files/state_folder.h"', "the kernel area may not include the files area"),
    ("platform/src/registry/reg_tree.h", '"profile/ini_text.h"', "the registry area may not include the profile area"),
    ("platform/src/text/face.h", '"user/window.h"', "the text area may not include the user area"),
    ("platform/src/user/window.h", '"controls/button.h"', "the user area may not include the controls area"),
    ("platform/src/controls/button.cpp", '"dialogs/dialog.h"', "the controls area may not include the dialogs area"),
    ("platform/src/host/sdl/sdl_host.cpp", '"controls/button.h"', "the host area may not include the controls area"),
    ("platform/src/dialogs/dialog.cpp", '"commdlg/file_dialog.h"', "the dialogs area may not include the commdlg area"),
    # The window record is never lent, nor what user lends one area to another.
    ("platform/src/controls/button.cpp", '"user/window.h"', "the controls area takes from user only what user lends"),
    ("platform/src/controls/button.h", '"../user/window.h"', "the controls area takes from user only what user lends"),
    ("platform/src/dialogs/dialog.cpp", '"user/window.h"', "the dialogs area takes from user only what user lends"),
    ("platform/src/commdlg/file_dialog.cpp", '"user/window.h"', "the commdlg area takes from user only what user lends"),
    ("platform/src/controls/button.cpp", '"user/message_pump.h"', "the controls area takes from user only"),
    ("platform/src/host/sdl/sdl_host.cpp", '"user/window_state.h"', "the host area takes from user only"),
    ("platform/src/host/sdl/sdl_host.cpp", '"user/window.h"', "the host area takes from user only"),
]

# (file, line planted in it, a fragment of the reason given): window state kept beside the seam.
KEPT_STATE = [
    ("platform/src/controls/button.cpp", "std::map<HWND, Button> buttons;", "a table keyed by window"),
    ("platform/src/controls/button.h", "static std::unordered_map< HWND, int>& all();", "a table keyed by window"),
    ("platform/src/dialogs/dialog.cpp", "SetWindowLongPtrA(dialog, DWL_USER, lParam);", "a pointer in DWL_USER"),
    ("platform/src/commdlg/file_dialog.cpp", "GetWindowLongPtrA(dialog, GWLP_USERDATA);", "GWLP_USERDATA"),
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

    def assert_planted_line_fails(self, source, line, report, reason):
        """The tree with the line added at the end of source fails, naming the file, the line's
        number, what is reported and why."""
        path = self.root / source
        path.write_text(GOOD_TREE[source] + line + "\n")
        result = run_check(self.root)
        path.write_text(GOOD_TREE[source])
        self.assertEqual(result.returncode, 1, result.stdout)
        number = GOOD_TREE[source].count("\n") + 1
        self.assertIn(f"{source}:{number}: {report}", result.stdout)
        self.assertIn(reason, result.stdout)

    def test_each_include_across_layers_fails_naming_file_line_and_reason(self):
        for source, include, reason in BAD_INCLUDES:
            with self.subTest(source=source, include=include):
                self.assert_planted_line_fails(source, f"#include {include}", "includes ", reason)

    def test_window_state_beside_the_seam_fails_naming_file_line_and_reason(self):
        for source, line, reason in KEPT_STATE:
            with self.subTest(source=source, line=line):
                self.assert_planted_line_fails(source, line, "keeps window state outside user/window_state.h", reason)

    def test_a_platform_folder_that_is_no_area_fails(self):
        write_tree(self.root, {"platform/src/widgets/slider.h": '#include "winplat/base.h"\n'})
        result = run_check(self.root)
        self.assertEqual(result.returncode, 1)
        self.assertIn("platform/src/widgets: not one of the platform's areas", result.stdout)

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
