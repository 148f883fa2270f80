#include "gdi/surface.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace winplat::gdi {
namespace {

uint32_t packRgb(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

// Widens a channel of 'bits' bits to 8 by repeating its bits, so full scale stays full scale
// (5-bit 31 becomes 255, not 248) and the result truncates back to the same value.
uint8_t widenTo8(uint32_t value, int bits) {
    if (bits <= 0) return 0;
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    uint32_t wide = value << (8 - bits);
    for (int have = bits; have < 8; have *= 2) wide |= wide >> have;
    return static_cast<uint8_t>(wide);
}

// Truncates an 8-bit channel to 'bits' bits, or repeats it to fill wider channels.
uint32_t narrowFrom8(uint8_t value, int bits) {
    if (bits <= 0) return 0;
    if (bits <= 8) return uint32_t{value} >> (8 - bits);
    uint32_t wide = uint32_t{value} << (bits - 8);
    for (int have = 8; have < bits; have *= 2) wide |= wide >> have;
    return wide;
}

uint32_t readValue(const uint8_t* row, int x, int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4:
            return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
        case 8:
            return row[x];
        case 16: {
            const uint8_t* p = row + 2 * static_cast<size_t>(x);
            return p[0] | (uint32_t{p[1]} << 8);
        }
        case 24: {
            const uint8_t* p = row + 3 * static_cast<size_t>(x);
            return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
        }
        default: {
            const uint8_t* p = row + 4 * static_cast<size_t>(x);
            return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
        }
    }
}

void writeValue(uint8_t* row, int x, int bitsPerPixel, uint32_t value) {
    switch (bitsPerPixel) {
        case 1: {
            const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
            row[x >> 3] = static_cast<uint8_t>((value & 1u) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
            return;
        }
        case 4: {
            uint8_t& byte = row[x >> 1];
            byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | (value & 0xF))
                           : static_cast<uint8_t>((byte & 0x0F) | ((value & 0xF) << 4));
            return;
        }
        case 8:
            row[x] = static_cast<uint8_t>(value);
            return;
        case 16: {
            uint8_t* p = row + 2 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
            return;
        }
        case 24: {
            uint8_t* p = row + 3 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value >> 16);
            return;
        }
        default: {
            uint8_t* p = row + 4 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value >> 16);
            p[3] = static_cast<uint8_t>(value >> 24);
            return;
        }
    }
}

BitMasks effectiveMasks(const PixelFormat& format) {
    if (format.bitsPerPixel != 16 && format.bitsPerPixel != 32) return {};
    return format.masks == BitMasks{} ? defaultMasks(format.bitsPerPixel) : format.masks;
}

uint8_t channelOf(uint32_t value, uint32_t mask) {
    if (!mask) return 0;
    return widenTo8((value & mask) >> std::countr_zero(mask), std::popcount(mask));
}

uint32_t channelTo(uint8_t value, uint32_t mask) {
    if (!mask) return 0;
    return (narrowFrom8(value, std::popcount(mask)) << std::countr_zero(mask)) & mask;
}

}  // namespace

RGBQUAD decodeDirect(const PixelFormat& format, uint32_t value) {
    if (format.bitsPerPixel == 24) {
        return RGBQUAD{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                       static_cast<uint8_t>(value >> 16), 0};
    }
    const BitMasks masks = effectiveMasks(format);
    return RGBQUAD{channelOf(value, masks.blue), channelOf(value, masks.green), channelOf(value, masks.red),
                   0};
}

uint32_t encodeDirect(const PixelFormat& format, RGBQUAD color) {
    if (format.bitsPerPixel == 24) return packRgb(color.rgbRed, color.rgbGreen, color.rgbBlue);
    const BitMasks masks = effectiveMasks(format);
    return channelTo(color.rgbRed, masks.red) | channelTo(color.rgbGreen, masks.green) |
           channelTo(color.rgbBlue, masks.blue);
}

BitMasks defaultMasks(int bitsPerPixel) {
    if (bitsPerPixel == 16) return kMasks555;
    if (bitsPerPixel == 32) return kMasks888;
    return {};
}

bool validMasks(const BitMasks& masks, int bitsPerPixel) {
    if (bitsPerPixel != 16 && bitsPerPixel != 32) return false;
    const uint32_t inside = bitsPerPixel == 32 ? 0xFFFFFFFFu : 0xFFFFu;
    for (uint32_t mask : {masks.red, masks.green, masks.blue}) {
        if (!mask || (mask & ~inside)) return false;
        const uint32_t run = mask >> std::countr_zero(mask);
        if (run & (run + 1)) return false;  // a gap inside the mask
    }
    return !(masks.red & masks.green) && !(masks.red & masks.blue) && !(masks.green & masks.blue);
}

