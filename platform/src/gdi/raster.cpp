#include "gdi/raster.h"

#include <cstring>

namespace winplat::gdi {
namespace {

// The general case: the OR of the minterms the index sets, each the AND of the three inputs or
// their complements.
void evaluate(uint8_t index, const uint32_t* pattern, const uint32_t* source, uint32_t* dest, size_t count) {
    int terms[8];
    int termCount = 0;
    for (int k = 0; k < 8; ++k) {
        if (index & (1 << k)) terms[termCount++] = k;
    }
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = pattern ? pattern[i] : 0;
        const uint32_t s = source ? source[i] : 0;
        const uint32_t d = dest[i];
        uint32_t result = 0;
        for (int t = 0; t < termCount; ++t) {
            const int k = terms[t];
            result |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
        }
        dest[i] = result;
    }
}

template <class Op>
void eachPixel(uint32_t* dest, size_t count, Op op) {
    for (size_t i = 0; i < count; ++i) dest[i] = op(i, dest[i]);
}

}  // namespace

uint8_t ternaryFromRop2(int rop2) {
    if (rop2 < 1 || rop2 > 16) return 0;
    // Bit (2p + d) of rop2 - 1 is the result for pen bit p and destination bit d; the source
    // takes no part, so both halves of each pattern nibble agree.
    const int table = rop2 - 1;
    uint8_t index = 0;
    for (int k = 0; k < 8; ++k) {
        const int p = (k >> 2) & 1;
        const int d = k & 1;
        if ((table >> (2 * p + d)) & 1) index = static_cast<uint8_t>(index | (1 << k));
    }
    return index;
}

void applyRop(uint8_t index, const uint32_t* pattern, const uint32_t* source, uint32_t* dest, size_t count) {
    switch (index) {
        case 0xCC:  // SRCCOPY
            std::memcpy(dest, source, count * sizeof(uint32_t));
            return;
        case 0x88:  // SRCAND
            return eachPixel(dest, count, [&](size_t i, uint32_t d) { return d & source[i]; });
        case 0xEE:  // SRCPAINT
            return eachPixel(dest, count, [&](size_t i, uint32_t d) { return d | source[i]; });
        case 0x66:  // SRCINVERT
            return eachPixel(dest, count, [&](size_t i, uint32_t d) { return d ^ source[i]; });
        case 0x33:  // NOTSRCCOPY
            return eachPixel(dest, count, [&](size_t i, uint32_t) { return ~source[i]; });
        case 0xF0:  // PATCOPY
            std::memcpy(dest, pattern, count * sizeof(uint32_t));
            return;
        case 0x5A:  // PATINVERT
            return eachPixel(dest, count, [&](size_t i, uint32_t d) { return d ^ pattern[i]; });
        case 0x00:  // BLACKNESS
            std::memset(dest, 0, count * sizeof(uint32_t));
            return;
        case 0xFF:  // WHITENESS
            std::memset(dest, 0xFF, count * sizeof(uint32_t));
            return;
        case 0x55:  // DSTINVERT
            return eachPixel(dest, count, [](size_t, uint32_t d) { return ~d; });
        case 0xAA:  // the destination as it is
            return;
        default:
            evaluate(index, pattern, source, dest, count);
            return;
    }
}

void readValues(const uint8_t* row, int bitsPerPixel, int x, int count, uint32_t* out) {
    switch (bitsPerPixel) {
        case 1:
            for (int i = 0; i < count; ++i) {
                const int c = x + i;
                out[i] = (row[c >> 3] >> (7 - (c & 7))) & 1u;
            }
            return;
        case 4:
            for (int i = 0; i < count; ++i) {
                const int c = x + i;
                out[i] = (row[c >> 1] >> ((c & 1) ? 0 : 4)) & 0xFu;
            }
            return;
        case 8:
            for (int i = 0; i < count; ++i) out[i] = row[x + i];
            return;
        case 16: {
            const uint8_t* p = row + 2 * static_cast<size_t>(x);
            for (int i = 0; i < count; ++i, p += 2) out[i] = p[0] | (uint32_t{p[1]} << 8);
            return;
        }
        case 24: {
            const uint8_t* p = row + 3 * static_cast<size_t>(x);
            for (int i = 0; i < count; ++i, p += 3)
                out[i] = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
            return;
        }
        default:
            std::memcpy(out, row + 4 * static_cast<size_t>(x), static_cast<size_t>(count) * 4);
            return;
    }
}

void gatherValues(const uint8_t* row, int bitsPerPixel, const int* columns, int count, uint32_t* out) {
    switch (bitsPerPixel) {
        case 1:
            for (int i = 0; i < count; ++i) {
                const int c = columns[i];
                out[i] = (row[c >> 3] >> (7 - (c & 7))) & 1u;
            }
            return;
        case 4:
            for (int i = 0; i < count; ++i) {
                const int c = columns[i];
                out[i] = (row[c >> 1] >> ((c & 1) ? 0 : 4)) & 0xFu;
            }
            return;
        case 8:
            for (int i = 0; i < count; ++i) out[i] = row[columns[i]];
            return;
        case 16:
            for (int i = 0; i < count; ++i) {
                const uint8_t* p = row + 2 * static_cast<size_t>(columns[i]);
                out[i] = p[0] | (uint32_t{p[1]} << 8);
            }
            return;
        case 24:
            for (int i = 0; i < count; ++i) {
                const uint8_t* p = row + 3 * static_cast<size_t>(columns[i]);
                out[i] = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
            }
            return;
        default:
            for (int i = 0; i < count; ++i)
                std::memcpy(&out[i], row + 4 * static_cast<size_t>(columns[i]), 4);
            return;
    }
}

void writeValues(uint8_t* row, int bitsPerPixel, int x, int count, const uint32_t* values) {
    switch (bitsPerPixel) {
        case 1:
            for (int i = 0; i < count; ++i) {
                const int c = x + i;
                const auto bit = static_cast<uint8_t>(0x80u >> (c & 7));
                row[c >> 3] =
                    static_cast<uint8_t>((values[i] & 1u) ? (row[c >> 3] | bit) : (row[c >> 3] & ~bit));
            }
            return;
        case 4:
            for (int i = 0; i < count; ++i) {
                const int c = x + i;
                uint8_t& byte = row[c >> 1];
                byte = (c & 1) ? static_cast<uint8_t>((byte & 0xF0) | (values[i] & 0xF))
                               : static_cast<uint8_t>((byte & 0x0F) | ((values[i] & 0xF) << 4));
            }
            return;
        case 8:
            for (int i = 0; i < count; ++i) row[x + i] = static_cast<uint8_t>(values[i]);
            return;
        case 16: {
            uint8_t* p = row + 2 * static_cast<size_t>(x);
            for (int i = 0; i < count; ++i, p += 2) {
                p[0] = static_cast<uint8_t>(values[i]);
                p[1] = static_cast<uint8_t>(values[i] >> 8);
            }
            return;
        }
        case 24: {
            uint8_t* p = row + 3 * static_cast<size_t>(x);
            for (int i = 0; i < count; ++i, p += 3) {
                p[0] = static_cast<uint8_t>(values[i]);
                p[1] = static_cast<uint8_t>(values[i] >> 8);
                p[2] = static_cast<uint8_t>(values[i] >> 16);
            }
            return;
        }
        default:
            std::memcpy(row + 4 * static_cast<size_t>(x), values, static_cast<size_t>(count) * 4);
            return;
    }
}

}  // namespace winplat::gdi
