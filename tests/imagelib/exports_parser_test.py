#!/usr/bin/env python3
"""Self-test of the export list the library's version script is written from: declarations the
way the headers write them, what must not count as one, the C++ signatures the linker matches,
and declarations the script must refuse rather than leave out."""

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "imagelib"))
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


if __name__ == "__main__":
    unittest.main()
