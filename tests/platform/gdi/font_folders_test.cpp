// WINPLAT_FONTS naming folders: the catalogue then knows the fonts in those folders and nothing
// else, so a run's text does not depend on what the machine has installed.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "font_files.h"
#include "text/installed_fonts.h"
#include "winplat/testing.h"

namespace {

using winplat::text::CatalogueFace;
using winplat::text::fontFoldersOf;
using winplat::text::readInstalledFaces;

TEST(FontFolders, TheSettingNamesFoldersSeparatedBySemicolons) {
    struct Case {
        const char* setting;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {nullptr, {}},
        {"test", {}},
        {"", {}},
        {"/a", {"/a"}},
        {"/a;/b c;/d", {"/a", "/b c", "/d"}},
        {";/a;;/b;", {"/a", "/b"}},
        {"tests", {"tests"}},  // a folder, not the test face
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fontFoldersOf(c.setting), c.folders) << (c.setting ? c.setting : "(unset)");
    }
}

class FolderOfFonts : public ::testing::Test {
  protected:
    void SetUp() override {
        // One folder per process and test: ctest runs the tests of this fixture side by side.
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("winplat_font_folder_" + std::to_string(::getpid()) + "_" + test->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "nested");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_F(FolderOfFonts, AreTheOnlyFontsTheCatalogueKnows) {
    const std::string file = (folder_ / "nested" / "folder-sans.ttf").string();
    if (!fonttest::writeRenamedFont("LiberationSans-Regular.ttf", "Winplat Folder Sans", "Regular", file))
        GTEST_SKIP() << "LiberationSans-Regular.ttf is not installed (fonts-liberation2)";
    fonttest::writeFile((folder_ / "notes.txt").string(), "no font");

    const std::vector<CatalogueFace> faces = readInstalledFaces({folder_.string()});
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].file, file);
    EXPECT_EQ(faces[0].families, std::vector<std::string>{"Winplat Folder Sans"});
    // The system's own fonts are not there, though the system has Liberation Sans.
    EXPECT_FALSE(fonttest::installedFile("LiberationSans-Regular.ttf").empty());
}

TEST_F(FolderOfFonts, AMissingFolderGivesNoFontsAndSaysSo) {
    const winplat::testing::DebugCapture debug;
    EXPECT_TRUE(readInstalledFaces({(folder_ / "absent").string()}).empty());
    EXPECT_TRUE(debug.contains("no fonts read from the folder")) << debug.text();
}

}  // namespace
