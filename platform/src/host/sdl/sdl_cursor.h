// The layer's cursors as SDL colour cursors: kept for the shape last shown, made again when the
// program sets another.
#ifndef WINPLAT_SRC_HOST_SDL_SDL_CURSOR_H
#define WINPLAT_SRC_HOST_SDL_SDL_CURSOR_H

#include <SDL.h>

#include <memory>

#include "winplat/user.h"

namespace winplat::host {

struct FreeSdlCursor {
    void operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
};
using SdlCursor = std::unique_ptr<SDL_Cursor, FreeSdlCursor>;

class CursorMirror {
public:
    // Shows the program's current cursor (as SetCursor and ShowCursor left it) on the window.
    void update();

private:
    HCURSOR shown_ = nullptr;
    bool visible_ = true;
    SdlCursor cursor_;
};

}  // namespace winplat::host

#endif
