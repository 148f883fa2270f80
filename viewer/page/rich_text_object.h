// The view that takes input: what a click, a key or a hover over a page's text means. It follows
// links (requests to the navigation window, page-object commands, the image viewer for
// enlargeable pictures), shows link tooltips, steps through links by keyboard, marks addresses
// and search hits, shows index marks, and copies text.
//
// What it needs of the program around it (the popups, the linked documents' page names, the view
// settings, the history) comes through RichTextHost; without one, it acts as in a reader with
// one document, no popup and default settings.
//
// It is also a text frame: a small formatted document of its own (a page text object, a table
// cell, the clipboard view) whose content travels as one byte block, the text-frame record,
// little-endian and byte-packed:
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
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "page/banner.h"
#include "page/document_view.h"
#include "page/link_execution.h"
#include "page/slot_records.h"
#include "winplat/types.h"

namespace lect32 {

class MemWriter;
struct FrameSearch;

class RichTextHost {
public:
    virtual ~RichTextHost() = default;
    virtual bool PopupOpen() const { return false; }
    virtual uint8_t TopPopupMember() const { return 0; }
    // The view settings' option byte (bit 0x2: no link tooltips).
    virtual uint8_t ViewOptions() const { return 0; }
    virtual size_t MemberCount() const { return 1; }
    virtual uint8_t CurrentDocument() const { return 0; }
    // The name of page 'page' of member 'document' (cp1250); empty when it has none.
    virtual std::string PageName(uint8_t /*document*/, int16_t /*page*/) const { return {}; }
    // Member 'document' of the linked set that link number 'linkNumber' of 'source' leads to.
    virtual uint8_t ResolveLink(uint8_t source, uint8_t /*linkNumber*/) const { return source; }
    virtual void HistoryBack() {}
    virtual void MakeCurrentPane(HWND /*view*/) {}
    // Whether the reader is closing (the cursor is then left alone).
    virtual bool Closing() const { return false; }
};

// The program-wide state of link stepping by Tab and Shift+Tab.
struct LinkStep {
    int16_t counter = -1;  // -1: no link selected yet
    uint16_t row = 0;
    uint16_t start = 0;
    uint16_t end = 0;
};

// A search query taken apart: per word, its flags byte (bit 4: not marked, bit 8: not stemmed).
struct QueryWords {
    static constexpr uint8_t kNotMarked = 4;
    static constexpr uint8_t kNotStemmed = 8;
    std::vector<uint8_t> flags;
};

// Finds query word 'word' in 'text' from 'from'; 'stem' asks for the stem matcher.
using ViewWordFinder =
    std::function<std::optional<FoundRange>(size_t word, std::span<const uint8_t> text, size_t from, bool stem)>;

class RichTextObject : public DocumentView {
public:
    // Page commands.
    enum Command : int {
        kLayoutAgain = 2,
        kEmpty = 3,
        kStep = 5,
        kObjectMessage = 6,
        kCopy = 7,
        kMarkAddresses = 8,
        kObjectsOnly9 = 9,
        kShown = 10,
        kClearFlags = 11,
        kObjectsOnly13 = 13,
    };
    static constexpr UINT kNextLinkCommand = 1024;
    static constexpr UINT kPreviousLinkCommand = 1025;
    static constexpr UINT kClickedMessage = 9004;
    static constexpr UINT kPointerMovedMessage = 27140;
    static constexpr int kMarkTicks = 5;

    explicit RichTextObject(PageServices pageServices = {}, ViewServices services = {}, RichTextHost* host = nullptr);

    void SetHost(RichTextHost* host) { host_ = host; }
    void SetToolBar(bool toolBar) { toolBar_ = toolBar; }
    bool ToolBar() const { return toolBar_; }
    // The window whose WM_COMMAND 1005 ends the program does not concern the view; the main
    // window gets the pointer moves.
    void SetMainWindow(HWND main) { main_ = main; }
    // The folder the image viewer is started from (the reader's own by default).
    void SetImageViewerFolder(std::string folder) { viewerFolder_ = std::move(folder); }

