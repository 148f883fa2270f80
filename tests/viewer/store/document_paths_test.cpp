#include "store/document_paths.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "store/disk_file.h"
#include "vazazi_test_support.h"

namespace {

using lect32::ExpandDocumentRelativePath;
using lect32::GetMediaType;
using lect32::kDocumentPathBuffer;
using lect32::MakeDocumentRelativePath;
using lect32::ResolveDocumentFile;
using lect32::SetDocumentPathForPaths;

// Each test starts and ends with no document open, as the setting is process-wide.
class DocumentPathTest : public ::testing::Test {
protected:
    void SetUp() override { SetDocumentPathForPaths(nullptr); }
    void TearDown() override { SetDocumentPathForPaths(nullptr); }

    static std::string buffer(const std::string& text) {
        std::string b(kDocumentPathBuffer, '\0');
        std::memcpy(b.data(), text.c_str(), text.size() + 1);
        return b;
    }
};

TEST_F(DocumentPathTest, NothingChangesWithoutAnOpenDocument) {
    for (const char* folder : {static_cast<const char*>(nullptr), "c:\\doc\\book.vzz"}) {
        std::string path = buffer("C:\\DOC\\Pictures\\X.GIF");
        EXPECT_EQ(MakeDocumentRelativePath(path.data(), folder), 0);
        EXPECT_STREQ(path.c_str(), "C:\\DOC\\Pictures\\X.GIF");
        path = buffer("pictures\\x.gif");
        EXPECT_EQ(MakeDocumentRelativePath(path.data(), folder), 0);
        EXPECT_STREQ(path.c_str(), "pictures\\x.gif");
    }
    std::string path = buffer("\\pictures\\x.gif");
    EXPECT_EQ(ExpandDocumentRelativePath(path.data()), 0);
    EXPECT_STREQ(path.c_str(), "\\pictures\\x.gif");
    // A folder given is enough to expand.
    EXPECT_EQ(ExpandDocumentRelativePath(path.data(), "d:\\books\\"), 1);
    EXPECT_STREQ(path.c_str(), "d:\\books\\pictures\\x.gif");
}

TEST_F(DocumentPathTest, MakeRelative) {
    struct Case {
        const char* path;
        const char* folder;  // null: the open document's
        const char* expected;
        int result;
    } cases[] = {
        {"pictures\\x.gif", nullptr, "\\pictures\\x.gif", 1},
        {"Ab\\C", nullptr, "\\Ab\\C", 1},
        {"C:\\DOC\\Pictures\\X.GIF", nullptr, "\\pictures\\x.gif", 1},
        {"c:\\doc\\x.gif", nullptr, "\\x.gif", 1},
        {"C:\\Doc\\\xC8" "AJ.GIF", nullptr, "\\\xE8" "aj.gif", 1},
        {"C:\\Other\\X.GIF", nullptr, "c:\\other\\x.gif", 0},
        {"C:\\DOCS\\X.GIF", nullptr, "c:\\docs\\x.gif", 0},
        {"C:\\DOC", nullptr, "c:\\doc", 0},
        {"$SYS\\X.GIF", nullptr, "$SYS\\X.GIF", 0},
        {"\\Pictures\\X.GIF", nullptr, "\\Pictures\\X.GIF", 0},
        {"\\\\SRV\\Share\\X.GIF", nullptr, "\\\\srv\\share\\x.gif", 0},
        {"\\\\SRV\\Share\\Doc\\A.GIF", "\\\\srv\\share\\doc\\", "\\a.gif", 1},
        {"C:\\Other\\X.gif", "c:\\other\\file.vzz", "\\x.gif", 1},
        {"C:\\Doc\\X.gif", "book.vzz", "c:\\doc\\x.gif", 0},
        {"a:bc", nullptr, "a:bc", 0},
        {"AB", nullptr, "ab", 0},
        {"X:", nullptr, "x:", 0},
        {"A", nullptr, "a", 0},
        {"", nullptr, "", 0},
    };
    SetDocumentPathForPaths("C:\\Doc\\Book.vzz");
    for (const Case& c : cases) {
        std::string path = buffer(c.path);
        EXPECT_EQ(MakeDocumentRelativePath(path.data(), c.folder), c.result) << c.path;
        EXPECT_STREQ(path.c_str(), c.expected) << c.path;
    }
}

TEST_F(DocumentPathTest, Expand) {
    struct Case {
        const char* path;
        const char* folder;
        const char* expected;
        int result;
    } cases[] = {
        {"\\pictures\\x.gif", nullptr, "C:\\Doc\\pictures\\x.gif", 1},
        {"\\x.gif", "d:\\f\\", "d:\\f\\x.gif", 1},
        {"\\x.gif", "nofolder", "\\x.gif", 0},
        {"\\\\srv\\x.gif", nullptr, "\\\\srv\\x.gif", 0},
        {"c:\\x.gif", nullptr, "c:\\x.gif", 0},
        {"pictures\\x.gif", nullptr, "pictures\\x.gif", 0},
        {"$x.gif", nullptr, "$x.gif", 0},
        {"", nullptr, "", 0},
    };
    SetDocumentPathForPaths("C:\\Doc\\Book.vzz");
    for (const Case& c : cases) {
        std::string path = buffer(c.path);
        EXPECT_EQ(ExpandDocumentRelativePath(path.data(), c.folder), c.result) << c.path;
        EXPECT_STREQ(path.c_str(), c.expected) << c.path;
    }
}

TEST_F(DocumentPathTest, ResultsThatDoNotFitAreRefused) {
    SetDocumentPathForPaths("C:\\Doc\\Book.vzz");
    const std::string longName(kDocumentPathBuffer - 4, 'a');
    std::string path = buffer("\\" + longName);
    EXPECT_EQ(ExpandDocumentRelativePath(path.data()), 0);
    EXPECT_EQ(path.c_str(), "\\" + longName);

    const std::string full(kDocumentPathBuffer - 1, 'b');
    path = buffer(full);
    EXPECT_EQ(MakeDocumentRelativePath(path.data()), 0);
    EXPECT_EQ(path.c_str(), full);
}

// Stored paths of every form found in a folder whose files have other letter case.
TEST_F(DocumentPathTest, ResolveAgainstAFolderOnDisk) {
    vazazi_test::ScratchFolder scratch;
    const std::string folder = scratch.windows("Doc");
    for (const char* file : {"Doc/Pictures/Photo.JPG", "Doc/Beside.Gif", "Doc/SUB/inner/Deep.Png", "Other/Away.wav"}) {
        std::filesystem::create_directories(scratch.host(file).parent_path());
        std::ofstream(scratch.host(file)) << "x";
    }
    std::string upperFolder = folder;
    for (char& c : upperFolder) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string away = scratch.windows("Other") + "\\AWAY.WAV";

    struct Case {
        std::string path;
        std::string expected;  // empty: not found, the path stays
    } cases[] = {
        {"\\pictures\\photo.jpg", folder + "\\pictures\\photo.jpg"},
        {"\\PICTURES\\PHOTO.JPG", folder + "\\PICTURES\\PHOTO.JPG"},
        {"\\sub\\inner\\deep.png", folder + "\\sub\\inner\\deep.png"},
        {upperFolder + "\\PICTURES\\PHOTO.JPG", upperFolder + "\\PICTURES\\PHOTO.JPG"},
        {folder + "\\beside.gif", folder + "\\beside.gif"},
        {away, away},
        // Moved: the stored place is gone, the name is found beside the document.
        {"c:\\old\\place\\BESIDE.GIF", folder + "\\BESIDE.GIF"},
        {"\\old\\beside.gif", folder + "\\beside.gif"},
        {"\\\\srv\\share\\beside.gif", folder + "\\beside.gif"},
        {"beside.gif", folder + "\\beside.gif"},
        // The name beside the document is not there either.
        {"c:\\old\\place\\photo.jpg", ""},
        {"\\missing.gif", ""},
        {"pictures\\photo.jpg", ""},
        {"", ""},
    };
    SetDocumentPathForPaths((folder + "\\Book.vzz").c_str());
    for (const Case& c : cases) {
        std::string path = buffer(c.path);
        const int result = ResolveDocumentFile(path.data());
        EXPECT_EQ(result, c.expected.empty() ? 0 : 1) << c.path;
        EXPECT_EQ(path.c_str(), c.expected.empty() ? c.path : c.expected) << c.path;
        if (result) {
            EXPECT_TRUE(lect32::DiskFile::Exists(path.c_str())) << path.c_str();
        }
    }

    // A folder given takes the place of the document's.
    SetDocumentPathForPaths(nullptr);
    std::string path = buffer("\\pictures\\photo.jpg");
    EXPECT_EQ(ResolveDocumentFile(path.data()), 0);
    EXPECT_EQ(ResolveDocumentFile(path.data(), (folder + "\\").c_str()), 1);
    EXPECT_EQ(path.c_str(), folder + "\\pictures\\photo.jpg");
}

TEST_F(DocumentPathTest, MediaTypes) {
    struct Case {
        const char* name;
        int type;
    } cases[] = {
        {"a.pcx", 1},          {"a.gif", 2},        {"a.tif", 3},          {"a.bmp", 4},
        {"a.wpg", 5},          {"a.ico", 6},        {"a.mac", 7},          {"a.tga", 8},
        {"a.jpg", 9},          {"a.png", 10},       {"a.wmf", 100},        {"a.avi", 201},
        {"a.wav", 204},        {"a.mid", 205},      {"PHOTO.JPG", 9},      {"c:\\x\\a.tar.Gif", 2},
        {"photo", 0},          {"c:\\pic.d\\photo", 0}, {"a.", 0},         {"a.jpeg", 0},
        {"a.tiff", 0},         {"a.abcdefghijkl", 0}, {"a.gifabcdefghi", 0}, {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(GetMediaType(c.name), c.type) << c.name;
}

}  // namespace
