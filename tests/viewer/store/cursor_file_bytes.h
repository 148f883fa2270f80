// Monochrome cursor files written field by field, as a Windows tool stores them, for the tests of
// the cursor readers.
#ifndef LECT32_TESTS_CURSOR_FILE_BYTES_H
#define LECT32_TESTS_CURSOR_FILE_BYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cursor_test {

using Bytes = std::vector<uint8_t>;

inline void u16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void u32(Bytes& out, uint32_t v) {
    u16(out, v & 0xFFFF);
    u16(out, v >> 16);
}

struct CursorFile {
    uint16_t count = 1;
    int32_t width = 32;
    int32_t height = 64;  // colour rows and mask rows
    uint32_t offset = 22;
    size_t rowBytes = 4;  // rows as the reader takes them: (width / 4 rounded up) / 2 bytes
    size_t rowsWritten = 64;

    // Colour row r (bottom first) holds bytes 0x10 + r; mask row r holds 0x80 + r.
    Bytes bytes() const {
        Bytes out;
        u16(out, 0);      // reserved
        u16(out, 2);      // a cursor file
        u16(out, count);  // pictures
        out.insert(out.end(), {32, 32, 2, 0});  // width, height, colours, reserved
        u16(out, 5);                            // hot spot
        u16(out, 0);
        u32(out, 48 + static_cast<uint32_t>(rowsWritten * rowBytes));
        u32(out, offset);
        out.resize(offset, 0xEE);
        u32(out, 40);
        u32(out, static_cast<uint32_t>(width));
        u32(out, static_cast<uint32_t>(height));
        u16(out, 1);  // planes
        u16(out, 1);  // bits
        for (int i = 0; i < 6; ++i) u32(out, 0);
        u32(out, 0x000000);
        u32(out, 0xFFFFFF);
        for (size_t row = 0; row < rowsWritten; ++row) {
            const size_t half = rowsWritten / 2;
            const uint8_t value =
                row < half ? static_cast<uint8_t>(0x10 + row) : static_cast<uint8_t>(0x80 + row - half);
            out.insert(out.end(), rowBytes, value);
        }
        return out;
    }
};

}  // namespace cursor_test

#endif
