// Bi-level glyph images become boxes: runs of each row, merged down while the rows repeat them.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "text/mono_ink.h"

namespace {

using winplat::text::InkBox;
using winplat::text::inkBoxes;
using winplat::text::MonoImage;

// Packs rows of '#' and '.' into a one-bit image with a pitch of 'pitch' bytes.
std::vector<uint8_t> pack(const std::vector<std::string>& rows, int pitch) {
    std::vector<uint8_t> bits(rows.size() * static_cast<size_t>(pitch), 0);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == '#') bits[y * static_cast<size_t>(pitch) + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
    return bits;
}

std::vector<std::tuple<int, int, int, int>> sorted(const std::vector<InkBox>& boxes) {
    std::vector<std::tuple<int, int, int, int>> out;
    for (const InkBox& b : boxes) out.emplace_back(b.top, b.left, b.bottom, b.right);
    std::sort(out.begin(), out.end());
    return out;
}

struct InkCase {
    const char* name;
    std::vector<std::string> rows;
    int pitch;
    int width;  // 0: the rows' length
    // top, left, bottom, right of each box, relative to an image placed at (-3, -10)
    std::vector<std::tuple<int, int, int, int>> boxes;
    // top, left, bottom, right of the rectangle the boxes span; all 0 without ink
    std::tuple<int, int, int, int> bounds;
};

const InkCase kCases[] = {
    {"a stem is one box", {"..##....", "..##....", "..##...."}, 1, 0, {{-10, -1, -7, 1}}, {-10, -1, -7, 1}},
    {"a wider row starts new boxes",
     {"..##....", "..##....", ".####...", "..##..#."},
     1,
     0,
     {{-10, -1, -8, 1}, {-8, -2, -7, 2}, {-7, -1, -6, 1}, {-7, 3, -6, 4}},
     {-10, -2, -6, 4}},
    {"two stems side by side", {"#..#", "#..#"}, 1, 0, {{-10, -3, -8, -2}, {-10, 0, -8, 1}}, {-10, -3, -8, 1}},
    {"a run across a byte boundary", {"......####.."}, 2, 0, {{-10, 3, -9, 7}}, {-10, 3, -9, 7}},
    {"bits beyond the width are no ink", {"...#....#"}, 2, 8, {{-10, 0, -9, 1}}, {-10, 0, -9, 1}},
    {"blank rows split a column", {"#", ".", "#"}, 4, 0, {{-10, -3, -9, -2}, {-8, -3, -7, -2}}, {-10, -3, -7, -2}},
    {"no ink", {"....", "...."}, 1, 0, {}, {0, 0, 0, 0}},
};

void PrintTo(const InkCase& c, std::ostream* out) {
    *out << c.name;
}

class MonoInk : public ::testing::TestWithParam<InkCase> {};

TEST_P(MonoInk, BoxesCoverExactlyTheSetPixelsAndTheBoundsSpanThem) {
    const InkCase& c = GetParam();
    std::vector<uint8_t> bits = pack(c.rows, c.pitch);
    const int width = c.width ? c.width : static_cast<int>(c.rows[0].size());
    const MonoImage image{bits.data(), c.pitch, width, static_cast<int>(c.rows.size()), -3, -10};
    const std::vector<InkBox> boxes = inkBoxes(image);
    EXPECT_EQ(sorted(boxes), c.boxes);
    const InkBox bounds = winplat::text::inkBounds(boxes);
    EXPECT_EQ(std::make_tuple(bounds.top, bounds.left, bounds.bottom, bounds.right), c.bounds);
}

INSTANTIATE_TEST_SUITE_P(Cases, MonoInk, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

}  // namespace
