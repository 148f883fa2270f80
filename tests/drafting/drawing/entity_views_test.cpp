#include "drawing/entity_views.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "drawing/entity_builders.h"
#include "drawing/entity_geometry.h"

namespace linework {
namespace {

std::string KindOf(const EntityRecord& record) {
    return visitEntity(record, Overloaded{
        [](const PolylineView& v) { return "polyline " + std::to_string(v.VertexCount()); },
        [](const Polyline3DView& v) { return "3d " + std::to_string(v.VertexCount()); },
        [](const ArcView& v) { return std::string(v.IsCircle() ? "circle" : "arc"); },
        [](const TextView& v) { return "text " + std::string(v.Text()); },
        [](const AttributeDefinitionView& v) { return "attdef " + std::string(v.Tag()); },
        [](const DimensionView& v) { return "dimension " + std::string(v.Text()); },
        [](const InsertView& v) { return "insert " + std::to_string(v.Block()); },
        [](const ReferenceView& v) { return "reference " + std::string(v.FileName()); },
        [](const RasterImageView& v) { return "image " + std::string(v.FileName()); },
        [](const UnknownEntityView&) { return std::string("unknown"); },
    });
}

TEST(EntityViews, OneVisitPerKind) {
    const Point two[] = {{0, 0}, {1, 1}};
    const Point3 three[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};
    const Point dims[5] = {};
    // tag "TG", default "", prompt "P", flags 0x0081
    EntityRecord attribute(EntityKind::AttributeDefinition, 56 + 3 + 1 + 2 + 2);
    for (auto [at, value] : {std::pair{56, 2}, {57, 'T'}, {58, 'G'}, {59, 0}, {60, 1}, {61, 'P'}, {62, 0x81}}) {
        attribute.SetByte(static_cast<size_t>(at), static_cast<uint8_t>(value));
    }
    EXPECT_EQ(KindOf(MakePolyline(two)), "polyline 2");
    EXPECT_EQ(KindOf(MakePolyline3D(three)), "3d 3");
    EXPECT_EQ(KindOf(MakeArc({0, 0}, {1, 0}, {1, 0})), "circle");
    EXPECT_EQ(KindOf(MakeArc({0, 0}, {1, 0}, {0, 1})), "arc");
    EXPECT_EQ(KindOf(MakeText("HI", {})), "text HI");
    EXPECT_EQ(KindOf(attribute), "attdef TG");
    EXPECT_EQ(KindOf(MakeDimension(dims, 1, 0, "5")), "dimension 5");
    EXPECT_EQ(KindOf(MakeInsert(3, {})), "insert 3");
    EXPECT_EQ(KindOf(MakeReference("R.LKD", {})), "reference R.LKD");
    EXPECT_EQ(KindOf(MakeRasterImage("P.PCX", {}, 1, 1, 1, 1, 0)), "image P.PCX");
    AttributeDefinitionView view(attribute);
    EXPECT_EQ(view.Default(), "");
    EXPECT_EQ(view.Prompt(), "P");
    EXPECT_EQ(view.Flags(), 0x0081);
    EXPECT_TRUE(view.Invisible());
    EXPECT_TRUE(view.TakesValue());
}

TEST(EntityViews, FieldsByName) {
    EntityRecord text = MakeText("ABC", {1, 2}, {.layer = 4, .colour = 5, .width = 6}, 2.5, 1.5, 0.25, 0x9E);
    TextView t(text);
    EXPECT_EQ(t.Insertion(), (Point{1, 2}));
    EXPECT_EQ(t.Height(), 2.5);
    EXPECT_EQ(t.CharWidth(), 1.5);
    EXPECT_EQ(t.Angle(), 0.25);
    EXPECT_EQ(t.Font(), 9);
    EXPECT_EQ(t.Justification(), 2);
    EXPECT_EQ(t.VerticalAlignment(), 3);
    EXPECT_EQ(t.Layer(), 4);
    EXPECT_EQ(t.Colour(), 5);
    EXPECT_EQ(t.Width(), 6);
    EntityRecord arc = MakeArc({1, 1}, {4, 5}, {1, 6}, {}, 3);
    EXPECT_EQ(ArcView(arc).Radius(), 5);
    EXPECT_EQ(ArcView(arc).LineType(), 3);
    const Point one[] = {{7, 8}};
    EntityRecord point = MakePolyline(one, {}, 9, 0x2B, 2.5f);
    PolylineView p(point);
    EXPECT_TRUE(p.IsPoint());
    EXPECT_EQ(p.EndSymbol(), 9);
    EXPECT_EQ(p.LineType(), 3);
    EXPECT_EQ(p.PatternNumber(), 5);
    EXPECT_EQ(p.AuxiliarySize(), 2.5f);
    EntityRecord image = MakeRasterImage("P.PCX", {10, 20}, 9, 4, 0.5, 2, 0x0412);
    RasterImageView i(image);
    EXPECT_EQ(i.RightX(), 14.5);
    EXPECT_EQ(i.BottomY(), 12);
    EXPECT_EQ(i.Format(), 0x12);
    EXPECT_EQ(i.Display(), 0x04);
}

TEST(EntityViews, CountsStayWithinTheRecord) {
    struct Case {
        size_t size;
        uint8_t lastVertex;
        int segments;
    };
    const Case cases[] = {
        {PolylineRecordSize(3), 2, 2},  // as stored
        {PolylineRecordSize(3), 3, 2},  // one more than the record holds
        {PolylineRecordSize(3), 1, 1},  // fewer: the count wins
        {PolylineRecordSize(3) - 1, 2, 1},
        {20, 5, 0},
    };
    for (const Case& c : cases) {
        EntityRecord record(EntityKind::Polyline, c.size);
        record.SetByte(entity_field::kLastVertex, c.lastVertex);
        EXPECT_EQ(PolylineView(record).SegmentCount(), c.segments) << c.size << " " << int{c.lastVertex};
    }
    // An insert claiming three attribute values with room for the positions of two.
    EntityRecord insert(EntityKind::BlockInsert, 60 + 32 + 2);
    insert.SetByte(entity_field::kAttributeCount, 3);
    EXPECT_EQ(InsertView(insert).AttributeCount(), 2);
    EXPECT_EQ(InsertView(insert).AttributeValue(0), "");
    insert.SetByte(92, 1);
    insert.SetByte(93, 'V');
    EXPECT_EQ(InsertView(insert).AttributeValue(0), "V");
    EXPECT_EQ(InsertView(insert).AttributeValue(1), "");  // the record ends before it
    EXPECT_EQ(InsertView(insert).AttributeValue(2), "");
    insert.SetByte(entity_field::kAttributeCount, 40);
    EXPECT_EQ(InsertView(insert).AttributeCount(), 2);
}

TEST(EntityViews, BuildersCutToWhatARecordHolds) {
    std::vector<Point> many(300, Point{1, 1});
    EXPECT_EQ(PolylineView(MakePolyline(many)).VertexCount(), 256);
    EXPECT_EQ(MakePolyline(std::span(many).first(256)).Size(), 4116u);
    EXPECT_FALSE(MakePolyline({}));
    EXPECT_EQ(TextView(MakeText(std::string(300, 'x'), {})).Text().size(), 255u);
}

TEST(EntityGeometry, NonFiniteCoordinatesAnywhere) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const Point good[] = {{0, 0}, {1, 1}, {2, 2}};
    const Point badLast[] = {{0, 0}, {1, 1}, {2, nan}};
    const Point3 badZ[] = {{0, 0, 0}, {1, 1, inf}};
    const Point dims[5] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {-inf, 4}};
    struct Case {
        const char* what;
        EntityRecord record;
        bool finite;
    };
    Case cases[] = {
        {"polyline", MakePolyline(good), true},
        {"polyline, last vertex", MakePolyline(badLast), false},
        {"3-D height", MakePolyline3D(badZ), false},
        {"arc end", MakeArc({0, 0}, {1, 0}, {inf, 0}), false},
        {"text height", MakeText("A", {}, {}, nan), false},
        {"text", MakeText("A", {}, {}, 1), true},
        {"dimension point 5", MakeDimension(dims, 1, 0, ""), false},
        {"insert", MakeInsert(1, {nan, 0}), false},
        {"image pixel", MakeRasterImage("A", {0, 0}, 1, 1, inf, 1, 0), false},
        {"image", MakeRasterImage("A", {0, 0}, 1, 1, 1, 1, 0), true},
    };
    for (const Case& c : cases) EXPECT_EQ(HasFiniteGeometry(c.record), c.finite) << c.what;
}

