#include "drawing/layer_table.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "drawing/layer_names.h"
#include "support/entity_builders.h"
#include "support/temp_folder.h"
#include "winplat/paths.h"

namespace linework {
namespace {

struct LayerTableTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    void SetUp() override { layers.Reset(); }
};

TEST_F(LayerTableTest, DefaultsAndTheirPlaceInTheImage) {
    struct Case {
        uint8_t layer;
        uint32_t word;
    };
    for (Case c : {Case{0, 0x00010107}, Case{1, 0x00010101}, Case{7, 0x00010107}, Case{255, 0x000101FF}}) {
        EXPECT_EQ(layers.Word(c.layer), c.word) << int(c.layer);
    }
    // The table is integers 375..630: the 1320-byte setting block from its byte 28 on.
    auto block = image.BlockBytes(SystemVariableImage::kS2);
    EXPECT_EQ(block[28], 7) << "layer 0's colour";
    EXPECT_EQ(block[28 + 4 * 255], 255);
    EXPECT_EQ(block[28 + 4 * 255 + 2], 1) << "layer 255's line type";
}

TEST_F(LayerTableTest, PropertiesResolveByLayer) {
    layers.SetWord(3, 0x00040509);  // colour 9, width 5, line type 4
    struct Case {
        const char* what;
        EntityRecord entity;
        uint8_t insertLayer;
        uint8_t colour, width, lineType;
    };
    auto own = [](EntityRecord record, uint8_t colour, uint8_t width) {
        record.SetByte(entity_field::kColour, colour);
        record.SetByte(entity_field::kWidth, width);
        return record;
    };
    Case cases[] = {
        {"all by layer 3", test::Polyline({{0, 0}, {1, 1}}, 3), 3, 9, 5, 4},
        {"own colour and width", own(test::Polyline({{0, 0}, {1, 1}}, 3), 12, 2), 3, 12, 2, 4},
        {"own line type 2", test::Polyline({{0, 0}, {1, 1}}, 3, 0, 0x2A), 3, 9, 5, 2},
        {"a point's style is its marker", test::Polyline({{0, 0}}, 3, 0, 0x02), 3, 9, 5, 4},
        {"layer 0 in a block takes the insert's layer", test::Polyline({{0, 0}, {1, 1}}, 0), 3, 9, 5, 4},
        {"layer 0 in the drawing", test::Polyline({{0, 0}, {1, 1}}, 0), 0, 7, 1, 1},
        {"text has no line type", test::Text("a"), 3, 9, 5, 4},
    };
    for (auto& c : cases) {
        EXPECT_EQ(EffectiveColour(c.entity, layers, c.insertLayer), c.colour) << c.what;
        EXPECT_EQ(EffectiveWidth(c.entity, layers, c.insertLayer), c.width) << c.what;
        EXPECT_EQ(EffectiveLineType(c.entity, layers, c.insertLayer), c.lineType) << c.what;
    }
    EntityRecord arc = test::Arc({0, 0}, {1, 0}, {0, 1});
    arc.SetByte(entity_field::kLayer, 3);
    arc.SetByte(entity_field::kArcLineType, 6);
    EXPECT_EQ(EffectiveLineType(arc, layers, 3), 6);
}

TEST_F(LayerTableTest, ScaleRangeFlags) {
    LayerScaleRanges ranges;
    ranges.ranges[1] = {100, 10};
    ranges.ranges[2] = {0, 5};  // no upper limit
    struct Case {
        bool enabled;
        double scale;
        bool out0, out1, out2;
    };
    const Case cases[] = {
        {true, 10, false, false, false},   // the lower limit itself is inside
        {true, 9.999, false, true, false},
        {true, 99.99, false, false, false},
        {true, 100, false, true, false},   // the upper limit is outside
        {true, 1e9, false, true, false},
        {true, 4, false, true, true},
        {false, 1e9, false, false, false},
    };
    for (const Case& c : cases) {
        ranges.enabled = c.enabled;
        UpdateLayerScaleFlags(layers, ranges, c.scale);
        EXPECT_EQ(layers.Has(0, layer_flag::kOutOfScaleRange), c.out0) << c.scale;
        EXPECT_EQ(layers.Has(1, layer_flag::kOutOfScaleRange), c.out1) << c.scale;
        EXPECT_EQ(layers.Has(2, layer_flag::kOutOfScaleRange), c.out2) << c.scale;
        EXPECT_EQ(layers.Word(1) & ~layer_flag::kOutOfScaleRange, 0x00010101u) << "the rest of the word stays";
    }
}

TEST_F(LayerTableTest, ScaleRangesFromTheirSettingBlock) {
    std::vector<uint8_t> block(LayerScaleRanges::kBlockSize, 0);
    auto put = [&](size_t at, float value) {
        uint32_t bits = std::bit_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i) block[at + static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
    };
    put(8 * 255, 100.0f);      // layer 255: upper first
    put(8 * 255 + 4, 10.0f);  // then lower
    LayerScaleRanges ranges;
    ASSERT_TRUE(ranges.Load(block));
    EXPECT_EQ(ranges.ranges[255].upper, 100.0f);
    EXPECT_EQ(ranges.ranges[255].lower, 10.0f);
    block.pop_back();
    ranges.ranges[255] = {};
    EXPECT_FALSE(ranges.Load(block));
    EXPECT_EQ(ranges.ranges[255].upper, 0.0f) << "a block of another length is not taken";
}

TEST(CurrentProperties, Defaults) {
    SystemVariableImage image;
    CurrentProperties current(image);
    current.Reset();
    const int32_t expected[] = {0, 0, 0, 0, 0, 1, 5, 2};
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(image.Integer(633 + i), expected[i]) << i;
    EXPECT_EQ(current.Get(CurrentProperties::Font), 2);
    EXPECT_EQ(current.MarkerSize(), 2.0);
    EXPECT_EQ(current.PatternScale(), 10.0);
    // From byte 1060 of the 1320-byte setting block.
    EXPECT_EQ(image.BlockBytes(SystemVariableImage::kS2)[1060 + 4 * 6], 5);
}

// 128-byte records of a side file.
std::string Record(std::string_view text, uint8_t last = 0) {
    std::string record(128, '\0');
    record.replace(0, text.size(), text);
    record[127] = static_cast<char>(last);
    return record;
}

TEST(LayerNames, RecordsOfTheSideFile) {
    auto name = [](const std::string& record) {
        return LayerNameFromRecord(std::span<const uint8_t, 128>(reinterpret_cast<const uint8_t*>(record.data()), 128));
    };
    EXPECT_EQ(name(Record("Walls")), "Walls");
    EXPECT_EQ(name(Record(" \t\x01Zdi  vnit\xf8n\xed \x1f ")), "Zdi  vnit\xf8n\xed");
    EXPECT_EQ(name(Record(" ! ")), "!") << "33 is kept";
    EXPECT_EQ(name(Record("   ")), "");
    EXPECT_EQ(name(Record("Walls", 'x')), "") << "the 128th byte is not 0";
    EXPECT_EQ(name(Record(std::string(127, 'a'))), std::string(127, 'a'));
}

TEST(LayerNames, ReadFromTheDrawingsSideFileAndSaved) {
    test::TempFolder folder("lkl");
    std::string drawing = winplat::files::toWindows(folder.path() + "/PLAN.LKD");
    ASSERT_FALSE(drawing.empty());
    {
        std::ofstream side(folder.path() + "/plan.lkl", std::ios::binary);
        side << Record("zero") << Record("one", 1) << Record("  two  ");
    }
    EXPECT_EQ(LayerNamesFileName("C:\\A.B\\PLAN.LKD"), "C:\\A.B\\PLAN.LKL");
    EXPECT_EQ(ReadLayerName(drawing, 0), "zero") << "found without regard to case";
    EXPECT_EQ(ReadLayerName(drawing, 1), "");
    EXPECT_EQ(ReadLayerName(drawing, 2), "two");
    EXPECT_EQ(ReadLayerName(drawing, 3), "") << "beyond the end of the file";

    std::array<std::string, 256> names;
    names[0] = "ground";
    names[255] = std::string(200, 'z');
    ASSERT_TRUE(SaveLayerNames(drawing, names));
    EXPECT_EQ(ReadLayerName(drawing, 0), "ground");
    EXPECT_EQ(ReadLayerName(drawing, 2), "");
    EXPECT_EQ(ReadLayerName(drawing, 255), std::string(127, 'z')) << "cut to 127 characters";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
        EXPECT_EQ(entry.path().extension().string(), ".lkl") << "the saved names replace the old file, alone";
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace linework
