#include "host/sdl/sdl_cursor.h"

#include "user/input_feed.h"

namespace winplat::host {
namespace {

struct FreeSurface {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

// AND 1 with XOR black lets the screen through; AND 0 shows the XOR colour. AND 1 with a colour
// inverts the screen, which a colour cursor cannot: it shows black there, as an outline.
uint32_t pixelOf(const user::CursorObject& cursor, size_t i) {
    const COLORREF colour = cursor.xorColour[i];
    if (cursor.andMask[i] && colour == 0) return 0;
    if (cursor.andMask[i]) return 0xFF000000u;
    return 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

SdlCursor makeCursor(const user::CursorObject& cursor) {
    std::unique_ptr<SDL_Surface, FreeSurface> surface(
        SDL_CreateRGBSurfaceWithFormat(0, cursor.width, cursor.height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface) return nullptr;
    for (int y = 0; y < cursor.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < cursor.width; ++x) row[x] = pixelOf(cursor, static_cast<size_t>(y * cursor.width + x));
    }
    return SdlCursor(SDL_CreateColorCursor(surface.get(), cursor.hotSpot.x, cursor.hotSpot.y));
}

}  // namespace

void CursorMirror::update() {
    const HCURSOR shape = user::shownCursor();
    const bool visible = shape != nullptr;
    if (visible != visible_) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
        visible_ = visible;
    }
    if (!visible || shape == shown_) return;
    const auto cursor = user::findCursor(shape);
    if (!cursor) return;
    SdlCursor made = makeCursor(*cursor);
    if (!made) return;
    SDL_SetCursor(made.get());
    cursor_ = std::move(made);  // the one shown before is freed only now
    shown_ = shape;
}

}  // namespace winplat::host
