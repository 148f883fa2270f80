// The table of companions inside a document (record type 14) under fuzzing: parsed as a body, it
// is taken whole or refused whole. Taken, each entry found is present (base not 0) and within the
// ten kept; refused, no entry is found. Seeds: tables of none, one, ten and twelve entries.
#include <cstdint>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "store/companion_files.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

FuzzBytes table(uint16_t count, const std::vector<std::pair<uint32_t, uint32_t>>& entries) {
    FuzzBytes b{0, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)};
    for (const auto& [base, size] : entries)
        for (const uint32_t v : {base, size})
            for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;  // the refusals of damaged tables
    lect32::CompanionTable companions;
    const bool taken = companions.Parse({data, size});
    const uint16_t count = size >= 3 ? static_cast<uint16_t>(data[1] | data[2] << 8) : 0;
    check(!taken || size >= 3 + size_t{count} * 8);
    for (int n = -1; n <= lect32::CompanionTable::kEntries; ++n) {
        const auto place = companions.Find(n);
        if (!place) continue;
        check(taken && n >= 0 && n < lect32::CompanionTable::kEntries && n < count);
        check(place->base != 0);
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<std::pair<uint32_t, uint32_t>> twelve;
    for (uint32_t n = 0; n < 12; ++n) twelve.push_back({n ? 4096 * n : 0, 100 + n});
    return {table(0, {}), table(3, {{0, 0}, {80000, 5000}, {85000, 120}}), table(10, {twelve.begin(), twelve.begin() + 10}),
            table(12, twelve)};
}
