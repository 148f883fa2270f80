#include "page/page_window.h"

#include <algorithm>

#include "page/page_style_form.h"
#include "winplat/byte_reader.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

constexpr char kClassName[] = "LCNPAGE";

// Ticks of the timed change of the page shown last: one count for the program, as only one page
// at a time changes by itself.
uint16_t timedTicks = 0;

PageWindow* PageWindowOf(HWND window) {
    return reinterpret_cast<PageWindow*>(GetWindowLongPtrA(window, PageWindow::kWindowWord));
}

bool WidthFollowsWindow(const PageStyle& style) { return style.widthMode == 0 || style.widthMode == 2; }

}  // namespace

int16_t PageWidthFor(const PageStyle& style, int clientWidth, bool fixedWidth) {
    if (!WidthFollowsWindow(style)) return style.width;
    if (fixedWidth) return static_cast<int16_t>(clientWidth);
    return static_cast<int16_t>(std::max(clientWidth, 2 * style.LeftMargin() + PageWindow::kMinimumTextWidth));
}

PageWindow::PageWindow(const PageWindowParams& params)
    : params_(params), view_(std::make_unique<DocumentView>(params.page, params.view)), banner_(params.banner) {}

PageWindow::~PageWindow() { Destroy(); }

bool PageWindow::Create(HWND window) {
    window_ = window;
    if (!RegisterBannerWindowClass() || !RegisterDocumentWindowClass()) return false;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    bannerWindow_ = CreateWindowExA(0, "BANNER", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr, instance, nullptr);
    viewWindow_ = CreateWindowExA(0, "LCNDOCUMENT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                  window, nullptr, instance, nullptr);
    if (!bannerWindow_ || !viewWindow_) return false;
    banner_.SetWindow(bannerWindow_);
    SetWindowLongPtrA(bannerWindow_, Banner::kWindowWord, reinterpret_cast<LONG_PTR>(&banner_));
    takeView(std::move(view_));
    view_->Reset();
    return true;
}

void PageWindow::Destroy() {
    if (!window_) return;
    ClosePage();
    if (viewWindow_) {
        SetWindowLongPtrA(viewWindow_, DocumentView::kViewWord, 0);
        DestroyWindow(viewWindow_);
    }
    if (bannerWindow_) {
        SetWindowLongPtrA(bannerWindow_, Banner::kWindowWord, 0);
        DestroyWindow(bannerWindow_);
    }
    viewWindow_ = bannerWindow_ = nullptr;
    window_ = nullptr;
}

void PageWindow::takeView(std::unique_ptr<DocumentView> view) {
    view_ = std::move(view);
    if (!viewWindow_) return;
    view_->SetWindow(viewWindow_);
    SetWindowLongPtrA(viewWindow_, DocumentView::kViewWord, reinterpret_cast<LONG_PTR>(view_.get()));
}

bool PageWindow::ShowPage(int16_t page, uint8_t document) {
    if (!params_.host) return false;
    PageContent read;
    if (!params_.host->ReadPage(page, document, read)) return false;
    // The content is read into a view of its own first: a damaged page must not leave this
    // window half emptied.
    auto fresh = std::make_unique<DocumentView>(params_.page, params_.view);
    winplat::ByteReader in(read.content);
    if (!fresh->LoadPage(in)) return false;
    ClosePage();
    takeView(std::move(fresh));
    pageStyle_ = read.style;
    defaultStyle_ = params_.host->DefaultStyle(document);
    MergePageStyle(currentStyle_, pageStyle_, defaultStyle_);
    name_ = read.name;
    banner_.SetText(name_);
    page_ = page;
    document_ = document;
    refresh();
    if (currentStyle_.group2000Word1 != -1) {
        timedTicks = 0;
        startTimer(kTimedChangeTimer, kTickMs);
    }
    return true;
}

void PageWindow::ClosePage() {
    for (UINT id : {1u, 2u, 4u, kTimedChangeTimer}) stopTimer(id);
    currentStyle_ = PageStyle{};
    pageStyle_ = PageStyle{};
    banner_.Reset();
    view_->Reset();
    name_.clear();
    page_ = -1;
    document_ = 0;
}

void PageWindow::applyWidthRule() {
    currentStyle_.width = PageWidthFor(currentStyle_, clientWidth_, fixedWidth_);
    view_->SetPageStyle(currentStyle_);
}

void PageWindow::place() {
    if (!window_) return;
    MoveWindow(bannerWindow_, 0, 0, clientWidth_, bannerHeight_, TRUE);
    MoveWindow(viewWindow_, 0, bannerHeight_, clientWidth_, std::max(clientHeight_ - bannerHeight_, 0), TRUE);
}

void PageWindow::refresh() {
    if (window_) SendMessageA(GetParent(window_), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name_.c_str()));
    applyWidthRule();
    banner_.SetStyle(currentStyle_);
    banner_.SetWidth(static_cast<int16_t>(clientWidth_));
    const int16_t height = bannerWindow_ ? banner_.Measure() : 0;
    if (height != bannerHeight_) {
        bannerHeight_ = height;
        place();
    }
    if (bannerWindow_) InvalidateRect(bannerWindow_, nullptr, FALSE);
    if (viewWindow_) InvalidateRect(viewWindow_, nullptr, FALSE);
}

