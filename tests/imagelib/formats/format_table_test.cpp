#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/registry/library_state.h"
#include "formats/format_table.h"
#include "resources/pixmill_ids.h"
#include "winplat/resources.h"

namespace {

using pixmill::formatRows;

struct Expected {
    const char* extension;
    int id;
    const char* name;
};

constexpr Expected kRows[pixmill::kFormatCount] = {
    {".pcx", 10, "ZSoft Corporation (*.pcx)"},
    {".gif", 20, "CompuServe GIF(*.gif)"},
    {".tif", 30, "Tagged Image File (*.tif)"},
    {".bmp", 40, "Windows Bitmap (*.bmp)"},
    {".dib", 41, "Windows Bitmap (*.dib)"},
    {".rle", 42, "Windows Bitmap (*.rle)"},
    {".wpg", 50, "WordPerfect Graphics (*.wpg)"},
    {".ico", 60, "Windows Icon (*.ico)"},
    {".mac", 70, "MacPaint (*.mac)"},
    {".tga", 80, "Truevision Targa (*.tga)"},
    {".jpg", 90, "File Interchange Format (*.jpg)"},
    {".jpeg", 91, "File Interchange Format (*.jpeg)"},
    {".png", 100, "Portable Network Graphics (*.png)"},
    {".bmi", 110, "Tarvo Bitmap Image (*.bmi)"},
    {".pcd", 120, "Kodak Photo CD Image (*.pcd)"},
};

void expectLibraryRows() {
    static_assert(sizeof(PxlFormatRow) == 64);
    const auto& rows = formatRows();
    for (int i = 0; i < pixmill::kFormatCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(rows[i].extension, kRows[i].extension);
        EXPECT_EQ(rows[i].formatId, kRows[i].id);
        EXPECT_STREQ(rows[i].name, kRows[i].name);
    }
}

TEST(FormatRows, FollowTheTableWithTheirNames) {
    expectLibraryRows();
}

TEST(FormatRows, StartUpAgainBuildsTheSameRows) {
    InitImageLibrary();
    expectLibraryRows();
}

TEST(FormatRows, WithoutAStringTableTheNamesStayEmpty) {
    pixmill::buildFormatRows(nullptr);
    for (const PxlFormatRow& row : formatRows()) EXPECT_STREQ(row.name, "") << row.extension;
    pixmill::buildFormatRows(pixmill::libraryInstance());
    expectLibraryRows();
}

// A module whose first format name is longer than the row's field and whose other names are
// missing.
const std::string kLongName(70, 'n');
const winplat::StringResource kStrings[] = {
    {pixmill::res::kFormatNamePcx, kLongName.c_str(), static_cast<uint32_t>(kLongName.size())}};
const winplat::ModuleResources kOtherModule = {"formats_other.dll", false, kStrings, 1};

TEST(FormatRows, LongNamesAreCutToTheFieldAndMissingOnesLeftEmpty) {
    HINSTANCE other = winplat::registerModule(kOtherModule, &kOtherModule);
    ASSERT_NE(other, nullptr);
    pixmill::buildFormatRows(other);
    const auto& rows = formatRows();
    EXPECT_EQ(std::string(rows[0].name), kLongName.substr(0, 51));
    EXPECT_EQ(rows[0].formatId, 10);
    for (int i = 1; i < pixmill::kFormatCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(rows[i].name, "");
        EXPECT_STREQ(rows[i].extension, kRows[i].extension);
    }
    winplat::unregisterModule(other);

    pixmill::buildFormatRows(pixmill::libraryInstance());
    expectLibraryRows();
}

}  // namespace
