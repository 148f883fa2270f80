// The picture store beside the document and inside it, and pictures loaded from files and from
// the store, over documents the independent document writer makes.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/picture_loading.h"
#include "page/page_services.h"
#include "page/picture_store.h"
#include "picture_test_support.h"
#include "pixmill/pixmill.h"
#include "store/companion_files.h"
#include "store/document_paths.h"
#include "store/vazazi_file.h"
#include "support/tool_runner.h"
#include "vexmill/vexmill.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace lect32 {
namespace {

namespace fs = std::filesystem;
using picture_test::buildDocument;
using picture_test::writeBmp;

// A picture w x h of one colour, as a BMP file in the folder.
void plainBmp(const fs::path& path, int width, int height, COLORREF colour) {
    writeBmp(path, width, height, std::vector<COLORREF>(static_cast<size_t>(width * height), colour));
}

// The store's pictures are BMP files of sizes the tests tell apart: picture n of the store is
// (n + 2) x 3 beside the document and (n + 10) x 3 inside it.
std::string storeDescription(bool inside, int pictures) {
    std::string items;
    for (int n = 1; n <= pictures; ++n) {
        items += std::string(n > 1 ? ", " : "") + "{\"file\": \"" + (inside ? "in" : "out") + std::to_string(n) + ".bmp\"}";
    }
    return std::string("{\"name\": \"kniha\", \"inside\": ") + (inside ? "true" : "false") + ", \"pictureStore\": [" +
           items + "]}";
}

class PictureStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer to test with";
        for (int n = 1; n <= 3; ++n) {
            plainBmp(folder_.host("out" + std::to_string(n) + ".bmp"), n + 2, 3, picture_test::kRed);
            plainBmp(folder_.host("in" + std::to_string(n) + ".bmp"), n + 10, 3, picture_test::kBlue);
        }
    }
    void TearDown() override { SetDocumentPathForPaths(nullptr); }

    // Builds the document into a folder of the scratch folder and opens it there.
    fs::path build(const std::string& sub, bool inside, int pictures) {
        const fs::path where = folder_.host(sub);
        fs::create_directories(where);
        for (const auto& entry : fs::directory_iterator(folder_.host("")))
            if (entry.path().extension() == ".bmp") fs::copy_file(entry.path(), where / entry.path().filename(), fs::copy_options::overwrite_existing);
        EXPECT_TRUE(buildDocument(storeDescription(inside, pictures), where));
        return where;
    }
    void open(const std::string& windowsPath) {
        document_ = windowsPath;
        SetDocumentPathForPaths(document_.c_str());
    }
    // The width of picture n as the store yields it; 0 when it does not.
    static int16_t storedWidth(uint16_t number) {
        char path[kDocumentPathBuffer] = "";
        const uint16_t id = LoadPicture(path, kRasterPicture, number);
        if (!id) return 0;
        const int16_t width = PXLWidth(static_cast<PxlImageId>(id));
        PXLDeleteImage(static_cast<PxlImageId>(id));
        return width;
    }

    vazazi_test::ScratchFolder folder_;
    std::string document_;
    winplat::testing::DebugCapture log_;
};

TEST_F(PictureStoreTest, FindsPicturesBesideTheDocument) {
    build("doc", false, 2);
    open(folder_.windows("doc/kniha.lcn"));
    char storePath[kDocumentPathBuffer] = "unchanged";
    uint32_t length = 99;
    const uint32_t offset = OpenPictureStore(2, &length, storePath);
    ASSERT_NE(offset, 0u);
    EXPECT_STREQ(storePath, folder_.windows("doc/kniha.lpx").c_str());
    const std::vector<uint8_t> store = vazazi_test::fileBytes(folder_.host("doc/kniha.lpx"));
    const std::vector<uint8_t> picture = vazazi_test::fileBytes(folder_.host("out2.bmp"));
    ASSERT_EQ(length, picture.size());
    ASSERT_LE(offset + length, store.size());
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), store.begin() + offset)) << "the body read in place";

    // The numbers around the two stored pictures.
    for (const uint16_t missing : {uint16_t{0}, uint16_t{3}, uint16_t{0x8000}, uint16_t{0xFFFF}}) {
        std::strcpy(storePath, "unchanged");
        EXPECT_EQ(OpenPictureStore(missing, &length, storePath), 0u) << missing;
        EXPECT_EQ(length, 0u) << missing;
        EXPECT_STREQ(storePath, "unchanged") << missing;
    }
    EXPECT_EQ(storedWidth(1), 3);
    EXPECT_EQ(storedWidth(2), 4);
}

