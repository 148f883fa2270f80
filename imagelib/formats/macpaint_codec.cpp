#include "formats/macpaint_codec.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>
#include <string_view>
#include <vector>

#include "core/registry/library_state.h"
#include "formats/buffered_input.h"
#include "resources/pixmill_ids.h"
#include "winplat/cp1250.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: MacPaint");

constexpr int kWidth = 576;
constexpr int kHeight = 720;
constexpr size_t kRowBytes = 72;
constexpr uint32_t kMacBinarySize = 128;
constexpr uint32_t kPaintHeaderSize = 512;
constexpr size_t kTypeAt = 65;
constexpr size_t kNameMax = 63;
// Seconds from 1 January 1904, where Macintosh clocks start, to 1 January 1970.
constexpr uint32_t kMacEpochOffset = 2082844800u;

bool hasMacBinaryType(const uint8_t* header) {
    return std::memcmp(header + kTypeAt, "PNTG", 4) == 0;
}

int16_t readFirstBlock(CodecCall& call, uint8_t (&header)[kMacBinarySize]) {
    if (!call.stream.seek(call.offset, SEEK_SET) || !call.stream.read(header, sizeof header)) {
        return refuse(kCodecReadError, "the first block is cut off");
    }
    return kCodecOk;
}

void describe(PxlCodecInfo& info) {
    info.width = kWidth;
    info.height = kHeight;
    info.bitsPerPixel = 1;
    info.imageBytes = reportedImageBytes(kWidth, kHeight, 1, ImageBytesRule::LegacyByteColumns);
    info.frameCount = 1;
    info.setPaletteEntry(0, 0, 0, 0);
    info.setPaletteEntry(1, 255, 255, 255);
}

int16_t readInfo(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(call.stream.fileLength(), INT32_MAX));
    uint8_t header[kMacBinarySize];
    if (const int16_t result = readFirstBlock(call, header); result != kCodecOk) return result;
    if (hasMacBinaryType(header)) info.setDetail(descriptionText(res::kDetailCompression));
    describe(info);
    return kCodecOk;
}

// PackBits bytes, read as one stream: a row normally holds whole runs, and a run that crosses a
// row's end goes on in the next row rather than past the buffer.
class PackBitsReader {
public:
    explicit PackBitsReader(BufferedInput& in) : in_(in) {}

    bool row(uint8_t* out, size_t size) {
        size_t done = 0;
        while (done < size) {
            if (left_ == 0 && !startRun()) return false;
            const size_t n = std::min(left_, size - done);
            if (repeat_) {
                std::memset(out + done, value_, n);
            } else if (!in_.bytes(out + done, n)) {
                return false;
            }
            left_ -= n;
            done += n;
        }
        return true;
    }

private:
    bool startRun() {
        uint8_t control;
        do {
            if (!in_.byte(control)) return false;
        } while (control == 128);  // no operation
        repeat_ = control > 128;
        left_ = repeat_ ? 257u - control : control + 1u;
        return !repeat_ || in_.byte(value_);
    }

    BufferedInput& in_;
    size_t left_ = 0;
    bool repeat_ = false;
    uint8_t value_ = 0;
};

int16_t load(CodecCall& call) {
    PxlCodecInfo& info = call.info;
    uint8_t header[kMacBinarySize];
    if (const int16_t result = readFirstBlock(call, header); result != kCodecOk) return result;
    describe(info);
    int64_t start = call.offset;
    if (hasMacBinaryType(header)) {
        start += kMacBinarySize + kPaintHeaderSize;
    } else if (header[0] == 0) {
        start += kPaintHeaderSize;
    }
    BufferedInput in(call.stream, start, call.stream.fileLength());
    PackBitsReader rows(in);
    std::vector<uint8_t> row(std::max<size_t>(prepareRowTransfer(info).stride, kRowBytes), 0);
    for (int y = 0; y < kHeight; ++y) {
        if (!rows.row(row.data(), kRowBytes)) {
            return refuse(kCodecReadError, "the packed rows end before the picture does");
        }
        for (size_t i = 0; i < kRowBytes; ++i) row[i] = static_cast<uint8_t>(~row[i]);
        call.tick();
        if (call.sink->putRow(row.data(), y) != kCodecOk) return kCodecStopped;
    }
    return kCodecOk;
}

void put32(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v >> 24);
    at[1] = static_cast<uint8_t>(v >> 16);
    at[2] = static_cast<uint8_t>(v >> 8);
    at[3] = static_cast<uint8_t>(v);
}

