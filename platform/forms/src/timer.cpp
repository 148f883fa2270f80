#include "winforms/timer.h"

#include "winforms/application.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {
constexpr winplat::Refuser refuse("winforms: Timer");
}  // namespace

Timer::Timer(Component* owner) : Component(owner) {
    if (Application::Exists()) id_ = Application::Current().RegisterTimer(*this);
}

Timer::~Timer() {
    if (!Application::Exists()) return;
    if (running_) KillTimer(Application::Current().UtilityWindow(), id_);
    Application::Current().UnregisterTimer(id_);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void Timer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (running_) {
        KillTimer(Application::Current().UtilityWindow(), id_);
        running_ = false;
    }
    Update();
}

void Timer::SetOnTimer(NotifyEvent handler) {
    onTimer_ = std::move(handler);
    Update();
}

void Timer::Update() {
    if (!Application::Exists() || !id_) return;
    HWND window = Application::Current().UtilityWindow();
    const bool wanted = enabled_ && interval_ > 0 && onTimer_ != nullptr;
    if (wanted == running_) return;
    if (!wanted) {
        KillTimer(window, id_);
        running_ = false;
        return;
    }
    if (!SetTimer(window, id_, interval_, nullptr)) {
        refuse.log("the platform refused the timer");
        return;
    }
    running_ = true;
}

void Timer::Tick() {
    if (!running_ || !onTimer_) return;
    Application::EventScope scope;
    NotifyEvent handler = onTimer_;  // the handler may replace itself
    handler(*this);
}

}  // namespace winforms
