#!/usr/bin/env python3
"""Self-test of the export list the library's version script is written from: declarations the
way the headers write them, what must not count as one, the C++ signatures the linker matches,
and declarations the script must refuse rather than leave out."""

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "cmake"))
import exports  # noqa: E402

HEADER = """/* A header. PXL_API in a comment: PXL_API int PXLCommented(void); */
#ifndef H
#define H
#ifdef __cplusplus
extern "C" {
#endif

#define PXL_API __attribute__((visibility("default")))

typedef int (*PxlFrameCallback)(short firstFrame, int frameIndex, intptr_t user);
// PXL_API int PXLLineComment(void);
PXL_API int16_t PXLcompress(uint8_t* dest, uint32_t* destLen, const uint8_t* source, uint32_t sourceLen);
PXL_API const PALETTEENTRY* PXLGetHardPalette(void);
PXL_API PxlImageId PXLLoadImageFramesOffset(const char* path, int32_t offset, PxlFrameCallback callback,
                                            intptr_t user);
PXL_API int16_t
    PXLSplitOverLines(HDC dc,
                      int left);

#ifdef __cplusplus
}

/* Outside the block: C++ linkage. */
PXL_API int IPLResize(short source, short target, int width, int height, int mode);
PXL_API void IPLNothing(void);
PXL_API unsigned long IPLWide(unsigned int count, long long, unsigned char value);
#endif

#endif
"""


def symbols(text, path="h.h"):
    return [e.symbol() for e in exports.header_exports(path, text)]


class Declarations(unittest.TestCase):
    def test_every_declaration_by_linkage_and_nothing_else(self):
        self.assertEqual(
            symbols(HEADER),
            [
                "PXLcompress",
                "PXLGetHardPalette",
                "PXLLoadImageFramesOffset",
                "PXLSplitOverLines",
                "IPLResize(short, short, int, int, int)",
                "IPLNothing()",
                "IPLWide(unsigned int, long long, unsigned char)",
            ],
        )

    def test_a_header_without_a_c_block_declares_cxx_exports(self):
        self.assertEqual(symbols("PXL_API int IPLBlurCenter(short source, short target, int degree);"),
                         ["IPLBlurCenter(short, short, int)"])

    def test_declarations_the_script_cannot_read_are_refused_with_their_line(self):
        cases = [
            ('extern "C" {\n\nPXL_API int PXLTakes(void (*callback)(int));\n}\n', 3),
            ('extern "C" {\nPXL_API int;\n}\n', 2),
            ("\nPXL_API int IPLPointer(const char* path);\n", 2),
            ("PXL_API int IPLTypedef(int16_t id);\n", 1),
        ]
        for text, line in cases:
            with self.subTest(text=text):
                with self.assertRaisesRegex(exports.ExportError, rf"^h\.h:{line}: "):
                    exports.header_exports("h.h", text)


class VersionScript(unittest.TestCase):
    def test_names_c_exports_plainly_cxx_ones_by_signature_and_hides_the_rest(self):
        script = exports.version_script(exports.header_exports("h.h", HEADER))
        body = [line.strip() for line in script.splitlines()[1:] if line.strip()]
        self.assertEqual(
            body,
            [
                "{",
                "global:",
                "PXLGetHardPalette;",
                "PXLLoadImageFramesOffset;",
                "PXLSplitOverLines;",
                "PXLcompress;",
                'extern "C++" {',
                '"IPLNothing()";',
                '"IPLResize(short, short, int, int, int)";',
                '"IPLWide(unsigned int, long long, unsigned char)";',
                "};",
                "local:",
                "*;",
                "};",
            ],
        )


LAYER_HEADER = """#define LAYER_API __attribute__((visibility("default")))
#define LAYER_BEGIN_C extern "C" {
LAYER_BEGIN_C
LAYER_API BOOL SetPixelV(HDC dc, int x, int y, COLORREF colour);
LAYER_END_C

struct LAYER_API IStream {
    virtual ULONG Release() = 0;
};
LAYER_API HRESULT CreateStream(HGLOBAL block, IStream** stream);

namespace layer::host {
class LAYER_API Clock {
public:
    virtual ~Clock() = default;
    virtual uint64_t nowMs() { return 0; }
};
LAYER_API Clock& clock();
template <class T>
struct Local {
    T value;
};
enum class Kind : uint8_t { A, B };
}  // namespace layer::host

namespace layer {
namespace testing {
class LAYER_API VirtualClock final : public host::Clock {};
LAYER_API std::string lower(std::string_view text, bool* exact = nullptr);
}  // namespace testing
}  // namespace layer
"""


def layer_exports(text=LAYER_HEADER):
    return exports.header_exports("h.h", text, mark="LAYER_API", cxx_by_name=True)


class LayerDeclarations(unittest.TestCase):
    def test_c_blocks_namespaces_and_classes_by_name(self):
        self.assertEqual(
            [e.symbol() for e in layer_exports()],
            [
                "SetPixelV",
                "IStream::*",
                "CreateStream[!_a-zA-Z0-9]*",
                "layer::host::Clock::*",
                "layer::host::clock[!_a-zA-Z0-9]*",
                "layer::testing::VirtualClock::*",
                "layer::testing::lower[!_a-zA-Z0-9]*",
            ],
        )

    def test_patterns_take_every_symbol_of_an_export_and_none_of_a_longer_name(self):
        by_name = {e.symbol(): e for e in layer_exports()}
        cases = [
            ("layer::host::clock[!_a-zA-Z0-9]*", "layer::host::clock()", True),
            ("layer::testing::lower[!_a-zA-Z0-9]*",
             "layer::testing::lower[abi:cxx11](std::basic_string_view<char, std::char_traits<char> >, bool*)",
             True),
            ("layer::host::clock[!_a-zA-Z0-9]*", "layer::host::clockwise()", False),
            ("layer::testing::lower[!_a-zA-Z0-9]*", "layer::testing::lowerAscii(int)", False),
            ("layer::host::Clock::*", "layer::host::Clock::nowMs()", True),
            ("layer::host::Clock::*", "vtable for layer::host::Clock", True),
            ("layer::host::Clock::*", "typeinfo for layer::host::Clock", True),
            ("layer::host::Clock::*", "typeinfo name for layer::host::Clock", True),
            ("layer::host::Clock::*", "typeinfo for layer::host::ClockWork", False),
            ("layer::host::Clock::*", "layer::host::ClockWork::nowMs()", False),
            ("layer::host::Clock::*", "typeinfo for layer::host::Local<int>", False),
            ("SetPixelV", "SetPixelV", True),
            ("SetPixelV", "SetPixelVX", False),
        ]
        for export, symbol, matched in cases:
            with self.subTest(export=export, symbol=symbol):
                self.assertEqual(by_name[export].matches(symbol), matched)

    def test_a_marked_member_is_refused_with_its_line(self):
        with self.assertRaisesRegex(exports.ExportError, r"^h\.h:3: "):
            layer_exports("namespace n {\nclass C {\n    LAYER_API void f();\n};\n}\n")

    def test_the_version_script_spells_globs_without_spaces_or_parentheses(self):
        script = exports.version_script(layer_exports())
        cxx = script[script.index('extern "C++"'):script.index("local:")]
        self.assertIn("vtable?for?layer::host::Clock;", cxx)
        self.assertIn("typeinfo?name?for?layer::testing::VirtualClock;", cxx)
        for line in cxx.splitlines()[1:-2]:
            self.assertNotRegex(line.strip(), r"[ ()]", line)
        self.assertIn("    SetPixelV;", script)


if __name__ == "__main__":
    unittest.main()
