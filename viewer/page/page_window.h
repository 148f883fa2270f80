// The page window (class LCNPAGE): one page of a document on screen, with the BANNER strip on top
// and the LCNDOCUMENT view below it. It holds the page's own style, the defaults it is merged
// with and the merged style in force, the page's identity and the timed change to another page.
//
// What it needs of the program around it (the document's records, its default style, the linked
// documents, the main window) comes through PageWindowHost.
#ifndef LECT32_PAGE_PAGE_WINDOW_H
#define LECT32_PAGE_PAGE_WINDOW_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "page/banner.h"
#include "page/document_view.h"
#include "page/rich_text_object.h"
#include "page/page_services.h"
#include "page/page_style.h"
#include "winplat/types.h"

namespace lect32 {

// A page as the document stores it, taken apart: its name, its own style and its content (rows
// and objects, as DocumentView::LoadPage reads them).
struct PageContent {
    std::string name;
    PageStyle style;
    std::vector<uint8_t> content;
};

class PageWindow;

class PageWindowHost {
public:
    virtual ~PageWindowHost() = default;
    // Page 'page' of member document 'document'; false when it cannot be had.
    virtual bool ReadPage(int16_t page, uint8_t document, PageContent& out) = 0;
    // The style pages of the document are merged with.
    virtual PageStyle DefaultStyle(uint8_t document) = 0;
    // The member document that link number 'link' of 'document' names.
    virtual uint8_t ResolveMember(uint8_t document, uint8_t link) = 0;
    // The window that a timed page named kExitPageName tells to end the program.
    virtual HWND MainWindow() = 0;
    // Whether the document lets its text be copied.
    virtual bool CopyAllowed(uint8_t /*document*/) { return true; }
    // Makes the member document the active one (on focus and message 9018).
    virtual void ActivateDocument(uint8_t /*document*/) {}
    // The page window list: a window made, which becomes the current one, and a window going.
    virtual void PageWindowCreated(PageWindow& /*window*/) {}
    virtual void PageWindowDestroyed(PageWindow& /*window*/) {}
    virtual bool ViewerClosing() { return false; }
};

// What LCNPAGE's WM_CREATE takes through CREATESTRUCT's lpCreateParams.
struct PageWindowParams {
    PageWindowHost* host = nullptr;
    PageServices page;
    ViewServices view;
    BannerServices banner;
    RichTextHost* input = nullptr;  // null: the view acts as in a reader of one document
};

// The three page references of a page (next, previous and parent), each a page (-1 none) and the
// link number of its document.
struct RelatedPages {
    int16_t page[3] = {-1, -1, -1};
    uint8_t link[3] = {0, 0, 0};
};

class PageWindow {
public:
    static constexpr int kWindowWord = 0;
    static constexpr UINT kTimedChangeTimer = 8;
    static constexpr UINT kTickMs = 100;
    static constexpr UINT kExitCommand = 1005;
    static constexpr char kExitPageName[] = "EXITLECTERN";  // compared case-sensitively
    static constexpr int kMinimumTextWidth = 200;
    // Timers by their bit.
    static constexpr UINT kAnimationTimer = 1;
    static constexpr UINT kAnimationPeriodMs = 50;
    static constexpr UINT kObjectTimer = 2;
    static constexpr UINT kObjectPeriodMs = 100;
    static constexpr UINT kMarkTimer = 4;
    static constexpr UINT kMarkPeriodMs = 110;
    // Commands and messages.
    static constexpr UINT kCopyCommand = 1006;
    static constexpr UINT kCopyForbiddenText = 3322;
    static constexpr UINT kErrorCaption = 3303;
    static constexpr UINT kStartAnimation = 9007;
    static constexpr UINT kObjectTimerSwitch = 9008;
    static constexpr UINT kObjectMessage = 9009;
    static constexpr UINT kObjectCommand9 = 9012;
    static constexpr UINT kScrollToMarkMessage = 9013;
    static constexpr UINT kPaintedMessage = 9016;
    static constexpr UINT kActivateDocument = 9018;
    static constexpr UINT kObjectCommand13 = 9019;

    explicit PageWindow(const PageWindowParams& params);
    ~PageWindow();
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;

    // Creates the two children of 'window'; false when one cannot be made.
    bool Create(HWND window);
    void Destroy();

