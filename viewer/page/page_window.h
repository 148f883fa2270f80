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
};

// What LCNPAGE's WM_CREATE takes through CREATESTRUCT's lpCreateParams.
struct PageWindowParams {
    PageWindowHost* host = nullptr;
    PageServices page;
    ViewServices view;
    BannerServices banner;
};

class PageWindow {
public:
    static constexpr int kWindowWord = 0;
    static constexpr UINT kAnimationTimer = 1;
    static constexpr UINT kAnimationTickMs = 50;
    // From the page's objects: an animation was prepared, run the animation timer.
    static constexpr UINT kAnimationPrepared = 9007;
    static constexpr UINT kTimedChangeTimer = 8;
    static constexpr UINT kTickMs = 100;
    static constexpr UINT kExitCommand = 1005;
    static constexpr char kExitPageName[] = "EXITLECTERN";  // compared case-sensitively
    static constexpr int kMinimumTextWidth = 200;

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
    // Stops the page's timers and empties the window.
    void ClosePage();
    void OnSize(int width, int height);
    void OnTimer(UINT id);
    void OnAnimationPrepared() { startTimer(kAnimationTimer, kAnimationTickMs); }
    // The window width is taken as the page width without the minimum.
    void SetFixedWidth(bool fixed) { fixedWidth_ = fixed; }

    const PageStyle& CurrentStyle() const { return currentStyle_; }
    const PageStyle& OwnStyle() const { return pageStyle_; }
    const std::string& PageName() const { return name_; }
    int16_t CurrentPage() const { return page_; }
    uint8_t Document() const { return document_; }
    uint16_t TimerBits() const { return timerBits_; }
    DocumentView& View() { return *view_; }
    Banner& GetBanner() { return banner_; }
    int16_t BannerHeight() const { return bannerHeight_; }

private:
    void applyWidthRule();
    void place();
    void refresh();
    void startTimer(UINT id, UINT period);
    void stopTimer(UINT id);
    void timedChange();
    void takeView(std::unique_ptr<DocumentView> view);

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
    std::unique_ptr<DocumentView> view_;
    Banner banner_;
    uint16_t timerBits_ = 0;
    std::string name_;
    int16_t page_ = -1;
    uint8_t document_ = 0;
    bool fixedWidth_ = false;
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
