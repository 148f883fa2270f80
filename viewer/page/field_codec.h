// Fixed records of the page (the object record and the typed slot records) are lists of integer
// members in stored order. A record names its list once, as a function that hands each member to
// a visitor; these templates turn that list into the little-endian bytes and back, field by field,
// so no record is ever copied to or from bytes through its memory layout.
#ifndef LECT32_PAGE_FIELD_CODEC_H
#define LECT32_PAGE_FIELD_CODEC_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "winplat/byte_reader.h"

namespace lect32::field_codec {

// The stored size of a record: the widths of its members added up.
template <class Record>
constexpr size_t StoredSize() {
    size_t total = 0;
    Record probe{};
    Record::EachField(probe, [&](const auto& field) { total += sizeof field; });
    return total;
}

template <class Record>
std::array<uint8_t, Record::kSize> Encode(const Record& record) {
    static_assert(StoredSize<Record>() == Record::kSize, "the field list must cover the record");
    std::array<uint8_t, Record::kSize> out{};
    size_t at = 0;
    Record::EachField(record, [&](const auto& field) {
        using Unsigned = std::make_unsigned_t<std::remove_cvref_t<decltype(field)>>;
        const auto value = static_cast<Unsigned>(field);
        for (size_t i = 0; i < sizeof field; ++i) out[at++] = static_cast<uint8_t>(value >> (8 * i));
    });
    return out;
}

template <class Record>
Record Decode(std::span<const uint8_t, Record::kSize> bytes) {
    winplat::ByteReader in(bytes);
    Record record{};
    Record::EachField(record, [&](auto& field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (sizeof(Field) == 1) field = static_cast<Field>(in.u8());
        if constexpr (sizeof(Field) == 2) field = static_cast<Field>(in.u16());
        if constexpr (sizeof(Field) == 4) field = static_cast<Field>(in.u32());
    });
    return record;
}

// The record from the first bytes of 'stored' laid over 'base': a shorter run keeps base's later
// members, a longer one is read no further than the record.
template <class Record>
Record DecodeOver(const Record& base, std::span<const uint8_t> stored) {
    auto bytes = Encode(base);
    std::copy_n(stored.begin(), std::min(stored.size(), bytes.size()), bytes.begin());
    return Decode<Record>(bytes);
}

}  // namespace lect32::field_codec

#endif
