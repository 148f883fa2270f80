// Ternary raster operations: every one of the 256 against its truth table, bit by bit, on
// surfaces of each depth, through BitBlt, StretchDIBits and PatBlt; the named ones against their
// formulas.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace drawtest;

// Bit b of the result is bit (4p + 2s + d) of the operation's index, p, s and d being bit b of
// the pattern, source and destination values.
uint32_t truthTable(uint8_t index, uint32_t p, uint32_t s, uint32_t d, int bits) {
    uint32_t result = 0;
    for (int b = 0; b < bits; ++b) {
        const int row = static_cast<int>(((p >> b) & 1) << 2 | ((s >> b) & 1) << 1 | ((d >> b) & 1));
        result |= static_cast<uint32_t>((index >> row) & 1) << b;
    }
    return result;
}

// The low word of a ROP code only encodes its formula; it must not matter.
DWORD ropCode(int index) {
    return static_cast<DWORD>(index) << 16 | static_cast<DWORD>((index * 0x9E37) & 0xFFFF);
}

struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state ^ (state >> 15);
    }
};

// 2^bpp distinct colours for indexed formats.
std::vector<Rgb> distinctColors(int bpp) {
    std::vector<Rgb> colors;
    for (uint32_t i = 0; i < (1u << bpp); ++i)
        colors.push_back((i << 16) | ((255 - i) << 8) | ((i * 37) & 0xFF));
    if (bpp == 1) return {dibtest::kBlack, dibtest::kWhite};
    return colors;
}

int valueBits(int bpp) {
    return bpp;
}

// Everything one depth needs: destination, source and an 8 x 8 pattern brush with known values.
struct RopSetup {
    static constexpr int kSide = 8;
    int bpp;
    std::vector<Rgb> colors;
    Canvas dest;
    Canvas source;
    Canvas patternBits;
    HBITMAP monoPattern = nullptr;
    HBRUSH brush = nullptr;
    uint32_t destValues[kSide][kSide];
    uint32_t sourceValues[kSide][kSide];
    uint32_t patternValues[kSide][kSide];

    explicit RopSetup(int depth)
        : bpp(depth),
          colors(depth <= 8 ? distinctColors(depth) : std::vector<Rgb>{}),
          dest(kSide, kSide, depth, colors),
          source(kSide, kSide, depth, colors, false),  // bottom-up, unlike the destination
          patternBits(kSide, kSide, depth, colors) {
        Lcg random{static_cast<uint32_t>(depth) * 7919u};
        const uint32_t mask = bpp == 32 ? 0xFFFFFFFFu : (1u << bpp) - 1;
        uint8_t monoRows[kSide * 2] = {};  // CreateBitmap rows are WORD-aligned
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                destValues[y][x] = random.next() & mask;
                sourceValues[y][x] = random.next() & mask;
                uint32_t p = random.next() & mask;
                // A colour pattern reaches the destination through its colours: values that stand
                // for no colour (the free top byte of 32 bits, bit 15 of 5-5-5) arrive as 0.
                if (bpp == 32) p &= 0x00FFFFFF;
                if (bpp == 16) p &= 0x7FFF;
                patternValues[y][x] = p;
                patternBits.setRaw(x, y, p);
                if (p & 1) monoRows[y * 2] = static_cast<uint8_t>(monoRows[y * 2] | (0x80 >> x));
            }
        }
        if (bpp == 1) {
            // A monochrome bitmap pattern: 0 takes the text colour (black), 1 the background (white).
            monoPattern = CreateBitmap(kSide, kSide, 1, 1, monoRows);
            brush = CreatePatternBrush(monoPattern);
        } else {
            brush = CreatePatternBrush(patternBits.bitmap());
        }
        SelectObject(dest.dc(), brush);
        resetSource();
    }
    ~RopSetup() {
        SelectObject(dest.dc(), GetStockObject(WHITE_BRUSH));
        DeleteObject(brush);
        if (monoPattern) DeleteObject(monoPattern);
    }

    void resetSource() {
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) source.setRaw(x, y, sourceValues[y][x]);
    }
    void resetDest() {
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) dest.setRaw(x, y, destValues[y][x]);
    }
    // Pixels that differ from the truth table, as text (empty when all agree).
    std::string mismatches(uint8_t index, bool withSource) const {
        std::string report;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const uint32_t s = withSource ? sourceValues[y][x] : 0;
                const uint32_t want =
                    truthTable(index, patternValues[y][x], s, destValues[y][x], valueBits(bpp));
                const uint32_t got = dest.raw(x, y);
                if (got != want && report.size() < 200) {
                    report += "(" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                              std::to_string(got) + " want " + std::to_string(want) + "; ";
                }
            }
        }
        return report;
    }
};

class EveryRop : public ::testing::TestWithParam<int> {};

TEST_P(EveryRop, BitBltFollowsTheTruthTable) {
    RopSetup setup(GetParam());
    ASSERT_TRUE(setup.dest.ok() && setup.source.ok() && setup.brush);
    for (int index = 0; index < 256; ++index) {
        setup.resetDest();
        ASSERT_TRUE(BitBlt(setup.dest.dc(), 0, 0, 8, 8, setup.source.dc(), 0, 0, ropCode(index)));
        const std::string bad = setup.mismatches(static_cast<uint8_t>(index), true);
        ASSERT_TRUE(bad.empty()) << "ROP index " << index << ": " << bad;
    }
}

