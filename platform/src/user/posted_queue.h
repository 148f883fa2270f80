// The posted messages of the UI thread and its quit request: the one part of the queue other
// threads reach (PostMessageA, PostThreadMessageA), so it has a lock and wakes a waiting
// GetMessageA.
#ifndef WINPLAT_SRC_USER_POSTED_QUEUE_H
#define WINPLAT_SRC_USER_POSTED_QUEUE_H

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "user/message_source.h"

namespace winplat::user {

class PostedQueue final : public MessageSource {
public:
    void post(const MSG& message);
    void postQuit(int exitCode);
    // Posted messages first in, first out; messages of windows that died meanwhile are dropped.
    bool fetch(const MessageFilter& filter, bool remove, MSG& message) override;
    // WM_QUIT once PostQuitMessage was called; it passes every filter.
    bool fetchQuit(bool remove, MSG& message);

    // A count that moves with every post, so a waiter sees whether anything came since it looked.
    uint64_t serial() const;
    // Waits until the serial moves past 'seen' or the deadline (host clock ms) passes.
    void waitPast(uint64_t seen, std::optional<uint64_t> deadlineMs);
    // Wakes a waiter (a later input source has something).
    void wake();

    void dropWindow(HWND window);
    void clear();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<MSG> messages_;
    std::optional<int> quitCode_;
    uint64_t serial_ = 0;
};

PostedQueue& postedQueue();

}  // namespace winplat::user

#endif
