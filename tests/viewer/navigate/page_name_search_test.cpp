// Searching a document's page names: one word or a query's words, into a page map or the hit
// list, over blocks written to a real record file; damaged blocks and words refused.
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "navigate/page_name_search.h"
#include "navigate/search_hit_list.h"
#include "navigate/search_query.h"
#include "navigate/term_list.h"
#include "navigate/text_buffer_search.h"
#include "store/doc_string_table.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "viewer/store/vazazi_test_support.h"
#include "winplat/cp1250.h"
#include "winplat/memory.h"
#include "winplat/owners.h"

namespace {

using lect32::DocStringTable;
using lect32::SearchHitList;
using lect32::SearchQuery;
using lect32::TermList;
using lect32::VazaziFile;
using Bytes = std::vector<uint8_t>;
using Numbers = std::vector<int>;

constexpr uint8_t AND = lect32::kCodeAnd, OR = lect32::kCodeOr, NOT = lect32::kCodeNot;
constexpr uint8_t kMayEndInside = lect32::kTermMayEndInsideWord;

// Page names of blocks 0, 1, 78 and 127 (the last number a table can hold), in UTF-8.
const std::map<int, std::string> kNames{
    {0, "Úvod"},         {1, "Obsah knihy"},        {2, "Kniha první"},  {255, "Rejstřík"},
    {300, "KNIHOVNA"},   {20000, "ČESKÁ KNIHA"},    {32767, "Konec knihy"},
};

std::span<const uint8_t> bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A block in its stored form with the size word given apart from the lengths, so that the two
// can disagree.
Bytes rawBlock(const std::array<uint8_t, 256>& lengths, uint16_t size, const std::string& strings) {
    Bytes out{0, 0};
    out.insert(out.end(), lengths.begin(), lengths.end());
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.insert(out.end(), strings.begin(), strings.end());
    return out;
}

class PageNameSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(file.Create(scratch.windows("doc.vzz").c_str(), 1), 0);
        for (const auto& [n, name] : kNames) {
            const std::string stored = winplat::cp1250::fromUtf8(name);
            ASSERT_EQ(table.WriteString(static_cast<int16_t>(n), stored.c_str(), static_cast<uint8_t>(stored.size())), 1);
        }
    }

    void putRawBlock(int block, const Bytes& body) {
        lect32::MemWriter writer;
        vazazi_test::fill(writer, body);
        ASSERT_EQ(file.WriteRecordByType(0, block, writer), 1);
    }

    // One word into a page map: the numbers marked, and the result in 'result'.
    Numbers searchWord(const std::string& utf8, uint8_t flags, int& result) {
        const std::string word = winplat::cp1250::fromUtf8(utf8);
        std::vector<uint8_t> map(32768, 0);
        result = lect32::SearchStrings(table, 0, false, bytes(word), static_cast<uint8_t>(word.size()), flags, map,
                                       query, hits);
        return marked(map);
    }

    // The query's words and code into a page map.
    Numbers searchQuery(std::initializer_list<std::pair<const char*, uint8_t>> words, const Bytes& code, int& result) {
        query.Clear();
        for (const auto& [word, flags] : words) query.words().Add(winplat::cp1250::fromUtf8(word).c_str(), 0, flags);
        EXPECT_TRUE(query.SetCode(code));
        std::vector<uint8_t> map(32768, 0);
        result = lect32::SearchStrings(table, 0, true, query.words().data(),
                                       static_cast<uint8_t>(query.words().GetCount()), 0, map, query, hits);
        return marked(map);
    }

    static Numbers marked(const std::vector<uint8_t>& map) {
        Numbers numbers;
        for (size_t n = 0; n < map.size(); ++n) {
            if (map[n] == 1) numbers.push_back(static_cast<int>(n));
            else EXPECT_EQ(map[n], 0) << n;
        }
        return numbers;
    }

    vazazi_test::ScratchFolder scratch;
    VazaziFile file;
    DocStringTable table{file};
    SearchQuery query;
    SearchHitList hits;
};

TEST_F(PageNameSearchTest, SingleWordMarksTheMatchingNames) {
    struct Case {
        const char* word;
        uint8_t flags;
        Numbers expected;
    };
    const Case cases[] = {
        {"knihy", 0, {1, 32767}},
        {"kniha", 0, {2, 20000}},
        {"česká", 0, {20000}},
        {"knih", kMayEndInside, {1, 2, 300, 20000, 32767}},
        {"řík", lect32::kTermMayBeginInsideWord, {255}},
        {"řík", 0, {}},
    };
    for (const Case& c : cases) {
        int result = -1;
        EXPECT_EQ(searchWord(c.word, c.flags, result), c.expected) << c.word;
        EXPECT_EQ(result, c.expected.empty() ? 0 : 1) << c.word;
    }
    EXPECT_EQ(hits.GetCount(), 0) << "a map takes the hits";
}

TEST_F(PageNameSearchTest, WithoutAMapHitsGoToTheListWithTheDocumentIndex) {
    hits.Append({9, 9, 9});  // an earlier hit stays
    EXPECT_EQ(lect32::SearchStrings(table, 3, false, bytes("knihy"), 5, 0, {}, query, hits), 1);
    winplat::GlobalPin pin(hits.GetHandle());
    ASSERT_TRUE(pin);
    const uint8_t* data = pin.as<uint8_t>();
    const Bytes expected{
        9,    0,    9, 9,  // the earlier hit
        1,    0,    3, 0,  // page 1 of document 3, byte 3 zero
        0xFF, 0x7F, 3, 0,  // page 32767
    };
    ASSERT_EQ(GlobalSize(hits.GetHandle()), expected.size());
    EXPECT_EQ(Bytes(data, data + expected.size()), expected);
}

