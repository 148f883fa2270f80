// The hit list's 4-byte records in their block, and the block's size limit.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "navigate/search_hit_list.h"
#include "winplat/memory.h"
#include "winplat/owners.h"

namespace {

using lect32::SearchHit;
using lect32::SearchHitList;

std::vector<uint8_t> blockBytes(const SearchHitList& hits) {
    winplat::GlobalPin pin(hits.GetHandle());
    if (!pin) return {};
    const uint8_t* data = pin.as<uint8_t>();
    return {data, data + GlobalSize(hits.GetHandle())};
}

TEST(SearchHitList, RecordsArePageThenDocumentThenPass) {
    SearchHitList hits;
    EXPECT_EQ(hits.Append({0x1234, 7, 0}), 0);
    EXPECT_EQ(hits.Append({32767, 255, 2}), 1);
    const std::vector<uint8_t> expected{
        0x34, 0x12, 7, 0,    // page 0x1234 of document 7, pass 0
        0xFF, 0x7F, 255, 2,  // page 32767 of document 255, pass 2
    };
    EXPECT_EQ(blockBytes(hits), expected);

    SearchHit hit;
    ASSERT_TRUE(hits.GetAt(1, hit));
    EXPECT_EQ(hit.page, 32767);
    EXPECT_EQ(hit.document, 255);
    EXPECT_EQ(hit.pass, 2);
    EXPECT_FALSE(hits.GetAt(2, hit));
    EXPECT_EQ(hit.page, 0);
}

TEST(SearchHitList, BlockHoldsAtMost16383Records) {
    SearchHitList hits;
    for (uint16_t i = 0; i < 16383; ++i) ASSERT_EQ(hits.Append({i, 1, 0}), i);
    EXPECT_EQ(hits.Append({1, 1, 0}), SearchHitList::kFull) << "a 16384th record would pass 65535 bytes";
    EXPECT_EQ(hits.GetCount(), 16383);
    hits.Clear();
    EXPECT_EQ(hits.GetCount(), 0);
}

}  // namespace
