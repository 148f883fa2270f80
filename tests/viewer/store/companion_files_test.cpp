// Companion names beside a document and the table of companions inside it (record type 14).
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/companion_files.h"
#include "store/document_paths.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

struct NameCase {
    const char* document;
    const char* companion;  // "" when refused
};

TEST(CompanionPathTest, ReplacesOnlyTheFileNamesExtension) {
    const NameCase cases[] = {
        {"c:\\doc\\book.lcn", "c:\\doc\\book.lpx"},
        {"c:\\a.b\\book", "c:\\a.b\\book.lpx"},          // the dot of the folder stays
        {"c:\\a.b\\book.x.lcn", "c:\\a.b\\book.x.lpx"},  // the last dot of the name
        {"book.lcn", "book.lpx"},
        {"book", "book.lpx"},
        {"c:\\doc\\.lcn", "c:\\doc\\.lcn.lpx"},  // a name that starts with its dot has no extension
        {"c:\\doc.d\\b.", "c:\\doc.d\\b.lpx"},
        {"", ""},
    };
    for (const NameCase& c : cases) {
        char out[kDocumentPathBuffer] = "unchanged";
        const bool made = MakeCompanionPath(c.document, "lpx", out);
        EXPECT_EQ(made, *c.companion != '\0') << c.document;
        EXPECT_STREQ(out, made ? c.companion : "unchanged") << c.document;
    }
}

TEST(CompanionPathTest, WorksInPlaceAndForEveryCompanion) {
    char path[kDocumentPathBuffer] = "c:\\v.1\\kniha.lcn";
    ASSERT_TRUE(MakeCompanionPath(path, "lnf", path));
    EXPECT_STREQ(path, "c:\\v.1\\kniha.lnf");
    ASSERT_TRUE(MakeCompanionPath(path, "lnx", path));
    EXPECT_STREQ(path, "c:\\v.1\\kniha.lnx");
}

// The result must leave room for its terminator: 259 characters fit, 260 do not.
TEST(CompanionPathTest, RefusesAResultThatDoesNotFit) {
    for (const size_t length : {kDocumentPathBuffer - 1, kDocumentPathBuffer}) {
        const std::string document = "c:\\" + std::string(length - 3 - 4, 'a') + ".lcn";  // companion as long
        char out[kDocumentPathBuffer] = "unchanged";
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(MakeCompanionPath(document.c_str(), "lpx", out), length < kDocumentPathBuffer) << length;
        EXPECT_EQ(std::string(out), length >= kDocumentPathBuffer ? std::string("unchanged") : document.substr(0, length - 3) + "lpx");
    }
}

// Record type 14 as stored: a byte, u16 count, then (u32 base, u32 size) for each entry.
std::vector<uint8_t> table(uint16_t count, const std::vector<std::pair<uint32_t, uint32_t>>& entries) {
    std::vector<uint8_t> b{0, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)};
    for (const auto& [base, size] : entries) {
        for (const uint32_t v : {base, size})
            for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return b;
}

TEST(CompanionTableTest, FindsPresentEntriesOnly) {
    CompanionTable t;
    ASSERT_TRUE(t.Parse(table(3, {{0, 0}, {5000, 1200}, {0, 77}})));
    ASSERT_TRUE(t.Find(1).has_value());
    EXPECT_EQ(t.Find(1)->base, 5000u);
    EXPECT_EQ(t.Find(1)->size, 1200u);
    EXPECT_FALSE(t.Find(0)) << "an entry at base 0 is absent";
    EXPECT_FALSE(t.Find(2)) << "a size without a base is absent";
    EXPECT_FALSE(t.Find(3)) << "past the count";
    EXPECT_FALSE(t.Find(-1));
}

// Ten entries are kept; the count may name more, and those are read past, not kept.
TEST(CompanionTableTest, KeepsTenEntries) {
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    for (uint32_t n = 0; n < 12; ++n) entries.push_back({1000 + n, n});
    CompanionTable t;
    ASSERT_TRUE(t.Parse(table(12, entries)));
    ASSERT_TRUE(t.Find(9).has_value());
    EXPECT_EQ(t.Find(9)->base, 1009u);
    EXPECT_FALSE(t.Find(10));
    EXPECT_FALSE(t.Find(11));
}

// A count that promises more entries than the body holds is damage: nothing of it is used, and
// an earlier good table read into the same object is gone too.
TEST(CompanionTableTest, RefusesABodyShorterThanItsCount) {
    winplat::testing::DebugCapture log;
    const std::vector<uint8_t> whole = table(2, {{0, 0}, {700, 90}});
    CompanionTable t;
    ASSERT_TRUE(t.Parse(whole));
    const std::vector<uint8_t> shortOne(whole.begin(), whole.end() - 1);
    EXPECT_FALSE(t.Parse(shortOne));
    EXPECT_FALSE(t.Find(1));
    EXPECT_TRUE(log.contains("record type 14 names more companions than it holds"));
    for (size_t cut = 0; cut < 3; ++cut) {
        EXPECT_FALSE(t.Parse(std::span<const uint8_t>(whole.data(), cut))) << cut;
    }
    EXPECT_FALSE(t.Parse(table(0xFFFF, {{1, 1}})));
    EXPECT_TRUE(t.Parse(table(0, {}))) << "no companions is a valid table";
    EXPECT_FALSE(t.Find(0));
}

}  // namespace
}  // namespace lect32
