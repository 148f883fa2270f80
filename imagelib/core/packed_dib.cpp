#include "core/packed_dib.h"

#include "core/bitmap_math.h"
#include "winplat/byte_reader.h"
#include "winplat/debug.h"

namespace pixmill {
namespace {

constexpr int kMaxSide = 32767;
constexpr uint32_t kMaxColorEntries = 256;

std::optional<PackedDib> refuse(const char* why) {
    OutputDebugStringA("PXL32: packed DIB refused: ");
    OutputDebugStringA(why);
    OutputDebugStringA("\n");
    return std::nullopt;
}

bool validDepth(int depth) {
    return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

}  // namespace

std::optional<PackedDib> parsePackedDib(std::span<const uint8_t> block) {
    winplat::ByteReader in(block);
    PackedDib dib;
    BITMAPINFOHEADER& h = dib.header;
    h.biSize = in.u32();
    h.biWidth = in.i32();
    h.biHeight = in.i32();
    h.biPlanes = in.u16();
    h.biBitCount = in.u16();
    h.biCompression = in.u32();
    h.biSizeImage = in.u32();
    h.biXPelsPerMeter = in.i32();
    h.biYPelsPerMeter = in.i32();
    h.biClrUsed = in.u32();
    h.biClrImportant = in.u32();
    if (!in.ok()) return refuse("block shorter than a header");
    if (h.biSize < sizeof(BITMAPINFOHEADER) || !in.seek(h.biSize)) return refuse("header size");
    if (h.biWidth <= 0 || h.biWidth > kMaxSide) return refuse("width");
    if (h.biHeight <= 0 || h.biHeight > kMaxSide) return refuse("height (top-down or empty)");

    dib.depth = h.biPlanes * h.biBitCount;
    if (h.biPlanes != 1 || !validDepth(dib.depth)) return refuse("depth");
    const bool bitFields = h.biCompression == BI_BITFIELDS;
    if (h.biCompression != BI_RGB && !(bitFields && (dib.depth == 16 || dib.depth == 32))) {
        return refuse("compression");
    }
    if (bitFields) {
        for (uint32_t& mask : dib.masks) mask = in.u32();
        if (!in.ok()) return refuse("masks");
    }
    if (h.biClrUsed > kMaxColorEntries) return refuse("colour count");
    dib.colorEntries = static_cast<int>(h.biClrUsed ? h.biClrUsed : (dib.depth <= 8 ? 1u << dib.depth : 0u));
    dib.colorsOffset = in.position();
    if (!in.skip(4 * static_cast<size_t>(dib.colorEntries))) return refuse("colour table");

    const int64_t bytes = int64_t{scanBytesForWidth(h.biWidth, dib.depth)} * h.biHeight;
    if (bytes > UINT32_MAX || !in.has(static_cast<size_t>(bytes))) return refuse("bits shorter than the rows");
    dib.bitsOffset = in.position();
    dib.imageBytes = static_cast<uint32_t>(bytes);
    return dib;
}

}  // namespace pixmill
