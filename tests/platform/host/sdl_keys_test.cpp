// The SDL host's key table: the virtual keys of a Czech keyboard on a Czech desktop layout and of
// a US keyboard on a US one, from the scancode and what the layout makes of the key.
#include <gtest/gtest.h>

#if WINPLAT_SDL_BUILT

#include <string>

#include "host/sdl/sdl_keys.h"
#include "winplat/user.h"

namespace {

using winplat::host::KeyLayout;
using winplat::host::layoutOf;
using winplat::host::virtualKeyOf;

// Keycodes SDL reports for keys of the Czech layout that are not ASCII: its Unicode character.
constexpr SDL_Keycode kURing = 0x016F;   // ů, where a US keyboard has ';'
constexpr SDL_Keycode kUAcute = 0x00FA;  // ú, where a US keyboard has '['
constexpr SDL_Keycode kSection = 0x00A7; // §, where a US keyboard has '\''
constexpr SDL_Keycode kDiaeresis = 0x00A8;  // ¨, where a US keyboard has '\\'
constexpr SDL_Keycode kAcute = 0x00B4;   // ´ (dead), where a US keyboard has '='
constexpr SDL_Keycode kECaron = 0x011B;  // ě, the number row's 2

struct KeyCase {
    const char* what;
    SDL_Scancode scancode;
    SDL_Keycode layoutKey;
    KeyLayout layout;
    bool numLock;
    UINT expected;
};

constexpr KeyLayout kCz = KeyLayout::Czech;
constexpr KeyLayout kUs = KeyLayout::Us;

// clang-format off
const KeyCase kKeys[] = {
    // Letters: what the layout prints on the key, so Ctrl+Z is the key marked Z.
    {"Czech Z, where US has Y", SDL_SCANCODE_Y, SDLK_z, kCz, true, 'Z'},
    {"Czech Y, where US has Z", SDL_SCANCODE_Z, SDLK_y, kCz, true, 'Y'},
    {"US Z", SDL_SCANCODE_Z, SDLK_z, kUs, true, 'Z'},
    {"US Y", SDL_SCANCODE_Y, SDLK_y, kUs, true, 'Y'},
    {"Czech Q", SDL_SCANCODE_Q, SDLK_q, kCz, true, 'Q'},
    {"Czech P", SDL_SCANCODE_P, SDLK_p, kCz, true, 'P'},
    {"Czech M", SDL_SCANCODE_M, SDLK_m, kCz, true, 'M'},
    {"a letter key the layout gives no Latin letter: the Czech place", SDL_SCANCODE_Z, 0x0436, kCz, true, 'Y'},
    {"a letter key the layout gives no Latin letter: the US place", SDL_SCANCODE_Z, 0x0436, kUs, true, 'Z'},
    // The number row types + ě š č ř ž ý á í é on a Czech layout and keeps VK '1'-'0'.
    {"Czech + 1", SDL_SCANCODE_1, SDLK_1, kCz, true, '1'},
    {"Czech ě 2", SDL_SCANCODE_2, SDLK_2, kCz, true, '2'},
    {"Czech ě 2 reported as ě", SDL_SCANCODE_2, kECaron, kCz, true, '2'},
    {"Czech é 0", SDL_SCANCODE_0, SDLK_0, kCz, true, '0'},
    {"US 9", SDL_SCANCODE_9, SDLK_9, kUs, true, '9'},
    // Punctuation: the Czech layout's own virtual keys.
    {"Czech ; °", SDL_SCANCODE_GRAVE, SDLK_SEMICOLON, kCz, true, VK_OEM_3},
    {"Czech = %", SDL_SCANCODE_MINUS, SDLK_EQUALS, kCz, true, VK_OEM_PLUS},
    {"Czech ´ ˇ", SDL_SCANCODE_EQUALS, kAcute, kCz, true, VK_OEM_2},
    {"Czech ú /", SDL_SCANCODE_LEFTBRACKET, kUAcute, kCz, true, VK_OEM_4},
    {"Czech ) (", SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTPAREN, kCz, true, VK_OEM_6},
    {"Czech ů \"", SDL_SCANCODE_SEMICOLON, kURing, kCz, true, VK_OEM_1},
    {"Czech § !", SDL_SCANCODE_APOSTROPHE, kSection, kCz, true, VK_OEM_7},
    {"Czech ¨ '", SDL_SCANCODE_BACKSLASH, kDiaeresis, kCz, true, VK_OEM_5},
    {"Czech \\ |, the key beside the left Shift", SDL_SCANCODE_NONUSBACKSLASH, SDLK_BACKSLASH, kCz, true, VK_OEM_102},
    {"Czech , ?", SDL_SCANCODE_COMMA, SDLK_COMMA, kCz, true, VK_OEM_COMMA},
    {"Czech . :", SDL_SCANCODE_PERIOD, SDLK_PERIOD, kCz, true, VK_OEM_PERIOD},
    {"Czech - _", SDL_SCANCODE_SLASH, SDLK_MINUS, kCz, true, VK_OEM_MINUS},
    // The same places on a US layout.
    {"US ` ~", SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, kUs, true, VK_OEM_3},
    {"US - _", SDL_SCANCODE_MINUS, SDLK_MINUS, kUs, true, VK_OEM_MINUS},
    {"US = +", SDL_SCANCODE_EQUALS, SDLK_EQUALS, kUs, true, VK_OEM_PLUS},
    {"US [ {", SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, kUs, true, VK_OEM_4},
    {"US ; :", SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, kUs, true, VK_OEM_1},
    {"US / ?", SDL_SCANCODE_SLASH, SDLK_SLASH, kUs, true, VK_OEM_2},
    {"US \\ |", SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, kUs, true, VK_OEM_5},
    {"the 102nd key on a US layout", SDL_SCANCODE_NONUSBACKSLASH, SDLK_BACKSLASH, kUs, true, VK_OEM_102},
    // Function keys and the numeric pad are where they are on either layout.
    {"F1", SDL_SCANCODE_F1, SDLK_F1, kCz, true, 112},
    {"F10", SDL_SCANCODE_F10, SDLK_F10, kUs, true, 121},
    {"F12", SDL_SCANCODE_F12, SDLK_F12, kCz, true, 123},
    {"pad +", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, kCz, true, 107},
    {"pad -", SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, kCz, true, 109},
    {"pad . (a Czech layout types a comma there)", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, kCz, true, 110},
    {"pad *", SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, kUs, true, VK_MULTIPLY},
    {"pad /", SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, kUs, true, VK_DIVIDE},
    {"pad 0", SDL_SCANCODE_KP_0, SDLK_KP_0, kCz, true, VK_NUMPAD0},
    {"pad 7", SDL_SCANCODE_KP_7, SDLK_KP_7, kCz, true, VK_NUMPAD7},
    {"pad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, kCz, true, VK_RETURN},
    // Without Num Lock the pad's digits and point are the editing keys marked on them.
    {"pad 7 without Num Lock", SDL_SCANCODE_KP_7, SDLK_KP_7, kCz, false, VK_HOME},
    {"pad 8 without Num Lock", SDL_SCANCODE_KP_8, SDLK_KP_8, kUs, false, VK_UP},
    {"pad 3 without Num Lock", SDL_SCANCODE_KP_3, SDLK_KP_3, kUs, false, VK_NEXT},
    {"pad 5 without Num Lock", SDL_SCANCODE_KP_5, SDLK_KP_5, kUs, false, VK_CLEAR},
    {"pad 0 without Num Lock", SDL_SCANCODE_KP_0, SDLK_KP_0, kCz, false, VK_INSERT},
    {"pad . without Num Lock", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, kCz, false, VK_DELETE},
    {"pad + without Num Lock", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, kCz, false, 107},
    // Editing and modifier keys.
    {"Delete", SDL_SCANCODE_DELETE, SDLK_DELETE, kCz, true, VK_DELETE},
    {"Home", SDL_SCANCODE_HOME, SDLK_HOME, kCz, false, VK_HOME},
    {"right Alt (AltGr on a Czech layout)", SDL_SCANCODE_RALT, SDLK_RALT, kCz, true, VK_RMENU},
    {"left Control", SDL_SCANCODE_LCTRL, SDLK_LCTRL, kUs, true, VK_LCONTROL},
    {"a key with no virtual key", SDL_SCANCODE_MUTE, SDLK_MUTE, kUs, true, 0},
};
// clang-format on

TEST(SdlKeys, EachKeyIsTheVirtualKeyItsLayoutGives) {
    for (const KeyCase& c : kKeys) {
        EXPECT_EQ(virtualKeyOf(c.scancode, c.layoutKey, c.layout, c.numLock), c.expected) << c.what;
    }
}

TEST(SdlKeys, OnlyYAndZChangePlacesBetweenTheLayouts) {
    // Each letter key with the layout reporting no letter: the Czech layout's QWERTZ places.
    for (int code = SDL_SCANCODE_A; code <= SDL_SCANCODE_Z; ++code) {
        const auto scancode = static_cast<SDL_Scancode>(code);
        const auto us = static_cast<UINT>('A' + (code - SDL_SCANCODE_A));
        const UINT cz = us == 'Y' ? 'Z' : us == 'Z' ? 'Y' : us;
        EXPECT_EQ(virtualKeyOf(scancode, SDLK_UNKNOWN, KeyLayout::Us, true), us) << static_cast<char>(us);
        EXPECT_EQ(virtualKeyOf(scancode, SDLK_UNKNOWN, KeyLayout::Czech, true), cz) << static_cast<char>(us);
    }
}

TEST(SdlKeys, TheDesktopsLayoutIsCzechWhenItHasURingBesideL) {
    EXPECT_EQ(layoutOf(kURing), KeyLayout::Czech);
    EXPECT_EQ(layoutOf(SDLK_SEMICOLON), KeyLayout::Us);
    EXPECT_EQ(layoutOf(0x00F6), KeyLayout::Us) << "a German ö is no Czech layout";
    EXPECT_EQ(layoutOf(SDLK_UNKNOWN), KeyLayout::Us);
}

}  // namespace

#else

TEST(SdlKeys, EachKeyIsTheVirtualKeyItsLayoutGives) {
    GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
}

#endif
