// Finding a combo-box item by the number it carries as item data (a page or string number; the
// heading item that page-name combos begin with carries -1).
#ifndef LECT32_STORE_COMBO_ITEM_DATA_H
#define LECT32_STORE_COMBO_ITEM_DATA_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

// The index of the first item whose item data, as 16 bits, equals id; items with data -1 are
// passed over. 0xFFFF when there is none or the item count cannot be read.
uint16_t FindComboItemByData(HWND combo, uint16_t id);

}  // namespace lect32

#endif
