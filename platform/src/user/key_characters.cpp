#include "user/key_characters.h"

#include <array>

#include "winplat/user.h"

namespace winplat::user {
namespace {

struct KeyPair {
    UINT key;
    char plain;
    char shifted;
};

// Digits and punctuation of the US layout.
constexpr std::array<KeyPair, 21> kSymbolKeys{{
    {'0', '0', ')'},          {'1', '1', '!'},          {'2', '2', '@'},          {'3', '3', '#'},
    {'4', '4', '$'},          {'5', '5', '%'},          {'6', '6', '^'},          {'7', '7', '&'},
    {'8', '8', '*'},          {'9', '9', '('},          {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},
    {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},
    {VK_OEM_7, '\'', '"'},
}};

// Keys that type the same whatever the modifiers.
uint8_t fixedCharacter(UINT key) {
    switch (key) {
        case VK_BACK: return 8;
        case VK_TAB: return 9;
        case VK_RETURN: return 13;
        case VK_ESCAPE: return 27;
        case VK_SPACE: return ' ';
        case VK_MULTIPLY: return '*';
        case VK_ADD: return '+';
        case VK_SUBTRACT: return '-';
        case VK_DECIMAL: return '.';
        case VK_DIVIDE: return '/';
        default: return (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) ? static_cast<uint8_t>('0' + key - VK_NUMPAD0) : 0;
    }
}

uint8_t letter(UINT key, KeyModifiers modifiers) {
    // Ctrl with a letter types the control character of its place in the alphabet (Ctrl+A = 1).
    if (modifiers.control) return static_cast<uint8_t>(key - 'A' + 1);
    const bool upper = modifiers.shift != modifiers.capsLock;
    return static_cast<uint8_t>(upper ? key : key - 'A' + 'a');
}

}  // namespace

uint8_t keyCharacter(UINT virtualKey, KeyModifiers modifiers) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return letter(virtualKey, modifiers);
    if (const uint8_t fixed = fixedCharacter(virtualKey)) return fixed;
    if (modifiers.control) return 0;
    for (const KeyPair& pair : kSymbolKeys) {
        if (pair.key == virtualKey) return static_cast<uint8_t>(modifiers.shift ? pair.shifted : pair.plain);
    }
    return 0;
}

}  // namespace winplat::user
