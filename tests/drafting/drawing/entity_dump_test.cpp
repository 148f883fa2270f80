#include "drawing/entity_dump.h"

#include <gtest/gtest.h>

#include "support/entity_builders.h"

namespace linework {
namespace {

EntityRecord Make(EntityKind kind, size_t size, std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    EntityRecord record(kind, size);
    for (auto [offset, value] : bytes) record.SetByte(offset, value);
    return record;
}

TEST(EntityDump, OneLinePerKind) {
    Drawing drawing;
    BlockHandle door = AddBlockDef(drawing, "DOOR", {1, 2});
    EntityRecord line = test::Polyline({{0, 0}, {10, 0.1}}, 4, 2, 3);
    line.SetByte(entity_field::kColour, 12);
    line.Store<float>(entity_field::kLevel, 2.5f);
    EntityRecord erased = test::Polyline({{-1, 1e300}});
    erased.SetByte(entity_field::kKindAndFlags, 0x19);
    EntityRecord insert = test::Insert(door, {5, 6});
    EntityRecord dangling = test::Insert(77);
    // tag "T", default "", prompt "P?", flags 0x0081
    EntityRecord attribute = Make(EntityKind::AttributeDefinition, 64,
                                  {{56, 1}, {57, 'T'}, {58, 0}, {59, 2}, {60, 'P'}, {61, '?'}, {62, 0x81}});
    EntityRecord image = Make(EntityKind::RasterImage, 58, {{56, 1}, {57, 'a'}, {16, 9}, {18, 4}, {23, 0x02}});
    struct Case {
        EntityRecord record;
        const char* dump;
    };
    Case cases[] = {
        {std::move(line),
         "line flags=0x00 layer=4 colour=12 width=0 level=2.5 aux=0 end=2 style=3 vertices=2 (0,0) (10,0.1)"},
        {std::move(erased),
         "point flags=0x09 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=1 (-1,1e+300)"},
        {test::Arc({0, 0}, {1, 0}, {1, 0}),
         "circle flags=0x00 layer=0 colour=0 width=0 centre=(0,0) start=(1,0) end=(1,0) type=0"},
        {test::Text("Dv\xe9\xf8\x65", {1, 2}),
         "text flags=0x00 layer=0 colour=0 width=0 at=(1,2) height=0 charwidth=0 angle=0 justify=0 "
         "text=\"Dv\xe9\xf8\x65\""},
        {std::move(attribute),
         "attdef flags=0x00 layer=0 colour=0 width=0 at=(0,0) height=0 charwidth=0 angle=0 justify=0 "
         "tag=\"T\" default=\"\" prompt=\"P?\" flags=0x0081"},
        {std::move(insert),
         "insert flags=0x00 layer=0 colour=0 width=0 block=\"DOOR\" at=(5,6) scale=(1,1) angle=0 "
         "display=0 attributes=0"},
        {std::move(dangling),
         "insert flags=0x00 layer=0 colour=0 width=0 block=none at=(0,0) scale=(1,1) angle=0 "
         "display=0 attributes=0"},
        {std::move(image),
         "image flags=0x00 layer=0 colour=0 width=0 at=(0,0) pixel=(0,0) last=9,4 flags=0x0200 file=\"a\""},
    };
    for (const Case& c : cases) EXPECT_EQ(DumpEntity(drawing, c.record), c.dump);
}

TEST(EntityDump, BlocksThenTheDrawingListNewestFirst) {
    Drawing drawing;
    BlockHandle door = AddBlockDef(drawing, "DOOR", {1, 2});
    AppendToBlock(drawing, door, test::Polyline({{0, 0}}));
    PushEntity(drawing, test::Text("old"));
    PushEntity(drawing, test::Insert(door));
    EXPECT_EQ(DumpDrawing(drawing),
              "block \"DOOR\" base=(1,2)\n"
              "  point flags=0x00 layer=0 colour=0 width=0 aux=0 end=0 style=0 vertices=1 (0,0)\n"
              "insert flags=0x00 layer=0 colour=0 width=0 block=\"DOOR\" at=(0,0) scale=(1,1) angle=0 display=0 "
              "attributes=0\n"
              "text flags=0x00 layer=0 colour=0 width=0 at=(0,0) height=0 charwidth=0 angle=0 justify=0 "
              "text=\"old\"\n");
}

}  // namespace
}  // namespace linework
