#include "script/script_timers.h"

#include <map>
#include <utility>

#include "winplat/user.h"

namespace linework {

namespace {

// Thread timers carry no pointer of their own: their ids lead back to the owner and the timer.
std::map<UINT_PTR, std::pair<ScriptTimers*, int>>& Owners() {
    static std::map<UINT_PTR, std::pair<ScriptTimers*, int>> owners;
    return owners;
}

}  // namespace

ScriptTimers::ScriptTimers(Tick tick, SystemVariableEffects* forward) : tick_(std::move(tick)), forward_(forward) {}

ScriptTimers::~ScriptTimers() {
    Stop(1);
    Stop(2);
}

void ScriptTimers::Stop(int timer) {
    UINT_PTR& id = ids_.at(static_cast<size_t>(timer - 1));
    if (!id) return;
    KillTimer(nullptr, id);
    Owners().erase(id);
    id = 0;
}

void ScriptTimers::TimerChanged(int timer, bool enabled, uint32_t intervalMs) {
    if (timer != 1 && timer != 2) return;
    Stop(timer);
    if (!enabled) return;
    UINT_PTR id = SetTimer(nullptr, 0, intervalMs, &ScriptTimers::OnTimer);
    if (!id) return;
    ids_[static_cast<size_t>(timer - 1)] = id;
    Owners()[id] = {this, timer};
}

void CALLBACK ScriptTimers::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Owners().find(id);
    if (found == Owners().end()) return;
    auto [owner, timer] = found->second;
    if (owner->tick_) owner->tick_(timer);
}

}  // namespace linework
