#include "user/hit_test.h"

#include "user/metrics.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

struct Frame {
    RECT window;  // on the screen
    RECT client;  // on the screen
    int border;   // the sizing, dialog or thin frame
};

Frame frameOf(const WindowObject& window) {
    const POINT origin = windowOrigin(window);
    const POINT client = clientOrigin(window);
    return {{origin.x, origin.y, origin.x + window.width(), origin.y + window.height()},
            {client.x, client.y, client.x + window.client.right - window.client.left,
             client.y + window.client.bottom - window.client.top},
            frameWidth(window.style, window.exStyle)};
}

// A thick frame sizes from its edges; within a corner's reach of a corner, along either edge,
// it sizes both ways.
int sizingHit(const Frame& f, POINT p) {
    const int reach = systemMetric(SM_CYCAPTION) + f.border;
    const bool left = p.x < f.window.left + f.border;
    const bool right = p.x >= f.window.right - f.border;
    const bool top = p.y < f.window.top + f.border;
    const bool bottom = p.y >= f.window.bottom - f.border;
    const bool nearLeft = p.x < f.window.left + reach;
    const bool nearRight = p.x >= f.window.right - reach;
    const bool nearTop = p.y < f.window.top + reach;
    const bool nearBottom = p.y >= f.window.bottom - reach;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    return HTBOTTOM;
}

// The caption row: the system menu icon on the left; close, maximise and minimise buttons from
// the right (both of the latter whenever either box is asked for); the bar elsewhere.
int captionHit(const WindowObject& window, const Frame& f, POINT p) {
    const int button = systemMetric(SM_CXSIZE);
    const int inner = f.window.right - f.border;
    if (window.style & WS_SYSMENU) {
        if (p.x < f.window.left + f.border + button) return HTSYSMENU;
        if (p.x >= inner - button) return HTCLOSE;
        if (window.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
            if (p.x >= inner - 2 * button) return HTMAXBUTTON;
            if (p.x >= inner - 3 * button) return HTMINBUTTON;
        }
    }
    return HTCAPTION;
}

// Between the frame and the client area: the caption, the menu bar, the scroll bars, edges.
int innerHit(const WindowObject& window, const Frame& f, POINT p) {
    int top = f.window.top + f.border;
    if ((window.style & WS_CAPTION) == WS_CAPTION) {
        top += systemMetric(SM_CYCAPTION);
        if (p.y < top) return captionHit(window, f, p);
    }
    if (hasMenuBar(window)) {
        top += systemMetric(SM_CYMENU);
        if (p.y < top) return HTMENU;
    }
    const bool besideClient = p.x >= f.client.right && p.x < f.client.right + systemMetric(SM_CXVSCROLL);
    const bool belowClient = p.y >= f.client.bottom && p.y < f.client.bottom + systemMetric(SM_CYHSCROLL);
    const bool vertical = (window.style & WS_VSCROLL) && besideClient;
    const bool horizontal = (window.style & WS_HSCROLL) && belowClient;
    if (vertical && horizontal) return (window.style & WS_THICKFRAME) ? HTSIZE : HTNOWHERE;
    if (vertical && p.y < f.client.bottom) return HTVSCROLL;
    if (horizontal && p.x < f.client.right) return HTHSCROLL;
    return HTBORDER;
}

}  // namespace

int frameHitTest(const WindowObject& window, POINT screen) {
    const Frame f = frameOf(window);
    if (!contains(f.window, screen)) return HTNOWHERE;
    if (window.style & WS_MINIMIZE) return HTCAPTION;
    if (contains(f.client, screen)) return HTCLIENT;
    const RECT inside{f.window.left + f.border, f.window.top + f.border, f.window.right - f.border,
                      f.window.bottom - f.border};
    if (!contains(inside, screen)) {
        const bool sizable = (window.style & WS_THICKFRAME) && !(window.style & WS_MAXIMIZE);
        return sizable ? sizingHit(f, screen) : HTBORDER;
    }
    return innerHit(window, f, screen);
}

}  // namespace winplat::user
