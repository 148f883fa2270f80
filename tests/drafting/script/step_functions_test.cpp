// The functions that ask the user through a command step and wait for the answer: getd, getl
// and fptp, answered by a scripted stand-in of the main form, and the wait itself on the
// platform's message loop under the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "drawing/entity_views.h"
#include "script/script_functions.h"
#include "support/entity_builders.h"
#include "support/script_fixture.h"
#include "winplat_harness/harness.h"

namespace linework::test {
namespace {

// The main form's command steps as a test answers them: a step waits for 'waits' wake-ups, then
// gives the answer set here.
struct StepServices : ScriptServices {
    int32_t depth = 0;
    bool accept = true;   // whether a step can be begun
    int waits = 3;        // wake-ups until the step ends
    bool quitting = false;
    std::function<void()> onWake;  // what a message does while the step waits
    PointStepAnswer point;
    LinePickAnswer line;

    std::vector<PointStepRequest> requests;
    std::vector<std::pair<int32_t, std::string>> picks;  // sound and prompt
    int wakeups = 0, cancels = 0, remaining = 0;

    int32_t CommandStepDepth() override { return depth; }
    bool BeginPointStep(const PointStepRequest& request) override {
        requests.push_back(request);
        remaining = waits;
        return accept;
    }
    bool BeginLinePick(int32_t sound, std::string_view prompt) override {
        picks.emplace_back(sound, std::string(prompt));
        remaining = waits;
        return accept;
    }
    bool StepWaiting() override { return remaining > 0; }
    bool WaitForMessages() override {
        ++wakeups;
        --remaining;
        if (onWake) onWake();
        return !quitting;
    }
    PointStepAnswer TakePointAnswer() override { return point; }
    LinePickAnswer TakeLinePick() override { return line; }
    void CancelStep() override { ++cancels; }
};

class StepFunctions : public ScriptFixture {
protected:
    void SetUp() override {
        ScriptFixture::SetUp();
        functions_ = std::make_unique<ScriptFunctions>(*engine_, services_);
    }
    std::vector<double> Slots(size_t first, size_t count) {
        auto& slots = engine_->storedValues.slots;
        return {slots.begin() + static_cast<ptrdiff_t>(first), slots.begin() + static_cast<ptrdiff_t>(first + count)};
    }

