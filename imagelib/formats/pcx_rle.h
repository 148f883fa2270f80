// The run-length scheme of PCX lines: a byte with both top bits set counts (low six bits) the
// repeats of the byte after it; any other byte stands for itself.
#ifndef PIXMILL_FORMATS_PCX_RLE_H
#define PIXMILL_FORMATS_PCX_RLE_H

#include <cstdint>
#include <span>
#include <vector>

#include "formats/buffered_input.h"

namespace pixmill {

// The most bytes one run can give.
constexpr uint64_t kLongestPcxRun = 63;

// Fills the whole line from the input. Each line is packed by itself: a run reaching past the
// line's end is cut there and the rest of it dropped. False when the input ends first.
bool decodePcxLine(BufferedInput& in, std::span<uint8_t> line);

// Appends the packed line. A run of k equal bytes becomes a count of k - 1 and the byte, and its
// last byte starts the next step (so three equal bytes X give C2 X X); single bytes of 0xC0 and
// above are escaped with a count of one. The byte after the line counts as 0, so the output
// depends on the line alone.
void encodePcxLine(std::span<const uint8_t> line, std::vector<uint8_t>& out);

}  // namespace pixmill

#endif
