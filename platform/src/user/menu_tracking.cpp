#include "user/menu_tracking.h"

#include <algorithm>
#include <utility>

#include "base/call_refusal.h"
#include "user/menu_drawing.h"
#include "user/modal_loop.h"
#include "user/timers.h"
#include "winplat/cp1250.h"
#include "winplat/owners.h"

namespace winplat::user {
namespace {

constexpr const char* kMenuClass = "#32768";

struct Tracker {
    HMENU handle = nullptr;
    std::shared_ptr<MenuObject> menu;
    PopupLayout layout;
    HWND window = nullptr;
    POINT origin{};   // the menu window's top-left on the screen
    int hot = -1;
    bool notify = true;
    Tracker* outer = nullptr;  // the drop-down this sub-menu hangs from
};

// The menu being shown, for its window's painting; null while none is.
Tracker* current = nullptr;

void destroyMenuWindow(HWND window) { DestroyWindow(window); }
using MenuWindow = UniqueHandle<HWND, destroyMenuWindow>;

LRESULT CALLBACK menuWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(window, &paint);
            for (const Tracker* t = current; t; t = t->outer) {
                if (t->window == window) drawPopup(dc, *t->menu, t->layout, t->hot);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;  // the painting covers every pixel
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerMenuClass() {
    WNDCLASSA known{};
    if (GetClassInfoA(nullptr, kMenuClass, &known)) return;
    WNDCLASSA menuClass{};
    menuClass.style = CS_SAVEBITS;
    menuClass.lpfnWndProc = menuWindowProcedure;
    menuClass.lpszClassName = kMenuClass;
    RegisterClassA(&menuClass);
}

PopupLayout measure(const MenuObject& menu) {
    const BorrowedDc screen(nullptr);
    const GdiObject<HFONT> font = makeMenuFont();
    const Selection selected(screen.get(), font.get());
    return layOutPopup(screen.get(), menu);
}

// The menu's top-left: aligned to the point as the flags say, then moved onto the screen.
POINT placeMenu(POINT at, SIZE size, UINT flags) {
    POINT origin = at;
    if (flags & TPM_CENTERALIGN) origin.x -= size.cx / 2;
    else if (flags & TPM_RIGHTALIGN) origin.x -= size.cx;
    if (flags & TPM_VCENTERALIGN) origin.y -= size.cy / 2;
    else if (flags & TPM_BOTTOMALIGN) origin.y -= size.cy;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    origin.x = std::max(0, std::min<int>(origin.x, screenWidth - size.cx));
    origin.y = std::max(0, std::min<int>(origin.y, screenHeight - size.cy));
    return origin;
}

bool choosable(const MenuItem& item) { return !item.separator() && !item.inactive() && !item.popup(); }

void setHot(Tracker& t, HWND owner, int hot) {
    if (hot == t.hot) return;
    t.hot = hot;
    layerTimers().kill(t.window, kMenuShowTimer);  // a sub-menu opens only for the item still hot
    InvalidateRect(t.window, nullptr, FALSE);
    UpdateWindow(t.window);
    if (!t.notify || hot < 0) return;
    const MenuItem& item = t.menu->items[static_cast<size_t>(hot)];
    const UINT which = item.popup() ? static_cast<UINT>(hot) : item.id;
    SendMessageA(owner, WM_MENUSELECT, MAKELONG(which, (item.flags & 0xFFFF) | MF_HILITE),
                 reinterpret_cast<LPARAM>(t.handle));
}

// The next item the arrows reach from the hot one, skipping separators and grey items.
int step(const Tracker& t, int direction) {
    const int count = static_cast<int>(t.menu->items.size());
    int at = t.hot < 0 ? (direction > 0 ? -1 : count) : t.hot;
    for (int tried = 0; tried < count; ++tried) {
        at = (at + direction + count) % count;
        if (choosable(t.menu->items[static_cast<size_t>(at)]) || t.menu->items[static_cast<size_t>(at)].popup()) {
            return at;
        }
    }
    return t.hot;
}

// The items whose mnemonic is the character; one live item is chosen, several take turns.
struct KeyOutcome {
    bool choose = false;
    int hot = -1;
};

KeyOutcome mnemonic(const Tracker& t, WPARAM character) {
    const char wanted = static_cast<char>(cp1250::toLower(static_cast<uint8_t>(character)));
    std::vector<int> matches;
    for (size_t i = 0; i < t.menu->items.size(); ++i) {
        const MenuItem& item = t.menu->items[i];
        if (!item.separator() && !item.inactive() && mnemonicOf(item.text) == wanted) matches.push_back(static_cast<int>(i));
    }
    if (matches.empty()) return {false, t.hot};
    if (matches.size() == 1) return {true, matches.front()};
    const auto next = std::upper_bound(matches.begin(), matches.end(), t.hot);
    return {false, next == matches.end() ? matches.front() : *next};
}

// What an answerer gave: a live command of the menu or its sub-menus, else a cancel.
UINT answeredCommand(HMENU menu, INT_PTR answer) {
    static constexpr Refuser refuse("winplat: menu");
    if (answer == 0) return 0;
    const UINT command = static_cast<UINT>(answer);
    const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return refuse(0u, "the answer names no item of the menu");
    if (state & (MF_GRAYED | MF_DISABLED)) return refuse(0u, "the answer names a grey item");
    return command;
}

struct LoopResult {
    bool done = false;
    UINT chosen = 0;
    int moveBy = 0;
    int switchTo = -1;
    bool closeAll = false;
    bool pointerLeft = false;
    POINT pointer{};
};

bool insideMenu(const Tracker& t, POINT screen) {
    return screen.x >= t.origin.x && screen.y >= t.origin.y && screen.x < t.origin.x + t.layout.size.cx &&
           screen.y < t.origin.y + t.layout.size.cy;
}

// The item of the menu under a screen point, -1 for none or a separator.
int liveItemAt(const Tracker& t, POINT screen) {
    const int under = itemAt(t.layout, {screen.x - t.origin.x, screen.y - t.origin.y});
    if (under < 0 || t.menu->items[static_cast<size_t>(under)].separator()) return -1;
    return under;
}

// Whether the pointer came to rest on another item of a menu this one hangs from (the item that
// opened it keeps it open).
bool pointerLeftForOuter(const Tracker& t, POINT screen) {
    for (const Tracker* o = t.outer; o; o = o->outer) {
        if (!insideMenu(*o, screen)) continue;
        const int under = liveItemAt(*o, screen);
        return under >= 0 && (o != t.outer || under != o->hot);
    }
    return false;
}

LoopResult followPointer(Tracker& t, const TrackRequest& request, POINT screen);

// Opens the hot item's sub-menu beside it; back here when it closes alone.
LoopResult openCascade(Tracker& t, const TrackRequest& request) {
    const MenuItem item = t.menu->items[static_cast<size_t>(t.hot)];
    const RECT& r = t.layout.items[static_cast<size_t>(t.hot)];
    const TrackRequest sub{item.subMenu,
                           request.owner,
                           {t.origin.x + r.right - kMenuBorder, t.origin.y + r.top - kMenuBorder},
                           request.flags & (TPM_RIGHTBUTTON | TPM_NONOTIFY),
                           withoutPrefixes(labelOf(item.text)),
                           request.systemMenu,
                           request.barItemAt,
                           true,
                           request.barIndex};
    layerTimers().kill(t.window, kMenuShowTimer);
    const PopupOutcome out = trackPopupOutcome(sub);
    if (IsWindow(t.window)) SetCapture(t.window);
    if (out.chosen || out.moveBy || out.switchTo >= 0 || out.closeAll) {
        return {true, out.chosen, out.moveBy, out.switchTo, out.closeAll};
    }
    if (out.pointerLeft) return followPointer(t, request, out.pointer);
    return {};
}

LoopResult chooseHot(Tracker& t, const TrackRequest& request) {
    if (t.hot < 0) return {};
    const MenuItem& item = t.menu->items[static_cast<size_t>(t.hot)];
    if (item.popup() && !item.inactive()) return openCascade(t, request);
    return choosable(item) ? LoopResult{true, item.id} : LoopResult{};
}

bool hotOpensSubMenu(const Tracker& t) {
    if (t.hot < 0) return false;
    const MenuItem& item = t.menu->items[static_cast<size_t>(t.hot)];
    return item.popup() && !item.inactive();
}

LoopResult onKey(Tracker& t, const TrackRequest& request, WPARAM key) {
    const HWND owner = request.owner;
    const bool onBar = static_cast<bool>(request.barItemAt);
    switch (key) {
        case VK_LEFT:
            if (request.nested) return {true, 0};  // back to the drop-down it hangs from
            return onBar ? LoopResult{true, 0, -1, -1} : LoopResult{};
        case VK_RIGHT:
            if (hotOpensSubMenu(t)) return openCascade(t, request);
            return onBar ? LoopResult{true, 0, 1, -1} : LoopResult{};
        case VK_ESCAPE: return {true, 0};  // a sub-menu closes alone
        case VK_MENU:
        case VK_F10: return {true, 0, 0, -1, true};
        case VK_UP: setHot(t, owner, step(t, -1)); return {};
        case VK_DOWN: setHot(t, owner, step(t, 1)); return {};
        case VK_RETURN: return chooseHot(t, request);
        default: return {};
    }
}

// The pointer moved to a screen point: the item under it becomes hot (one with a sub-menu opens it
// after the show delay), another item of an outer menu closes this one, another bar item
// switches the bar's drop-down.
LoopResult followPointer(Tracker& t, const TrackRequest& request, POINT screen) {
    if (insideMenu(t, screen)) {
        const int under = itemAt(t.layout, {screen.x - t.origin.x, screen.y - t.origin.y});
        if (under >= 0 && t.menu->items[static_cast<size_t>(under)].separator()) return {};
        setHot(t, request.owner, under);
        if (hotOpensSubMenu(t)) layerTimers().set(t.window, kMenuShowTimer, kMenuShowDelay, nullptr);
        return {};
    }
    if (pointerLeftForOuter(t, screen)) return {true, 0, 0, -1, false, true, screen};
    const int barItem = request.barItemAt ? request.barItemAt(screen) : -1;
    if (barItem >= 0 && barItem != request.barIndex) return {true, 0, 0, barItem, true};
    setHot(t, request.owner, -1);
    return {};
}

LoopResult onMouse(Tracker& t, const TrackRequest& request, const MSG& msg) {
    const HWND owner = request.owner;
    const UINT flags = request.flags;
    const POINT local{msg.pt.x - t.origin.x, msg.pt.y - t.origin.y};
    const int under = itemAt(t.layout, local);
    const bool inside = insideMenu(t, msg.pt);
    const bool releases = msg.message == WM_LBUTTONUP || (msg.message == WM_RBUTTONUP && (flags & TPM_RIGHTBUTTON));
    switch (msg.message) {
        case WM_MOUSEMOVE: return followPointer(t, request, msg.pt);
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            if (inside) return {};
            const int barItem = request.barItemAt ? request.barItemAt(msg.pt) : -1;
            return {true, 0, 0, barItem, true};
        }
        default:
            if (!releases || under < 0) return {};
            setHot(t, owner, under);
            return chooseHot(t, request);
    }
}

bool isMouse(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

LoopResult runLoop(Tracker& t, const TrackRequest& request) {
    const host::ModalLoop modal{host::ModalKind::PopupMenu, request.name, t.window, 0};
    MSG msg{};
    INT_PTR answered = 0;
    bool answeredEnd = false;
    for (;;) {
        answered = 0;
        if (!nextModalMessage(msg, &modal, &answered)) {
            answeredEnd = true;
            break;
        }
        if (GetCapture() != t.window) return {};  // something took the mouse away: cancelled
        LoopResult result;
        if (msg.message == kLayerTimerMessage && msg.hwnd == t.window && msg.wParam == kMenuShowTimer) {
            layerTimers().kill(t.window, kMenuShowTimer);
            if (hotOpensSubMenu(t)) result = openCascade(t, request);
        } else if (isMouse(msg.message)) {
            result = onMouse(t, request, msg);
        } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            TranslateMessage(&msg);  // the characters that choose by mnemonic
            result = onKey(t, request, msg.wParam);
        } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            const KeyOutcome outcome = mnemonic(t, msg.wParam);
            setHot(t, request.owner, outcome.hot);
            if (outcome.choose) result = chooseHot(t, request);
        } else if (msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP) {
            dispatchModal(msg);
        }
        if (result.done) return result;
    }
    return {true, answeredEnd ? answeredCommand(t.handle, answered) : 0, 0, -1, true};
}

}  // namespace