TEST_P(EveryRop, StretchDIBitsFollowsTheTruthTable) {
    RopSetup setup(GetParam());
    ASSERT_TRUE(setup.dest.ok() && setup.source.ok() && setup.brush);
    for (int index = 0; index < 256; ++index) {
        setup.resetDest();
        // The source is bottom-up: its rectangle is measured from the bottom-left corner.
        ASSERT_EQ(StretchDIBits(setup.dest.dc(), 0, 0, 8, 8, 0, 0, 8, 8, setup.source.bits(),
                                setup.source.info().info(), DIB_RGB_COLORS, ropCode(index)),
                  8);
        const std::string bad = setup.mismatches(static_cast<uint8_t>(index), true);
        ASSERT_TRUE(bad.empty()) << "ROP index " << index << ": " << bad;
    }
}

TEST_P(EveryRop, PatBltTakesEveryOperationWithoutSource) {
    winplat::testing::ScopedDebugAsserts off(false);  // PatBlt refuses source operations as unsupported
    RopSetup setup(GetParam());
    ASSERT_TRUE(setup.dest.ok() && setup.brush);
    for (int index = 0; index < 256; ++index) {
        const bool usesSource = ((index >> 2) & 0x33) != (index & 0x33);
        setup.resetDest();
        const BOOL done = PatBlt(setup.dest.dc(), 0, 0, 8, 8, ropCode(index));
        if (usesSource) {
            EXPECT_FALSE(done) << index;
            EXPECT_TRUE(setup.mismatches(0xAA, false).empty()) << "refused, yet drawn: " << index;
            continue;
        }
        ASSERT_TRUE(done) << index;
        const std::string bad = setup.mismatches(static_cast<uint8_t>(index), false);
        ASSERT_TRUE(bad.empty()) << "ROP index " << index << ": " << bad;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, EveryRop, ::testing::Values(1, 4, 8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bpp"; });

// The named codes against their formulas (written here as C, not as truth tables).
TEST(NamedRops, MatchTheirFormulas) {
    using Formula = std::function<uint32_t(uint32_t, uint32_t, uint32_t)>;
    struct Case {
        const char* name;
        DWORD code;
        Formula formula;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return s; }},
        {"SRCPAINT", SRCPAINT, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }},
        {"SRCAND", SRCAND, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }},
        {"SRCINVERT", SRCINVERT, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }},
        {"SRCERASE", SRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return s & ~d; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return ~s; }},
        {"NOTSRCERASE", NOTSRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return ~(s | d); }},
        {"MERGECOPY", MERGECOPY, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }},
        {"MERGEPAINT", MERGEPAINT, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }},
        {"PATCOPY", PATCOPY, [](uint32_t p, uint32_t, uint32_t) { return p; }},
        {"PATPAINT", PATPAINT, [](uint32_t p, uint32_t s, uint32_t d) { return p | ~s | d; }},
        {"PATINVERT", PATINVERT, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }},
        {"DSTINVERT", DSTINVERT, [](uint32_t, uint32_t, uint32_t d) { return ~d; }},
        {"BLACKNESS", BLACKNESS, [](uint32_t, uint32_t, uint32_t) { return 0u; }},
        {"WHITENESS", WHITENESS, [](uint32_t, uint32_t, uint32_t) { return ~0u; }},
        // "source selects between destination and pattern", common in transparent blits.
        {"DSPDxax", 0x00E20746, [](uint32_t p, uint32_t s, uint32_t d) { return (s & p) | (~s & d); }},
    };
    RopSetup setup(8);
    ASSERT_TRUE(setup.dest.ok());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setup.resetDest();
        ASSERT_TRUE(BitBlt(setup.dest.dc(), 0, 0, 8, 8, setup.source.dc(), 0, 0, c.code));
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const uint32_t want =
                    c.formula(setup.patternValues[y][x], setup.sourceValues[y][x], setup.destValues[y][x]) &
                    0xFF;
                ASSERT_EQ(setup.dest.raw(x, y), want) << x << "," << y;
            }
        }
    }
}

// On an indexed surface BLACKNESS and WHITENESS write index 0 and the all-ones index, whatever
// colours those stand for; a solid brush's colour becomes the nearest index.
TEST(NamedRops, IndexedSurfacesCombineIndices) {
    const std::vector<Rgb> table = {0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x404040,
                                    0xC0C0C0, 0x000000, 0xFFFFFF, 0x112233, 0x445566, 0x778899,
                                    0xAABBCC, 0xDDEEFF, 0x123456, 0x654321};
    Canvas canvas(4, 1, 4, table);
    ASSERT_TRUE(canvas.ok());
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 1, 1, BLACKNESS));
    ASSERT_TRUE(PatBlt(canvas.dc(), 1, 0, 1, 1, WHITENESS));
    HBRUSH brush = CreateSolidBrush(RGB(0x00, 0xF0, 0x10));  // nearest: green, index 2
    HGDIOBJ old = SelectObject(canvas.dc(), brush);
    canvas.setRaw(2, 0, 9);
    ASSERT_TRUE(PatBlt(canvas.dc(), 2, 0, 2, 1, PATINVERT));
    EXPECT_EQ(canvas.raw(0, 0), 0u) << "index 0 (a dark blue here), not the black entry";
    EXPECT_EQ(canvas.raw(1, 0), 15u);
    EXPECT_EQ(canvas.raw(2, 0), 9u ^ 2u);
    EXPECT_EQ(canvas.raw(3, 0), 0u ^ 2u);
    SelectObject(canvas.dc(), old);
    DeleteObject(brush);
}

}  // namespace