TEST_F(PictureStoreTest, FindsPicturesInsideTheDocument) {
    build("doc", true, 3);
    ASSERT_FALSE(fs::exists(folder_.host("doc/kniha.lpx")));
    open(folder_.windows("doc/kniha.lcn"));
    char storePath[kDocumentPathBuffer] = "";
    uint32_t length = 0;
    const uint32_t offset = OpenPictureStore(3, &length, storePath);
    ASSERT_NE(offset, 0u);
    EXPECT_STREQ(storePath, document_.c_str()) << "the document's own file holds it";
    const std::vector<uint8_t> file = vazazi_test::fileBytes(folder_.host("doc/kniha.lcn"));
    const std::vector<uint8_t> picture = vazazi_test::fileBytes(folder_.host("in3.bmp"));
    ASSERT_EQ(length, picture.size());
    ASSERT_LE(offset + length, file.size());
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), file.begin() + offset));
    EXPECT_EQ(storedWidth(1), 11);
    EXPECT_EQ(storedWidth(3), 13);
    EXPECT_EQ(storedWidth(4), 0);
}

// A store beside the document wins over the one inside it, even for a picture only the inside
// one holds.
TEST_F(PictureStoreTest, TheStoreBesideWins) {
    build("inside", true, 3);
    const fs::path beside = build("beside", false, 2);
    fs::copy_file(beside / "kniha.lpx", folder_.host("inside/kniha.lpx"));
    open(folder_.windows("inside/kniha.lcn"));
    EXPECT_EQ(storedWidth(1), 3);
    EXPECT_EQ(storedWidth(2), 4);
    EXPECT_EQ(storedWidth(3), 0) << "the inside store is not asked once the one beside opened";
    fs::remove(folder_.host("inside/kniha.lpx"));
    EXPECT_EQ(storedWidth(3), 13);
}

// The store of a document without an extension in a folder with a dot is the document's name
// with ".lpx": the dot of the folder is not the name's.
TEST_F(PictureStoreTest, ExtensionlessDocumentInADottedFolder) {
    const fs::path built = build("built", false, 1);
    fs::create_directories(folder_.host("a.b"));
    fs::copy_file(built / "kniha.lcn", folder_.host("a.b/kniha"));
    fs::copy_file(built / "kniha.lpx", folder_.host("a.b/kniha.lpx"));
    open(folder_.windows("a.b/kniha"));
    char storePath[kDocumentPathBuffer] = "";
    uint32_t length = 0;
    EXPECT_NE(OpenPictureStore(1, &length, storePath), 0u);
    EXPECT_STREQ(storePath, folder_.windows("a.b/kniha.lpx").c_str());
    EXPECT_EQ(storedWidth(1), 3);
}

TEST_F(PictureStoreTest, NoStoreGivesNothing) {
    build("doc", false, 1);
    fs::remove(folder_.host("doc/kniha.lpx"));
    open(folder_.windows("doc/kniha.lcn"));
    char storePath[kDocumentPathBuffer] = "unchanged";
    uint32_t length = 5;
    EXPECT_EQ(OpenPictureStore(1, &length, storePath), 0u);
    EXPECT_STREQ(storePath, "unchanged");
    EXPECT_EQ(storedWidth(1), 0);
}

// A path that names a file is loaded from it (beside the document when its folder is gone), and
// the store is not asked.
TEST_F(PictureStoreTest, APathThatResolvesIsLoadedFromItsFile) {
    build("doc", false, 2);
    open(folder_.windows("doc/kniha.lcn"));
    plainBmp(folder_.host("doc/obrazek.bmp"), 7, 2, picture_test::kGreen);
    for (const std::string& stored : {std::string("\\obrazek.bmp"), std::string("c:\\nowhere\\obrazek.bmp")}) {
        char path[kDocumentPathBuffer];
        std::strcpy(path, stored.c_str());
        const uint16_t id = LoadPicture(path, kRasterPicture, 2);
        ASSERT_NE(id, 0) << stored;
        EXPECT_EQ(PXLWidth(static_cast<PxlImageId>(id)), 7) << stored;
        EXPECT_STREQ(path, folder_.windows("doc/obrazek.bmp").c_str()) << "rewritten to the file found";
        PXLDeleteImage(static_cast<PxlImageId>(id));
    }
    // A path that does not resolve falls back to the store's picture.
    char path[kDocumentPathBuffer] = "\\chybi.bmp";
    const uint16_t id = LoadPicture(path, kRasterPicture, 2);
    ASSERT_NE(id, 0);
    EXPECT_EQ(PXLWidth(static_cast<PxlImageId>(id)), 4);
    PXLDeleteImage(static_cast<PxlImageId>(id));
}

