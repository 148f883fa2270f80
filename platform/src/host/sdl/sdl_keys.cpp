#include "host/sdl/sdl_keys.h"

#include <array>

#include "winplat/user.h"

namespace winplat::host {
namespace {

struct KeyPair {
    SDL_Scancode scancode;
    UINT key;
};

constexpr std::array kKeys{
    KeyPair{SDL_SCANCODE_RETURN, VK_RETURN},       KeyPair{SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    KeyPair{SDL_SCANCODE_BACKSPACE, VK_BACK},      KeyPair{SDL_SCANCODE_TAB, VK_TAB},
    KeyPair{SDL_SCANCODE_SPACE, VK_SPACE},         KeyPair{SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    KeyPair{SDL_SCANCODE_PAUSE, VK_PAUSE},         KeyPair{SDL_SCANCODE_INSERT, VK_INSERT},
    KeyPair{SDL_SCANCODE_DELETE, VK_DELETE},       KeyPair{SDL_SCANCODE_HOME, VK_HOME},
    KeyPair{SDL_SCANCODE_END, VK_END},             KeyPair{SDL_SCANCODE_PAGEUP, VK_PRIOR},
    KeyPair{SDL_SCANCODE_PAGEDOWN, VK_NEXT},       KeyPair{SDL_SCANCODE_LEFT, VK_LEFT},
    KeyPair{SDL_SCANCODE_RIGHT, VK_RIGHT},         KeyPair{SDL_SCANCODE_UP, VK_UP},
    KeyPair{SDL_SCANCODE_DOWN, VK_DOWN},           KeyPair{SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    KeyPair{SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},    KeyPair{SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    KeyPair{SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},   KeyPair{SDL_SCANCODE_KP_PLUS, VK_ADD},
    KeyPair{SDL_SCANCODE_KP_ENTER, VK_RETURN},     KeyPair{SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    KeyPair{SDL_SCANCODE_LSHIFT, VK_LSHIFT},       KeyPair{SDL_SCANCODE_RSHIFT, VK_RSHIFT},
    KeyPair{SDL_SCANCODE_LCTRL, VK_LCONTROL},      KeyPair{SDL_SCANCODE_RCTRL, VK_RCONTROL},
    KeyPair{SDL_SCANCODE_LALT, VK_LMENU},          KeyPair{SDL_SCANCODE_RALT, VK_RMENU},
    KeyPair{SDL_SCANCODE_SEMICOLON, VK_OEM_1},     KeyPair{SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    KeyPair{SDL_SCANCODE_COMMA, VK_OEM_COMMA},     KeyPair{SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    KeyPair{SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},   KeyPair{SDL_SCANCODE_SLASH, VK_OEM_2},
    KeyPair{SDL_SCANCODE_GRAVE, VK_OEM_3},         KeyPair{SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    KeyPair{SDL_SCANCODE_BACKSLASH, VK_OEM_5},     KeyPair{SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    KeyPair{SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
};

UINT byPlace(SDL_Scancode code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return static_cast<UINT>('A' + (code - SDL_SCANCODE_A));
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return static_cast<UINT>('1' + (code - SDL_SCANCODE_1));
    if (code == SDL_SCANCODE_0) return '0';
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) return static_cast<UINT>(VK_F1 + (code - SDL_SCANCODE_F1));
    if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) return static_cast<UINT>(VK_NUMPAD1 + (code - SDL_SCANCODE_KP_1));
    if (code == SDL_SCANCODE_KP_0) return VK_NUMPAD0;
    for (const KeyPair& pair : kKeys) {
        if (pair.scancode == code) return pair.key;
    }
    return 0;
}

}  // namespace

UINT virtualKeyOf(const SDL_Keysym& key) {
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return static_cast<UINT>('A' + (key.sym - SDLK_a));
    return byPlace(key.scancode);
}

}  // namespace winplat::host
