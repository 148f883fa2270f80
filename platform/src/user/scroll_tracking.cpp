#include "user/scroll_tracking.h"

#include "user/modal_loop.h"
#include "user/nonclient_drawing.h"
#include "user/nonclient_state.h"
#include "user/scroll_bar_drawing.h"
#include "user/send.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

WORD codeOf(ScrollPart part) {
    switch (part) {
        case ScrollPart::LineUp: return SB_LINEUP;
        case ScrollPart::LineDown: return SB_LINEDOWN;
        case ScrollPart::PageUp: return SB_PAGEUP;
        default: return SB_PAGEDOWN;
    }
}

bool arrowDisabled(const ScrollBarState& state, ScrollPart part) {
    if (part == ScrollPart::LineUp) return (state.disabledArrows & ESB_DISABLE_LTUP) != 0;
    if (part == ScrollPart::LineDown) return (state.disabledArrows & ESB_DISABLE_RTDN) != 0;
    return false;
}

class Tracker {
  public:
    Tracker(const WindowRef& window, int bar) : window_(window), bar_(bar) {}

    void run(POINT screen) {
        const POINT at = toWindow(screen);
        const ScrollBarLayout layout = windowScrollLayout(*window_, bar_);
        part_ = scrollPartAt(layout, at);
        if (part_ == ScrollPart::None || arrowDisabled(scrollBar(*window_, bar_), part_)) return;
        SetCapture(window_->handle);
        if (part_ == ScrollPart::Thumb) {
            grab_ = along(at) - layout.thumbStart;
            ScrollBarState& state = scrollBar(*window_, bar_);
            state.tracking = true;
            state.trackPos = state.pos;
        } else {
            send(codeOf(part_), 0);
            SetTimer(window_->handle, kScrollTimerId, kScrollFirstDelay, nullptr);
        }
        press(true);
        loop(at);
        finish();
    }

  private:
    POINT toWindow(POINT screen) const {
        const POINT origin = windowOrigin(*window_);
        return {screen.x - origin.x, screen.y - origin.y};
    }
    int along(POINT p) const { return bar_ == SB_VERT ? p.y : p.x; }

    void send(WORD code, int pos) {
        if (window_->gone) return;
        sendTo(window_, bar_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKELONG(code, static_cast<WORD>(pos)), 0);
    }

    void press(bool held) {
        if (window_->gone) return;
        NonClientState& nc = nonClientState(*window_);
        nc.pressedBar = held ? bar_ : -1;
        nc.pressedPart = held ? part_ : ScrollPart::None;
        drawScrollBar(*window_, bar_);
    }

    // Whether the held arrow or page area is still under the pointer (a page area ends where the
    // thumb has come to).
    bool stillOnPart(POINT at) const { return scrollPartAt(windowScrollLayout(*window_, bar_), at) == part_; }

    void repeat(POINT at) {
        SetTimer(window_->handle, kScrollTimerId, kScrollRepeatRate, nullptr);
        if (stillOnPart(at)) send(codeOf(part_), 0);
    }

    void drag(POINT at) {
        ScrollBarState& state = scrollBar(*window_, bar_);
        const ScrollBarLayout layout = windowScrollLayout(*window_, bar_);
        const int pos = positionForThumb(layout, state, along(at) - grab_);
        if (pos == state.trackPos) return;
        state.trackPos = pos;
        drawScrollBar(*window_, bar_);
        send(SB_THUMBTRACK, pos);
    }

    void loop(POINT at) {
        MSG msg{};
        while (stillCaptured(window_) && nextModalMessage(msg)) {
            if (msg.message == WM_TIMER && msg.hwnd == window_->handle && msg.wParam == kScrollTimerId) {
                repeat(at);
                continue;
            }
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
                at = toWindow(msg.pt);
                if (part_ == ScrollPart::Thumb) drag(at);
                if (msg.message == WM_LBUTTONUP) return;
                continue;
            }
            dispatchModal(msg);
        }
    }

    void finish() {
        if (window_->gone) return;
        KillTimer(window_->handle, kScrollTimerId);
        ScrollBarState& state = scrollBar(*window_, bar_);
        if (part_ == ScrollPart::Thumb) {
            const int pos = state.trackPos;
            send(SB_THUMBPOSITION, pos);
            if (!window_->gone) scrollBar(*window_, bar_).tracking = false;
        }
        press(false);
        send(SB_ENDSCROLL, 0);
        if (!window_->gone && GetCapture() == window_->handle) ReleaseCapture();
    }

    WindowRef window_;
    int bar_;
    ScrollPart part_ = ScrollPart::None;
    int grab_ = 0;
};

}  // namespace

void trackScrollBar(const WindowRef& window, int bar, POINT screen) { Tracker(window, bar).run(screen); }

}  // namespace winplat::user
