// Font files renamed to a family no system font has, so that a test can tell a font it added
// itself from every other: the sfnt file with its name table replaced.
#ifndef TESTS_SUPPORT_SFNT_NAMES_H
#define TESTS_SUPPORT_SFNT_NAMES_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fonttest {

// Big-endian fields of an sfnt file.
inline uint32_t read32(const std::string& b, size_t at) {
    return (uint32_t{static_cast<uint8_t>(b.at(at))} << 24) | (uint32_t{static_cast<uint8_t>(b.at(at + 1))} << 16) |
           (uint32_t{static_cast<uint8_t>(b.at(at + 2))} << 8) | uint32_t{static_cast<uint8_t>(b.at(at + 3))};
}
inline uint16_t read16(const std::string& b, size_t at) {
    return static_cast<uint16_t>((static_cast<uint8_t>(b.at(at)) << 8) | static_cast<uint8_t>(b.at(at + 1)));
}
inline void put16(std::string& b, uint32_t v) {
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
    b.push_back(static_cast<char>(v & 0xFF));
}
inline void put32(std::string& b, uint32_t v) {
    put16(b, v >> 16);
    put16(b, v & 0xFFFF);
}
inline void set32(std::string& b, size_t at, uint32_t v) {
    std::string bytes;
    put32(bytes, v);
    b.replace(at, 4, bytes);
}

// The sum of the big-endian 32-bit words of the bytes, zero-padded to a whole word.
inline uint32_t checksum(const std::string& bytes) {
    std::string padded = bytes;
    padded.resize((padded.size() + 3) / 4 * 4, '\0');
    uint32_t sum = 0;
    for (size_t at = 0; at < padded.size(); at += 4) sum += read32(padded, at);
    return sum;
}

// A format 0 name table with Windows Unicode (3, 1, US English) names: family (1), subfamily (2),
// full name (4) and PostScript name (6), all ASCII.
inline std::string nameTable(const std::string& family, const std::string& subfamily) {
    std::string postscript;
    for (const char c : family + "-" + subfamily) {
        if (c != ' ') postscript.push_back(c);
    }
    const std::vector<std::pair<uint16_t, std::string>> names = {
        {1, family}, {2, subfamily}, {4, family + " " + subfamily}, {6, postscript}};
    std::string table;
    put16(table, 0);                                          // format
    put16(table, static_cast<uint32_t>(names.size()));        // count
    put16(table, static_cast<uint32_t>(6 + 12 * names.size()));  // string storage offset
    std::string strings;
    for (const auto& [id, text] : names) {
        put16(table, 3);       // platform: Windows
        put16(table, 1);       // encoding: Unicode BMP
        put16(table, 0x0409);  // language: US English
        put16(table, id);
        put16(table, static_cast<uint32_t>(text.size() * 2));
        put16(table, static_cast<uint32_t>(strings.size()));
        for (const char c : text) put16(strings, static_cast<uint8_t>(c));
    }
    return table + strings;
}

// The sfnt file with its name table replaced, the tables laid out afresh on 4-byte boundaries, each
// table's checksum and the head table's whole-file adjustment worked out again.
inline std::string withNameTable(const std::string& font, const std::string& name) {
    const uint16_t count = read16(font, 4);
    std::map<uint32_t, std::string> tables;  // by tag, the order the directory keeps
    for (uint16_t i = 0; i < count; ++i) {
        const size_t record = 12 + 16 * size_t{i};
        const uint32_t tag = read32(font, record);
        tables[tag] = font.substr(read32(font, record + 8), read32(font, record + 12));
    }
    constexpr uint32_t kName = 0x6E616D65, kHead = 0x68656164;
    tables[kName] = name;
    set32(tables.at(kHead), 8, 0);  // checkSumAdjustment, left out of every sum
    std::string out = font.substr(0, 12);
    std::string data;
    size_t offset = 12 + 16 * tables.size();
    size_t headOffset = 0;
    for (const auto& [tag, bytes] : tables) {
        put32(out, tag);
        put32(out, checksum(bytes));
        put32(out, static_cast<uint32_t>(offset));
        put32(out, static_cast<uint32_t>(bytes.size()));
        if (tag == kHead) headOffset = offset;
        std::string padded = bytes;
        padded.resize((padded.size() + 3) / 4 * 4, '\0');
        data += padded;
        offset += padded.size();
    }
    out += data;
    set32(out, headOffset + 8, 0xB1B0AFBA - checksum(out));
    return out;
}

}  // namespace fonttest

#endif
