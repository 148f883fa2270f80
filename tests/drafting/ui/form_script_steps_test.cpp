// The script functions that wait for the user through a command step of the drawing view
// ("getd", "fptp"), answered as a person would: clicks in the drawing, a number typed on the
// command line, Esc.
#include <cmath>

#include "ui/form_script_services.h"
#include "ui/main_form_fixture.h"
#include "drawing/entity_builders.h"
#include "drawing/entity_views.h"
#include "ui/simple_drafting.h"

namespace linework::test {
namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::test::Harness;

class FormScriptStepsTest : public MainFormTest {
protected:
    std::string RunLines(const std::string& lines) {
        WriteFile("T.LKP", lines + "\r\nstop\r\n");
        EXPECT_TRUE(form->RunScriptFile("T"));
        return form->Engine().LastError();
    }
    double Var(char letter) { return form->Engine().variables.Letter(letter); }
    SimpleDrafting& Side() { return dynamic_cast<SimpleDrafting&>(form->Drafting()); }
    CommandStates& Commands() { return Side().Commands(); }

    // The drawing point a click at pixel (x, y) of the paint box gives.
    Point PointAt(int x, int y) { return Side().TrackedPointAt(x, y); }

    // Answers the next wait of the step by clicking at (x, y), keeping the prompt shown then.
    void AnswerClick(int x, int y, std::string* prompt = nullptr) {
        h.answer(ModalKind::Form, kStepWaitName, [this, x, y, prompt](const ModalLoop&) -> std::optional<INT_PTR> {
            if (prompt) *prompt = form->Label1().Caption();
            const POINT at = form->PaintBox1().ClientToScreen({x, y});
            h.click(at.x, at.y);
            return std::nullopt;
        });
    }
    void AnswerTyped(const std::string& text) {
        h.answer(ModalKind::Form, kStepWaitName, [this, text](const ModalLoop&) -> std::optional<INT_PTR> {
            form->Edit1().SetText(text);
            h.key(VK_RETURN);
            return std::nullopt;
        });
    }
    void AnswerKey(UINT key) {
        h.answer(ModalKind::Form, kStepWaitName, [this, key](const ModalLoop&) -> std::optional<INT_PTR> {
            h.key(key);
            return std::nullopt;
        });
    }
};

TEST_F(FormScriptStepsTest, GetdGivesTheClickedPointToTheTargetAndTheOneAfterIt) {
    Start();
    const Point expected = PointAt(40, 30);
    std::string prompt;
    AnswerClick(40, 30, &prompt);
    EXPECT_EQ(RunLines("A = getd 0 X \"Zadej bod\""), "");
    EXPECT_EQ(h.answersQueued(), 0u);
    EXPECT_EQ(prompt, "Zadej bod ");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_DOUBLE_EQ(Var('X'), expected.x);
    EXPECT_DOUBLE_EQ(Var('Y'), expected.y);
    EXPECT_EQ(form->Drafting().CommandDepth(), 0) << "the step is gone once answered";
}

TEST_F(FormScriptStepsTest, GetdOfADistanceTakesTwoClicksWithTheSecondPrompt) {
    Start();
    const Point a = PointAt(20, 20);
    const Point b = PointAt(80, 100);
    std::string first, second;
    AnswerClick(20, 20, &first);
    AnswerClick(80, 100, &second);
    EXPECT_EQ(RunLines("A = getd 1 D \"Od\" \"Do\""), "");
    EXPECT_EQ(h.answersQueued(), 0u) << "one click is not a distance";
    EXPECT_EQ(first, "Od ");
    EXPECT_EQ(second, "Do ");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_DOUBLE_EQ(Var('D'), std::hypot(b.x - a.x, b.y - a.y));
    EXPECT_EQ(form->Drafting().CommandDepth(), 0);
}

TEST_F(FormScriptStepsTest, GetdOfADistanceTakesATypedNumber) {
    Start();
    AnswerTyped("12.5");
    EXPECT_EQ(RunLines("A = getd 1 D \"Delka\""), "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_DOUBLE_EQ(Var('D'), 12.5);
}

TEST_F(FormScriptStepsTest, ALoneNumberIsNoPointButTypedCoordinatesAre) {
    Start();
    AnswerTyped("7");
    AnswerTyped("10,20");
    EXPECT_EQ(RunLines("A = getd 0 X \"Bod\""), "");
    EXPECT_EQ(h.answersQueued(), 0u) << "the step still waited after the lone number";
    EXPECT_EQ(Var('A'), 1);
    EXPECT_DOUBLE_EQ(Var('X'), 10);
    EXPECT_DOUBLE_EQ(Var('Y'), 20);
}

TEST_F(FormScriptStepsTest, EscCancelsTheStepAndTheScriptSeesIt) {
    Start();
    AnswerKey(VK_ESCAPE);
    EXPECT_EQ(RunLines("X = 3; Y = 4; L = 1; A = getd 0 X \"Bod\"; L = 2\r\nL = 3"), "");
    EXPECT_EQ(Var('A'), 0);
    EXPECT_EQ(Var('X'), 3) << "the targets keep their values";
    EXPECT_EQ(Var('Y'), 4);
    EXPECT_NE(Var('L'), 3) << "the run stopped";
    EXPECT_EQ(form->Drafting().CommandDepth(), 0) << "the cancelled step is gone";
}

TEST_F(FormScriptStepsTest, FptpCountsTheStepsWaiting) {
    Start();
    EXPECT_EQ(RunLines("F = fptp"), "");
    EXPECT_EQ(Var('F'), 0);
    PushRequest zoom;
    zoom.kind = command_kind::kZoomWindow;
    zoom.pointsNeeded = 2;
    ASSERT_EQ(Commands().PushCommandState(zoom), PushResult::Pushed);
    PushRequest pan = zoom;
    pan.kind = command_kind::kPan;
    ASSERT_EQ(Commands().PushCommandState(pan), PushResult::Pushed);
    EXPECT_EQ(RunLines("F = fptp"), "");
    EXPECT_EQ(Var('F'), 2);
}

TEST_F(FormScriptStepsTest, GetlGivesTheSegmentOfThePolylineUnderTheClick) {
    Start();
    const Point a = PointAt(40, 60), b = PointAt(200, 60), c = PointAt(200, 160);
    ScriptVariables& v = form->Engine().variables;
    v.Letter('P') = a.x, v.Letter('Q') = a.y, v.Letter('R') = b.x, v.Letter('S') = b.y;
    v.Letter('T') = c.x, v.Letter('U') = c.y;
    ASSERT_EQ(RunLines("pline P Q R S T U"), "");
    const EntityHandle line = form->Engine().drawing.head;
    ASSERT_NE(line, 0u);
    std::string prompt;
    AnswerClick(200, 120, &prompt);
    EXPECT_EQ(RunLines("A = getl 0 \"Vyber\" \" caru\""), "");
    EXPECT_EQ(h.answersQueued(), 0u);
    EXPECT_EQ(prompt, "Vyber caru ");
    EXPECT_EQ(Var('A'), 1);
    const auto& slots = form->Engine().storedValues.slots;
    EXPECT_DOUBLE_EQ(slots[StoredValues::kPickedSegment], b.x) << "the second segment, not the first";
    EXPECT_DOUBLE_EQ(slots[StoredValues::kPickedSegment + 1], b.y);
    EXPECT_DOUBLE_EQ(slots[StoredValues::kPickedSegment + 2], c.x);
    EXPECT_DOUBLE_EQ(slots[StoredValues::kPickedSegment + 3], c.y);
    EXPECT_EQ(form->Engine().drawing.current, line);
    EXPECT_EQ(form->Drafting().CommandDepth(), 0);
}

TEST_F(FormScriptStepsTest, GetlWaitsWhileTheClickFindsNothingAndEscGivesNoLine) {
    Start();
    AnswerClick(300, 300);
    AnswerKey(VK_ESCAPE);
    EXPECT_EQ(RunLines("A = 5; A = getl 0 \"Vyber\""), "");
    EXPECT_EQ(h.answersQueued(), 0u) << "the empty click did not end the pick";
    EXPECT_EQ(Var('A'), 0);
    EXPECT_EQ(form->Drafting().CommandDepth(), 0);
}

TEST_F(FormScriptStepsTest, InsertWithoutAPointPlacesTheBlockWhereTheUserClicks) {
    Start();
    Drawing& drawing = form->Engine().drawing;
    const BlockHandle door = AddBlockDef(drawing, "DOOR", {0, 0});
    const Point leaf[] = {{0, 0}, {0, 10}};
    AppendToBlock(drawing, door, MakePolyline(leaf));
    const Point expected = PointAt(120, 90);
    AnswerClick(120, 90);
    ASSERT_EQ(RunLines("insert DOOR 2 3 0"), "");
    EXPECT_EQ(h.answersQueued(), 0u);
    ASSERT_NE(drawing.head, 0u);
    ASSERT_EQ(drawing[drawing.head].Kind(), EntityKind::BlockInsert);
    const InsertView insert(drawing[drawing.head]);
    EXPECT_DOUBLE_EQ(insert.Insertion().x, expected.x);
    EXPECT_DOUBLE_EQ(insert.Insertion().y, expected.y);
    EXPECT_EQ(form->Drafting().CommandDepth(), 0);
}

TEST_F(FormScriptStepsTest, EscDuringTheInsertStepAddsNothingAndStopsTheRun) {
    Start();
    Drawing& drawing = form->Engine().drawing;
    AddBlockDef(drawing, "DOOR", {0, 0});
    AnswerKey(VK_ESCAPE);
    ASSERT_EQ(RunLines("L = 1; insert DOOR 1 1 0\r\nL = 2"), "");
    EXPECT_EQ(drawing.head, 0u) << "no point, no insert";
    EXPECT_EQ(Var('L'), 1);
    EXPECT_EQ(form->Drafting().CommandDepth(), 0) << "the step went with the stop";
}

}  // namespace
}  // namespace linework::test
