// Menu templates and accelerator tables under fuzzing, as a module's resources hold them: each
// input is RT_MENU 1 and RT_ACCELERATOR 1 of a module registered for it, loaded with LoadMenuA and
// LoadAcceleratorsA. A menu that loads is loaded again with LoadMenuIndirectA (no size given),
// which must stop at the same end and build the same menu; a menu of a bar's size then becomes the
// menu bar of a window, which is drawn for some lengths, and the keys of the accelerator table are
// translated against the window.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); what
// makes no menu or table leaves ERROR_INVALID_DATA; a table keeps only the entry flags there are,
// and each entry that asks for no Shift or Ctrl (a character entry: of a character) is found again
// by its own key.
//
// Seeds: the menus and accelerator tables the resource compiler wrote (the layer tests' templates,
// compiled into this program).
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "program_resources.h"
#include "winplat/base.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

constexpr int kMaxDepth = 20;
constexpr BYTE kEntryBits = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
constexpr int kTranslated = 8;
constexpr int kDispatched = 32;
constexpr LPARAM kAltContext = 1L << 29;
// Narrow, so a bar of a few items wraps into rows; small, so drawing it stays quick. A menu of more
// top-level items than kBarItems is loaded and compared but not made a bar: its rows would reach
// far past the window, and laying them out on every input would slow the run more than it finds.
constexpr SIZE kWindow{160, 80};
constexpr int kBarItems = 64;
// Drawing the bar costs as much as loading a template twice: it is drawn for the templates whose
// length is a multiple of kDrawnOneIn (mutations mostly keep a length, so such inputs keep coming).
constexpr size_t kDrawnOneIn = 8;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// An item's text (a template's texts are at most 4096 characters).
std::string textOf(HMENU menu, UINT position) {
    static char text[4100];
    const int length = GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return std::string(text, static_cast<size_t>(std::max(length, 0)));
}

// Both menus hold the same items, drop-downs and texts, level by level.
bool sameMenu(HMENU a, HMENU b, int depth) {
    const int count = GetMenuItemCount(a);
    if (count != GetMenuItemCount(b) || depth > kMaxDepth) return false;
    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<UINT>(i);
        if (textOf(a, position) != textOf(b, position) || GetMenuItemID(a, i) != GetMenuItemID(b, i) ||
            GetMenuState(a, position, MF_BYPOSITION) != GetMenuState(b, position, MF_BYPOSITION)) {
            return false;
        }
        const HMENU subA = GetSubMenu(a, i);
        const HMENU subB = GetSubMenu(b, i);
        if ((subA == nullptr) != (subB == nullptr) || (subA && !sameMenu(subA, subB, depth + 1))) return false;
    }
    return true;
}

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Commands of any number arrive; none may close, move or size the window.
    if (message == WM_COMMAND || message == WM_SYSCOMMAND) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// One visible top-level window without a system menu, made once without a display; each menu is
// its bar in turn, its texts drawn with the synthetic face. A template of a form the layer does
// not read yet is refused as the release build refuses it (a resource's data, not a fault).
HWND menuOwner() {
    static winplat::testing::ScopedDebugAsserts refusedOnly(false);
    static winplat::testing::ScopedFontSource testFace(winplat::testing::FontSource::Test);
    static const HWND window = [] {
        setenv("WINPLAT_HOST", "headless", 1);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ownerProcedure;
        windowClass.lpszClassName = "MenuFuzzOwner";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "MenuFuzzOwner", "menu", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0,
                               kWindow.cx, kWindow.cy, nullptr, nullptr, nullptr, nullptr);
    }();
    return window;
}

void dispatchSome() {
    MSG message;
    for (int i = 0; i < kDispatched && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        DispatchMessageA(&message);
    }
}

