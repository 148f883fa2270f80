// Timers on the host clock. A due timer is not a queued message: its message is made when a
// retrieval finds nothing else, so a timer has at most one pending however late the program is,
// and taking it out starts the next period.
//
// The program's timers and the layer's own (the caret's blink, the repeat of a held scroll
// arrow, the delay before a sub-menu opens) are two tables: a program numbers its timers as it
// likes, so a layer timer in its table would be replaced, killed or taken by a program timer of
// the same window and id. The layer's come as kLayerTimerMessage, which DispatchMessageA handles
// itself without the window's procedure.
#ifndef WINPLAT_SRC_USER_TIMERS_H
#define WINPLAT_SRC_USER_TIMERS_H

#include <cstdint>
#include <optional>
#include <vector>

#include "user/message_source.h"
#include "user/timer_heap.h"
#include "winplat/testing.h"

namespace winplat::user {

// The message of the layer's own timers (the number classic systems give their internal timer).
constexpr UINT kLayerTimerMessage = 0x0118;

// The layer's timers of one window, an id each.
enum LayerTimerId : UINT_PTR { kCaretBlinkTimer = 1, kScrollRepeatTimer = 2, kMenuShowTimer = 3 };

class TimerTable final : public MessageSource {
public:
    explicit TimerTable(UINT message) : message_(message) {}

    // A window timer replaces the window's timer of the same id; a timer without a window gets a
    // new id unless 'id' names one of those already. Returns the id, 0 when every id is taken.
    UINT_PTR set(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
    bool kill(HWND window, UINT_PTR id);
    void killWindow(HWND window);
    void clear();

    // The earliest due timer the filter takes (earliest set first among equals), as the table's
    // message.
    bool fetch(const MessageFilter& filter, bool remove, MSG& message) override;
    // When the next timer the filter takes is due (host clock ms); none without such a timer.
    std::optional<uint64_t> nextDue(const MessageFilter& filter) const;
    // Whether a live timer calls this procedure: DispatchMessageA calls only those.
    bool calls(HWND window, UINT_PTR id, TIMERPROC procedure) const;

    size_t count() const { return timers_.size(); }
    // Every timer, in due order (earliest set first among equals).
    std::vector<testing::TimerInfo> listing() const;

private:
    const Timer* earliest(const MessageFilter& filter) const;
    UINT_PTR freeThreadTimerId();

    UINT message_;
    TimerHeap timers_;
    uint64_t nextOrder_ = 0;
    UINT_PTR lastThreadTimerId_ = 0;
};

// The program's timers (SetTimer, WM_TIMER) and the layer's own.
TimerTable& timers();
TimerTable& layerTimers();

// Both tables together, as retrieval and the window's end see them: the earlier due timer first,
// the program's among equals.
bool fetchTimer(const MessageFilter& filter, bool remove, MSG& message);
std::optional<uint64_t> nextTimerDue(const MessageFilter& filter);
void killWindowTimers(HWND window);
void clearTimers();

}  // namespace winplat::user

#endif
