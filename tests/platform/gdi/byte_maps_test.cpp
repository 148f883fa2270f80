// The code page tables fonts map bytes with.
#include <gtest/gtest.h>

#include "text/byte_maps.h"

namespace {

using winplat::text::ByteMap;
using winplat::text::characterOf;

struct ByteCase {
    ByteMap map;
    uint8_t byte;
    char32_t character;  // 0: the byte stands for nothing
};

// Both ends of each table and the bytes where the code pages differ.
const ByteCase kCases[] = {
    {ByteMap::Cp1250, 'A', U'A'},         {ByteMap::Cp1250, 0x8E, 0x017D},      {ByteMap::Cp1250, 0xF8, 0x0159},
    {ByteMap::Cp1250, 0x81, 0},           {ByteMap::Cp1250, 0x98, 0},           {ByteMap::Cp1252, 0x7F, 0x7F},
    {ByteMap::Cp1252, 0x80, 0x20AC},      {ByteMap::Cp1252, 0x81, 0},           {ByteMap::Cp1252, 0x8E, 0x017D},
    {ByteMap::Cp1252, 0x9D, 0},           {ByteMap::Cp1252, 0x9F, 0x0178},      {ByteMap::Cp1252, 0xA0, 0xA0},
    {ByteMap::Cp1252, 0xF8, 0xF8},        {ByteMap::Cp1252, 0xFF, 0xFF},        {ByteMap::Cp1251, 0x7F, 0x7F},
    {ByteMap::Cp1251, 0x80, 0x0402},      {ByteMap::Cp1251, 0x98, 0},           {ByteMap::Cp1251, 0x9F, 0x045F},
    {ByteMap::Cp1251, 0xA8, 0x0401},      {ByteMap::Cp1251, 0xB9, 0x2116},      {ByteMap::Cp1251, 0xBF, 0x0457},
    {ByteMap::Cp1251, 0xC0, 0x0410},      {ByteMap::Cp1251, 0xFF, 0x044F},      {ByteMap::Wingdings, 0x20, U' '},
    {ByteMap::Wingdings, 0x6C, 0x25CF},   {ByteMap::Wingdings, 0x9F, 0x2022},   {ByteMap::Wingdings, 0xA7, 0x25AA},
    {ByteMap::Wingdings, 0xD8, 0x27A2},   {ByteMap::Wingdings, 0xFC, 0x2713},   {ByteMap::Wingdings, 0xFE, 0x2611},
    {ByteMap::Wingdings, 0x21, 0},        {ByteMap::Wingdings, 0xFF, 0},        {ByteMap::Symbol, 0x61, 0},
};

TEST(ByteMaps, MapBytesAsTheCodePagesDo) {
    for (const ByteCase& c : kCases)
        EXPECT_EQ(characterOf(c.map, c.byte), c.character)
            << "map " << static_cast<int>(c.map) << " byte 0x" << std::hex << int{c.byte};
}

TEST(ByteMaps, Cp1252AndCp1251AgreeOnAsciiAndPartAboveIt) {
    int differing = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<uint8_t>(byte);
        if (byte < 0x80) {
            EXPECT_EQ(characterOf(ByteMap::Cp1251, b), characterOf(ByteMap::Cp1252, b)) << byte;
        } else if (characterOf(ByteMap::Cp1251, b) != characterOf(ByteMap::Cp1252, b)) {
            ++differing;
        }
    }
    // The Cyrillic letters (0xC0..0xFF and 30 more) and the few other places the pages differ.
    EXPECT_GE(differing, 64 + 30);
}

}  // namespace
