#include "user/virtual_keys.h"

#include <array>
#include <cstring>

#include "winplat/user.h"

namespace winplat::user {
namespace {

struct KeyScan {
    UINT key;
    BYTE code;
    bool extended;
};

// Keys outside the letter and digit rows, in set 1 codes.
constexpr std::array<KeyScan, 64> kKeys{{
    {VK_ESCAPE, 0x01, false},    {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false}, {VK_BACK, 0x0E, false},
    {VK_TAB, 0x0F, false},       {VK_OEM_4, 0x1A, false},     {VK_OEM_6, 0x1B, false},    {VK_RETURN, 0x1C, false},
    {VK_CONTROL, 0x1D, false},   {VK_LCONTROL, 0x1D, false},  {VK_RCONTROL, 0x1D, true},  {VK_OEM_1, 0x27, false},
    {VK_OEM_7, 0x28, false},     {VK_OEM_3, 0x29, false},     {VK_SHIFT, 0x2A, false},    {VK_LSHIFT, 0x2A, false},
    {VK_OEM_5, 0x2B, false},     {VK_OEM_COMMA, 0x33, false}, {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false},
    {VK_RSHIFT, 0x36, false},    {VK_MULTIPLY, 0x37, false},  {VK_MENU, 0x38, false},     {VK_LMENU, 0x38, false},
    {VK_RMENU, 0x38, true},      {VK_SPACE, 0x39, false},     {VK_CAPITAL, 0x3A, false},  {VK_F1, 0x3B, false},
    {VK_F2, 0x3C, false},        {VK_F3, 0x3D, false},        {VK_F4, 0x3E, false},       {VK_F5, 0x3F, false},
    {VK_F6, 0x40, false},        {VK_F7, 0x41, false},        {VK_F8, 0x42, false},       {VK_F9, 0x43, false},
    {VK_F10, 0x44, false},       {VK_NUMLOCK, 0x45, true},    {VK_PAUSE, 0x45, false},    {VK_SCROLL, 0x46, false},
    {VK_NUMPAD7, 0x47, false},   {VK_NUMPAD8, 0x48, false},   {VK_NUMPAD9, 0x49, false},  {VK_SUBTRACT, 0x4A, false},
    {VK_NUMPAD4, 0x4B, false},   {VK_NUMPAD5, 0x4C, false},   {VK_NUMPAD6, 0x4D, false},  {VK_ADD, 0x4E, false},
    {VK_NUMPAD1, 0x4F, false},   {VK_NUMPAD2, 0x50, false},   {VK_NUMPAD3, 0x51, false},  {VK_NUMPAD0, 0x52, false},
    {VK_DECIMAL, 0x53, false},   {VK_F11, 0x57, false},       {VK_F12, 0x58, false},      {VK_DIVIDE, 0x35, true},
    {VK_HOME, 0x47, true},       {VK_UP, 0x48, true},         {VK_PRIOR, 0x49, true},     {VK_LEFT, 0x4B, true},
    {VK_RIGHT, 0x4D, true},      {VK_END, 0x4F, true},        {VK_DOWN, 0x50, true},      {VK_NEXT, 0x51, true},
}};

constexpr std::array<KeyScan, 7> kMoreKeys{{
    {VK_INSERT, 0x52, true}, {VK_DELETE, 0x53, true}, {VK_SNAPSHOT, 0x37, true},
    {VK_LWIN, 0x5B, true},   {VK_RWIN, 0x5C, true},   {VK_APPS, 0x5D, true},
    {VK_OEM_102, 0x56, false},  // the key beside the left Shift of a 102-key keyboard
}};

// The letter rows and the digit row of the PC keyboard, each run of codes from its first.
struct KeyRow {
    const char* keys;
    BYTE first;
};
constexpr std::array<KeyRow, 4> kRows{{{"1234567890", 0x02}, {"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E},
                                       {"ZXCVBNM", 0x2C}}};

}  // namespace

ScanCode scanCodeOf(UINT virtualKey) {
    for (const KeyRow& row : kRows) {
        const char* at = virtualKey < 0x80 && virtualKey > 0 ? std::strchr(row.keys, static_cast<int>(virtualKey)) : nullptr;
        if (at) return {static_cast<BYTE>(row.first + (at - row.keys)), false};
    }
    for (const KeyScan& key : kKeys) {
        if (key.key == virtualKey) return {key.code, key.extended};
    }
    for (const KeyScan& key : kMoreKeys) {
        if (key.key == virtualKey) return {key.code, key.extended};
    }
    return {};
}

UINT genericKey(UINT virtualKey) {
    switch (virtualKey) {
        case VK_LSHIFT:
        case VK_RSHIFT: return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL: return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU: return VK_MENU;
        default: return virtualKey;
    }
}

UINT leftKeyOf(UINT genericVirtualKey) {
    switch (genericVirtualKey) {
        case VK_SHIFT: return VK_LSHIFT;
        case VK_CONTROL: return VK_LCONTROL;
        case VK_MENU: return VK_LMENU;
        default: return 0;
    }
}

}  // namespace winplat::user
