// Compiled program files for tests and fuzz seeds.
#ifndef TESTS_DRAFTING_SUPPORT_COMPILED_PROGRAM_H
#define TESTS_DRAFTING_SUPPORT_COMPILED_PROGRAM_H

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "script/script_loader.h"

namespace linework::test {

// The compiled form, written as the exact inverse of the loader's decoding: a header, the key
// table, the check count (the sum of all characters) XOR-ed with table entries 24, 16, 8, 0, then
// each line's length and characters chained through the table.
inline std::string Compile(const std::vector<std::string>& lines, uint32_t seed) {
    std::mt19937 random(seed);
    std::array<uint8_t, 256> table{};
    for (auto& entry : table) entry = static_cast<uint8_t>(random());
    std::string out;
    out += static_cast<char>(kCompiledMark);  // the header: its length byte is the mark itself
    out.append(kCompiledMark, 'h');
    for (uint8_t entry : table) out += static_cast<char>(entry);
    uint32_t count = 0;
    for (const std::string& line : lines)
        for (char c : line) count += static_cast<uint8_t>(c);
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(((count >> shift) & 0xFF) ^ table[static_cast<size_t>(shift)]);
    uint8_t c = 0;
    for (uint8_t entry : table)
        if ((entry & 1) || entry > 0x7F) c ^= entry;
    uint8_t d = table[57];
    for (const std::string& line : lines) {
        auto length = static_cast<uint8_t>(line.size());
        out += static_cast<char>(d ^ c ^ length);
        d = length;
        c = table[c];
        for (size_t k = 1; k <= line.size(); ++k) {
            auto ch = static_cast<uint8_t>(line[k - 1]);
            out += static_cast<char>(d ^ c ^ ch);
            d = ch;
            c = table[(c + k) & 0xFF];
        }
    }
    return out;
}

}  // namespace linework::test

#endif
