#include "script/binary_values.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "drawing/number_input.h"

namespace linework {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

template <class T>
void AppendLittleEndian(std::string& out, T value) {
    static_assert(std::endian::native == std::endian::little, "the host is little-endian");
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof bytes);
    out.append(bytes, sizeof bytes);
}

template <class T>
double Load(std::string_view bytes) {
    T value;
    std::memcpy(&value, bytes.data(), sizeof value);
    return static_cast<double>(value);
}

}  // namespace

std::optional<BinaryWidth> ParseBinaryWidth(std::string_view word) {
    struct Name {
        std::string_view text;
        BinaryWidth width;
    };
    static constexpr Name kNames[] = {
        {"1", BinaryWidth::U8},  {"2", BinaryWidth::U16},  {"4", BinaryWidth::U32},    {"-1", BinaryWidth::S8},
        {"-2", BinaryWidth::S16}, {"-4", BinaryWidth::S32}, {"s", BinaryWidth::Single}, {"d", BinaryWidth::Double},
    };
    for (const Name& name : kNames)
        if (name.text == word) return name.width;
    return std::nullopt;
}

size_t BinaryWidthBytes(BinaryWidth width) {
    switch (width) {
        case BinaryWidth::U8:
        case BinaryWidth::S8: return 1;
        case BinaryWidth::U16:
        case BinaryWidth::S16: return 2;
        case BinaryWidth::U32:
        case BinaryWidth::S32:
        case BinaryWidth::Single: return 4;
        case BinaryWidth::Double: return 8;
    }
    return 8;
}

void AppendBinary(std::string& out, BinaryWidth width, double value) {
    // 32 bits as the script's numbers have them (2^31..2^32-1 wrap), then the width's low bytes.
    auto bits = static_cast<uint32_t>(SafeTrunc(value));
    switch (width) {
        case BinaryWidth::U8:
        case BinaryWidth::S8: AppendLittleEndian(out, static_cast<uint8_t>(bits)); return;
        case BinaryWidth::U16:
        case BinaryWidth::S16: AppendLittleEndian(out, static_cast<uint16_t>(bits)); return;
        case BinaryWidth::U32:
        case BinaryWidth::S32: AppendLittleEndian(out, bits); return;
        case BinaryWidth::Single: AppendLittleEndian(out, static_cast<float>(value)); return;
        case BinaryWidth::Double: AppendLittleEndian(out, value); return;
    }
}

double ReadBinary(std::string_view bytes, BinaryWidth width) {
    if (bytes.size() < BinaryWidthBytes(width)) return 0;
    switch (width) {
        case BinaryWidth::U8: return Load<uint8_t>(bytes);
        case BinaryWidth::U16: return Load<uint16_t>(bytes);
        case BinaryWidth::U32: return Load<uint32_t>(bytes);
        case BinaryWidth::S8: return Load<int8_t>(bytes);
        case BinaryWidth::S16: return Load<int16_t>(bytes);
        case BinaryWidth::S32: return Load<int32_t>(bytes);
        case BinaryWidth::Single: return Load<float>(bytes);
        case BinaryWidth::Double: return Load<double>(bytes);
    }
    return 0;
}

std::string BytesOfHex(std::string_view digits) {
    size_t count = 0;
    while (count < digits.size() && HexDigit(digits[count]) >= 0) ++count;
    std::string bytes;
    size_t at = 0;
    if (count % 2 == 1) bytes += static_cast<char>(HexDigit(digits[at++]));
    for (; at < count; at += 2) bytes += static_cast<char>(HexDigit(digits[at]) * 16 + HexDigit(digits[at + 1]));
    return bytes;
}

std::string HexOfBytes(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

}  // namespace linework
