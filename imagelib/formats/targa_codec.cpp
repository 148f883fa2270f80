#include "formats/targa_codec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "core/registry/library_state.h"
#include "core/rows/pixel_rows.h"
#include "formats/buffered_input.h"
#include "formats/converted_image.h"
#include "resources/pixmill_ids.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: Targa");

constexpr uint32_t kHeaderSize = 18;
constexpr uint8_t kTopFirst = 0x20;
constexpr uint8_t kRightToLeft = 0x10;

enum ImageType : uint8_t {
    kMapped = 1,
    kTrueColour = 2,
    kGrey = 3,
    kMappedRle = 9,
    kTrueColourRle = 10,
    kGreyRle = 11,
};

struct TgaHeader {
    uint32_t idLength = 0;
    int mapType = 0;
    int type = 0;
    uint32_t mapFirst = 0;
    uint32_t mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int bits = 0;
    uint8_t descriptor = 0;

    bool runLength() const { return type >= kMappedRle; }
    bool topFirst() const { return descriptor & kTopFirst; }
    int recordDepth() const { return bits <= 8 ? bits : 24; }
    uint32_t mapEntryBytes() const { return (static_cast<uint32_t>(mapEntryBits) + 7) / 8; }
    uint64_t mapBytes() const { return mapType ? uint64_t{mapLength} * mapEntryBytes() : 0; }
    // Stored pixels are handled in units: a byte of eight 1-bit pixels, else one pixel.
    uint32_t unitBytes() const { return bits == 1 ? 1 : (static_cast<uint32_t>(bits) + 7) / 8; }
    uint32_t unitsPerRow() const { return bits == 1 ? (static_cast<uint32_t>(width) + 7) / 8 : static_cast<uint32_t>(width); }
};

bool knownType(int type) {
    return type == kMapped || type == kTrueColour || type == kGrey || type == kMappedRle ||
           type == kTrueColourRle || type == kGreyRle;
}

