// A document's colour table: up to 256 RGB entries that text formats name by a one-byte index.
// The adding operations keep at most 250, so that indexes near 255 stay free for "none".
#ifndef LECT32_TEXT_COLOUR_TABLE_H
#define LECT32_TEXT_COLOUR_TABLE_H

#include <array>
#include <cstdint>
#include <span>

#include "winplat/types.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

class ColourTable {
public:
    static constexpr uint16_t kEntries = 256;
    static constexpr uint16_t kAddLimit = 250;
    static constexpr uint8_t kRecordType = 6;

    uint16_t GetCount() const { return count_; }
    void Clear() { count_ = 0; }

    // The record body: u16 count, then count triples. A count past 256 or past the body is
    // damage: 0 and the table unchanged.
    int Read(MemReader& reader);
    int Load(VazaziFile& document);
    void Write(MemWriter& writer) const;
    int Save(VazaziFile& document) const;

    COLORREF GetColour(uint8_t n) const;
    Rgb GetEntry(uint8_t n) const { return entries_[n]; }
    COLORREF Inverse(uint8_t n) const { return 0xFFFFFFu - GetColour(n); }
    int Brightness(uint8_t n) const;

    // An equal entry, else the nearest once 250 are held, else a new one.
    uint8_t FindOrAdd(Rgb colour);
    uint8_t FindOrAdd(COLORREF colour) { return FindOrAdd(FromColorRef(colour)); }
    // An equal entry, else a new one while the table has room (else the nearest).
    uint8_t FindOrAddUnlimited(Rgb colour);
    // The new entry's index; 0 when 250 are held.
    uint8_t Append(Rgb colour);
    // Appends as many triples as fit below 250 and answers the new count, 0 when full already.
    uint16_t AppendRun(std::span<const Rgb> colours);
    void SetEntry(uint8_t n, COLORREF colour);
    // Replaces the table by at most 256 entries.
    void SetAll(std::span<const Rgb> colours);
    // The entry whose largest channel difference is smallest, the lowest index on ties; 0 when
    // the table is empty.
    uint8_t Nearest(Rgb colour) const;

    static Rgb FromColorRef(COLORREF colour);

private:
    int find(Rgb colour) const;

    std::array<Rgb, kEntries> entries_{};
    uint16_t count_ = 0;
};

// The open document's colour table, one for the process.
ColourTable& GetDocumentColours();

}  // namespace lect32

#endif
