// The names of the key hook scripts: a prefix of the modifiers held ("A" Alt, "C" Ctrl, "S"
// Shift, in that order) and a key part: a digit or letter only with Alt or Ctrl held, F1..F12
// with or without modifiers. Alt+Ctrl+Shift+F12 runs ACSF12.LKP, F3 alone F3.LKP, Ctrl+X CX.LKP;
// Shift+A alone names no hook (letters are typed, not hooked).
#ifndef LINEWORK_UI_KEY_HOOKS_H
#define LINEWORK_UI_KEY_HOOKS_H

#include <cstdint>
#include <string>

namespace linework {

struct KeyModifiers {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
};

// The modifier prefix alone ("", "A", "CS", "ACS" ...).
std::string KeyHookPrefix(KeyModifiers held);
// The hook's name for a virtual-key code, or "" when the key names no hook.
std::string KeyHookName(uint16_t key, KeyModifiers held);

}  // namespace linework

#endif
