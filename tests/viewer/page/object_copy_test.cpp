// Objects copied between pages, their removal, the files they name, and the page's extent.
#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"

namespace {

using lect32::ObjectKind;
using lect32::PageObject;
using page_test::Bytes;
using page_test::Fields;
using page_test::object;
using page_test::slot;

class ObjectCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* path : {"c:\\obr\\a.png", "c:\\obr\\b.png", "c:\\obr\\c.png"}) {
            std::string copy(path);
            from.pictures.AddPath(copy.data());
        }
        std::string mine("d:\\jine\\x.png");
        to.pictures.AddPath(mine.data());

        PageObject picture = object(0, 10, 20, 20);
        picture.picture = 1;
        picture.z = 0;
        picture.window = 77;
        picture.backgroundImage = 5;
        picture.cacheIndex = 3;
        from.page.InsertObject(picture, slot(1, {4, 9, 0}));
        PageObject button = object(0, 40, 20, 20, ObjectKind::Button);
        button.picture = 2;
        button.anchoring = 2;
        button.anchorId = 4;
        from.page.InsertObject(button, slot(2, Fields().u16(0).u16(2).u16(-1).u16(-1).u16(-1).u16(-1).u16(-1).u16(-1).u8(1).u8(0).bytes));
        from.page.InsertObject(object(0, 90, 20, 20, ObjectKind::TextFrame), {}, Bytes{3, 0, 0});

        PageObject own = object(5, 30, 10, 10);
        own.z = 0;
        to.page.InsertObject(own);
        own.y = 60;
        to.page.InsertObject(own);
        to.page.Renumber();
    }

    std::string pathOf(page_test::TestPage& t, int16_t index) {
        char path[lect32::FileNameTable::kPathBuffer];
        t.pictures.GetPath(index, path);
        return path;
    }

    page_test::TestPage from;
    page_test::TestPage to;
};

TEST_F(ObjectCopyTest, CopiesLieUnderThePagesOwnObjectsWithTheirTexts) {
    to.page.CopyObjectsFrom(from.page, true, 0, lect32::Page::kAllObjects, false, 100);
    ASSERT_EQ(to.page.GetCount(), 5);
    const std::vector<int32_t> ys = {10, 30, 60, 90, 140};  // the anchored button moved by 100
    for (uint16_t i = 0; i < 5; ++i) EXPECT_EQ(to.page.Object(i).y, ys[i]) << i;
    const PageObject& picture = to.page.Object(0);
    EXPECT_EQ(picture.copied, 1);
    EXPECT_EQ(picture.window, 0u) << "nothing the other page holds";
    EXPECT_EQ(picture.backgroundImage, 0);
    EXPECT_EQ(picture.cacheIndex, -1);
    EXPECT_EQ(picture.picture, 1) << "same document: the index stays";
    EXPECT_EQ(to.page.CopyAttributes(0), slot(1, {4, 9, 0}));
    EXPECT_EQ(to.page.CopySecondText(3), (Bytes{3, 0, 0}));
    // The page's own objects go up by the other page's three objects.
    EXPECT_EQ(to.page.Object(1).z, 3);
    EXPECT_EQ(to.page.Object(2).z, 4);
    EXPECT_EQ(to.page.CountCopied(), 3);
    const std::vector<uint16_t> paint = to.page.BuildOrder(false);
    EXPECT_TRUE(to.page.Object(paint.front()).copied);
    EXPECT_FALSE(to.page.Object(paint.back()).copied);
}

TEST_F(ObjectCopyTest, ARangeIsCopiedAndTheCopiedFlagDroppedWhenNotKept) {
    to.page.CopyObjectsFrom(from.page, false, 1, 1, false, 0);
    ASSERT_EQ(to.page.GetCount(), 3);
    EXPECT_TRUE(to.page.Object(1).Is(ObjectKind::Button));
    EXPECT_EQ(to.page.CountCopied(), 0);
    to.page.CopyObjectsFrom(from.page, true, 2, 7, false, 0);
    EXPECT_EQ(to.page.GetCount(), 4) << "a last index past the end stops at the end";
}

TEST_F(ObjectCopyTest, PicturesOfAnotherDocumentAreRegisteredByPath) {
    to.page.CopyObjectsFrom(from.page, true, 0, lect32::Page::kAllObjects, true, 0);
    EXPECT_EQ(pathOf(to, to.page.Object(0).picture), "c:\\obr\\b.png");
    EXPECT_EQ(to.page.Object(0).picture, 1);
    const int16_t button = to.page.FindAnchoredObject(4, false);
    ASSERT_GE(button, 0);
    EXPECT_EQ(pathOf(to, to.page.Object(static_cast<uint16_t>(button)).picture), "c:\\obr\\c.png");
    const lect32::ButtonRecord states = to.page.GetButton(static_cast<uint16_t>(button));
    EXPECT_EQ(pathOf(to, states.pictures[0]), "c:\\obr\\a.png");
    EXPECT_EQ(pathOf(to, states.pictures[1]), "c:\\obr\\c.png");
    EXPECT_EQ(states.pictures[2], -1);
}