bool trackingMenu() { return current != nullptr; }

std::string menuLoopName(HMENU menu) {
    const auto object = findMenu(menu);
    if (!object) return {};
    for (const MenuItem& item : object->items) {
        if (!item.separator()) return withoutPrefixes(labelOf(item.text));
    }
    return {};
}

UINT trackPopup(const TrackRequest& request) { return trackPopupOutcome(request).chosen; }

PopupOutcome trackPopupOutcome(const TrackRequest& request) {
    Tracker t;
    t.handle = request.menu;
    t.menu = findMenu(request.menu);
    t.notify = !(request.flags & TPM_NONOTIFY);
    if (!t.menu) return {};
    if (t.notify) {
        SendMessageA(request.owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageA(request.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(request.menu),
                     MAKELONG(0, request.systemMenu ? 1 : 0));
    }
    t.layout = measure(*t.menu);
    t.origin = placeMenu(request.at, t.layout.size, request.flags);
    registerMenuClass();
    const MenuWindow window(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuClass, "", WS_POPUP, t.origin.x,
                                            t.origin.y, t.layout.size.cx, t.layout.size.cy, request.owner, nullptr,
                                            nullptr, nullptr));
    if (!window) return {};
    t.window = window.get();
    t.outer = std::exchange(current, &t);
    ShowWindow(t.window, SW_SHOWNOACTIVATE);
    UpdateWindow(t.window);
    SetCapture(t.window);
    const LoopResult result = runLoop(t, request);
    if (GetCapture() == t.window) ReleaseCapture();
    current = t.outer;
    if (t.notify) {
        SendMessageA(request.owner, WM_MENUSELECT, MAKELONG(0, 0xFFFF), 0);
        SendMessageA(request.owner, WM_EXITMENULOOP, TRUE, 0);
    }
    return {result.chosen, result.moveBy, result.switchTo, result.closeAll, result.pointerLeft, result.pointer};
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

namespace {

constexpr UINT kKnownTrackFlags = TPM_RIGHTBUTTON | TPM_CENTERALIGN | TPM_RIGHTALIGN | TPM_VCENTERALIGN |
                                  TPM_BOTTOMALIGN | TPM_VERTICAL | TPM_NONOTIFY | TPM_RETURNCMD;
// Animation requests change nothing here: menus appear at once.
constexpr UINT kAnimationFlags = 0x0400 | 0x0800 | 0x1000 | 0x2000 | TPM_NOANIMATION;

}  // namespace

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, LPTPMPARAMS) {
    static constexpr CallRefuser refuse("winplat: TrackPopupMenuEx");
    if (flags & ~(kKnownTrackFlags | kAnimationFlags)) return refuse.unsupported(FALSE, "unknown TPM_ flags");
    if (!findMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        refuse.log("not a live menu handle");
        return FALSE;
    }
    if (!findWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        refuse.log("not a live window handle");
        return FALSE;
    }
    if (trackingMenu()) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        refuse.log("another menu is open");
        return FALSE;
    }
    const TrackRequest request{menu, window, {x, y}, flags, menuLoopName(menu), false, nullptr, false};
    const UINT chosen = trackPopup(request);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && !(flags & TPM_NONOTIFY)) PostMessageA(window, WM_COMMAND, chosen, 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND window, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, window, nullptr);
}
