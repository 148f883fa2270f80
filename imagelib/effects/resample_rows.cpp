// The resampler's row loops. The vector forms do the plain loops' integer arithmetic lane by lane,
// so they give the same bytes; each leaves the pixels it cannot load or store whole (at the ends
// of rows) to the plain loop.
#include "effects/resample_rows.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#define PIXMILL_RESAMPLE_X86 1
#include <immintrin.h>
#endif

namespace pixmill::resample {

namespace {

// ---- The plain loops ----

// Fixed taps per output when known (0: each output's count).
template <int C, int Fixed>
void acrossPlain(const uint8_t* in, const Taps& taps, int from, int outputs, uint16_t* out) {
    for (int x = from; x < outputs; ++x) {
        const size_t k = static_cast<size_t>(x);
        const int32_t* w = taps.weightsOf(x);
        const uint8_t* p = in + static_cast<size_t>(taps.first[k]) * C;
        const int count = Fixed ? Fixed : taps.count[k];
        uint32_t sum[C] = {};
        for (int t = 0; t < count; ++t, p += C) {
            for (int c = 0; c < C; ++c) sum[c] += static_cast<uint32_t>(w[t]) * p[c];
        }
        for (int c = 0; c < C; ++c)
            out[x * C + c] = static_cast<uint16_t>((sum[c] + (1u << (kAcrossShift - 1))) >> kAcrossShift);
    }
}

bool twoEach(const Taps& taps) {
    return taps.width == 2 && taps.count[0] == 2;  // bilinear over two pixels or more
}

// How far ahead of the pixels being read the vector loops ask for source bytes.
constexpr size_t kPrefetchAhead = 768;

template <int C>
void acrossPlainAny(const uint8_t* in, const Taps& taps, int from, int outputs, uint16_t* out) {
    if (twoEach(taps)) {
        acrossPlain<C, 2>(in, taps, from, outputs, out);
    } else {
        acrossPlain<C, 0>(in, taps, from, outputs, out);
    }
}

void acrossPlainChannels(int channels, const uint8_t* in, const Taps& taps, int from, int outputs,
                         uint16_t* out) {
    switch (channels) {
        case 1:
            return acrossPlainAny<1>(in, taps, from, outputs, out);
        case 3:
            return acrossPlainAny<3>(in, taps, from, outputs, out);
        default:
            return acrossPlainAny<4>(in, taps, from, outputs, out);
    }
}

// Summed row by row into sums, values [from, values) only.
void downPlain(const uint16_t* const* rows, const int32_t* weights, int count, size_t from, size_t values,
               uint32_t* sums, uint8_t* out) {
    const uint16_t* first = rows[0];
    const uint32_t w0 = static_cast<uint32_t>(weights[0]);
    for (size_t e = from; e < values; ++e) sums[e] = w0 * first[e];
    for (int t = 1; t < count; ++t) {
        const uint16_t* row = rows[t];
        const uint32_t w = static_cast<uint32_t>(weights[t]);
        for (size_t e = from; e < values; ++e) sums[e] += w * row[e];
    }
    for (size_t e = from; e < values; ++e) {
        out[e] =
            static_cast<uint8_t>(std::min<uint32_t>(255, (sums[e] + (1u << (kDownShift - 1))) >> kDownShift));
    }
}

// Outputs [from, outputs). Four bytes a pixel, the fourth overwritten by the next one, while both
// the source and the output pixel have one after them in their row.
void gatherPlain(const uint8_t* in, int inWidth, const int* columns, int from, int outputs, uint8_t* out) {
    // Columns only grow: the outputs before the first that reads the row's last pixel.
    const int quick = static_cast<int>(
        std::lower_bound(columns, columns + std::max(0, outputs - 1), inWidth - 1) - columns);
    int x = from;
    for (; x < quick; ++x) std::memcpy(out + 3 * x, in + 3 * columns[x], 4);
    for (; x < outputs; ++x) std::memcpy(out + 3 * x, in + 3 * columns[x], 3);
}

// ---- Portable forms ----

// The plain gather, four pixels a step with the source bytes ahead asked for (a hint that changes
// no result).
void gatherAhead(const uint8_t* in, int inWidth, const int* columns, int outputs, uint8_t* out) {
    const int quick = static_cast<int>(
        std::lower_bound(columns, columns + std::max(0, outputs - 1), inWidth - 1) - columns);
    int x = 0;
    for (; x + 4 <= quick; x += 4) {
        __builtin_prefetch(in + 3 * static_cast<size_t>(columns[x]) + kPrefetchAhead);
        for (int k = x; k < x + 4; ++k) std::memcpy(out + 3 * k, in + 3 * columns[k], 4);
    }
    gatherPlain(in, inWidth, columns, x, outputs, out);
}

#ifdef PIXMILL_RESAMPLE_X86

// ---- SSE2, which every x86-64 has ----

// Two taps of C-byte pixels: each output's two source pixels, zero-extended and paired channel by
// channel, meet its two weights in one multiply-add. The sums (below 2^23) are rounded and shifted
// as the plain loop does, then narrowed to 16 bits through a signed pack of value - 2^15.
template <int C>
__m128i pairedPixels(const uint8_t* p) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i wide = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
    return _mm_unpacklo_epi16(wide, _mm_srli_si128(wide, 2 * C));  // c0 c0' c1 c1' c2 c2' ...
}

// Four 32-bit sums of weights pair * paired pixels, rounded, shifted and biased by -2^15.
inline __m128i weighPair(__m128i paired, uint32_t pair) {
    const __m128i bias = _mm_set1_epi32((1 << (kAcrossShift - 1)) - (1 << (15 + kAcrossShift)));
    const __m128i sum = _mm_madd_epi16(paired, _mm_set1_epi32(static_cast<int32_t>(pair)));
    return _mm_srai_epi32(_mm_add_epi32(sum, bias), kAcrossShift);
}

// Outputs whose eight loaded source bytes lie inside the row: first grows with x.
int loadableOutputs(const Taps& taps, int inWidth, int channels, int outputs) {
    const int lastFirst = (inWidth * channels - 8) / channels;  // 8 bytes from lastFirst * C fit
    if (inWidth * channels < 8) return 0;
    return static_cast<int>(std::upper_bound(taps.first.begin(), taps.first.begin() + outputs, lastFirst) -
                            taps.first.begin());
}

// The bytes of the row resampled next that lie where the current row is being read.
inline void askForNext(const uint8_t* next, size_t offset) {
    if (next) _mm_prefetch(reinterpret_cast<const char*>(next + offset), _MM_HINT_T0);
}

template <int C>
int acrossSse2(const uint8_t* in, int inWidth, const Taps& taps, int outputs, uint16_t* out,
               const uint8_t* next) {
    const __m128i flip = _mm_set1_epi16(static_cast<int16_t>(0x8000));
    // Each pair of outputs stores 8 values at out + C * x and 8 at out + C * (x + 1): both must fit.
    const int stop = std::min(loadableOutputs(taps, inWidth, C, outputs), outputs - (C == 3 ? 2 : 0));
    const int32_t* first = taps.first.data();
    const uint32_t* pairs = taps.pairs.data();
    int x = 0;
    for (; x + 1 < stop; x += 2) {
        _mm_prefetch(reinterpret_cast<const char*>(in + C * static_cast<size_t>(first[x]) + kPrefetchAhead),
                     _MM_HINT_T0);
        askForNext(next, C * static_cast<size_t>(first[x]));
        const __m128i a = weighPair(pairedPixels<C>(in + C * static_cast<size_t>(first[x])), pairs[x]);
        const __m128i b =
            weighPair(pairedPixels<C>(in + C * static_cast<size_t>(first[x + 1])), pairs[x + 1]);
        const __m128i both = _mm_xor_si128(_mm_packs_epi32(a, b), flip);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + C * x), both);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + C * (x + 1)), _mm_unpackhi_epi64(both, both));
    }
    return x;
}

