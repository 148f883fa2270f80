// A text frame: a small formatted document of its own (the text of a page's text object, of a table
// cell, of the clipboard view) shown by a document view. Its content travels as one byte block,
// the text-frame record, little-endian and byte-packed:
//
//   byte version (written 3; 1-3 read), u16 rows R (at least 1),
//   R row entries: u16 A + A bytes row record, u16 T + 4T tab stops, u16 L + L bytes text,
//                  u16 N + 4N line entries,
//   byte section flags (version 1: absent, taken as 1): bit 0 view state, bit 1 highlights,
//   (bit 0) u32 content height, u16 content width, u16 caret row, u16 caret offset, u16 third
//           caret word, byte selection present [u16 start row, start offset, end row, end offset],
//           (version 2+) u16 horizontal scroll, u32 vertical scroll,
//   (bit 1, version 2+) byte highlights present [per row u16 C + 4C bytes of ranges],
//   the page's object block, up to the record's end.
//
// The record carries no tables: a row flagged as a table row (record flag bit 15) is read as it
// stands and shows no table.
#ifndef LECT32_PAGE_RICH_TEXT_OBJECT_H
#define LECT32_PAGE_RICH_TEXT_OBJECT_H

#include <cstdint>
#include <span>
#include <vector>

#include "page/document_view.h"
#include "page/slot_records.h"

namespace lect32 {

class MemWriter;
struct FrameSearch;

class RichTextObject : public DocumentView {
public:
    static constexpr uint8_t kRecordVersion = 3;
    // Section flags of the record.
    static constexpr uint8_t kViewState = 0x01;
    static constexpr uint8_t kHighlights = 0x02;
    // Table cells are stored with every flag set.
    static constexpr uint8_t kAllSections = 0xFF;
    // The view state's size in the record (behind the flags byte), without and with the
    // selection's four positions.
    static constexpr uint32_t kViewStateSize = 19;
    static constexpr uint32_t kSelectionSize = 8;

    explicit RichTextObject(PageServices pageServices = {}, ViewServices services = {});

    // ---- the record (rich_text_record.cpp)
    // Replaces the whole content by the record's. A damaged record (unknown version, no rows, a
    // length past the record's end, a row record shorter than its header, a damaged object
    // block) leaves one empty row and returns false.
    bool Deserialize(std::span<const uint8_t> record);
    // Appends the record to the writer; its length, or 0 when the writer failed.
    uint32_t Serialize(MemWriter& out, uint8_t sections);
    std::vector<uint8_t> Serialize(uint8_t sections);
    // Exactly the bytes Serialize writes with these flags.
    uint32_t GetSerializedSize(uint8_t sections);
    // ORs into 'kinds' the saved-block bits of the objects a record holds; false when damaged.
    static bool ScanObjectKinds(std::span<const uint8_t> record, uint32_t& kinds);
    // One empty row, caret at its start, both change flags cleared.
    void ClearFrame();

    // ---- frame style and size (frame_style.cpp)
    // The page style goes back to its defaults, then takes the record's size, background and
    // margins, and the page is laid out again.
    void SetFrameStyle(const FrameRecord& style);
    FrameRecord GetFrameStyle() const;
    void SetSize(int16_t width, int16_t height);
    void SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t scrollX, int32_t scrollY);
    void SetFirstRowStyle(uint8_t style);
    void ResetLayoutWidth();
    int32_t GetContentHeight() const { return contentHeight_; }
    uint16_t CaretWord() const { return caretWord_; }

    // ---- copying (frame_copy.cpp)
    // Replaces the content by the source's between the two positions (all four 0: the whole
    // text). The first row starts with the codes of the format (and link) in force at its start;
    // a range that ends inside a link is closed; copied rows lose their anchor numbers. Rows
    // stop, without error, where a row's text would pass what a row holds. A table row comes
    // over as a row without its table.
    bool CopyRangeFrom(const DocumentView& source, uint16_t startRow, uint16_t startPos, uint16_t endRow,
                       uint16_t endPos);
    // Puts this frame's content into the target at its caret: the first row's text into the
    // caret's row (its record too when the caret is at the row's start), every further row as a
    // new row after it, and the page's objects; the caret goes to the end of what came in. The
    // rows taken; none when the caret's row cannot take the first row's text.
    uint16_t AppendContentTo(RichTextObject& target);

    // ---- search (frame_search.cpp)
    // Selects the next hit after the selection (else the caret); false when there is none.
    bool FindText(const FrameSearch& search);
    // Every hit becomes a highlighted range of its row; earlier highlights go.
    void MarkFoundWords(const FrameSearch& search);

    // ---- plain text (frame_text.cpp)
    // Every row's text without its control codes, tabs kept, CR LF between two text rows; a table
    // row writes nothing of its own here. False when the writer failed.
    bool WriteText(MemWriter& out) const;
    std::vector<uint8_t> PlainText() const;
    // Puts the plain text on the clipboard as CF_TEXT with its CF_LOCALE. The text is made
    // before the clipboard is touched, so a failure leaves the clipboard as it was; false then.
    bool CopyToClipboard(HWND window) const;

    // The two change flags (structural, any).
    bool Changed(int grade) const { return grade == 1 ? layoutChanged_ : (layoutChanged_ || contentChanged_); }

private:
    bool readRecord(std::span<const uint8_t> record);
    bool readRows(winplat::ByteReader& in, uint16_t count);
    void readViewState(winplat::ByteReader& in, uint8_t version, bool present);
    bool readHighlights(winplat::ByteReader& in);
    void writeViewState(MemWriter& out) const;
    void writeHighlights(MemWriter& out) const;
    bool hasHighlights() const;
    bool selectionWritten() const { return selection_.active && selection_.shown; }

    uint16_t caretWord_ = 0;
    bool layoutChanged_ = false;
    bool contentChanged_ = false;
};

}  // namespace lect32

#endif
