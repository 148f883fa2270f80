// Eight pixels at a time go through a byte mask looked up from their eight mask bits: the
// picture's bytes where the bit is clear, the destination's where it is set. No branch per
// pixel, so scattered masks cost no mispredictions.
#include "core/masked_copy.h"

#include <array>
#include <cstring>

namespace pixmill {

namespace {

inline bool maskSet(const uint8_t* row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

using GroupMask = std::array<uint8_t, 24>;

// For each byte of eight mask bits: 0xFF on the three bytes of each pixel whose bit is set.
constexpr std::array<GroupMask, 256> groupMasks() {
    std::array<GroupMask, 256> masks{};
    for (int bits = 0; bits < 256; ++bits) {
        for (int p = 0; p < 8; ++p) {
            const uint8_t keep = (bits >> (7 - p)) & 1 ? 0xFF : 0x00;
            for (int b = 0; b < 3; ++b)
                masks[static_cast<size_t>(bits)][static_cast<size_t>(3 * p + b)] = keep;
        }
    }
    return masks;
}

constexpr std::array<GroupMask, 256> kGroupMasks = groupMasks();

// The eight mask bits of pixels [x, x + 8), the first in the high bit. The second byte is read
// only when the bits straddle two, so only bytes holding these pixels are read.
inline unsigned maskByte(const uint8_t* row, int x) {
    const int shift = x & 7;
    const uint8_t* at = row + (x >> 3);
    if (shift == 0) return at[0];
    return ((unsigned{at[0]} << 8 | at[1]) >> (8 - shift)) & 0xFF;
}

inline uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

void copyUnmasked24Plain(const uint8_t* in, const uint8_t* maskRow, int sx, int w, uint8_t* out) {
    for (int c = 0; c < w; ++c, out += 3) {
        const int x = sx + c;
        if (maskSet(maskRow, x)) continue;
        const uint8_t* s = in + 3 * x;
        out[0] = s[0];
        out[1] = s[1];
        out[2] = s[2];
    }
}

void copyUnmasked24(const uint8_t* in, const uint8_t* maskRow, int sx, int w, uint8_t* out) {
    int c = 0;
    for (; c + 8 <= w; c += 8) {
        const int x = sx + c;
        const uint8_t* mask = kGroupMasks[maskByte(maskRow, x)].data();
        const uint8_t* s = in + 3 * static_cast<size_t>(x);
        uint8_t* d = out + 3 * static_cast<size_t>(c);
        for (int k = 0; k < 24; k += 8) {
            const uint64_t keep = load64(mask + k);
            const uint64_t v = (load64(s + k) & ~keep) | (load64(d + k) & keep);
            std::memcpy(d + k, &v, sizeof v);
        }
    }
    copyUnmasked24Plain(in, maskRow, sx + c, w - c, out + 3 * static_cast<size_t>(c));
}

}  // namespace pixmill