bool knownDepth(int bits) {
    return bits == 1 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

int16_t readHeader(CodecCall& call, TgaHeader& h) {
    uint8_t bytes[kHeaderSize];
    if (!call.stream.seek(call.offset, SEEK_SET) || !call.stream.read(bytes, sizeof bytes)) {
        return refuse(kCodecBadFormat, "the header is cut off");
    }
    winplat::ByteReader r(bytes, sizeof bytes);
    h.idLength = r.u8();
    h.mapType = r.u8();
    h.type = r.u8();
    h.mapFirst = r.u16();
    h.mapLength = r.u16();
    h.mapEntryBits = r.u8();
    r.skip(4);  // origin
    h.width = r.u16();
    h.height = r.u16();
    h.bits = r.u8();
    h.descriptor = r.u8();
    if (!r.ok() || !knownType(h.type) || !knownDepth(h.bits)) {
        return refuse(kCodecBadFormat, "an image type or depth this reader does not read");
    }
    if (h.width == 0 || h.height == 0 || h.width > kMaxCodecSide || h.height > kMaxCodecSide) {
        return refuse(kCodecBadFormat, "an empty picture or one wider or higher than 32767");
    }
    return kCodecOk;
}

// Targa's own rule for its 5-5-5 pixels and map entries (the top bit is an attribute): the channels
// widen with their low bits clear, so full scale is 248, not the library's 255 (widenPixel16).
WidePixel targaWiden555(uint32_t v) {
    return {static_cast<uint8_t>((v & 0x1F) << 3), static_cast<uint8_t>(((v >> 5) & 0x1F) << 3),
            static_cast<uint8_t>(((v >> 10) & 0x1F) << 3)};
}

// The colour map: `length` entries for the indices from `first` on, of which those below 256 are
// kept. 15- and 16-bit entries are 5-5-5 (the top bit is an attribute), wider ones blue, green,
// red (and alpha, dropped).
void readMap(BufferedInput& in, const TgaHeader& h, PxlCodecInfo& info) {
    const uint32_t size = h.mapEntryBytes();
    const bool known = h.mapEntryBits == 15 || h.mapEntryBits == 16 || h.mapEntryBits == 24 || h.mapEntryBits == 32;
    for (uint32_t k = 0; known && k < h.mapLength && h.mapFirst + k < 256; ++k) {
        uint8_t e[4] = {};
        if (!in.bytes(e, size)) return;
        const int index = static_cast<int>(h.mapFirst + k);
        if (size == 2) {
            const WidePixel c = targaWiden555(e[0] | uint32_t{e[1]} << 8);
            info.setPaletteEntry(index, c.red, c.green, c.blue);
        } else {
            info.setPaletteEntry(index, e[2], e[1], e[0]);
        }
    }
}

constexpr uint64_t kUnitsPerPacket = 128;

uint64_t dataStartOf(const CodecCall& call, const TgaHeader& h) {
    return static_cast<uint64_t>(call.offset) + kHeaderSize + h.idLength + h.mapBytes();
}

// Whether the file could hold every stored unit of the picture: plainly stored units take their
// bytes, packets (a head byte and at least one unit) give at most 128 units each.
bool dataCanFill(const TgaHeader& h, uint64_t dataStart, int64_t fileEnd) {
    const uint64_t units = uint64_t{h.unitsPerRow()} * static_cast<uint64_t>(h.height);
    const uint64_t fewest = h.runLength() ? (units + kUnitsPerPacket - 1) / kUnitsPerPacket * (1 + h.unitBytes())
                                          : units * h.unitBytes();
    return fileEnd >= 0 && dataStart <= static_cast<uint64_t>(fileEnd) &&
           fewest <= static_cast<uint64_t>(fileEnd) - dataStart;
}

int16_t readInfo(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    ByteStream& stream = call.stream;
    info.setDetail(descriptionText(res::kDetailNoCompression));
    const int64_t fileEnd = stream.fileLength();
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(fileEnd, INT32_MAX));
    info.flags = 0;
    info.frameCount = 1;
    TgaHeader h;
    if (const int16_t result = readHeader(call, h); result != kCodecOk) return result;
    if (!dataCanFill(h, dataStartOf(call, h), fileEnd)) {
        return refuse(kCodecReadError, "the file is too short for the picture its header claims");
    }
    info.setPaletteEntry(0, 0, 0, 0);
    info.setPaletteEntry(1, 255, 255, 255);
    if (h.runLength()) info.setDetail(descriptionText(res::kDetailRlcCompression));
    info.width = static_cast<int16_t>(h.width);
    info.height = static_cast<int16_t>(h.height);
    info.bitsPerPixel = static_cast<int16_t>(h.recordDepth());
    info.imageBytes =
        reportedImageBytes(h.width, h.height, h.recordDepth(), ImageBytesRule::LegacyByteColumns);
    // Rows stored bottom first reach the image last row first, which a scaling reader cannot follow.
    if (!h.topFirst()) info.flags = kFlagNotScalable;

    if (h.mapType) {
        BufferedInput in(stream, call.offset + kHeaderSize + h.idLength, fileEnd);
        readMap(in, h, info);
        if (h.bits == 1) {
            info.setPaletteEntry(0, 0, 0, 0);
            info.setPaletteEntry(1, 255, 255, 255);
        }
    } else if (h.bits == 8) {
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(i);
            info.setPaletteEntry(i, v, v, v);
        }
    }
    return kCodecOk;
}

// Stored units of a row, taken plainly or from run-length packets that may run on across rows.
class UnitReader {
public:
    UnitReader(BufferedInput& in, const TgaHeader& h) : in_(in), unit_(h.unitBytes()), packets_(h.runLength()) {}

