// The page-style cache: a page is loaded once per page and variant, again after a call that
// copied its objects out, never for "no page"; unset groups of the page's own style come from the
// document's defaults; a page that cannot be read gives the defaults and keeps the cached key.
#include <gtest/gtest.h>

#include <map>

#include "document_view_support.h"
#include "page/offscreen_page_view.h"

namespace lect32 {
namespace {

class CountingHost final : public PageWindowHost {
public:
    bool ReadPage(int16_t page, uint8_t, PageContent& out) override {
        ++reads;
        const auto found = pages.find(page);
        if (found == pages.end()) return false;
        out = found->second;
        return true;
    }
    PageStyle DefaultStyle(uint8_t) override { return defaults; }
    uint8_t ResolveMember(uint8_t, uint8_t link) override { return link; }
    HWND MainWindow() override { return nullptr; }

    std::map<int16_t, PageContent> pages;
    PageStyle defaults;
    int reads = 0;
};

class PageStyleCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer to test with";
        using document_view_test::pageOf;
        using document_view_test::row;
        host_.defaults.width = 555;
        host_.defaults.backgroundColour = 9;
        host_.defaults.group40Word = 77;
        PageContent plain;
        plain.name = "plain";
        plain.style.flags = PageStyle::kColourGroup;  // its own colour, the rest from the defaults
        plain.style.backgroundColour = 3;
        plain.style.width = 100;
        plain.content = document_view_test::writtenPage(pageOf({row("a")}));
        PageContent objects = plain;
        objects.name = "objects";
        objects.content = document_view_test::writtenPage(
            pageOf({row("b")}, R"([{"kind": "picture", "width": 10, "height": 10}, {"kind": "picture", "x": 20, "width": 5, "height": 5}])"));
        ASSERT_FALSE(plain.content.empty());
        ASSERT_FALSE(objects.content.empty());
        host_.pages[1] = plain;
        host_.pages[2] = objects;
    }
    CountingHost host_;
    PageStyleCache cache_;
};

TEST_F(PageStyleCacheTest, OwnGroupsStayAndUnsetOnesComeFromTheDefaults) {
    PageStyle style;
    ASSERT_TRUE(cache_.Get(host_, 1, 0, 0, style));
    EXPECT_EQ(style.backgroundColour, 3) << "the page's own colour group";
    EXPECT_EQ(style.width, 555) << "the width group is not the page's";
    EXPECT_EQ(style.group40Word, 77);
}

TEST_F(PageStyleCacheTest, LoadsOncePerPageAndVariant) {
    PageStyle style;
    ASSERT_TRUE(cache_.Get(host_, 1, 0, 0, style));
    ASSERT_TRUE(cache_.Get(host_, 1, 0, 0, style));
    EXPECT_EQ(cache_.Loads(), 1);
    ASSERT_TRUE(cache_.Get(host_, 1, 1, 0, style));
    EXPECT_EQ(cache_.Loads(), 2) << "another variant";
    ASSERT_TRUE(cache_.Get(host_, 2, 1, 0, style));
    ASSERT_TRUE(cache_.Get(host_, 1, 1, 0, style));
    EXPECT_EQ(cache_.Loads(), 4) << "one entry only";
    ASSERT_TRUE(cache_.Get(host_, PageStyleCache::kNoPage, 1, 0, style));
    EXPECT_EQ(cache_.Loads(), 4) << "no page: the defaults, nothing loaded";
    EXPECT_EQ(style.width, 555);
    cache_.Reset();
    ASSERT_TRUE(cache_.Get(host_, 1, 1, 0, style));
    EXPECT_EQ(cache_.Loads(), 5) << "after a reset";
}

TEST_F(PageStyleCacheTest, ACallThatCopiedObjectsLoadsAgain) {
    page_test::TestPage target;
    PageStyle style;
    ASSERT_TRUE(cache_.Get(host_, 2, 0, 0, style, &target.page));
    EXPECT_EQ(target.page.GetCount(), 2);
    ASSERT_TRUE(cache_.Get(host_, 2, 0, 0, style));
    EXPECT_EQ(cache_.Loads(), 2) << "objects were copied: loaded again";
    ASSERT_TRUE(cache_.Get(host_, 2, 0, 0, style));
    EXPECT_EQ(cache_.Loads(), 2) << "the second load copied none";
}

TEST_F(PageStyleCacheTest, APageThatCannotBeReadGivesTheDefaults) {
    PageStyle style;
    ASSERT_TRUE(cache_.Get(host_, 1, 0, 0, style));
    style.width = 1;
    EXPECT_FALSE(cache_.Get(host_, 9, 0, 0, style));
    EXPECT_EQ(style.width, PageStyle{}.width);
    ASSERT_TRUE(cache_.Get(host_, 1, 0, 0, style));
    EXPECT_EQ(cache_.Loads(), 2) << "the failed page left the cached key as it was";
    EXPECT_EQ(style.backgroundColour, 3);
}

TEST_F(PageStyleCacheTest, AnOffscreenViewHoldsThePage) {
    OffscreenPageView view;
    ASSERT_TRUE(view.LoadPage(host_, 2, 0));
    EXPECT_EQ(view.Name(), "objects");
    EXPECT_EQ(view.RowCount(), 1);
    EXPECT_EQ(view.GetPage().GetCount(), 2);
    EXPECT_EQ(view.MergedStyle().backgroundColour, 3);
    EXPECT_EQ(view.MergedStyle().width, 555);
    EXPECT_FALSE(view.LoadPage(host_, 5, 0));
}

}  // namespace
}  // namespace lect32
