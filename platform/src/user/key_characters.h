// The characters keys type: virtual key and modifiers to a cp1250 byte, on the US layout (a
// Czech layout's letters arrive from the hosts as text, not through this table).
#ifndef WINPLAT_SRC_USER_KEY_CHARACTERS_H
#define WINPLAT_SRC_USER_KEY_CHARACTERS_H

#include <cstdint>

#include "winplat/types.h"

namespace winplat::user {

struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool capsLock = false;
};

// The character the key types with those modifiers, 0 when it types none.
uint8_t keyCharacter(UINT virtualKey, KeyModifiers modifiers);

}  // namespace winplat::user

#endif
