// A timer: OnTimer runs every Interval milliseconds while the timer is enabled, on the platform's
// window timers (so a tick waits for the messages before it, and several due ticks make one).
#ifndef WINFORMS_TIMER_H
#define WINFORMS_TIMER_H

#include "winforms/component.h"
#include "winforms/graphics.h"
#include "winforms/types.h"

namespace winforms {

class WINFORMS_API Timer : public Component {
public:
    explicit Timer(Component* owner);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // 0 stops the timer until another interval is set.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    // Setting the handler starts the timer when it is enabled; clearing it stops it.
    void SetOnTimer(NotifyEvent handler);
    // Whether a platform timer runs for it now.
    bool Running() const { return running_; }

    // A tick: runs OnTimer.
    void Tick();

private:
    void Update();

    NotifyEvent onTimer_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    UINT id_ = 0;
};

}  // namespace winforms

#endif
