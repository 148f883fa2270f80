#include "formats/bmp_codec.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "core/registry/library_state.h"
#include "core/rows/pixel_rows.h"
#include "formats/bmp_rle.h"
#include "resources/pixmill_ids.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitFields = 3;

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kHeaderWithMasks = 52;      // V2: red, green and blue masks inside the header
constexpr uint32_t kHeaderWithAlphaMask = 56;  // V3 and later: the alpha mask too
constexpr uint32_t kLongestHeaderRead = 124;   // V5; later fields of longer headers are not used
constexpr uint32_t kMaskBytes = 12;

// Compressed data are read in pieces, so a stream that claims more than it holds costs no more
// memory than it delivered.
constexpr uint32_t kReadPiece = 61440;

// What the headers of one bitmap say, positions relative to the picture's start.
struct BmpHeader {
    int64_t start = 0;
    uint32_t dataOffset = 0;
    uint32_t headerSize = 0;
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {};  // red, green, blue, alpha (bit-field pixels only)
};

// The file row: packed pixels rounded up to 4 bytes. Widths are capped, so this fits easily.
uint32_t fileRowBytes(int width, int bits) {
    return static_cast<uint32_t>((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32 * 4);
}

bool validBits(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool validSide(int64_t side) {
    return side > 0 && side <= kMaxCodecSide;
}

constexpr winplat::Refuser refuse("PXL32: BMP");

int16_t truncatedHeaderCode(const ByteStream& stream) {
    // A file that is too short is simply not a bitmap; a stream that ends early is a read error.
    return refuse(stream.isFile() ? kCodecBadFormat : kCodecReadError, "the headers are cut off");
}

// Reads the file header, the info header (any of its sizes), bit-field masks and the palette into
// the header and the record. The stream is left just after what was read.
int16_t readHeader(CodecCall& call, BmpHeader& h) {
    ByteStream& stream = call.stream;
    PxlCodecInfo& info = call.info;
    h.start = stream.isFile() ? call.offset : stream.tell();
    if (stream.isFile() && !stream.seek(h.start, SEEK_SET)) {
        return refuse(kCodecReadError, "the picture's start cannot be reached");
    }

    uint8_t fixed[kFileHeaderSize + 4];
    if (!stream.read(fixed, sizeof fixed)) return truncatedHeaderCode(stream);
    winplat::ByteReader fields(fixed, sizeof fixed);
    const uint8_t b = fields.u8();
    const uint8_t m = fields.u8();
    if (b != 'B' || m != 'M') return refuse(kCodecBadFormat, "no BM signature");
    fields.skip(4 + 2 + 2);  // file size and two reserved words: nothing depends on them
    h.dataOffset = fields.u32();
    h.headerSize = fields.u32();

    uint64_t position = sizeof fixed;  // from the picture's start
    bool core = false;
    uint32_t masksAfterHeader = 0;
    if (h.headerSize == kCoreHeaderSize) {
        core = true;
        uint8_t rest[kCoreHeaderSize - 4];
        if (!stream.read(rest, sizeof rest)) return truncatedHeaderCode(stream);
        position += sizeof rest;
        winplat::ByteReader r(rest, sizeof rest);
        h.width = r.u16();
        h.height = r.u16();
        r.u16();  // planes
        h.bits = r.u16();
    } else if (h.headerSize >= kInfoHeaderSize) {
        uint8_t rest[kLongestHeaderRead - 4] = {};
        const uint32_t toRead = std::min(h.headerSize, kLongestHeaderRead) - 4;
        if (!stream.read(rest, toRead)) return truncatedHeaderCode(stream);
        position += toRead;
        winplat::ByteReader r(rest, toRead);
        h.width = r.i32();
        const int32_t height = r.i32();
        r.u16();  // planes
        h.bits = r.u16();
        h.compression = r.u32();
        h.imageSize = r.u32();
        r.skip(8);  // resolution
        h.colorsUsed = r.u32();
        r.u32();  // colours important
        if (height < 0) {
            if (height == INT32_MIN) return refuse(kCodecBadFormat, "a height of INT32_MIN");
            h.topDown = true;
        }
        h.height = height < 0 ? -height : height;
        if (h.compression == kBiBitFields) {
            if (h.headerSize >= kHeaderWithMasks) {
                h.masks[0] = r.u32();
                h.masks[1] = r.u32();
                h.masks[2] = r.u32();
                if (h.headerSize >= kHeaderWithAlphaMask) h.masks[3] = r.u32();
            } else {
                // A 40-byte header is followed by the three masks.
                if (!stream.seek(h.start + kFileHeaderSize + h.headerSize, SEEK_SET)) {
                    return refuse(kCodecReadError, "the bit-field masks cannot be reached");
                }
                uint8_t maskBytes[kMaskBytes];
                if (!stream.read(maskBytes, sizeof maskBytes)) {
                    return refuse(kCodecReadError, "the bit-field masks are cut off");
                }
                winplat::ByteReader mr(maskBytes, sizeof maskBytes);
                for (int i = 0; i < 3; ++i) h.masks[i] = mr.u32();
                masksAfterHeader = kMaskBytes;
                position = kFileHeaderSize + uint64_t{h.headerSize} + kMaskBytes;
            }
        }
    } else {
        return refuse(kCodecBadFormat, "an unknown header size");
    }

    if (!validSide(h.width) || !validSide(h.height) || !validBits(h.bits)) {
        return refuse(kCodecBadFormat, "a size or depth outside what bitmaps have");
    }
    // Pixels that would start inside the headers mean the offsets are not to be trusted.
    const uint64_t paletteStart = kFileHeaderSize + uint64_t{h.headerSize} + masksAfterHeader;
    if (h.dataOffset < paletteStart) return refuse(kCodecBadFormat, "the pixels start inside the headers");

    info.width = static_cast<int16_t>(h.width);
    info.height = static_cast<int16_t>(h.height);
    info.bitsPerPixel = static_cast<int16_t>(h.bits);
    info.setPaletteEntry(0, 0, 0, 0);
    info.setPaletteEntry(1, 255, 255, 255);
    if (h.bits > 8) return kCodecOk;

    // The palette: as many entries as the header names (all of them when it names none), no more
    // than the depth can index and no more than fit before the pixels.
    const uint32_t entrySize = core ? 3 : 4;
    uint32_t entries = 1u << h.bits;
    if (!core && h.colorsUsed > 0) entries = std::min(entries, h.colorsUsed);
    entries = static_cast<uint32_t>(std::min<uint64_t>(entries, (h.dataOffset - paletteStart) / entrySize));
    if (entries == 0) return kCodecOk;
    if (position != paletteStart && !stream.seek(h.start + static_cast<int64_t>(paletteStart), SEEK_SET)) {
        return refuse(kCodecReadError, "the palette cannot be reached");
    }
    uint8_t palette[256 * 4];
    if (!stream.read(palette, entries * entrySize)) return refuse(kCodecReadError, "the palette is cut off");
    winplat::ByteReader r(palette, entries * entrySize);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t blue = r.u8();
        const uint8_t green = r.u8();
        const uint8_t red = r.u8();
        if (!core) r.u8();
        info.setPaletteEntry(static_cast<int>(i), red, green, blue);
    }
    return kCodecOk;
}

bool isRunLength(const BmpHeader& h) {
    return h.compression == kBiRle8 || h.compression == kBiRle4;
}

// Whether the loader decodes this header in this kind of stream. Bit fields are read from files
// only; stream pictures come from our own writer, which never makes them.
bool loadable(const BmpHeader& h, bool file) {
    switch (h.compression) {
        case kBiRgb:
            return true;
        case kBiRle8:
            return h.bits == 8 && !h.topDown;
        case kBiRle4:
            return h.bits == 4 && !h.topDown;
        case kBiBitFields:
            return file && (h.bits == 16 || h.bits == 32);
        default:
            return false;
    }
}

void describe(PxlCodecInfo& info, const BmpHeader& h, bool file) {
    int detail = res::kDetailNoCompression;
    info.flags = 0;
    if (!loadable(h, file)) {
        detail = res::kDetailUnknownCompression;
    } else if (h.compression == kBiRle8) {
        detail = res::kDetailRle8Compression;
        info.flags = kFlagNotScalable;
    } else if (h.compression == kBiRle4) {
        detail = res::kDetailRle4Compression;
        info.flags = kFlagNotScalable;
    }
    info.setDetail(descriptionText(detail));
    info.whiteIndex = 0;
    info.frameCount = 1;
    info.imageBytes = reportedImageBytes(h.width, h.height, h.bits, ImageBytesRule::LegacyByteColumns);
}

// One colour channel of a bit-field pixel, widened or narrowed to 8 bits by its mask's width.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        width = std::bit_width(m >> shift);
    }
    uint8_t operator()(uint32_t pixel) const {
        const uint32_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>(width <= 8 ? v << (8 - width) : v >> (width - 8));
    }
};

