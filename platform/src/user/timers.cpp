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

TimerTable::Timer* TimerTable::find(HWND window, UINT_PTR id) {
    const auto found = std::find_if(timers_.begin(), timers_.end(),
                                    [&](const Timer& t) { return t.window == window && t.id == id; });
    return found != timers_.end() ? &*found : nullptr;
}

UINT_PTR TimerTable::freeThreadTimerId() {
    for (UINT_PTR tries = 0; tries < kFirstThreadTimerId; ++tries) {
        lastThreadTimerId_ = lastThreadTimerId_ <= 1 ? kFirstThreadTimerId : lastThreadTimerId_ - 1;
        if (!find(nullptr, lastThreadTimerId_)) return lastThreadTimerId_;
    }
    return 0;
}

UINT_PTR TimerTable::set(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    if (!window && !find(nullptr, id)) id = freeThreadTimerId();
    if (!window && !id) return 0;
    const UINT period = clampElapse(elapse);
    const uint64_t due = host::clock().nowMs() + period;
    if (Timer* existing = find(window, id)) {
        *existing = {window, id, period, due, procedure, nextOrder_++};
    } else {
        timers_.push_back({window, id, period, due, procedure, nextOrder_++});
    }
    return window && id == 0 ? 1 : id;
}

bool TimerTable::kill(HWND window, UINT_PTR id) {
    const auto before = timers_.size();
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.window == window && t.id == id; }),
                  timers_.end());
    return timers_.size() != before;
}

void TimerTable::killWindow(HWND window) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.window == window; }),
                  timers_.end());
}

void TimerTable::clear() { timers_.clear(); }

bool TimerTable::fetch(const MessageFilter& filter, bool remove, MSG& message) {
    const uint64_t now = host::clock().nowMs();
    Timer* first = nullptr;
    for (Timer& timer : timers_) {
        if (timer.due > now || !filter.matches(timer.window, message_)) continue;
        if (!first || timer.due < first->due || (timer.due == first->due && timer.order < first->order)) first = &timer;
    }
    if (!first) return false;
    message = MSG{};
    message.hwnd = first->window;
    message.message = message_;
    message.wParam = first->id;
    message.lParam = reinterpret_cast<LPARAM>(first->procedure);
    message.time = static_cast<DWORD>(now);
    if (remove) first->due = now + first->period;
    return true;
}

std::optional<uint64_t> TimerTable::nextDue(const MessageFilter& filter) const {
    std::optional<uint64_t> next;
    for (const Timer& timer : timers_) {
        if (!filter.matches(timer.window, message_)) continue;
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

bool TimerTable::calls(HWND window, UINT_PTR id, TIMERPROC procedure) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) {
        return t.window == window && t.id == id && t.procedure == procedure;
    });
}

std::vector<testing::TimerInfo> TimerTable::listing() const {
    std::vector<const Timer*> ordered;
    for (const Timer& timer : timers_) ordered.push_back(&timer);
    std::sort(ordered.begin(), ordered.end(), [](const Timer* a, const Timer* b) {
        return a->due != b->due ? a->due < b->due : a->order < b->order;
    });
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
