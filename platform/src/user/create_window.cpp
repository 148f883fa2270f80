// CreateWindowExA: the window joins the tree, then hears WM_GETMINMAXINFO (windows with a
// sizing frame or overlapped ones), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE and WM_MOVE,
// and, when it was asked to be visible, the messages of being shown.
#include <algorithm>
#include <string>

#include "user/destroy_window.h"
#include "user/placement.h"
#include "user/send.h"
#include "user/show_window.h"
#include "user/tree.h"
#include "user/window_class.h"

namespace winplat::user {
namespace {

constexpr CallRefuser refuse("winplat: CreateWindowExA", ERROR_INVALID_PARAMETER);

bool isOverlapped(DWORD style) { return (style & (WS_CHILD | WS_POPUP)) == 0; }

// Where the window goes in the tree: its parent and, for top-level windows, its owner (always a
// top-level window: the one above whatever window the caller named).
struct Relatives {
    WindowObject* parent = nullptr;
    WindowObject* owner = nullptr;
    bool valid = false;
};

Relatives relativesOf(DWORD style, HWND parentHandle) {
    const WindowRef named = findWindow(parentHandle);
    if (parentHandle && !named) {
        refuse.log("the parent or owner is not a live window");
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return {};
    }
    if ((style & (WS_CHILD | WS_POPUP)) == WS_CHILD) {
        if (!named) {
            refuse.log("a child window needs a parent");
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return {};
        }
        return {named.get(), nullptr, true};
    }
    WindowObject* owner = named.get();
    while (owner && !isTopLevel(*owner)) owner = owner->parent;
    if (owner && isDesktop(*owner)) owner = nullptr;
    return {&desktop(), owner, true};
}

// CW_USEDEFAULT for overlapped windows: a cascade of positions one caption apart and three
// quarters of the screen; for other windows it stands for 0.
RECT initialRect(DWORD style, int x, int y, int width, int height) {
    static int cascade = 0;
    if (isOverlapped(style)) {
        if (x == CW_USEDEFAULT) {
            const int step = 26 * (cascade++ % 8);
            x = step;
            y = step;
        }
        if (width == CW_USEDEFAULT) {
            const RECT screen = desktop().client;
            width = screen.right * 3 / 4;
            height = screen.bottom * 3 / 4;
        }
    }
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    return {x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

DWORD initialStyle(DWORD style) {
    // Overlapped windows always have a caption; windows start hidden and in the normal state, and
    // become what the style asked for once created.
    if (isOverlapped(style)) style |= WS_CAPTION | WS_CLIPSIBLINGS;
    return style & ~static_cast<DWORD>(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
}

WindowRef makeWindow(const std::shared_ptr<WindowClass>& windowClass, const CREATESTRUCTA& create,
                     const Relatives& relatives) {
    auto window = std::make_shared<WindowObject>();
    window->windowClass = windowClass;
    window->style = initialStyle(static_cast<DWORD>(create.style));
    window->exStyle = create.dwExStyle;
    if (relatives.owner && (relatives.owner->exStyle & WS_EX_TOPMOST)) window->exStyle |= WS_EX_TOPMOST;
    window->procedure = windowClass->procedure;
    window->instance = create.hInstance;
    window->id = reinterpret_cast<LONG_PTR>(create.hMenu);
    window->extra = ExtraBytes(static_cast<size_t>(windowClass->windowExtra));
    window->parent = relatives.parent;
    window->owner = relatives.owner;
    window->window = initialRect(static_cast<DWORD>(create.style), create.x, create.y, create.cx, create.cy);
    window->restore = window->window;
    const uint32_t handle = handleTable().add(HandleType::Window, window);
    if (!handle) return nullptr;
    window->handle = makeHandle<HWND>(handle);
    ++windowClass->windows;
    linkNewWindow(window);
    return window;
}

// The size limits WM_GETMINMAXINFO gives, for windows a user could size.
void clampToTrackSize(const WindowRef& window) {
    if (!(window->style & WS_THICKFRAME) && !isOverlapped(window->style)) return;
    const MINMAXINFO info = askMinMaxInfo(window);
    RECT& rect = window->window;
    rect.right = rect.left + std::clamp<LONG>(rect.right - rect.left, info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
    rect.bottom = rect.top + std::clamp<LONG>(rect.bottom - rect.top, info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
}

bool alive(const WindowRef& window) { return !window->gone; }

// The messages of creation; false when the window refused or died on the way.
bool runCreation(const WindowRef& window, CREATESTRUCTA& create) {
    clampToTrackSize(window);
    if (!alive(window)) return false;
    // The procedure sees where the window really is, defaults and limits applied.
    create.x = window->window.left;
    create.y = window->window.top;
    create.cx = window->width();
    create.cy = window->height();
    if (!sendTo(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        if (alive(window)) discardWindow(window);
        refuse.log("WM_NCCREATE said no");
        return false;
    }
    if (!alive(window)) return false;
    window->client = askClientRect(window, window->window);
    if (!alive(window)) return false;
    if (sendTo(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        if (alive(window)) destroyWindow(window);
        refuse.log("WM_CREATE said no");
        return false;
    }
    if (!alive(window)) return false;
    sendSize(window);
    if (alive(window)) sendMove(window);
    return alive(window);
}

// The state and visibility the style asked for.
void finishCreation(const WindowRef& window, DWORD requestedStyle) {
    if (requestedStyle & (WS_MINIMIZE | WS_MAXIMIZE)) {
        const WindowState state = (requestedStyle & WS_MINIMIZE) ? WindowState::Minimised : WindowState::Maximised;
        if (!changeState(window, state, false, false)) return;
    }
    if (requestedStyle & WS_VISIBLE) ShowWindow(window->handle, SW_SHOW);
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (!uiThreadCall(refuse)) return nullptr;
    const auto windowClass = findClass(className);
    if (!windowClass) {
        refuse.log("no such window class");
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    const Relatives relatives = relativesOf(style, parent);
    if (!relatives.valid) return nullptr;
    const DWORD requested = isOverlapped(style) ? style | WS_CAPTION | WS_CLIPSIBLINGS : style;
    CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(requested),
                         windowName, className, exStyle};
    const WindowRef window = makeWindow(windowClass, create, relatives);
    if (!window) return refuse(HWND{}, "the handle table is full");
    if (!runCreation(window, create)) return nullptr;
    finishCreation(window, static_cast<DWORD>(create.style));
    return alive(window) ? window->handle : nullptr;
}