// Row converters, from the file's row to the row the sink takes (2-bit and plain 16-bit rows go
// through the library's own, core/pixel_rows.h).
void bitFields16ToBgr(const uint8_t* in, uint8_t* out, int width, const Channel (&c)[4]) {
    for (int x = 0; x < width; ++x) {
        const uint32_t p = in[2 * x] | uint32_t{in[2 * x + 1]} << 8;
        out[3 * x] = c[2](p);
        out[3 * x + 1] = c[1](p);
        out[3 * x + 2] = c[0](p);
    }
}

void bitFields32ToBgra(const uint8_t* in, uint8_t* out, int width, const Channel (&c)[4]) {
    for (int x = 0; x < width; ++x) {
        const uint32_t p = in[4 * x] | uint32_t{in[4 * x + 1]} << 8 | uint32_t{in[4 * x + 2]} << 16 |
                           uint32_t{in[4 * x + 3]} << 24;
        out[4 * x] = c[2](p);
        out[4 * x + 1] = c[1](p);
        out[4 * x + 2] = c[0](p);
        out[4 * x + 3] = c[3](p);
    }
}

bool standardBgrMasks(const BmpHeader& h) {
    return h.masks[0] == 0x00FF0000 && h.masks[1] == 0x0000FF00 && h.masks[2] == 0x000000FF;
}

