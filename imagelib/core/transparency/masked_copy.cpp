// Copies: eight pixels at a time go through a byte mask looked up from their eight mask bits: the
// picture's bytes where the bit is clear, the destination's where it is set. No branch per
// pixel, so scattered masks cost no mispredictions.
// Blends: sixteen pixels at a time in 16-bit lanes where the CPU has SSSE3's byte shuffles, each
// pixel's weight spread over its three bytes; the plain loop's arithmetic lane by lane.
#include "core/transparency/masked_copy.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#define PIXMILL_MASKED_X86 1
#include <immintrin.h>
#endif

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

#ifdef PIXMILL_MASKED_X86

// Sixteen 0xFF bytes where the mask bits of pixels [x, x + 16) are set.
__attribute__((target("ssse3"))) inline __m128i hiddenBytes(const uint8_t* maskRow, int x) {
    const __m128i bitOf = _mm_setr_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    const __m128i byteOf = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    const int bits = static_cast<int>(maskByte(maskRow, x) | maskByte(maskRow, x + 8) << 8);
    const __m128i spread = _mm_and_si128(_mm_shuffle_epi8(_mm_cvtsi32_si128(bits), byteOf), bitOf);
    return _mm_cmpeq_epi8(spread, bitOf);
}

// Eight bytes d of one half, each moved by (s - d) * w >> 8: the 16-bit high half of
// (s - d) * 128 times w * 2 is that shift, floor included, with both factors inside 16 bits.
__attribute__((target("ssse3"))) inline __m128i blendHalf(__m128i s, __m128i d, __m128i w) {
    const __m128i step = _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(s, d), 7), _mm_slli_epi16(w, 1));
    return _mm_add_epi16(d, step);
}

// The pixels it did, from the start.
__attribute__((target("ssse3"))) int blendSsse3(const uint8_t* in, const uint8_t* maskRow,
                                                const uint8_t* alphaRow, int sx, int w, uint8_t* out) {
    // Pixel weights to the bytes of the three 16-byte parts of sixteen pixels.
    const __m128i spread[3] = {_mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5),
                               _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10),
                               _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15)};
    const __m128i zero = _mm_setzero_si128();
    int c = 0;
    for (; c + 16 <= w; c += 16) {
        const int x = sx + c;
        const __m128i alpha = _mm_loadu_si128(reinterpret_cast<const __m128i*>(alphaRow + x));
        // 255 - a is a's complement; hidden pixels weigh 0.
        const __m128i weights =
            _mm_andnot_si128(_mm_or_si128(hiddenBytes(maskRow, x), alpha), _mm_cmpeq_epi8(zero, zero));
        const uint8_t* s = in + 3 * static_cast<size_t>(x);
        uint8_t* d = out + 3 * static_cast<size_t>(c);
        for (int part = 0; part < 3; ++part) {
            const __m128i wb = _mm_shuffle_epi8(weights, spread[part]);
            const __m128i sb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * part));
            const __m128i db = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * part));
            const __m128i low = blendHalf(_mm_unpacklo_epi8(sb, zero), _mm_unpacklo_epi8(db, zero),
                                          _mm_unpacklo_epi8(wb, zero));
            const __m128i high = blendHalf(_mm_unpackhi_epi8(sb, zero), _mm_unpackhi_epi8(db, zero),
                                           _mm_unpackhi_epi8(wb, zero));
            // Each result lies between d and s: the unsigned pack keeps it as it is.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * part), _mm_packus_epi16(low, high));
        }
    }
    return c;
}

bool hasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

#endif  // PIXMILL_MASKED_X86

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

void blendUnmasked24Plain(const uint8_t* in, const uint8_t* maskRow, const uint8_t* alphaRow, int sx, int w,
                          uint8_t* out) {
    for (int c = 0; c < w; ++c, out += 3) {
        const int x = sx + c;
        const int weight = maskSet(maskRow, x) ? 0 : 255 - alphaRow[x];
        const uint8_t* s = in + 3 * x;
        for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>(out[k] + (((s[k] - out[k]) * weight) >> 8));
    }
}

void blendUnmasked24(const uint8_t* in, const uint8_t* maskRow, const uint8_t* alphaRow, int sx, int w,
                     uint8_t* out) {
    int done = 0;
#ifdef PIXMILL_MASKED_X86
    if (hasSsse3()) done = blendSsse3(in, maskRow, alphaRow, sx, w, out);
#endif
    blendUnmasked24Plain(in, maskRow, alphaRow, sx + done, w - done, out + 3 * static_cast<size_t>(done));
}

}  // namespace pixmill
