#include "user/scroll_tracking.h"

#include "user/modal_loop.h"
#include "user/nonclient_drawing.h"
#include "user/nonclient_state.h"
#include "user/scroll_bar_drawing.h"
#include "user/send.h"
#include "user/timers.h"
#include "user/tree.h"
#include "user/window.h"

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
    explicit Tracker(TrackedScrollBar& bar) : bar_(bar), window_(findWindow(bar.window())) {}

    void run(POINT screen) {
        if (!window_) return;
        const POINT at = bar_.fromScreen(screen);
        const ScrollBarLayout layout = bar_.layout();
        part_ = scrollPartAt(layout, at);
        if (part_ == ScrollPart::None || arrowDisabled(bar_.state(), part_)) return;
        vertical_ = layout.vertical;
        SetCapture(window_->handle);
        if (part_ == ScrollPart::Thumb) {
            grab_ = along(at) - layout.thumbStart;
            ScrollBarState& state = bar_.state();
            state.tracking = true;
            state.trackPos = state.pos;
        } else {
            send(codeOf(part_), 0);
            layerTimers().set(window_->handle, kScrollRepeatTimer, kScrollFirstDelay, nullptr);
        }
        press(true);
        loop(at);
        finish();
    }

  private:
    int along(POINT p) const { return vertical_ ? p.y : p.x; }

    void send(WORD code, int pos) {
        if (!window_->gone) bar_.notify(code, pos);
    }

    void press(bool held) {
        if (!window_->gone) bar_.showPressed(held ? part_ : ScrollPart::None);
    }

    // Whether the held arrow or page area is still under the pointer (a page area ends where the
    // thumb has come to).
    bool stillOnPart(POINT at) { return scrollPartAt(bar_.layout(), at) == part_; }

    void repeat(POINT at) {
        layerTimers().set(window_->handle, kScrollRepeatTimer, kScrollRepeatRate, nullptr);
        if (stillOnPart(at)) send(codeOf(part_), 0);
    }

    void drag(POINT at) {
        ScrollBarState& state = bar_.state();
        const int pos = positionForThumb(bar_.layout(), state, along(at) - grab_);
        if (pos == state.trackPos) return;
        state.trackPos = pos;
        bar_.redraw();
        send(SB_THUMBTRACK, pos);
    }

    void loop(POINT at) {
        MSG msg{};
        while (stillCaptured(window_) && nextModalMessage(msg)) {
            if (msg.message == kLayerTimerMessage && msg.hwnd == window_->handle && msg.wParam == kScrollRepeatTimer) {
                repeat(at);
                continue;
            }
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
                at = bar_.fromScreen(msg.pt);
                if (part_ == ScrollPart::Thumb) drag(at);
                if (msg.message == WM_LBUTTONUP) return;
                continue;
            }
            dispatchModal(msg);
        }
    }

    void finish() {
        if (window_->gone) return;
        layerTimers().kill(window_->handle, kScrollRepeatTimer);
        if (part_ == ScrollPart::Thumb) {
            const int pos = bar_.state().trackPos;
            send(SB_THUMBPOSITION, pos);
            if (!window_->gone) bar_.state().tracking = false;
        }
        press(false);
        send(SB_ENDSCROLL, 0);
        if (!window_->gone && GetCapture() == window_->handle) ReleaseCapture();
    }

    TrackedScrollBar& bar_;
    WindowRef window_;
    ScrollPart part_ = ScrollPart::None;
    bool vertical_ = true;
    int grab_ = 0;
};

// A bar in a window's frame: its numbers in the non-client state, drawn with the frame, telling
// the window itself.
class WindowBar final : public TrackedScrollBar {
  public:
    WindowBar(const WindowRef& window, int bar) : window_(window), bar_(bar) {}

    HWND window() const override { return window_->handle; }
    POINT fromScreen(POINT screen) const override {
        const POINT origin = windowOrigin(*window_);
        return {screen.x - origin.x, screen.y - origin.y};
    }
    ScrollBarLayout layout() override { return windowScrollLayout(*window_, bar_); }
    ScrollBarState& state() override { return scrollBar(*window_, bar_); }
    void showPressed(ScrollPart part) override {
        NonClientState& nc = nonClientState(*window_);
        nc.pressedBar = part == ScrollPart::None ? -1 : bar_;
        nc.pressedPart = part;
        redraw();
    }
    void redraw() override { drawScrollBar(*window_, bar_); }
    void notify(WORD code, int pos) override {
        sendTo(window_, bar_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKELONG(code, static_cast<WORD>(pos)), 0);
    }

  private:
    WindowRef window_;
    int bar_;
};

}  // namespace

void trackScrollPress(TrackedScrollBar& bar, POINT screen) { Tracker(bar).run(screen); }

void trackScrollBar(const WindowRef& window, int bar, POINT screen) {
    WindowBar tracked(window, bar);
    trackScrollPress(tracked, screen);
}

}  // namespace winplat::user
