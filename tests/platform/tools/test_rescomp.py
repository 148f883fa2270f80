#!/usr/bin/env python3
"""The resource compiler, run as the build runs it: on .rsrc files, to a C++ file and a header.

The generated C++ is compiled against a small stand-in for the registry and run, so the checks
see the bytes and the table a real module would get, not the text of the literals; the header of
named ids is compiled into the same program, which looks each name up in that table.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import textwrap
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
RESCOMP = os.path.join(ROOT, "platform", "tools", "rescomp", "rescomp.py")
INCLUDE = os.path.join(ROOT, "platform", "include")

# Stands in for the layer: records the registration and prints the table it was given.
HARNESS = r"""
#include <cstdio>
#include "winplat/resources.h"

namespace winplat {
static const ModuleResources* registered;
static const void* registeredAnchor;
HINSTANCE registerModule(const ModuleResources& resources, const void* anchor) {
    registered = &resources;
    registeredAnchor = anchor;
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x1234));
}
void unregisterModule(HINSTANCE module) {
    std::printf("unregister %lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(module)));
}
const ModuleResources* moduleResources(HINSTANCE) { return registered; }
}  // namespace winplat

static void hex(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) std::printf("%02x", static_cast<unsigned char>(text[i]));
}

// Defined by the test: prints what it checks of the named ids, or nothing.
void printNamed();

int main() {
    const winplat::ModuleResources* r = winplat::registered;
    if (!r) {
        std::printf("not registered\n");
        return 1;
    }
    std::printf("module ");
    hex(r->fileName, __builtin_strlen(r->fileName));
    std::printf(" program %d anchor %s count %zu\n", r->isProgram ? 1 : 0,
                winplat::registeredAnchor == r ? "descriptor" : "elsewhere", r->stringCount);
    for (size_t i = 0; i < r->stringCount; ++i) {
        const winplat::StringResource& s = r->strings[i];
        std::printf("string %u ", static_cast<unsigned>(s.id));
        hex(s.text, s.length);
        std::printf(" %s\n", s.text[s.length] == '\0' ? "terminated" : "unterminated");
    }
    for (size_t i = 0; i < r->resourceCount; ++i) {
        const winplat::BinaryResource& b = r->resources[i];
        std::printf("resource %u %u ", static_cast<unsigned>(b.type), static_cast<unsigned>(b.id));
        if (b.name) {
            hex(b.name, __builtin_strlen(b.name));
        } else {
            std::printf("-");
        }
        std::printf(" ");
        hex(reinterpret_cast<const char*>(b.data), b.size);
        std::printf(" %s\n", reinterpret_cast<uintptr_t>(b.data) % 4 == 0 ? "aligned" : "unaligned");
    }
    printNamed();
    return 0;
}
"""

NO_NAMES = "void printNamed() {}\n"

# Prints each name with its id and the text the table holds under that id.
NAMED_PROGRAM = r"""
#include <cstdio>
#include <type_traits>

#include "resources/test_ids.h"
#include "resources/test_ids.h"  // a second time: the include guard holds
#include "winplat/resources.h"

static void named(const char* name, UINT id) {
    const winplat::ModuleResources* r = winplat::moduleResources(nullptr);
    std::printf("named %s %u", name, id);
    for (size_t i = 0; i < r->stringCount; ++i) {
        if (r->strings[i].id != id) continue;
        std::printf(" ");
        for (uint32_t k = 0; k < r->strings[i].length; ++k) {
            std::printf("%02x", static_cast<unsigned char>(r->strings[i].text[k]));
        }
    }
    std::printf("\n");
}

// Usable where a constant expression is needed, as a UINT.
static_assert(std::is_same_v<decltype(test::res::kLast), const UINT>);
static_assert(test::res::kLast == 65535);

