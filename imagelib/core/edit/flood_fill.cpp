// Masks from colours: the flood-filled region around a seed, and every pixel of a colour range.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/registry/image_create.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

// Which palette indexes of an image lie within the bounds of each channel.
struct ChannelBounds {
    int low[3];  // red, green, blue
    int high[3];

    bool contains(int r, int g, int b) const {
        return r >= low[0] && r <= high[0] && g >= low[1] && g <= high[1] && b >= low[2] && b <= high[2];
    }
};

std::array<bool, 256> paletteMatches(const ImageRecord& image, const ChannelBounds& bounds) {
    std::array<bool, 256> match{};
    const int colors = 1 << image.bitCount();
    for (int i = 0; i < colors; ++i) {
        const RGBQUAD& c = image.colors()[i];
        match[i] = bounds.contains(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    return match;
}

// A pixel test per depth, reading the row directly; the fill calls it for every pixel it visits.
template <int Bits>
struct IndexMatch {
    const std::array<bool, 256>* table;
    bool operator()(const uint8_t* row, int x) const { return (*table)[indexAt(row, x, Bits)]; }
};

struct TrueColourMatch {
    ChannelBounds bounds;
    bool operator()(const uint8_t* row, int x) const {
        const uint8_t* p = row + 3 * x;  // blue, green, red
        return bounds.contains(p[2], p[1], p[0]);
    }
};

inline bool maskBit(const uint8_t* row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// Sets bits from..to (inclusive) of a 1-bit row, whole bytes at a time where it can.
void setMaskRun(uint8_t* row, int from, int to) {
    const int firstByte = from >> 3;
    const int lastByte = to >> 3;
    const uint8_t head = static_cast<uint8_t>(0xFF >> (from & 7));
    const uint8_t tail = static_cast<uint8_t>(0xFF << (7 - (to & 7)));
    if (firstByte == lastByte) {
        row[firstByte] |= static_cast<uint8_t>(head & tail);
        return;
    }
    row[firstByte] |= head;
    std::fill(row + firstByte + 1, row + lastByte, uint8_t{0xFF});
    row[lastByte] |= tail;
}

struct Seed {
    int x;
    int y;
};

// Scan-line fill of the 4-connected region around (sx, sy), which matches. Pending runs wait on an
// explicit stack, so a maze of any size cannot exhaust the thread's own stack. Throws bad_alloc
// when the stack cannot grow.
template <class Match>
void scanLineFill(const ImageRecord& image, ImageRecord& mask, int sx, int sy, Match match) {
    const int width = image.width();
    const int height = image.height();
    std::vector<Seed> stack;
    stack.reserve(8000);
    stack.push_back({sx, sy});
    while (!stack.empty()) {
        const Seed seed = stack.back();
        stack.pop_back();
        uint8_t* maskRow = rowFromTop(mask, seed.y);
        // A run is always filled whole, together with pushes for its neighbours; a second push of
        // it has nothing left to add.
        if (maskBit(maskRow, seed.x)) continue;
        const uint8_t* row = rowFromTop(image, seed.y);
        int left = seed.x;
        while (left > 0 && match(row, left - 1)) --left;
        int right = seed.x;
        while (right < width - 1 && match(row, right + 1)) ++right;
        setMaskRun(maskRow, left, right);

        for (const int ny : {seed.y - 1, seed.y + 1}) {
            if (ny < 0 || ny >= height) continue;
            const uint8_t* next = rowFromTop(image, ny);
            const uint8_t* nextMask = rowFromTop(mask, ny);
            if (left == right) {
                if (match(next, left) && !maskBit(nextMask, left)) stack.push_back({left, ny});
                continue;
            }
            // A run touching the pixel above or below 'left' may reach further left; only a
            // matching pixel there connects it (a pixel further left would touch diagonally).
            int j = left;
            if (match(next, j)) {
                while (j > 0 && match(next, j - 1)) --j;
            }
            while (j <= right) {
                if (maskBit(nextMask, j) || !match(next, j)) {
                    ++j;
                    continue;
                }
                stack.push_back({j, ny});
                while (j < width - 1 && match(next, j + 1)) ++j;  // the rest of this run is its own
                j += 1;
            }
        }
    }
}

ChannelBounds boundsOf(int red, int green, int blue, int tolerance) {
    // Tolerances are compared as |pixel - value| <= tolerance; a negative one matches nothing.
    // Bounds beyond -1..256 mean the same as those limits, and keeping them there keeps the sums
    // of any entry's values within range.
    ChannelBounds b{};
    const int64_t values[3] = {red, green, blue};
    for (int c = 0; c < 3; ++c) {
        b.low[c] = static_cast<int>(std::clamp<int64_t>(values[c] - tolerance, -1, 256));
        b.high[c] = static_cast<int>(std::clamp<int64_t>(values[c] + tolerance, -1, 256));
    }
    return b;
}

template <class Fn>
auto withMatcher(const ImageRecord& image, const ChannelBounds& bounds, Fn&& fn) {
    switch (image.bitCount()) {
        case 1: {
            const auto table = paletteMatches(image, bounds);
            return fn(IndexMatch<1>{&table});
        }
        case 4: {
            const auto table = paletteMatches(image, bounds);
            return fn(IndexMatch<4>{&table});
        }
        case 8: {
            const auto table = paletteMatches(image, bounds);
            return fn(IndexMatch<8>{&table});
        }
        default:
            return fn(TrueColourMatch{bounds});
    }
}

bool fillableDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

}  // namespace

PxlImageId PXLFloodFillMask(PxlImageId id, const PxlTransparencyEntry* entry) {
    if (!entry || id == 0) return 0;
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || !fillableDepth(image->bitCount())) return 0;
    const int sx = entry->seedX;
    const int sy = entry->seedY;
    if (sx < 0 || sy < 0 || sx >= image->width() || sy >= image->height()) return 0;

    const ChannelBounds bounds = boundsOf(entry->red, entry->green, entry->blue, entry->tolerance);
    ImageLock mask = newImage(image->width(), image->height(), 1);
    if (!mask) return 0;
    // The mask is new and blank, so the seed's own bit is clear: only its colour can refuse it.
    const bool filled = withMatcher(*image, bounds, [&](auto match) {
        if (!match(rowFromTop(*image, sy), sx)) return false;
        try {
            scanLineFill(*image, *mask, sx, sy, match);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    });
    if (!filled) {
        discardImage(mask);
        return 0;
    }
    const PxlImageId result = mask->id;
    mask.release();
    return result;
}

int16_t PXLMaskFillByColor(PxlImageId imageId, PxlImageId maskId, COLORREF color, COLORREF tolerance,
                           int16_t set) {
    if (imageId == 0 || maskId == 0) return 0;
    // Named references rather than a structured binding: the matcher's lambda below uses both,
    // and clang 14 does not let a lambda name a binding.
    auto locks = lockImages(imageId, Access::Read, maskId, Access::Write);
    ImageLock& image = locks.first;
    ImageLock& mask = locks.second;
    if (!image || !mask || !image->header || !mask->header) return 0;
    if (mask->bitCount() != 1 || mask->width() != image->width() || mask->height() != image->height())
        return 0;

    ChannelBounds bounds{};
    for (int c = 0; c < 3; ++c) {
        const int value = static_cast<int>((color >> (8 * c)) & 0xFF);
        const int spread = static_cast<int>((tolerance >> (8 * c)) & 0xFF);
        bounds.low[c] = std::max(0, value - spread);
        bounds.high[c] = std::min(255, value + spread);
    }

    const int width = image->width();
    const int bits = image->bitCount();
    auto apply = [&](uint8_t* maskRow, int x) {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        maskRow[x >> 3] = static_cast<uint8_t>(set ? maskRow[x >> 3] | bit : maskRow[x >> 3] & ~bit);
    };
    if (fillableDepth(bits)) {
        withMatcher(*image, bounds, [&](auto match) {
            for (int y = 0; y < image->height(); ++y) {
                const uint8_t* row = rowFromTop(*image, y);
                uint8_t* maskRow = rowFromTop(*mask, y);
                for (int x = 0; x < width; ++x) {
                    if (match(row, x)) apply(maskRow, x);
                }
            }
            return 0;
        });
        return 1;
    }
    // 16- and 32-bit pictures are matched by the colour they show, like every other mask builder.
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
    for (int y = 0; y < image->height(); ++y) {
        readRowRgb(*image, y, rgb.data());
        uint8_t* maskRow = rowFromTop(*mask, y);
        for (int x = 0; x < width; ++x) {
            if (bounds.contains(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2])) apply(maskRow, x);
        }
    }
    return 1;
}
