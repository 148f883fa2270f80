// The adders: what each one puts in the record from its arguments and the current properties,
// the undo code it records, and the refusals at their bounds.
#include "drawing/entity_adders.h"

#include <gtest/gtest.h>

#include <vector>

#include "drawing/entity_copy.h"
#include "drawing/entity_dump.h"
#include "drawing/layer_table.h"

namespace linework {
namespace {

struct HintSpy : UndoButtonSeam {
    std::string hint;
    bool enabled = false;
    void SetUndoHint(std::string_view text) override { hint = text; }
    void EnableUndo(bool on) override { enabled = on; }
};

class EntityAdders : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDrawingSettings(variables_);
        undo_.SetSeam(&hint_);
    }
    std::vector<Point> Vertices(int count) {
        std::vector<Point> points;
        for (int i = 0; i < count; ++i) points.push_back({double(i), double(i % 3)});
        return points;
    }
    std::string Head() { return drawing_.head ? DumpEntity(drawing_, drawing_[drawing_.head]) : "none"; }

    Drawing drawing_;
    SystemVariableImage variables_;
    UndoRecorder undo_{"Zpět"};
    HintSpy hint_;
    AdderContext context_{.drawing = drawing_, .variables = variables_, .undo = undo_, .programFolder = "C:\\LK\\", .textLine = {}, .drawMode = 0};
};

TEST_F(EntityAdders, PolylinesRecordPointLineHatchOrPlineByVertexCountAndPattern) {
    struct Case {
        int vertices;
        bool patterned;
        std::string_view name;
        uint8_t style;  // current line type 2, pattern 5
        float aux;
    };
    CurrentProperties(variables_).Set(CurrentProperties::LineType, 2);
    for (Case c : {Case{1, false, "point", 1, 2.0f}, Case{1, true, "point", 1, 2.0f}, Case{2, true, "line", 2, 0.0f},
                   Case{3, false, "pline", 2, 0.0f}, Case{3, true, "hatch", 42, 10.0f},
                   Case{256, true, "hatch", 42, 10.0f}}) {
        SCOPED_TRACE(c.vertices);
        ASSERT_NE(AddPolyline(context_, Vertices(c.vertices), c.patterned, true), 0u);
        EXPECT_EQ(UndoOperationName(undo_.LastOperation()), c.name);
        EXPECT_EQ(drawing_[drawing_.head].Byte(entity_field::kStyle), c.style);
        EXPECT_EQ(drawing_[drawing_.head].Load<float>(entity_field::kAuxiliarySize), c.aux);
        EXPECT_EQ(drawing_[drawing_.head].Size(), PolylineRecordSize(c.vertices));
    }
    EXPECT_EQ(hint_.hint, "Zpět\r\n(hatch)");
    EXPECT_TRUE(hint_.enabled);
}

TEST_F(EntityAdders, NoPolylineOfNoneOrMoreThan256Vertices) {
    EXPECT_EQ(AddPolyline(context_, Vertices(257), false, true), 0u);
    EXPECT_EQ(AddPolyline(context_, {}, false, true), 0u);
    EXPECT_EQ(drawing_.head, 0u);
    EXPECT_EQ(undo_.LastOperation(), undo_code::kNothing);
    EXPECT_FALSE(undo_.Modified());
}

TEST_F(EntityAdders, TheHeadTakesTheCurrentPropertiesAndNewEntitiesStandFirst) {
    CurrentProperties properties(variables_);
    properties.Set(CurrentProperties::Layer, 7);
    properties.Set(CurrentProperties::Colour, 3);
    properties.Set(CurrentProperties::Width, 2);
    AddArc(context_, {0, 0}, {1, 0}, {0, 1});
    AddArc(context_, {0, 0}, {1, 0}, {1, 0});
    EXPECT_EQ(Head(), "circle flags=0x00 layer=7 colour=3 width=2 centre=(0,0) start=(1,0) end=(1,0) type=0");
    EXPECT_EQ(UndoOperationName(undo_.LastOperation()), "circle");
    EXPECT_EQ(DumpEntity(drawing_, drawing_[drawing_[drawing_.head].Next()]).substr(0, 3), "arc");
}