void printNamed() {
    named("kFirst", test::res::kFirst);
    named("kCzech", test::res::kCzech);
    named("kZero", test::res::kZero);
    named("kRle8Compression", test::res::kRle8Compression);
    named("kLast", test::res::kLast);
}
"""

CZECH = "Žluťoučký kůň úpěl ďábelské ódy"
CZECH_CP1250 = bytes.fromhex(
    "8e 6c 75 9d 6f 75 e8 6b fd 20 6b f9 f2 20 fa 70 ec 6c 20 ef e1 62 65 6c 73 6b e9 20 f3 64 79"
)


class RescompCase(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory(prefix="rescomp-test-")
        self.dir = self._dir.name
        self.output = os.path.join(self.dir, "out", "module_resources.cpp")
        self.include = os.path.join(self.dir, "out", "ids")
        self.header = os.path.join(self.include, "resources", "test_ids.h")

    def tearDown(self):
        self._dir.cleanup()

    def write(self, name, text):
        """Writes the file as given; the line numbers of the error cases count on it."""
        path = os.path.join(self.dir, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def rescomp(self, inputs, module="test.dll", program=False, header=False, options=()):
        command = [sys.executable, RESCOMP, "--module", module, "--output", self.output]
        if program:
            command.append("--program")
        if header:
            command += ["--header", self.header, "--namespace", "test::res"]
        command += options
        return subprocess.run(command + inputs, capture_output=True, text=True, errors="replace")

    def assert_errors(self, cases):
        """Each (what, text of one file, line, fragment) fails naming the file and line, and
        writes nothing."""
        for what, text, line, fragment in cases:
            with self.subTest(what):
                path = self.write("a.rsrc", text)
                result = self.rescomp([path])
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertTrue(result.stderr.startswith(f"{path}:{line}: "), result.stderr)
                self.assertIn(fragment, result.stderr)
                self.assertFalse(os.path.exists(self.output))

    def header_names(self):
        """The names the header declares, with their ids, in the order it declares them."""
        with open(self.header, encoding="utf-8") as f:
            return re.findall(r"^inline constexpr UINT (\w+) = (\d+);$", f.read(), re.M)

    def compile_and_run(self, named=NO_NAMES):
        compiler = os.environ.get("CXX") or shutil.which("c++")
        if not compiler or not shutil.which(compiler):
            self.skipTest("no C++ compiler (set CXX or put c++ on PATH): cannot check the generated code")
        sources = []
        for name, text in (("harness.cpp", HARNESS), ("named.cpp", named)):
            sources.append(os.path.join(self.dir, name))
            with open(sources[-1], "w") as f:
                f.write(text)
        program = os.path.join(self.dir, "harness")
        build = subprocess.run(
            [compiler, "-std=c++20", "-Wall", "-Wextra", "-Werror", "-I", INCLUDE, "-I", self.include, self.output]
            + sources
            + ["-o", program],
            capture_output=True,
            text=True,
        )
        self.assertEqual(build.returncode, 0, "generated code does not compile:\n" + build.stderr)
        run = subprocess.run([program], capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        return run.stdout.splitlines()


class GeneratedTable(RescompCase):
    def test_strings_become_sorted_cp1250_table_registered_while_loaded(self):
        first = self.write(
            "a.rsrc",
            textwrap.dedent(f"""
            // Czech text, ids out of order
            STRINGTABLE
              8107 "{CZECH}"
              12 "€ and ě then hex digits: ěab12"
            END
            """),
        )
        second = self.write(
            "b.rsrc",
            textwrap.dedent(r"""
            STRINGTABLE
              3, "q\"uote\" back\\slash tab\t cr\r nl\n"
              65535 "??=not a trigraph"
              0 ""
            END
            STRINGTABLE
              0x10 "hex id"  // trailing comment
            END
            """),
        )
        result = self.rescomp([first, second], module="Čtečka.dll")
        self.assertEqual(result.returncode, 0, result.stderr)

        expected_strings = [
            (0, b""),
            (3, b'q"uote" back\\slash tab\t cr\r nl\n'),
            (12, b"\x80 and \xec then hex digits: \xecab12"),
            (16, b"hex id"),
            (8107, CZECH_CP1250),
            (65535, b"??=not a trigraph"),
        ]
        self.assertEqual(
            self.compile_and_run(),
            ["module c87465e86b612e646c6c program 0 anchor descriptor count 6"]
            + [f"string {i} {text.hex()} terminated" for i, text in expected_strings]
            + ["unregister 1234"],
        )

    def test_program_module_without_strings(self):
        source = self.write("empty.rsrc", "// nothing yet\n")
        result = self.rescomp([source], module="lect32.exe", program=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(
            self.compile_and_run(),
            [f"module {b'lect32.exe'.hex()} program 1 anchor descriptor count 0", "unregister 1234"],
        )


def load_rescomp():
    """The compiler as a module, for what no statement reaches on its own."""
    sys.path.insert(0, os.path.dirname(RESCOMP))
    try:
        import rescomp
    finally:
        sys.path.pop(0)
    return rescomp


class BinaryTable(RescompCase):
    def setUp(self):
        super().setUp()
        self.rc = load_rescomp()

    def generate(self, resources):
        os.makedirs(os.path.dirname(self.output), exist_ok=True)
        with open(self.output, "w", encoding="utf-8") as f:
            f.write(self.rc.generate(b"test.dll", False, ["a.rsrc"], resources))

    def test_resources_sorted_by_type_then_ids_then_names(self):
        resources = self.rc.Resources()
        rc = self.rc
        for rtype, name, data in [
            (rc.RT_DIALOG, 7, b"\x07\x00\x01"),
            (rc.RT_MENU, "main", b"main"),
            (rc.RT_MENU, 12, bytes(range(40))),  # more than one line of the array
            (rc.RT_MENU, "žlutý", b"\xff"),
            (rc.RT_MENU, "#3", b""),
            (rc.RT_MENU, "Zebra", b"z"),
            (rc.RT_CURSOR, 65535, b"c"),
        ]:
            resources.add_binary("a.rsrc", 1, rtype, name, data)
        self.generate(resources)
        self.assertEqual(
            [line for line in self.compile_and_run() if line.startswith("resource")],
            [
                f"resource 1 65535 - {b'c'.hex()} aligned",
                "resource 4 3 -  aligned",
                f"resource 4 12 - {bytes(range(40)).hex()} aligned",
                f"resource 4 0 {b'MAIN'.hex()} {b'main'.hex()} aligned",
                f"resource 4 0 {b'ZEBRA'.hex()} {b'z'.hex()} aligned",
                f"resource 4 0 {'ŽLUTÝ'.encode('cp1250').hex()} ff aligned",
                "resource 5 7 - 070001 aligned",
            ],
        )

    def test_refusals_name_file_and_line(self):
        rc = self.rc
        cases = [
            ("name in another case", (rc.RT_MENU, "MAIN"), "a.rsrc:4: MENU \"MAIN\" is already defined at a.rsrc:3"),
            ("'#' form of a taken id", (rc.RT_MENU, "#12"), "a.rsrc:4: MENU 12 is already defined at a.rsrc:3"),
            ("id past a WORD", (rc.RT_MENU, 65536), "a.rsrc:4: resource id 65536 is outside 0..65535"),
            ("'#' id past a WORD", (rc.RT_MENU, "#65548"), "a.rsrc:4: resource id 65548 is outside 0..65535"),
            ("negative id", (rc.RT_MENU, -1), "a.rsrc:4: resource id -1 is outside 0..65535"),
            ("empty name", (rc.RT_MENU, ""), "a.rsrc:4: a resource name cannot be empty"),
            ("name outside cp1250", (rc.RT_MENU, "snow\u2603"), "a.rsrc:4: character '\u2603' (U+2603)"),
        ]
        for what, (rtype, name), message in cases:
            with self.subTest(what):
                resources = rc.Resources()
                resources.add_binary("a.rsrc", 3, rc.RT_MENU, "main", b"m")
                resources.add_binary("a.rsrc", 3, rc.RT_MENU, 12, b"m")
                resources.add_binary("a.rsrc", 3, rc.RT_DIALOG, "MAIN", b"other type, same name")
                with self.assertRaises(rc.ResourceError) as caught:
                    resources.add_binary("a.rsrc", 4, rtype, name, b"x")
                self.assertTrue(str(caught.exception).startswith(message), str(caught.exception))


class Dialogs(RescompCase):
    def setUp(self):
        super().setUp()
        self.rc = load_rescomp()

    def compiled(self, text, name):
        resources = self.rc.Resources()
        self.rc.parse_file(self.write("d.rsrc", text), resources)
        return resources.binaries[(self.rc.RT_DIALOG, name)].data

    def test_stored_form(self):
        data = self.compiled(
            textwrap.dedent("""\
            DIALOG "ask" 1 -2 30 40
              STYLE popup 0x100
              FONT 8 "Sans"
              CAPTION "Čti"
              CONTROL EDIT 101 7 18 172 12 not border tabstop
              CONTROL "My" -1 0 0 1 1 "ě"
              CONTROL STATIC 5 0 0 1 1 icon #300
            END
            """),
            b"ASK",
        )
        expected = bytes.fromhex(
            "40 01 00 80"  # style: popup | 0x100 | setfont
            "00 00 00 00"  # extended style
            "03 00"  # three controls
            "01 00 fe ff 1e 00 28 00"  # x 1, y -2, cx 30, cy 40
            "00 00"  # no menu
            "00 00"  # the dialog class
            "0c 01 74 00 69 00 00 00"  # "Čti" in UTF-16
            "08 00 53 00 61 00 6e 00 73 00 00 00"  # setfont: 8 points, "Sans"
            "00 00"  # pad to a DWORD
            "00 00 01 50 00 00 00 00"  # child | visible | tabstop; the edit field's border taken away
            "07 00 12 00 ac 00 0c 00 65 00"  # 7 18 172 12, id 101
            "ff ff 81 00"  # EDIT
            "00 00"  # no text
            "00 00"  # no creation data
            "00 00"  # pad to a DWORD
            "00 00 00 50 00 00 00 00"  # child | visible
            "00 00 00 00 01 00 01 00 ff ff"  # 0 0 1 1, id -1
            "4d 00 79 00 00 00"  # class "My"
            "1b 01 00 00"  # text "ě"
            "00 00"  # no creation data
            "00 00"  # pad to a DWORD
            "03 00 00 50 00 00 00 00"  # child | visible | SS_ICON
            "00 00 00 00 01 00 01 00 05 00"  # 0 0 1 1, id 5
            "ff ff 82 00"  # STATIC
            "ff ff 2c 01"  # text: resource 300
            "00 00"  # no creation data
        )
        self.maxDiff = None
        self.assertEqual(data.hex(" "), expected.hex(" "))

    def test_style_words_are_the_constants_of_the_layer_headers(self):
        constants = {}
        for header in ("user.h", "controls.h"):
            with open(os.path.join(INCLUDE, "winplat", header), encoding="utf-8") as f:
                for name, value in re.findall(r"^#define (\w+) (0x[0-9A-Fa-f]+)L?$", f.read(), re.M):
                    constants[name] = int(value, 16)
        styles = sys.modules["styles"]
        for table, words in styles.all_tables().items():
            for word, entry in words.items():
                with self.subTest(f"{table} {word}"):
                    self.assertTrue(entry.constant in constants, f"no header defines {entry.constant}")
                    self.assertEqual(entry.value, constants[entry.constant])

    # (what, text of the file, line reported, fragment of the message)
    ERRORS = [
        ("not closed", 'DIALOG 1 0 0 1 1\n  CAPTION "x"\n', 1, "not closed with END"),
        ("size missing", "DIALOG 1 0 0 1\nEND\n", 1, "height before the end of the line"),
        ("coordinate too large", "DIALOG 1 0 32768 1 1\nEND\n", 1, "y 32768 is outside -32768..32767"),
        ("id too large", "DIALOG 65536 0 0 1 1\nEND\n", 1, "dialog id 65536"),
        ("something after the size", "DIALOG 1 0 0 1 1 popup\nEND\n", 1, "unexpected 'popup'"),
        ("unknown line", "DIALOG 1 0 0 1 1\n  BUTTON 1 0 0 1 1\nEND\n", 2, "expected STYLE"),
        ("unknown dialog word", "DIALOG 1 0 0 1 1\n  STYLE popup defpush\nEND\n", 2, "'defpush' is not a style word"),
        ("STYLE twice", "DIALOG 1 0 0 1 1\n  STYLE popup\n  STYLE child\nEND\n", 3, "already given on line 2"),
        ("caption not quoted", "DIALOG 1 0 0 1 1\n  CAPTION Heslo\nEND\n", 2, "expected the caption"),
        ("caption outside cp1250", 'DIALOG 1 0 0 1 1\n  CAPTION "\u2603"\nEND\n', 2, "U+2603"),
        ("font without face", "DIALOG 1 0 0 1 1\n  FONT 8\nEND\n", 2, "the face name"),
        ("unknown class", "DIALOG 1 0 0 1 1\n  CONTROL BUTTN 1 0 0 1 1\nEND\n", 2, "expected a control class"),
        ("word of another class", "DIALOG 1 0 0 1 1\n  CONTROL EDIT 1 0 0 1 1 defpush\nEND\n", 2, "'defpush' is not a style word of EDIT"),
        ("words of a custom class", 'DIALOG 1 0 0 1 1\n  CONTROL "X" 1 0 0 1 1 password\nEND\n', 2, "of X"),
        ("two kinds of button", "DIALOG 1 0 0 1 1\n  CONTROL BUTTON 1 0 0 1 1 push radio\nEND\n", 2, "'radio' and 'push'"),
        ("control id below -1", "DIALOG 1 0 0 1 1\n  CONTROL BUTTON -2 0 0 1 1\nEND\n", 2, "control id -2"),
        ("text before the words", 'DIALOG 1 0 0 1 1\n  CONTROL BUTTON 1 0 0 1 1 "OK" tabstop\nEND\n', 2, "unexpected 'tabstop'"),
        ("control text outside cp1250", 'DIALOG 1 0 0 1 1\n  CONTROL STATIC 1 0 0 1 1 "\u4e2d"\nEND\n', 2, "U+4E2D"),
        ("style number past 32 bits", "DIALOG 1 0 0 1 1\n  STYLE 0x100000000\nEND\n", 2, "does not fit in 32 bits"),
        ("not without a word", "DIALOG 1 0 0 1 1\n  CONTROL EDIT 1 0 0 1 1 not\nEND\n", 2, "a style word after 'not'"),
        ("END with more", "DIALOG 1 0 0 1 1\nEND x\n", 2, "unexpected 'x'"),
        (
            "dialog defined twice",
            'DIALOG "a" 0 0 1 1\nEND\nDIALOG "A" 0 0 1 1\nEND\n',
            3,
            "DIALOG \"A\" is already defined at",
        ),
    ]

    def test_malformed_lines_name_file_and_line(self):
        self.assert_errors(self.ERRORS)


class MenusAndAccelerators(RescompCase):
    def setUp(self):
        super().setUp()
        self.rc = load_rescomp()

    def compiled(self, text):
        resources = self.rc.Resources()
        self.rc.parse_file(self.write("m.rsrc", text), resources)
        return {key: entry.data for key, entry in resources.binaries.items()}

    def test_stored_forms(self):
        tables = self.compiled(
            textwrap.dedent("""\
            MENU 1
              POPUP "&Ž"
                ITEM 2 "a\tb" checked
                SEPARATOR
              END
              ITEM 3 "c" grayed help
            END
            ACCELERATORS "keys"
              CTRL SHIFT "q" 10
              ALT ASCII "x" 11
              RETURN 12
            END
            """)
        )
        menu = bytes.fromhex(
            "00 00 00 00"  # version 0, no header bytes
            "10 00 26 00 7d 01 00 00"  # drop-down "&Ž"
            "08 00 02 00 61 00 09 00 62 00 00 00"  # checked item 2 "a\tb"
            "80 00 00 00 00 00"  # separator, the last of the drop-down
            "81 40 03 00 63 00 00 00"  # grayed | help | end: item 3 "c", the last of the bar
        )
        accelerators = bytes.fromhex(
            "0d 00 51 00 0a 00 00 00"  # virtual key, Ctrl, Shift: Q, command 10
            "10 00 78 00 0b 00 00 00"  # Alt, the character x, command 11
            "81 00 0d 00 0c 00 00 00"  # virtual key, last: Return, command 12
        )
        self.assertEqual(tables[(self.rc.RT_MENU, 1)].hex(" "), menu.hex(" "))
        self.assertEqual(tables[(self.rc.RT_ACCELERATOR, b"KEYS")].hex(" "), accelerators.hex(" "))

    def test_key_names_are_the_virtual_keys_of_the_layer(self):
        with open(os.path.join(INCLUDE, "winplat", "user.h"), encoding="utf-8") as f:
            constants = {name: int(value, 0) for name, value in re.findall(r"^#define VK_(\w+) (0x[0-9A-Fa-f]+|\d+)", f.read(), re.M)}
        keys = sys.modules["menus"].KEYS
        for name, value in keys.items():
            if name in constants:
                self.assertEqual(value, constants[name], name)
        self.assertEqual(keys["F24"], 0x87)
        self.assertTrue(set(keys) - set(constants) <= {f"F{n}" for n in range(13, 25)}, set(keys) - set(constants))

    ERRORS = [
        ("menu not closed", 'MENU 1\n  ITEM 1 "a"\n', 1, "MENU is not closed with END"),
        # Its END closes the drop-down, so the menu is what stays open.
        ("drop-down not closed", 'MENU 1\n  POPUP "a"\n    ITEM 1 "a"\nEND\n', 1, "MENU is not closed"),
        ("drop-down at the end", 'MENU 1\n  ITEM 2 "b"\n  POPUP "a"\n', 3, "POPUP is not closed"),
        ("empty menu", "// x\nMENU 1\nEND\n", 2, "MENU holds no item"),
        ("empty drop-down", 'MENU 1\n  POPUP "a"\n  END\nEND\n', 2, "POPUP holds no item"),
        ("item without text", "MENU 1\n  ITEM 5\nEND\n", 2, "the item's text before the end"),
        ("item id too large", 'MENU 1\n  ITEM 65536 "a"\nEND\n', 2, "command id 65536"),
        ("unknown flag", 'MENU 1\n  ITEM 1 "a" checkd\nEND\n', 2, "'checkd' is not an item flag"),
        ("text outside cp1250", 'MENU 1\n  ITEM 1 "a\u2603"\nEND\n', 2, "U+2603"),
        ("MENUITEM", 'MENU 1\n  MENUITEM 1 "a"\nEND\n', 2, "expected ITEM, SEPARATOR, POPUP or END"),
        ("separator with text", 'MENU 1\n  SEPARATOR "a"\nEND\n', 2, "unexpected a string"),
        ("keys not closed", 'ACCELERATORS 1\n  F2 1\n', 1, "ACCELERATORS is not closed with END"),
        ("no keys", "ACCELERATORS 1\nEND\n", 1, "holds no key"),
        ("unknown key", "ACCELERATORS 1\n  CTRL F25 1\nEND\n", 2, "found 'F25'"),
        ("two letters", 'ACCELERATORS 1\n  CTRL "OK" 1\nEND\n', 2, "not one letter or digit"),
        ("quoted punctuation", 'ACCELERATORS 1\n  "+" 1\nEND\n', 2, "not one letter or digit"),
        ("modifier twice", "ACCELERATORS 1\n  CTRL CTRL F2 1\nEND\n", 2, "CTRL is written twice"),
        ("no command", "ACCELERATORS 1\n  CTRL F2\nEND\n", 2, "command id before the end"),
        ("key number too large", "ACCELERATORS 1\n  255 1\nEND\n", 2, "virtual key 255"),
        ("CTRL with a character", 'ACCELERATORS 1\n  CTRL ASCII "x" 1\nEND\n', 2, "ALT at most"),
        ("character outside cp1250", 'ACCELERATORS 1\n  ASCII "\u2603" 1\nEND\n', 2, "U+2603"),
        ("the same key twice", 'ACCELERATORS 1\n  CTRL "O" 1\n  F2 2\n  CTRL "o" 3\nEND\n', 4, "given on line 2"),
        ("menu defined twice", 'MENU 1\n  ITEM 1 "a"\nEND\nMENU 1\n  ITEM 1 "a"\nEND\n', 4, "MENU 1 is already defined"),
    ]

    def test_malformed_lines_name_file_and_line(self):
        self.assert_errors(self.ERRORS)


class NamedIds(RescompCase):
    def test_header_names_the_ids_written_beside_them(self):
        first = self.write(
            "a.rsrc",
            textwrap.dedent(f"""
            STRINGTABLE
              8107 kCzech "{CZECH}"
              12 "no name"
              0 kZero, ""
              8135 kRle8Compression "RLE8 compression"
            END
            """),
        )
        second = self.write(
            "b.rsrc",
            textwrap.dedent("""
            // An older file without names, and a name given in another file.
            STRINGTABLE
              3 "three"
            END
            STRINGTABLE
              65535 kLast "last"
              0x10 kFirst "sixteen"  // hex id
            END
            """),
        )
        result = self.rescomp([first, second], header=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(
            self.header_names(),
            [("kZero", "0"), ("kFirst", "16"), ("kCzech", "8107"), ("kRle8Compression", "8135"), ("kLast", "65535")],
        )
        lines = self.compile_and_run(NAMED_PROGRAM)
        self.assertEqual(
            lines[-6:],
            [
                f"named kFirst 16 {b'sixteen'.hex()}",
                f"named kCzech 8107 {CZECH_CP1250.hex()}",
                "named kZero 0 ",
                f"named kRle8Compression 8135 {b'RLE8 compression'.hex()}",
                f"named kLast 65535 {b'last'.hex()}",
                "unregister 1234",
            ],
        )

    def test_names_of_commands_and_controls(self):
        source = self.write(
            "a.rsrc",
            textwrap.dedent("""\
            STRINGTABLE
              3 kTitle "t"
            END
            MENU 1
              POPUP "a"
                ITEM 1002 kOpenFile "o"
                ITEM 1001 "no name"
              END
              ITEM 900 kFind "f"
            END
            DIALOG 5 0 0 1 1
              CONTROL EDIT 101 kPasswordEdit 7 18 172 12 password
              CONTROL BUTTON 1 0 0 1 1 "OK"
            END
            """),
        )
        result = self.rescomp([source], header=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(
            self.header_names(),
            [("kTitle", "3"), ("kFind", "900"), ("kOpenFile", "1002"), ("kPasswordEdit", "101")],
        )
        with open(self.header, encoding="utf-8") as f:
            header = f.read()
        self.assertLess(header.index("// Command ids"), header.index("kFind"))
        self.assertLess(header.index("// Control ids"), header.index("kPasswordEdit"))

    NAME_ERRORS = [
        (
            "command name taken by a string",
            'STRINGTABLE\n  3 kOpen "t"\nEND\nMENU 1\n  ITEM 7 kOpen "o"\nEND\n',
            5,
            "kOpen already stands for id 3",
        ),
        (
            "control name taken by a command",
            'MENU 1\n  ITEM 7 kOk "o"\nEND\nDIALOG 1 0 0 1 1\n  CONTROL BUTTON 1 kOk 0 0 1 1\nEND\n',
            5,
            "kOk already stands for id 7",
        ),
        ("item name in macro style", 'MENU 1\n  ITEM 7 ID_OPEN "o"\nEND\n', 2, "'ID_OPEN' is not written as a constant"),
        ("control name in macro style", "DIALOG 1 0 0 1 1\n  CONTROL EDIT 1 IDC_X 0 0 1 1\nEND\n", 2, "'IDC_X'"),
    ]

    def test_name_errors(self):
        self.assert_errors(self.NAME_ERRORS)

    def test_module_without_names_gets_an_empty_header(self):
        source = self.write("a.rsrc", 'STRINGTABLE\n  1 "one"\nEND\n')
        result = self.rescomp([source], header=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.header_names(), [])
        self.assertEqual(self.compile_and_run()[-1], "unregister 1234")

    def test_header_options_are_checked(self):
        source = self.write("a.rsrc", 'STRINGTABLE\n  1 kOne "one"\nEND\n')
        cases = [
            ("header without namespace", ["--header", self.header], "go together"),
            ("namespace without header", ["--namespace", "test::res"], "go together"),
            ("namespace with a dash", ["--header", self.header, "--namespace", "pix-mill::res"], "pix-mill::res"),
            ("namespace part from a digit", ["--header", self.header, "--namespace", "test::1res"], "test::1res"),
            ("empty namespace part", ["--header", self.header, "--namespace", "test::"], "test::"),
        ]
        for what, options, fragment in cases:
            with self.subTest(what):
                result = self.rescomp([source], options=options)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn(fragment, result.stderr)
                self.assertFalse(os.path.exists(self.output))
                self.assertFalse(os.path.exists(self.header))


class Errors(RescompCase):
    # (what, {file: text}, file and line reported, fragment of the message)
    CASES = [
        ("snowman", {"a.rsrc": 'STRINGTABLE\n  1 "ok"\n  2 "snow \u2603"\nEND\n'}, ("a.rsrc", 3), "U+2603"),
        ("chinese", {"a.rsrc": '\n\nSTRINGTABLE\n  1 "中文"\nEND\n'}, ("a.rsrc", 4), "U+4E2D"),
        ("unknown escape", {"a.rsrc": 'STRINGTABLE\n  1 "a\\qb"\nEND\n'}, ("a.rsrc", 2), "\\q"),
        ("string not closed", {"a.rsrc": 'STRINGTABLE\n  1 "abc\nEND\n'}, ("a.rsrc", 2), "not closed"),
        (
            "duplicate id in one file",
            {"a.rsrc": 'STRINGTABLE\n  7 "a"\n  8 "b"\nEND\nSTRINGTABLE\n  7 "c"\nEND\n'},
            ("a.rsrc", 6),
            "a.rsrc:2",
        ),
        (
            "duplicate id across files",
            {"a.rsrc": 'STRINGTABLE\n  7 "a"\nEND\n', "b.rsrc": '// b\nSTRINGTABLE\n  7 "b"\nEND\n'},
            ("b.rsrc", 3),
            "a.rsrc:2",
        ),
        ("block without END", {"a.rsrc": '// x\nSTRINGTABLE\n  1 "a"\n  2 "b"\n'}, ("a.rsrc", 2), "END"),
        ("id too large", {"a.rsrc": 'STRINGTABLE\n  65536 "a"\nEND\n'}, ("a.rsrc", 2), "65536"),
        ("negative id", {"a.rsrc": 'STRINGTABLE\n  -1 "a"\nEND\n'}, ("a.rsrc", 2), "-1 is outside"),
        ("id without text", {"a.rsrc": 'STRINGTABLE\n  1\n  2 "b"\nEND\n'}, ("a.rsrc", 3), "quoted string"),
        ("unknown statement", {"a.rsrc": 'STRINGTABLE\nEND\nSTRINGTABEL\n'}, ("a.rsrc", 3), "STRINGTABEL"),
        (
            "name given to two ids",
            {"a.rsrc": 'STRINGTABLE\n  7 kSeven "a"\n  8 kEight "b"\n  9 kSeven "c"\nEND\n'},
            ("a.rsrc", 4),
            "kSeven already stands for id 7",
        ),
        (
            "name repeated in another file",
            {"a.rsrc": 'STRINGTABLE\n  7 kSeven "a"\nEND\n', "b.rsrc": '// b\nSTRINGTABLE\n  8 kSeven "b"\nEND\n'},
            ("b.rsrc", 3),
            "a.rsrc:2",
        ),
        ("name in macro style", {"a.rsrc": 'STRINGTABLE\n  1 kOne "a"\n  2 IDS_TWO "b"\nEND\n'}, ("a.rsrc", 3), "'IDS_TWO'"),
        ("name not ASCII", {"a.rsrc": 'STRINGTABLE\n  1 kŽlutý "a"\nEND\n'}, ("a.rsrc", 2), "'kŽlutý'"),
        ("name with underscore", {"a.rsrc": 'STRINGTABLE\n  1 k_one "a"\nEND\n'}, ("a.rsrc", 2), "'k_one'"),
        ("name in lower case", {"a.rsrc": 'STRINGTABLE\n  1 kone "a"\nEND\n'}, ("a.rsrc", 2), "'kone'"),
        ("name k alone", {"a.rsrc": 'STRINGTABLE\n  1 k "a"\nEND\n'}, ("a.rsrc", 2), "'k'"),
        ("name starting with a digit", {"a.rsrc": 'STRINGTABLE\n  1 2kOne "a"\nEND\n'}, ("a.rsrc", 2), "'2kOne'"),
        ("two names", {"a.rsrc": 'STRINGTABLE\n  1 kOne kUno "a"\nEND\n'}, ("a.rsrc", 2), "'kUno'"),
        ("name without text", {"a.rsrc": 'STRINGTABLE\n  1 kOne\nEND\n'}, ("a.rsrc", 3), "quoted string"),
        ("name before id", {"a.rsrc": 'STRINGTABLE\n  kOne 1 "a"\nEND\n'}, ("a.rsrc", 2), "'kOne'"),
        ("comma before name", {"a.rsrc": 'STRINGTABLE\n  1, kOne "a"\nEND\n'}, ("a.rsrc", 2), "'kOne'"),
    ]

    def test_errors_name_file_and_line_and_write_nothing(self):
        for what, files, (bad_file, line), fragment in self.CASES:
            with self.subTest(what):
                paths = [self.write(name, text) for name, text in files.items()]
                result = self.rescomp(paths, header=True)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertTrue(
                    result.stderr.startswith(f"{os.path.join(self.dir, bad_file)}:{line}: "), result.stderr
                )
                self.assertIn(fragment, result.stderr)
                self.assertFalse(os.path.exists(self.output))
                self.assertFalse(os.path.exists(self.header))

    def test_invalid_utf8_input(self):
        path = os.path.join(self.dir, "a.rsrc")
        with open(path, "wb") as f:
            f.write(b'STRINGTABLE\n  1 "\xe8"\nEND\n')
        result = self.rescomp([path])
        self.assertEqual(result.returncode, 1)
        self.assertTrue(result.stderr.startswith(f"{path}:2: "), result.stderr)


class Rewrites(RescompCase):
    def test_output_rewritten_only_when_it_changes(self):
        source = self.write("a.rsrc", 'STRINGTABLE\n  1 "one"\nEND\n')
        self.assertEqual(self.rescomp([source]).returncode, 0)
        old = time.time() - 1000
        os.utime(self.output, (old, old))

        self.assertEqual(self.rescomp([source]).returncode, 0)
        self.assertEqual(os.stat(self.output).st_mtime, old)

        self.write("a.rsrc", 'STRINGTABLE\n  1 "two"\nEND\n')
        self.assertEqual(self.rescomp([source]).returncode, 0)
        self.assertGreater(os.stat(self.output).st_mtime, old)
        with open(self.output, encoding="utf-8") as f:
            self.assertIn('"two"', f.read())
        self.assertEqual(os.listdir(os.path.dirname(self.output)), ["module_resources.cpp"])

    def test_header_rewritten_only_when_a_name_or_id_changes(self):
        source = self.write("a.rsrc", 'STRINGTABLE\n  1 kOne "one"\nEND\n')
        self.assertEqual(self.rescomp([source], header=True).returncode, 0)
        old = time.time() - 1000
        os.utime(self.header, (old, old))

        # A new text changes the table alone, so the code that includes the header is not rebuilt.
        self.write("a.rsrc", 'STRINGTABLE\n  1 kOne "uno"\nEND\n')
        self.assertEqual(self.rescomp([source], header=True).returncode, 0)
        self.assertEqual(os.stat(self.header).st_mtime, old)

        for what, text, names in [
            ("renamed", 'STRINGTABLE\n  1 kUno "uno"\nEND\n', [("kUno", "1")]),
            ("renumbered", 'STRINGTABLE\n  2 kUno "uno"\nEND\n', [("kUno", "2")]),
            ("name dropped", 'STRINGTABLE\n  2 "uno"\nEND\n', []),
        ]:
            with self.subTest(what):
                os.utime(self.header, (old, old))
                self.write("a.rsrc", text)
                self.assertEqual(self.rescomp([source], header=True).returncode, 0)
                self.assertGreater(os.stat(self.header).st_mtime, old)
                self.assertEqual(self.header_names(), names)
        self.assertEqual(os.listdir(os.path.dirname(self.header)), ["test_ids.h"])

    def test_failed_run_keeps_previous_output(self):
        source = self.write("a.rsrc", 'STRINGTABLE\n  1 "one"\nEND\n')
        self.assertEqual(self.rescomp([source]).returncode, 0)
        with open(self.output, "rb") as f:
            before = f.read()
        self.write("a.rsrc", 'STRINGTABLE\n  1 "one\\z"\nEND\n')
        self.assertEqual(self.rescomp([source]).returncode, 1)
        with open(self.output, "rb") as f:
            self.assertEqual(f.read(), before)


if __name__ == "__main__":
    unittest.main()
