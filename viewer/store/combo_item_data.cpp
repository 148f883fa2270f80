#include "store/combo_item_data.h"

#include "winplat/api.h"

namespace lect32 {

namespace {

constexpr uint16_t kNotFound = 0xFFFF;

}  // namespace

uint16_t FindComboItemByData(HWND combo, uint16_t id) {
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR || count <= 0) return kNotFound;
    for (LRESULT i = 0; i < count && i < kNotFound; ++i) {
        const LRESULT data = SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (data == -1) continue;
        if (static_cast<uint16_t>(data) == id) return static_cast<uint16_t>(i);
    }
    return kNotFound;
}

}  // namespace lect32
