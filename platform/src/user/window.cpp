#include "user/window.h"

#include <atomic>

#include "user/painting.h"
#include "user/screen.h"
#include "user/update_region.h"
#include "winplat/sync.h"

namespace winplat::user {
namespace {

std::atomic<DWORD> uiThread{0};

LRESULT CALLBACK desktopProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

WindowObject* makeDesktop() {
    auto desktopClass = std::make_shared<WindowClass>();
    desktopClass->name = "#32769";
    desktopClass->procedure = desktopProcedure;
    desktopClass->background = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    auto object = std::make_shared<WindowObject>();
    object->windowClass = desktopClass;
    object->procedure = desktopProcedure;
    object->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    const SIZE screen = screenSize();
    object->window = {0, 0, screen.cx, screen.cy};
    object->client = object->window;
    object->restore = object->window;
    WindowObject* desktop = object.get();
    desktop->handle = makeHandle<HWND>(handleTable().add(HandleType::Window, std::move(object)));
    return desktop;
}

}  // namespace

WindowObject& desktop() {
    // Kept alive by the handle table, which never lets it go.
    static WindowObject* instance = [] {
        WindowObject* made = makeDesktop();
        installPainting();
        // The framebuffer starts black: the first pump paints the desktop's background.
        invalidateWindow(*made, gdi::Region(clientArea(*made)), RDW_INVALIDATE | RDW_ERASE);
        return made;
    }();
    return *instance;
}

bool isDesktop(const WindowObject& window) { return window.parent == nullptr; }

bool isTopLevel(const WindowObject& window) { return window.parent && isDesktop(*window.parent); }

WindowRef findWindow(HWND handle) {
    if (!handle) return nullptr;
    const DWORD saved = GetLastError();
    auto window = handleTable().getAs<WindowObject>(handleValue(handle), HandleType::Window);
    SetLastError(saved);
    return window;
}

bool onUiThread() {
    const DWORD self = GetCurrentThreadId();
    DWORD owner = uiThread.load(std::memory_order_relaxed);
    if (owner == self) return true;
    if (owner == 0 && uiThread.compare_exchange_strong(owner, self)) return true;
    return owner == self;
}

DWORD uiThreadId() { return uiThread.load(); }

bool uiThreadCall(const CallRefuser& refuse) {
    if (onUiThread()) return true;
    refuse.log("window calls belong to the UI thread");
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
}

WindowRef windowForCall(HWND handle, const CallRefuser& refuse) {
    if (!uiThreadCall(refuse)) return nullptr;
    if (!handle) {
        refuse.log("no window given");
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    WindowRef window = findWindow(handle);
    if (!window) {
        refuse.log("not a live window handle");
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

}  // namespace winplat::user
