#include "controls/static_images.h"

#include <utility>

#include "controls/control_support.h"
#include "controls/static_state.h"
#include "winplat/module.h"
#include "winplat/owners.h"

namespace winplat::controls {

bool showResourceImage(HWND control, HINSTANCE module, WORD id) {
    switch (staticType(styleOf(control))) {
        case SS_ICON: {
            const HICON icon = LoadIconA(module, MAKEINTRESOURCEA(id));
            if (!icon) return false;
            SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            return true;
        }
        case SS_BITMAP: {
            const auto data = user::windowState<StaticData>(control);
            OwnedBitmap bitmap(LoadBitmapA(module, MAKEINTRESOURCEA(id)));
            if (!data || !bitmap) return false;
            SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
            data->loaded = std::move(bitmap);
            return true;
        }
        default: return false;
    }
}

}  // namespace winplat::controls
