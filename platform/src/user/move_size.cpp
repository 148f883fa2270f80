#include "user/move_size.h"

#include <algorithm>

#include "user/modal_loop.h"
#include "user/placement.h"
#include "user/send.h"

namespace winplat::user {
namespace {

constexpr int kKeyStep = 8;

bool movesLeft(UINT side) { return side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT; }
bool movesRight(UINT side) { return side == WMSZ_RIGHT || side == WMSZ_TOPRIGHT || side == WMSZ_BOTTOMRIGHT; }
bool movesTop(UINT side) { return side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT; }
bool movesBottom(UINT side) { return side == WMSZ_BOTTOM || side == WMSZ_BOTTOMLEFT || side == WMSZ_BOTTOMRIGHT; }

class MoveSize {
  public:
    MoveSize(const WindowRef& window, WPARAM command, POINT screen)
        : window_(window), sizing_((command & 0xFFF0) == SC_SIZE), side_(static_cast<UINT>(command & 0x000F)),
          start_(window->window), grab_(screen), limits_(askMinMaxInfo(window)) {}

    void run() {
        if (sizing_ && (side_ < WMSZ_LEFT || side_ > WMSZ_BOTTOMRIGHT)) side_ = WMSZ_BOTTOMRIGHT;
        SetCapture(window_->handle);
        sendTo(window_, WM_ENTERSIZEMOVE, 0, 0);
        loop();
        if (window_->gone) return;
        if (GetCapture() == window_->handle) ReleaseCapture();
        sendTo(window_, WM_EXITSIZEMOVE, 0, 0);
    }

  private:
    // The rectangle for the pointer at 'p': moved along, or the held sides moved along and the
    // size kept within the tracking limits (the held side gives way).
    RECT follow(POINT p) const {
        const int dx = p.x - grab_.x;
        const int dy = p.y - grab_.y;
        RECT r = start_;
        if (!sizing_) {
            return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        }
        if (movesLeft(side_)) r.left = start_.right - clampWidth(start_.right - start_.left - dx);
        if (movesRight(side_)) r.right = start_.left + clampWidth(start_.right - start_.left + dx);
        if (movesTop(side_)) r.top = start_.bottom - clampHeight(start_.bottom - start_.top - dy);
        if (movesBottom(side_)) r.bottom = start_.top + clampHeight(start_.bottom - start_.top + dy);
        return r;
    }
    int clampWidth(int width) const { return std::clamp(width, limits_.ptMinTrackSize.x, std::max(limits_.ptMinTrackSize.x, limits_.ptMaxTrackSize.x)); }
    int clampHeight(int height) const { return std::clamp(height, limits_.ptMinTrackSize.y, std::max(limits_.ptMinTrackSize.y, limits_.ptMaxTrackSize.y)); }

    void place(RECT r, bool offer) {
        if (window_->gone) return;
        if (offer) {
            sendTo(window_, sizing_ ? WM_SIZING : WM_MOVING, sizing_ ? side_ : 0, reinterpret_cast<LPARAM>(&r));
            if (window_->gone) return;
        }
        SetWindowPos(window_->handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Arrow keys move the pointer's hold by a step; false for keys that end the loop.
    bool key(WPARAM vk) {
        switch (vk) {
            case VK_ESCAPE: place(start_, false); return false;
            case VK_RETURN: return false;
            case VK_LEFT: pointer_.x -= kKeyStep; break;
            case VK_RIGHT: pointer_.x += kKeyStep; break;
            case VK_UP: pointer_.y -= kKeyStep; break;
            case VK_DOWN: pointer_.y += kKeyStep; break;
            default: return true;
        }
        place(follow(pointer_), true);
        return true;
    }

    void loop() {
        pointer_ = grab_;
        MSG msg{};
        const host::ModalLoop modal{host::ModalKind::MoveSize, sizing_ ? "size" : "move", window_->handle, 0};
        while (stillCaptured(window_) && nextModalMessage(msg, &modal)) {
            switch (msg.message) {
                case WM_MOUSEMOVE:
                    pointer_ = msg.pt;
                    place(follow(pointer_), true);
                    break;
                case WM_LBUTTONUP: return;
                case WM_KEYDOWN:
                case WM_SYSKEYDOWN:
                    if (!key(msg.wParam)) return;
                    break;
                case WM_KEYUP:
                case WM_SYSKEYUP:
                case WM_CHAR:
                case WM_SYSCHAR: break;  // the loop's keys go nowhere else
                default: dispatchModal(msg); break;
            }
        }
    }

    WindowRef window_;
    bool sizing_;
    UINT side_;
    RECT start_;
    POINT grab_;
    POINT pointer_{};
    MINMAXINFO limits_;
};

}  // namespace

void moveSizeLoop(const WindowRef& window, WPARAM command, POINT screen) {
    if ((window->style & WS_MAXIMIZE) && (command & 0xFFF0) == SC_MOVE) return;  // a maximised window stays put
    MoveSize(window, command, screen).run();
}

}  // namespace winplat::user
