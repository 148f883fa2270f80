// The table of a document's embedded fonts (record type 7 of its companion font file) under
// fuzzing: the first byte is the record version, the rest the body. Taken, the count is at most
// 128 and the body held every entry (and the flags from version 2); only the first 64 entries
// are found; refused, nothing is found. Seeds: tables of none, one, 64, 65 and 128 fonts in both
// versions, and one of 129.
#include <cstdint>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "store/mem_reader.h"
#include "text/embedded_font_table.h"

namespace {

using lect32::EmbeddedFontTable;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

FuzzBytes table(uint8_t version, uint16_t count) {
    FuzzBytes b{version, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)};
    for (uint16_t n = 0; n < count; ++n)
        b.insert(b.end(), {70, 0, 238, 7, 0x22, static_cast<uint8_t>(n), 3, static_cast<uint8_t>(n & 1)});
    if (version >= 2)
        for (uint16_t n = 0; n < count; ++n) b.push_back(n % 3 ? 0x02 : 0);
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QuietInput quiet;  // the refusals of damaged tables
    lect32::MemReader reader;
    reader.LoadFromMemory(data + 1, static_cast<uint32_t>(size - 1));
    EmbeddedFontTable fonts;
    const bool taken = fonts.Read(reader, data[0]);
    const size_t count = fonts.count();
    check(taken || count == 0);
    check(count <= EmbeddedFontTable::kMaxFonts);
    check(!taken || size - 3 >= count * (data[0] >= 2 ? 9 : 8));
    for (int n = -1; n <= EmbeddedFontTable::kMaxFonts; ++n) {
        const lect32::EmbeddedFontEntry* entry = fonts.Entry(n);
        check(!entry || (n >= 0 && n < EmbeddedFontTable::kKeptEntries && static_cast<size_t>(n) < count));
        check(fonts.Flags(n) == 0 || (n >= 0 && static_cast<size_t>(n) < count));
        // A kept entry with a whole key (italic 0 or 1, a font) is found by it.
        if (entry && entry->keyItalic <= 1 && entry->font != EmbeddedFontTable::kNotInstalled)
            check(fonts.Find(entry->font, entry->weightClass, entry->keyItalic != 0) != nullptr);
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    for (const uint8_t version : {1, 2})
        for (const uint16_t count : {0, 1, 64, 65, 128}) seeds.push_back(table(version, count));
    seeds.push_back(table(2, 129));
    return seeds;
}
