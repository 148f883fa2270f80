#include "user/message_pump.h"

#include "user/message_source.h"
#include "user/posted_queue.h"
#include "user/retrieval.h"

namespace winplat::user {

namespace {

// Takes the next message if one is ready: true with 'quit' set when it is WM_QUIT (posted again
// for the outer loop).
bool take(MSG& message, bool& quit) {
    if (!fetchMessage(MessageFilter{}, true, message)) return false;
    quit = message.message == WM_QUIT;
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
    return true;
}

}  // namespace

bool nextModalMessage(MSG& message, const ModalPump& pump) {
    bool quit = false;
    for (;;) {
        const uint64_t seen = postedQueue().serial();
        if (take(message, quit)) return !quit;
        if (pump.loop) {
            // The host's answerer may end the loop, or queue what a person would do next.
            const host::ModalAnswer answer = host::modalIdle(*pump.loop);
            if (answer.end) {
                if (pump.answered) *pump.answered = answer.result;
                return false;
            }
            if (pump.ended && pump.ended()) return false;
            if (take(message, quit)) return !quit;
        }
        if (!waitForMessage(MessageFilter{}, seen, pump.name)) return false;
        if (pump.ended && pump.ended()) return false;
    }
}

bool nextModalMessage(MSG& message, const host::ModalLoop* loop, INT_PTR* answered) {
    return nextModalMessage(message, ModalPump{loop, answered, {}, "a frame's modal loop"});
}

void dispatchModal(const MSG& message) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace winplat::user
