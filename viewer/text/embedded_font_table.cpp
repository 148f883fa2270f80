#include "text/embedded_font_table.h"

#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: embedded font table");
constexpr uint32_t kEntryBytes = 8;

EmbeddedFontEntry ReadEntry(MemReader& reader) {
    EmbeddedFontEntry entry;
    for (uint8_t* field : {&entry.weightTenths, &entry.italic, &entry.charset, &entry.outPrecision,
                           &entry.pitchAndFamily, &entry.font, &entry.weightClass, &entry.keyItalic})
        reader.ReadByte(*field);
    return entry;
}

}  // namespace

bool EmbeddedFontTable::Read(MemReader& reader, uint8_t version) {
    Clear();
    uint16_t count = 0;
    if (!reader.ReadWord(count)) return refuse(false, "the font count is missing");
    if (count > kMaxFonts) return refuse(false, "more than 128 fonts");
    const uint32_t flagBytes = version >= 2 ? count : 0;
    if (reader.remaining() < count * kEntryBytes + flagBytes) return refuse(false, "the fonts run past the record");
    for (uint16_t n = 0; n < count; ++n) {
        const EmbeddedFontEntry entry = ReadEntry(reader);
        if (n < kKeptEntries) entries_[n] = entry;
    }
    for (uint32_t n = 0; n < flagBytes; ++n) reader.ReadByte(flags_[n]);
    count_ = count;
    return true;
}

bool EmbeddedFontTable::Load(VazaziFile& companion) {
    Clear();
    MemReader reader;
    if (companion.ReadRecordByType(kRecordType, 0, reader) != 1) return refuse(false, "the file has no font table");
    return Read(reader, reader.version());
}

void EmbeddedFontTable::Clear() {
    count_ = 0;
    entries_.fill({});
    flags_.fill(0);
}

uint8_t EmbeddedFontTable::Flags(int n) const { return n >= 0 && n < count_ ? flags_[n] : 0; }

const EmbeddedFontEntry* EmbeddedFontTable::Entry(int n) const {
    return n >= 0 && n < count_ && n < kKeptEntries ? &entries_[n] : nullptr;
}

void EmbeddedFontTable::MarkNotInstalled(int n) {
    if (n >= 0 && n < count_ && n < kKeptEntries) entries_[n].font = kNotInstalled;
}

const EmbeddedFontEntry* EmbeddedFontTable::Find(uint8_t font, uint8_t weightClass, bool italic) const {
    // A format's unset font (255) is never an embedded one, however a damaged key reads.
    if (font == kNotInstalled) return nullptr;
    const uint8_t keyItalic = italic ? 1 : 0;
    for (int n = 0; n < count_ && n < kKeptEntries; ++n) {
        const EmbeddedFontEntry& entry = entries_[n];
        if (entry.font == font && entry.weightClass == weightClass && entry.keyItalic == keyItalic) return &entry;
    }
    return nullptr;
}

}  // namespace lect32
