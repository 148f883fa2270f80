// Window words: the fields at negative indices and the class-declared extra bytes at offsets.
#include <string>

#include "user/send.h"
#include "user/tree.h"
#include "user/window.h"
#include "user/wndproc_tokens.h"

namespace winplat::user {
namespace {

enum class Width { Word, Long, Pointer };

size_t bytesOf(Width width) { return width == Width::Word ? sizeof(WORD) : sizeof(LONG); }

LONG_PTR parentWord(const WindowObject& window) {
    // A child reports its parent, a top-level window its owner.
    const WindowObject* related = window.isChild() ? window.parent : window.owner;
    return related ? reinterpret_cast<LONG_PTR>(related->handle) : 0;
}

bool readField(const WindowObject& window, int index, LONG_PTR& value) {
    switch (index) {
        case GWL_WNDPROC: value = reinterpret_cast<LONG_PTR>(window.procedure); return true;
        case GWL_HINSTANCE: value = reinterpret_cast<LONG_PTR>(window.instance); return true;
        case GWL_HWNDPARENT: value = parentWord(window); return true;
        case GWL_ID: value = window.id; return true;
        case GWL_STYLE: value = static_cast<LONG_PTR>(window.style); return true;
        case GWL_EXSTYLE: value = static_cast<LONG_PTR>(window.exStyle); return true;
        case GWL_USERDATA: value = window.userData; return true;
        default: return false;
    }
}

// Style changes are announced as they are on Windows: WM_STYLECHANGING may still alter them.
void setStyles(const WindowRef& window, int index, DWORD value) {
    STYLESTRUCT styles{index == GWL_STYLE ? window->style : window->exStyle, value};
    sendTo(window, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&styles));
    if (window->gone) return;
    (index == GWL_STYLE ? window->style : window->exStyle) = styles.styleNew;
    noteTreeChange();
    sendTo(window, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&styles));
}

bool setOwner(WindowObject& window, LONG_PTR value, const CallRefuser& refuse) {
    if (window.isChild()) return refuse(false, "a child window's parent changes through SetParent");
    const WindowRef owner = findWindow(reinterpret_cast<HWND>(value));
    if (value && (!owner || !isTopLevel(*owner) || owner.get() == &window)) {
        return refuse(false, "the owner must be another top-level window");
    }
    window.owner = owner.get();
    return true;
}

bool writeField(const WindowRef& window, int index, LONG_PTR value, const CallRefuser& refuse) {
    switch (index) {
        case GWL_WNDPROC:
            if (!value) return refuse(false, "no window procedure");
            window->procedure = reinterpret_cast<WNDPROC>(value);
            return true;
        case GWL_HINSTANCE: window->instance = reinterpret_cast<HINSTANCE>(value); return true;
        case GWL_HWNDPARENT: return setOwner(*window, value, refuse);
        case GWL_ID: window->id = value; return true;
        case GWL_STYLE:
        case GWL_EXSTYLE: setStyles(window, index, static_cast<DWORD>(value)); return true;
        case GWL_USERDATA: window->userData = value; return true;
        default: return refuse.unsupported(false, "window word index " + std::to_string(index));
    }
}

LONG_PTR readWord(HWND handle, int index, Width width, const CallRefuser& refuse) {
    const WindowRef window = windowForCall(handle, refuse);
    if (!window) return 0;
    if (index >= 0) {
        if (!window->extra.fits(index, bytesOf(width))) {
            return refuse(LONG_PTR{0}, "offset " + std::to_string(index) + " past the window's extra bytes");
        }
        switch (width) {
            case Width::Word: return window->extra.readWord(index);
            case Width::Long: return window->extra.readLong(index);
            case Width::Pointer: return window->extra.readPointer(index);
        }
    }
    LONG_PTR value = 0;
    if (width == Width::Word || !readField(*window, index, value)) {
        return refuse.unsupported(LONG_PTR{0}, "window word index " + std::to_string(index));
    }
    if (width == Width::Long && index == GWL_WNDPROC) return static_cast<LONG>(procedureToken(window->procedure));
    return width == Width::Long ? LONG_PTR{static_cast<LONG>(value)} : value;
}

LONG_PTR writeWord(HWND handle, int index, LONG_PTR value, Width width, const CallRefuser& refuse) {
    const WindowRef window = windowForCall(handle, refuse);
    if (!window) return 0;
    if (index >= 0) {
        if (!window->extra.fits(index, bytesOf(width))) {
            return refuse(LONG_PTR{0}, "offset " + std::to_string(index) + " past the window's extra bytes");
        }
        switch (width) {
            case Width::Word: return window->extra.writeWord(index, static_cast<WORD>(value));
            case Width::Long: return window->extra.writeLong(index, static_cast<LONG>(value));
            case Width::Pointer: return window->extra.writePointer(index, value);
        }
    }
    if (width == Width::Word) return refuse.unsupported(LONG_PTR{0}, "window word index " + std::to_string(index));
    if (width == Width::Long && index == GWL_WNDPROC) {
        const WNDPROC procedure = procedureFromToken(static_cast<DWORD>(value));
        if (!procedure) return refuse(LONG_PTR{0}, "a 32-bit procedure value that no call handed out");
        value = reinterpret_cast<LONG_PTR>(procedure);
    }
    const LONG_PTR old = readWord(handle, index, width, refuse);
    SetLastError(ERROR_SUCCESS);  // a previous value of 0 is no failure
    return writeField(window, index, value, refuse) ? old : 0;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

WORD GetWindowWord(HWND window, int offset) {
    constexpr CallRefuser refuse("winplat: GetWindowWord", ERROR_INVALID_INDEX);
    return static_cast<WORD>(readWord(window, offset, Width::Word, refuse));
}

WORD SetWindowWord(HWND window, int offset, WORD value) {
    constexpr CallRefuser refuse("winplat: SetWindowWord", ERROR_INVALID_INDEX);
    return static_cast<WORD>(writeWord(window, offset, value, Width::Word, refuse));
}

LONG GetWindowLongA(HWND window, int index) {
    constexpr CallRefuser refuse("winplat: GetWindowLongA", ERROR_INVALID_INDEX);
    return static_cast<LONG>(readWord(window, index, Width::Long, refuse));
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
    constexpr CallRefuser refuse("winplat: SetWindowLongA", ERROR_INVALID_INDEX);
    return static_cast<LONG>(writeWord(window, index, value, Width::Long, refuse));
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    constexpr CallRefuser refuse("winplat: GetWindowLongPtrA", ERROR_INVALID_INDEX);
    return readWord(window, index, Width::Pointer, refuse);
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    constexpr CallRefuser refuse("winplat: SetWindowLongPtrA", ERROR_INVALID_INDEX);
    return writeWord(window, index, value, Width::Pointer, refuse);
}