TEST(EntityGeometry, BoundsOfArcsFollowTheirSweep) {
    struct Case {
        Point start, end;
        Box box;
    };
    const Case cases[] = {
        {{2, 0}, {0, 2}, {0, 0, 2, 2}},      // first quarter
        {{0, 2}, {2, 0}, {-2, -2, 2, 2}},    // the other three quarters
        {{-2, 0}, {2, 0}, {-2, -2, 2, 0}},   // lower half
        {{2, 0}, {2, 0}, {-2, -2, 2, 2}},    // circle
    };
    for (const Case& c : cases) {
        std::optional<Box> box = EntityBounds(MakeArc({0, 0}, c.start, c.end));
        ASSERT_TRUE(box);
        EXPECT_EQ(std::tuple(box->x1, box->y1, box->x2, box->y2), std::tuple(c.box.x1, c.box.y1, c.box.x2, c.box.y2));
    }
    const Point zig[] = {{3, -1}, {-2, 5}, {0, 0}};
    std::optional<Box> box = EntityBounds(MakePolyline(zig));
    EXPECT_EQ(std::tuple(box->x1, box->y1, box->x2, box->y2), std::tuple(-2.0, -1.0, 3.0, 5.0));
    EXPECT_FALSE(EntityBounds(MakeArc({0, 0}, {std::nan(""), 0}, {1, 0})));
}

TEST(EntityGeometry, MoveShiftsEveryPointOfTheKind) {
    EntityRecord insert(EntityKind::BlockInsert, 60 + 32 + 2);
    insert.SetByte(entity_field::kAttributeCount, 2);
    insert.SetDouble(entity_field::kXScale, 3);
    MoveEntity(insert, 1, -1);
    InsertView view(insert);
    EXPECT_EQ(view.Insertion(), (Point{1, -1}));
    EXPECT_EQ(view.AttributePosition(1), (Point{1, -1}));
    EXPECT_EQ(view.XScale(), 3);  // not a point
    EntityRecord arc = MakeArc({0, 0}, {1, 0}, {1, 0});
    MoveEntity(arc, 2, 3);
    EXPECT_TRUE(ArcView(arc).IsCircle());
    EXPECT_EQ(ArcView(arc).Centre(), (Point{2, 3}));
    EXPECT_EQ(ArcView(arc).End(), (Point{3, 3}));
}

}  // namespace
}  // namespace linework
