#include "ui/hot_keys.h"

#include <cstddef>

namespace linework {

int SelectionKeyIndex(const HotKeyTable& table, uint16_t key) {
    for (int i = 0; i < static_cast<int>(table.selectionKeys.size()); ++i) {
        if (table.selectionKeys[static_cast<std::size_t>(i)] != key) continue;
        switch (table.selectionKeyMode) {
            case 1: return i;
            case 2: return i == 2 ? i : -1;
            case 3: return i == 3 ? i : -1;
            default: return -1;
        }
    }
    return -1;
}

int PickWindowKind(const HotKeyTable& table, uint16_t key) {
    for (int i = 0; i < static_cast<int>(table.pickWindowKeys.size()); ++i) {
        if (table.pickWindowKeys[static_cast<std::size_t>(i)] == key) return i;
    }
    return -1;
}

}  // namespace linework
