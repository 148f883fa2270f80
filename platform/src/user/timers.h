// Timers on the host clock. A due timer is not a queued message: WM_TIMER is made when a
// retrieval finds nothing else, so a timer has at most one WM_TIMER pending however late the
// program is, and taking it out starts the next period.
#ifndef WINPLAT_SRC_USER_TIMERS_H
#define WINPLAT_SRC_USER_TIMERS_H

#include <cstdint>
#include <optional>
#include <vector>

#include "user/message_source.h"
#include "winplat/testing.h"

namespace winplat::user {

class TimerTable final : public MessageSource {
public:
    // A window timer replaces the window's timer of the same id; a timer without a window gets a
    // new id unless 'id' names one of those already. Returns the id, 0 when every id is taken.
    UINT_PTR set(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
    bool kill(HWND window, UINT_PTR id);
    void killWindow(HWND window);
    void clear();

    // The earliest due timer the filter takes (earliest set first among equals), as WM_TIMER.
    bool fetch(const MessageFilter& filter, bool remove, MSG& message) override;
    // When the next timer the filter takes is due (host clock ms); none without such a timer.
    std::optional<uint64_t> nextDue(const MessageFilter& filter) const;
    // Whether a live timer calls this procedure: DispatchMessageA calls only those.
    bool calls(HWND window, UINT_PTR id, TIMERPROC procedure) const;

    size_t count() const { return timers_.size(); }
    // Every timer, in due order (earliest set first among equals).
    std::vector<testing::TimerInfo> listing() const;

private:
    struct Timer {
        HWND window;
        UINT_PTR id;
        UINT period;
        uint64_t due;
        TIMERPROC procedure;
        uint64_t order;  // when it was set: the tie-breaker between timers due together
    };
    Timer* find(HWND window, UINT_PTR id);
    UINT_PTR freeThreadTimerId();

    std::vector<Timer> timers_;
    uint64_t nextOrder_ = 0;
    UINT_PTR lastThreadTimerId_ = 0;
};

TimerTable& timers();

}  // namespace winplat::user

#endif