    bool row(uint8_t* out, uint32_t units) {
        if (!packets_) return in_.bytes(out, size_t{units} * unit_);
        uint32_t done = 0;
        while (done < units) {
            if (left_ == 0 && !startPacket()) return false;
            const uint32_t n = std::min(left_, units - done);
            uint8_t* at = out + size_t{done} * unit_;
            if (repeat_) {
                fill(at, n);
            } else if (!in_.bytes(at, size_t{n} * unit_)) {
                return false;
            }
            left_ -= n;
            done += n;
        }
        return true;
    }

private:
    void fill(uint8_t* at, uint32_t n) const {
        if (unit_ == 1) {
            std::memset(at, value_[0], n);
            return;
        }
        for (uint32_t i = 0; i < n; ++i, at += unit_) {
            for (uint32_t b = 0; b < unit_; ++b) at[b] = value_[b];
        }
    }

    bool startPacket() {
        uint8_t head;
        if (!in_.byte(head)) return false;
        left_ = (head & 0x7Fu) + 1;
        repeat_ = head & 0x80;
        return !repeat_ || in_.bytes(value_, unit_);
    }

    BufferedInput& in_;
    uint32_t unit_;
    bool packets_;
    uint32_t left_ = 0;
    bool repeat_ = false;
    uint8_t value_[4] = {};
};

// Stored pixels to the delivered row (B, G, R for deeper pixels), one pixel at a time.
void convertRow(const TgaHeader& h, const uint8_t* in, uint8_t* out) {
    const int w = h.width;
    switch (h.bits) {
        case 1:
            std::memcpy(out, in, h.unitsPerRow());
            break;
        case 8:
            std::memcpy(out, in, static_cast<size_t>(w));
            break;
        case 15:
        case 16:
            for (int x = 0; x < w; ++x) {
                const WidePixel c = targaWiden555(in[2 * x] | uint32_t{in[2 * x + 1]} << 8);
                out[3 * x] = c.blue;
                out[3 * x + 1] = c.green;
                out[3 * x + 2] = c.red;
            }
            break;
        case 24:
            std::memcpy(out, in, static_cast<size_t>(w) * 3);
            break;
        default:
            for (int x = 0; x < w; ++x) std::memcpy(out + 3 * x, in + 4 * x, 3);
            break;
    }
}

void mirror(uint8_t* row, int width, int depth) {
    if (depth == 24) {
        for (int a = 0, b = width - 1; a < b; ++a, --b) std::swap_ranges(row + 3 * a, row + 3 * a + 3, row + 3 * b);
    } else if (depth == 8) {
        std::reverse(row, row + width);
    } else {
        auto bit = [&](int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; };
        auto set = [&](int x, int v) {
            const uint8_t m = static_cast<uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<uint8_t>(v ? row[x >> 3] | m : row[x >> 3] & ~m);
        };
        for (int a = 0, b = width - 1; a < b; ++a, --b) {
            const int va = bit(a);
            set(a, bit(b));
            set(b, va);
        }
    }
}

int16_t load(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    ByteStream& stream = call.stream;
    TgaHeader h;
    if (const int16_t result = readHeader(call, h); result != kCodecOk) return result;
    if (info.width != 0 &&
        (info.width != h.width || info.height != h.height || info.bitsPerPixel != h.recordDepth())) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    info.width = static_cast<int16_t>(h.width);
    info.height = static_cast<int16_t>(h.height);
    info.bitsPerPixel = static_cast<int16_t>(h.recordDepth());
    info.flags = 0;
    // Run-length colour-mapped and grey pictures are read at 1 and 8 bits only.
    if ((h.type == kMappedRle || h.type == kGreyRle) && h.bits != 1 && h.bits != 8) {
        return refuse(kCodecReadError, "run-length mapped or grey pixels of a depth other than 1 or 8");
    }

    const RowLayout layout = prepareRowTransfer(info);
    const uint64_t dataStart = dataStartOf(call, h);
    BufferedInput in(stream, static_cast<int64_t>(dataStart), stream.fileLength());
    UnitReader units(in, h);
    // Stored rows go to a buffer of their own: 32-bit pixels take more room than the row they make.
    std::vector<uint8_t> stored(size_t{h.unitsPerRow()} * h.unitBytes());
    std::vector<uint8_t> row(layout.stride, 0);
    for (int i = 0; i < h.height; ++i) {
        if (!units.row(stored.data(), h.unitsPerRow())) {
            return refuse(kCodecReadError, "the pixel data end before the picture does");
        }
        convertRow(h, stored.data(), row.data());
        if (h.descriptor & kRightToLeft) mirror(row.data(), h.width, layout.depth);
        call.tick();
        if (call.sink->putRow(row.data(), h.topFirst() ? i : h.height - 1 - i) != kCodecOk) return kCodecStopped;
    }
    return kCodecOk;
}

