#include "user/posted_queue.h"

#include <algorithm>
#include <chrono>

#include "user/window.h"
#include "winplat/host.h"

namespace winplat::user {

void PostedQueue::post(const MSG& message) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(message);
        ++serial_;
    }
    changed_.notify_all();
    // A host waiting in its own event queue learns of the post too.
    if (host::Waiter* waiter = host::waiter()) waiter->wake();
}

void PostedQueue::postQuit(int exitCode) {
    {
        std::lock_guard lock(mutex_);
        quitCode_ = exitCode;
        ++serial_;
    }
    changed_.notify_all();
    if (host::Waiter* waiter = host::waiter()) waiter->wake();
}

bool PostedQueue::fetch(const MessageFilter& filter, bool remove, MSG& message) {
    std::lock_guard lock(mutex_);
    for (auto it = messages_.begin(); it != messages_.end();) {
        if (it->hwnd && !findWindow(it->hwnd)) {
            it = messages_.erase(it);  // its window is gone: the message goes with it
            continue;
        }
        if (filter.matches(it->hwnd, it->message)) {
            message = *it;
            if (remove) messages_.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

bool PostedQueue::fetchQuit(bool remove, MSG& message) {
    std::lock_guard lock(mutex_);
    if (!quitCode_) return false;
    message = MSG{};
    message.message = WM_QUIT;
    message.wParam = static_cast<WPARAM>(*quitCode_);
    if (remove) quitCode_.reset();
    return true;
}

uint64_t PostedQueue::serial() const {
    std::lock_guard lock(mutex_);
    return serial_;
}

void PostedQueue::waitPast(uint64_t seen, std::optional<uint64_t> deadlineMs) {
    std::unique_lock lock(mutex_);
    const auto moved = [&] { return serial_ != seen; };
    if (!deadlineMs) {
        changed_.wait(lock, moved);
        return;
    }
    const uint64_t now = host::clock().nowMs();
    if (*deadlineMs <= now) return;
    changed_.wait_for(lock, std::chrono::milliseconds(*deadlineMs - now), moved);
}

void PostedQueue::wake() {
    {
        std::lock_guard lock(mutex_);
        ++serial_;
    }
    changed_.notify_all();
}

void PostedQueue::dropWindow(HWND window) {
    std::lock_guard lock(mutex_);
    messages_.erase(std::remove_if(messages_.begin(), messages_.end(), [window](const MSG& m) { return m.hwnd == window; }),
                    messages_.end());
}

void PostedQueue::clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    quitCode_.reset();
}

PostedQueue& postedQueue() {
    // Never destroyed: other threads may still post while the process exits.
    static auto* queue = new PostedQueue;
    return *queue;
}

}  // namespace winplat::user
