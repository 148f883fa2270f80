#include "page/page_services.h"

#include "page/temp_files.h"
#include "pixmill/pixmill.h"
#include "vexmill/vexmill.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

// Messages a media window takes: give up the state it shows, then the device's stop and close.
constexpr UINT kReleaseState = WM_USER + 135;
constexpr UINT kDeviceStop = 0x0808;
constexpr UINT kDeviceClose = 0x0804;

}  // namespace

void ObjectMedia::CloseObjectWindow(HWND window) {
    SendMessageA(window, kReleaseState, 2, 2);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    SendMessageA(window, kDeviceStop, 0, 0);
    SendMessageA(window, kDeviceClose, 0, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
}

void ObjectMedia::DeleteImage(uint16_t id, bool vector) {
    if (vector) VXLDeleteImage(id);
    else PXLDeleteImage(static_cast<PxlImageId>(id));
}

void ObjectMedia::DeleteTempFile(int16_t index) { lect32::DeleteTempFile(index); }

}  // namespace lect32
