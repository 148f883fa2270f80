#include "formats/ico_codec.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "core/registry/library_state.h"
#include "formats/converted_image.h"
#include "resources/pixmill_ids.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: ICO");

constexpr uint32_t kFileHeaderSize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint8_t kPngMark = 0x89;
constexpr int kMaxSide = 256;  // an entry's size bytes; 0 stands for 256
constexpr int kWhiteIndex = 15;

uint32_t rowStride(int width, int bits) {
    return static_cast<uint32_t>((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32 * 4);
}

// One directory entry with what its bitmap header says.
struct Entry {
    int width = 0;
    int height = 0;
    int64_t at = 0;  // where the bitmap starts in the file
    uint32_t headerSize = 0;
    int bits = 0;
    uint32_t paletteEntries = 0;

    int64_t colours() const { return bits <= 8 ? int64_t{1} << bits : int64_t{1} << 24; }
    int outputBits() const { return bits > 8 ? 24 : bits; }
    int64_t paletteStart() const { return at + headerSize; }
    int64_t pixelStart() const { return paletteStart() + int64_t{paletteEntries} * (headerSize == kCoreHeaderSize ? 3 : 4); }
};

bool readAt(ByteStream& s, int64_t position, void* out, uint32_t count) {
    return s.seek(position, SEEK_SET) && s.read(out, count);
}

// The bitmap header of an entry: its size (12 or 40), depth and palette length. Empty for entries
// this reader passes over: PNG-compressed ones, other header sizes and depths, headers cut short.
bool probeBitmap(ByteStream& s, Entry& e) {
    uint8_t h[kInfoHeaderSize];
    const int64_t at = e.at;
    if (!readAt(s, at, h, 1) || h[0] == kPngMark) return false;
    if (h[0] != kCoreHeaderSize && h[0] != kInfoHeaderSize) return false;
    e.headerSize = h[0];
    if (!readAt(s, at, h, e.headerSize)) return false;
    winplat::ByteReader r(h, e.headerSize);
    if (r.u32() != e.headerSize) return false;
    uint32_t used = 0;
    if (e.headerSize == kCoreHeaderSize) {
        r.skip(6);  // width, height, planes
        e.bits = r.u16();
    } else {
        r.skip(10);  // width, height, planes
        e.bits = r.u16();
        r.skip(16);  // compression, image size, resolution
        used = r.u32();
    }
    if (e.bits != 1 && e.bits != 4 && e.bits != 8 && e.bits != 24 && e.bits != 32) return false;
    e.paletteEntries = e.bits <= 8 ? 1u << e.bits : 0;
    if (used > 0 && used < e.paletteEntries) e.paletteEntries = used;
    return true;
}

// The header check and the entry choice: the most colours, and among equals the first entry
// larger in both directions than the one chosen so far.
int16_t chooseEntry(ByteStream& s, int64_t base, Entry& chosen) {
    uint8_t head[kFileHeaderSize];
    if (!readAt(s, base, head, sizeof head)) return refuse(kCodecBadFormat, "the header is cut off");
    winplat::ByteReader r(head, sizeof head);
    const uint16_t reserved = r.u16(), type = r.u16(), count = r.u16();
    if (reserved != 0 || type != 1 || count == 0) {
        return refuse(kCodecBadFormat, "not an icon directory, or an empty one");
    }

    std::optional<Entry> best;
    int64_t bestColours = 2;
    int bestWidth = 0, bestHeight = 0;
    std::optional<Entry> first;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t bytes[kEntrySize];
        if (!readAt(s, base + kFileHeaderSize + int64_t{kEntrySize} * i, bytes, sizeof bytes)) {
            return refuse(kCodecBadFormat, "the directory is cut off");
        }
        winplat::ByteReader er(bytes, sizeof bytes);
        Entry e;
        e.width = er.u8();
        e.height = er.u8();
        er.skip(10);  // colour count, reserved, planes, bit count, size: the bitmap header decides
        e.at = base + er.u32();
        if (e.width == 0) e.width = kMaxSide;
        if (e.height == 0) e.height = kMaxSide;
        if (!probeBitmap(s, e)) continue;
        if (!first) first = e;
        if (e.colours() > bestColours ||
            (e.colours() == bestColours && e.height > bestHeight && e.width > bestWidth)) {
            best = e;
            bestColours = e.colours();
            bestWidth = e.width;
            bestHeight = e.height;
        }
    }
    if (!best) best = first;
    // no entry with a bitmap this reader takes
    if (!best) {
        return refuse(kCodecReadError, "no entry with a bitmap this reader takes");
    }
    chosen = *best;
    return kCodecOk;
}

