#include "user/input_queue.h"

#include <algorithm>

#include "user/keyboard_input.h"
#include "user/mouse_routing.h"
#include "user/posted_queue.h"

namespace winplat::user {
namespace {

// An event as routed by a look: the mouse target travels on to the taking, so the window that
// answered WM_NCHITTEST is the one that gets the message.
struct Look {
    MouseTarget target;
    Routed routed;
};

Look look(const HardwareEvent& event) {
    if (isKeyboardEvent(event)) {
        return {{}, keyMessage(event)};
    }
    if (event.kind == HardwareEvent::Kind::Wheel) return {{}, wheelMessage(event)};
    MouseTarget target = mouseTarget(event.point);
    Routed routed = mouseMessage(event, target);
    return {std::move(target), routed};
}

Routed take(const HardwareEvent& event, const Look& looked) {
    if (isKeyboardEvent(event)) {
        return takeKeyEvent(event);
    }
    if (event.kind == HardwareEvent::Kind::Wheel) return looked.routed;
    return takeMouseEvent(event, looked.target);
}

bool wanted(const Routed& routed, const MessageFilter& filter) {
    return routed.deliver && filter.matches(routed.message.hwnd, routed.message.message);
}

}  // namespace

bool isKeyboardEvent(const HardwareEvent& event) {
    return event.kind == HardwareEvent::Kind::KeyDown || event.kind == HardwareEvent::Kind::KeyUp ||
           event.kind == HardwareEvent::Kind::Character;
}

bool isMouseEvent(const HardwareEvent& event) { return !isKeyboardEvent(event); }

void InputQueue::push(HardwareEvent event) {
    if (event.kind == HardwareEvent::Kind::Move && !events_.empty() &&
        events_.back().kind == HardwareEvent::Kind::Move) {
        events_.back().point = event.point;
        events_.back().time = event.time;
    } else {
        event.serial = nextSerial_++;
        events_.push_back(event);
    }
    postedQueue().wake();
}

bool InputQueue::fetch(const MessageFilter& filter, bool remove, MSG& message) {
    size_t index = 0;
    while (index < events_.size()) {
        // A copy: the messages a look sends may add input or take some out.
        const HardwareEvent event = events_[index];
        const Look looked = look(event);
        if (!remove || (looked.routed.deliver && !wanted(looked.routed, filter))) {
            if (wanted(looked.routed, filter)) {
                message = looked.routed.message;
                return true;
            }
            ++index;
            continue;
        }
        // Out of the queue before it acts: the messages taking sends may read the queue again.
        if (!erase(event.serial)) continue;
        const Routed taken = take(event, looked);
        if (wanted(taken, filter)) {
            message = taken.message;
            return true;
        }
        index = std::min(index, events_.size());
    }
    return false;
}

bool InputQueue::erase(uint64_t serial) {
    const auto found = std::find_if(events_.begin(), events_.end(), [serial](const HardwareEvent& e) { return e.serial == serial; });
    if (found == events_.end()) return false;
    events_.erase(found);
    return true;
}

void InputQueue::clear() { events_.clear(); }

InputQueue& inputQueue() {
    static InputQueue* queue = [] {
        static InputQueue instance;
        setMessageSource(SourceKind::Input, &instance);
        return &instance;
    }();
    return *queue;
}

}  // namespace winplat::user
