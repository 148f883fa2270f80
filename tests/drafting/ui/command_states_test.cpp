// The command-state stack: pushes and pops with their prompts, the one-shot view commands, the
// full stack, the idle hook, and the bottom mark.
#include <filesystem>
#include <fstream>

#include "script/script_engine.h"
#include "support/temp_folder.h"
#include "ui/command_states_fixture.h"

namespace linework::test {
namespace {

using namespace command_kind;

TEST(CommandStackTest, SixRecordsFitAndASeventhIsRefused) {
    CommandStack stack;
    for (int n = 1; n <= CommandStack::kCapacity; ++n) {
        EXPECT_FALSE(stack.Full());
        ASSERT_EQ(stack.Raise(), PushRefusal::None) << n;
        stack.Top().option6 = static_cast<uint8_t>(n);
        EXPECT_EQ(stack.Depth(), n);
    }
    EXPECT_TRUE(stack.Full());
    EXPECT_EQ(stack.Raise(), PushRefusal::StackFull);
    EXPECT_EQ(stack.Depth(), 6);
    EXPECT_EQ(stack.Top().option6, 6);
    EXPECT_FALSE(PushRefusalText(PushRefusal::StackFull).empty());
    for (int n = 0; n < 8; ++n) stack.Lower();
    EXPECT_EQ(stack.Depth(), 0) << "never below idle";
    stack.SetDepth(9);
    EXPECT_EQ(stack.Depth(), 6);
    EXPECT_EQ(stack.At(6).option6, 6);
    EXPECT_EQ(&stack.At(7), &stack.At(6)) << "no entry beyond the sixth is ever named";
}

TEST(CommandStackTest, ActiveMeansAboveTheBottomMark) {
    CommandStack stack;
    EXPECT_FALSE(stack.Active());
    stack.Raise();
    EXPECT_TRUE(stack.Active());
    stack.SetBottomMark(1);
    EXPECT_FALSE(stack.Active());
    stack.Raise();
    EXPECT_TRUE(stack.Active());
}

TEST_F(CommandStatesTest, PanDuringAMoveReturnsToTheMovesPrompt) {
    ASSERT_EQ(Push(kMove, 2, "move", 7), PushResult::Pushed);
    states.AcceptPoint({1, 1});
    EXPECT_EQ(surface.commandPrompt, "move 2");
    surface.commandLine = "5,5";  // typed half-way when pan is pressed
    ASSERT_EQ(Push(kPan, 2, "pan", 8, 9), PushResult::Pushed);
    EXPECT_EQ(Depth(), 2);
    EXPECT_TRUE(surface.ButtonDown(step_button::kPan));
    EXPECT_EQ(surface.commandPrompt, "pan 1");
    states.AcceptPoint({10, 10});
    EXPECT_EQ(surface.commandPrompt, "pan 2");
    states.AcceptPoint({4, 6});
    ASSERT_EQ(view.changes.size(), 1u);
    EXPECT_EQ(view.view.originX, 6);
    EXPECT_EQ(view.view.originY, 4);
    EXPECT_EQ(Depth(), 1);
    EXPECT_EQ(surface.commandPrompt, "move 2") << "the move waits for its second point again";
    EXPECT_EQ(surface.commandLine, "5,5") << "what was typed for the move comes back";
    EXPECT_FALSE(surface.ButtonDown(step_button::kPan));
    EXPECT_FALSE(states.OneShotWaiting(kPan));
    EXPECT_TRUE(edits.calls.empty()) << "the pan's points never reach the move";
    states.AcceptPoint({3, 1});
    ASSERT_EQ(edits.calls, std::vector<std::string>{"move"});
    EXPECT_EQ(edits.dx, 2);
    EXPECT_EQ(edits.dy, 0);
}

TEST_F(CommandStatesTest, ASecondViewCommandWhileOneWaitsIsIgnored) {
    ASSERT_EQ(Push(kZoomWindow, 2, "zoom"), PushResult::Pushed);
    EXPECT_EQ(Push(kZoomWindow, 2, "zoom again"), PushResult::Ignored);
    EXPECT_EQ(Depth(), 1);
    EXPECT_EQ(surface.commandPrompt, "zoom 1");
    // Another view command is no repeat: it stacks.
    EXPECT_EQ(Push(kCentre, 1, "centre"), PushResult::Pushed);
    EXPECT_EQ(Depth(), 2);
    EXPECT_EQ(Push(kCentre, 1, "centre again"), PushResult::Ignored);
    states.AcceptPoint({2, 3});
    ASSERT_EQ(view.centred.size(), 1u);
    EXPECT_EQ(view.centred[0], (Point{2, 3}));
    EXPECT_EQ(Depth(), 1);
    // Once the centre has ended it may come again.
    EXPECT_EQ(Push(kCentre, 1, "centre"), PushResult::Pushed);
}

TEST_F(CommandStatesTest, TheSeventhStepIsRefusedAndTheSixthStays) {
    surface.scriptRunning = true;  // a script stacks its commands
    for (int n = 1; n <= CommandStack::kCapacity; ++n) {
        ASSERT_EQ(Push(kMove, 2, "step " + std::to_string(n)), PushResult::Pushed) << n;
    }
    EXPECT_EQ(Depth(), 6);
    EXPECT_TRUE(surface.refusals.empty());
    surface.commandLine = "typed meanwhile";
    EXPECT_EQ(Push(kRotate, 2, "seventh"), PushResult::Refused);
    EXPECT_EQ(states.Stack().Top().set1.defaultText, "") << "nothing is saved for a step that does not come";
    EXPECT_EQ(Depth(), 6);
    ASSERT_EQ(surface.refusals.size(), 1u);
    EXPECT_NE(surface.refusals[0].find("six command steps"), std::string::npos) << surface.refusals[0];
    EXPECT_EQ(states.Stack().Top().set1.prompt, "step 6 1") << "the top record is not overwritten";
    EXPECT_EQ(states.Stack().Top().kind, kMove);
    // A view command finds no place either, and is not left marked as waiting.
    EXPECT_EQ(Push(kZoomWindow, 2, "zoom"), PushResult::Refused);
    EXPECT_FALSE(states.OneShotWaiting(kZoomWindow));
    EXPECT_FALSE(surface.ButtonDown(step_button::kZoomWindow));
    surface.scriptRunning = false;
    states.PopCommandState();
    EXPECT_EQ(Depth(), 5);
    EXPECT_EQ(Push(kZoomWindow, 2, "zoom"), PushResult::Pushed);
    EXPECT_EQ(Depth(), 6);
}

TEST_F(CommandStatesTest, WithoutAScriptANewCommandReplacesTheWaitingOnes) {
    Push(kMove, 2, "move");
    Push(kPan, 2, "pan");
    EXPECT_EQ(Depth(), 2);
    EXPECT_EQ(Push(kPolyline, 1, "line"), PushResult::Pushed);
    EXPECT_EQ(Depth(), 1);
    EXPECT_FALSE(surface.ButtonDown(step_button::kPan)) << "the waiting pan's button comes up";
    EXPECT_FALSE(states.OneShotWaiting(kPan));
    EXPECT_EQ(states.Stack().Top().kind, kPolyline);
}

TEST_F(CommandStatesTest, TextsAreCutTo127Characters) {
    PushRequest request = Step(kMove, 2, "move");
    request.set1.prompt = std::string(127, 'p') + "X";
    request.set2.defaultText = std::string(200, 'd');
    states.PushCommandState(request);
    EXPECT_EQ(states.Stack().Top().set1.prompt, std::string(127, 'p'));
    EXPECT_EQ(states.Stack().Top().set2.defaultText.size(), 127u);
}

TEST_F(CommandStatesTest, ThePromptSetFollowsTheStepAndTheIdlePromptShowsAtDepthOne) {
    PushRequest request = Step(kMove, 2, "move", 3, 4);
    request.secondSet = true;
    request.set2.defaultText = "R0,0";
    request.idlePrompt = "moving";
    states.PushCommandState(request);
    EXPECT_EQ(surface.commandPrompt, "move 2");
    EXPECT_EQ(surface.commandLine, "R0,0");
    EXPECT_EQ(surface.statusPrompt, "moving");
    EXPECT_EQ(surface.sounds, std::vector<int32_t>{4});
    // Without the show flag the command line is emptied and nothing is shown.
    surface.commandPrompt.clear();
    surface.commandLine = "typed";
    request.show = false;
    states.PushCommandState(request);
    EXPECT_EQ(surface.commandLine, "");
    EXPECT_EQ(surface.commandPrompt, "");
}

TEST_F(CommandStatesTest, HasActiveCommandCodeNeedsAStepThatTakesPoints) {
    struct Case {
        uint8_t points;
        int bottomMark;
        bool active;
    };
    const Case cases[] = {{1, 0, true}, {2, 0, true}, {0, 0, false}, {1, 1, false}, {2, 1, false}};
    for (const Case& c : cases) {
        CommandStates fresh{CommandPorts{surface, view, cursor, selection, edits, adders, grammar}};
        EXPECT_FALSE(fresh.HasActiveCommandCode()) << "idle";
        fresh.PushCommandState(Step(kMove, c.points, "move"));
        fresh.Stack().SetBottomMark(c.bottomMark);
        EXPECT_EQ(fresh.HasActiveCommandCode(), c.active) << int(c.points) << " points, bottom " << c.bottomMark;
    }
}

TEST_F(CommandStatesTest, RepeatCommandPromptShowsTheStepAgainEvenOnAFullStack) {
    surface.scriptRunning = true;
    for (int n = 1; n <= CommandStack::kCapacity; ++n) Push(kMove, 2, "step " + std::to_string(n));
    surface.commandPrompt.clear();
    states.RepeatCommandPrompt();
    EXPECT_EQ(Depth(), 6);
    EXPECT_EQ(surface.commandPrompt, "step 6 1");
    states.PopCommandState();
    states.RepeatCommandPrompt();
    EXPECT_EQ(Depth(), 5);
    EXPECT_EQ(surface.commandPrompt, "step 5 1");
}

TEST_F(CommandStatesTest, ResetCommandStateEmptiesTheStackToTheBottomMark) {
    surface.scriptRunning = true;
    Push(kMove, 2, "move");
    states.Stack().SetBottomMark(1);
    Push(kObjectSelection, 1, "select");
    Push(kZoomWindow, 2, "zoom");
    ASSERT_EQ(Depth(), 3);
    states.ResetCommandState();
    EXPECT_EQ(Depth(), 1);
    EXPECT_FALSE(states.CommandActive());
    EXPECT_FALSE(states.SelectionStepActive());
    EXPECT_FALSE(surface.ButtonDown(step_button::kZoomWindow));
    EXPECT_EQ(Push(kZoomWindow, 2, "zoom"), PushResult::Pushed) << "the zoom no longer counts as waiting";
}

// The idle hook with a real script engine: UCSWAIT.LKP counts its runs in U.
class IdleHookTest : public CommandStatesTest {
protected:
    TempFolder folder{"linework_idle"};
    ScriptHost host;
    SystemVariableEffects effects;
    std::unique_ptr<ScriptEngine> engine;