std::optional<size_t> rowBytes(int64_t width, int bitsPerPixel, int alignment) {
    if (width <= 0 || width > kMaxSide || bitsPerPixel <= 0 || bitsPerPixel > 32 || alignment <= 0)
        return std::nullopt;
    const uint64_t alignBits = static_cast<uint64_t>(alignment) * 8;
    const uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel);
    return static_cast<size_t>((bits + alignBits - 1) / alignBits * static_cast<uint64_t>(alignment));
}

std::optional<size_t> imageBytes(int64_t width, int64_t height, int bitsPerPixel) {
    if (height <= 0 || height > kMaxSide) return std::nullopt;
    const auto stride = rowBytes(width, bitsPerPixel);
    if (!stride) return std::nullopt;
    const uint64_t total = static_cast<uint64_t>(*stride) * static_cast<uint64_t>(height);
    if (total > kMaxImageBytes) return std::nullopt;
    return static_cast<size_t>(total);
}

ColourMatcher::ColourMatcher(std::span<const RGBQUAD> table) {
    byGreen_.reserve(table.size());
    for (uint32_t i = 0; i < table.size(); ++i)
        byGreen_.push_back({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, i});
    std::stable_sort(byGreen_.begin(), byGreen_.end(),
                     [](const Entry& a, const Entry& b) { return a.green < b.green; });
}

uint32_t ColourMatcher::search(uint32_t rgb) const {
    const int red = static_cast<int>(rgb >> 16);
    const int green = static_cast<int>((rgb >> 8) & 0xFF);
    const int blue = static_cast<int>(rgb & 0xFF);
    uint32_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    auto consider = [&](const Entry& entry) {
        const int dr = red - entry.red;
        const int dg = green - entry.green;
        const int db = blue - entry.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance || (distance == bestDistance && entry.index < best)) {
            bestDistance = distance;
            best = entry.index;
        }
    };
    // Walk outwards from the query's green level, nearer green first. An entry whose green
    // difference squared equals the best distance could still tie, so only a larger one stops.
    const auto split = std::lower_bound(byGreen_.begin(), byGreen_.end(), green,
                                        [](const Entry& entry, int level) { return entry.green < level; });
    auto up = split;
    auto down = split;
    while (up != byGreen_.end() || down != byGreen_.begin()) {
        const int upGap = up != byGreen_.end() ? up->green - green : std::numeric_limits<int>::max();
        const int downGap =
            down != byGreen_.begin() ? green - std::prev(down)->green : std::numeric_limits<int>::max();
        const int gap = std::min(upGap, downGap);
        if (gap * gap > bestDistance) break;
        if (upGap <= downGap) {
            consider(*up++);
        } else {
            consider(*--down);
        }
    }
    return best;
}

uint32_t ColourMatcher::nearest(uint8_t red, uint8_t green, uint8_t blue) const {
    return search(packRgb(red, green, blue));
}

uint32_t ColourMatcher::find(uint8_t red, uint8_t green, uint8_t blue) {
    const uint32_t rgb = packRgb(red, green, blue);
    if (cacheKeys_.empty()) {
        cacheKeys_.assign(kCacheSize, 0);
        cacheIndices_.assign(kCacheSize, 0);
    }
    const size_t slot = (rgb * 0x9E3779B1u) >> 20;  // 12 bits of a multiplicative hash
    const uint32_t key = rgb | 0x01000000u;
    if (cacheKeys_[slot] == key) return cacheIndices_[slot];
    const uint32_t index = search(rgb);
    cacheKeys_[slot] = key;
    cacheIndices_[slot] = index;
    return index;
}

