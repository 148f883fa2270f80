// The cell record's bytes, field by field.
#include "page/table_cell.h"

#include "winplat/byte_reader.h"

namespace lect32 {

TableCell TableCell::Decode(std::span<const uint8_t, kSize> bytes) {
    winplat::ByteReader in(bytes);
    TableCell c;
    c.columnSpan = in.u16();
    c.rowSpan = in.u16();
    c.owner = in.u16();
    c.width = in.i16();
    c.height = in.i32();
    c.contentHeight = in.i32();
    c.background = in.u8();
    c.picture = in.i16();
    c.alignment = in.u8();
    for (int16_t& m : c.margins) m = in.i16();
    for (CellBorder& b : c.borders) {
        b.width = in.u8();
        b.colour = in.u8();
    }
    return c;
}

namespace {

struct Out {
    std::array<uint8_t, TableCell::kSize> bytes{};
    size_t at = 0;
    void put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes[at++] = static_cast<uint8_t>(value >> (8 * i));
    }
};

}  // namespace

std::array<uint8_t, TableCell::kSize> TableCell::Encode() const {
    Out out;
    out.put(columnSpan, 2);
    out.put(rowSpan, 2);
    out.put(owner, 2);
    out.put(static_cast<uint16_t>(width), 2);
    out.put(static_cast<uint32_t>(height), 4);
    out.put(static_cast<uint32_t>(contentHeight), 4);
    out.put(background, 1);
    out.put(static_cast<uint16_t>(picture), 2);
    out.put(alignment, 1);
    for (int16_t m : margins) out.put(static_cast<uint16_t>(m), 2);
    for (const CellBorder& b : borders) {
        out.put(b.width, 1);
        out.put(b.colour, 1);
    }
    return out.bytes;
}

}  // namespace lect32
