#include "formats/pcx_codec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "core/registry/library_state.h"
#include "core/rows/pixel_rows.h"
#include "formats/buffered_input.h"
#include "formats/converted_image.h"
#include "formats/pcx_rle.h"
#include "resources/pixmill_ids.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: PCX");

constexpr uint8_t kManufacturer = 0x0A;
constexpr uint32_t kHeaderSize = 128;
constexpr uint8_t kPaletteMark = 0x0C;
constexpr uint32_t kPaletteBytes = 768;

// The 16 colours a version-3 file means, whatever its header holds.
constexpr std::array<uint8_t, 48> kDefaultMap = {
    0,   0,   0,   0,   0,   128, 0,   128, 0,   0,   128, 128, 128, 0,   0,   128,
    0,   128, 128, 128, 0,   128, 128, 128, 192, 192, 192, 0,   0,   255, 0,   255,
    0,   0,   255, 255, 255, 0,   0,   255, 0,   255, 255, 255, 0,   255, 255, 255,
};

struct PcxHeader {
    int version = 0;
    int bitsPerPlane = 0;
    int planes = 0;
    uint32_t bytesPerLine = 0;
    int width = 0;
    int height = 0;
    int depth = 0;  // as the record reports it
    std::array<uint8_t, 48> map{};

    uint32_t lineLength() const { return bytesPerLine * static_cast<uint32_t>(planes); }
    bool planar() const { return bitsPerPlane == 1 && planes > 1; }
};

// The depth a combination of bits per plane and planes is read as; 0 for those not read (8-bit
// pixels in 2 or 4 planes, several planes of packed pixels).
int depthOf(int bitsPerPlane, int planes) {
    if (bitsPerPlane == 1 && planes >= 1 && planes <= 4) return planes;
    if ((bitsPerPlane == 2 || bitsPerPlane == 4) && planes == 1) return bitsPerPlane;
    if (bitsPerPlane == 8 && planes == 1) return 8;
    if (bitsPerPlane == 8 && planes == 3) return 24;
    return 0;
}

int16_t readHeader(CodecCall& call, PcxHeader& h) {
    uint8_t bytes[kHeaderSize];
    if (!call.stream.seek(call.offset, SEEK_SET) || !call.stream.read(bytes, sizeof bytes)) {
        return refuse(kCodecBadFormat, "the header is cut off");
    }
    winplat::ByteReader r(bytes, sizeof bytes);
    if (r.u8() != kManufacturer) return refuse(kCodecBadFormat, "no PCX manufacturer byte");
    h.version = r.u8();
    r.u8();  // encoding: every file is run-length coded, whatever it says
    h.bitsPerPlane = r.u8();
    const int xmin = r.u16(), ymin = r.u16(), xmax = r.u16(), ymax = r.u16();
    r.skip(4);  // resolution
    r.bytes(h.map.data(), h.map.size());
    r.u8();
    h.planes = r.u8();
    h.bytesPerLine = r.u16();
    if (!r.ok() || xmax < xmin || ymax < ymin) {
        return refuse(kCodecBadFormat, "a header whose window is empty or cut off");
    }
    h.width = xmax - xmin + 1;
    h.height = ymax - ymin + 1;
    h.depth = depthOf(h.bitsPerPlane, h.planes);
    if (h.depth == 0 || h.width > kMaxCodecSide || h.height > kMaxCodecSide) {
        return refuse(kCodecBadFormat, "a plane layout or size this reader does not read");
    }
    // Each plane line must hold the row's pixels; more is padding.
    const uint64_t needed = (static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.bitsPerPlane) + 7) / 8;
    if (h.bytesPerLine < needed) {
        return refuse(kCodecBadFormat, "plane lines shorter than the picture's rows");
    }
    return kCodecOk;
}

// Skips the packed lines of the picture; the position after them, or nothing when the data end
// first.
std::optional<int64_t> dataEnd(ByteStream& stream, int64_t dataStart, int64_t fileEnd, const PcxHeader& h) {
    BufferedInput in(stream, dataStart, fileEnd);
    std::vector<uint8_t> line(h.lineLength());
    for (int y = 0; y < h.height; ++y) {
        if (!decodePcxLine(in, line)) return std::nullopt;
    }
    return in.position();
}

// The 256-colour palette behind its mark at `at`: true when it was there and read.
bool readTrailingPalette(ByteStream& stream, int64_t at, int64_t fileEnd, PxlCodecInfo& info) {
    if (at < 0 || fileEnd - at < 1 + int64_t{kPaletteBytes}) return false;
    uint8_t bytes[1 + kPaletteBytes];
    if (!stream.seek(at, SEEK_SET) || !stream.read(bytes, sizeof bytes) || bytes[0] != kPaletteMark) return false;
    std::memcpy(info.palette.data(), bytes + 1, kPaletteBytes);
    return true;
}

void setSmallPalette(PxlCodecInfo& info, const PcxHeader& h) {
    if (h.depth == 1) {
        info.setPaletteEntry(0, 0, 0, 0);
        info.setPaletteEntry(1, 255, 255, 255);
        return;
    }
    const auto& map = h.version == 3 ? kDefaultMap : h.map;
    std::copy(map.begin(), map.end(), info.palette.begin());
}

