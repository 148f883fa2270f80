#include "user/screen.h"

#include "gdi/screen_surface.h"

namespace winplat::user {

SIZE screenSize() {
    const gdi::ScreenExtent extent = gdi::screenExtent();
    return {extent.width, extent.height};
}

}  // namespace winplat::user
