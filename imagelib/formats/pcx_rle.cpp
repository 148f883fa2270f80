#include "formats/pcx_rle.h"

#include <algorithm>
#include <cstring>

namespace pixmill {
namespace {

constexpr uint8_t kCountMark = 0xC0;
constexpr size_t kLongestRun = kLongestPcxRun;

}  // namespace

bool decodePcxLine(BufferedInput& in, std::span<uint8_t> line) {
    size_t filled = 0;
    while (filled < line.size()) {
        uint8_t b;
        if (!in.byte(b)) return false;
        if ((b & kCountMark) != kCountMark) {
            line[filled++] = b;
            continue;
        }
        uint8_t value;
        if (!in.byte(value)) return false;
        const size_t count = std::min<size_t>(b & 0x3F, line.size() - filled);
        std::memset(line.data() + filled, value, count);
        filled += count;
    }
    return true;
}

void encodePcxLine(std::span<const uint8_t> line, std::vector<uint8_t>& out) {
    const size_t n = line.size();
    auto at = [&](size_t i) -> uint8_t { return i < n ? line[i] : 0; };
    size_t i = 0;
    while (i < n) {
        size_t a = 0;
        while (i + a < n && a < kLongestRun && at(i + a) == at(i + a + 1)) ++a;
        if (a > 0) {
            out.push_back(static_cast<uint8_t>(kCountMark | a));
            out.push_back(line[i]);
            i += a;
        } else {
            if ((line[i] & kCountMark) == kCountMark) out.push_back(kCountMark | 1);
            out.push_back(line[i]);
            ++i;
        }
    }
}

}  // namespace pixmill
