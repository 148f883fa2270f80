#include "user/modal_loop.h"

namespace winplat::user {

bool stillCaptured(const WindowRef& window) {
    return !window->gone && GetCapture() == window->handle;
}

}  // namespace winplat::user
