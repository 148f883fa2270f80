// The main form's minimum size and status panels, and the order and outcome of the questions
// asked when it closes.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "ui/close_query.h"
#include "ui/form_layout.h"

namespace linework {
namespace {

TEST(FormLayout, MinimumClientSizeAddsTheShownPanels) {
    const ClientSize all = MinimumClientSize({97, 122, 20, 24, 19});
    EXPECT_EQ(all.width, 97 + 122 + 128);
    EXPECT_EQ(all.height, 20 + 24 + 128 + 19 + 3);
    const ClientSize bare = MinimumClientSize({0, 0, 0, 24, 0});
    EXPECT_EQ(bare.width, 128);
    EXPECT_EQ(bare.height, 24 + 128 + 3);
}

TEST(FormLayout, ButtonsShrinkAndWrapUntilAllFit) {
    struct Case {
        int count, width, height;
        ButtonGrid grid;
    };
    const Case cases[] = {
        {80, 120, 384, {24, 5}},  // 16 rows of 24 just fit
        {80, 120, 383, {23, 5}},
        {80, 120, 368, {23, 5}},  // 16 rows of 23
        {80, 120, 367, {22, 5}},
        {80, 120, 280, {20, 6}},  // six to a row: 14 rows of 20
        {80, 120, 279, {19, 6}},
        {80, 120, 10, {12, 10}},  // never below 12
        {3, 24, 72, {24, 1}},
        {3, 23, 72, {23, 1}},     // narrower than a button of 24: one to a row, smaller
    };
    for (const Case& c : cases) {
        const ButtonGrid grid = FitButtons(c.count, c.width, c.height);
        EXPECT_EQ(grid.pitch, c.grid.pitch) << c.width << "x" << c.height;
        EXPECT_EQ(grid.columns, c.grid.columns) << c.width << "x" << c.height;
    }
}

TEST(FormLayout, StatusPanelsShareTheExtraWidth) {
    struct Case {
        int width;
        bool maximised;
        double factor;
        std::array<int, 3> panels;
    };
    const Case cases[] = {
        {640, false, 1, {400, 42, 175}},
        {1215, false, 1, {800, 42, 350}},     // w 575: g 400
        {641, false, 1, {401, 42, 175}},      // g = round(0.6957) = 1
        {640, true, 1, {400, 42, 190}},
        {640, false, 1.5, {400, 63, 175}},
        {540, false, 1, {330, 42, 145}},      // narrower: g = round(-69.57) = -70
        {1000, false, 1, {650, 42, 285}},     // g = round(250.43) = 250
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusPanelWidths(c.width, c.maximised, c.factor), c.panels) << c.width;
    }
}

TEST(FormLayout, HalfwayPanelWidthsRoundToEven) {
    // 400 * w / 575 is exactly k + 0.5 for w = 575 * (2k + 1) / 800: not a whole w, so look at
    // the factor 1.25 of the second panel instead (42 * 1.25 = 52.5 -> 52) and 1.75 (73.5 -> 74).
    EXPECT_EQ(StatusPanelWidths(640, false, 1.25)[1], 52);
    EXPECT_EQ(StatusPanelWidths(640, false, 1.75)[1], 74);
}

// Answers queued in order; every question asked is logged.
struct ScriptedQuestions : CloseQuestions {
    std::deque<int> answers;
    std::vector<std::string> log;
    bool running = false;
    bool modified = false;
    bool saveWorks = false;

    int Ask(int message, int preset) override {
        log.push_back("ask " + std::to_string(message) + " preset " + std::to_string(preset));
        if (answers.empty()) {
            ADD_FAILURE() << "an unexpected question " << message;
            return 3;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ScriptRunning() const override { return running; }
    bool DrawingModified() const override { return modified; }
    bool SaveDrawing() override {
        log.push_back("save");
        if (saveWorks) modified = false;
        return saveWorks;
    }
    void ShowNotSaved() override { log.push_back("not saved"); }
};

TEST(CloseQuery, QuestionsComeInTheirOrderAndDecide) {
    struct Case {
        const char* name;
        bool running, modified, saveWorks;
        std::deque<int> answers;
        bool closes;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"unmodified, yes", false, false, false, {1}, true, {"ask 134 preset 0"}},
        {"unmodified, no", false, false, false, {2}, false, {"ask 134 preset 0"}},
        {"script running, stop refused", true, false, false, {2}, false, {"ask 132 preset 2"}},
        {"script running, stopped", true, false, false, {1, 1}, true, {"ask 132 preset 2", "ask 134 preset 0"}},
        {"modified, don't save", false, true, false, {2, 1}, true, {"ask 133 preset 0", "ask 134 preset 0"}},
        {"modified, cancel", false, true, false, {3}, false, {"ask 133 preset 0"}},
        {"modified, box closed", false, true, false, {0}, false, {"ask 133 preset 0"}},
        {"modified, don't save, then stay", false, true, false, {2, 2}, false, {"ask 133 preset 0", "ask 134 preset 0"}},
        {"modified, save fails, then don't save", false, true, false, {1, 2, 1}, true,
         {"ask 133 preset 0", "save", "not saved", "ask 133 preset 0", "ask 134 preset 0"}},
        {"modified, save fails twice, then cancel", false, true, false, {1, 1, 3}, false,
         {"ask 133 preset 0", "save", "not saved", "ask 133 preset 0", "save", "not saved", "ask 133 preset 0"}},
        {"modified, saved: no last question", false, true, true, {1}, true, {"ask 133 preset 0", "save"}},
        {"all three", true, true, false, {1, 2, 1}, true, {"ask 132 preset 2", "ask 133 preset 0", "ask 134 preset 0"}},
    };
    for (const Case& c : cases) {
        ScriptedQuestions q;
        q.running = c.running;
        q.modified = c.modified;
        q.saveWorks = c.saveWorks;
        q.answers = c.answers;
        EXPECT_EQ(FormCloseQuery(q), c.closes) << c.name;
        EXPECT_EQ(q.log, c.log) << c.name;
        EXPECT_TRUE(q.answers.empty()) << c.name << ": answers left over";
    }
}

}  // namespace
}  // namespace linework
