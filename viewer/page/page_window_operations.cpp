// What the page window does besides showing pages: its commands and messages, the index mark,
// the styles the user tool bar's page takes, and what navigation asks of it.
#include "page/page_style_form.h"
#include "page/page_window.h"
#include "winplat/dialogs.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr size_t kMessageTextSize = 256;

std::string ViewerString(UINT id) {
    char text[kMessageTextSize] = {};
    LoadStringA(GetModuleHandleA("lect32.exe"), id, text, sizeof text);
    return text;
}

}  // namespace

void PageWindow::OnCommand(UINT id) {
    if (id != kCopyCommand) {
        view_->OnCommand(id);
        return;
    }
    if (params_.host && !params_.host->CopyAllowed(document_)) {
        const std::string text = ViewerString(kCopyForbiddenText);
        const std::string caption = ViewerString(kErrorCaption);
        MessageBoxA(params_.host->MainWindow(), text.c_str(), caption.c_str(), MB_ICONERROR);
        return;
    }
    if (!view_->DoCommand(RichTextObject::kCopy, 1)) view_->CopySelection(true);
}

LRESULT PageWindow::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kStartAnimation: startTimer(kAnimationTimer, kAnimationPeriodMs); return 0;
        case kObjectTimerSwitch:
            if (wParam) startTimer(kObjectTimer, kObjectPeriodMs);
            else stopTimer(kObjectTimer);
            return 0;
        case kObjectMessage:
            view_->DoCommand(RichTextObject::kObjectMessage, static_cast<int>(wParam), reinterpret_cast<void*>(lParam));
            return 0;
        case kObjectCommand9: view_->DoCommand(RichTextObject::kObjectsOnly9); return 0;
        case kScrollToMarkMessage: ScrollToMark(static_cast<uint16_t>(wParam)); return 0;
        case kPaintedMessage: view_->DoCommand(RichTextObject::kShown); return 0;
        case kActivateDocument:
            if (params_.host) params_.host->ActivateDocument(document_);
            return 0;
        case kObjectCommand13: view_->DoCommand(RichTextObject::kObjectsOnly13, static_cast<int>(wParam)); return 0;
        default: return viewWindow_ ? SendMessageA(viewWindow_, message, wParam, lParam) : 0;
    }
}

void PageWindow::OnFocus(bool gained) {
    if (!params_.host || params_.host->ViewerClosing()) return;
    if (gained) params_.host->ActivateDocument(document_);
}

bool PageWindow::ScrollToMark(uint16_t mark) {
    if (!view_->ScrollToMark(mark)) return false;
    startTimer(kMarkTimer, kMarkPeriodMs);
    return true;
}

void PageWindow::ApplyFixedPageStyle() {
    MergePageStyle(currentStyle_, pageStyle_, defaultStyle_);
    currentStyle_.widthMode = 2;
    pageStyle_.widthMode = 2;
    fixedWidth_ = true;
    currentStyle_.group80Byte = 1;
    applyWidthRule();
}

void PageWindow::ApplyPageStyle(const PageStyle& style) {
    currentStyle_ = style;
    refresh();
}

void PageWindow::UpdateBannerHeight() {
    banner_.SetWidth(static_cast<int16_t>(clientWidth_));
    bannerHeight_ = bannerWindow_ ? banner_.Measure() : 0;
    place();
    if (bannerWindow_) InvalidateRect(bannerWindow_, nullptr, FALSE);
}

RelatedPages PageWindow::GetRelatedPages() const {
    RelatedPages related;
    for (size_t i = 0; i < 3; ++i) {
        related.page[i] = pageStyle_.links[i].id;
        related.link[i] = pageStyle_.links[i].value;
    }
    return related;
}

void PageWindow::SetUserToolBar(bool toolBar) {
    toolBar_ = toolBar;
    view_->SetToolBar(toolBar);
}

}  // namespace lect32