    // ---- commands (rich_text_object.cpp)
    bool DoCommand(int type, int argument = 0, void* data = nullptr);
    int OnCommand(UINT id);
    // Whether anything of the view changed: grade 1 asks for structural changes (the layout
    // changed, rows came or went), grade 0 for any change; marked search hits and the rows'
    // tables report too. A table cell or a text object asks it before storing the editor back.
    int HitTest(int grade);
    void SetScrollPosition(int32_t position) { ScrollTo(position); }
    int32_t Marked() const { return marked_; }
    bool CaptureFlag() const { return capture_; }
    bool FoundWordFlag() const { return foundWord_; }

    // ---- copying (rich_text_copy.cpp): the selection, or the whole text without one, goes into
    // the program's clipboard view (CopyRangeFrom) and, with 'toClipboard', from there onto the
    // clipboard as plain text (CopyToClipboard with the view's window).
    bool CopySelection(bool toClipboard);

    // ---- links (rich_text_links.cpp)
    // Follows the link around the text position: true when there was one.
    bool FollowLinkAt(uint16_t row, uint16_t position);
    void FollowLink(const LinkRecord& link);
    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnRButtonDown();
    void OnMouseMove(int x, int y, WPARAM keys);
    void OnKeyDown(WPARAM key);
    // WM_SETCURSOR: the client area's pointer follows the text under it; true when it was set.
    bool OnSetCursor(UINT hitCode);
    void UpdateCursor(int x, int y);
    // The tooltip of the link under (x, y): 0, kTooltipShown, or a block (link_tooltips.h).
    uintptr_t ShowTooltip(uint16_t shownId, int x, int y);
    // The tooltip block's id and text for a link; none when it has no tooltip.
    std::optional<std::pair<uint16_t, std::string>> TooltipOf(const LinkRecord& link) const;
    // The text position at a point of the window; false below the last row (the caret then goes to
    // the end of the last row).
    bool PositionAt(int x, int y, uint16_t& row, uint16_t& position);

    // ---- link stepping (link_stepping.cpp)
    bool StepLink(bool forward);
    static LinkStep& ProgramLinkStep();

    // ---- URL marking (rich_text_object.cpp)
    size_t MarkUrlLinks();

    // ---- index marks and scrolling ranges (index_marks.cpp)
    int ScrollToMark(uint16_t mark);
    int MarkStep();
    int MarkCounter() const;
    int ScrollRangeIntoView(int32_t top, int32_t bottom, bool redraw);

    // ---- search (found_words.cpp)
    // Looks for the words not yet flagged in 'found' and flags those it finds; true when every
    // word is found (one word: when it is).
    bool FindText(const QueryWords& query, std::vector<bool>& found, size_t& foundCount, const ViewWordFinder& find);
    void MarkFoundWords(const QueryWords& query, bool stem, const ViewWordFinder& find);
    int ShowFirstFoundWord();
    int ShowNextFoundWord();
    int ShowPreviousFoundWord();

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

private:
    LinkContext linkContext() const;
    bool linkAt(uint16_t row, uint16_t position, LinkRecord& link, size_t* start);
    // The topmost page object at a point of the window, or -1.
    int objectAt(int x, int y) const;
    // A press on object i: its link followed, or its picture enlarged in the image viewer.
    void pressObject(uint16_t i);
    void sendAddress(uint16_t row, size_t start);
    // The top (or bottom) of the line holding the text position, relative to the visible area.
    int32_t lineEdge(uint16_t row, uint16_t position, bool bottom);
    void drawIndexMark();
    bool scrollSpan(int32_t top, int32_t bottom, bool endAtBottom);

    RichTextHost* host_ = nullptr;
    HWND main_ = nullptr;
    int32_t marked_ = 0;
    bool capture_ = false;
    bool foundWord_ = false;
    bool toolBar_ = false;
    int markCounter_ = 0;
    HCURSOR shownCursor_ = nullptr;
    std::string viewerFolder_;
    uint16_t anchorRow_ = 0;  // where the selection being dragged began
    uint16_t anchorPos_ = 0;
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
