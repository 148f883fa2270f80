#include "core/registry/packed_dib.h"

#include "core/rows/bitmap_math.h"
#include "winplat/byte_reader.h"
#include "winplat/dib_header.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr int kMaxSide = 32767;
constexpr uint32_t kMaxColorEntries = 256;

constexpr winplat::Refuser refuse("PXL32: packed DIB");

bool validDepth(int depth) {
    return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

}  // namespace

std::optional<PackedDib> parsePackedDib(std::span<const uint8_t> block) {
    winplat::ByteReader in(block);
    PackedDib dib;
    dib.header = winplat::readBitmapInfoHeader(in);
    BITMAPINFOHEADER& h = dib.header;
    if (!in.ok()) return refuse(std::nullopt, "block shorter than a header");
    if (h.biSize < sizeof(BITMAPINFOHEADER) || !in.seek(h.biSize)) {
        return refuse(std::nullopt, "header size below 40 or past the block");
    }
    if (h.biWidth <= 0 || h.biWidth > kMaxSide) return refuse(std::nullopt, "width not 1 to 32767");
    if (h.biHeight <= 0 || h.biHeight > kMaxSide) {
        return refuse(std::nullopt, "height not 1 to 32767 (top-down or empty)");
    }

    // One plane first: the product of two stored words need not fit an int.
    if (h.biPlanes != 1 || !validDepth(h.biBitCount)) {
        return refuse(std::nullopt, "not one plane of 1, 4, 8, 16, 24 or 32 bits");
    }
    dib.depth = h.biBitCount;
    const bool bitFields = h.biCompression == BI_BITFIELDS;
    if (h.biCompression != BI_RGB && !(bitFields && (dib.depth == 16 || dib.depth == 32))) {
        return refuse(std::nullopt, "compressed, or bit fields at a depth other than 16 or 32");
    }
    if (bitFields) {
        for (uint32_t& mask : dib.masks) mask = in.u32();
        if (!in.ok()) return refuse(std::nullopt, "block ends inside the bit-field masks");
    }
    if (h.biClrUsed > kMaxColorEntries) return refuse(std::nullopt, "more than 256 colours");
    dib.colorEntries = static_cast<int>(h.biClrUsed ? h.biClrUsed : (dib.depth <= 8 ? 1u << dib.depth : 0u));
    dib.colorsOffset = in.position();
    if (!in.skip(4 * static_cast<size_t>(dib.colorEntries))) {
        return refuse(std::nullopt, "block ends inside the colour table");
    }

    const int64_t bytes = int64_t{scanBytesForWidth(h.biWidth, dib.depth)} * h.biHeight;
    if (bytes > UINT32_MAX || !in.has(static_cast<size_t>(bytes))) {
        return refuse(std::nullopt, "bits shorter than the rows");
    }
    dib.bitsOffset = in.position();
    dib.imageBytes = static_cast<uint32_t>(bytes);
    return dib;
}

}  // namespace pixmill