    void SetUp() override {
        std::ofstream(folder.path() + "/UCSWAIT.LKP", std::ios::binary) << "U = U + 1\r\nstop\r\n";
        engine = std::make_unique<ScriptEngine>(host, effects, folder.path() + "/");
        surface.runScript = [this](std::string_view name) { return engine->RunHookScript(name); };
    }
    double Runs() { return engine->variables.Letter('U'); }
};

TEST_F(IdleHookTest, APopAtTheBottomRunsTheIdleHookOnce) {
    Push(kMove, 2, "move", 21);
    Push(kPan, 2, "pan", 22);
    states.PopCommandState();
    EXPECT_EQ(Runs(), 0) << "the move still waits";
    EXPECT_EQ(surface.commandPrompt, "move 1");
    surface.sounds.clear();
    states.PopCommandState();
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(surface.idlePrompts, 1);
    EXPECT_EQ(surface.commandPrompt, "idle");
    EXPECT_EQ(surface.sounds, std::vector<int32_t>{21}) << "the idle prompt comes with the step's first sound";
    EXPECT_EQ(Depth(), 0);
    states.PopCommandState();
    EXPECT_EQ(Runs(), 2) << "each return to idle runs it";
    EXPECT_EQ(Depth(), 0);
}

TEST_F(IdleHookTest, TheHookDoesNotRunWhileAScriptRuns) {
    Push(kMove, 2, "move");
    surface.scriptRunning = true;
    states.PopCommandState();
    EXPECT_EQ(Runs(), 0);
    EXPECT_EQ(surface.idlePrompts, 0);
}

TEST_F(IdleHookTest, AMutedPopPlaysNothingAndKeepsTheSwitch) {
    Push(kMove, 2, "move", 21);
    surface.sounds.clear();
    states.PopCommandState(true);
    EXPECT_TRUE(surface.sounds.empty());
    EXPECT_TRUE(surface.soundsOn);
    EXPECT_EQ(Runs(), 1);
}

TEST_F(CommandStatesTest, APopFromInsideTheIdleHookDoesNotStartItAgain) {
    int runs = 0;
    surface.runScript = [&](std::string_view) {
        ++runs;
        states.PopCommandState();  // the hook ends a step of its own
        return true;
    };
    Push(kMove, 2, "move");
    states.PopCommandState();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(surface.scripts, std::vector<std::string>{"UCSWAIT"});
}

TEST_F(CommandStatesTest, TheObjectSelectionSavesAndRestoresTheDrawingModes) {
    struct Case {
        std::array<uint8_t, 3> modes;
        int snap;
        int snapDuring;
    };
    const Case cases[] = {{{1, 0, 1}, 5, 0}, {{0, 1, 0}, 12, 12}, {{0, 0, 0}, 0, 0}};
    for (const Case& c : cases) {
        for (int k = 0; k < 3; ++k) image.SetByte(kFirstDrawingModeByte + k, c.modes[static_cast<size_t>(k)]);
        cursor.snapMode = c.snap;
        Push(kMove, 2, "move");
        Push(kObjectSelection, 1, "select");
        for (int k = 0; k < 3; ++k) EXPECT_EQ(image.Byte(kFirstDrawingModeByte + k), 0) << "mode " << k;
        EXPECT_EQ(cursor.snapMode, c.snapDuring);
        EXPECT_TRUE(states.SelectionStepActive());
        // A second push only updates the selection's record.
        Push(kObjectSelection, 1, "select more");
        EXPECT_EQ(Depth(), 2);
        states.ResetSelectionState();
        for (int k = 0; k < 3; ++k) EXPECT_EQ(image.Byte(kFirstDrawingModeByte + k), c.modes[static_cast<size_t>(k)]);
        EXPECT_EQ(cursor.snapMode, c.snap);
        states.ResetCommandState();
    }
}

TEST_F(CommandStatesTest, AModeSwitchedOnDuringTheSelectionWins) {
    image.SetByte(kFirstDrawingModeByte, 1);
    Push(kObjectSelection, 1, "select");
    image.SetByte(kFirstDrawingModeByte + 2, 1);  // the user turns grid snap on meanwhile
    states.ResetSelectionState();
    EXPECT_EQ(image.Byte(kFirstDrawingModeByte), 0);
    EXPECT_EQ(image.Byte(kFirstDrawingModeByte + 2), 1);
}

TEST_F(CommandStatesTest, SetWindowSelectionMethodAsksForTwoPoints) {
    Push(kObjectSelection, 1, "select", 5);
    states.SetWindowSelectionMethod(selection_method::kFence, step_button::kFenceMethod, 34, 111);
    const CommandState& top = states.Stack().Top();
    EXPECT_EQ(top.pointsNeeded, 2);
    EXPECT_EQ(top.option5, 0) << "the fence";
    EXPECT_EQ(top.set2.prompt, "message 111");
    EXPECT_EQ(top.set2.sound, 34);
    EXPECT_EQ(surface.commandPrompt, "message 111");
    EXPECT_TRUE(surface.ButtonDown(step_button::kFenceMethod));
    states.SetWindowSelectionMethod(selection_method::kWindow, step_button::kWindowMethod, 29, 106);
    EXPECT_EQ(states.Stack().Top().option5, 1);
    // The same method again changes nothing.
    surface.down.clear();
    states.SetWindowSelectionMethod(selection_method::kWindow, step_button::kWindowMethod, 29, 106);
    EXPECT_FALSE(surface.ButtonDown(step_button::kWindowMethod));
}

}  // namespace
}  // namespace linework::test
