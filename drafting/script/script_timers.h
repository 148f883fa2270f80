// Timer1 and Timer2 of the main form as the system variables drive them (integers 325 and 373):
// platform timers that are on exactly while their interval is positive. Timer1's tick runs the
// TIMER hook, Timer2's blinks; what a tick does is the owner's callback. These are the effects of
// the system variables that need no window; the others reach the owner through 'forward'.
#ifndef LINEWORK_SCRIPT_SCRIPT_TIMERS_H
#define LINEWORK_SCRIPT_SCRIPT_TIMERS_H

#include <array>
#include <cstdint>
#include <functional>

#include "script/system_variables.h"
#include "winplat/types.h"

namespace linework {

class ScriptTimers final : public SystemVariableEffects {
public:
    using Tick = std::function<void(int timer)>;

    explicit ScriptTimers(Tick tick, SystemVariableEffects* forward = nullptr);
    ~ScriptTimers() override;
    ScriptTimers(const ScriptTimers&) = delete;
    ScriptTimers& operator=(const ScriptTimers&) = delete;

    void TimerChanged(int timer, bool enabled, uint32_t intervalMs) override;
    void Changed(SystemVariableEffect effect) override {
        if (forward_) forward_->Changed(effect);
    }
    bool Enabled(int timer) const { return ids_.at(static_cast<size_t>(timer - 1)) != 0; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Stop(int timer);

    Tick tick_;
    SystemVariableEffects* forward_;
    std::array<UINT_PTR, 2> ids_{};
};

}  // namespace linework

#endif
