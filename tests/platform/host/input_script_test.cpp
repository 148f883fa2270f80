#include <gtest/gtest.h>

#include "host/input_script.h"
#include "winplat/user.h"

namespace {

using winplat::host::ParsedScript;
using winplat::host::ScriptStep;
using Kind = ScriptStep::Kind;

struct LineCase {
    const char* line;
    Kind kind;
    POINT from;
    POINT to;
    int number;  // wait ms or wheel delta
    std::vector<UINT> keys;  // modifiers then the key
    std::string text;
};

class ScriptLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ScriptLines, OneLineIsOneStep) {
    const LineCase& c = GetParam();
    const ParsedScript script = winplat::host::parseInputScript(c.line);
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(script.steps.size(), 1u);
    const ScriptStep& step = script.steps[0];
    EXPECT_EQ(step.kind, c.kind);
    EXPECT_EQ(step.line, 1);
    switch (c.kind) {
        case Kind::Wait: EXPECT_EQ(step.waitMs, static_cast<uint32_t>(c.number)); break;
        case Kind::Wheel: EXPECT_EQ(step.wheelDelta, c.number); break;
        case Kind::Key: {
            std::vector<UINT> keys = step.chord.modifiers;
            keys.push_back(step.chord.key);
            EXPECT_EQ(keys, c.keys);
            break;
        }
        case Kind::Type:
        case Kind::Snap: EXPECT_EQ(step.text, c.text); break;
        default:
            EXPECT_EQ(step.from.x, c.from.x);
            EXPECT_EQ(step.from.y, c.from.y);
            EXPECT_EQ(step.to.x, c.to.x);
            EXPECT_EQ(step.to.y, c.to.y);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ScriptLines,
    ::testing::Values(LineCase{"wait 500", Kind::Wait, {}, {}, 500, {}, ""},
                      LineCase{"move 10 20", Kind::Move, {10, 20}, {}, 0, {}, ""},
                      LineCase{"  click\t120 40  ", Kind::Click, {120, 40}, {}, 0, {}, ""},
                      LineCase{"dblclick 5 6", Kind::DoubleClick, {5, 6}, {}, 0, {}, ""},
                      LineCase{"rclick -3 7", Kind::RightClick, {-3, 7}, {}, 0, {}, ""},
                      LineCase{"drag 1 2 300 400", Kind::Drag, {1, 2}, {300, 400}, 0, {}, ""},
                      LineCase{"wheel -120", Kind::Wheel, {}, {}, -120, {}, ""},
                      LineCase{"key F7", Kind::Key, {}, {}, 0, {VK_F7}, ""},
                      LineCase{"key f12", Kind::Key, {}, {}, 0, {VK_F12}, ""},
                      LineCase{"key ctrl+s", Kind::Key, {}, {}, 0, {VK_CONTROL, 'S'}, ""},
                      LineCase{"key ctrl+shift+Enter", Kind::Key, {}, {}, 0, {VK_CONTROL, VK_SHIFT, VK_RETURN}, ""},
                      LineCase{"key num+", Kind::Key, {}, {}, 0, {VK_ADD}, ""},
                      LineCase{"key alt+num7", Kind::Key, {}, {}, 0, {VK_MENU, VK_NUMPAD7}, ""},
                      LineCase{"key 7", Kind::Key, {}, {}, 0, {'7'}, ""},
                      LineCase{"type Dobr\xC3\xBD den  # greeting", Kind::Type, {}, {}, 0, {}, "Dobr\xFD den"},
                      LineCase{"type a#b", Kind::Type, {}, {}, 0, {}, "a#b"},
                      LineCase{"snap out/a.png", Kind::Snap, {}, {}, 0, {}, "out/a.png"}));

TEST(InputScript, CommentsAndBlankLinesCountForLineNumbers) {
    const ParsedScript script = winplat::host::parseInputScript("# start\n\nwait 10\r\n   # indented\nclick 1 2\n");
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(script.steps.size(), 2u);
    EXPECT_EQ(script.steps[0].line, 3);
    EXPECT_EQ(script.steps[1].line, 5);
}

struct BadCase {
    const char* text;
    const char* error;
};

class ScriptErrors : public ::testing::TestWithParam<BadCase> {};

TEST_P(ScriptErrors, NameTheLineAndWhy) {
    const ParsedScript script = winplat::host::parseInputScript(GetParam().text);
    EXPECT_FALSE(script.ok());
    EXPECT_TRUE(script.steps.empty()) << "a refused script plays nothing";
    EXPECT_EQ(script.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, ScriptErrors,
    ::testing::Values(BadCase{"wait 1\nclack 1 2", "line 2: unknown command 'clack'"},
                      BadCase{"click 1", "line 1: 'click' takes 2 numbers"},
                      BadCase{"click 1 2 3", "line 1: 'click' takes 2 numbers"},
                      BadCase{"move 1 x", "line 1: 'x' is not a number from -32767 to 32767"},
                      BadCase{"move 32768 0", "line 1: '32768' is not a number from -32767 to 32767"},
                      BadCase{"wait -1", "line 1: '-1' is not a number from 0 to 86400000"},
                      BadCase{"wait 86400001", "line 1: '86400001' is not a number from 0 to 86400000"},
                      BadCase{"\n\ndrag 1 2 3", "line 3: 'drag' takes 4 numbers"},
                      BadCase{"key F13", "line 1: 'F13' names no key"},
                      BadCase{"key ctrl+", "line 1: 'ctrl+' names no key"},
                      BadCase{"key s+ctrl", "line 1: 's+ctrl' names no key"},
                      BadCase{"key", "line 1: 'key' takes one key, e.g. F7 or ctrl+s"},
                      BadCase{"type", "line 1: 'type' takes the text to type"},
                      BadCase{"type \xE2\x82\xAC\xE2\x98\x83", "line 1: the text holds characters cp1250 has not"},
                      BadCase{"snap", "line 1: 'snap' takes one file name"}));

TEST(InputScript, AMissingFileIsNamed) {
    const ParsedScript script = winplat::host::readInputScript("/nonexistent/winplat/script.txt");
    EXPECT_EQ(script.error, "cannot read the input script /nonexistent/winplat/script.txt");
}

}  // namespace
