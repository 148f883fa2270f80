// Messages 19990 to 19994: each reloads the tables every message reloads and then what it names,
// only for the open document's path sum.
#include "navigate/document_update.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "winplat/testing.h"

namespace {

using lect32::HandleDocumentUpdateMessage;

class CountingReloader : public lect32::DocumentReloader {
public:
    void ReloadTables() override { ++counts["tables"]; }
    void ReloadTreeAppearance() override { ++counts["appearance"]; }
    void ReloadLinkedSet() override { ++counts["linked set"]; }
    void ReloadContentsTree() override { ++counts["contents"]; }
    void ReloadProperties() override { ++counts["properties"]; }
    void ReloadPageFiles() override { ++counts["page files"]; }
    uint16_t CurrentPage() const override { return 7; }

    std::map<std::string, int> counts;
};

constexpr const char* kPath = "C:\\Docs\\Kniha.LCN";

TEST(DocumentPathSum, SumsSignedBytesOfTheLowerCasedPath) {
    EXPECT_EQ(lect32::DocumentPathSum(""), 0);
    EXPECT_EQ(lect32::DocumentPathSum("C:\\A"), 'c' + ':' + '\\' + 'a');
    // cp1250 "Č" (0xC8) lower-cases to "č" (0xE8), a negative byte.
    EXPECT_EQ(lect32::DocumentPathSum("\xC8"), static_cast<int8_t>(0xE8));
    EXPECT_EQ(lect32::DocumentPathSum("a\xC8"), 'a' - 24);
}

TEST(DocumentUpdate, EachMessageReloadsTheTablesAndWhatItNames) {
    const LPARAM sum = lect32::DocumentPathSum(kPath);
    const struct {
        UINT message;
        WPARAM page;
        const char* further;  // null: nothing further
    } cases[] = {
        {19990, 0, "appearance"}, {19991, 0, "linked set"}, {19992, 0, "contents"}, {19993, 0, "properties"},
        {19994, 7, "page files"}, {19994, 6, nullptr}, {19994, 8, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " for page " << c.page);
        CountingReloader reloader;
        EXPECT_TRUE(HandleDocumentUpdateMessage(c.message, c.page, sum, kPath, reloader));
        std::map<std::string, int> expected{{"tables", 1}};
        if (c.further) expected[c.further] = 1;
        EXPECT_EQ(reloader.counts, expected);
    }
}

TEST(DocumentUpdate, OtherDocumentsMessagesAndNoDocumentDoNothing) {
    winplat::testing::DebugCapture quiet;
    const LPARAM sum = lect32::DocumentPathSum(kPath);
    const struct {
        UINT message;
        LPARAM sum;
        const char* path;
    } cases[] = {
        {19993, sum + 1, kPath}, {19993, sum - 1, kPath}, {19989, sum, kPath}, {19995, sum, kPath},
        {19993, sum, nullptr},   {19993, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " with sum " << c.sum);
        CountingReloader reloader;
        EXPECT_FALSE(HandleDocumentUpdateMessage(c.message, 7, c.sum, c.path, reloader));
        EXPECT_TRUE(reloader.counts.empty());
    }
}

TEST(DocumentUpdate, TheSumIsComparedAsTheSendersThirtyTwoBits) {
    const char* path = "\xC8";  // a negative sum
    CountingReloader reloader;
    EXPECT_TRUE(HandleDocumentUpdateMessage(19992, 0, static_cast<LPARAM>(uint32_t{0xFFFFFFE8}), path, reloader));
    EXPECT_EQ(reloader.counts["contents"], 1);
}

}  // namespace