std::vector<uint8_t> headerBytes(int bits, int width, int height) {
    std::vector<uint8_t> b(kHeaderSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    const bool mapped = bits == 8;
    b[1] = mapped ? 1 : 0;
    b[2] = bits == 1 ? kGrey : mapped ? kMapped : kTrueColour;
    put16(5, mapped ? 256 : 0);
    b[7] = mapped ? 24 : 0;
    put16(12, static_cast<uint32_t>(width));
    put16(14, static_cast<uint32_t>(height));
    b[16] = static_cast<uint8_t>(bits);
    b[17] = kTopFirst;
    return b;
}

int16_t save(CodecCall& call) {
    PxlCodecInfo info = call.info;
    if (info.width <= 0 || info.height <= 0) return refuse(kCodecBadFormat, "an empty picture");
    RowSource* source = call.source;
    std::optional<ConvertedImage> converted;
    if (needsTwentyFourBits(info.bitsPerPixel)) {
        converted.emplace(call.imageId, 24);
        if (!converted->ok()) return refuse(kCodecNoMemory, "the image could not be converted to 24 bits");
        converted->describe(info);
        source = &*converted;
    }
    const int sourceBits = info.bitsPerPixel <= 1 ? 1 : info.bitsPerPixel <= 4 ? 4 : info.bitsPerPixel <= 8 ? 8 : 24;
    // Every palette image deeper than 1 bit becomes an 8-bit colour-mapped file with its palette.
    const int bits = sourceBits == 4 ? 8 : sourceBits;
    std::vector<uint8_t> head = headerBytes(bits, info.width, info.height);
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            head.push_back(info.palette[3 * i + 2]);
            head.push_back(info.palette[3 * i + 1]);
            head.push_back(info.palette[3 * i]);
        }
    }
    if (!call.stream.write(head.data(), static_cast<uint32_t>(head.size()))) {
        return refuse(kCodecWriteError, "the header could not be written");
    }

    const RowLayout layout = prepareRowTransfer(info);
    const auto width = static_cast<size_t>(info.width);
    const size_t written = bits == 1 ? (width + 7) / 8 : bits == 8 ? width : 3 * width;
    std::vector<uint8_t> row(std::max<size_t>(layout.stride, written), 0);
    std::vector<uint8_t> unpacked(sourceBits == 4 ? width : 0);
    for (int y = 0; y < info.height; ++y) {
        call.tick();
        source->getRow(row.data(), y);
        const uint8_t* out = row.data();
        if (sourceBits == 4) {
            for (size_t x = 0; x < width; ++x) unpacked[x] = indexAt(row.data(), static_cast<int>(x), 4);
            out = unpacked.data();
        }
        if (!call.stream.write(out, static_cast<uint32_t>(written))) {
            return refuse(kCodecWriteError, "a row could not be written");
        }
    }
    return kCodecOk;
}

// Targa has no signature: a file named so is taken as one, and so is a picture inside another
// file that nothing else recognised.
bool recognise(const ContentProbe& probe) {
    return probe.byExtension == PXL_FORMAT_TARGA || probe.offset > 0;
}

}  // namespace

constexpr FormatCodec targaCodec{refuse, recognise, Recognition::Fallback, readInfo, load, save,
                                 FileNeed::Always};

}  // namespace pixmill
