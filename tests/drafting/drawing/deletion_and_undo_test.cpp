// Two-stage deletion and undo on a drawing of its own, without scripts.
#include "drawing/deletion_and_undo.h"

#include <gtest/gtest.h>

#include "drawing/layer_table.h"
#include "support/entity_builders.h"

namespace linework {
namespace {

struct DeletionTest : ::testing::Test {
    Drawing drawing;
    SystemVariableImage variables;
    UndoRecorder undo;
    AdderContext context{.drawing = drawing, .variables = variables, .undo = undo, .programFolder = "C:\\", .textLine = {}};

    void SetUp() override { ResetDrawingSettings(variables); }
    EntityHandle Push(double x) { return PushEntity(drawing, test::Polyline({{x, 0}, {x, 1}})); }
    void SetFlag(EntityHandle entity, uint8_t flag) {
        drawing[entity].SetByte(entity_field::kKindAndFlags, drawing[entity].KindAndFlags() | flag);
    }
    std::vector<double> Xs(bool erasedToo = true) {
        std::vector<double> xs;
        ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
            if (erasedToo || !drawing[at].Erased()) xs.push_back(drawing[at].Double(entity_field::kVertices));
        });
        return xs;
    }
};

TEST_F(DeletionTest, FreeingTheWalkPositionMovesItToItsSuccessor) {
    EntityHandle first = Push(1);
    EntityHandle second = Push(2);
    Push(3);
    drawing.walkPosition = second;
    drawing.current = second;
    SetFlag(second, entity_flag::kErased);
    undo.SetUndoOperation(undo_code::kErase);
    CommitPendingDeletes(context);
    EXPECT_EQ(drawing.walkPosition, first);
    EXPECT_EQ(drawing.current, 0u);
    EXPECT_EQ(Xs(), (std::vector<double>{3, 1}));
}

TEST_F(DeletionTest, CommitFreesOnlyAfterAnErasingOperation) {
    const uint8_t codes[] = {undo_code::kLine, undo_code::kCopy, undo_code::kBlock, undo_code::kMove,
                             undo_code::kNothing};
    for (uint8_t code : codes) {
        SCOPED_TRACE(static_cast<int>(code));
        SetFlag(Push(1), entity_flag::kErased);
        undo.SetUndoOperation(code);
        CommitPendingDeletes(context);
        EXPECT_EQ(Xs().size(), 1u);
        EXPECT_EQ(undo.LastOperation(), undo_code::kNothing);
        ClearDrawing(drawing);
    }
    for (uint8_t code : {undo_code::kErase, undo_code::kEraseNewest, undo_code::kExplode}) {
        SCOPED_TRACE(static_cast<int>(code));
        Push(2);
        SetFlag(Push(1), entity_flag::kErased);
        undo.SetUndoOperation(code);
        undo.SetModified(false);
        CommitPendingDeletes(context);
        EXPECT_EQ(Xs(), std::vector<double>{2});
        EXPECT_FALSE(undo.Modified());
        ClearDrawing(drawing);
    }
}

TEST_F(DeletionTest, UndoOfAnExplosionFreesThePiecesAndRestoresTheWhole) {
    SetFlag(Push(1), entity_flag::kErased);  // the exploded entity
    drawing.walkPosition = drawing.head;
    Push(10);  // its pieces
    Push(11);
    undo.SetUndoOperation(undo_code::kExplode);
    EXPECT_TRUE(UndoLastOperation(context, NoSelectionEdits()));
    EXPECT_EQ(Xs(), std::vector<double>{1});
    EXPECT_FALSE(drawing[drawing.head].Erased());
    EXPECT_FALSE(UndoLastOperation(context, NoSelectionEdits()));
}

TEST_F(DeletionTest, AWalkPositionOutsideTheListErasesNothing) {
    Push(1);
    EntityHandle gone = Push(2);
    Push(3);
    // The two newest entities leave the list without being freed: the mark is no longer in it.
    drawing.head = drawing[drawing[drawing.head].Next()].Next();
    drawing.walkPosition = gone;
    undo.SetUndoOperation(undo_code::kLine);
    UndoLastOperation(context, NoSelectionEdits());
    EXPECT_EQ(Xs(false), std::vector<double>{1});
}

TEST_F(DeletionTest, EraseNewestPassesOverInactiveLayersAndProtectedImages) {
    EntityHandle plain = Push(1);
    LayerTable layers(variables);
    const uint32_t flags[] = {layer_flag::kHidden, layer_flag::kLocked, layer_flag::kOutOfScaleRange};
    for (uint32_t flag : flags) {
        EntityHandle entity = Push(5);
        drawing[entity].SetByte(entity_field::kLayer, 9);
        layers.SetWord(9, layers.Word(9) | flag);
        EXPECT_EQ(EraseNewestEntity(context), NewestErased::Other);
        EXPECT_TRUE(drawing[plain].Erased());
        EXPECT_FALSE(drawing[entity].Erased());
        layers.Reset();
        ClearDrawing(drawing);
        plain = Push(1);
    }
    EntityRecord image(EntityKind::RasterImage, 57);
    image.Store<uint16_t>(entity_field::kImageFlags, 0x0400);
    PushEntity(drawing, std::move(image));
    EXPECT_EQ(EraseNewestEntity(context), NewestErased::Other);
    ClearDrawing(drawing);
    EXPECT_EQ(EraseNewestEntity(context), NewestErased::None);
    Push(2);
    EXPECT_EQ(EraseNewestEntity(context), NewestErased::Head);
}

}  // namespace
}  // namespace linework