TEST_F(EntityAdders, TextAnglesAreReducedOnlyBeyondAFullTurn) {
    const double turn = 2 * 3.14159265358979323846;
    struct Case {
        double angle;
        double stored;
    };
    for (Case c : {Case{turn, turn}, Case{turn + 1, 1}, Case{-(turn + 1), -1}, Case{1, 1}}) {
        AddText(context_, "A", 0, {0, 0}, 1, 1, c.angle);
        EXPECT_NEAR(drawing_[drawing_.head].Double(entity_field::kTextAngle), c.stored, 1e-12) << c.angle;
    }
    EXPECT_EQ(UndoOperationName(undo_.LastOperation()), "text");
}

TEST_F(EntityAdders, AttributeDefinitionsFitIn256BytesOrAreNotAdded) {
    // (tag + 1) + (default + 1) + (prompt + 1) + 2: 100 + 100 + 50 + 3 + 2 = 255, 256, 257.
    for (size_t prompt : {50u, 51u, 52u}) {
        AttributeStrings strings{std::string(100, 'T'), std::string(100, 'D'), std::string(prompt, 'P'), 1};
        EntityHandle added = AddAttributeDefinition(context_, strings, 0, {0, 0}, 1, 1, 0);
        EXPECT_EQ(added != 0, prompt <= 51) << prompt;
    }
}

TEST_F(EntityAdders, ABlockInsertTakesValuesForVariableAttributesAndTurnsTheirPositions) {
    AttributeStrings variable{"A", "x", "?", 1};
    AttributeStrings constant{"C", "k", "?", 0};
    BlockHandle block = AddBlockDef(drawing_, "B", {1, 1});
    EntityRecord a = [&] {
        AddAttributeDefinition(context_, variable, 0, {2, 1}, 1, 1, 0);
        EntityRecord copy = EntityRecord::FromBytes(drawing_[drawing_.head].Bytes());
        DeleteFirstEntity(drawing_);
        return copy;
    }();
    EntityRecord c = [&] {
        AddAttributeDefinition(context_, constant, 0, {1, 3}, 1, 1, 0);
        EntityRecord copy = EntityRecord::FromBytes(drawing_[drawing_.head].Bytes());
        DeleteFirstEntity(drawing_);
        return copy;
    }();
    AppendToBlock(drawing_, block, std::move(a));
    AppendToBlock(drawing_, block, std::move(c));
    context_.textLine = [](int32_t n) { return "line" + std::to_string(n); };
    ASSERT_NE(AddBlockInsert(context_, block, 2, 2, 3.14159265358979323846 / 2, {10, 10}), 0u);
    const EntityRecord& insert = drawing_[drawing_.head];
    EXPECT_EQ(insert.Byte(entity_field::kAttributeCount), 2);
    // (2,1) - base (1,1) = (1,0) scaled (2,0), turned a quarter: (0,2) from the insertion point.
    EXPECT_NEAR(insert.Double(entity_field::kAttributePositions), 10, 1e-12);
    EXPECT_NEAR(insert.Double(entity_field::kAttributePositions + 8), 12, 1e-12);
    EXPECT_EQ(insert.ShortString(entity_field::kAttributePositions + 32), "line1");
    EXPECT_EQ(insert.Size(), 60u + 32u + 6u + 1u);
    EXPECT_EQ(UndoOperationName(undo_.LastOperation()), "insert");
}

TEST_F(EntityAdders, InsertValuesBeyond256BytesSetTheOverflowSwitchAndAddNothing) {
    for (size_t length : {254u, 255u}) {
        ClearDrawing(drawing_);
        variables_.SetByte(kInsertOverflowSwitch, 0);
        BlockHandle block = AddBlockDef(drawing_, "B", {});
        for (int i = 0; i < 2; ++i) {
            AddAttributeDefinition(context_, {"A", "", "", 1}, 0, {0, 0}, 1, 1, 0);
            AppendToBlock(drawing_, block, EntityRecord::FromBytes(drawing_[drawing_.head].Bytes()));
            DeleteFirstEntity(drawing_);
        }
        // Values of 'length' and 0 characters: length + 1 + 1 bytes; 256 fits, 257 does not.
        context_.textLine = [length](int32_t n) { return n == 1 ? std::string(length, 'v') : std::string(); };
        EntityHandle added = AddBlockInsert(context_, block, 1, 1, 0, {0, 0});
        EXPECT_EQ(added != 0, length == 254) << length;
        EXPECT_EQ(variables_.Byte(kInsertOverflowSwitch), length == 254 ? 0 : 1);
    }
}

