// Which layout's virtual keys: the desktop's, as SDL reports it, because that is what the user
// types with. A Czech user on a Czech layout expects Ctrl+Z under the key marked Z (where a US
// keyboard has Y) and the Czech layout's own keys for its punctuation ('-' right of the period is
// VK_OEM_MINUS there); a US user on a US layout expects the US keys. A fixed Czech table would
// move Z, Y and '-' under a US user's fingers, and a fixed US table does it to a Czech one. So:
// - a letter key is the letter the layout puts on it, whatever the layout (QWERTZ or QWERTY);
//   a key the layout gives no Latin letter keeps the letter of its place on the chosen layout;
// - the digit row stays VK '0'-'9' on both, as it does where the Czech layout types + ě š č ř ž
//   ý á í é on it (SDL reports digits for those keys itself);
// - the punctuation keys follow the Czech table when the desktop's layout is Czech and the US
//   table otherwise;
// - function keys, the numeric pad and the editing and modifier keys go by place, the same on
//   both; without Num Lock the pad's digits and point are the editing keys marked on them.
#include "host/sdl/sdl_keys.h"

#include <array>

#include "winplat/user.h"

namespace winplat::host {
namespace {

struct KeyPair {
    SDL_Scancode scancode;
    UINT key;
};

// Keys that are where they are on every layout.
constexpr std::array kPlacedKeys{
    KeyPair{SDL_SCANCODE_RETURN, VK_RETURN},       KeyPair{SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    KeyPair{SDL_SCANCODE_BACKSPACE, VK_BACK},      KeyPair{SDL_SCANCODE_TAB, VK_TAB},
    KeyPair{SDL_SCANCODE_SPACE, VK_SPACE},         KeyPair{SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    KeyPair{SDL_SCANCODE_PAUSE, VK_PAUSE},         KeyPair{SDL_SCANCODE_INSERT, VK_INSERT},
    KeyPair{SDL_SCANCODE_DELETE, VK_DELETE},       KeyPair{SDL_SCANCODE_HOME, VK_HOME},
    KeyPair{SDL_SCANCODE_END, VK_END},             KeyPair{SDL_SCANCODE_PAGEUP, VK_PRIOR},
    KeyPair{SDL_SCANCODE_PAGEDOWN, VK_NEXT},       KeyPair{SDL_SCANCODE_LEFT, VK_LEFT},
    KeyPair{SDL_SCANCODE_RIGHT, VK_RIGHT},         KeyPair{SDL_SCANCODE_UP, VK_UP},
    KeyPair{SDL_SCANCODE_DOWN, VK_DOWN},           KeyPair{SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    KeyPair{SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},   KeyPair{SDL_SCANCODE_APPLICATION, VK_APPS},
    KeyPair{SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},    KeyPair{SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    KeyPair{SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},   KeyPair{SDL_SCANCODE_KP_PLUS, VK_ADD},
    KeyPair{SDL_SCANCODE_KP_ENTER, VK_RETURN},     KeyPair{SDL_SCANCODE_LSHIFT, VK_LSHIFT},
    KeyPair{SDL_SCANCODE_RSHIFT, VK_RSHIFT},       KeyPair{SDL_SCANCODE_LCTRL, VK_LCONTROL},
    KeyPair{SDL_SCANCODE_RCTRL, VK_RCONTROL},      KeyPair{SDL_SCANCODE_LALT, VK_LMENU},
    KeyPair{SDL_SCANCODE_RALT, VK_RMENU},
};

// The punctuation keys of a US layout, and of a Czech one (its characters after each key).
constexpr std::array kUsPunctuation{
    KeyPair{SDL_SCANCODE_GRAVE, VK_OEM_3},          KeyPair{SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    KeyPair{SDL_SCANCODE_EQUALS, VK_OEM_PLUS},      KeyPair{SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    KeyPair{SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},   KeyPair{SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    KeyPair{SDL_SCANCODE_NONUSHASH, VK_OEM_5},      KeyPair{SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    KeyPair{SDL_SCANCODE_APOSTROPHE, VK_OEM_7},     KeyPair{SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    KeyPair{SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},    KeyPair{SDL_SCANCODE_SLASH, VK_OEM_2},
    KeyPair{SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
};
constexpr std::array kCzechPunctuation{
    KeyPair{SDL_SCANCODE_GRAVE, VK_OEM_3},          // ; °
    KeyPair{SDL_SCANCODE_MINUS, VK_OEM_PLUS},       // = %
    KeyPair{SDL_SCANCODE_EQUALS, VK_OEM_2},         // ´ ˇ (dead keys)
    KeyPair{SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},    // ú /
    KeyPair{SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},   // ) (
    KeyPair{SDL_SCANCODE_BACKSLASH, VK_OEM_5},      // ¨ '
    KeyPair{SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    KeyPair{SDL_SCANCODE_SEMICOLON, VK_OEM_1},      // ů "
    KeyPair{SDL_SCANCODE_APOSTROPHE, VK_OEM_7},     // § !
    KeyPair{SDL_SCANCODE_COMMA, VK_OEM_COMMA},      // , ?
    KeyPair{SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},    // . :
    KeyPair{SDL_SCANCODE_SLASH, VK_OEM_MINUS},      // - _
    KeyPair{SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},  // \ |, beside the left Shift
};

// The numeric pad's digits and point without Num Lock, in the order of their scancodes
// (1-9, 0, point).
constexpr std::array<UINT, 11> kPadEditingKeys{VK_END,  VK_DOWN,  VK_NEXT, VK_LEFT,   VK_CLEAR, VK_RIGHT,
                                               VK_HOME, VK_UP,    VK_PRIOR, VK_INSERT, VK_DELETE};

// The Unicode character the Czech layouts put where a US keyboard has ';'.
constexpr SDL_Keycode kURing = 0x016F;

template <size_t N>
UINT lookUp(const std::array<KeyPair, N>& table, SDL_Scancode code) {
    for (const KeyPair& pair : table) {
        if (pair.scancode == code) return pair.key;
    }
    return 0;
}

UINT letterKey(SDL_Scancode code, SDL_Keycode layoutKey, KeyLayout layout) {
    if (layoutKey >= SDLK_a && layoutKey <= SDLK_z) return static_cast<UINT>('A' + (layoutKey - SDLK_a));
    if (layout == KeyLayout::Czech && code == SDL_SCANCODE_Y) return 'Z';
    if (layout == KeyLayout::Czech && code == SDL_SCANCODE_Z) return 'Y';
    return static_cast<UINT>('A' + (code - SDL_SCANCODE_A));
}

UINT digitKey(SDL_Scancode code) {
    return code == SDL_SCANCODE_0 ? UINT{'0'} : static_cast<UINT>('1' + (code - SDL_SCANCODE_1));
}

// The pad's digits and point (the pad's scancodes run 1-9, 0, point).
UINT padKey(SDL_Scancode code, bool numLock) {
    const auto index = static_cast<size_t>(code - SDL_SCANCODE_KP_1);
    if (!numLock) return kPadEditingKeys[index];
    if (code == SDL_SCANCODE_KP_PERIOD) return VK_DECIMAL;
    return code == SDL_SCANCODE_KP_0 ? UINT{VK_NUMPAD0} : static_cast<UINT>(VK_NUMPAD1 + index);
}

}  // namespace

KeyLayout layoutOf(SDL_Keycode keyAtSemicolon) {
    return keyAtSemicolon == kURing ? KeyLayout::Czech : KeyLayout::Us;
}

UINT virtualKeyOf(SDL_Scancode scancode, SDL_Keycode layoutKey, KeyLayout layout, bool numLock) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return letterKey(scancode, layoutKey, layout);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) return digitKey(scancode);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return static_cast<UINT>(VK_F1 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD) return padKey(scancode, numLock);
    if (const UINT placed = lookUp(kPlacedKeys, scancode)) return placed;
    return layout == KeyLayout::Czech ? lookUp(kCzechPunctuation, scancode) : lookUp(kUsPunctuation, scancode);
}

}  // namespace winplat::host
