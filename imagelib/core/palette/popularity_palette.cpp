#include "core/palette/popularity_palette.h"

#include <algorithm>
#include <numeric>

#include "core/palette/palettes.h"
#include "core/rows/pixel_rows.h"

namespace pixmill {
namespace {

constexpr int kTrueColourKeys = 32768;
constexpr int kBrightChannel = 180;

constexpr RGBQUAD bgr(int r, int g, int b) {
    return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
}
constexpr RGBQUAD kBlack = bgr(0, 0, 0);
constexpr RGBQUAD kWhite = bgr(255, 255, 255);
constexpr RGBQUAD kGrey128 = bgr(128, 128, 128);
constexpr RGBQUAD kGrey192 = bgr(192, 192, 192);

RGBQUAD fromEntry(const PALETTEENTRY& e) { return bgr(e.peRed, e.peGreen, e.peBlue); }

bool isBright(const RGBQUAD& c) {
    return c.rgbRed > kBrightChannel || c.rgbGreen > kBrightChannel || c.rgbBlue > kBrightChannel;
}

// The fixed colours that complete a 4-bit palette; with the last entry left out, white comes
// first so that it is still there.
std::vector<RGBQUAD> fourBitFill(bool dithered, bool leaveLast) {
    std::vector<RGBQUAD> fill = {kBlack, kGrey128, kGrey192, kWhite};
    if (dithered) fill.insert(fill.end(), {bgr(255, 0, 0), bgr(0, 255, 0), bgr(0, 0, 255)});
    if (leaveLast) {
        fill.insert(fill.begin(), kWhite);
        fill.pop_back();
    }
    return fill;
}

std::vector<RGBQUAD> eightBitFill(bool dithered, bool leaveLast) {
    std::vector<RGBQUAD> fill;
    if (dithered) {
        const PALETTEENTRY* cube = cubePalette();
        const int first = leaveLast ? 191 : 192;  // entry 191 of the cube table is black
        for (int i = first; i < first + 64; ++i) fill.push_back(fromEntry(cube[i]));
    } else {
        const PALETTEENTRY* windows = windows16Palette();
        if (leaveLast) fill.push_back(kWhite);
        for (int i = 0; i < (leaveLast ? 15 : 16); ++i) fill.push_back(fromEntry(windows[i]));
    }
    return fill;
}

}  // namespace

PopularityPalette::PopularityPalette(std::span<const RGBQUAD> sourcePalette)
    : sourcePalette_(sourcePalette), counts_(sourcePalette.empty() ? kTrueColourKeys : 256, 0) {}

void PopularityPalette::countBgrRow(const uint8_t* row, int width) {
    for (int x = 0; x < width; ++x, row += 3)
        ++counts_[(level5(row[2]) << 10) | (level5(row[1]) << 5) | level5(row[0])];
}

void PopularityPalette::countIndexRow(const uint8_t* row, int width, int bits) {
    const size_t size = sourcePalette_.size();
    for (int x = 0; x < width; ++x) {
        const uint8_t index = indexAt(row, x, bits);
        ++counts_[index < size ? index : 0];
    }
}

// Greatest count first; among equal counts (those never seen included) the lower key first.
std::vector<RGBQUAD> PopularityPalette::rankedTrueColours(int wanted) const {
    std::vector<int> keys(counts_.size());
    std::iota(keys.begin(), keys.end(), 0);
    const auto ranked = keys.begin() + std::min<size_t>(static_cast<size_t>(wanted), keys.size());
    std::partial_sort(keys.begin(), ranked, keys.end(), [&](int a, int b) {
        return counts_[a] != counts_[b] ? counts_[a] > counts_[b] : a < b;
    });
    std::vector<RGBQUAD> colours;
    for (auto key = keys.begin(); key != ranked; ++key)
        colours.push_back(bgr(8 * (*key >> 10), 8 * ((*key >> 5) & 31), 8 * (*key & 31)));
    return colours;
}

// The source's entries by use, greatest first; ranks beyond the source palette repeat entry 0.
std::vector<RGBQUAD> PopularityPalette::rankedPaletteColours(int wanted) const {
    std::vector<int> indices(sourcePalette_.size());
    std::iota(indices.begin(), indices.end(), 0);
    std::stable_sort(indices.begin(), indices.end(), [&](int a, int b) { return counts_[a] > counts_[b]; });
    std::vector<RGBQUAD> colours;
    for (int rank = 0; rank < wanted; ++rank) {
        const int index = rank < static_cast<int>(indices.size()) ? indices[rank] : 0;
        colours.push_back(sourcePalette_[index]);
    }
    return colours;
}

std::vector<RGBQUAD> PopularityPalette::rankedColours(int wanted) const {
    return sourcePalette_.empty() ? rankedTrueColours(wanted) : rankedPaletteColours(wanted);
}

// A bilevel target keeps black and the first bright colour among the leading ranks: the two most
// used of a true-colour picture, every entry of a palette picture.
RGBQUAD PopularityPalette::brightCandidate() const {
    const int candidates = sourcePalette_.empty() ? 2 : static_cast<int>(sourcePalette_.size());
    for (const RGBQUAD& colour : rankedColours(candidates))
        if (isBright(colour)) return colour;
    return kWhite;
}

void PopularityPalette::build(RGBQUAD* target, int targetBits, bool dithered, bool leaveLast) const {
    if (targetBits == 1) {
        target[0] = kBlack;
        target[1] = brightCandidate();
        return;
    }
    const std::vector<RGBQUAD> fill =
        targetBits == 4 ? fourBitFill(dithered, leaveLast) : eightBitFill(dithered, leaveLast);
    const int size = (targetBits == 4 ? 16 : 256) - (leaveLast ? 1 : 0);
    const std::vector<RGBQUAD> ranked = rankedColours(size - static_cast<int>(fill.size()));
    std::copy(ranked.begin(), ranked.end(), target);
    std::copy(fill.begin(), fill.end(), target + ranked.size());
}

}  // namespace pixmill
