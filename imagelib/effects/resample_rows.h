// The resampler's row loops, each in a plain form and in vector forms that give the same bytes.
// The plain loops are the reference: the vector forms must match them bit for bit.
#ifndef PIXMILL_EFFECTS_RESAMPLE_ROWS_H
#define PIXMILL_EFFECTS_RESAMPLE_ROWS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixmill::resample {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
// Across-resampled values keep 8 fraction bits, so two passes round once in the end.
constexpr int kAcrossShift = kWeightBits - 8;
constexpr int kDownShift = kWeightBits + 8;

// For each output pixel along one axis: the source pixels [first, first + count) and their weights
// (each in [0, kWeightOne], summing to kWeightOne), stored in rows of 'width' weights.
struct Taps {
    int width = 1;
    std::vector<int32_t> first;
    std::vector<int32_t> count;
    std::vector<int32_t> weights;
    // With two taps each: both weights of each output in 32 bits, the first in the low half, for
    // the vector loops (filled by pairUp).
    std::vector<uint32_t> pairs;

    explicit Taps(int outputs, int tapsEach)
        : width(tapsEach),
          first(static_cast<size_t>(outputs)),
          count(static_cast<size_t>(outputs)),
          weights(static_cast<size_t>(outputs) * static_cast<size_t>(tapsEach)) {}
    const int32_t* weightsOf(int i) const {
        return &weights[static_cast<size_t>(i) * static_cast<size_t>(width)];
    }
    void pairUp() {
        pairs.resize(first.size());
        for (size_t i = 0; width == 2 && i < pairs.size(); ++i)
            pairs[i] =
                static_cast<uint32_t>(weights[2 * i]) | (static_cast<uint32_t>(weights[2 * i + 1]) << 16);
    }
};

// Which form of the loops runs. Vector forms a CPU lacks fall back to the next one it has.
enum class RowLoops { Plain, Sse2, Avx2 };

// The fastest form this CPU runs.
RowLoops fastestRowLoops();

// Whether this CPU (and this build) runs the form itself rather than a fallback.
bool runs(RowLoops loops);

// One source row of C bytes a pixel (C of 1, 3 or 4; inWidth pixels) resampled across into
// outputs x C values with 8 fraction bits. next, when not null, is the row resampled after this
// one: the vector forms ask for its bytes while they read this row, so it is at hand when its turn
// comes (a hint that changes no result).
void weighAcross(int channels, const uint8_t* in, int inWidth, const Taps& taps, int outputs, uint16_t* out,
                 RowLoops loops, const uint8_t* next = nullptr);

// One output row of 'values' bytes from the across-resampled rows it needs, weighed by 'count'
// weights. sums holds 'values' scratch entries.
void weighDown(const uint16_t* const* rows, const int32_t* weights, int count, size_t values, uint32_t* sums,
               uint8_t* out, RowLoops loops);

// Nearest pixel of a 24-bit row: output x is source pixel columns[x] (each below inWidth).
void gather24(const uint8_t* in, int inWidth, const int* columns, int outputs, uint8_t* out, RowLoops loops);

}  // namespace pixmill::resample

#endif