int16_t readPalette(ByteStream& s, const Entry& e, PxlCodecInfo& info) {
    info.setPaletteEntry(0, 0, 0, 0);
    info.setPaletteEntry(1, 255, 255, 255);
    if (e.paletteEntries == 0) return kCodecOk;
    const uint32_t size = e.headerSize == kCoreHeaderSize ? 3 : 4;
    uint8_t bytes[256 * 4];
    if (!readAt(s, e.paletteStart(), bytes, e.paletteEntries * size)) {
        return refuse(kCodecReadError, "the palette is cut off");
    }
    for (uint32_t i = 0; i < e.paletteEntries; ++i) {
        const uint8_t* c = bytes + i * size;
        info.setPaletteEntry(static_cast<int>(i), c[2], c[1], c[0]);
    }
    return kCodecOk;
}

// The palette entry nearest white by squared distance, the lowest index on ties.
int nearestWhite(const PxlCodecInfo& info, int entries) {
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < entries; ++i) {
        int distance = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = 255 - info.palette[static_cast<size_t>(3 * i + c)];
            distance += d * d;
        }
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int16_t describe(CodecCall& call, Entry& e) {
    ByteStream& s = call.stream;
    PxlCodecInfo& info = call.info;
    const int64_t base = call.offset;
    info.width = 0;
    info.height = 0;
    info.bitsPerPixel = 0;
    info.setDetail(descriptionText(res::kDetailIconStandard));
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(s.fileLength(), INT32_MAX));
    if (int16_t r = chooseEntry(s, base, e); r != kCodecOk) return r;
    info.width = static_cast<int16_t>(e.width);
    info.height = static_cast<int16_t>(e.height);
    info.bitsPerPixel = static_cast<int16_t>(e.outputBits());
    info.imageBytes = reportedImageBytes(e.width, e.height, e.outputBits(), ImageBytesRule::AlignedRows);
    info.whiteIndex = kWhiteIndex;
    info.frameCount = 1;
    return readPalette(s, e, info);
}

bool masked(const uint8_t* mask, int x) { return (mask[x >> 3] >> (7 - (x & 7))) & 1; }

// One colour row of the entry into a row of the picture, masked pixels painted over.
void paintRow(const Entry& e, const uint8_t* in, const uint8_t* mask, uint8_t* out, int maskIndex) {
    const int w = e.width;
    switch (e.bits) {
        case 1:
        case 4:
        case 8:
            std::memcpy(out, in, rowStride(w, e.bits));
            for (int x = 0; x < w; ++x) {
                if (!masked(mask, x)) continue;
                if (e.bits == 1) {
                    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
                    out[x >> 3] = static_cast<uint8_t>(maskIndex ? out[x >> 3] | bit : out[x >> 3] & ~bit);
                } else if (e.bits == 4) {
                    const int shift = x & 1 ? 0 : 4;
                    out[x >> 1] = static_cast<uint8_t>((out[x >> 1] & ~(0x0F << shift)) | (maskIndex & 0x0F) << shift);
                } else {
                    out[x] = static_cast<uint8_t>(maskIndex);
                }
            }
            return;
        default: {
            const int step = e.bits / 8;
            for (int x = 0; x < w; ++x) {
                const bool white = masked(mask, x);
                for (int c = 0; c < 3; ++c) out[3 * x + c] = white ? 0xFF : in[step * x + c];
            }
            return;
        }
    }
}

int16_t load(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    const RowLayout layout = prepareRowTransfer(info);
    Entry e;
    if (int16_t r = describe(call, e); r != kCodecOk) return r;
    if (layout.width != e.width || layout.height != e.height || layout.depth != e.outputBits()) {
        return refuse(kCodecBadFormat, "the icon no longer matches the one its info read described");
    }
    const int maskIndex = nearestWhite(info, static_cast<int>(e.paletteEntries));

    const uint32_t colourStride = rowStride(e.width, e.bits);
    const uint32_t maskStride = rowStride(e.width, 1);
    std::vector<uint8_t> colours(size_t{colourStride} * static_cast<size_t>(e.height));
    std::vector<uint8_t> mask(size_t{maskStride} * static_cast<size_t>(e.height));
    ByteStream& s = call.stream;
    if (!readAt(s, e.pixelStart(), colours.data(), static_cast<uint32_t>(colours.size())) ||
        !s.read(mask.data(), static_cast<uint32_t>(mask.size()))) {
        return refuse(kCodecReadError, "the pixels or the mask are cut off");
    }
    std::vector<uint8_t> row(layout.stride);
    for (int j = 0; j < e.height; ++j) {  // bottom row first
        paintRow(e, colours.data() + size_t{colourStride} * static_cast<size_t>(j),
                 mask.data() + size_t{maskStride} * static_cast<size_t>(j), row.data(), maskIndex);
        if (call.sink->putRow(row.data(), e.height - 1 - j) != kCodecOk) return kCodecStopped;
    }
    return kCodecOk;
}

