// Timers tick every interval while enabled and set up with a handler; interval 0 or disabled
// stops them.
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

TEST_F(FormsTest, ATimerTicksOncePerIntervalWhileEnabled) {
    Form& form = plainForm();
    Timer& timer = form.Add<Timer>();
    int ticks = 0;
    timer.SetInterval(100);
    timer.SetOnTimer([&](Component&) { ++ticks; });
    EXPECT_TRUE(timer.Running());
    h.advance(99);
    EXPECT_EQ(ticks, 0) << "not before its interval";
    h.advance(1);
    EXPECT_EQ(ticks, 1);
    h.advance(250);
    EXPECT_EQ(ticks, 3);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    h.advance(500);
    EXPECT_EQ(ticks, 3);
    timer.SetEnabled(true);
    h.advance(100);
    EXPECT_EQ(ticks, 4);
}

TEST_F(FormsTest, AZeroIntervalOrNoHandlerKeepsATimerStill) {
    Form& form = plainForm();
    Timer& timer = form.Add<Timer>();
    int ticks = 0;
    timer.SetInterval(0);
    timer.SetOnTimer([&](Component&) { ++ticks; });
    EXPECT_FALSE(timer.Running());
    h.advance(1000);
    EXPECT_EQ(ticks, 0);
    timer.SetInterval(1);
    EXPECT_TRUE(timer.Running());
    h.advance(1);
    EXPECT_EQ(ticks, 1);
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Running());
}

TEST_F(FormsTest, ANewIntervalStartsTheCountAfresh) {
    Form& form = plainForm();
    Timer& timer = form.Add<Timer>();
    int ticks = 0;
    timer.SetInterval(100);
    timer.SetOnTimer([&](Component&) { ++ticks; });
    h.advance(90);
    timer.SetInterval(50);
    h.advance(49);
    EXPECT_EQ(ticks, 0);
    h.advance(1);
    EXPECT_EQ(ticks, 1);
}

TEST_F(FormsTest, ATimerThatStopsItselfTicksOnce) {
    Form& form = plainForm();
    Timer& timer = form.Add<Timer>();
    int ticks = 0;
    timer.SetInterval(10);
    timer.SetOnTimer([&](Component& sender) {
        ++ticks;
        static_cast<Timer&>(sender).SetEnabled(false);
    });
    h.advance(100);
    EXPECT_EQ(ticks, 1);
}

TEST_F(FormsTest, AFreedTimerStopsAndForgetsItsPlatformTimer) {
    Form& form = plainForm();
    Timer& timer = form.Add<Timer>();
    int ticks = 0;
    timer.SetInterval(10);
    timer.SetOnTimer([&](Component&) { ++ticks; });
    const size_t running = h.timers().size();
    timer.Free();
    EXPECT_EQ(h.timers().size(), running - 1);
    h.advance(100);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
