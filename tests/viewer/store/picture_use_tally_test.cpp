// The use tally of embedded pictures: counting, the commit into the picture table, removal in
// order, and the bound of 100 entries.
#include "store/picture_use_tally.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/file_name_table.h"
#include "store/string_pool.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

constexpr uint8_t kPicture = PictureUseTally::kPictureType;
constexpr uint8_t kSound = 3;

class PictureUseTallyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"c:\\o\\a.gif", "c:\\o\\b.gif", "c:\\o\\c.gif"}) {
            std::string path = name;
            ASSERT_LT(pictures_.AddPath(path.data()), 0xFFFD);
        }
    }
    std::vector<uint16_t> indexes() const {
        std::vector<uint16_t> out;
        for (int n = 0; n < tally_.size(); ++n) out.push_back(tally_.at(n).index);
        return out;
    }
    StringPool folders_;
    FileNameTable pictures_{folders_};
    PictureUseTally tally_;
};

TEST_F(PictureUseTallyTest, CountsStartAsThePartsSay) {
    ASSERT_TRUE(tally_.AddRecorded(0, kPicture));
    ASSERT_TRUE(tally_.AddRecorded(0, kPicture));
    ASSERT_TRUE(tally_.AddCounted(1, true, kPicture));
    ASSERT_TRUE(tally_.AddCounted(2, false, kPicture));
    ASSERT_TRUE(tally_.AddCounted(0, true, kSound)) << "another type is another entry";
    ASSERT_EQ(tally_.size(), 4);
    const struct {
        uint16_t recorded, counted;
    } expected[] = {{2, 0}, {1, 1}, {0, 1}, {1, 1}};
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(tally_.at(n).recorded, expected[n].recorded);
        EXPECT_EQ(tally_.at(n).counted, expected[n].counted);
    }
    tally_.ResetCounted();
    for (int n = 0; n < 4; ++n) EXPECT_EQ(tally_.at(n).counted, 0);
}

TEST_F(PictureUseTallyTest, CommitMovesPictureUsesByTheDifference) {
    // Picture 0: recorded 1, counted 3 -> +2. Picture 1: recorded 1, counted 0 -> -1, removed.
    tally_.AddRecorded(0, kPicture);
    for (int k = 0; k < 3; ++k) tally_.AddCounted(0, false, kPicture);
    tally_.AddRecorded(1, kPicture);
    tally_.AddRecorded(2, kSound);
    tally_.AddCounted(2, false, kSound);
    tally_.AddCounted(2, false, kSound);
    EXPECT_EQ(tally_.Commit(pictures_), 1);
    EXPECT_EQ(pictures_.GetUseCount(0), 3);
    EXPECT_EQ(pictures_.GetUseCount(1), 0);
    EXPECT_EQ(pictures_.GetUseCount(2), 1) << "a sound entry's difference stays in the tally";
    EXPECT_EQ(indexes(), (std::vector<uint16_t>{0, 2}));
    EXPECT_EQ(tally_.at(1).recorded, 2);
}

TEST_F(PictureUseTallyTest, CommitWithoutDifferenceChangesNothing) {
    tally_.AddRecorded(0, kPicture);
    tally_.AddCounted(0, false, kPicture);
    EXPECT_EQ(tally_.Commit(pictures_), 0);
    EXPECT_EQ(pictures_.GetUseCount(0), 1);
    EXPECT_EQ(tally_.size(), 1);
}

TEST_F(PictureUseTallyTest, RemovingTheFirstKeepsTheOthersInOrder) {
    for (uint16_t index : {5, 6, 7}) tally_.AddRecorded(index, kSound);
    tally_.AddCounted(6, false, kSound);
    tally_.AddCounted(7, false, kSound);
    EXPECT_EQ(tally_.Commit(pictures_), 1);
    EXPECT_EQ(indexes(), (std::vector<uint16_t>{6, 7}));
}

TEST_F(PictureUseTallyTest, TheHundredAndFirstEntryIsRefused) {
    winplat::testing::DebugCapture log;
    for (uint16_t index = 0; index < 99; ++index) ASSERT_TRUE(tally_.AddRecorded(index, kSound));
    EXPECT_TRUE(tally_.AddCounted(99, true, kSound)) << "the hundredth fits";
    EXPECT_EQ(tally_.size(), 100);
    EXPECT_FALSE(tally_.AddRecorded(100, kSound));
    EXPECT_FALSE(tally_.AddCounted(100, true, kSound));
    EXPECT_EQ(tally_.size(), 100);
    EXPECT_TRUE(log.contains("100 files"));
    EXPECT_TRUE(tally_.AddCounted(99, true, kSound)) << "a known entry still counts";
    EXPECT_EQ(tally_.at(99).counted, 2);
}

}  // namespace
}  // namespace lect32
