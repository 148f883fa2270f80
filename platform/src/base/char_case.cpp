// Character case calls of the base API, by the cp1250 rules: the programs' strings are cp1250
// bytes, so Czech, Slovak and Polish letters must change case as well as ASCII.
#include "winplat/base.h"
#include "winplat/cp1250.h"

namespace {

using CaseFn = uint8_t (*)(uint8_t);

// Callers written for Windows pass a single character as a pointer whose high bits are zero
// (e.g. CharUpperA((LPSTR)(BYTE)c)) and read the result back the same way. Such a value can
// never be a real string address, so it is safe to tell the two forms apart by it.
LPSTR convertString(LPSTR text, CaseFn fn) {
    const auto value = reinterpret_cast<uintptr_t>(text);
    if (value < 0x10000) {
        const auto converted = fn(static_cast<uint8_t>(value & 0xFF));
        return reinterpret_cast<LPSTR>((value & ~uintptr_t{0xFF}) | converted);
    }
    for (char* p = text; *p; ++p) *p = static_cast<char>(fn(static_cast<uint8_t>(*p)));
    return text;
}

DWORD convertBuffer(LPSTR text, DWORD length, CaseFn fn) {
    if (!text) return 0;
    for (DWORD i = 0; i < length; ++i) text[i] = static_cast<char>(fn(static_cast<uint8_t>(text[i])));
    return length;
}

}  // namespace

LPSTR CharLowerA(LPSTR text) {
    return convertString(text, winplat::cp1250::toLower);
}

LPSTR CharUpperA(LPSTR text) {
    return convertString(text, winplat::cp1250::toUpper);
}

DWORD CharLowerBuffA(LPSTR text, DWORD length) {
    return convertBuffer(text, length, winplat::cp1250::toLower);
}

DWORD CharUpperBuffA(LPSTR text, DWORD length) {
    return convertBuffer(text, length, winplat::cp1250::toUpper);
}

int lstrcmpiA(LPCSTR a, LPCSTR b) {
    // A missing string sorts before every string, the empty one included.
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    const auto* x = reinterpret_cast<const uint8_t*>(a);
    const auto* y = reinterpret_cast<const uint8_t*>(b);
    for (;; ++x, ++y) {
        const uint8_t cx = winplat::cp1250::toLower(*x);
        const uint8_t cy = winplat::cp1250::toLower(*y);
        if (cx != cy) return cx < cy ? -1 : 1;
        if (cx == 0) return 0;
    }
}