// Eight values at a time from value e on, their 32-bit sums kept in registers across the taps; the
// value where it stopped.
size_t downSse2(const uint16_t* const* rows, const int32_t* weights, int count, size_t e, size_t values,
                uint8_t* out) {
    const __m128i round = _mm_set1_epi32(1 << (kDownShift - 1));
    for (; e + 8 <= values; e += 8) {
        __m128i low = round, high = round;
        for (int t = 0; t < count; ++t) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + e));
            const __m128i w = _mm_set1_epi16(static_cast<int16_t>(weights[t]));
            const __m128i productLow = _mm_mullo_epi16(v, w), productHigh = _mm_mulhi_epu16(v, w);
            low = _mm_add_epi32(low, _mm_unpacklo_epi16(productLow, productHigh));
            high = _mm_add_epi32(high, _mm_unpackhi_epi16(productLow, productHigh));
        }
        // Shifted sums lie below 2^10: the saturating packs are the plain loop's clamp at 255.
        const __m128i words =
            _mm_packs_epi32(_mm_srli_epi32(low, kDownShift), _mm_srli_epi32(high, kDownShift));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + e), _mm_packus_epi16(words, words));
    }
    return e;
}

// ---- AVX2, when the CPU has it ----

// Output x's and x + 1's sums, one in each 128-bit lane. first and pairs are the taps' first source
// pixels and weight pairs.
__attribute__((target("avx2"))) inline __m256i weighPairs3Avx2(const uint8_t* in, const int32_t* first,
                                                               const uint32_t* pairs, int x) {
    // Per lane: one output's six source bytes, zero-extended and paired by channel.
    const __m256i order = _mm256_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1,  //
                                           0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1);
    const __m128i a =
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 3 * static_cast<size_t>(first[x])));
    const __m128i b =
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 3 * static_cast<size_t>(first[x + 1])));
    const __m256i pixels =
        _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1), order);
    const __m256i w = _mm256_inserti128_si256(_mm256_set1_epi32(static_cast<int32_t>(pairs[x])),
                                              _mm_set1_epi32(static_cast<int32_t>(pairs[x + 1])), 1);
    const __m256i bias = _mm256_set1_epi32((1 << (kAcrossShift - 1)) - (1 << (15 + kAcrossShift)));
    return _mm256_srai_epi32(_mm256_add_epi32(_mm256_madd_epi16(pixels, w), bias), kAcrossShift);
}

