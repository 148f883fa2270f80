#include <cstdint>
#include <cstdlib>
#include <limits>

#include "winplat/base.h"

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    // Round half away from zero: add half the divisor's magnitude to the magnitude of the product.
    const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
    const uint64_t divisor = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(c)));
    const uint64_t quotient = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    if (quotient > limit) return -1;
    const int64_t result = negative ? -static_cast<int64_t>(quotient) : static_cast<int64_t>(quotient);
    return static_cast<int>(result);
}