    StepServices services_;
    std::unique_ptr<ScriptFunctions> functions_;
};

TEST_F(StepFunctions, GetdAsksForAPointAndWaitsForIt) {
    services_.point = {true, {12.5, -3}, 0};
    ASSERT_EQ(Run({"A = getd 0 X \"Where?\"", "stop"}), "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Var('X'), 12.5);
    EXPECT_EQ(Var('Y'), -3);
    ASSERT_EQ(services_.requests.size(), 1u);
    EXPECT_FALSE(services_.requests[0].distance);
    EXPECT_EQ(services_.requests[0].prompt1, "Where?");
    EXPECT_EQ(services_.requests[0].prompt2, "Where?");
    EXPECT_EQ(services_.wakeups, 3) << "one wake-up per message until the step ended";
    EXPECT_EQ(services_.cancels, 0);
}

TEST_F(StepFunctions, GetdAsksForADistanceWithTwoPrompts) {
    services_.point = {true, {1, 1}, 7.25};
    ASSERT_EQ(Run({"E = -1; A = getd 1 D \"From?\" \"To?\"", "stop"}), "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Var('D'), 7.25);
    EXPECT_EQ(Var('E'), -1) << "a distance has no second value";
    ASSERT_EQ(services_.requests.size(), 1u);
    EXPECT_TRUE(services_.requests[0].distance);
    EXPECT_EQ(services_.requests[0].prompt1, "From?");
    EXPECT_EQ(services_.requests[0].prompt2, "To?");
}

// The point's y goes to the target after the first: the next letter (Z then a, none after z) or
// the next element.
TEST_F(StepFunctions, GetdPutsTheYInTheTargetAfterTheFirst) {
    services_.point = {true, {4, 5}, 0};
    ASSERT_EQ(Run({"A = getd 0 Z \"p\"; B = getd 0 z \"p\"; C = getd 0 5# \"p\"; D = getd 0 17 \"p\"", "stop"}), "");
    EXPECT_EQ(Var('Z'), 4);
    EXPECT_EQ(Var('a'), 5);
    EXPECT_EQ(Var('z'), 4);
    EXPECT_EQ(engine_->variables.numbers[5], 4);
    EXPECT_EQ(engine_->variables.numbers[6], 5);
    EXPECT_EQ(Var('D'), 1) << "a word that is no target takes nothing, the answer still counts";
    EXPECT_EQ(Run({"A = -1; A = getd 0 998# \"p\"", "stop"}), "");
    EXPECT_EQ(engine_->variables.numbers[999], 5);
    EXPECT_EQ(Run({"A = -1; A = getd 0 999# \"p\"", "stop"}), "1000# out of range\r\non LKP line 1:2");
    EXPECT_EQ(Var('A'), -1);
}

// Nothing given, no step to be had, the run stopped or the program ending: 0, targets kept.
TEST_F(StepFunctions, GetdWithoutAnAnswerGivesZeroAndKeepsTheTargets) {
    struct Case {
        const char* what;
        bool given, accept, stop, quit;
        int wakeups, cancels;
    };
    const std::vector<Case> cases = {
        {"cancelled by the user", false, true, false, false, 3, 0},
        {"no step could be begun", true, false, false, false, 0, 0},
        {"the run asked to stop", true, true, true, false, 1, 1},
        {"the program ending", true, true, false, true, 1, 1},
    };
    for (const Case& c : cases) {
        services_.wakeups = services_.cancels = 0;
        services_.onWake = nullptr;
        services_.point = {c.given, {4, 5}, 0};
        services_.accept = c.accept;
        services_.quitting = c.quit;
        if (c.stop) services_.onWake = [this] { engine_->RequestStop(); };
        EXPECT_EQ(Run({"X = -1; Y = -1; A = getd 0 X \"p\"; B = 1", "B = 2", "stop"}), "") << c.what;
        EXPECT_EQ(Var('A'), 0) << c.what;
        EXPECT_EQ(Var('X'), -1) << c.what;
        EXPECT_EQ(Var('Y'), -1) << c.what;
        EXPECT_EQ(services_.wakeups, c.wakeups) << c.what;
        EXPECT_EQ(services_.cancels, c.cancels) << c.what;
        EXPECT_EQ(Var('B'), c.stop ? 1 : 2) << c.what << ": a stop ends the run after the line";
    }
}

// getl takes a polyline or a dimension, or an insert whose picked part is one: the segment's
// ends to slots 8..11, the entity current and its selected flag flipped.
TEST_F(StepFunctions, GetlTakesLinesAndDimensions) {
    Drawing& drawing = engine_->drawing;
    const EntityHandle line = PushEntity(drawing, Polyline({{0, 0}, {3, 4}, {6, 0}}));
    const EntityHandle dimension = PushEntity(drawing, MakeDimension(std::array<Point, 5>{}, 1, 0, "1"));
    const EntityHandle text = PushEntity(drawing, Text("T"));
    const BlockHandle block = AddBlockDef(drawing, "B", {});
    const EntityHandle insert = PushEntity(drawing, Insert(block));
    const EntityHandle freed = PushEntity(drawing, Polyline({{0, 0}, {1, 1}}));
    DeleteFirstEntity(drawing);
    struct Case {
        const char* what;
        EntityHandle entity;
        EntityKind part;
        bool taken;
    };
    const std::vector<Case> cases = {
        {"a polyline", line, EntityKind::Polyline, true},
        {"a dimension", dimension, EntityKind::Dimension, true},
        {"an insert's line", insert, EntityKind::Polyline, true},
        {"an insert's dimension", insert, EntityKind::Dimension, true},
        {"an insert's text", insert, EntityKind::Text, false},
        {"a text", text, EntityKind::Text, false},
        {"a text called a line", text, EntityKind::Polyline, false},
        {"nothing", 0, EntityKind::Polyline, false},
        {"a freed entity", freed, EntityKind::Polyline, false},
    };
    for (const Case& c : cases) {
        std::fill(engine_->storedValues.slots.begin(), engine_->storedValues.slots.end(), -1);
        drawing.current = 0;
        services_.line = {c.entity, c.part, {3, 4}, {6, 0}};
        const uint8_t flagsBefore = c.entity && drawing.entities.Holds(c.entity) ? drawing[c.entity].KindAndFlags() : 0;
        ASSERT_EQ(Run({"A = getl 32 \"Pick \" \"a line\"", "stop"}), "") << c.what;
        EXPECT_EQ(Var('A'), c.taken ? 1 : 0) << c.what;
        EXPECT_EQ(Slots(8, 4), c.taken ? (std::vector<double>{3, 4, 6, 0}) : std::vector<double>(4, -1)) << c.what;
        EXPECT_EQ(Slots(7, 1), std::vector<double>{-1}) << c.what;
        EXPECT_EQ(Slots(12, 1), std::vector<double>{-1}) << c.what;
        EXPECT_EQ(drawing.current, c.taken ? c.entity : 0) << c.what;
        if (c.entity && drawing.entities.Holds(c.entity)) {
            EXPECT_EQ(drawing[c.entity].KindAndFlags() ^ flagsBefore, c.taken ? entity_flag::kSelected : 0) << c.what;
        }
    }
    ASSERT_EQ(services_.picks.size(), cases.size());
    EXPECT_EQ(services_.picks[0], (std::pair<int32_t, std::string>{32, "Pick a line"}));
}

TEST_F(StepFunctions, GetlDoesNothingWhileAPickIsPending) {
    services_.accept = false;
    services_.line = {PushEntity(engine_->drawing, Polyline({{0, 0}, {1, 1}})), EntityKind::Polyline, {0, 0}, {1, 1}};
    ASSERT_EQ(Run({"A = -1; A = getl 0 \"p\"", "stop"}), "");
    EXPECT_EQ(Var('A'), 0);
    EXPECT_EQ(services_.wakeups, 0);
    EXPECT_EQ(engine_->drawing.current, 0u);
}

TEST_F(StepFunctions, FptpIsTheDepthOfTheCommandSteps) {
    for (int32_t depth : {0, 1, 6}) {
        services_.depth = depth;
        ASSERT_EQ(Run({"A = -1; A = fptp", "stop"}), "");
        EXPECT_EQ(Var('A'), depth);
    }
}

// A word that cannot be read stops the run before any step is begun.
TEST_F(StepFunctions, BadWordsStopTheRunBeforeAnyStep) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"A = getd 0 X 1000$", "1000$ out of range"},
        {"A = getd 1 X \"from\" -1$", "-1$ out of range"},
        {"A = getd 1000# X \"p\"", "1000# out of range"},
        {"A = getl 0 \"p\" 1000$", "1000$ out of range"},
        {"A = getl 1e400 \"p\"", "Math error"},
        {"A = fptp 1000#", "1000# out of range"},
    };
    for (const auto& [statement, message] : cases)
        EXPECT_EQ(Run({"B = 1", statement, "stop"}), message + "\r\non LKP line 2:1") << statement;
    EXPECT_TRUE(services_.requests.empty());
    EXPECT_TRUE(services_.picks.empty());
}

// The real wait, on the platform's message loop, over a second of virtual idle with a 100 ms
// timer as the only event. The host below stands in for the screen: it is asked to wait either
// blocking (the loop sleeps until the deadline, which moves the virtual clock there) or just to
// look (a poll, which moves nothing). A waiting script must sleep between the ticks: one blocking
// wait per tick and no more looks than that, where a loop that polls would look and look again
// until the poll limit.
int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

struct SleepCountingHost : winplat::host::Waiter {
    int blocking = 0, looks = 0;
    bool wait(std::optional<uint64_t> deadlineMs, bool mayBlock) override {
        if (!mayBlock) {
            ++looks;
            return true;
        }
        ++blocking;
        winplat::host::Clock& clock = winplat::host::clock();
        if (!deadlineMs) return false;
        if (*deadlineMs > clock.nowMs()) clock.sleepMs(static_cast<uint32_t>(*deadlineMs - clock.nowMs()));
        return true;
    }
};

class StepWait : public ScriptFixture {
protected:
    winplat::test::Harness harness_;
};

TEST_F(StepWait, AWaitingScriptSleepsUntilTheNextMessage) {
    struct IdleServices : ScriptServices {
        winplat::test::Harness* harness = nullptr;
        uint64_t until = 0;
        int wakeups = 0, polls = 0;
        bool BeginPointStep(const PointStepRequest&) override {
            until = harness->now() + 1000;
            return true;
        }
        bool StepWaiting() override { return ++polls < 10000 && harness->now() < until; }
        bool WaitForMessages() override {
            ++wakeups;
            return ScriptServices::WaitForMessages();
        }
        PointStepAnswer TakePointAnswer() override { return {true, {1, 2}, 0}; }
    } services;
    services.harness = &harness_;
    ScriptFunctions functions(*engine_, services);
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CountTick);
    ASSERT_NE(timer, 0u);
    SleepCountingHost host;
    winplat::host::Waiter* previous = winplat::host::setWaiter(&host);
    const uint64_t start = harness_.now();
    const std::string error = Run({"A = getd 0 X \"p\"", "stop"});
    winplat::host::setWaiter(previous);
    KillTimer(nullptr, timer);
    EXPECT_EQ(error, "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_GE(harness_.now(), start + 1000);
    EXPECT_GE(g_ticks, 9) << "a tick every 100 ms of the second";
    EXPECT_LE(g_ticks, 10);
    EXPECT_LE(services.wakeups, g_ticks + 1) << "no more wake-ups than events";
    EXPECT_LE(host.blocking, g_ticks + 1) << "one sleep per event";
    EXPECT_LE(host.looks, g_ticks + 1) << "looks only after an event";
    EXPECT_LT(services.polls, 10000);
}

}  // namespace
}  // namespace linework::test
