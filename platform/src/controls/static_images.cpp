#include "controls/static_images.h"

#include <map>

#include "controls/control_support.h"
#include "controls/static_state.h"
#include "winplat/module.h"
#include "winplat/owners.h"

namespace winplat::controls {
namespace {

std::map<HWND, OwnedBitmap>& loadedBitmaps() {
    static std::map<HWND, OwnedBitmap> loaded;
    return loaded;
}

}  // namespace

bool showResourceImage(HWND control, HINSTANCE module, WORD id) {
    switch (staticType(styleOf(control))) {
        case SS_ICON: {
            const HICON icon = LoadIconA(module, MAKEINTRESOURCEA(id));
            if (!icon) return false;
            SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            return true;
        }
        case SS_BITMAP: {
            OwnedBitmap bitmap(LoadBitmapA(module, MAKEINTRESOURCEA(id)));
            if (!bitmap) return false;
            SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
            loadedBitmaps()[control] = std::move(bitmap);
            return true;
        }
        default: return false;
    }
}

void dropLoadedImage(HWND control) { loadedBitmaps().erase(control); }

}  // namespace winplat::controls
