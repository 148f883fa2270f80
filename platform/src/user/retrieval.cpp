#include "user/retrieval.h"

#include <string>

#include "base/call_refusal.h"
#include "user/posted_queue.h"
#include "user/timers.h"
#include "winplat/host.h"
#include "winplat/testing.h"

namespace winplat::user {
namespace {

bool fetchFrom(SourceKind kind, const MessageFilter& filter, bool remove, MSG& message) {
    MessageSource* source = messageSource(kind);
    return source && source->fetch(filter, remove, message);
}

// Without a hook, a stall is logged with the window tree and the wait ends.
bool reportStall(const char* caller) {
    if (host::Idle* hook = host::idle()) return hook->stalled(caller);
    const Refuser refuse("winplat: message loop");
    refuse.log(std::string(caller) + " would wait for ever: virtual clock, nothing queued, no timer; "
               "returning as for WM_QUIT. Windows:\n" + testing::windowTree());
    return false;
}

}  // namespace

bool fetchMessageBeforeTimers(const MessageFilter& filter, bool remove, MSG& message) {
    const bool found = postedQueue().fetch(filter, remove, message) ||
                       fetchFrom(SourceKind::Input, filter, remove, message) ||
                       postedQueue().fetchQuit(remove, message) ||
                       fetchFrom(SourceKind::Paint, filter, remove, message);
    if (found) lastMessage() = {message.time, message.pt};
    return found;
}

bool fetchMessage(const MessageFilter& filter, bool remove, MSG& message) {
    if (fetchMessageBeforeTimers(filter, remove, message)) return true;
    if (!fetchTimer(filter, remove, message)) return false;
    lastMessage() = {message.time, message.pt};
    return true;
}

// A host with input of its own (host::Waiter) delivers it, or waits for it, before the queue
// waits by itself.
bool hostWaited(const MessageFilter& filter, bool mayBlock) {
    host::Waiter* waiter = host::waiter();
    return waiter && waiter->wait(nextTimerDue(filter), mayBlock);
}

void advanceToNextTimer(const MessageFilter& filter) {
    if (hostWaited(filter, false)) return;
    host::Clock& clock = host::clock();
    if (!clock.isVirtual()) return;
    const auto due = nextTimerDue(filter);
    const uint64_t now = clock.nowMs();
    if (due && *due > now) clock.sleepMs(static_cast<uint32_t>(*due - now));
}

bool waitForMessage(const MessageFilter& filter, uint64_t seen, const char* caller) {
    // Another thread may have posted since the fetch looked.
    if (host::waiter() && postedQueue().serial() != seen) return true;
    if (hostWaited(filter, true)) return true;
    host::Clock& clock = host::clock();
    const auto due = nextTimerDue(filter);
    if (!clock.isVirtual()) {
        postedQueue().waitPast(seen, due);
        return true;
    }
    if (due) {
        advanceToNextTimer(filter);
        return true;
    }
    // Another thread may have posted since the fetch looked.
    if (postedQueue().serial() != seen) return true;
    return reportStall(caller);
}

LastMessage& lastMessage() {
    static LastMessage last;
    return last;
}

}  // namespace winplat::user
