// The input queue: hardware events in the order they happened, served to the message loop as
// the input source (after posted messages, before paint and timers). Taking an event routes it;
// looking without removing routes it too but changes nothing. Pointer moves coalesce: a move
// queued right after another replaces it, so a loop that falls behind sees only the latest
// position.
#ifndef WINPLAT_SRC_USER_INPUT_QUEUE_H
#define WINPLAT_SRC_USER_INPUT_QUEUE_H

#include <deque>

#include "user/hardware_input.h"
#include "user/message_source.h"

namespace winplat::user {

class InputQueue final : public MessageSource {
public:
    void push(HardwareEvent event);
    bool fetch(const MessageFilter& filter, bool remove, MSG& message) override;
    void clear();
    size_t size() const { return events_.size(); }

private:
    bool erase(uint64_t serial);

    std::deque<HardwareEvent> events_;
    uint64_t nextSerial_ = 1;
};

// The queue, installed as the input source on first use.
InputQueue& inputQueue();

}  // namespace winplat::user

#endif