// Four outputs a step: lane one holds outputs x and x + 2, lane two x + 1 and x + 3.
__attribute__((target("avx2"))) int across3Avx2(const uint8_t* in, int inWidth, const Taps& taps, int outputs,
                                                uint16_t* out, const uint8_t* next) {
    const __m256i flip = _mm256_set1_epi16(static_cast<int16_t>(0x8000));
    const int stop = std::min(loadableOutputs(taps, inWidth, 3, outputs), outputs - 2);
    const int32_t* first = taps.first.data();
    const uint32_t* pairs = taps.pairs.data();
    int x = 0;
    for (; x + 3 < stop; x += 4) {
        _mm_prefetch(reinterpret_cast<const char*>(in + 3 * static_cast<size_t>(first[x]) + kPrefetchAhead),
                     _MM_HINT_T0);
        askForNext(next, 3 * static_cast<size_t>(first[x]));
        const __m256i both = _mm256_xor_si256(_mm256_packs_epi32(weighPairs3Avx2(in, first, pairs, x),
                                                                 weighPairs3Avx2(in, first, pairs, x + 2)),
                                              flip);
        const __m128i even = _mm256_castsi256_si128(both), odd = _mm256_extracti128_si256(both, 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * x), even);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * (x + 1)), odd);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * (x + 2)), _mm_unpackhi_epi64(even, even));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * (x + 3)), _mm_unpackhi_epi64(odd, odd));
    }
    return x;
}

// Sixteen values a step, as downSse2 does eight.
__attribute__((target("avx2"))) size_t downAvx2(const uint16_t* const* rows, const int32_t* weights,
                                                int count, size_t values, uint8_t* out) {
    const __m256i round = _mm256_set1_epi32(1 << (kDownShift - 1));
    size_t e = 0;
    for (; e + 16 <= values; e += 16) {
        __m256i low = round, high = round;
        for (int t = 0; t < count; ++t) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[t] + e));
            const __m256i w = _mm256_set1_epi16(static_cast<int16_t>(weights[t]));
            const __m256i productLow = _mm256_mullo_epi16(v, w), productHigh = _mm256_mulhi_epu16(v, w);
            low = _mm256_add_epi32(low, _mm256_unpacklo_epi16(productLow, productHigh));
            high = _mm256_add_epi32(high, _mm256_unpackhi_epi16(productLow, productHigh));
        }
        // The packs work within lanes, so they restore the values' order.
        const __m256i words =
            _mm256_packs_epi32(_mm256_srli_epi32(low, kDownShift), _mm256_srli_epi32(high, kDownShift));
        const __m256i bytes = _mm256_packus_epi16(words, words);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + e),
                         _mm256_castsi256_si128(_mm256_permute4x64_epi64(bytes, _MM_SHUFFLE(3, 1, 2, 0))));
    }
    return e;
}

inline __m128i load32(const uint8_t* p) {
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return _mm_cvtsi32_si128(v);
}

