#include "core/transparency/resampled_rows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "core/rows/bitmap_math.h"
#include "core/rows/pixel_rows.h"

namespace pixmill {

namespace {

size_t packedBytes(size_t pixels, int bits) { return (pixels * static_cast<size_t>(bits) + 7) / 8; }

// Sets pixel x of a zeroed 1- or 4-bit row, or stores it in an 8-bit one.
void putIndex(uint8_t* row, size_t x, int bits, uint8_t index) {
    switch (bits) {
        case 1:
            row[x >> 3] |= static_cast<uint8_t>(index << (7 - (x & 7)));
            return;
        case 4:
            row[x >> 1] |= static_cast<uint8_t>((x & 1) ? index : index << 4);
            return;
        default:
            row[x] = index;
    }
}

}  // namespace

ResampledRows::ResampledRows(std::vector<int> columns, int layerWidth, int pictureBits, bool withAlpha)
    : columns_(std::move(columns)),
      bits_(pictureBits),
      picture_(packedBytes(columns_.size(), pictureBits) + 1),  // room for the last 4-byte store
      mask_(packedBytes(columns_.size(), 1)),
      alpha_(withAlpha ? columns_.size() : 0),
      maskBytes_(static_cast<size_t>(layerWidth) + 8) {
    blanks_ = std::find(columns_.begin(), columns_.end(), -1) != columns_.end();
    // Four bytes may be read for a pixel that has a pixel after it in the layer row.
    wideCopies_ = static_cast<size_t>(
        std::find_if(columns_.begin(), columns_.end(), [&](int c) { return c >= layerWidth - 1; }) -
        columns_.begin());
}

void ResampledRows::build(const ImageRecord& picture, const ImageRecord& mask, const ImageRecord* alpha, int y) {
    if (y == built_) return;
    built_ = y;
    if (y < 0) {
        std::fill(picture_.begin(), picture_.end(), uint8_t{0});
        std::fill(mask_.begin(), mask_.end(), uint8_t{0});
        std::fill(alpha_.begin(), alpha_.end(), uint8_t{0});
        return;
    }
    resamplePicture(rowFromTop(picture, y));
    resampleMask(rowFromTop(mask, y));
    if (alpha && !alpha_.empty()) resampleAlpha(rowFromTop(*alpha, y));
}

void ResampledRows::resamplePicture(const uint8_t* in) {
    if (bits_ == 24) {
        resampleTrueColour(in);
        return;
    }
    std::fill(picture_.begin(), picture_.end(), uint8_t{0});
    uint8_t* out = picture_.data();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const int c = columns_[i];
        if (c >= 0) putIndex(out, i, bits_, indexAt(in, c, bits_));
    }
}

// A pixel's three bytes go as four, the fourth overwritten by the next pixel, where the layer row
// has a byte after the pixel: one load and one store a pixel.
void ResampledRows::resampleTrueColour(const uint8_t* in) {
    uint8_t* out = picture_.data();
    const size_t count = columns_.size();
    if (blanks_) {
        for (size_t i = 0; i < count; ++i, out += 3) {
            const int c = columns_[i];
            if (c < 0) {
                out[0] = out[1] = out[2] = 0;
            } else {
                std::memcpy(out, in + 3 * static_cast<size_t>(c), 3);
            }
        }
        return;
    }
    const int* columns = columns_.data();
    const size_t wide = wideCopies_;
    size_t i = 0;
    for (; i < wide; ++i, out += 3) {
        uint32_t pixel;
        std::memcpy(&pixel, in + 3 * static_cast<size_t>(columns[i]), 4);
        std::memcpy(out, &pixel, 4);
    }
    for (; i < count; ++i, out += 3) std::memcpy(out, in + 3 * static_cast<size_t>(columns[i]), 3);
}

// The layer's bits spread to a byte a pixel first (a table lookup and one store per eight), so
// that each resampled pixel takes its bit with one load.
void ResampledRows::resampleMask(const uint8_t* in) {
    static const std::array<uint64_t, 256> spread = [] {
        std::array<uint64_t, 256> table{};
        for (int bits = 0; bits < 256; ++bits)
            for (int p = 0; p < 8; ++p)
                if ((bits >> (7 - p)) & 1) table[static_cast<size_t>(bits)] |= uint64_t{1} << (8 * p);
        return table;
    }();
    const size_t layerBytes = (maskBytes_.size() - 8 + 7) / 8;
    uint8_t* spreadOut = maskBytes_.data();
    for (size_t k = 0; k < layerBytes; ++k) std::memcpy(spreadOut + 8 * k, &spread[in[k]], 8);
    const uint8_t* bit = maskBytes_.data();
    const int* columns = columns_.data();
    uint8_t* out = mask_.data();
    const size_t count = columns_.size();
    size_t first = 0;
    if (!blanks_) {
        for (; first + 8 <= count; first += 8) {
            const int* c = columns + first;
            out[first >> 3] = static_cast<uint8_t>(bit[c[0]] << 7 | bit[c[1]] << 6 | bit[c[2]] << 5 | bit[c[3]] << 4 |
                                                   bit[c[4]] << 3 | bit[c[5]] << 2 | bit[c[6]] << 1 | bit[c[7]]);
        }
    }
    for (; first < count; first += 8) {
        unsigned byte = 0;
        const size_t end = std::min(count, first + 8);
        for (size_t i = first; i < end; ++i) {
            const int c = columns[i];
            byte = (byte << 1) | (c < 0 ? 0u : bit[c]);
        }
        out[first >> 3] = static_cast<uint8_t>(byte << (8 - (end - first)));
    }
}

// Pointers are taken into locals throughout: a byte stored through one could otherwise be the
// vectors' own, and each would be loaded again after every store.
void ResampledRows::resampleAlpha(const uint8_t* in) {
    const int* columns = columns_.data();
    uint8_t* out = alpha_.data();
    const size_t count = columns_.size();
    for (size_t i = 0; i < count; ++i) {
        const int c = columns[i];
        out[i] = c < 0 ? 0 : in[c];
    }
}

}  // namespace pixmill
