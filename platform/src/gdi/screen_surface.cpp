#include "gdi/screen_surface.h"

#include <atomic>
#include <mutex>

#include "gdi/objects.h"
#include "gdi/paint.h"

namespace winplat::gdi {
namespace {
std::atomic<int> extentWidth{1024};
std::atomic<int> extentHeight{768};
}  // namespace

ScreenExtent screenExtent() { return {extentWidth.load(), extentHeight.load()}; }

bool resizeScreenSurface(int width, int height) {
    const std::shared_ptr<BitmapObject> screen = findBitmap(screenBitmap());
    if (!screen) return false;
    auto surface = Surface::create(width, height, 32, true);
    if (!surface) return false;
    std::lock_guard lock(gdiMutex());
    screen->surface = std::move(surface);
    extentWidth = width;
    extentHeight = height;
    return true;
}

}  // namespace winplat::gdi
