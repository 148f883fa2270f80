#include "user/modal_loop.h"

#include "user/message_source.h"
#include "user/posted_queue.h"
#include "user/retrieval.h"

namespace winplat::user {

bool nextModalMessage(MSG& message) {
    const MessageFilter all{};
    for (;;) {
        const uint64_t seen = postedQueue().serial();
        if (fetchMessage(all, true, message)) {
            if (message.message != WM_QUIT) return true;
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (!waitForMessage(all, seen, "a frame's modal loop")) return false;
    }
}

void dispatchModal(const MSG& message) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

bool stillCaptured(const WindowRef& window) { return !window->gone && GetCapture() == window->handle; }

}  // namespace winplat::user
