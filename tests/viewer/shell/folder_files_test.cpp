// The files of a folder matching a mask, added to a string list by name or by full path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/folder_files.h"
#include "store/string_list.h"
#include "viewer/store/vazazi_test_support.h"

namespace {

using lect32::FileNaming;

std::vector<std::string> Entries(lect32::StringList& list) {
    std::vector<std::string> entries;
    for (uint16_t i = 0; i < list.GetCount(); ++i) {
        char text[256] = {};
        list.GetString(i, text);
        entries.emplace_back(text);
    }
    return entries;
}

class FolderFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"b.clf", "A.CLF", "c.txt", "0409.clf.bak", "noext"}) std::ofstream(scratch_.host(name)) << "x";
        // A folder whose name matches is not a file.
        std::filesystem::create_directories(scratch_.host("d.clf"));
    }

    vazazi_test::ScratchFolder scratch_;
};

TEST_F(FolderFilesTest, BareNamesOfTheMatchingFilesInNameOrder) {
    lect32::StringList list;
    EXPECT_EQ(lect32::ListFilesInFolder(scratch_.windows("").c_str(), list, "*.clf", FileNaming::Bare), 2);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"A.CLF", "b.clf"}));
}

TEST_F(FolderFilesTest, FullPathsWithOrWithoutTheFoldersBackslash) {
    std::string folder = scratch_.windows("");
    ASSERT_EQ(folder.back(), '\\');
    for (const std::string& given : {folder, folder.substr(0, folder.size() - 1)}) {
        lect32::StringList list;
        EXPECT_EQ(lect32::ListFilesInFolder(given.c_str(), list, "?.txt", FileNaming::FullPath), 1) << given;
        EXPECT_EQ(Entries(list), std::vector<std::string>{folder + "c.txt"}) << given;
    }
}

TEST_F(FolderFilesTest, CountsOnlyWhatItAdds) {
    lect32::StringList list;
    list.AddString("earlier", 7);
    EXPECT_EQ(lect32::ListFilesInFolder(scratch_.windows("").c_str(), list, "*", FileNaming::Bare), 5);
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(lect32::ListFilesInFolder(scratch_.windows("").c_str(), list, "*.lcn", FileNaming::Bare), 0);
    EXPECT_EQ(lect32::ListFilesInFolder(scratch_.windows("missing").c_str(), list, "*", FileNaming::Bare), 0);
    EXPECT_EQ(list.GetCount(), 6);
}

TEST_F(FolderFilesTest, APathTooLongForTheListIsLeftOutNotCut) {
    // A folder whose path leaves room for "\s.clf" within the list's 255 bytes, not for a longer name.
    const std::string deep(249 - scratch_.windows("").size(), 'n');
    std::filesystem::create_directories(scratch_.host(deep));
    std::ofstream(scratch_.host(deep) / "long_enough_name.clf") << "x";
    std::ofstream(scratch_.host(deep) / "s.clf") << "x";
    const std::string folder = scratch_.windows(deep);
    ASSERT_EQ(folder.size() + 6, 255u);
    lect32::StringList list;
    EXPECT_EQ(lect32::ListFilesInFolder(folder.c_str(), list, "*.clf", FileNaming::FullPath), 1);
    EXPECT_EQ(Entries(list), std::vector<std::string>{folder + "\\s.clf"});
}

}  // namespace
