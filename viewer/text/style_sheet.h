// The named paragraph styles of the open document (record type 5): up to 128 styles, each the 40
// value bytes of a text format with a name, a key code and its tab stops; plus the base default
// used for absent styles and the global default format of style 250.
#ifndef LECT32_TEXT_STYLE_SHEET_H
#define LECT32_TEXT_STYLE_SHEET_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/tab_stops.h"
#include "text/colour_table.h"
#include "text/font_faces.h"
#include "text/text_format.h"

namespace lect32 {

class ColourTable;
class MemReader;
class MemWriter;
class VazaziFile;
struct DocumentFonts;

using StyleRecord = std::array<uint8_t, kFormatValueBytes>;

// A built-in style as it is written down: 30 numbers (font, size, weight class, flags, text and
// background colour, shadow colour and offsets, four indents, alignment, line spacing, spacing
// before and after, four border bytes, the frame triple; the rest 0).
using StyleDefinition = std::array<int16_t, 30>;
StyleRecord RecordFromDefinition(const StyleDefinition& definition);

class StyleSheet {
public:
    static constexpr uint16_t kSlots = 128;
    static constexpr uint16_t kGlobalDefault = 250;
    static constexpr uint16_t kNameBytes = 30;  // 29 characters and a zero
    static constexpr uint16_t kNoStyle = 0xFFFF;
    static constexpr uint8_t kNoKey = 255;
    static constexpr uint8_t kRecordType = 5;
    static constexpr uint8_t kWrittenVersion = 2;

    StyleSheet();
    ~StyleSheet();
    StyleSheet(const StyleSheet&) = delete;
    StyleSheet& operator=(const StyleSheet&) = delete;

    // Every slot absent, 128 empty names, 256 empty tab-stop entries.
    void Reset();

    // Fills 'format' with the style's values, all presence flags clear and the flags marked set.
    // 250 gives the global default; an absent style or one above 127 the base default and
    // kNoStyle; else n.
    uint16_t GetStyleFormat(uint16_t n, TextFormat& format) const;

    // The record body (its version from the record header). Damage of any kind (counts past the
    // record, a tab-stop table that is not one) fails with the sheet as it was.
    int Read(MemReader& reader);
    // The same for a body of the given record version.
    int Read(MemReader& reader, uint8_t version);
    int Load(VazaziFile& document);
    void Write(MemWriter& writer) const;
    int Save(VazaziFile& document) const;

    std::string GetStyleName(uint16_t n) const;
    uint16_t CountStyles() const;
    uint16_t FindFreeSlot() const;
    bool IsPresent(uint16_t n) const { return n < kSlots && present_[n]; }
    uint16_t GetKeyCode(uint16_t n) const { return n < kSlots ? keys_[n] : 0; }
    const StyleRecord& GetRecord(uint16_t n) const { return records_[n]; }
    TabStopTable& GetTabStops() { return *tabs_; }

    void DefineStyle(std::string_view name, const StyleDefinition& definition, uint16_t slot, uint16_t key);
    // The style a key applies, else kNoKey.
    uint8_t FindByKey(uint16_t key) const;
    // The first present style of that name, a "~n" variant suffix not counted; else kNoStyle.
    uint16_t FindByName(std::string_view name) const;

    StyleRecord& BaseDefault() { return baseDefault_; }
    StyleRecord& GlobalDefault() { return globalDefault_; }

private:
    std::array<StyleRecord, kSlots> records_{};
    std::array<bool, kSlots> present_{};
    std::array<bool, kSlots> edited_{};
    std::array<uint16_t, kSlots> keys_{};
    std::vector<std::array<char, kNameBytes>> names_;
    std::unique_ptr<TabStopTable> tabs_;
    StyleRecord baseDefault_;
    StyleRecord globalDefault_;
};

// The process-wide sheet of the active document.
StyleSheet& GetStyleSheet();

// Installs the built-in colours, font lists and the nine styles.
void BuildDefaultStyleSheet(ColourTable& colours, DocumentFonts& fonts, StyleSheet& sheet);

}  // namespace lect32

#endif