RowConverter::RowConverter(const PixelFormat& from, const PixelFormat& to, SameDepthIndices indices)
    : fromBits_(from.bitsPerPixel), toBits_(to.bitsPerPixel) {
    const BitMasks fromMasks = effectiveMasks(from);
    const BitMasks toMasks = effectiveMasks(to);
    const bool keepIndices = from.indexed() && indices == SameDepthIndices::Keep;
    if (fromBits_ == toBits_ &&
        (keepIndices || fromBits_ == 24 || (!from.indexed() && fromMasks == toMasks))) {
        copy_ = true;
        return;
    }
    if (from.indexed()) {
        const size_t entries = std::min(from.colors.size(), size_t{1} << fromBits_);
        for (size_t i = 0; i < entries; ++i) {
            palette_[i] = from.colors[i];
            palette_[i].rgbReserved = 0;
        }
    }
    fromDefault32_ = fromBits_ == 32 && fromMasks == kMasks888;
    toDefault32_ = toBits_ == 32 && toMasks == kMasks888;
    const uint32_t fromList[3] = {fromMasks.red, fromMasks.green, fromMasks.blue};
    const uint32_t toList[3] = {toMasks.red, toMasks.green, toMasks.blue};
    for (int c = 0; c < 3; ++c) {
        if (fromList[c]) {
            fromChannels_[c] = {fromList[c], std::countr_zero(fromList[c]), std::popcount(fromList[c])};
            if (fromChannels_[c].width <= 8) {
                expand_[c].resize(size_t{1} << fromChannels_[c].width);
                for (uint32_t v = 0; v < expand_[c].size(); ++v)
                    expand_[c][v] = widenTo8(v, fromChannels_[c].width);
            }
        }
        if (toList[c]) toChannels_[c] = {toList[c], std::countr_zero(toList[c]), std::popcount(toList[c])};
    }
    if (to.indexed()) matcher_.emplace(to.colors);
}

void RowConverter::convert(const uint8_t* source, uint8_t* target, int width) {
    if (width <= 0) return;
    // Pixels past 'width' that share the last byte belong to someone else (a wider bitmap, the
    // caller's buffer): the byte-wise work below may not change them.
    const size_t bitCount = static_cast<size_t>(width) * static_cast<size_t>(toBits_);
    const size_t tail = bitCount % 8;
    const uint8_t before = tail ? target[bitCount / 8] : 0;
    if (copy_) {
        std::memcpy(target, source, (bitCount + 7) / 8);
    } else {
        if (scratch_.size() < static_cast<size_t>(width)) scratch_.resize(static_cast<size_t>(width));
        decode(source, width);
        encode(target, width);
    }
    if (tail) {
        const auto ours = static_cast<uint8_t>(0xFF00u >> tail);
        target[bitCount / 8] = static_cast<uint8_t>((target[bitCount / 8] & ours) | (before & ~ours));
    }
}

void RowConverter::decode(const uint8_t* source, int width) {
    RGBQUAD* out = scratch_.data();
    switch (fromBits_) {
        case 1:
        case 4:
        case 8:
            for (int x = 0; x < width; ++x) out[x] = palette_[readValue(source, x, fromBits_)];
            return;
        case 24:
            for (int x = 0; x < width; ++x, source += 3) out[x] = RGBQUAD{source[0], source[1], source[2], 0};
            return;
        default:
            break;
    }
    if (fromDefault32_) {
        for (int x = 0; x < width; ++x, source += 4) out[x] = RGBQUAD{source[0], source[1], source[2], 0};
        return;
    }
    uint8_t channel[3];
    for (int x = 0; x < width; ++x) {
        const uint32_t value = readValue(source, x, fromBits_);
        for (int c = 0; c < 3; ++c) {
            const Channel& ch = fromChannels_[c];
            const uint32_t raw = (value & ch.mask) >> ch.shift;
            channel[c] = ch.width <= 8 ? (ch.width ? expand_[c][raw] : 0)
                                       : static_cast<uint8_t>(raw >> (ch.width - 8));
        }
        out[x] = RGBQUAD{channel[2], channel[1], channel[0], 0};
    }
}

