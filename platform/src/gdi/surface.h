// Pixel storage behind every bitmap of the software GDI, and the row-at-a-time colour conversions
// between pixel formats that GetDIBits, SetDIBits and (later) the blits are built on.
//
// Rows are reached by visual row (0 = top) whatever the storage order, so callers never care
// whether the bits are bottom-up like a DIB or top-down.
#ifndef WINPLAT_SRC_GDI_SURFACE_H
#define WINPLAT_SRC_GDI_SURFACE_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "winplat/gdi.h"

namespace winplat::gdi {

// No side of a bitmap may exceed this, and no image may need more bytes than kMaxImageBytes: a
// header asking for more is damaged or hostile, and refusing it beats exhausting memory.
constexpr int64_t kMaxSide = 65535;
constexpr uint64_t kMaxImageBytes = uint64_t{1} << 30;

struct BitMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    bool operator==(const BitMasks&) const = default;
};

constexpr BitMasks kMasks555{0x7C00, 0x03E0, 0x001F};
constexpr BitMasks kMasks565{0xF800, 0x07E0, 0x001F};
constexpr BitMasks kMasks888{0xFF0000, 0x00FF00, 0x0000FF};

inline bool isSupportedDepth(int bitsPerPixel) {
    return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
           bitsPerPixel == 24 || bitsPerPixel == 32;
}

// The masks a BI_RGB format of that depth implies (zero for the depths without masks).
BitMasks defaultMasks(int bitsPerPixel);
// Each mask non-zero, one run of bits, inside the pixel, and none overlapping another.
bool validMasks(const BitMasks& masks, int bitsPerPixel);

// Bytes in a row padded to 'alignment' bytes; nullopt when the width or the result is absurd.
std::optional<size_t> rowBytes(int64_t width, int bitsPerPixel, int alignment = 4);
// Bytes of a whole DIB image (4-byte rows); nullopt beyond the caps.
std::optional<size_t> imageBytes(int64_t width, int64_t height, int bitsPerPixel);

// How pixels are stored: depth, masks for 16 and 32 bits, colour table for 8 bits and fewer.
struct PixelFormat {
    int bitsPerPixel = 32;
    BitMasks masks = kMasks888;
    std::span<const RGBQUAD> colors;

    bool indexed() const { return bitsPerPixel <= 8; }
};

// The colour a stored value of a direct format (16, 24 or 32 bits) stands for, and the value a
// colour is stored as (channels truncated to the format's widths).
RGBQUAD decodeDirect(const PixelFormat& format, uint32_t value);
uint32_t encodeDirect(const PixelFormat& format, RGBQUAD color);

// The one colour-to-index rule of the layer: an exact match if the table has one, else the entry
// at the least squared RGB distance, the lowest index on ties. Remembers recent answers, so one
// object should serve a whole conversion.
class ColourMatcher {
  public:
    explicit ColourMatcher(std::span<const RGBQUAD> table);
    uint32_t find(uint8_t red, uint8_t green, uint8_t blue);
    // The same answer without the cache, for a single colour.
    uint32_t nearest(uint8_t red, uint8_t green, uint8_t blue) const;

  private:
    static constexpr size_t kCacheSize = 4096;
    uint32_t search(uint32_t rgb) const;

    struct Entry {
        int red, green, blue;
        uint32_t index;
    };
    // Sorted by green, so a search can stop once the green difference alone exceeds the best
    // distance found.
    std::vector<Entry> byGreen_;
    // Direct-mapped: the colour with bit 24 set as "filled", and the index found for it.
    std::vector<uint32_t> cacheKeys_;
    std::vector<uint32_t> cacheIndices_;
};

// What a conversion between two indexed formats of one depth does with the indices.
enum class SameDepthIndices {
    Keep,     // copied as they are; the caller decides which colour table goes with them
    Rematch,  // through their colours, as for a target whose table has fixed meaning (a mono DDB)
};

// Converts rows of 'width' pixels from one format to another. Indexed targets get the nearest
// index of their table for each colour.
class RowConverter {
  public:
    RowConverter(const PixelFormat& from, const PixelFormat& to,
                 SameDepthIndices indices = SameDepthIndices::Keep);
    void convert(const uint8_t* source, uint8_t* target, int width);

  private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        int width = 0;
    };
    void decode(const uint8_t* source, int width);
    void encode(uint8_t* target, int width);

    int fromBits_;
    int toBits_;
    bool copy_ = false;
    bool fromDefault32_ = false;
    bool toDefault32_ = false;
    Channel fromChannels_[3];
    Channel toChannels_[3];
    RGBQUAD palette_[256] = {};       // the source table padded with black, for indexed sources
    std::vector<uint8_t> expand_[3];  // per source channel of <= 8 bits: value -> 0..255
    std::optional<ColourMatcher> matcher_;
    std::vector<RGBQUAD> scratch_;
};

// Gives a surface's pixel memory back where it came from.
struct SurfaceBitsOwner {
    size_t offset = 0;  // from the start of the block allocated to the bits
    void operator()(uint8_t* bits) const;
};

class Surface {
  public:
    // Zero-filled bits; null when the size is beyond the caps, the depth or masks are not
    // supported, or memory runs out. The colour table is cut to 2^bpp entries.
    static std::unique_ptr<Surface> create(int width, int height, int bitsPerPixel, bool topDown,
                                           BitMasks masks = {}, std::vector<RGBQUAD> colors = {});

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    size_t stride() const { return stride_; }
    bool topDown() const { return topDown_; }
    size_t sizeBytes() const { return stride_ * static_cast<size_t>(height_); }
    uint8_t* bits() { return bits_.get(); }
    const uint8_t* bits() const { return bits_.get(); }

    // Visual row: 0 is the top whatever the storage order.
    uint8_t* row(int y) { return bits_.get() + storageOffset(y); }
    const uint8_t* row(int y) const { return bits_.get() + storageOffset(y); }

    const BitMasks& masks() const { return masks_; }
    std::vector<RGBQUAD>& colors() { return colors_; }
    const std::vector<RGBQUAD>& colors() const { return colors_; }
    PixelFormat format() const { return PixelFormat{bitsPerPixel_, masks_, colors_}; }

    // The stored value: an index for indexed depths, the packed pixel otherwise.
    uint32_t value(int x, int y) const;
    void setValue(int x, int y, uint32_t value);
    // Colour of a pixel (an index outside the colour table reads as black).
    RGBQUAD pixel(int x, int y) const;
    // Indexed depths store the nearest index of the colour table.
    void setPixel(int x, int y, RGBQUAD color);

  private:
    Surface() = default;
    size_t storageOffset(int y) const {
        const size_t storedRow = topDown_ ? static_cast<size_t>(y) : static_cast<size_t>(height_ - 1 - y);
        return storedRow * stride_;
    }

    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    size_t stride_ = 0;
    bool topDown_ = false;
    BitMasks masks_;
    std::vector<RGBQUAD> colors_;
    std::unique_ptr<uint8_t[], SurfaceBitsOwner> bits_;
};

}  // namespace winplat::gdi

#endif
