#include "user/timers.h"

#include <algorithm>

#include "base/call_refusal.h"
#include "user/window.h"
#include "winplat/host.h"

namespace winplat::user {
namespace {

// Ids of timers without a window, from the top of a 15-bit range: programs number their own
// window timers from small values, so the two never look alike in a log.
constexpr UINT_PTR kFirstThreadTimerId = 0x7FFF;

UINT clampElapse(UINT elapse) {
    return std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
}

}  // namespace

UINT_PTR TimerTable::freeThreadTimerId() {
    for (UINT_PTR tries = 0; tries < kFirstThreadTimerId; ++tries) {
        lastThreadTimerId_ = lastThreadTimerId_ <= 1 ? kFirstThreadTimerId : lastThreadTimerId_ - 1;
        if (!timers_.find(nullptr, lastThreadTimerId_)) return lastThreadTimerId_;
    }
    return 0;
}

UINT_PTR TimerTable::set(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    if (!window && !timers_.find(nullptr, id)) id = freeThreadTimerId();
    if (!window && !id) return 0;
    const UINT period = clampElapse(elapse);
    // A timer set again starts afresh: a whole period from now, and after those set before it.
    timers_.put({window, id, period, host::clock().nowMs() + period, procedure, nextOrder_++});
    return window && id == 0 ? 1 : id;
}

bool TimerTable::kill(HWND window, UINT_PTR id) { return timers_.erase(window, id); }

void TimerTable::killWindow(HWND window) { timers_.eraseWindow(window); }

void TimerTable::clear() { timers_.clear(); }

// A retrieval for any window, the usual loop's, takes the heap's top; one for a window and its
// descendants, or for thread timers alone, looks through every timer.
const Timer* TimerTable::earliest(const MessageFilter& filter) const {
    if (!filter.matchesNumber(message_)) return nullptr;
    if (!filter.window) return timers_.top();
    const Timer* first = nullptr;
    timers_.forEach([&](const Timer& timer) {
        if ((!first || firesBefore(timer, *first)) && filter.matchesWindow(timer.window)) first = &timer;
    });
    return first;
}

bool TimerTable::fetch(const MessageFilter& filter, bool remove, MSG& message) {
    const uint64_t now = host::clock().nowMs();
    const Timer* first = earliest(filter);
    if (!first || first->due > now) return false;
    message = MSG{};
    message.hwnd = first->window;
    message.message = message_;
    message.wParam = first->id;
    message.lParam = reinterpret_cast<LPARAM>(first->procedure);
    message.time = static_cast<DWORD>(now);
    // Taking the message starts the next period from now, so missed periods never pile up.
    if (remove) timers_.reschedule(*first, now + first->period);
    return true;
}

std::optional<uint64_t> TimerTable::nextDue(const MessageFilter& filter) const {
    const Timer* first = earliest(filter);
    return first ? std::optional<uint64_t>(first->due) : std::nullopt;
}

bool TimerTable::calls(HWND window, UINT_PTR id, TIMERPROC procedure) const {
    const Timer* timer = timers_.find(window, id);
    return timer && timer->procedure == procedure;
}

std::vector<testing::TimerInfo> TimerTable::listing() const {
    std::vector<const Timer*> ordered;
    timers_.forEach([&](const Timer& timer) { ordered.push_back(&timer); });
    std::sort(ordered.begin(), ordered.end(), [](const Timer* a, const Timer* b) { return firesBefore(*a, *b); });
    std::vector<testing::TimerInfo> list;
    for (const Timer* t : ordered) {
        list.push_back({t->window, t->id, t->period, t->due, t->procedure != nullptr, message_ != WM_TIMER});
    }
    return list;
}

TimerTable& timers() {
    static TimerTable table(WM_TIMER);
    return table;
}

TimerTable& layerTimers() {
    static TimerTable table(kLayerTimerMessage);
    return table;
}

bool fetchTimer(const MessageFilter& filter, bool remove, MSG& message) {
    const auto layers = layerTimers().nextDue(filter);
    const auto programs = timers().nextDue(filter);
    const bool layerFirst = layers && (!programs || *layers < *programs);
    TimerTable& first = layerFirst ? layerTimers() : timers();
    TimerTable& second = layerFirst ? timers() : layerTimers();
    return first.fetch(filter, remove, message) || second.fetch(filter, remove, message);
}

std::optional<uint64_t> nextTimerDue(const MessageFilter& filter) {
    const auto layers = layerTimers().nextDue(filter);
    const auto programs = timers().nextDue(filter);
    if (layers && programs) return std::min(*layers, *programs);
    return layers ? layers : programs;
}

void killWindowTimers(HWND window) {
    timers().killWindow(window);
    layerTimers().killWindow(window);
}

void clearTimers() {
    timers().clear();
    layerTimers().clear();
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    constexpr CallRefuser refuse("winplat: SetTimer", ERROR_INVALID_WINDOW_HANDLE);
    if (window ? !windowForCall(window, refuse) : !uiThreadCall(refuse)) return 0;
    const UINT_PTR set = timers().set(window, id, elapse, procedure);
    if (!set) return refuse(UINT_PTR{0}, "every timer id is taken");
    return set;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    constexpr CallRefuser refuse("winplat: KillTimer");
    if (!uiThreadCall(refuse)) return FALSE;
    if (!timers().kill(window, id)) return refuse(FALSE, "no such timer");
    return TRUE;
}