// The fewest packed bytes a stored line can take: runs stop at the line's end, and a run of up
// to 63 bytes takes two bytes, a single byte one.
uint64_t fewestLineBytes(uint64_t length) {
    const uint64_t rest = length % kLongestPcxRun;
    return 2 * (length / kLongestPcxRun) + (rest == 0 ? 0 : rest == 1 ? 1 : 2);
}

// Whether the data after the header could hold every line of the picture.
bool dataCanFill(const PcxHeader& h, int64_t dataStart, int64_t fileEnd) {
    const uint64_t fewest = fewestLineBytes(h.lineLength()) * static_cast<uint64_t>(h.height);
    return fileEnd >= dataStart && fewest <= static_cast<uint64_t>(fileEnd - dataStart);
}

int16_t readInfo(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    ByteStream& stream = call.stream;
    info.setDetail(descriptionText(res::kDetailRlcCompression));
    const int64_t fileEnd = stream.fileLength();
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(fileEnd, INT32_MAX));
    PcxHeader h;
    if (const int16_t result = readHeader(call, h); result != kCodecOk) return result;
    if (!dataCanFill(h, call.offset + kHeaderSize, fileEnd)) {
        return refuse(kCodecReadError, "the file is too short for the picture its header claims");
    }
    info.width = static_cast<int16_t>(h.width);
    info.height = static_cast<int16_t>(h.height);
    info.bitsPerPixel = static_cast<int16_t>(h.depth);
    info.flags = 0;
    info.whiteIndex = 0;
    info.frameCount = 1;
    info.imageBytes = reportedImageBytes(h.width, h.height, h.depth, ImageBytesRule::AlignedRows);
    if (h.depth == 8 && h.version >= 5) {
        // A picture of its own file has its palette at the file's end; one inside a larger file
        // has it where its data end, which only walking the data tells.
        std::optional<int64_t> mark = fileEnd - 1 - int64_t{kPaletteBytes};
        if (call.offset > 0) {
            mark = dataEnd(stream, call.offset + kHeaderSize, fileEnd, h);
        }
        if (mark && readTrailingPalette(stream, *mark, fileEnd, info)) return kCodecOk;
    }
    setSmallPalette(info, h);
    return kCodecOk;
}

// Bit planes to 4-bit pixels, even pixels in the high nibble.
void combinePlanes(const uint8_t* line, uint32_t bytesPerLine, int planes, int width, uint8_t* out) {
    std::memset(out, 0, (static_cast<size_t>(width) + 1) / 2);
    for (int x = 0; x < width; ++x) {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        uint8_t value = 0;
        for (int l = 0; l < planes; ++l) {
            if (line[static_cast<size_t>(l) * bytesPerLine + static_cast<size_t>(x >> 3)] & bit) {
                value |= static_cast<uint8_t>(1 << l);
            }
        }
        out[x >> 1] |= static_cast<uint8_t>((x & 1) ? value : value << 4);
    }
}

void planesToBgr(const uint8_t* line, uint32_t bytesPerLine, int width, uint8_t* out) {
    const uint8_t* red = line;
    const uint8_t* green = line + bytesPerLine;
    const uint8_t* blue = line + 2 * size_t{bytesPerLine};
    for (int x = 0; x < width; ++x) {
        out[3 * x] = blue[x];
        out[3 * x + 1] = green[x];
        out[3 * x + 2] = red[x];
    }
}

// The delivered row of a decoded line.
const uint8_t* convertLine(const PcxHeader& h, const uint8_t* line, uint8_t* row) {
    if (h.planar()) {
        combinePlanes(line, h.bytesPerLine, h.planes, h.width, row);
    } else if (h.depth == 2) {
        unpackTwoBitRow(line, h.width, row);
    } else if (h.depth == 24) {
        planesToBgr(line, h.bytesPerLine, h.width, row);
    } else {
        return line;  // the stored pixels are the row's
    }
    return row;
}

int16_t load(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    ByteStream& stream = call.stream;
    PcxHeader h;
    if (const int16_t result = readHeader(call, h); result != kCodecOk) return result;
    // The rows go where an earlier info call shaped them for; a changed file is refused.
    if (info.width != 0 && (info.width != h.width || info.height != h.height || info.bitsPerPixel != h.depth)) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    info.width = static_cast<int16_t>(h.width);
    info.height = static_cast<int16_t>(h.height);
    info.bitsPerPixel = static_cast<int16_t>(h.depth);
    const RowLayout layout = prepareRowTransfer(info);
    const int64_t fileEnd = stream.fileLength();
    BufferedInput in(stream, call.offset + kHeaderSize, fileEnd);
    // The line buffer is as long as the stored line, and at least a row for the rows delivered
    // as stored.
    std::vector<uint8_t> line(std::max<size_t>(h.lineLength(), layout.stride));
    std::vector<uint8_t> row(layout.stride);
    const std::span<uint8_t> stored(line.data(), h.lineLength());
    for (int y = 0; y < h.height; ++y) {
        if (!decodePcxLine(in, stored)) {
            return refuse(kCodecReadError, "the packed lines end before the picture does");
        }
        const uint8_t* out = convertLine(h, line.data(), row.data());
        call.tick();
        if (call.sink->putRow(out, y) != kCodecOk) return kCodecStopped;
    }
    if (h.depth == 8 && h.version >= 5 && readTrailingPalette(stream, in.position(), fileEnd, info)) {
        info.flags = kFlagPaletteLate;
    }
    return kCodecOk;
}

