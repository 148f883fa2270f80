// The table of temporary files: entries shared by path, the file deleted with its entry, and the
// media layer's default deleting an object's file.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "page/page_services.h"
#include "page/temp_files.h"
#include "page_test_support.h"
#include "store/file_name_table.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

namespace fs = std::filesystem;

class TempFilesTest : public ::testing::Test {
protected:
    std::string make(const std::string& name) {
        std::ofstream(folder_.host(name)) << "data";
        return folder_.windows(name);
    }
    vazazi_test::ScratchFolder folder_;
    winplat::testing::DebugCapture log_;
};

TEST_F(TempFilesTest, AddedPathsAreSharedAndKeepTheirCase) {
    const std::string path = make("Lnef0001.TMP");
    const int16_t index = AddTempFile(path.c_str());
    ASSERT_GE(index, 0);
    EXPECT_EQ(AddTempFile(path.c_str()), index);
    char kept[FileNameTable::kPathBuffer];
    TempFileTable().GetPath(index, kept);
    EXPECT_EQ(std::string(kept), path);
    DeleteTempFile(index);
    EXPECT_FALSE(fs::exists(folder_.host("Lnef0001.TMP")));
}

TEST_F(TempFilesTest, DeletingRemovesTheFileAndTheEntry) {
    const std::string first = make("a.tmp"), second = make("b.tmp");
    const int16_t a = AddTempFile(first.c_str()), b = AddTempFile(second.c_str());
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ASSERT_NE(a, b);
    DeleteTempFile(a);
    EXPECT_FALSE(fs::exists(folder_.host("a.tmp")));
    EXPECT_TRUE(fs::exists(folder_.host("b.tmp"))) << "the other entry's file stays";
    char path[FileNameTable::kPathBuffer] = "x";
    EXPECT_EQ(TempFileTable().GetPath(a, path), 0);
    // The media layer's default deletes an object's file by its index.
    ObjectMedia media;
    media.DeleteTempFile(b);
    EXPECT_FALSE(fs::exists(folder_.host("b.tmp")));
}

TEST_F(TempFilesTest, RefusalsLeaveFilesAlone) {
    const std::string path = make("c.tmp");
    EXPECT_EQ(AddTempFile(""), -1);
    EXPECT_EQ(AddTempFile(nullptr), -1);
    EXPECT_EQ(AddTempFile(std::string(600, 'a').c_str()), -1);
    const int16_t index = AddTempFile(path.c_str());
    ASSERT_GE(index, 0);
    DeleteTempFile(-1);
    DeleteTempFile(static_cast<int16_t>(index + 1000));
    EXPECT_TRUE(fs::exists(folder_.host("c.tmp")));
    EXPECT_TRUE(log_.contains("no such entry"));
    DeleteTempFile(index);
    DeleteTempFile(index);  // a second time: the entry is gone, nothing happens
    EXPECT_FALSE(fs::exists(folder_.host("c.tmp")));
}

}  // namespace
}  // namespace lect32
