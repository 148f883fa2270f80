// The view that takes input: what a click, a key or a hover over a page's text means. It follows
// links (requests to the navigation window, page-object commands, the image viewer for
// enlargeable pictures), shows link tooltips, steps through links by keyboard, marks addresses
// and search hits, shows index marks, and copies text.
//
// What it needs of the program around it (the popups, the linked documents' page names, the view
// settings, the history) comes through RichTextHost; without one, it acts as in a reader with
// one document, no popup and default settings.
#ifndef LECT32_PAGE_RICH_TEXT_OBJECT_H
#define LECT32_PAGE_RICH_TEXT_OBJECT_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "page/banner.h"
#include "page/document_view.h"
#include "page/link_execution.h"
#include "winplat/types.h"

namespace lect32 {

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
    int HitTest(int kind);
    void SetScrollPosition(int32_t position) { ScrollTo(position); }
    int32_t Marked() const { return marked_; }
    bool CaptureFlag() const { return capture_; }
    bool FoundWordFlag() const { return foundWord_; }

    // ---- copying (rich_text_copy.cpp): the selection, or the whole text without one, as plain
    // text (rows end in CR LF, control codes left out).
    std::string SelectedText() const;
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
};

}  // namespace lect32

#endif
