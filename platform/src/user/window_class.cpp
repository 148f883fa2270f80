#include "user/window_class.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "user/atoms.h"
#include "user/builtin_classes.h"
#include "user/wndproc_tokens.h"

namespace winplat::user {
namespace {

constexpr int kMaxExtraBytes = 40000;

std::unordered_map<std::string, std::shared_ptr<WindowClass>>& classes() {
    static auto* registry = new std::unordered_map<std::string, std::shared_ptr<WindowClass>>;
    return *registry;
}

// The class description as the caller gave it, checked.
struct ClassRequest {
    const WNDCLASSEXA& description;
    const CallRefuser& refuse;
};

ATOM registerClass(const ClassRequest& request) {
    const WNDCLASSEXA& wc = request.description;
    if (!uiThreadCall(request.refuse)) return 0;
    if (!wc.lpszClassName || isIntegerAtom(wc.lpszClassName) || !*wc.lpszClassName) {
        return request.refuse(ATOM{0}, "a class needs a name");
    }
    if (!wc.lpfnWndProc) return request.refuse(ATOM{0}, "a class needs a window procedure");
    if (wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > kMaxExtraBytes || wc.cbWndExtra > kMaxExtraBytes) {
        return request.refuse(ATOM{0}, "extra byte counts out of range");
    }
    const std::string key = nameKey(wc.lpszClassName);
    if (classes().count(key)) {
        // Programs register their classes on every use (the image library per effect call);
        // the first registration stays.
        request.refuse.log(std::string("class already registered: ") + wc.lpszClassName);
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto entry = std::make_shared<WindowClass>();
    entry->name = wc.lpszClassName;
    entry->atom = addAtom(entry->name);
    entry->style = wc.style;
    entry->procedure = wc.lpfnWndProc;
    entry->classBytes = ExtraBytes(static_cast<size_t>(wc.cbClsExtra));
    entry->windowExtra = wc.cbWndExtra;
    entry->instance = wc.hInstance;
    entry->icon = wc.hIcon;
    entry->smallIcon = wc.hIconSm;
    entry->cursor = wc.hCursor;
    entry->background = wc.hbrBackground;
    if (wc.lpszMenuName && !isIntegerAtom(wc.lpszMenuName)) {
        entry->menuNameText = wc.lpszMenuName;
        entry->menuName = nullptr;  // set below, once the string has its final place
    } else {
        entry->menuName = wc.lpszMenuName;
    }
    if (!entry->atom) return request.refuse(ATOM{0}, "no atom left for the class name");
    WindowClass& stored = *classes().emplace(key, std::move(entry)).first->second;
    if (!stored.menuNameText.empty()) stored.menuName = stored.menuNameText.c_str();
    return stored.atom;
}

WNDCLASSEXA widen(const WNDCLASSA& wc) {
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof ex;
    ex.style = wc.style;
    ex.lpfnWndProc = wc.lpfnWndProc;
    ex.cbClsExtra = wc.cbClsExtra;
    ex.cbWndExtra = wc.cbWndExtra;
    ex.hInstance = wc.hInstance;
    ex.hIcon = wc.hIcon;
    ex.hCursor = wc.hCursor;
    ex.hbrBackground = wc.hbrBackground;
    ex.lpszMenuName = wc.lpszMenuName;
    ex.lpszClassName = wc.lpszClassName;
    return ex;
}

void describe(const WindowClass& entry, WNDCLASSEXA& wc) {
    wc.style = entry.style;
    wc.lpfnWndProc = entry.procedure;
    wc.cbClsExtra = static_cast<int>(entry.classBytes.size());
    wc.cbWndExtra = entry.windowExtra;
    wc.hInstance = entry.instance;
    wc.hIcon = entry.icon;
    wc.hIconSm = entry.smallIcon;
    wc.hCursor = entry.cursor;
    wc.hbrBackground = entry.background;
    wc.lpszMenuName = entry.menuName;
    wc.lpszClassName = entry.name.c_str();
}

// The value of a class word at a negative index; false for an index that names none.
bool readClassWord(const WindowClass& entry, int index, LONG_PTR& value) {
    switch (index) {
        case GCL_MENUNAME: value = reinterpret_cast<LONG_PTR>(entry.menuName); return true;
        case GCL_HBRBACKGROUND: value = reinterpret_cast<LONG_PTR>(entry.background); return true;
        case GCL_HCURSOR: value = reinterpret_cast<LONG_PTR>(entry.cursor); return true;
        case GCL_HICON: value = reinterpret_cast<LONG_PTR>(entry.icon); return true;
        case GCL_HICONSM: value = reinterpret_cast<LONG_PTR>(entry.smallIcon); return true;
        case GCL_HMODULE: value = reinterpret_cast<LONG_PTR>(entry.instance); return true;
        case GCL_CBWNDEXTRA: value = entry.windowExtra; return true;
        case GCL_CBCLSEXTRA: value = static_cast<LONG_PTR>(entry.classBytes.size()); return true;
        case GCL_WNDPROC: value = reinterpret_cast<LONG_PTR>(entry.procedure); return true;
        case GCL_STYLE: value = entry.style; return true;
        case GCW_ATOM: value = entry.atom; return true;
        default: return false;
    }
}

// Writes a class word at a negative index that may change after registration.
bool writeClassWord(WindowClass& entry, int index, LONG_PTR value) {
    switch (index) {
        case GCL_HBRBACKGROUND: entry.background = reinterpret_cast<HBRUSH>(value); return true;
        case GCL_HCURSOR: entry.cursor = reinterpret_cast<HCURSOR>(value); return true;
        case GCL_HICON: entry.icon = reinterpret_cast<HICON>(value); return true;
        case GCL_HICONSM: entry.smallIcon = reinterpret_cast<HICON>(value); return true;
        case GCL_STYLE: entry.style = static_cast<UINT>(value); return true;
        case GCL_WNDPROC:
            if (!value) return false;
            entry.procedure = reinterpret_cast<WNDPROC>(value);
            return true;
        default: return false;
    }
}

enum class Width { Long, Pointer };

std::shared_ptr<WindowClass> classOfWindow(HWND window, const CallRefuser& refuse) {
    WindowRef object = windowForCall(window, refuse);
    return object ? object->windowClass : nullptr;
}

ULONG_PTR getClassWord(HWND window, int index, Width width, const CallRefuser& refuse) {
    auto entry = classOfWindow(window, refuse);
    if (!entry) return 0;
    if (index >= 0) {
        if (!entry->classBytes.fits(index, sizeof(LONG))) {
            return refuse(ULONG_PTR{0}, "offset past the class's extra bytes");
        }
        return width == Width::Long ? static_cast<ULONG_PTR>(static_cast<DWORD>(entry->classBytes.readLong(index)))
                                    : static_cast<ULONG_PTR>(entry->classBytes.readPointer(index));
    }
    LONG_PTR value = 0;
    if (!readClassWord(*entry, index, value)) return refuse.unsupported(ULONG_PTR{0}, "class word index");
    if (width == Width::Long && index == GCL_WNDPROC) return procedureToken(reinterpret_cast<WNDPROC>(value));
    return width == Width::Long ? static_cast<DWORD>(value) : static_cast<ULONG_PTR>(value);
}

ULONG_PTR setClassWord(HWND window, int index, LONG_PTR value, Width width, const CallRefuser& refuse) {
    auto entry = classOfWindow(window, refuse);
    if (!entry) return 0;
    if (index >= 0) {
        if (!entry->classBytes.fits(index, sizeof(LONG))) {
            return refuse(ULONG_PTR{0}, "offset past the class's extra bytes");
        }
        return width == Width::Long
                   ? static_cast<DWORD>(entry->classBytes.writeLong(index, static_cast<LONG>(value)))
                   : static_cast<ULONG_PTR>(entry->classBytes.writePointer(index, value));
    }
    if (width == Width::Long && index == GCL_WNDPROC) {
        WNDPROC procedure = procedureFromToken(static_cast<DWORD>(value));
        if (!procedure) return refuse(ULONG_PTR{0}, "a 32-bit procedure value that no call handed out");
        value = reinterpret_cast<LONG_PTR>(procedure);
    }
    const ULONG_PTR old = getClassWord(window, index, width, refuse);
    if (!writeClassWord(*entry, index, value)) return refuse.unsupported(ULONG_PTR{0}, "class word index to set");
    return old;
}

}  // namespace

std::shared_ptr<WindowClass> findClass(LPCSTR name) {
    if (!name) return nullptr;
    if (isIntegerAtom(name)) {
        const auto known = atomName(integerAtom(name));
        return known ? findClass(known->c_str()) : nullptr;
    }
    const std::string key = nameKey(name);
    auto found = classes().find(key);
    if (found == classes().end() && makeBuiltinClass(name)) found = classes().find(key);
    return found != classes().end() ? found->second : nullptr;
}

void forgetClasses() { classes().clear(); }

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

ATOM RegisterClassA(const WNDCLASSA* wndClass) {
    constexpr CallRefuser refuse("winplat: RegisterClassA");
    if (!wndClass) return refuse(ATOM{0}, "no class description");
    const WNDCLASSEXA wide = widen(*wndClass);
    return registerClass({wide, refuse});
}

ATOM RegisterClassExA(const WNDCLASSEXA* wndClass) {
    constexpr CallRefuser refuse("winplat: RegisterClassExA");
    if (!wndClass || wndClass->cbSize != sizeof(WNDCLASSEXA)) return refuse(ATOM{0}, "no class description of the size");
    return registerClass({*wndClass, refuse});
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    constexpr CallRefuser refuse("winplat: UnregisterClassA", ERROR_CLASS_DOES_NOT_EXIST);
    if (!uiThreadCall(refuse)) return FALSE;
    auto entry = findClass(className);
    if (!entry) return refuse(FALSE, "no such class");
    if (entry->windows > 0) {
        refuse.log("windows of the class still exist");
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    classes().erase(nameKey(entry->name));
    return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, LPWNDCLASSEXA wndClass) {
    constexpr CallRefuser refuse("winplat: GetClassInfoExA", ERROR_CLASS_DOES_NOT_EXIST);
    if (!wndClass) return refuse(FALSE, "no structure to fill");
    auto entry = findClass(className);
    if (!entry) return refuse(FALSE, "no such class");
    describe(*entry, *wndClass);
    return entry->atom;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wndClass) {
    constexpr CallRefuser refuse("winplat: GetClassInfoA", ERROR_CLASS_DOES_NOT_EXIST);
    if (!wndClass) return refuse(FALSE, "no structure to fill");
    WNDCLASSEXA wide{};
    wide.cbSize = sizeof wide;
    const BOOL found = GetClassInfoExA(instance, className, &wide);
    if (!found) return FALSE;
    *wndClass = {wide.style,     wide.lpfnWndProc, wide.cbClsExtra,    wide.cbWndExtra,   wide.hInstance,
                 wide.hIcon,     wide.hCursor,     wide.hbrBackground, wide.lpszMenuName, wide.lpszClassName};
    return found;
}

DWORD GetClassLongA(HWND window, int index) {
    constexpr CallRefuser refuse("winplat: GetClassLongA", ERROR_INVALID_INDEX);
    return static_cast<DWORD>(getClassWord(window, index, Width::Long, refuse));
}

DWORD SetClassLongA(HWND window, int index, LONG value) {
    constexpr CallRefuser refuse("winplat: SetClassLongA", ERROR_INVALID_INDEX);
    return static_cast<DWORD>(setClassWord(window, index, value, Width::Long, refuse));
}

ULONG_PTR GetClassLongPtrA(HWND window, int index) {
    constexpr CallRefuser refuse("winplat: GetClassLongPtrA", ERROR_INVALID_INDEX);
    return getClassWord(window, index, Width::Pointer, refuse);
}

ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value) {
    constexpr CallRefuser refuse("winplat: SetClassLongPtrA", ERROR_INVALID_INDEX);
    return setClassWord(window, index, value, Width::Pointer, refuse);
}

int GetClassNameA(HWND window, LPSTR buffer, int size) {
    constexpr CallRefuser refuse("winplat: GetClassNameA", ERROR_INVALID_WINDOW_HANDLE);
    if (!buffer || size <= 0) return CallRefuser("winplat: GetClassNameA")(0, "no buffer for the name");
    buffer[0] = '\0';
    const auto entry = classOfWindow(window, refuse);
    if (!entry) return 0;
    const size_t count = std::min(entry->name.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, entry->name.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}