void PageWindow::OnSize(int width, int height) {
    clientWidth_ = static_cast<uint16_t>(width);
    clientHeight_ = static_cast<uint16_t>(height);
    applyWidthRule();
    banner_.SetWidth(static_cast<int16_t>(width));
    bannerHeight_ = bannerWindow_ ? banner_.Measure() : 0;
    place();
    if (bannerWindow_) InvalidateRect(bannerWindow_, nullptr, FALSE);
}

void PageWindow::startTimer(UINT id, UINT period) {
    if (timerBits_ & id) return;
    if (window_ && SetTimer(window_, id, period, nullptr)) timerBits_ |= static_cast<uint16_t>(id);
}

void PageWindow::stopTimer(UINT id) {
    if (!(timerBits_ & id)) return;
    KillTimer(window_, id);
    timerBits_ &= static_cast<uint16_t>(~id);
}

void PageWindow::OnTimer(UINT id) {
    if (!(timerBits_ & id)) return;
    if (id == kTimedChangeTimer) timedChange();
    // The timer runs while an animation of the page does.
    if (id == kAnimationTimer && !(view_ && view_->GetPage().AnimationTick())) stopTimer(kAnimationTimer);
}

void PageWindow::timedChange() {
    ++timedTicks;
    if (timedTicks < static_cast<uint16_t>(currentStyle_.group2000Word2)) return;
    stopTimer(kTimedChangeTimer);
    if (name_ == kExitPageName) {
        SendMessageA(params_.host->MainWindow(), WM_COMMAND, kExitCommand, 0);
        return;
    }
    const int16_t target = currentStyle_.group2000Word1;
    ShowPage(target, params_.host->ResolveMember(document_, currentStyle_.group2000Byte));
}

bool RegisterPageWindowClass() {
    WNDCLASSA existing{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &existing)) return true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = PageWndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

LRESULT CALLBACK PageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PageWindow* page = PageWindowOf(window);
    switch (message) {
        case WM_CREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            const auto* params = static_cast<const PageWindowParams*>(create->lpCreateParams);
            if (!params) return -1;
            auto made = std::make_unique<PageWindow>(*params);
            SetWindowLongPtrA(window, PageWindow::kWindowWord, reinterpret_cast<LONG_PTR>(made.get()));
            if (!made->Create(window)) {
                SetWindowLongPtrA(window, PageWindow::kWindowWord, 0);
                return -1;
            }
            made.release();
            return 0;
        }
        case WM_DESTROY:
            if (page) {
                SetWindowLongPtrA(window, PageWindow::kWindowWord, 0);
                delete page;
            }
            return 0;
        case WM_SIZE:
            if (page) page->OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_TIMER:
            if (page) page->OnTimer(static_cast<UINT>(wParam));
            return 0;
        case PageWindow::kAnimationPrepared:
            if (page) page->OnAnimationPrepared();
            return 0;
        case WM_ERASEBKGND:
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace lect32
