#include "text/colour_table.h"

#include <algorithm>
#include <cstdlib>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/typed_record.h"
#include "store/vazazi_file.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: colour table");

int Distance(Rgb a, Rgb b) {
    return std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

}  // namespace

Rgb ColourTable::FromColorRef(COLORREF colour) {
    return Rgb{static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
               static_cast<uint8_t>((colour >> 16) & 0xFF)};
}

int ColourTable::Read(MemReader& reader) {
    uint16_t count = 0;
    if (!reader.ReadWord(count)) return refuse(0, "the colour count is missing");
    if (count > kEntries) return refuse(0, "more than 256 colours");
    if (reader.remaining() < uint32_t{count} * 3) return refuse(0, "the colours run past the record");
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t triple[3];
        reader.ReadTriple(triple);
        entries_[i] = Rgb{triple[0], triple[1], triple[2]};
    }
    count_ = count;
    return 1;
}

int ColourTable::Load(VazaziFile& document) {
    MemReader reader;
    if (document.ReadRecordByType(kRecordType, 0, reader) != 1) return 0;
    return Read(reader);
}

void ColourTable::Write(MemWriter& writer) const {
    writer.WriteWord(count_);
    for (uint16_t i = 0; i < count_; ++i) {
        const uint8_t triple[3] = {entries_[i].red, entries_[i].green, entries_[i].blue};
        writer.WriteBytes(triple, 3);
    }
}

int ColourTable::Save(VazaziFile& document) const {
    return writeTypedRecord(&document, kRecordType, [this](MemWriter& writer) {
        Write(writer);
        return 1;
    });
}

COLORREF ColourTable::GetColour(uint8_t n) const {
    const Rgb c = entries_[n];
    return COLORREF{c.red} | COLORREF{c.green} << 8 | COLORREF{c.blue} << 16;
}

int ColourTable::Brightness(uint8_t n) const {
    const Rgb c = entries_[n];
    return 3 * c.red + 6 * c.green + c.blue;
}

int ColourTable::find(Rgb colour) const {
    const auto end = entries_.begin() + count_;
    const auto at = std::find(entries_.begin(), end, colour);
    return at == end ? -1 : static_cast<int>(at - entries_.begin());
}

uint8_t ColourTable::FindOrAdd(Rgb colour) {
    const int found = find(colour);
    if (found >= 0) return static_cast<uint8_t>(found);
    if (count_ >= kAddLimit) return Nearest(colour);
    return Append(colour);
}

uint8_t ColourTable::FindOrAddUnlimited(Rgb colour) {
    const int found = find(colour);
    if (found >= 0) return static_cast<uint8_t>(found);
    if (count_ >= kEntries) return Nearest(colour);
    entries_[count_] = colour;
    return static_cast<uint8_t>(count_++);
}

uint8_t ColourTable::Append(Rgb colour) {
    if (count_ >= kAddLimit) return refuse(uint8_t{0}, "250 colours are held");
    entries_[count_] = colour;
    return static_cast<uint8_t>(count_++);
}

uint16_t ColourTable::AppendRun(std::span<const Rgb> colours) {
    if (count_ >= kAddLimit) return refuse(uint16_t{0}, "250 colours are held");
    const size_t room = kAddLimit - count_;
    const size_t taken = std::min(room, colours.size());
    std::copy_n(colours.begin(), taken, entries_.begin() + count_);
    count_ = static_cast<uint16_t>(count_ + taken);
    return count_;
}

void ColourTable::SetEntry(uint8_t n, COLORREF colour) { entries_[n] = FromColorRef(colour); }

void ColourTable::SetAll(std::span<const Rgb> colours) {
    count_ = static_cast<uint16_t>(std::min<size_t>(colours.size(), kEntries));
    std::copy_n(colours.begin(), count_, entries_.begin());
}

uint8_t ColourTable::Nearest(Rgb colour) const {
    int best = 256;
    uint8_t index = 0;
    for (uint16_t i = 0; i < count_; ++i) {
        const int d = Distance(entries_[i], colour);
        if (d < best) {
            best = d;
            index = static_cast<uint8_t>(i);
        }
    }
    return index;
}

ColourTable& GetDocumentColours() {
    static ColourTable table;
    return table;
}

}  // namespace lect32
