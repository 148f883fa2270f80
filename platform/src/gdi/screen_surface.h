// The size of the screen's framebuffer: 1024 x 768 unless a host chose another before drawing
// began. GetDeviceCaps reports it and GetDC(NULL) draws on a surface of that size.
#ifndef WINPLAT_SRC_GDI_SCREEN_SURFACE_H
#define WINPLAT_SRC_GDI_SCREEN_SURFACE_H

namespace winplat::gdi {

struct ScreenExtent {
    int width;
    int height;
};

ScreenExtent screenExtent();
// Replaces the framebuffer's pixels with a black surface of the size; false when the surface
// cannot be made (the size is beyond the caps or memory runs out). DCs on the screen draw on the
// new pixels from then on.
bool resizeScreenSurface(int width, int height);

}  // namespace winplat::gdi

#endif