int16_t loadUncompressed(CodecCall& call, const BmpHeader& h, const RowLayout& layout) {
    enum class Convert { None, TwoBits, Rgb555, Fields16, Fields32 } convert = Convert::None;
    if (h.bits == 2) convert = Convert::TwoBits;
    if (h.bits == 16) convert = h.compression == kBiBitFields ? Convert::Fields16 : Convert::Rgb555;
    if (h.bits == 32 && h.compression == kBiBitFields && !standardBgrMasks(h)) convert = Convert::Fields32;
    const Channel channels[4] = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2]),
                                 Channel(h.masks[3])};

    const uint32_t fileRow = fileRowBytes(h.width, h.bits);
    std::vector<uint8_t> in(std::max(fileRow, layout.stride));
    std::vector<uint8_t> out(convert == Convert::None ? 0 : layout.stride);
    for (int i = 0; i < h.height; ++i) {
        if (!call.stream.read(in.data(), fileRow)) {
            return refuse(kCodecReadError, "the file ends inside the rows");
        }
        call.tick();
        const uint8_t* row = in.data();
        switch (convert) {
            case Convert::None:
                break;
            case Convert::TwoBits:
                unpackTwoBitRow(in.data(), h.width, out.data());
                break;
            case Convert::Rgb555:
                widenRow16(in.data(), h.width, false, out.data());
                break;
            case Convert::Fields16:
                bitFields16ToBgr(in.data(), out.data(), h.width, channels);
                break;
            case Convert::Fields32:
                bitFields32ToBgra(in.data(), out.data(), h.width, channels);
                break;
        }
        if (convert != Convert::None) row = out.data();
        if (call.sink->putRow(row, h.topDown ? i : h.height - 1 - i) != kCodecOk) return kCodecStopped;
    }
    return kCodecOk;
}

