#include "user/modal_loop.h"

#include "user/message_source.h"
#include "user/posted_queue.h"
#include "user/retrieval.h"

namespace winplat::user {

namespace {

// Takes the next message if one is ready: true with 'ended' set when it is WM_QUIT (posted again
// for the outer loop).
bool take(MSG& message, bool& ended) {
    if (!fetchMessage(MessageFilter{}, true, message)) return false;
    ended = message.message == WM_QUIT;
    if (ended) PostQuitMessage(static_cast<int>(message.wParam));
    return true;
}

}  // namespace

bool nextModalMessage(MSG& message, const host::ModalLoop* loop, INT_PTR* answered) {
    bool ended = false;
    for (;;) {
        const uint64_t seen = postedQueue().serial();
        if (take(message, ended)) return !ended;
        if (loop) {
            // The host's answerer may end the loop, or queue what a person would do next.
            const host::ModalAnswer answer = host::modalIdle(*loop);
            if (answer.end) {
                if (answered) *answered = answer.result;
                return false;
            }
            if (take(message, ended)) return !ended;
        }
        if (!waitForMessage(MessageFilter{}, seen, "a frame's modal loop")) return false;
    }
}

void dispatchModal(const MSG& message) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

bool stillCaptured(const WindowRef& window) { return !window->gone && GetCapture() == window->handle; }

}  // namespace winplat::user