TEST_F(ObjectCopyTest, DeletingTheCopiesClosesTheGapsInTheTextItems) {
    to.page.CopyObjectsFrom(from.page, true, 0, lect32::Page::kAllObjects, false, 0);
    to.page.DeleteCopiedObjects();
    ASSERT_EQ(to.page.GetCount(), 2);
    EXPECT_EQ(to.page.Object(0).attribute, 0);
    EXPECT_EQ(to.page.Object(1).attribute, 1);
    EXPECT_EQ(to.page.InsertObject(object(0, 0, 1, 1), slot(6, {1})), 0);
    EXPECT_EQ(to.page.Object(0).attribute, 2);
    EXPECT_EQ(to.page.CopyAttributes(0), slot(6, {1}));
    EXPECT_TRUE(to.page.CopyAttributes(1).empty());
}

class Uses final : public lect32::ObjectFileUse {
public:
    std::vector<std::string> used;
    void UsePicture(int16_t i) override { used.push_back("picture " + std::to_string(i)); }
    void UseVideo(int16_t i) override { used.push_back("video " + std::to_string(i)); }
    void UseSound(int16_t i) override { used.push_back("sound " + std::to_string(i)); }
};

TEST_F(ObjectCopyTest, EveryPictureAndMediaFileIsNamed) {
    PageObject video = object(0, 200, 5, 5, ObjectKind::Video);
    video.picture = 4;
    from.page.InsertObject(video);
    PageObject sound = object(0, 210, 5, 5, ObjectKind::Sound);
    sound.picture = 5;
    from.page.InsertObject(sound);
    Uses uses;
    from.page.UseObjectFiles(uses);
    EXPECT_EQ(uses.used, (std::vector<std::string>{"picture 1", "picture 2", "picture 0", "picture 2", "video 4", "sound 5"}));
}

TEST(ObjectExtentTest, TheExtentCountsAPlacedObjectByItsWidthAlone) {
    page_test::TestPage t;
    EXPECT_EQ(t.page.GetExtent().bottom, 0);
    PageObject free = object(100, 10, 50, 20);
    t.page.InsertObject(free);
    PageObject placed = object(400, 50, 60, 30);
    placed.placement = 2;
    t.page.InsertObject(placed);
    lect32::ObjectExtent extent = t.page.GetExtent();
    EXPECT_EQ(extent.bottom, 80);
    EXPECT_EQ(extent.right, 150) << "the placed object counts 60, not 460";
    PageObject anchored = object(0, 500, 10, 10);
    anchored.anchoring = 2;
    anchored.anchorId = 1;
    t.page.InsertObject(anchored);
    t.page.DetachAnchoredObjects();
    extent = t.page.GetExtent();
    EXPECT_EQ(extent.bottom, 80) << "a parked object reaches nowhere";
}

TEST(ObjectExtentTest, BandsBelowAndBehind) {
    page_test::TestPage t;
    for (int32_t y : {0, 10, 10, 20, 35}) t.page.InsertObject(object(0, y, 5, 5));
    struct Case {
        int32_t top, bottom;
        uint16_t first, count;
    };
    for (const Case& c : {Case{10, 20, 1, 2}, Case{10, 21, 1, 3}, Case{11, 20, 3, 0}, Case{-5, 100, 0, 5}, Case{36, 90, 5, 0}}) {
        SCOPED_TRACE(testing::Message() << c.top << ".." << c.bottom);
        EXPECT_EQ(t.page.FindObjectsInBand(c.top, c.bottom), std::make_pair(c.first, c.count));
    }
    EXPECT_TRUE(t.page.HasObjectBelow(39));
    EXPECT_FALSE(t.page.HasObjectBelow(40));
    EXPECT_FALSE(t.page.HasObjectBehindText());
    PageObject behind = object(0, 0, 1, 1);
    behind.behindText = 1;
    behind.anchoring = 2;
    behind.y = 90;
    t.page.InsertObject(behind);
    EXPECT_TRUE(t.page.HasObjectBehindText());
    EXPECT_FALSE(t.page.HasObjectBelow(40)) << "only free objects count";
}

TEST(ObjectExtentTest, ScalingTakesSizesAndPlacesByThePercentage) {
    page_test::TestPage t;
    PageObject o = object(10, 20, 30, 40);
    o.spacingLeft = 2;
    t.page.InsertObject(o);
    PageObject large = object(30000, 2000000, 30000, 1);
    t.page.InsertObject(large);
    t.page.ScaleObjects(150);
    EXPECT_EQ(t.page.Object(0).x, 15);
    EXPECT_EQ(t.page.Object(0).y, 30);
    EXPECT_EQ(t.page.Object(0).width, 45);
    EXPECT_EQ(t.page.Object(0).height, 60);
    EXPECT_EQ(t.page.Object(0).spacingLeft, 3);
    EXPECT_EQ(t.page.Object(1).x, 32767) << "held to 16 bits";
    EXPECT_EQ(t.page.Object(1).y, 3000000);
}

}  // namespace
