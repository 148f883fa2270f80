#include "script/script_timers.h"

#include <gtest/gtest.h>

#include "support/script_fixture.h"
#include "winplat_harness/harness.h"

namespace linework::test {
namespace {

// Timer1 runs the TIMER hook at the interval integer 325 gives it, on the virtual clock; 0 stops
// it, and a negative interval does too.
class ScriptTimersTest : public ScriptFixture {
protected:
    winplat::test::Harness harness;
};

TEST_F(ScriptTimersTest, TheTimerHookRunsAtTheIntervalOfInteger325) {
    WriteLines("TIMER.LKP", {"T += 1; stop"});
    ScriptEngine* engine = nullptr;  // the engine below, which the timers' effects belong to
    int ticks = 0;
    ScriptTimers timers([&engine, &ticks](int timer) {
        ++ticks;
        if (timer == 1) {
            EXPECT_TRUE(engine->RunHookScript("TIMER"));
        }
    });
    ScriptEngine timed(host_, timers, winplat::files::toWindows(folder_) + "\\");
    engine = &timed;
    constexpr int32_t kTimer1 = SystemVariableImage::kFirstIntegerNumber + sysvar::kTimer1;
    timed.systemVariables.Write(kTimer1, 1000);
    EXPECT_TRUE(timers.Enabled(1));
    harness.advance(3500);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(timed.variables.Letter('T'), 3);
    timed.systemVariables.Write(kTimer1, 0);
    EXPECT_FALSE(timers.Enabled(1));
    harness.advance(3000);
    EXPECT_EQ(timed.variables.Letter('T'), 3);
    timed.systemVariables.Write(kTimer1, 500);
    harness.advance(1000);
    EXPECT_EQ(timed.variables.Letter('T'), 5);
    timed.systemVariables.Write(kTimer1, -5);
    EXPECT_FALSE(timers.Enabled(1));
}

TEST_F(ScriptTimersTest, AHookWaitsWhileAScriptRuns) {
    WriteLines("TIMER.LKP", {"T += 1; stop"});
    struct Reentry : RecordingHost {
        ScriptEngine* engine = nullptr;
        bool ran = true;
        bool PumpMessages() override {
            ran = engine->RunHookScript("TIMER");
            return false;
        }
    } host;
    SystemVariableEffects effects;
    ScriptEngine engine(host, effects, winplat::files::toWindows(folder_) + "\\");
    host.engine = &engine;
    engine.store.SetLine(1, "stop");
    engine.RunProgram();
    EXPECT_FALSE(host.ran);
    EXPECT_EQ(engine.variables.Letter('T'), 0);
}

}  // namespace
}  // namespace linework::test