    // Reads and shows the page; a page that cannot be read leaves the window as it was and
    // answers false.
    bool ShowPage(int16_t page, uint8_t document);
    // The same, except that with 'unlessShown' the page already shown is not shown again (false).
    bool ShowPage(int16_t page, uint8_t document, bool unlessShown);
    // Stops the page's timers and empties the window.
    void ClosePage();
    void OnSize(int width, int height);
    void OnTimer(UINT id);
    // WM_COMMAND: copy (refused when the document forbids it), else the view's commands.
    void OnCommand(UINT id);
    // The page's own messages 9000-9099.
    LRESULT OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFocus(bool gained);
    // Scrolls to the row that carries index mark 'mark' and blinks the mark; false when no row
    // carries it.
    bool ScrollToMark(uint16_t mark);
    void ScrollToPosition(int32_t position) { view_->SetScrollPosition(position); }
    // The page's own style merged, at the window's width: for the user tool bar's page.
    void ApplyFixedPageStyle();
    // Another merged style in force (the user tool bar's host).
    void ApplyPageStyle(const PageStyle& style);
    // Measures the banner again and places the windows (after a zoom change).
    void UpdateBannerHeight();
    RelatedPages GetRelatedPages() const;
    // Search (page_window_search.cpp). The page's name is searched first, sharing the found
    // words with the view; nothing is found on a page kept out of searches.
    bool FindText(const QueryWords& query, std::vector<bool>& found, size_t& foundCount, const ViewWordFinder& find);
    void MarkFoundWords(const QueryWords& query, bool stem, const ViewWordFinder& find);
    int ShowFirstFoundWord() { return view_->ShowFirstFoundWord(); }
    int ShowNextFoundWord() { return view_->ShowNextFoundWord(); }
    int ShowPreviousFoundWord() { return view_->ShowPreviousFoundWord(); }
    // The page window that serves as the user tool bar keeps its keys to itself.
    void SetUserToolBar(bool toolBar);
    bool UserToolBar() const { return toolBar_; }
    PageWindowHost* Host() const { return params_.host; }
    HWND Window() const { return window_; }
    HWND ViewWindow() const { return viewWindow_; }
    // The window width is taken as the page width without the minimum.
    void SetFixedWidth(bool fixed) { fixedWidth_ = fixed; }

    const PageStyle& CurrentStyle() const { return currentStyle_; }
    const PageStyle& OwnStyle() const { return pageStyle_; }
    const std::string& PageName() const { return name_; }
    int16_t CurrentPage() const { return page_; }
    uint8_t Document() const { return document_; }
    uint16_t TimerBits() const { return timerBits_; }
    RichTextObject& View() { return *view_; }
    const PageStyle& GetPageStyle() const { return currentStyle_; }
    Banner& GetBanner() { return banner_; }
    int16_t BannerHeight() const { return bannerHeight_; }

private:
    void applyWidthRule();
    void place();
    void refresh();
    void startTimer(UINT id, UINT period);
    void stopTimer(UINT id);
    void timedChange();
    void takeView(std::unique_ptr<RichTextObject> view);
    std::unique_ptr<RichTextObject> makeView() const;

    PageWindowParams params_;
    HWND window_ = nullptr;
    HWND bannerWindow_ = nullptr;
    HWND viewWindow_ = nullptr;
    uint16_t clientWidth_ = 0;
    uint16_t clientHeight_ = 0;
    int16_t bannerHeight_ = 0;
    PageStyle currentStyle_;
    PageStyle pageStyle_;
    PageStyle defaultStyle_;
    std::unique_ptr<RichTextObject> view_;
    Banner banner_;
    uint16_t timerBits_ = 0;
    std::string name_;
    int16_t page_ = -1;
    uint8_t document_ = 0;
    bool fixedWidth_ = false;
    bool toolBar_ = false;
};

// The page width a window 'clientWidth' wide lays out: the window's width while the style's
// width follows the window (width mode 0 or 2), and then, unless the width is fixed, at least
// twice the left margin plus kMinimumTextWidth; else the style's own width.
int16_t PageWidthFor(const PageStyle& style, int clientWidth, bool fixedWidth);

// Registers the LCNPAGE window class (and the classes of its children); false when it cannot.
bool RegisterPageWindowClass();
LRESULT CALLBACK PageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lect32

#endif