TEST_F(EntityAdders, ReferencesNeedAScaleProductAndGetACompletedName) {
    EXPECT_EQ(AddDrawingReference(context_, "PLAN", 0, 1, 0, {0, 0}), 0u);
    EXPECT_EQ(AddDrawingReference(context_, "PLAN", 1, 0, 0, {0, 0}), 0u);
    ASSERT_NE(AddDrawingReference(context_, "PLAN", -1, 1, 0, {0, 0}), 0u);
    EXPECT_EQ(drawing_[drawing_.head].ShortString(entity_field::kReferenceName), "C:\\LK\\PLAN.LKD");
    EXPECT_EQ(UndoOperationName(undo_.LastOperation()), "lkdref");
}

TEST_F(EntityAdders, UndoRecordingOffChangesNothing) {
    {
        UndoRecordingPause pause(undo_);
        AddArc(context_, {0, 0}, {1, 0}, {0, 1});
    }
    EXPECT_EQ(undo_.LastOperation(), undo_code::kNothing);
    EXPECT_FALSE(undo_.Modified());
    EXPECT_TRUE(undo_.Recording());
    undo_.SetUndoOperation(0);
    EXPECT_EQ(hint_.hint, "Zpět");
    EXPECT_FALSE(hint_.enabled);
}

TEST_F(EntityAdders, UndoNamesCoverCodesThreeToThirtyTwoOnly) {
    EXPECT_EQ(UndoOperationName(2), "");
    EXPECT_EQ(UndoOperationName(3), "atrdef");
    EXPECT_EQ(UndoOperationName(23), "load");
    EXPECT_EQ(UndoOperationName(32), "stretch");
    EXPECT_EQ(UndoOperationName(33), "");
}

TEST_F(EntityAdders, CopiesOfSelectedEntitiesStandFirstInTheirOrder) {
    for (double x : {1.0, 2.0, 3.0, 4.0}) {
        Point p{x, 0};
        AddPolyline(context_, std::span<const Point>(&p, 1), false, true);
    }
    // Select the newest three (x = 4, 3, 2 from the head) and mark one with layer 9.
    EntityHandle at = drawing_.head;
    for (int i = 0; i < 3; ++i, at = drawing_[at].Next()) drawing_[at].SetByte(entity_field::kKindAndFlags, 0x11);
    drawing_[drawing_.head].SetByte(entity_field::kLayer, 9);
    CurrentProperties(variables_).Set(CurrentProperties::Layer, 5);
    EXPECT_EQ(AddEntityFromRecord(context_, 10, 0), 3);
    std::vector<std::pair<double, int>> order;
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle e) {
        order.push_back({drawing_[e].Double(entity_field::kVertices), drawing_[e].Layer()});
    });
    EXPECT_EQ(order, (std::vector<std::pair<double, int>>{{14, 9}, {13, 0}, {12, 0}, {4, 9}, {3, 0}, {2, 0}, {1, 0}}));
    EXPECT_EQ(CurrentProperties(variables_).Get(CurrentProperties::Layer), 5) << "the properties come back";
    EXPECT_EQ(UndoOperationName(undo_.LastOperation()), "copy");
}

TEST_F(EntityAdders, ACopyTakesTheCurrentLayerWhenTheSwitchSaysSo) {
    Point p{1, 1};
    AddPolyline(context_, std::span<const Point>(&p, 1), false, true);
    drawing_[drawing_.head].SetByte(entity_field::kKindAndFlags, 0x11);
    drawing_[drawing_.head].SetByte(entity_field::kLayer, 9);
    CurrentProperties(variables_).Set(CurrentProperties::Layer, 5);
    CopyKeepSwitches keep;
    keep.layer = false;
    AddEntityFromRecord(context_, 0, 0, keep);
    EXPECT_EQ(drawing_[drawing_.head].Layer(), 5);
}

}  // namespace
}  // namespace linework
