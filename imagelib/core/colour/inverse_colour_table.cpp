#include "core/colour/inverse_colour_table.h"

#include <algorithm>
#include <list>
#include <mutex>
#include <vector>

namespace pixmill {
namespace {

constexpr size_t kCachedTables = 4;

struct CachedTable {
    std::vector<uint32_t> key;  // the palette's colours, one packed word an entry
    std::shared_ptr<const InverseColourTable> table;
};

std::mutex& cacheMutex() {
    static std::mutex mutex;
    return mutex;
}

std::list<CachedTable>& cache() {
    static std::list<CachedTable> tables;
    return tables;
}

std::vector<uint32_t> keyOf(std::span<const RGBQUAD> palette) {
    std::vector<uint32_t> key(palette.size());
    for (size_t i = 0; i < palette.size(); ++i)
        key[i] = (uint32_t{palette[i].rgbRed} << 16) | (uint32_t{palette[i].rgbGreen} << 8) | palette[i].rgbBlue;
    return key;
}

// Position of the first least value: the lowest index among equally near entries.
inline int firstLeast(const int32_t* distances, int count) {
    int32_t least = distances[0];
    for (int i = 1; i < count; ++i) least = std::min(least, distances[i]);
    int i = 0;
    while (distances[i] != least) ++i;
    return i;
}

// Exhaustive, so it gives exactly the nearest rule; the green and blue part of each distance is
// shared by the 32 red cells of a line, and both inner loops vectorise.
std::shared_ptr<InverseColourTable> buildTable(std::span<const RGBQUAD> palette) {
    auto table = std::make_shared<InverseColourTable>();
    const int count = static_cast<int>(palette.size());
    if (count == 0) {
        table->fill(0);
        return table;
    }
    int32_t red[256], greenBlue[256], distances[256];
    for (int i = 0; i < count; ++i) red[i] = palette[i].rgbRed;
    for (int b = 0; b < 16; ++b) {
        for (int g = 0; g < 32; ++g) {
            for (int i = 0; i < count; ++i) {
                const int32_t dg = 8 * g - palette[i].rgbGreen;
                const int32_t db = 16 * b - palette[i].rgbBlue;
                greenBlue[i] = dg * dg + db * db;
            }
            uint8_t* line = table->data() + b * 1024 + g * 32;
            for (int r = 0; r < 32; ++r) {
                for (int i = 0; i < count; ++i) {
                    const int32_t dr = 8 * r - red[i];
                    distances[i] = greenBlue[i] + dr * dr;
                }
                line[r] = static_cast<uint8_t>(firstLeast(distances, count));
            }
        }
    }
    return table;
}

}  // namespace

uint8_t nearestPaletteIndex(std::span<const RGBQUAD> palette, int r, int g, int b) {
    int best = 0;
    int32_t bestDistance = INT32_MAX;
    for (size_t i = 0; i < palette.size() && i < 256; ++i) {
        const int32_t dr = r - palette[i].rgbRed;
        const int32_t dg = g - palette[i].rgbGreen;
        const int32_t db = b - palette[i].rgbBlue;
        const int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

std::shared_ptr<const InverseColourTable> inverseColourTableFor(std::span<const RGBQUAD> palette) {
    if (palette.size() > 256) palette = palette.first(256);
    std::vector<uint32_t> key = keyOf(palette);
    {
        std::lock_guard lock(cacheMutex());
        auto& tables = cache();
        auto found = std::find_if(tables.begin(), tables.end(), [&](const CachedTable& t) { return t.key == key; });
        if (found != tables.end()) {
            tables.splice(tables.begin(), tables, found);
            return found->table;
        }
    }
    std::shared_ptr<const InverseColourTable> table = buildTable(palette);
    std::lock_guard lock(cacheMutex());
    auto& tables = cache();
    tables.push_front(CachedTable{std::move(key), table});
    if (tables.size() > kCachedTables) tables.pop_back();
    return table;
}

}  // namespace pixmill
