#include "formats/wpg_codec.h"

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

constexpr winplat::Refuser refuse("PXL32: WPG");

constexpr uint32_t kHeaderSize = 16;
constexpr uint8_t kStartRecord = 0x0F;
constexpr uint8_t kColourMapRecord = 0x0E;
constexpr uint8_t kBitmapRecord = 0x0B;
constexpr uint8_t kEndRecord = 0x10;
constexpr uint32_t kBitmapHeaderSize = 10;

// What walking the records found.
struct WpgPicture {
    int width = 0;
    int height = 0;
    int bits = 0;
    int64_t rowsStart = 0;
    bool ended = false;
};

bool knownDepth(int bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8; }

// Bytes of a stored row.
uint32_t storedRowBytes(int width, int bits) {
    return static_cast<uint32_t>((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 7) / 8);
}

// A record's length: a byte below 255, else a word after it; a word with its top bit set is the
// high half of a 31-bit length whose low half follows.
bool readLength(BufferedInput& in, uint64_t& length) {
    uint8_t b[2];
    if (!in.bytes(b, 1)) return false;
    if (b[0] != 0xFF) {
        length = b[0];
        return true;
    }
    if (!in.bytes(b, 2)) return false;
    const uint32_t word = b[0] | uint32_t{b[1]} << 8;
    if (!(word & 0x8000)) {
        length = word;
        return true;
    }
    if (!in.bytes(b, 2)) return false;
    length = uint64_t{word & 0x7FFF} << 16 | b[0] | uint32_t{b[1]} << 8;
    return true;
}

void readColourMap(const uint8_t* data, uint64_t length, PxlCodecInfo& info) {
    winplat::ByteReader r(data, length);
    const uint32_t first = r.u16();
    const uint32_t count = r.u16();
    for (uint32_t k = 0; k < count && first + k < 256; ++k) {
        const uint8_t red = r.u8(), green = r.u8(), blue = r.u8();
        if (!r.ok()) return;
        info.setPaletteEntry(static_cast<int>(first + k), red, green, blue);
    }
}

// Walks the records from the first one to the end record (or the end of the file), keeping the
// first bitmap and the colour maps before it.
int16_t walk(CodecCall& call, WpgPicture& p) {
    ByteStream& stream = call.stream;
    uint8_t header[kHeaderSize];
    if (!stream.seek(call.offset, SEEK_SET) || !stream.read(header, sizeof header)) {
        return refuse(kCodecBadFormat, "the header is cut off");
    }
    winplat::ByteReader h(header, sizeof header);
    if (h.u8() != 0xFF || h.u8() != 'W' || h.u8() != 'P' || h.u8() != 'C') {
        return refuse(kCodecBadFormat, "no WPG signature");
    }
    const uint32_t firstRecord = h.u32();
    BufferedInput in(stream, call.offset + firstRecord, stream.fileLength());
    std::vector<uint8_t> data;
    while (!p.ended) {
        uint8_t type;
        uint64_t length;
        if (!in.byte(type) || !readLength(in, length)) break;
        if (type == kEndRecord) {
            p.ended = true;
        } else if (type == kBitmapRecord && p.rowsStart == 0) {
            uint8_t fields[kBitmapHeaderSize];
            if (length < kBitmapHeaderSize || !in.bytes(fields, sizeof fields)) break;
            winplat::ByteReader r(fields, sizeof fields);
            p.width = r.u16();
            p.height = r.u16();
            p.bits = r.u16();
            p.rowsStart = in.position();
            if (!in.skip(length - kBitmapHeaderSize)) break;
        } else if (type == kColourMapRecord && p.rowsStart == 0) {
            // A map holds at most 65535 entries of three bytes after its two words.
            if (length > 4 + 3 * uint64_t{0xFFFF}) break;
            data.resize(static_cast<size_t>(length));
            if (!in.bytes(data.data(), data.size())) break;
            readColourMap(data.data(), length, call.info);
        } else if (!in.skip(length)) {
            break;
        }
    }
    if (!p.ended || p.rowsStart == 0 || p.width <= 0 || p.height <= 0) {
        return refuse(kCodecBadFormat, "no end record, no bitmap record, or an empty bitmap");
    }
    if (p.width > kMaxCodecSide || p.height > kMaxCodecSide || !knownDepth(p.bits)) {
        return refuse(kCodecBadFormat, "a bitmap size or depth this reader does not read");
    }
    return kCodecOk;
}

