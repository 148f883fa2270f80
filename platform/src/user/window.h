// The objects behind window classes and HWND, and how the layer's window calls find them.
//
// Windows form one tree under the desktop window: a window's children are kept in z-order, top
// first; top-level windows are the desktop's children, the top-most band first. The tree holds
// its children, the handle table holds every live window, and a message being handled holds its
// window too: a window destroyed inside one of its own messages lives on, unreachable through its
// handle, until that message returns.
#ifndef WINPLAT_SRC_USER_WINDOW_H
#define WINPLAT_SRC_USER_WINDOW_H

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/call_refusal.h"
#include "user/extra_bytes.h"
#include "winplat/handles.h"
#include "winplat/user.h"

namespace winplat::user {

struct WindowClass {
    std::string name;  // as registered
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    ExtraBytes classBytes;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    // A brush handle or "system colour + 1": kept as given for the painting of backgrounds.
    HBRUSH background = nullptr;
    LPCSTR menuName = nullptr;   // what GetClassInfoA gives back: a resource id or menuNameText
    std::string menuNameText;
    size_t windows = 0;  // live windows of the class; it cannot be unregistered while any exist
};

struct WindowObject;
using WindowRef = std::shared_ptr<WindowObject>;
struct PaintState;  // user/paint_state.h
struct NonClientState;  // user/nonclient_state.h

struct WindowObject final : HandleObject {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    DWORD style = 0;
    DWORD exStyle = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0;  // a child's id; a top-level window's menu handle
    HMENU systemMenu = nullptr;  // the window's own copy once GetSystemMenu made it
    LONG_PTR userData = 0;
    std::string text;  // cp1250

    RECT window{};   // in the parent's client coordinates (screen coordinates for top-level windows)
    RECT client{};   // in window coordinates: the window less its non-client frame
    RECT restore{};  // the normal placement, in the same coordinates as 'window'

    WindowObject* parent = nullptr;  // the desktop for top-level windows; null for the desktop
    WindowObject* owner = nullptr;   // top-level windows only
    std::vector<WindowRef> children;  // z-order, top first

    ExtraBytes extra;
    std::map<std::string, HANDLE> properties;  // by case-folded name, or "#n" for an integer atom

    bool destroying = false;       // DestroyWindow has begun: no second destruction
    bool gone = false;             // destroyed: out of the tree, its handle dead
    bool hiddenWithOwner = false;  // hidden because its owner was minimised; shown again on restore
    bool restoreToMaximised = false;  // minimised from the maximised state

    std::shared_ptr<PaintState> paint;  // update region and visible regions; made on first need
    std::shared_ptr<NonClientState> nonClient;  // caption state and scroll bars; made on first need
    // What the layer's own window classes keep per window, one entry per type (user/window_state.h).
    std::vector<std::pair<const void*, std::shared_ptr<void>>> states;

    bool visible() const { return (style & WS_VISIBLE) != 0; }
    bool isChild() const { return (style & (WS_CHILD | WS_POPUP)) == WS_CHILD; }
    int width() const { return window.right - window.left; }
    int height() const { return window.bottom - window.top; }
};

// The desktop window, made on first use and never destroyed.
WindowObject& desktop();
bool isDesktop(const WindowObject& window);
bool isTopLevel(const WindowObject& window);

// The live window behind a handle, else null (quietly: IsWindow asks about stale handles).
WindowRef findWindow(HWND handle);

// The live window behind a handle for a window call of the UI thread; null with the refusal
// logged (ERROR_INVALID_WINDOW_HANDLE, or ERROR_WINDOW_OF_OTHER_THREAD off the UI thread).
WindowRef windowForCall(HWND handle, const CallRefuser& refuse);

// Whether the caller is the UI thread; the first thread to ask becomes it.
bool onUiThread();
DWORD uiThreadId();
// For window calls that take no window: refuses (logged) off the UI thread.
bool uiThreadCall(const CallRefuser& refuse);

}  // namespace winplat::user

#endif
