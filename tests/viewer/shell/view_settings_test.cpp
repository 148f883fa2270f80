// The view settings block: its defaults byte for byte as the document writer stores them, and the
// global block handed out whole.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/view_settings.h"
#include "support/tool_runner.h"
#include "viewer/store/vazazi_test_support.h"

namespace {

using lect32::ViewSettings;

static_assert(std::endian::native == std::endian::little, "the block's in-memory layout is its stored layout");

std::vector<uint8_t> BytesOf(const ViewSettings& settings) {
    std::vector<uint8_t> bytes(sizeof settings);
    std::memcpy(bytes.data(), &settings, sizeof settings);
    return bytes;
}

class ViewSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { lect32::ResetViewSettings(); }
};

// The record-file writer knows the block from its own field table; its defaults are ours.
TEST_F(ViewSettingsTest, DefaultsAreTheWritersBlock) {
    if (!tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass")) {
        GTEST_SKIP() << "python3 is missing: the writer's block cannot be made";
    }
    vazazi_test::ScratchFolder scratch;
    const std::filesystem::path out = scratch.host("defaults.bin");
    const std::string script = "import sys; sys.path.insert(0, sys.argv[1]); from lcnwriter import viewsettings; "
                               "sys.stdout.buffer.write(viewsettings.block())";
    ASSERT_TRUE(tool_runner::runTo(std::string(PYTHON_EXECUTABLE) + " -B -c '" + script + "' " +
                                       tool_runner::quoted(LCNWRITER_PARENT),
                                   out));
    std::ifstream in(out, std::ios::binary);
    const std::vector<uint8_t> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(written.size(), 520u);
    EXPECT_EQ(BytesOf(ViewSettings()), written);
}

// The members are packed: "+" copies each before gtest takes it by reference.
TEST_F(ViewSettingsTest, NamedDefaults) {
    const ViewSettings defaults;
    EXPECT_EQ(+defaults.windowFlags, 0x15);
    EXPECT_EQ(+defaults.width, 640);
    EXPECT_EQ(+defaults.height, 480);
    EXPECT_EQ(+defaults.dockFonts[7].index, -1);
    EXPECT_EQ(+defaults.dockColours[12], +ViewSettings::kSystemColour);
    EXPECT_EQ(+defaults.switches, 0x16);
    EXPECT_EQ(+defaults.languageId, 0);
    EXPECT_EQ(+defaults.cursorIds[2], 0xFFFF);
    EXPECT_EQ(+defaults.title[0], 0);
}

// The copy covers the whole block: the first byte, the title, the language and the last cursor id.
TEST_F(ViewSettingsTest, GetViewSettingsCopiesAll520Bytes) {
    ViewSettings stored;
    stored.windowFlags = 0x42;
    std::memcpy(stored.title, "Titulek", 8);
    stored.languageId = 0x0409;
    stored.cursorIds[2] = 0x1234;
    lect32::StoreViewSettings(stored);

    ViewSettings copy;
    std::memset(static_cast<void*>(&copy), 0xA5, sizeof copy);
    lect32::GetViewSettings(copy);
    EXPECT_EQ(BytesOf(copy), BytesOf(stored));
    EXPECT_EQ(+copy.cursorIds[2], 0x1234);
}

TEST_F(ViewSettingsTest, ResetWritesTheDefaultsIntoTheBlockGivenElseTheGlobalOne) {
    ViewSettings changed;
    changed.width = 1000;
    lect32::StoreViewSettings(changed);

    ViewSettings block;
    block.height = 1;
    lect32::ResetViewSettings(&block);
    EXPECT_EQ(BytesOf(block), BytesOf(ViewSettings()));
    ViewSettings global;
    lect32::GetViewSettings(global);
    EXPECT_EQ(+global.width, 1000);

    lect32::ResetViewSettings();
    lect32::GetViewSettings(global);
    EXPECT_EQ(BytesOf(global), BytesOf(ViewSettings()));
}

}  // namespace
