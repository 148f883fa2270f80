// Window properties: named handles a program hangs on a window, by name (case-insensitive) or
// by integer atom.
#include <string>

#include "user/atoms.h"
#include "user/window.h"

namespace winplat::user {
namespace {

std::string propertyKey(LPCSTR name) {
    if (!isIntegerAtom(name)) return nameKey(name);
    // Appended rather than "#" + number: GCC 12 at -O3 warns falsely about the insert that makes.
    std::string key = "#";
    key += std::to_string(integerAtom(name));
    return key;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
    constexpr CallRefuser refuse("winplat: SetPropA");
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    if (!name || (isIntegerAtom(name) && integerAtom(name) == 0)) return refuse(FALSE, "no property name");
    target->properties[propertyKey(name)] = data;
    return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
    constexpr CallRefuser refuse("winplat: GetPropA");
    const WindowRef target = windowForCall(window, refuse);
    if (!target || !name) return nullptr;
    const auto found = target->properties.find(propertyKey(name));
    return found != target->properties.end() ? found->second : nullptr;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
    constexpr CallRefuser refuse("winplat: RemovePropA");
    const WindowRef target = windowForCall(window, refuse);
    if (!target || !name) return nullptr;
    const auto found = target->properties.find(propertyKey(name));
    if (found == target->properties.end()) return nullptr;
    HANDLE data = found->second;
    target->properties.erase(found);
    return data;
}