TEST_F(PageNameSearchTest, NoMatchGivesZeroAndNoHit) {
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("zzz"), 3, 0, {}, query, hits), 0);
    EXPECT_EQ(hits.GetCount(), 0);
}

TEST_F(PageNameSearchTest, SeveralWordsAreDecidedByTheQueryCode) {
    struct Case {
        std::initializer_list<std::pair<const char*, uint8_t>> words;
        Bytes code;
        Numbers expected;
        const char* why;
    };
    const Case cases[] = {
        {{{"obsah", 0}, {"knihy", 0}}, {0, 1, AND}, {1}, "both words"},
        {{{"obsah", 0}, {"konec", 0}}, {0, 1, AND}, {}, "never together"},
        {{{"obsah", 0}, {"konec", 0}}, {0, 1, OR}, {1, 32767}, "either word, though the other is missing"},
        {{{"knihy", 0}, {"obsah", 0}}, {0, 1, NOT, AND}, {32767}, "a NOT b"},
        {{{"knih", kMayEndInside}, {"první", 0}}, {0, 1, AND}, {2}, "each word with its own flags"},
        {{{"kni", 0}, {"první", 0}}, {0, 1, AND}, {}, "a word's flags hold it to whole words"},
    };
    for (const Case& c : cases) {
        int result = -1;
        EXPECT_EQ(searchQuery(c.words, c.code, result), c.expected) << c.why;
        EXPECT_EQ(result, c.expected.empty() ? 0 : 1) << c.why;
    }
}

TEST_F(PageNameSearchTest, ContainerNotOpenGivesZero) {
    VazaziFile closed;
    DocStringTable unbound(closed);
    EXPECT_EQ(lect32::SearchStrings(unbound, 0, false, bytes("knihy"), 5, 0, {}, query, hits), 0);
    file.Close();
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 5, 0, {}, query, hits), 0);
    EXPECT_EQ(hits.GetCount(), 0);
}

TEST_F(PageNameSearchTest, DamagedBlockEndsTheSearchWithZero) {
    std::array<uint8_t, 256> lengths{};
    lengths[0] = 200;  // the lengths add up to 200, the size says 5
    putRawBlock(2, rawBlock(lengths, 5, "knihy"));
    std::vector<uint8_t> map(32768, 0);
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 5, 0, map, query, hits), 0);

    lengths[0] = 50;  // lengths and size agree, the strings stop short
    putRawBlock(2, rawBlock(lengths, 50, "knihy"));
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 5, 0, map, query, hits), 0);

    lengths[0] = 5;
    putRawBlock(2, rawBlock(lengths, 5, "knihy"));
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 5, 0, map, query, hits), 1) << "the same block, sound";
    EXPECT_EQ(marked(map), (Numbers{1, 512, 32767}));
}

TEST_F(PageNameSearchTest, WordsOutsideTheirBufferAreRefused) {
    const Bytes pastEnd{3, 6, 0, 'k', 'n', 'i', 'h', 'y'};  // 3 + 6 reaches one byte past the buffer
    ASSERT_TRUE(query.SetCode(Bytes{0}));
    EXPECT_EQ(lect32::SearchStrings(table, 0, true, pastEnd, 1, 0, {}, query, hits), 0);
    const Bytes inside{3, 5, 0, 'k', 'n', 'i', 'h', 'y'};
    EXPECT_EQ(lect32::SearchStrings(table, 0, true, inside, 1, 0, {}, query, hits), 1);
    EXPECT_EQ(lect32::SearchStrings(table, 0, true, inside, 3, 0, {}, query, hits), 0) << "arrays for 3 words";

    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 6, 0, {}, query, hits), 0) << "length past the word";
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 0, 0, {}, query, hits), 0) << "an empty word";
}

TEST_F(PageNameSearchTest, CodeThatDoesNotFitTheWordsIsRefused) {
    int result = -1;
    EXPECT_EQ(searchQuery({{"obsah", 0}, {"knihy", 0}}, {0, 2, OR}, result), Numbers{});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(searchQuery({{"obsah", 0}, {"knihy", 0}}, {0, 1, OR}, result), (Numbers{1, 32767}));
}

TEST_F(PageNameSearchTest, FullHitListStopsTheSearch) {
    // 65 blocks of 256 matching names: more than the list's 16383 records.
    const std::string name = "kniha";
    for (int block = 0; block < 65; ++block) {
        table.ClearBlock();
        for (int slot = 0; slot < DocStringTable::kSlots; ++slot) ASSERT_EQ(table.SetSlot(slot, name.c_str(), 5), 1);
        lect32::MemWriter writer;
        ASSERT_EQ(table.BuildBlock(writer), 1);
        ASSERT_EQ(file.WriteRecordByType(0, block, writer), 1);
    }
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes(name), 5, 0, {}, query, hits), 1);
    EXPECT_EQ(hits.GetCount(), 16383);
    lect32::SearchHit last;
    ASSERT_TRUE(hits.GetAt(16382, last));
    EXPECT_EQ(last.page, 16382);
}

TEST_F(PageNameSearchTest, MapSmallerThanTheStringNumbersIsRefused) {
    std::vector<uint8_t> map(32767, 0);
    EXPECT_EQ(lect32::SearchStrings(table, 0, false, bytes("knihy"), 5, 0, map, query, hits), 0);
    EXPECT_EQ(hits.GetCount(), 0);
}

}  // namespace