// Four pixels a step: four bytes loaded for each, their first three packed into twelve bytes and
// stored as sixteen, the last four overwritten by the next step. The outputs it did.
__attribute__((target("avx2"))) int gatherAvx2(const uint8_t* in, int inWidth, const int* columns,
                                               int outputs, uint8_t* out) {
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    // Loads need a source pixel after the one read, stores four bytes past the fourth pixel.
    const int readable = static_cast<int>(
        std::lower_bound(columns, columns + std::max(0, outputs - 1), inWidth - 1) - columns);
    const int stop = std::min(readable, outputs - 2);
    int x = 0;
    for (; x + 4 <= stop; x += 4) {
        _mm_prefetch(reinterpret_cast<const char*>(in + 3 * static_cast<size_t>(columns[x]) + kPrefetchAhead),
                     _MM_HINT_T0);
        const __m128i ab = _mm_unpacklo_epi32(load32(in + 3 * static_cast<size_t>(columns[x])),
                                              load32(in + 3 * static_cast<size_t>(columns[x + 1])));
        const __m128i cd = _mm_unpacklo_epi32(load32(in + 3 * static_cast<size_t>(columns[x + 2])),
                                              load32(in + 3 * static_cast<size_t>(columns[x + 3])));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * static_cast<size_t>(x)),
                         _mm_shuffle_epi8(_mm_unpacklo_epi64(ab, cd), pack));
    }
    return x;
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#endif  // PIXMILL_RESAMPLE_X86

// The outputs the vector forms did, from the start of the row.
int acrossVector(int channels, const uint8_t* in, int inWidth, const Taps& taps, int outputs, uint16_t* out,
                 RowLoops loops, const uint8_t* next) {
#ifdef PIXMILL_RESAMPLE_X86
    if (!twoEach(taps) || taps.pairs.size() != taps.first.size()) return 0;
    if (channels == 3) {
        return loops == RowLoops::Avx2 && hasAvx2() ? across3Avx2(in, inWidth, taps, outputs, out, next)
                                                    : acrossSse2<3>(in, inWidth, taps, outputs, out, next);
    }
    if (channels == 4) return acrossSse2<4>(in, inWidth, taps, outputs, out, next);
#else
    (void)channels, (void)in, (void)inWidth, (void)taps, (void)outputs, (void)out, (void)loops, (void)next;
#endif
    return 0;
}

}  // namespace

RowLoops fastestRowLoops() {
#ifdef PIXMILL_RESAMPLE_X86
    return hasAvx2() ? RowLoops::Avx2 : RowLoops::Sse2;
#else
    return RowLoops::Plain;
#endif
}

bool runs(RowLoops loops) {
#ifdef PIXMILL_RESAMPLE_X86
    return loops != RowLoops::Avx2 || hasAvx2();
#else
    return loops == RowLoops::Plain;
#endif
}

void weighAcross(int channels, const uint8_t* in, int inWidth, const Taps& taps, int outputs, uint16_t* out,
                 RowLoops loops, const uint8_t* next) {
    const int done =
        loops == RowLoops::Plain ? 0 : acrossVector(channels, in, inWidth, taps, outputs, out, loops, next);
    acrossPlainChannels(channels, in, taps, done, outputs, out);
}

void weighDown(const uint16_t* const* rows, const int32_t* weights, int count, size_t values, uint32_t* sums,
               uint8_t* out, RowLoops loops) {
    size_t done = 0;
#ifdef PIXMILL_RESAMPLE_X86
    if (loops == RowLoops::Avx2 && hasAvx2()) done = downAvx2(rows, weights, count, values, out);
    if (loops != RowLoops::Plain) done = downSse2(rows, weights, count, done, values, out);
#endif
    downPlain(rows, weights, count, done, values, sums, out);
}

void gather24(const uint8_t* in, int inWidth, const int* columns, int outputs, uint8_t* out, RowLoops loops) {
#ifdef PIXMILL_RESAMPLE_X86
    if (loops == RowLoops::Avx2 && hasAvx2()) {
        gatherPlain(in, inWidth, columns, gatherAvx2(in, inWidth, columns, outputs, out), outputs, out);
        return;
    }
#endif
    if (loops == RowLoops::Plain) {
        gatherPlain(in, inWidth, columns, 0, outputs, out);
    } else {
        gatherAhead(in, inWidth, columns, outputs, out);
    }
}

}  // namespace pixmill::resample
