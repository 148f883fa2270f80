#include "page/page_window.h"

#include <algorithm>

#include "page/page_style_form.h"
#include "winplat/byte_reader.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

// Options of the view settings that showing a page follows.
constexpr uint8_t kMarkAddressesOption = 0x10;
constexpr uint8_t kSecondLayoutOption = 0x08;

// Ticks of the timed change of the page shown last: one count for the program, as only one page
// at a time changes by itself.
uint16_t timedTicks = 0;

bool WidthFollowsWindow(const PageStyle& style) { return style.widthMode == 0 || style.widthMode == 2; }

}  // namespace

int16_t PageWidthFor(const PageStyle& style, int clientWidth, bool fixedWidth) {
    if (!WidthFollowsWindow(style)) return style.width;
    if (fixedWidth) return static_cast<int16_t>(clientWidth);
    return static_cast<int16_t>(std::max(clientWidth, 2 * style.LeftMargin() + PageWindow::kMinimumTextWidth));
}

PageWindow::PageWindow(const PageWindowParams& params) : params_(params), banner_(params.banner) {
    // Made once every member it reads is set.
    view_ = makeView();
}

std::unique_ptr<RichTextObject> PageWindow::makeView() const {
    auto view = std::make_unique<RichTextObject>(params_.page, params_.view, params_.input);
    view->SetMode(DocumentView::kNormal);
    view->SetToolBar(toolBar_);
    if (params_.host) view->SetMainWindow(params_.host->MainWindow());
    return view;
}

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

void PageWindow::takeView(std::unique_ptr<RichTextObject> view) {
    view_ = std::move(view);
    if (!viewWindow_) return;
    view_->SetWindow(viewWindow_);
    SetWindowLongPtrA(viewWindow_, DocumentView::kViewWord, reinterpret_cast<LONG_PTR>(view_.get()));
}

bool PageWindow::ShowPage(int16_t page, uint8_t document, bool unlessShown) {
    if (unlessShown && page == page_ && document == document_) return false;
    return ShowPage(page, document);
}

bool PageWindow::ShowPage(int16_t page, uint8_t document) {
    if (!params_.host) return false;
    PageContent read;
    if (!params_.host->ReadPage(page, document, read)) return false;
    // The content is read into a view of its own first: a damaged page must not leave this
    // window half emptied.
    auto fresh = makeView();
    winplat::ByteReader in(read.content);
    if (!fresh->LoadPage(in)) return false;
    params_.host->ActivateDocument(document);
    ClosePage();
    takeView(std::move(fresh));
    view_->SetDocumentSlot(static_cast<int8_t>(document));
    view_->DoCommand(RichTextObject::kClearFlags);
    pageStyle_ = read.style;
    defaultStyle_ = params_.host->DefaultStyle(document);
    view_->DoCommand(RichTextObject::kLayoutAgain);
    MergePageStyle(currentStyle_, pageStyle_, defaultStyle_);
    name_ = read.name;
    banner_.SetText(name_);
    page_ = page;
    document_ = document;
    const uint8_t options = params_.input ? params_.input->ViewOptions() : 0;
    if (options & kMarkAddressesOption) view_->DoCommand(RichTextObject::kMarkAddresses);
    refresh();
    if (currentStyle_.group2000Word1 != -1) {
        timedTicks = 0;
        startTimer(kTimedChangeTimer, kTickMs);
    }
    view_->DoCommand(RichTextObject::kShown);
    if (params_.input && viewWindow_) params_.input->MakeCurrentPane(viewWindow_);
    if (options & kSecondLayoutOption) view_->DoCommand(RichTextObject::kLayoutAgain, 1);
    return true;
}

void PageWindow::ClosePage() {
    for (UINT id : {1u, 2u, 4u, kTimedChangeTimer}) stopTimer(id);
    currentStyle_ = PageStyle{};
    pageStyle_ = PageStyle{};
    banner_.Reset();
    view_->DoCommand(RichTextObject::kEmpty);
    view_->Reset();
    // Tab starts again from the top of the next page.
    RichTextObject::ProgramLinkStep() = LinkStep{};
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
    switch (id) {
        // The timer runs while an animation of the page does.
        case kAnimationTimer:
            if (!(view_ && view_->GetPage().AnimationTick())) stopTimer(kAnimationTimer);
            break;
        case kObjectTimer: view_->DoCommand(RichTextObject::kStep, 2); break;
        case kMarkTimer:
            if (!view_->MarkStep()) stopTimer(kMarkTimer);
            break;
        case kTimedChangeTimer: timedChange(); break;
        default: break;
    }
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

}  // namespace lect32
