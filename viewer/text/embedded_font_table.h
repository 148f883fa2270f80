// The table of the fonts a document carries in its companion font file (record type 7 of the
// ".lnf" record file): what each font is and which document format it stands for.
//
// Record type 7, index 0, little-endian: u16 count N; N entries of 8 bytes: a font description
// (weight / 10, italic, charset, output precision, pitch and family) and the key it answers
// (font index into the document's main face list, weight class, italic 0/1); with record version 2
// or more, N flag bytes follow (0x02: the font file may be added directly). Only the first 64
// entries can be matched; the rest are read and dropped. A table of more than 128 fonts is refused.
#ifndef LECT32_TEXT_EMBEDDED_FONT_TABLE_H
#define LECT32_TEXT_EMBEDDED_FONT_TABLE_H

#include <array>
#include <cstdint>

namespace lect32 {

class MemReader;
class VazaziFile;

struct EmbeddedFontEntry {
    uint8_t weightTenths = 0;
    uint8_t italic = 0;
    uint8_t charset = 0;
    uint8_t outPrecision = 0;
    uint8_t pitchAndFamily = 0;
    // The key: a font index of 255 marks an entry whose font is not installed.
    uint8_t font = 255;
    uint8_t weightClass = 0;
    uint8_t keyItalic = 0;
};

class EmbeddedFontTable {
public:
    static constexpr uint8_t kRecordType = 7;
    static constexpr uint16_t kMaxFonts = 128;
    static constexpr uint16_t kKeptEntries = 64;
    static constexpr uint8_t kInstallDirectly = 0x02;
    static constexpr uint8_t kNotInstalled = 255;

    // The table from a record body of the given version; damage (a count past 128, entries or
    // flags past the body) fails with the table empty.
    bool Read(MemReader& reader, uint8_t version);
    // Record 7 of the companion file; false (table empty) when it is missing or damaged.
    bool Load(VazaziFile& companion);
    void Clear();

    uint16_t count() const { return count_; }
    // The flags of font n (from 0); 0 past the table.
    uint8_t Flags(int n) const;
    // Entry n when it is one of the kept ones, else null.
    const EmbeddedFontEntry* Entry(int n) const;
    // Keeps font n out of every look-up: its file could not be installed.
    void MarkNotInstalled(int n);
    // The installed entry answering the key, or null.
    const EmbeddedFontEntry* Find(uint8_t font, uint8_t weightClass, bool italic) const;

private:
    uint16_t count_ = 0;
    std::array<EmbeddedFontEntry, kKeptEntries> entries_{};
    std::array<uint8_t, kMaxFonts> flags_{};
};

}  // namespace lect32

#endif
