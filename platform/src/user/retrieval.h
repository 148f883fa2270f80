// Taking messages out of the queue: each source in its order, then waiting (a host with input of
// its own waits its way first; else a real clock sleeps until a post or the next timer, a virtual
// one moves to the next timer, or stalls).
#ifndef WINPLAT_SRC_USER_RETRIEVAL_H
#define WINPLAT_SRC_USER_RETRIEVAL_H

#include "user/message_source.h"

namespace winplat::user {

// The next message the filter takes from posted, input, quit, paint and timer in that order.
bool fetchMessage(const MessageFilter& filter, bool remove, MSG& message);
// The same without the timers: every other kind of message that is ready.
bool fetchMessageBeforeTimers(const MessageFilter& filter, bool remove, MSG& message);

// Waits for something that may answer the filter; false when nothing ever can (a stall under the
// virtual clock that the idle hook did not resolve). 'seen' is postedQueue().serial() from
// before the fetch that found nothing.
bool waitForMessage(const MessageFilter& filter, uint64_t seen, const char* caller);

// Under the virtual clock, moves time to the next timer the filter takes, if any is still to come.
void advanceToNextTimer(const MessageFilter& filter);

// The time and cursor position of the message last retrieved.
struct LastMessage {
    DWORD time = 0;
    POINT pt{};
};
LastMessage& lastMessage();

}  // namespace winplat::user

#endif