void describe(PxlCodecInfo& info, const WpgPicture& p) {
    info.width = static_cast<int16_t>(p.width);
    info.height = static_cast<int16_t>(p.height);
    info.bitsPerPixel = static_cast<int16_t>(p.bits);
    info.whiteIndex = 0;
    info.frameCount = 1;
    info.imageBytes = reportedImageBytes(p.width, p.height, p.bits, ImageBytesRule::LegacyByteColumns);
    if (p.bits == 1) {
        info.setPaletteEntry(0, 0, 0, 0);
        info.setPaletteEntry(1, 255, 255, 255);
    }
}

int16_t readInfo(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    info.setDetail(descriptionText(res::kDetailRleCompression));
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(call.stream.fileLength(), INT32_MAX));
    WpgPicture p;
    if (const int16_t result = walk(call, p); result != kCodecOk) return result;
    describe(info, p);
    return kCodecOk;
}

// Unpacks one row. Runs and literals are cut at the row's end (their rest is dropped); a row
// repeat ends the row, which keeps the previous row's bytes. Returns false when the data end.
class RowUnpacker {
public:
    explicit RowUnpacker(BufferedInput& in) : in_(in) {}

    bool row(uint8_t* out, size_t size) {
        if (repeats_ > 0) {
            --repeats_;
            return true;
        }
        size_t done = 0;
        while (done < size) {
            uint8_t control, value;
            if (!in_.byte(control)) return false;
            if (control == 0x00) {
                if (!in_.byte(value)) return false;
                if (value == 0) continue;
                repeats_ = value - 1;  // this row is the first copy
                return true;
            }
            size_t count = control & 0x7F;
            if (control == 0x80) {
                if (!in_.byte(value)) return false;
                count = value;
            }
            const size_t n = std::min(count, size - done);
            if (control & 0x80) {
                if (control != 0x80 && !in_.byte(value)) return false;
                std::memset(out + done, control == 0x80 ? 0xFF : value, n);
            } else {
                if (!in_.bytes(out + done, n) || !in_.skip(count - n)) return false;
            }
            done += n;
        }
        return true;
    }

private:
    BufferedInput& in_;
    int repeats_ = 0;
};

int16_t load(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    const int16_t knownWidth = info.width, knownHeight = info.height, knownBits = info.bitsPerPixel;
    WpgPicture p;
    if (const int16_t result = walk(call, p); result != kCodecOk) return result;
    if (knownWidth != 0 && (knownWidth != p.width || knownHeight != p.height || knownBits != p.bits)) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    describe(info, p);
    const RowLayout layout = prepareRowTransfer(info);
    const uint32_t stored = storedRowBytes(p.width, p.bits);
    std::vector<uint8_t> line(std::max<size_t>(stored, layout.stride), 0);
    std::vector<uint8_t> row(p.bits == 2 ? layout.stride : 0, 0);
    BufferedInput in(call.stream, p.rowsStart, call.stream.fileLength());
    RowUnpacker unpacker(in);
    for (int y = 0; y < p.height; ++y) {
        if (!unpacker.row(line.data(), stored)) {
            return refuse(kCodecReadError, "the packed rows end before the picture does");
        }
        const uint8_t* out = line.data();
        if (p.bits == 2) {
            unpackTwoBitRow(line.data(), p.width, row.data());
            out = row.data();
        }
        call.tick();
        if (call.sink->putRow(out, y) != kCodecOk) return kCodecStopped;
    }
    return kCodecOk;
}

// Packs a row: runs of two to 126 equal bytes, literal groups of up to 125 bytes between them.
void packRow(const uint8_t* row, size_t size, std::vector<uint8_t>& out) {
    size_t literalStart = 0;
    auto flush = [&](size_t end) {
        while (literalStart < end) {
            const size_t n = std::min<size_t>(125, end - literalStart);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), row + literalStart, row + literalStart + n);
            literalStart += n;
        }
    };
    size_t i = 0;
    while (i < size) {
        size_t run = 1;
        while (i + run < size && run < 126 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            flush(i);
            out.push_back(static_cast<uint8_t>(0x80 + run));
            out.push_back(row[i]);
            i += run;
            literalStart = i;
        } else {
            ++i;
        }
    }
    flush(size);
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

