#include "formats/gif_writer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "formats/gif_lzw_encoder.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: GIF");

constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kApplicationLabel = 0xFF;
constexpr uint8_t kCommentLabel = 0xFE;
constexpr uint8_t kControlLabel = 0xF9;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kTablePresent = 0x80;
constexpr uint8_t kInterlacedFlag = 0x40;
constexpr int32_t kInterlaceOption = 0x80;
constexpr size_t kTextFieldBytes = 81;
constexpr size_t kTextRecordBytes = 85;

// Little-endian bytes of one block, written at once so that a failed write is one check.
class Block {
  public:
    Block& u8(unsigned v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Block& u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Block& text(const char* s, size_t n) {
        bytes_.insert(bytes_.end(), s, s + n);
        return *this;
    }
    // Text in sub-blocks of 255 bytes, the rest in the last one, without the terminating zero.
    Block& subBlocks(const std::string& s) {
        for (size_t at = 0; at < s.size(); at += 255) {
            const size_t n = std::min<size_t>(255, s.size() - at);
            u8(static_cast<unsigned>(n)).text(s.data() + at, n);
        }
        return *this;
    }
    Block& table(const PxlCodecInfo& info, int bits) {
        bytes_.insert(bytes_.end(), info.palette.begin(), info.palette.begin() + (3 << bits));
        return *this;
    }
    bool writeTo(ByteStream& out) const {
        return out.write(bytes_.data(), static_cast<uint32_t>(bytes_.size()));
    }

  private:
    std::vector<uint8_t> bytes_;
};

bool hasTransparency(const PxlCodecInfo& info) {
    return (info.transparency >> 24) == 1;
}
int transparentIndex(const PxlCodecInfo& info) {
    return hasTransparency(info) ? static_cast<int>((info.transparency >> 16) & 0xFF) : -1;
}

Block applicationHeader(const char* identifier) {
    Block b;
    b.u8(kExtension).u8(kApplicationLabel).u8(11).text(identifier, 11);
    return b;
}

// A screen size of 0 (an image that was never a frame) becomes the frame's extent.
int screenSide(int stored, int position, int size) {
    return stored > 0 ? stored : position + size;
}

bool writeHeader(ByteStream& out, const PxlCodecInfo& info, int tableBits) {
    Block b;
    b.text("GIF89a", 6)
        .u16(static_cast<unsigned>(screenSide(info.screenWidth, info.frameLeft, info.width)))
        .u16(static_cast<unsigned>(screenSide(info.screenHeight, info.frameTop, info.height)))
        .u8(kTablePresent | (info.bitsPerPixel - 1) << 4 | (tableBits - 1))
        .u8(static_cast<unsigned>(info.whiteIndex) & 0xFF)
        .u8(0)
        .table(info, tableBits);
    return b.writeTo(out);
}

bool writeLoop(ByteStream& out, int repeatCount) {
    Block b = applicationHeader("NETSCAPE2.0");
    b.u8(3).u8(1).u16(static_cast<unsigned>(repeatCount)).u8(0);
    return b.writeTo(out);
}

bool writeComment(ByteStream& out, const std::string& text) {
    Block b;
    b.u8(kExtension).u8(kCommentLabel).subBlocks(text).u8(0);
    return b.writeTo(out);
}

// The 81 field bytes and 4 reserved zero bytes as one sub-block, then the text.
bool writeTextBlock(ByteStream& out, const TextBlock& block) {
    Block b = applicationHeader("KVATEXTI4.0");
    b.u8(kTextRecordBytes).text(reinterpret_cast<const char*>(block.parameters.data()), kTextFieldBytes);
    for (size_t i = kTextFieldBytes; i < kTextRecordBytes; ++i) b.u8(0);
    b.subBlocks(block.text).u8(0);
    return b.writeTo(out);
}

bool writeTitle(ByteStream& out, const std::string& title) {
    Block b = applicationHeader("KVATITLE4.0");
    b.subBlocks(title).u8(0);
    return b.writeTo(out);
}

bool writeGraphicControl(ByteStream& out, const PxlCodecInfo& info) {
    Block b;
    b.u8(kExtension)
        .u8(kControlLabel)
        .u8(4)
        .u8((hasTransparency(info) ? 1u : 0u) | (static_cast<unsigned>(info.controlWord) & 7) << 2)
        .u16(static_cast<uint16_t>(info.frameDelay))
        .u8(hasTransparency(info) ? static_cast<unsigned>(transparentIndex(info)) : 0)
        .u8(0);
    return b.writeTo(out);
}

bool interlaced(const PxlCodecInfo& info) {
    return info.option1 & kInterlaceOption;
}

bool writeDescriptor(ByteStream& out, const PxlCodecInfo& info, int tableBits) {
    const bool local = info.gifWriterWord != 0;
    Block b;
    b.u8(kImageSeparator)
        .u16(static_cast<uint16_t>(info.frameLeft))
        .u16(static_cast<uint16_t>(info.frameTop))
        .u16(static_cast<unsigned>(info.width))
        .u16(static_cast<unsigned>(info.height))
        .u8(static_cast<unsigned>(tableBits - 1) | (local ? kTablePresent : 0) |
            (interlaced(info) ? kInterlacedFlag : 0));
    if (local) b.table(info, tableBits);
    return b.writeTo(out);
}

// One row of the source depth as one index per pixel; indexes past the written table show the
// colour of entry 0 in a reader, so they are written as 0.
void unpackRow(const uint8_t* row, int sourceBits, int width, int entries, uint8_t* out) {
    if (sourceBits == 8 && entries == 256) {
        std::memcpy(out, row, static_cast<size_t>(width));
        return;
    }
    for (int x = 0; x < width; ++x) {
        int v;
        switch (sourceBits) {
            case 1:
                v = (row[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            case 4:
                v = (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
                break;
            default:
                v = row[x];
                break;
        }
        out[x] = static_cast<uint8_t>(v < entries ? v : 0);
    }
}

// Row order of the stored image: top to bottom, or the four interlace passes.
class RowOrder {
  public:
    RowOrder(int height, bool interlaced) : height_(height), interlaced_(interlaced) {}
    bool done() const { return row_ >= height_; }
    int row() const { return row_; }
    void next() {
        if (!interlaced_) {
            ++row_;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        row_ += kStep[pass_];
        while (row_ >= height_ && ++pass_ < 4) row_ = kStart[pass_];
        if (pass_ >= 4) row_ = height_;
    }

  private:
    int height_;
    bool interlaced_;
    int row_ = 0;
    int pass_ = 0;
};

int16_t encodeImage(CodecCall& call, int tableBits) {
    const PxlCodecInfo& info = call.info;
    const int codeSize = std::max<int>(info.bitsPerPixel, 2);
    GifLzwEncoder encoder(call.stream, codeSize);
    if (!encoder.start()) return refuse(kCodecWriteError, "the image data could not be started");
    call.tick();
    const size_t stride =
        (static_cast<size_t>(info.width) * static_cast<size_t>(info.sourceBitsPerPixel) + 31) / 32 * 4;
    std::vector<uint8_t> row(stride, 0), indexes(static_cast<size_t>(info.width));
    for (RowOrder order(info.height, interlaced(info)); !order.done(); order.next()) {
        call.tick();
        call.source->getRow(row.data(), order.row());
        unpackRow(row.data(), info.sourceBitsPerPixel, info.width, 1 << tableBits, indexes.data());
        if (!encoder.add(indexes.data(), indexes.size())) {
            return refuse(kCodecWriteError, "the image data could not be written");
        }
    }
    if (!encoder.finish()) return refuse(kCodecWriteError, "the image data could not be finished");
    return kCodecOk;
}

bool titleWorthWriting(const std::optional<std::string>& title) {
    return title && title->find_first_not_of('|') != std::string::npos;
}

}  // namespace

int16_t writeGifFrame(CodecCall& call) {
    const PxlCodecInfo& info = call.info;
    ByteStream& out = call.stream;
    const int bits = info.bitsPerPixel;
    const int source = info.sourceBitsPerPixel;
    if (bits < 1 || bits > 8 || (source != 1 && source != 4 && source != 8)) {
        return refuse(kCodecBadFormat, "a depth the writer cannot take (palette images only)");
    }
    if (info.width <= 0 || info.height <= 0) return refuse(kCodecBadFormat, "an empty picture");
    const int tableBits = gifTableBits(info.palette, bits, transparentIndex(info));

    bool ok = true;
    if (info.wantedFrame == 0) {
        ok =
            writeHeader(out, info, tableBits) && (info.repeatCount == -1 || writeLoop(out, info.repeatCount));
    }
    if (ok && info.comment && !info.comment->empty()) ok = writeComment(out, *info.comment);
    if (ok && info.textBlock && !info.textBlock->text.empty()) ok = writeTextBlock(out, *info.textBlock);
    if (ok && (hasTransparency(info) || info.gifFrameWord == 1)) ok = writeGraphicControl(out, info);
    if (ok) ok = writeDescriptor(out, info, tableBits);
    if (!ok) return refuse(kCodecWriteError, "the blocks before the image data could not be written");
    if (int16_t r = encodeImage(call, tableBits); r != kCodecOk) return r;
    if (info.text && !info.text->empty()) ok = writeComment(out, *info.text);
    if (ok && titleWorthWriting(info.title)) ok = writeTitle(out, *info.title);
    if (ok && info.flags == 0) ok = out.write(&kTrailer, 1);
    if (!ok) return refuse(kCodecWriteError, "the blocks after the image data could not be written");
    return kCodecOk;
}

int gifTableBits(const std::array<uint8_t, 256 * 3>& palette, int bits, int transparentIndex) {
    auto sameAsFirst = [&](int i) {
        return std::equal(&palette[3 * i], &palette[3 * i] + 3, palette.begin());
    };
    int last = (1 << bits) - 1;
    while (last > 0 && last != transparentIndex && sameAsFirst(last)) --last;
    int tableBits = 1;
    while ((1 << tableBits) <= last) ++tableBits;
    return tableBits;
}

}  // namespace pixmill