// One row packed by itself: runs of two or more equal bytes, literal groups between them.
void packRow(const uint8_t* row, std::vector<uint8_t>& out) {
    size_t literalStart = 0;
    auto flush = [&](size_t end) {
        if (end == literalStart) return;
        out.push_back(static_cast<uint8_t>(end - literalStart - 1));
        out.insert(out.end(), row + literalStart, row + end);
    };
    size_t i = 0;
    while (i < kRowBytes) {
        size_t run = 1;
        while (i + run < kRowBytes && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            flush(i);
            out.push_back(static_cast<uint8_t>(257 - run));
            out.push_back(row[i]);
            i += run;
            literalStart = i;
        } else {
            ++i;
        }
    }
    flush(kRowBytes);
}

int grey(const PxlCodecInfo& info, int index) {
    return info.palette[3 * index] * 30 + info.palette[3 * index + 1] * 59 + info.palette[3 * index + 2] * 11;
}

// A row of the image as the file's bits (1 = black), white beyond the image's width.
void toPaintBits(const uint8_t* image, int width, bool indexOneIsBlack, uint8_t* out) {
    std::memset(out, 0, kRowBytes);
    const int used = std::min(width, kWidth);
    for (int x = 0; x < used; ++x) {
        const bool one = (image[x >> 3] >> (7 - (x & 7))) & 1;
        if (one == indexOneIsBlack) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
}

std::vector<uint8_t> macBinaryHeader(const char* path, uint32_t dataLength) {
    std::vector<uint8_t> b(kMacBinarySize, 0);
    const std::string name = macBinaryName(path);
    b[1] = static_cast<uint8_t>(name.size());
    std::memcpy(b.data() + 2, name.data(), name.size());
    std::memcpy(b.data() + kTypeAt, "PNTG", 4);
    std::memcpy(b.data() + 69, "MPNT", 4);
    put32(b.data() + 83, dataLength);
    const uint32_t now = static_cast<uint32_t>(std::time(nullptr)) + kMacEpochOffset;
    put32(b.data() + 91, now);
    put32(b.data() + 95, now);
    return b;
}

int16_t save(CodecCall& call) {
    const PxlCodecInfo& info = call.info;
    // The format holds black and white only; a deeper picture would need choices made for it.
    if (info.bitsPerPixel != 1 || info.width <= 0 || info.height <= 0) {
        return refuse(kCodecBadFormat, "a picture that is not black and white, or an empty one");
    }
    const bool indexOneIsBlack = grey(info, 1) < grey(info, 0);
    std::vector<uint8_t> image(std::max<size_t>(prepareRowTransfer(info).stride, kRowBytes), 0);
    uint8_t bits[kRowBytes];
    std::vector<uint8_t> packed;
    for (int y = 0; y < kHeight; ++y) {
        std::memset(bits, 0, sizeof bits);
        if (y < info.height) {
            call.tick();
            call.source->getRow(image.data(), y);
            toPaintBits(image.data(), info.width, indexOneIsBlack, bits);
        }
        packRow(bits, packed);
    }
    const std::vector<uint8_t> header =
        macBinaryHeader(call.targetPath, static_cast<uint32_t>(kPaintHeaderSize + packed.size()));
    std::vector<uint8_t> paintHeader(kPaintHeaderSize, 0);
    for (size_t block = 0; block < kPaintHeaderSize; block += 128) paintHeader[block + 3] = 2;
    if (!call.stream.write(header.data(), kMacBinarySize) || !call.stream.write(paintHeader.data(), kPaintHeaderSize) ||
        !call.stream.write(packed.data(), static_cast<uint32_t>(packed.size()))) {
        return refuse(kCodecWriteError, "the file could not be written");
    }
    return kCodecOk;
}

// No signature: a file named so whose first byte is 0 (a MacBinary header or the bare picture's
// version word).
bool recognise(const ContentProbe& probe) {
    return probe.byExtension == PXL_FORMAT_MACPAINT && probe.bytes[0] == 0;
}

}  // namespace

std::string macBinaryName(const char* path) {
    std::string_view name = path ? path : "";
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos) name = name.substr(slash + 1);
    std::string out = winplat::cp1250::lower(name);
    if (!out.empty()) out[0] = static_cast<char>(winplat::cp1250::toUpper(static_cast<uint8_t>(out[0])));
    out += "-TARVO";
    if (out.size() > kNameMax) out.resize(kNameMax);
    return out;
}

constexpr FormatCodec macPaintCodec{refuse, recognise, Recognition::WithExtension, readInfo, load, save,
                                    FileNeed::Always};

}  // namespace pixmill