std::vector<uint8_t> headBytes(const PxlCodecInfo& info, int bits) {
    std::vector<uint8_t> b = {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 0x16, 1, 0, 0, 0, 0, 0};
    b.insert(b.end(), {kStartRecord, 6, 1, 0});
    put16(b, static_cast<uint32_t>(info.width));
    put16(b, static_cast<uint32_t>(info.height));
    const int entries = bits <= 4 ? 16 : 256;
    b.push_back(kColourMapRecord);
    if (entries == 16) {
        b.push_back(4 + 16 * 3);
    } else {
        b.push_back(0xFF);
        put16(b, 4 + 256 * 3);
    }
    put16(b, 0);
    put16(b, static_cast<uint32_t>(entries));
    b.insert(b.end(), info.palette.begin(), info.palette.begin() + 3 * entries);
    b.insert(b.end(), {kBitmapRecord, 0xFF, 0, 0, 0, 0});  // the length is known at the end
    put16(b, static_cast<uint32_t>(info.width));
    put16(b, static_cast<uint32_t>(info.height));
    put16(b, static_cast<uint32_t>(bits));
    put16(b, 75);
    put16(b, 75);
    return b;
}

int16_t save(CodecCall& call) {
    PxlCodecInfo info = call.info;
    if (info.width <= 0 || info.height <= 0) return refuse(kCodecBadFormat, "an empty picture");
    RowSource* source = call.source;
    std::optional<ConvertedImage> converted;
    if (info.bitsPerPixel > 8) {
        converted.emplace(call.imageId, 8);
        if (!converted->ok()) return refuse(kCodecNoMemory, "the image could not be converted to 8 bits");
        converted->describe(info);
        source = &*converted;
    }
    const int bits = info.bitsPerPixel <= 1 ? 1 : info.bitsPerPixel <= 4 ? 4 : 8;
    ByteStream& stream = call.stream;
    const int64_t start = stream.tell();
    const std::vector<uint8_t> head = headBytes(info, bits);
    if (!stream.write(head.data(), static_cast<uint32_t>(head.size()))) {
        return refuse(kCodecWriteError, "the header could not be written");
    }
    // The bitmap record's data start after its 4-byte length, which sits 14 bytes before the end
    // of what was just written.
    const int64_t lengthAt = start + static_cast<int64_t>(head.size()) - 14;

    const RowLayout layout = prepareRowTransfer(info);
    const uint32_t stored = storedRowBytes(info.width, bits);
    std::vector<uint8_t> row(std::max<size_t>(layout.stride, stored), 0);
    std::vector<uint8_t> packed;
    uint64_t length = kBitmapHeaderSize;
    for (int y = 0; y < info.height; ++y) {
        call.tick();
        source->getRow(row.data(), y);
        packed.clear();
        packRow(row.data(), stored, packed);
        if (!stream.write(packed.data(), static_cast<uint32_t>(packed.size()))) {
            return refuse(kCodecWriteError, "a row could not be written");
        }
        length += packed.size();
    }
    // more than the length field holds
    if (length > 0x7FFFFFFF) {
        return refuse(kCodecWriteError, "the bitmap is longer than its length field holds");
    }
    const uint8_t end[] = {kEndRecord, 0};
    if (!stream.write(end, sizeof end)) {
        return refuse(kCodecWriteError, "the end record could not be written");
    }
    const auto high = static_cast<uint32_t>(length >> 16) | 0x8000;
    const uint8_t field[] = {static_cast<uint8_t>(high), static_cast<uint8_t>(high >> 8),
                             static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)};
    if (!stream.seek(lengthAt, SEEK_SET) || !stream.write(field, sizeof field) || !stream.seek(0, SEEK_END)) {
        return refuse(kCodecWriteError, "the bitmap's length could not be written");
    }
    return kCodecOk;
}

// The signature alone is a weak one: the extension must agree.
bool recognise(const ContentProbe& probe) {
    return std::memcmp(probe.bytes, "\xFFWPC", 4) == 0 && probe.byExtension == PXL_FORMAT_WPG;
}

}  // namespace

constexpr FormatCodec wpgCodec{refuse, recognise, Recognition::WithExtension, readInfo, load, save,
                               FileNeed::Always};

}  // namespace pixmill