int16_t loadRunLength(CodecCall& call, const BmpHeader& h, int64_t fileLength) {
    ByteStream& stream = call.stream;
    const bool file = stream.isFile();
    const int64_t dataStart = h.start + h.dataOffset;
    uint64_t size = h.imageSize;
    if (size == 0) {
        // Without a stated size the data run to the end of the file; a stream has no known end.
        if (!file) return refuse(kCodecBadFormat, "run-length data of no stated size on a stream");
        if (fileLength <= dataStart) {
            return refuse(kCodecReadError, "the run-length data start at or after the file's end");
        }
        size = static_cast<uint64_t>(fileLength - dataStart);
    }
    if (file && (fileLength < dataStart || size > static_cast<uint64_t>(fileLength - dataStart))) {
        return refuse(kCodecReadError, "the run-length data reach past the file's end");
    }
    std::vector<uint8_t> data;
    if (file) data.reserve(size);
    while (data.size() < size) {
        const size_t have = data.size();
        const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(kReadPiece, size - have));
        data.resize(have + piece);
        if (!stream.read(data.data() + have, piece)) {
            return refuse(kCodecReadError, "the run-length data are cut off");
        }
    }

    bool stopped = false;
    const RleRowFn deliver = [&](const uint8_t* row, int indexFromBottom) {
        call.tick();
        stopped = call.sink->putRow(row, h.height - 1 - indexFromBottom) != kCodecOk;
        return !stopped;
    };
    const RleEnd end =
        decodeRle(data, h.width, h.height, h.compression == kBiRle8 ? 8 : 4, deliver, RleShortData::Withheld);
    if (end == RleEnd::DataEnded) {
        return refuse(kCodecReadError, "the run-length data end before the picture does");
    }
    return end == RleEnd::Stopped ? kCodecStopped : kCodecOk;
}

int16_t load(CodecCall& call) {
    ByteStream& stream = call.stream;
    PxlCodecInfo& info = call.info;
    const bool file = stream.isFile();
    // Rows go to a sink that may already be shaped by an earlier info call; a picture that no
    // longer matches it (the file changed in between) is refused rather than mis-delivered.
    const int16_t knownWidth = info.width, knownHeight = info.height, knownBits = info.bitsPerPixel;
    BmpHeader h;
    if (const int16_t result = readHeader(call, h); result != kCodecOk) return result;
    if (knownWidth != 0 &&
        (knownWidth != info.width || knownHeight != info.height || knownBits != info.bitsPerPixel)) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    describe(info, h, file);
    if (!loadable(h, file)) return refuse(kCodecBadFormat, "a compression this reader does not decode here");

    const int64_t fileLength = file ? stream.fileLength() : 0;
    if (!stream.seek(h.start + h.dataOffset, SEEK_SET)) {
        return refuse(kCodecReadError, "the pixels cannot be reached");
    }
    if (isRunLength(h)) return loadRunLength(call, h, fileLength);
    return loadUncompressed(call, h, prepareRowTransfer(info));
}