// How a depth is written: version, bits per plane, planes, bytes per plane line.
struct PcxLayout {
    int version;
    int bitsPerPlane;
    int planes;
    uint32_t bytesPerLine;
};

PcxLayout layoutFor(int bits, int width) {
    const auto w = static_cast<uint32_t>(width);
    switch (bits) {
        case 1: return {2, 1, 1, (w + 7) / 8};
        case 4: return {2, 1, 4, (w + 7) / 8};
        case 8: return {5, 8, 1, w};
        default: return {5, 8, 3, w};
    }
}

std::vector<uint8_t> headerBytes(const PxlCodecInfo& info, const PcxLayout& l) {
    std::vector<uint8_t> b(kHeaderSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    b[0] = kManufacturer;
    b[1] = static_cast<uint8_t>(l.version);
    b[2] = 1;
    b[3] = static_cast<uint8_t>(l.bitsPerPlane);
    put16(8, static_cast<uint32_t>(info.width - 1));
    put16(10, static_cast<uint32_t>(info.height - 1));
    std::copy_n(info.palette.begin(), 48, b.begin() + 16);
    b[65] = static_cast<uint8_t>(l.planes);
    put16(66, l.bytesPerLine);
    put16(68, 1);
    return b;
}

// The packed lines of one image row of the written depth.
void encodeRow(const uint8_t* row, int bits, int width, const PcxLayout& l, std::vector<uint8_t>& plane,
               std::vector<uint8_t>& out) {
    const std::span<const uint8_t> whole(row, l.bytesPerLine);
    switch (bits) {
        case 1:
        case 8:
            encodePcxLine(whole, out);
            break;
        case 4:
            for (int p = 0; p < 4; ++p) {
                std::fill(plane.begin(), plane.end(), uint8_t{0});
                for (int x = 0; x < width; ++x) {
                    const uint8_t value = (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
                    if (value & (1 << p)) plane[static_cast<size_t>(x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
                }
                encodePcxLine(std::span<const uint8_t>(plane.data(), l.bytesPerLine), out);
            }
            break;
        default:
            for (int channel = 2; channel >= 0; --channel) {  // red, green, blue of B, G, R pixels
                for (int x = 0; x < width; ++x) plane[static_cast<size_t>(x)] = row[3 * x + channel];
                encodePcxLine(std::span<const uint8_t>(plane.data(), l.bytesPerLine), out);
            }
            break;
    }
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
    const int bits = info.bitsPerPixel <= 1 ? 1 : info.bitsPerPixel <= 4 ? 4 : info.bitsPerPixel <= 8 ? 8 : 24;
    const PcxLayout l = layoutFor(bits, info.width);
    const std::vector<uint8_t> header = headerBytes(info, l);
    if (!call.stream.write(header.data(), static_cast<uint32_t>(header.size()))) {
        return refuse(kCodecWriteError, "the header could not be written");
    }

    const RowLayout rows = prepareRowTransfer(info);
    // The source row, and at least one stored line, since 1- and 8-bit lines are packed from it.
    std::vector<uint8_t> row(std::max<size_t>(rows.stride, l.bytesPerLine) + 4, 0);
    std::vector<uint8_t> plane(l.bytesPerLine, 0);
    std::vector<uint8_t> out;
    for (int y = 0; y < info.height; ++y) {
        call.tick();
        source->getRow(row.data(), y);
        out.clear();
        encodeRow(row.data(), bits, info.width, l, plane, out);
        if (!call.stream.write(out.data(), static_cast<uint32_t>(out.size()))) {
            return refuse(kCodecWriteError, "a row could not be written");
        }
    }
    if (bits == 8) {
        uint8_t mark = kPaletteMark;
        if (!call.stream.write(&mark, 1) || !call.stream.write(info.palette.data(), kPaletteBytes)) {
            return refuse(kCodecWriteError, "the palette could not be written");
        }
    }
    return kCodecOk;
}

// The manufacturer byte and a version below 6 are a weak signature: the extension must agree.
bool recognise(const ContentProbe& probe) {
    return probe.bytes[0] == kManufacturer && static_cast<int8_t>(probe.bytes[1]) < 6 &&
           probe.byExtension == PXL_FORMAT_PCX;
}

}  // namespace

constexpr FormatCodec pcxCodec{refuse, recognise, Recognition::WithExtension, readInfo, load, save,
                               FileNeed::Always};

}  // namespace pixmill
