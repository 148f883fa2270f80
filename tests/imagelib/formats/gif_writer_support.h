// Frames handed to the GIF writer as index pixels, and the file it makes of them.
#ifndef PIXMILL_TESTS_GIF_WRITER_SUPPORT_H
#define PIXMILL_TESTS_GIF_WRITER_SUPPORT_H

#include <vector>

#include "formats/gif_writer.h"
#include "gif_test_support.h"

namespace gif_writer_test {

using codec_test::Bytes;

// Rows packed at 1, 4 or 8 bits from one index per pixel, top row first.
class IndexRows final : public pixmill::RowSource {
  public:
    IndexRows(const std::vector<uint8_t>& pixels, int width, int bits)
        : pixels_(pixels), width_(width), bits_(bits) {}
    void getRow(uint8_t* row, int y) override {
        const size_t stride = (static_cast<size_t>(width_) * bits_ + 31) / 32 * 4;
        std::fill(row, row + stride, uint8_t{0});
        for (int x = 0; x < width_; ++x) {
            const uint8_t v = pixels_.at(static_cast<size_t>(y * width_ + x));
            switch (bits_) {
                case 1:
                    row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
                    break;
                case 4:
                    row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
                    break;
                default:
                    row[x] = v;
                    break;
            }
        }
        ++rowsFetched;
    }
    int rowsFetched = 0;

  private:
    const std::vector<uint8_t>& pixels_;
    int width_, bits_;
};

// A record for one frame of width x height at 'bits', its rows at 'bits' too, with entries that
// all differ (gif_test::colourOf) and no transparency.
inline pixmill::PxlCodecInfo frameRecord(int width, int height, int bits) {
    pixmill::PxlCodecInfo info;
    info.width = static_cast<int16_t>(width);
    info.height = static_cast<int16_t>(height);
    info.bitsPerPixel = static_cast<int16_t>(bits);
    info.sourceBitsPerPixel = static_cast<int16_t>(bits <= 1 ? 1 : bits <= 4 ? 4 : 8);
    info.screenWidth = static_cast<int16_t>(width);
    info.screenHeight = static_cast<int16_t>(height);
    info.gifFrameWord = 0;
    info.frameDelay = 0;
    info.flags = 0;
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = gif_test::colourOf(i);
        info.setPaletteEntry(i, static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                             static_cast<uint8_t>(c));
    }
    return info;
}

struct Written {
    int16_t result = -1;
    Bytes bytes;
    int rowsFetched = 0;
};

// Runs the writer once per frame on one stream, as the frame saver does; writes past writeLimit
// bytes fail like a full disk.
inline Written writeGif(std::vector<pixmill::PxlCodecInfo> frames,
                        const std::vector<std::vector<uint8_t>>& pixels, size_t writeLimit = SIZE_MAX) {
    Written w;
    bmp_test::MemoryCallbacks memory;
    memory.writeLimit = writeLimit;
    pixmill::ByteStream stream(&memory.callbacks);
    for (size_t i = 0; i < frames.size(); ++i) {
        IndexRows rows(pixels.at(i), frames[i].width, frames[i].sourceBitsPerPixel);
        frames[i].wantedFrame = static_cast<int16_t>(i);
        pixmill::CodecCall call{frames[i], stream};
        call.source = &rows;
        w.result = pixmill::gifSave(call);
        w.rowsFetched += rows.rowsFetched;
        if (w.result != pixmill::kCodecOk) break;
    }
    w.bytes = memory.data;
    return w;
}

inline Written writeGif(const pixmill::PxlCodecInfo& frame, const std::vector<uint8_t>& pixels,
                        size_t writeLimit = SIZE_MAX) {
    return writeGif(std::vector<pixmill::PxlCodecInfo>{frame}, std::vector<std::vector<uint8_t>>{pixels},
                    writeLimit);
}

// Random-looking indexes below 'colours' that LZW cannot shorten much.
inline std::vector<uint8_t> noise(int count, int colours, uint32_t seed = 1) {
    std::vector<uint8_t> p;
    uint32_t s = seed * 2654435761u + 12345;
    for (int i = 0; i < count; ++i) {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        p.push_back(static_cast<uint8_t>(s % static_cast<uint32_t>(colours)));
    }
    return p;
}

}  // namespace gif_writer_test

#endif
