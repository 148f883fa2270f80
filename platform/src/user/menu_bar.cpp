#include "user/menu_bar.h"

#include <string>

#include "user/caption_layout.h"
#include "user/edge_drawing.h"
#include "user/menu_layout.h"
#include "user/menu_tracking.h"
#include "user/metrics.h"
#include "winplat/cp1250.h"
#include "winplat/text.h"

namespace winplat::user {
namespace {

constexpr int kItemPadding = 6;  // left and right of each label

// The window whose drop-down is open and the bar item it hangs from, for the frame's drawing.
HWND openWindow = nullptr;
int openItem = -1;

std::shared_ptr<MenuObject> barOf(const WindowObject& window) {
    if (!hasMenuBar(window)) return nullptr;
    return findMenu(reinterpret_cast<HMENU>(window.id));
}

int labelWidth(HDC dc, std::string_view label) {
    if (label.empty()) return 0;
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, label.data(), static_cast<int>(label.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

void redrawBar(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void setOpen(const WindowObject& window, int item) {
    openWindow = item >= 0 ? window.handle : nullptr;
    openItem = item;
    redrawBar(window.handle);
}

// The next live item along the bar from 'at', round its ends.
int neighbour(const MenuObject& bar, int at, int by) {
    const int count = static_cast<int>(bar.items.size());
    for (int tried = 1; tried <= count; ++tried) {
        const int next = ((at + by * tried) % count + count) % count;
        if (!bar.items[static_cast<size_t>(next)].inactive()) return next;
    }
    return at;
}

// The bar item under a screen point that a drop-down may switch to: grey items are passed over.
int liveBarItemAt(const WindowObject& window, POINT screen) {
    const int at = menuBarItemAt(window, screen);
    const auto bar = barOf(window);
    if (at < 0 || !bar || at >= static_cast<int>(bar->items.size())) return -1;
    return bar->items[static_cast<size_t>(at)].inactive() ? -1 : at;
}

// Opens one item: its command goes out at once, its drop-down is tracked.
PopupOutcome openItemOf(const WindowRef& window, const MenuObject& bar, int at) {
    const MenuItem item = bar.items[static_cast<size_t>(at)];
    if (item.inactive()) return {};
    if (!item.popup()) return {item.id, 0, -1};
    const std::vector<RECT> places = layOutMenuBar(*window);
    const RECT& place = places[static_cast<size_t>(at)];
    const POINT below{window->window.left + place.left, window->window.top + place.bottom};
    const WindowObject* raw = window.get();
    // The bar item is the hot item of the bar while its drop-down shows.
    SendMessageA(window->handle, WM_MENUSELECT, MAKELONG(at, (item.flags & 0xFFFF) | MF_HILITE),
                 static_cast<LPARAM>(window->id));
    TrackRequest request{item.subMenu, window->handle, below, TPM_LEFTALIGN | TPM_TOPALIGN,
                         withoutPrefixes(labelOf(item.text)), false,
                         [raw](POINT screen) { return liveBarItemAt(*raw, screen); }, false, at};
    return trackPopupOutcome(request);
}

}  // namespace

RECT menuBarStrip(const WindowObject& window) {
    const int frame = frameWidth(window.style, window.exStyle);
    const int top = frame + (hasCaption(window) ? systemMetric(SM_CYCAPTION) : 0);
    return {frame, top, window.width() - frame, top + systemMetric(SM_CYMENU)};
}

std::vector<RECT> layOutMenuBar(const WindowObject& window) {
    const auto bar = barOf(window);
    if (!bar) return {};
    const RECT strip = menuBarStrip(window);
    const BorrowedDc screen(nullptr);
    const GdiObject<HFONT> font = makeMenuFont();
    const Selection selected(screen.get(), font.get());
    std::vector<RECT> places;
    int left = strip.left;
    for (const MenuItem& item : bar->items) {
        const int width = labelWidth(screen.get(), labelOf(item.text)) + 2 * kItemPadding;
        places.push_back({left, strip.top, left + width, strip.bottom});
        left += width;
    }
    return places;
}

void drawMenuBarStrip(HDC dc, const WindowObject& window) {
    const auto bar = barOf(window);
    fillWithColour(dc, menuBarStrip(window), COLOR_MENU);
    if (!bar) return;
    const std::vector<RECT> places = layOutMenuBar(window);
    const GdiObject<HFONT> font = makeMenuFont();
    const Selection selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < places.size() && i < bar->items.size(); ++i) {
        const MenuItem& item = bar->items[i];
        RECT r = places[i];
        const bool open = openWindow == window.handle && openItem == static_cast<int>(i);
        if (open) {
            RECT edge = r;
            drawEdges(dc, edge, BDR_SUNKENOUTER, BF_RECT);
        }
        const std::string_view label = labelOf(item.text);
        const int shift = open ? 1 : 0;
        if (item.inactive()) {
            RECT light{r.left + 1 + shift, r.top + 1 + shift, r.right + 1 + shift, r.bottom + 1 + shift};
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            DrawTextA(dc, label.data(), static_cast<int>(label.size()), &light, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        RECT text{r.left + shift, r.top + shift, r.right + shift, r.bottom + shift};
        SetTextColor(dc, GetSysColor(item.inactive() ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        DrawTextA(dc, label.data(), static_cast<int>(label.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

int menuBarItemAt(const WindowObject& window, POINT screen) {
    const POINT p{screen.x - window.window.left, screen.y - window.window.top};
    const std::vector<RECT> places = layOutMenuBar(window);
    for (size_t i = 0; i < places.size(); ++i) {
        const RECT& r = places[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

void trackMenuBar(const WindowRef& window, int item) {
    if (item < 0 || trackingMenu() || !barOf(*window)) return;
    const HMENU handle = reinterpret_cast<HMENU>(window->id);
    SendMessageA(window->handle, WM_INITMENU, reinterpret_cast<WPARAM>(handle), 0);
    int at = item;
    UINT chosen = 0;
    // Each turn opens one item; a bound keeps a bar of grey items from turning for ever.
    for (int turn = 0; turn < 256 && !window->gone; ++turn) {
        const auto bar = barOf(*window);
        if (!bar || at < 0 || at >= static_cast<int>(bar->items.size())) break;
        setOpen(*window, at);
        const PopupOutcome outcome = openItemOf(window, *bar, at);
        chosen = outcome.chosen;
        if (outcome.moveBy != 0) {
            at = neighbour(*bar, at, outcome.moveBy);
        } else if (outcome.switchTo >= 0 && outcome.switchTo != at) {
            at = outcome.switchTo;
        } else {
            break;
        }
    }
    if (window->gone) return;
    setOpen(*window, -1);
    // Menu commands are posted, as the program's message loop expects them.
    if (chosen) PostMessageA(window->handle, WM_COMMAND, chosen, 0);
}

void enterMenuBarByKey(const WindowRef& window, WPARAM character) {
    const auto bar = barOf(*window);
    if (!bar || bar->items.empty()) return;
    if (character == 0) {
        trackMenuBar(window, bar->items.front().inactive() ? neighbour(*bar, 0, 1) : 0);
        return;
    }
    const char wanted = static_cast<char>(cp1250::toLower(static_cast<uint8_t>(character)));
    for (size_t i = 0; i < bar->items.size(); ++i) {
        if (mnemonicOf(bar->items[i].text) == wanted && !bar->items[i].inactive()) {
            trackMenuBar(window, static_cast<int>(i));
            return;
        }
    }
}

}  // namespace winplat::user