void RowConverter::encode(uint8_t* target, int width) {
    const RGBQUAD* in = scratch_.data();
    switch (toBits_) {
        case 1:
        case 4:
            std::memset(target, 0, (static_cast<size_t>(width) * static_cast<size_t>(toBits_) + 7) / 8);
            for (int x = 0; x < width; ++x) {
                writeValue(target, x, toBits_, matcher_->find(in[x].rgbRed, in[x].rgbGreen, in[x].rgbBlue));
            }
            return;
        case 8:
            for (int x = 0; x < width; ++x) {
                target[x] = static_cast<uint8_t>(matcher_->find(in[x].rgbRed, in[x].rgbGreen, in[x].rgbBlue));
            }
            return;
        case 24:
            for (int x = 0; x < width; ++x, target += 3) {
                target[0] = in[x].rgbBlue;
                target[1] = in[x].rgbGreen;
                target[2] = in[x].rgbRed;
            }
            return;
        default:
            break;
    }
    if (toDefault32_) {
        for (int x = 0; x < width; ++x, target += 4) {
            target[0] = in[x].rgbBlue;
            target[1] = in[x].rgbGreen;
            target[2] = in[x].rgbRed;
            target[3] = 0;
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        const uint8_t channel[3] = {in[x].rgbRed, in[x].rgbGreen, in[x].rgbBlue};
        uint32_t value = 0;
        for (int c = 0; c < 3; ++c) {
            const Channel& ch = toChannels_[c];
            value |= (narrowFrom8(channel[c], ch.width) << ch.shift) & ch.mask;
        }
        writeValue(target, x, toBits_, value);
    }
}

namespace {

// calloc clears only memory it hands out again: blocks fresh from the system come zeroed (large
// ones as pages of their own, zeroed as they are first touched), so a decoder fills a new picture
// at the cost of a bare buffer, while a picture made after another was let go takes the pages
// already mapped, which clear faster than fresh pages fault in one by one.
// Started on a cache line so row operations can use wide loads from the row start.
uint8_t* allocateZeroedBits(size_t bytes, size_t& offset) {
    constexpr size_t kAlignment = 64;
    constexpr size_t kSlack = kAlignment - alignof(std::max_align_t);  // calloc's blocks start on that
    offset = 0;
    if (bytes > std::numeric_limits<size_t>::max() - kSlack) return nullptr;
    auto* block = static_cast<uint8_t*>(std::calloc(bytes + kSlack, 1));
    if (!block) return nullptr;
    offset = (kAlignment - reinterpret_cast<uintptr_t>(block) % kAlignment) % kAlignment;
    return block + offset;
}

}  // namespace

void SurfaceBitsOwner::operator()(uint8_t* bits) const {
    std::free(bits - offset);
}

std::unique_ptr<Surface> Surface::create(int width, int height, int bitsPerPixel, bool topDown,
                                         BitMasks masks, std::vector<RGBQUAD> colors) {
    if (!isSupportedDepth(bitsPerPixel)) return nullptr;
    const auto stride = rowBytes(width, bitsPerPixel);
    const auto total = imageBytes(width, height, bitsPerPixel);
    if (!stride || !total) return nullptr;
    if (bitsPerPixel == 16 || bitsPerPixel == 32) {
        if (masks == BitMasks{}) masks = defaultMasks(bitsPerPixel);
        if (!validMasks(masks, bitsPerPixel)) return nullptr;
    } else {
        masks = {};
    }
    if (bitsPerPixel > 8) {
        colors.clear();
    } else if (colors.size() > (size_t{1} << bitsPerPixel)) {
        colors.resize(size_t{1} << bitsPerPixel);
    }

    SurfaceBitsOwner owner;
    uint8_t* bits = allocateZeroedBits(*total, owner.offset);
    if (!bits) return nullptr;
    std::unique_ptr<Surface> surface(new (std::nothrow) Surface);
    if (!surface) {
        owner(bits);
        return nullptr;
    }
    surface->bits_ = std::unique_ptr<uint8_t[], SurfaceBitsOwner>(bits, owner);
    surface->width_ = width;
    surface->height_ = height;
    surface->bitsPerPixel_ = bitsPerPixel;
    surface->stride_ = *stride;
    surface->topDown_ = topDown;
    surface->masks_ = masks;
    surface->colors_ = std::move(colors);
    return surface;
}

uint32_t Surface::value(int x, int y) const {
    return readValue(row(y), x, bitsPerPixel_);
}

void Surface::setValue(int x, int y, uint32_t value) {
    writeValue(row(y), x, bitsPerPixel_, value);
}

RGBQUAD Surface::pixel(int x, int y) const {
    const uint32_t stored = value(x, y);
    if (bitsPerPixel_ <= 8) {
        if (stored >= colors_.size()) return RGBQUAD{0, 0, 0, 0};
        RGBQUAD color = colors_[stored];
        color.rgbReserved = 0;
        return color;
    }
    if (bitsPerPixel_ == 24) {
        return RGBQUAD{static_cast<uint8_t>(stored), static_cast<uint8_t>(stored >> 8),
                       static_cast<uint8_t>(stored >> 16), 0};
    }
    return RGBQUAD{channelOf(stored, masks_.blue), channelOf(stored, masks_.green),
                   channelOf(stored, masks_.red), 0};
}

void Surface::setPixel(int x, int y, RGBQUAD color) {
    if (bitsPerPixel_ <= 8) {
        setValue(x, y, ColourMatcher(colors_).nearest(color.rgbRed, color.rgbGreen, color.rgbBlue));
        return;
    }
    if (bitsPerPixel_ == 24) {
        setValue(x, y, packRgb(color.rgbRed, color.rgbGreen, color.rgbBlue));
        return;
    }
    setValue(x, y,
             channelTo(color.rgbRed, masks_.red) | channelTo(color.rgbGreen, masks_.green) |
                 channelTo(color.rgbBlue, masks_.blue));
}

}  // namespace winplat::gdi
