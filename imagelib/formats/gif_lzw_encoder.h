// The LZW encoder of GIF image data: codes least significant bit first in data sub-blocks, an
// open-addressed string table, codes widened as the decoder's table grows, and a clear code
// whenever the table would need code 4095.
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
    // Twice the strings a table holds, so probes stay short; a power of two, so a mask wraps them.
    static constexpr uint32_t kSlots = 8192;
    static constexpr int kCodeLimit = 4095;         // the table is cleared before this code is given out
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;  // no string has prefix 4095

    void resetTable();
    void put(int code);
    void flushBlock();

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

    // Each slot: the string's key (prefix << 8 | suffix, 20 bits) above its code (12 bits).
    std::array<uint32_t, kSlots> slots_{};
};

}  // namespace pixmill

#endif
