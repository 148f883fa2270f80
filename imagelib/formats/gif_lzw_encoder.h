// The LZW encoder of GIF image data: codes least significant bit first in data sub-blocks, an
// open-addressed string table of 5021 slots, codes widened as the decoder's table grows, and a
// clear code whenever the table would need a 4096th code.
#ifndef PIXMILL_FORMATS_GIF_LZW_ENCODER_H
#define PIXMILL_FORMATS_GIF_LZW_ENCODER_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "formats/codec.h"

namespace pixmill {

class GifLzwEncoder {
public:
    // Indexes must lie below 2^minimumCodeSize (2..8).
    GifLzwEncoder(ByteStream& out, int minimumCodeSize);

    // The minimum code size byte and the first clear code.
    bool start();
    // The next pixels of the image, in the order they are stored.
    bool add(const uint8_t* indexes, size_t count);
    // The pending string, the end code, the last sub-block and the zero-length one.
    bool finish();

private:
    static constexpr int kSlots = 5021;
    static constexpr int kCodeLimit = 4095;  // the table is cleared before this code is given out

    void resetTable();
    void put(int code);
    void flushBlock();
    int find(int prefix, uint8_t suffix, int& slot) const;

    ByteStream& out_;
    int minimumCodeSize_;
    int clearCode_;
    int endCode_;
    int nextCode_ = 0;
    int width_ = 0;
    int current_ = -1;  // the code of the string matched so far; -1 before the first pixel
    bool ok_ = true;

    uint64_t bits_ = 0;  // pending bits, least significant first
    int bitCount_ = 0;
    std::array<uint8_t, 256> block_{};  // length byte, then up to 255 data bytes
    int blockBytes_ = 0;

    std::array<int16_t, kSlots> codes_{};
    std::array<uint16_t, kSlots> prefixes_{};
    std::array<uint8_t, kSlots> suffixes_{};
};

}  // namespace pixmill

#endif