HMENU loadMenu(HINSTANCE module, const std::vector<uint8_t>& bytes) {
    const HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(1));
    if (!menu) {
        check(GetLastError() == ERROR_INVALID_DATA);
        return nullptr;
    }
    const HMENU again = LoadMenuIndirectA(bytes.data());
    check(again && sameMenu(menu, again, 0));
    DestroyMenu(again);
    return menu;
}

std::vector<ACCEL> loadTable(HACCEL table, size_t size) {
    const int count = CopyAcceleratorTableA(table, nullptr, 0);
    check(count > 0 && static_cast<size_t>(count) <= size / 8);
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    check(CopyAcceleratorTableA(table, entries.data(), count) == count);
    for (const ACCEL& entry : entries) check((entry.fVirt & ~kEntryBits) == 0);
    return entries;
}

// The message that presses an entry's key: a key down for a virtual key, else the character.
MSG pressOf(HWND window, const ACCEL& entry) {
    const bool alt = entry.fVirt & FALT;
    MSG message{};
    message.hwnd = window;
    message.wParam = entry.key;
    message.lParam = alt ? kAltContext : 0;
    if (entry.fVirt & FVIRTKEY) {
        message.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    } else {
        message.message = alt ? WM_SYSCHAR : WM_CHAR;
        message.wParam = entry.key & 0xFF;
    }
    return message;
}

void translateKeys(HWND window, HACCEL table, const std::vector<ACCEL>& entries) {
    for (size_t i = 0; i < entries.size() && i < kTranslated; ++i) {
        MSG message = pressOf(window, entries[i]);
        const int translated = TranslateAcceleratorA(window, table, &message);
        // A character entry's key past 255 names no character a message can carry.
        const bool virtualKey = entries[i].fVirt & FVIRTKEY;
        const bool reachable = virtualKey ? !(entries[i].fVirt & (FSHIFT | FCONTROL)) : entries[i].key <= 0xFF;
        if (reachable) check(translated == 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static winplat::testing::DebugCapture quiet;  // the layer's refusals of damaged resources
    quiet.clear();
    const HWND window = menuOwner();
    check(window != nullptr);
    // A copy of exactly the input, so a read past it is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const auto length = static_cast<uint32_t>(bytes.size());
    const winplat::BinaryResource table[] = {
        {4, 1, nullptr, bytes.data(), length},  // RT_MENU
        {9, 1, nullptr, bytes.data(), length},  // RT_ACCELERATOR
    };
    const winplat::ModuleResources resources{"fuzzed.dll", false, nullptr, 0, table, 2};
    const HINSTANCE module = winplat::registerModule(resources, &resources);
    check(module != nullptr);
    const HMENU menu = bytes.empty() ? nullptr : loadMenu(module, bytes);
    const HACCEL accelerators = LoadAcceleratorsA(module, MAKEINTRESOURCEA(1));
    if (!accelerators) check(GetLastError() == ERROR_INVALID_DATA);
    const bool shown = menu && GetMenuItemCount(menu) <= kBarItems;
    if (shown) {
        SetMenu(window, menu);
        if (bytes.size() % kDrawnOneIn == 0) dispatchSome();
    }
    if (accelerators) {
        translateKeys(window, accelerators, loadTable(accelerators, bytes.size()));
        check(DestroyAcceleratorTable(accelerators) != FALSE);
    }
    if (shown) SetMenu(window, nullptr);
    if (menu) check(DestroyMenu(menu) != FALSE);
    winplat::unregisterModule(module);
    return 0;
}

// Each also padded with zeros to a length whose bar is drawn; what follows the last item is not read.
std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds = programResources({4, 9});  // RT_MENU, RT_ACCELERATOR
    const size_t compiled = seeds.size();
    for (size_t i = 0; i < compiled; ++i) {
        FuzzBytes padded = seeds[i];
        padded.resize((padded.size() + kDrawnOneIn - 1) / kDrawnOneIn * kDrawnOneIn + kDrawnOneIn);
        seeds.push_back(padded);
    }
    return seeds;
}
