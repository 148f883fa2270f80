// Accelerator tables, from entries or from a module's resource, and TranslateAcceleratorA.
//
// An entry with FVIRTKEY matches a key-down message of that virtual key with exactly the
// modifiers it names; an entry without it matches the character a WM_CHAR (WM_SYSCHAR with FALT)
// carries. A command that is an item of the window's menu announces the menu first, as opening
// it would, and an item left disabled or grey then swallows the key without a command.
#include <algorithm>
#include <memory>
#include <vector>

#include "base/call_refusal.h"
#include "user/menu_object.h"
#include "winplat/byte_reader.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "user/system_menu.h"
#include "user/window.h"

using namespace winplat;
using namespace winplat::user;

namespace {

constexpr BYTE kEntryBits = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
constexpr WORD kLastEntry = 0x80;  // the resource form's mark on its last entry
constexpr LPARAM kAltContext = 1L << 29;

struct AcceleratorTable final : HandleObject {
    std::vector<ACCEL> entries;
};

std::shared_ptr<AcceleratorTable> findTable(HACCEL table) {
    return handleTable().getAs<AcceleratorTable>(handleValue(table), HandleType::Accelerator);
}

bool held(int key) { return GetKeyState(key) < 0; }

bool matches(const ACCEL& entry, const MSG& message) {
    const bool alt = (message.lParam & kAltContext) != 0;
    if (entry.fVirt & FVIRTKEY) {
        if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
        return entry.key == message.wParam && ((entry.fVirt & FSHIFT) != 0) == held(VK_SHIFT) &&
               ((entry.fVirt & FCONTROL) != 0) == held(VK_CONTROL) && ((entry.fVirt & FALT) != 0) == alt;
    }
    const UINT wanted = (entry.fVirt & FALT) ? WM_SYSCHAR : WM_CHAR;
    return message.message == wanted && entry.key == (message.wParam & 0xFF);
}

// Announces the menu path down to the command: WM_INITMENU, then WM_INITMENUPOPUP for each
// drop-down on the way, so the program can set the item's state as it would for the open menu.
void announce(HWND window, HMENU bar, const std::vector<MenuStep>& path, bool systemMenu) {
    SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const HMENU dropDown = path[i + 1].menu;
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(dropDown),
                     MAKELONG(path[i].position, systemMenu ? 1 : 0));
    }
}

bool itemLive(HMENU menu, UINT command) {
    const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace

HACCEL CreateAcceleratorTableA(LPACCEL entries, int count) {
    static constexpr CallRefuser refuse("winplat: CreateAcceleratorTableA");
    if (!entries) return refuse(HACCEL{}, "no entries");
    if (count <= 0) return refuse(HACCEL{}, "a table holds at least one entry");
    auto table = std::make_shared<AcceleratorTable>();
    table->entries.assign(entries, entries + count);
    for (ACCEL& entry : table->entries) entry.fVirt &= kEntryBits;  // the resource form marks the last entry with 0x80
    return makeHandle<HACCEL>(handleTable().add(HandleType::Accelerator, std::move(table)));
}

HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name) {
    static constexpr CallRefuser refuse("winplat: LoadAcceleratorsA", ERROR_INVALID_DATA);
    const auto bytes = resourceBytes(instance, name, RT_ACCELERATOR);
    if (!bytes) return nullptr;  // FindResourceA said why
    // Each entry: WORD flags, WORD key, WORD command, WORD padding.
    ByteReader in(*bytes);
    std::vector<ACCEL> entries;
    for (WORD flags = 0; !(flags & kLastEntry);) {
        flags = in.u16();
        const WORD key = in.u16();
        const WORD command = in.u16();
        in.skip(2);
        if (!in.ok()) return refuse(HACCEL{}, "the table ends before an entry marked last");
        entries.push_back({static_cast<BYTE>(flags & kEntryBits), key, command});
    }
    return CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    static constexpr CallRefuser refuse("winplat: DestroyAcceleratorTable", ERROR_INVALID_ACCEL_HANDLE);
    if (!handleTable().remove(handleValue(table), HandleType::Accelerator)) {
        return refuse(FALSE, "not a live accelerator table");
    }
    return TRUE;
}

int CopyAcceleratorTableA(HACCEL table, LPACCEL entries, int count) {
    static constexpr CallRefuser refuse("winplat: CopyAcceleratorTableA", ERROR_INVALID_ACCEL_HANDLE);
    auto object = findTable(table);
    if (!object) return refuse(0, "not a live accelerator table");
    const int size = static_cast<int>(object->entries.size());
    if (!entries) return size;
    const int copied = std::clamp(count, 0, size);
    std::copy_n(object->entries.begin(), copied, entries);
    return copied;
}

int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG message) {
    static constexpr CallRefuser refuse("winplat: TranslateAcceleratorA", ERROR_INVALID_ACCEL_HANDLE);
    auto object = findTable(table);
    if (!object) return refuse(0, "not a live accelerator table");
    if (!message) return refuse(0, "no message");
    const WindowRef target = findWindow(window);
    if (!target) return refuse(0, "not a live window handle");
    const auto entry = std::find_if(object->entries.begin(), object->entries.end(),
                                    [message](const ACCEL& e) { return matches(e, *message); });
    if (entry == object->entries.end()) return 0;
    const UINT command = entry->cmd;
    const HMENU bar = GetMenu(window);
    const HMENU system = existingSystemMenu(*target);
    std::vector<MenuStep> path = bar ? pathToCommand(bar, command) : std::vector<MenuStep>{};
    const bool inSystem = path.empty() && system && !(path = pathToCommand(system, command)).empty();
    if (!path.empty()) {
        const HMENU menu = inSystem ? system : bar;
        // A disabled window or a capture in force leaves the menu unannounced.
        if (IsWindowEnabled(window) && !GetCapture()) announce(window, menu, path, inSystem);
        if (!itemLive(menu, command)) return 1;
    }
    SendMessageA(window, inSystem ? WM_SYSCOMMAND : WM_COMMAND, MAKELONG(command, 1), 0);
    return 1;
}