// Little-endian fields into a byte vector, for the written header.
class FieldWriter {
  public:
    void u16(uint32_t v) { put(v, 2); }
    void u32(uint32_t v) { put(v, 4); }
    void u8(uint8_t v) { bytes_.push_back(v); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    void put(uint32_t v, int count) {
        for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};

void bgrxToBgr(const uint8_t* in, uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        out[3 * x] = in[4 * x];
        out[3 * x + 1] = in[4 * x + 1];
        out[3 * x + 2] = in[4 * x + 2];
    }
}

int16_t save(CodecCall& call) {
    const PxlCodecInfo& info = call.info;
    const int width = info.width;
    const int height = info.height;
    if (!validSide(width) || !validSide(height)) {
        return refuse(kCodecBadFormat, "a size outside what bitmaps have");
    }
    const int sourceBits = info.bitsPerPixel;
    const int bits = sourceBits <= 1 ? 1 : sourceBits <= 4 ? 4 : sourceBits <= 8 ? 8 : 24;
    const uint32_t paletteEntries = bits <= 8 ? 1u << bits : 0;
    const uint32_t dataOffset = kFileHeaderSize + kInfoHeaderSize + 4 * paletteEntries;
    const uint32_t row = fileRowBytes(width, bits);
    const uint64_t fileSize = uint64_t{row} * static_cast<uint64_t>(height) + dataOffset;

    FieldWriter header;
    header.u8('B');
    header.u8('M');
    header.u32(static_cast<uint32_t>(fileSize));
    header.u16(0);
    header.u16(0);
    header.u32(dataOffset);
    header.u32(kInfoHeaderSize);
    header.u32(static_cast<uint32_t>(width));
    header.u32(static_cast<uint32_t>(height));  // positive: bottom row first
    header.u16(1);
    header.u16(static_cast<uint32_t>(bits));
    header.u32(kBiRgb);
    for (int i = 0; i < 5; ++i) header.u32(0);  // image size, resolution, colours used and important
    // The image's own palette, two entries for 1 bit too: a picture whose index 0 is white must
    // not come back inverted.
    for (uint32_t i = 0; i < paletteEntries; ++i) {
        header.u8(info.palette[3 * i + 2]);
        header.u8(info.palette[3 * i + 1]);
        header.u8(info.palette[3 * i]);
        header.u8(0);
    }
    if (!call.stream.write(header.bytes().data(), static_cast<uint32_t>(header.bytes().size()))) {
        return refuse(kCodecWriteError, "the header could not be written");
    }

    // The source hands over rows at the image's own depth; room for the widest of them.
    std::vector<uint8_t> source(std::max(fileRowBytes(width, 32), row));
    const bool from565 = sourceBits > 8 && sourceBits <= 16;
    const bool fromBgrx = sourceBits > 24;
    std::vector<uint8_t> converted(from565 || fromBgrx ? row : 0);
    const uint32_t used =
        static_cast<uint32_t>((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 7) / 8);
    for (int i = 0; i < height; ++i) {
        call.tick();
        call.source->getRow(source.data(), height - 1 - i);
        uint8_t* out = source.data();
        if (!converted.empty()) {
            if (from565) {
                widenRow16(source.data(), width, true, converted.data());  // the library's 16 bits are 5-6-5
            } else {
                bgrxToBgr(source.data(), converted.data(), width);
            }
            out = converted.data();
        }
        std::fill(out + used, out + row, uint8_t{0});
        if (!call.stream.write(out, row)) return refuse(kCodecWriteError, "a row could not be written");
    }
    // A small file may still sit in the file's buffer, where a full disk would go unnoticed until
    // the close; a seek pushes it out now, so the failure is ours to report.
    if (call.stream.isFile() && !call.stream.seek(0, SEEK_CUR)) {
        return refuse(kCodecWriteError, "the written bytes could not be pushed out");
    }
    return kCodecOk;
}

// Plain rows of a file must all be there: a picture they cannot fill is refused before an image
// is made for it, whatever size its header claims.
bool rowsFitFile(const BmpHeader& h, int64_t fileLength) {
    if (isRunLength(h)) return true;
    const int64_t dataStart = h.start + h.dataOffset;
    const uint64_t needed = uint64_t{fileRowBytes(h.width, h.bits)} * static_cast<uint64_t>(h.height);
    return fileLength >= dataStart && needed <= static_cast<uint64_t>(fileLength - dataStart);
}

int16_t readInfo(CodecCall& call) {
    ByteStream& stream = call.stream;
    PxlCodecInfo& info = call.info;
    const bool file = stream.isFile();
    info.flags = 0;
    info.frameCount = 1;
    const int64_t length = file ? stream.fileLength() : 0;
    BmpHeader h;
    const int16_t result = readHeader(call, h);
    // An OLE or callback stream is left where it was, for the reader that comes next.
    if (!file) stream.seek(h.start, SEEK_SET);
    if (result != kCodecOk) return result;
    if (file && !rowsFitFile(h, length)) {
        return refuse(kCodecReadError, "the file holds fewer rows than the picture has");
    }
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
    describe(info, h, file);
    if (!file && h.bits == 24) {
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(i);
            info.setPaletteEntry(i, v, v, v);
        }
    }
    return kCodecOk;
}

bool recognise(const ContentProbe& probe) { return probe.bytes[0] == 'B' && probe.bytes[1] == 'M'; }

}  // namespace

constexpr FormatCodec bmpCodec{refuse, recognise, Recognition::Signature, readInfo, load, save,
                               FileNeed::None};

}  // namespace pixmill
