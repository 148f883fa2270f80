// Embedded files written out to temporary files: the container beside the document and inside
// it, the one beside winning, the slots and their reuse, the media lists, the extensions a
// document may give its files, and the clean-up at exit.
#include "page/embedded_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "page/private_temp_folder.h"
#include "picture_test_support.h"
#include "store/companion_files.h"
#include "store/document_file_tables.h"
#include "store/document_paths.h"
#include "store/document_tables.h"
#include "store/vazazi_file.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

namespace fs = std::filesystem;

// The host file of a path in the programs' form ("C:\tmp\..." is the host's /tmp/...).
fs::path hostOf(const std::string& windowsPath) {
    std::string host = windowsPath.substr(2);
    for (char& c : host)
        if (c == '\\') c = '/';
    return host;
}

std::string contentOf(const std::string& windowsPath) {
    std::ifstream in(hostOf(windowsPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Bodies told apart by their text: "<where>-<n>".
std::string description(const std::string& where, bool inside, const std::string& extra = "") {
    return "{\"name\": \"kniha\", \"inside\": " + std::string(inside ? "true" : "false") +
           ", \"embeddedFiles\": [{\"text\": \"" + where + "-1\"}, {\"text\": \"" + where + "-2\"}]" + extra + "}";
}

class EmbeddedFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer to test with";
    }
    void TearDown() override {
        DeleteTempFiles();
        SetDocumentPathForPaths(nullptr);
    }
    // The document built into a folder of its own; its path as the programs name it.
    std::string build(const std::string& sub, const std::string& json) {
        EXPECT_TRUE(picture_test::buildDocument(json, folder_.host(sub)));
        return folder_.windows(sub + "/kniha.lcn");
    }
    // Record 'record' extracted with the stored name into 'slot': the temporary path, "" on failure.
    static std::string extract(int slot, const std::string& stored, uint16_t record, const std::string& document) {
        char name[kDocumentPathBuffer];
        std::snprintf(name, sizeof name, "%s", stored.c_str());
        if (!ExtractEmbeddedFile(slot, name, record, kEmbeddedFilesCompanion, document.c_str())) {
            EXPECT_EQ(std::string(name), stored) << "a failure leaves the name as it was";
            return "";
        }
        return name;
    }
    vazazi_test::ScratchFolder folder_;
    winplat::testing::DebugCapture log_;
};

TEST_F(EmbeddedFilesTest, ExtractsFromTheContainerBesideTheDocument) {
    const std::string document = build("beside", description("beside", false));
    ASSERT_TRUE(fs::exists(folder_.host("beside/kniha.lnx")));
    const std::string path = extract(0, "c:\\zvuky\\zvuk.wav", 1, document);
    ASSERT_FALSE(path.empty()) << log_.text();
    EXPECT_EQ(contentOf(path), "beside-2");
    EXPECT_TRUE(path.ends_with(".wav"));
    EXPECT_TRUE(path.starts_with(PrivateTempFolder())) << path;
    EXPECT_EQ(std::string(TempSlotPath(1)), "") << "slot 0 keeps nothing";
    fs::remove(hostOf(path));
}

TEST_F(EmbeddedFilesTest, ExtractsFromTheCompanionInsideTheDocument) {
    const std::string document = build("inside", description("inside", true));
    ASSERT_FALSE(fs::exists(folder_.host("inside/kniha.lnx")));
    const std::string path = extract(0, "hudba.mid", 0, document);
    ASSERT_FALSE(path.empty()) << log_.text();
    EXPECT_EQ(contentOf(path), "inside-1");
    fs::remove(hostOf(path));
    // With no document named, the open one is read.
    SetDocumentPathForPaths(document.c_str());
    const std::string again = extract(0, "hudba.mid", 1, "");
    EXPECT_EQ(contentOf(again), "inside-2");
    fs::remove(hostOf(again));
}

TEST_F(EmbeddedFilesTest, TheContainerBesideWinsOverTheOneInside) {
    const std::string document = build("both", description("inside", true));
    build("other", description("beside", false));
    fs::copy_file(folder_.host("other/kniha.lnx"), folder_.host("both/kniha.lnx"));
    const std::string path = extract(0, "a.wav", 0, document);
    EXPECT_EQ(contentOf(path), "beside-1");
    fs::remove(hostOf(path));
}

TEST_F(EmbeddedFilesTest, ASlotKeepsItsFileAndTheNextExtractionOverwritesIt) {
    const std::string document = build("slots", description("slot", false));
    const std::string first = extract(3, "a.wav", 0, document);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(std::string(TempSlotPath(3)), first);
    const std::string second = extract(3, "b.avi", 1, document);
    EXPECT_EQ(second, first) << "the slot's file is used again";
    EXPECT_EQ(contentOf(second), "slot-2");
    const std::string other = extract(4, "a.wav", 0, document);
    EXPECT_NE(other, first) << "another slot has a file of its own";
    DeleteTempFiles();
    EXPECT_FALSE(fs::exists(hostOf(first)));
    EXPECT_FALSE(fs::exists(hostOf(other)));
    EXPECT_EQ(std::string(TempSlotPath(3)), "");
    EXPECT_EQ(PrivateTempFolder(), "") << "the empty private folder went too";
}

TEST_F(EmbeddedFilesTest, RefusalsLeaveNoFile) {
    const std::string document = build("refused", description("r", false));
    EXPECT_EQ(extract(0, "a.wav", 0x8000, document), "") << "bit 0x8000: not stored";
    EXPECT_EQ(extract(0, "a.wav", 2, document), "") << "no such record";
    EXPECT_EQ(extract(7, "a.wav", 0, document), "") << "no such slot";
    EXPECT_EQ(extract(-1, "a.wav", 0, document), "");
    EXPECT_EQ(extract(0, "a.wav", 0, folder_.windows("nowhere/kniha.lcn")), "") << "no document";
    if (!PrivateTempFolder().empty()) {
        const fs::path privateFolder = hostOf(PrivateTempFolder());
        EXPECT_TRUE(fs::is_empty(privateFolder)) << "a failed copy leaves nothing behind";
    }
}

TEST_F(EmbeddedFilesTest, OnlyPlainExtensionsReachTheFileName) {
    const struct {
        const char* stored;
        const char* extension;
    } cases[] = {
        {"zvuk.wav", "wav"},
        {"c:\\a.b\\video", ""},
        {"c:\\v\\film.Mpeg4Video1", "Mpeg4Video1"},
        {"c:\\v\\film.Mpeg4Video12", ""},
        {"x.w/a", ""},
        {"x.w\\..\\..\\etc", ""},
        {"x..", ""},
        {"x.wa v", ""},
        {"x.\xe8\x61", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(SafeExtension(c.stored), c.extension);
    }
    const std::string document = build("names", description("n", false));
    const std::string path = extract(0, "c:\\x\\evil.a/../../b", 0, document);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(hostOf(path).parent_path(), hostOf(PrivateTempFolder()).parent_path()) << path;
    EXPECT_EQ(path.find('/'), std::string::npos);
    fs::remove(hostOf(path));
}

TEST_F(EmbeddedFilesTest, MediaFilesComeFromTheirListsByTag) {
    const std::string extra = ", \"sounds\": [{\"path\": \"c:\\\\z\\\\zvuk.wav\", \"tag\": 2}, {\"path\": \"c:\\\\z\\\\venku.wav\"}]";
    const std::string document = build("media", description("m", false, extra));
    SetDocumentPathForPaths(document.c_str());
    VazaziFile file;
    ASSERT_EQ(file.Open(document.c_str(), false), 1);
    ASSERT_EQ(soundFileNames().LoadFromDocument(kSoundList, nullptr, &file), 1);
    char path[kDocumentPathBuffer] = "unchanged";
    ASSERT_EQ(ExtractMediaFile(kSoundFiles, 0, path, -1), 1) << log_.text();
    EXPECT_EQ(std::string(TempSlotPath(kSoundFiles + 1)), path) << "slot -1 is the kind + 1";
    EXPECT_TRUE(std::string(path).ends_with(".wav"));
    EXPECT_EQ(contentOf(path), "m-2") << "tag n is record n - 1";
    std::snprintf(path, sizeof path, "unchanged");
    EXPECT_EQ(ExtractMediaFile(kSoundFiles, 1, path, 0), 0) << "tag 0: not stored";
    EXPECT_EQ(ExtractMediaFile(kSoundFiles, 5, path, 0), 0) << "no such entry";
    EXPECT_EQ(ExtractMediaFile(2, 0, path, 0), 0) << "no table of kind 2";
    EXPECT_STREQ(path, "unchanged");
    soundFileNames().Clear();
    soundFileNames().folders().Clear();
}

}  // namespace
}  // namespace lect32
