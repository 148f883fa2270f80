// Bitmaps kept in a module's resources (RT_BITMAP: a packed DIB) made into bitmaps of the
// screen's format.
#include <cstring>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "user/module_pictures.h"

using namespace winplat;
using namespace winplat::user;

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    constexpr std::string_view kWho = "winplat: LoadBitmapA";
    constexpr CallRefuser refuse(kWho, ERROR_RESOURCE_NAME_NOT_FOUND);
    if (!name) return refuse(HBITMAP{}, "no bitmap name");
    // The layer draws its system bitmaps (OBM_) itself: nothing asks for them by name.
    if (!instance) return refuse(HBITMAP{}, "no system bitmaps are kept");
    constexpr WORD kBitmapType = 2;  // RT_BITMAP
    const auto bytes = resourceBytes(instance, name, kBitmapType, refuse);
    if (!bytes) return nullptr;
    // The header is read as the structures it holds, so it is copied to storage aligned for them.
    std::vector<uint32_t> aligned((bytes->size() + 3) / 4);
    if (!bytes->empty()) std::memcpy(aligned.data(), bytes->data(), bytes->size());
    return gdi::bitmapFromPackedDib(aligned.data(), bytes->size(), CallRefuser(kWho, ERROR_INVALID_DATA));
}
