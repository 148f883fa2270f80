// Keys by the names input scripts and harness helpers give them: "F7", "Enter", "a", "7",
// "Num+", "Left", and the modifiers "ctrl", "shift", "alt" of "ctrl+s".
#ifndef WINPLAT_SRC_HOST_KEY_NAMES_H
#define WINPLAT_SRC_HOST_KEY_NAMES_H

#include <optional>
#include <string_view>
#include <vector>

#include "winplat/types.h"

namespace winplat::host {

// The virtual key a name stands for (case-insensitive); none for an unknown name.
std::optional<UINT> keyByName(std::string_view name);

struct KeyChord {
    std::vector<UINT> modifiers;  // VK_CONTROL, VK_SHIFT, VK_MENU in the order written
    UINT key = 0;
};

// "ctrl+shift+F7" as modifiers and a key; none when a part is unknown or the key is missing.
std::optional<KeyChord> parseChord(std::string_view text);

}  // namespace winplat::host

#endif
