#include "user/system_colours.h"

#include <array>
#include <mutex>
#include <string>

#include "base/call_refusal.h"
#include "gdi/objects.h"

namespace winplat::user {
namespace {

constexpr int kColours = COLOR_GRADIENTINACTIVECAPTION + 1;
constexpr COLORREF kNone = 0xFFFFFFFF;  // an index the scheme leaves out

// Indexed by COLOR_ value.
constexpr std::array<COLORREF, kColours> kScheme{
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    kNone,               // 25: not a colour
    RGB(0, 0, 255),      // COLOR_HOTLIGHT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
};

// One brush per colour, made on first use and marked stock so that DeleteObject leaves it.
HBRUSH brushOf(int index) {
    static std::array<HBRUSH, kColours> brushes{};
    static std::mutex mutex;
    std::lock_guard guard(mutex);
    HBRUSH& brush = brushes[static_cast<size_t>(index)];
    if (!brush) {
        brush = CreateSolidBrush(kScheme[static_cast<size_t>(index)]);
        std::lock_guard lock(gdi::gdiMutex());
        if (auto object = gdi::findBrush(handleValue(brush))) object->stock = true;
    }
    return brush;
}

}  // namespace

std::optional<COLORREF> systemColour(int index) {
    if (index < 0 || index >= kColours || kScheme[static_cast<size_t>(index)] == kNone) return std::nullopt;
    return kScheme[static_cast<size_t>(index)];
}

HBRUSH classBrush(HBRUSH background) {
    const auto value = reinterpret_cast<uintptr_t>(background);
    if (value == 0) return nullptr;
    if (value <= static_cast<uintptr_t>(kColours)) return GetSysColorBrush(static_cast<int>(value) - 1);
    return background;
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

DWORD GetSysColor(int index) {
    if (const auto colour = systemColour(index)) return *colour;
    constexpr CallRefuser refuse("winplat: GetSysColor");
    return refuse(DWORD{0}, "no system colour " + std::to_string(index));
}

HBRUSH GetSysColorBrush(int index) {
    if (!systemColour(index)) {
        constexpr CallRefuser refuse("winplat: GetSysColorBrush");
        return refuse(HBRUSH{}, "no system colour " + std::to_string(index));
    }
    return brushOf(index);
}