// Vector pictures (the document writer's 40 x 30 sample metafile) load from their file and from
// the store, read in place by offset and length.
TEST_F(PictureStoreTest, VectorPicturesFromTheirFileAndFromTheStore) {
    const std::string metafile = std::string(PYTHON_EXECUTABLE) + " -B " + LCNWRITER_DIR + "/metafile.py ";
    fs::create_directories(folder_.host("doc"));
    ASSERT_TRUE(tool_runner::run(metafile + tool_runner::quoted(folder_.host("doc/kresba.wmf"))));
    fs::copy_file(folder_.host("out1.bmp"), folder_.host("doc/out1.bmp"));
    ASSERT_TRUE(buildDocument(R"({"name": "kniha", "pictureStore": [{"file": "out1.bmp"}, {"file": "kresba.wmf"}]})",
                              folder_.host("doc")));
    open(folder_.windows("doc/kniha.lcn"));
    struct Case {
        const char* path;
        uint16_t number;
    };
    for (const Case c : {Case{"\\kresba.wmf", 0}, Case{"", 2}, Case{"\\chybi.wmf", 2}}) {
        char path[kDocumentPathBuffer];
        std::strcpy(path, c.path);
        const uint16_t id = LoadPicture(path, 2, c.number);
        ASSERT_NE(id, 0) << c.path << " " << c.number;
        EXPECT_EQ(VXLWidth(id), 40);
        EXPECT_EQ(VXLHeight(id), 30);
        ObjectMedia().DeleteImage(id, true);
        EXPECT_EQ(VXLWidth(id), 0) << "deleted through the media layer's default";
    }
    char path[kDocumentPathBuffer] = "";
    EXPECT_EQ(LoadPicture(path, 2, 1), 0) << "a BMP is no vector picture";
}

// Picture number 0 with a path that names no file loads nothing and leaves the store alone; the
// failure is said once however often the picture is asked for.
TEST_F(PictureStoreTest, NumberZeroAndNoFileLoadNothing) {
    build("doc", false, 1);
    open(folder_.windows("doc/kniha.lcn"));
    log_.clear();
    for (int round = 0; round < 3; ++round) {
        char path[kDocumentPathBuffer] = "\\neni_tu.bmp";
        EXPECT_EQ(LoadPicture(path, kRasterPicture, 0), 0);
        EXPECT_STREQ(path, "\\neni_tu.bmp");
    }
    EXPECT_FALSE(log_.contains("picture store")) << log_.text();
    size_t said = 0;
    for (const std::string& line : log_.messages()) said += line.find("neni_tu.bmp") != std::string::npos;
    EXPECT_EQ(said, 1u) << log_.text();
}

// The cursor the load began with is back afterwards, shown as often as before.
TEST_F(PictureStoreTest, TheWaitCursorIsUndone) {
    winplat::test::Harness harness;
    build("doc", false, 1);
    open(folder_.windows("doc/kniha.lcn"));
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    const int shown = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    for (const uint16_t number : {uint16_t{1}, uint16_t{9}}) {
        char path[kDocumentPathBuffer] = "";
        const uint16_t id = LoadPicture(path, kRasterPicture, number);
        if (id) PXLDeleteImage(static_cast<PxlImageId>(id));
        EXPECT_EQ(GetCursor(), arrow) << number;
        EXPECT_EQ(ShowCursor(TRUE) - 1, shown) << number;
        ShowCursor(FALSE);
    }
}

// The table of a document the writer made with its picture store and embedded files inside.
TEST(CompanionTableTest, ReadsTheTableOfADocument) {
    REQUIRE_DOCUMENT_WRITER();
    vazazi_test::ScratchFolder folder;
    ASSERT_TRUE(buildDocument(R"({"name": "kniha", "inside": true,
        "pictureStore": [{"hex": "0102030405"}], "embeddedFiles": [{"text": "abc"}]})", folder.host("")));
    const std::string document = folder.windows("kniha.lcn");
    SetDocumentPathForPaths(document.c_str());
    uint32_t base = 0, size = 0, base2 = 0, size2 = 0;
    EXPECT_TRUE(FindCompanionInDocument(kPictureStoreCompanion, &base, &size));
    EXPECT_TRUE(FindCompanionInDocument(kEmbeddedFilesCompanion, &base2, &size2));
    EXPECT_FALSE(FindCompanionInDocument(3, nullptr, nullptr)) << "no keyword index inside";
    const uint64_t fileSize = std::filesystem::file_size(folder.host("kniha.lcn"));
    EXPECT_EQ(base2, base + size) << "the embedded files follow the picture store";
    EXPECT_EQ(uint64_t{base2} + size2, fileSize) << "and end the file";
    // Each names a record file of its own.
    VazaziFile store;
    EXPECT_TRUE(store.Open(document.c_str(), false, base, size));
    store.Close();
    SetDocumentPathForPaths(nullptr);
    EXPECT_FALSE(FindCompanionInDocument(kPictureStoreCompanion, &base, &size)) << "no document open";
}

}  // namespace
}  // namespace lect32
