// The edits of the selection and "sel": what the selection engine is asked with which numbers,
// and when the interactive steps start instead.
#include <gtest/gtest.h>

#include "commands_fixture.h"
#include "drawing/undo_operations.h"

namespace linework::test {
namespace {

using EditCommandsTest = CommandsFixture;

struct EditCase {
    const char* line;
    std::vector<std::string> calls;
    std::vector<std::string> steps;
};

TEST_F(EditCommandsTest, EditsGoToTheSelectionEngineOrStartTheirStep) {
    const EditCase cases[] = {
        {"move 1 2", {"mode 0", "move 1 2"}, {}},
        {"move 1 2 3", {"mode 3", "move 1 2"}, {}},
        {"move 1 2 4", {"mode 3", "move 1 2"}, {}},
        {"move 1 2 -1", {"mode 0", "move 1 2"}, {}},
        {"move 1", {}, {"edit step 1 mode 0"}},
        {"move", {}, {"edit step 1 mode 0"}},
        {"rotate 1 2 0.5 2", {"mode 2", "rotate 0.5 1 2"}, {}},
        {"rotate 1 2", {}, {"edit step 2 mode 0"}},
        {"scale 1 2 3 4 1", {"mode 1", "scale 3 4 1 2"}, {}},
        {"scale 1 2 3", {}, {"edit step 3 mode 0"}},
        {"stretch -1 -2 2", {"mode 2", "stretch -1 -2"}, {}},
        {"stretch", {}, {"edit step 4 mode 0"}},
        {"copy", {}, {"edit step 0 mode 0"}},
        {"block 3 4 DOOR \"-\" 2", {"block DOOR-2 3 4"}, {}},
        {"explode", {"explode"}, {}},
        {"change 21", {"change 21"}, {}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.line);
        edits_.calls.clear();
        host_.steps.clear();
        ASSERT_EQ(RunLine(c.line), "");
        EXPECT_EQ(edits_.calls, c.calls);
        EXPECT_EQ(host_.steps, c.steps);
    }
}

TEST_F(EditCommandsTest, CopyAddsMovedCopiesThatUndoTakesBack) {
    ASSERT_EQ(RunLine("line 0 0 1 1; circle 5 5 1"), "");
    SelectAll();
    ASSERT_EQ(RunLine("copy 10 20"), "");
    auto entities = Entities();
    ASSERT_EQ(entities.size(), 4u);
    // The copies stand first, in the order of their originals.
    EXPECT_NE(entities[0].find("centre=(15,25)"), std::string::npos) << entities[0];
    EXPECT_NE(entities[1].find("(10,20) (11,21)"), std::string::npos) << entities[1];
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kCopy);
    ASSERT_EQ(RunLine("u"), "");
    entities = Entities();
    EXPECT_EQ(entities[0].find("circle flags=0x08"), 0u) << entities[0];
    EXPECT_EQ(entities[1].find("line flags=0x08"), 0u) << entities[1];
    EXPECT_EQ(entities[2].find("circle flags=0x01"), 0u) << entities[2];
    EXPECT_EQ(entities[3].find("line flags=0x01"), 0u) << entities[3];
}

TEST_F(EditCommandsTest, UndoOfAnEditOfTheSelectionEngineGoesBackToIt) {
    engine_->undo.SetUndoOperation(undo_code::kRotate);
    ASSERT_EQ(RunLine("u"), "");
    EXPECT_EQ(edits_.calls, std::vector<std::string>{"undo 30"});
}

TEST_F(EditCommandsTest, EraseLeavesProtectedImagesButUnselectsThem) {
    ASSERT_EQ(RunLine("line 0 0 1 1"), "");
    Drawing& d = TheDrawing();
    EntityRecord image(EntityKind::RasterImage, 57);
    image.Store<uint16_t>(entity_field::kImageFlags, 0x0410);
    PushEntity(d, std::move(image));
    SelectAll();
    ASSERT_EQ(RunLine("erase"), "");
    auto entities = Entities();
    EXPECT_EQ(entities[0].find("image flags=0x00"), 0u) << entities[0];
    EXPECT_EQ(entities[1].find("line flags=0x08"), 0u) << entities[1];
    EXPECT_EQ(engine_->undo.LastOperation(), undo_code::kErase);
}

struct SelectCase {
    const char* line;
    uint16_t method;
    const char* error;
};

TEST_F(EditCommandsTest, SelMethodNumbersAreTheEnginesCodes) {
    const SelectCase cases[] = {
        {"sel 1", 35, ""},  {"sel 2 0 0 10 10", 36, ""}, {"sel 3", 37, ""}, {"sel 12", 46, ""},
        {"sel 14 3", 49, ""},
        {"sel 13", 0, "Value out of range\r\non LKP line 1:1"},
        {"sel 15", 0, "Value out of range\r\non LKP line 1:1"},
        {"sel -1", 0, "Value out of range\r\non LKP line 1:1"},
        {"sel foo", 0, "Value out of range\r\non LKP line 1:1"},
        {"sel 14 65536", 0, "Value out of range\r\non LKP line 1:1"},
    };
    for (const SelectCase& c : cases) {
        SCOPED_TRACE(c.line);
        edits_.calls.clear();
        EXPECT_EQ(RunLine(c.line), c.error);
        if (*c.error) {
            EXPECT_TRUE(edits_.calls.empty());
        } else {
            EXPECT_EQ(edits_.calls, std::vector<std::string>{"select " + std::to_string(c.method)});
        }
    }
    ASSERT_EQ(RunLine("sel 14 3"), "");
    EXPECT_EQ(edits_.lastPass.countLimit, 3);
    ASSERT_EQ(RunLine("sel 5 1 2 3 4"), "");
    EXPECT_EQ(edits_.lastPass.method, 39);
    EXPECT_EQ((std::vector<double>{edits_.lastPass.x1, edits_.lastPass.y1, edits_.lastPass.x2, edits_.lastPass.y2}),
              (std::vector<double>{1, 2, 3, 4}));
    ASSERT_EQ(RunLine("sel 6 -1.5 2.5"), "");
    EXPECT_EQ(edits_.lastPass.lowerLevel, -1.5f);
    EXPECT_EQ(edits_.lastPass.upperLevel, 2.5f);
}

TEST_F(EditCommandsTest, SelGetAndSetTheThirteenSettings) {
    ASSERT_EQ(RunLine("sel set 40 0 1 0 0 1 0 0 2 3 5 1 1"), "");
    ASSERT_EQ(RunLine("sel get A B C D E F G H I J K L M"), "");
    std::vector<double> got;
    for (char c = 'A'; c <= 'M'; ++c) got.push_back(Var(c));
    // The add mode stays 1: a word whose value is not above 0 leaves its setting.
    EXPECT_EQ(got, (std::vector<double>{40, 1, 1, 0, 0, 1, 0, 0, 2, 3, 5, 1, 1}));
    ASSERT_EQ(RunLine("sel get 5# 6#"), "");
    EXPECT_EQ(engine_->variables.numbers[5], 40);
    EXPECT_EQ(engine_->variables.numbers[6], 1);
    EXPECT_EQ(RunLine("sel set 65536"), "Value out of range\r\non LKP line 1:1");
    EXPECT_EQ(RunLine("sel set 65535"), "");
    EXPECT_EQ(commands_->State().selection.method, 65535);
}

TEST_F(EditCommandsTest, SelModeWords) {
    SelectionSettings& s = commands_->State().selection;
    ASSERT_EQ(RunLine("sel -"), "");
    EXPECT_EQ(s.addMode, 0);
    ASSERT_EQ(RunLine("sel +"), "");
    EXPECT_EQ(s.addMode, 1);
    // The same-layer and same-colour filters together switch the combined one on; flipping the
    // combined one sets both.
    ASSERT_EQ(RunLine("sel ! 2; sel ! 3"), "");
    EXPECT_EQ(s.filters[4], 1);
    ASSERT_EQ(RunLine("sel ! 4"), "");
    EXPECT_EQ((std::vector<int>{s.filters[2], s.filters[3], s.filters[4]}), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(RunLine("sel ! 6"), "Value out of range\r\non LKP line 1:1");
    EXPECT_EQ(RunLine("sel ! 5"), "");
    ASSERT_EQ(RunLine("sel *"), "");
    EXPECT_TRUE(std::all_of(s.filters.begin(), s.filters.end(), [](uint16_t f) { return f == 1; }));
    edits_.calls.clear();
    ASSERT_EQ(RunLine("sel ^"), "");
    EXPECT_EQ(edits_.calls, std::vector<std::string>{"pick"});
    // "0" clears the selection, keeping it as the previous one.
    ASSERT_EQ(RunLine("line 0 0 1 1; line 1 1 2 2"), "");
    TheDrawing()[TheDrawing().head].SetByte(entity_field::kKindAndFlags, 0x11);
    ASSERT_EQ(RunLine("sel 0"), "");
    auto entities = Entities();
    EXPECT_EQ(entities[0].find("line flags=0x02"), 0u);
    EXPECT_EQ(entities[1].find("line flags=0x00"), 0u);
}

}  // namespace
}  // namespace linework::test