class Fields {
public:
    void u8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) { put(v, 2); }
    void u32(uint32_t v) { put(v, 4); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void put(uint32_t v, int count) {
        for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};

int16_t save(CodecCall& call) {
    const PxlCodecInfo& info = call.info;
    const int width = info.width, height = info.height;
    int bits = info.bitsPerPixel;
    RowSource* rows = call.source;
    std::optional<ConvertedImage> converted;
    if (needsTwentyFourBits(bits)) {
        converted.emplace(call.imageId, 24);
        if (!converted->ok()) return refuse(kCodecNoMemory, "the image could not be converted to 24 bits");
        bits = 24;
        rows = &*converted;
    }
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) {
        return refuse(kCodecBadFormat, "a size an icon cannot have");
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        return refuse(kCodecBadFormat, "a depth an icon is not written at");
    }
    const uint32_t paletteEntries = bits <= 8 ? 1u << bits : 0;
    const uint32_t colourStride = rowStride(width, bits), maskStride = rowStride(width, 1);
    const uint32_t pixels = (colourStride + maskStride) * static_cast<uint32_t>(height);

    Fields f;
    f.u16(0);
    f.u16(1);
    f.u16(1);
    f.u8(static_cast<uint32_t>(width) & 0xFF);  // 256 is written as 0
    f.u8(static_cast<uint32_t>(height) & 0xFF);
    f.u8(paletteEntries & 0xFF);
    f.u8(0);
    f.u16(1);
    f.u16(static_cast<uint32_t>(bits));
    f.u32(kInfoHeaderSize + 4 * paletteEntries + pixels);
    f.u32(kFileHeaderSize + kEntrySize);
    f.u32(kInfoHeaderSize);
    f.u32(static_cast<uint32_t>(width));
    f.u32(static_cast<uint32_t>(2 * height));  // colour rows and mask rows
    f.u16(1);
    f.u16(static_cast<uint32_t>(bits));
    f.u32(0);
    f.u32(pixels);
    f.u32(0);
    f.u32(0);
    f.u32(paletteEntries);
    f.u32(0);
    for (uint32_t i = 0; i < paletteEntries; ++i) {
        f.u8(info.palette[3 * i + 2]);
        f.u8(info.palette[3 * i + 1]);
        f.u8(info.palette[3 * i]);
        f.u8(0);
    }
    ByteStream& s = call.stream;
    if (!s.write(f.bytes().data(), static_cast<uint32_t>(f.bytes().size()))) {
        return refuse(kCodecWriteError, "the header could not be written");
    }
    std::vector<uint8_t> row(colourStride);
    for (int j = 0; j < height; ++j) {
        rows->getRow(row.data(), height - 1 - j);
        if (!s.write(row.data(), colourStride)) return refuse(kCodecWriteError, "a row could not be written");
    }
    const std::vector<uint8_t> opaque(size_t{maskStride} * static_cast<size_t>(height), 0);
    if (!s.write(opaque.data(), static_cast<uint32_t>(opaque.size()))) {
        return refuse(kCodecWriteError, "the mask could not be written");
    }
    // A seek pushes buffered bytes out now, so a full disk is ours to report.
    if (!s.seek(0, SEEK_CUR)) return refuse(kCodecWriteError, "the written bytes could not be pushed out");
    return kCodecOk;
}

int16_t readInfo(CodecCall& call) {
    Entry e;
    return describe(call, e);
}

bool recognise(const ContentProbe& probe) { return std::memcmp(probe.bytes, "\0\0\1\0", 4) == 0; }

}  // namespace

constexpr FormatCodec icoCodec{refuse, recognise, Recognition::Signature, readInfo, load, save,
                               FileNeed::Always};

}  // namespace pixmill
