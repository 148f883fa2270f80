// The hot-key table the script engine writes: the keys of the object selection step, which of
// them work, the keys that choose a pick-window kind and the window-selection key. Key codes are
// virtual-key codes.
#ifndef LINEWORK_UI_HOT_KEYS_H
#define LINEWORK_UI_HOT_KEYS_H

#include <array>
#include <cstdint>

namespace linework {

struct HotKeyTable {
    // Keys 1..5 click tool buttons 66..70, 6..11 act on selection filters 0..5, 12 selects with
    // ".", 13 and 14 set selection add and remove.
    std::array<uint16_t, 14> selectionKeys{'K', 'O', 'J', 'Z', 'U', 'I', 'T', 'V', 'B', 'E', 'M', 'P', 107, 109};
    // 0 none, 1 all selection keys, 2 only the third, 3 only the fourth.
    uint8_t selectionKeyMode = 0;
    // Pick-window kinds 0..12.
    std::array<uint16_t, 13> pickWindowKeys{' ', 'V', 'S', 'K', 'P', 'O', 'N', 'B', 'L', 'Q', 'T', 'X', 'G'};
    uint16_t windowSelectionKey = 'W';
};

// The index (0-based) of a selection key the mode lets act, or -1.
int SelectionKeyIndex(const HotKeyTable& table, uint16_t key);
// The pick-window kind of a key, or -1.
int PickWindowKind(const HotKeyTable& table, uint16_t key);

}  // namespace linework

#endif
