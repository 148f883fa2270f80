// Page commands, the freeing of what objects hold, and the text frame a page opens on its text
// objects (the stand-in until the frame view exists, and what the page asks of a frame).
#include <algorithm>
#include <array>
#include <memory>

#include <gtest/gtest.h>

#include "page/page.h"
#include "page/page_style.h"
#include "page_test_support.h"

namespace {

using lect32::ObjectKind;
using lect32::PageObject;
using page_test::Bytes;
using page_test::Fields;
using page_test::object;
using page_test::slot;

Bytes buttonSlot(std::array<int16_t, 4> pictures, std::array<int16_t, 4> cache) {
    Fields f;
    for (int16_t p : pictures) f.u16(p);
    for (int16_t c : cache) f.u16(c);
    return slot(2, f.u8(1).u8(0).bytes);
}

uint16_t cacheEntry(lect32::ImageFileTable& cache, const char* path, uint32_t image) {
    std::string copy(path);
    const uint16_t index = cache.AddPath(copy.data());
    cache.SetImage(index, image);
    return index;
}

TEST(FreeObjectsTest, EveryObjectLetsGoOfWhatItHolds) {
    page_test::TestPage t;
    const uint16_t once = cacheEntry(t.cache, "c:\\a.png", 11);
    const uint16_t twice = cacheEntry(t.cache, "c:\\b.png", 12);
    cacheEntry(t.cache, "c:\\b.png", 12);
    const uint16_t vector = cacheEntry(t.cache, "c:\\c.wmf", 13);
    const uint16_t button = cacheEntry(t.cache, "c:\\d.png", 14);

    PageObject media = object(0, 0, 5, 5, ObjectKind::Video);
    media.window = 900;
    media.tempFile = 3;
    t.page.InsertObject(media);
    PageObject picture = object(0, 10, 5, 5);
    picture.cacheIndex = static_cast<int16_t>(once);
    picture.backgroundImage = 21;
    picture.workImage = 22;
    t.page.InsertObject(picture);
    PageObject shared = object(0, 20, 5, 5);
    shared.cacheIndex = static_cast<int16_t>(twice);
    t.page.InsertObject(shared);
    PageObject drawing = object(0, 30, 5, 5, ObjectKind::VectorPicture);
    drawing.cacheIndex = static_cast<int16_t>(vector);
    t.page.InsertObject(drawing);
    t.page.InsertObject(object(0, 40, 5, 5, ObjectKind::Button), buttonSlot({0, 1, -1, -1}, {static_cast<int16_t>(button), static_cast<int16_t>(twice), -1, -1}));
    t.page.InsertObject(object(0, 50, 5, 5, ObjectKind::Button));  // no record: holds no cache entry
    t.page.SetSavedValues({3, 3, 3, 3});

    t.page.FreeObjects(true);
    EXPECT_EQ(t.media.calls, (std::vector<std::string>{
                                 "close window 900", "delete file 3",         // the video
                                 "delete image 11", "delete image 21", "delete image 22",  // last user of a picture
                                 "delete vector 13",                         // its last user: a vector picture
                                 "delete image 14",                          // the button's own state picture
                                 "delete image 12",                          // the button was its last user
                             }));
    EXPECT_EQ(t.page.GetCount(), 0);
    EXPECT_EQ(t.cache.GetUseCount(once), 0);
    EXPECT_EQ(t.cache.GetUseCount(twice), 0) << "given back by the picture and by the button";
    EXPECT_EQ(t.cache.GetUseCount(button), 0);
    EXPECT_EQ(t.page.GetSavedValues(), lect32::SavedPageValues{});
}

TEST(FreeObjectsTest, WithoutAllOnlyTheListIsEmptied) {
    page_test::TestPage t;
    const uint16_t entry = cacheEntry(t.cache, "c:\\a.png", 11);
    PageObject picture = object(0, 10, 5, 5);
    picture.cacheIndex = static_cast<int16_t>(entry);
    picture.window = 5;
    t.page.InsertObject(picture);
    t.page.SetCurrentObject(0);
    t.page.FreeObjects(false);
    EXPECT_TRUE(t.media.calls.empty());
    EXPECT_EQ(t.page.GetCount(), 0);
    EXPECT_EQ(t.page.GetCurrentObject(), lect32::Page::kNone);
    EXPECT_EQ(t.cache.GetUseCount(entry), 1);
}

class PageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* path : {"c:\\p\\a.png", "c:\\p\\b.png"}) {
            std::string copy(path);
            t.pictures.AddPath(copy.data());
        }
        PageObject picture = object(0, 0, 5, 5);
        picture.picture = 1;
        picture.window = 8;
        picture.prepared = 1;
        t.page.InsertObject(picture);
        PageObject cached = object(0, 10, 5, 5);
        cached.cacheIndex = static_cast<int16_t>(cacheEntry(t.cache, "c:\\q\\cached.png", 30));
        t.page.InsertObject(cached);
        t.page.InsertObject(object(0, 20, 5, 5, ObjectKind::Button),
                            buttonSlot({0, -1, -1, -1}, {-1, static_cast<int16_t>(cacheEntry(t.cache, "c:\\q\\hover.png", 31)), -1, -1}));
        t.page.SetCurrentObject(2);
    }

    std::string cachePath(int16_t index) {
        char path[lect32::FileNameTable::kPathBuffer];
        t.cache.GetPath(index, path);
        return path;
    }
    std::string picturePath(int16_t index) {
        char path[lect32::FileNameTable::kPathBuffer];
        t.pictures.GetPath(index, path);
        return path;
    }

    page_test::TestPage t;
};

TEST_F(PageCommandsTest, ThePaintersCommandsGoToThePainter) {
    int data = 0;
    EXPECT_EQ(t.page.DoCommand(2, 1, nullptr), 1);
    EXPECT_EQ(t.page.DoCommand(13, 42, nullptr), 1);
    EXPECT_EQ(t.page.DoCommand(9, 0, nullptr), 0);
    EXPECT_EQ(t.page.DoCommand(10, 0, &data), 0);
    EXPECT_EQ(t.painter.calls, (std::vector<std::string>{"selection", "value 42", "anchors", "data"}));
    EXPECT_EQ(t.page.GetCount(), 3);
    EXPECT_EQ(t.page.DoCommand(3, 0, nullptr), 0);
    EXPECT_EQ(t.page.GetCount(), 0) << "command 3 frees the objects";
}

TEST_F(PageCommandsTest, AReloadGivesEachPictureItsCacheEntryBack) {
    EXPECT_EQ(t.page.DoCommand(2, 0, nullptr), 1);
    EXPECT_EQ(t.page.GetCurrentObject(), lect32::Page::kNone);
    const PageObject& picture = t.page.Object(0);
    EXPECT_EQ(picture.window, 0u);
    EXPECT_EQ(picture.prepared, 0);
    ASSERT_GE(picture.cacheIndex, 0);
    EXPECT_EQ(cachePath(picture.cacheIndex), "c:\\p\\b.png");
    EXPECT_EQ(t.cache.GetImage(picture.cacheIndex), 0u) << "a new entry holds no image yet";
    EXPECT_EQ(t.page.Object(1).cacheIndex, -1) << "no picture index: no entry";
    const lect32::ButtonRecord button = t.page.GetButton(2);
    EXPECT_EQ(cachePath(button.cache[0]), "c:\\p\\a.png");
    EXPECT_EQ(button.cache[1], -1);
}

TEST_F(PageCommandsTest, ARestyleClearsTheShowingButAddsNoEntries) {
    EXPECT_EQ(t.page.DoCommand(11, 0, nullptr), 1);
    EXPECT_EQ(t.page.GetCurrentObject(), 2);
    EXPECT_EQ(t.page.Object(0).cacheIndex, -1);
    EXPECT_EQ(t.page.Object(0).window, 0u);
    EXPECT_EQ(t.page.Object(1).cacheIndex, -1);
}

TEST_F(PageCommandsTest, BeforeStoringCachedPicturesGetPictureTableEntries) {
    EXPECT_EQ(t.page.DoCommand(1, 0, nullptr), 0);
    EXPECT_EQ(t.page.Object(0).picture, 1) << "already named";
    EXPECT_EQ(picturePath(t.page.Object(1).picture), "c:\\q\\cached.png");
    const lect32::ButtonRecord button = t.page.GetButton(2);
    EXPECT_EQ(button.pictures[0], 0);
    EXPECT_EQ(picturePath(button.pictures[1]), "c:\\q\\hover.png");
    EXPECT_EQ(button.pictures[2], -1);
}

TEST(PageCommandsSwitchTest, TheViewersSwitchKeepsCachedPicturesUnnamed) {
    page_test::TestPage t;
    lect32::PageServices services = t.services();
    services.keepPictures = true;
    lect32::Page page(services);
    PageObject cached = object(0, 10, 5, 5);
    cached.cacheIndex = static_cast<int16_t>(cacheEntry(t.cache, "c:\\q\\cached.png", 30));
    page.InsertObject(cached);
    page.DoCommand(1, 0, nullptr);
    EXPECT_EQ(page.Object(0).picture, -1);
}

// A frame that records what the page asks of it.
class RecordingFrame final : public lect32::ObjectTextFrame {
public:
    explicit RecordingFrame(std::vector<std::string>& log) : log_(log) {}
    void Load(std::span<const uint8_t> content) override {
        ObjectTextFrame::Load(content);
        log_.push_back("load " + std::to_string(content.size()));
    }
    Change Changed() const override { return change; }
    void ApplyFrameRecord(const lect32::FrameRecord& r) override { log_.push_back("style " + std::to_string(r.background)); }
    void Place(const RECT& box) override {
        log_.push_back("place " + std::to_string(box.left) + "," + std::to_string(box.top) + " " +
                       std::to_string(box.right - box.left) + "x" + std::to_string(box.bottom - box.top));
    }
    int DoCommand(int type, int, void*) override {
        log_.push_back("command " + std::to_string(type));
        if (type == handles) content_.push_back('!');
        return type == handles;
    }
    bool FindText(const lect32::FrameSearch&) override {
        log_.push_back("find");
        return content_.size() == findIn;
    }
    bool ShowTooltip(POINT p) override {
        log_.push_back("tip " + std::to_string(p.x) + "," + std::to_string(p.y));
        return true;
    }
    bool OnKeyDown(WPARAM key) override {
        log_.push_back("key " + std::to_string(key));
        return true;
    }
    bool StepLink(bool forward) override {
        log_.push_back(forward ? "next link" : "previous link");
        return true;
    }

    Change change = Change::None;
    int handles = -1;
    size_t findIn = 0;

private:
    std::vector<std::string>& log_;
};

class TextFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        lect32::PageServices services = t.services();
        services.makeFrame = [this](HWND) {
            auto made = std::make_unique<RecordingFrame>(log);
            frame = made.get();
            return made;
        };
        page = std::make_unique<lect32::Page>(services);
        lect32::PageStyle style;
        style.margins = {10, 10, 20, 20};
        page->SetLayoutArea(style);
        page->SetViewOffset(3, 4);
        page->SetOrigin(100, 1000);
        PageObject first = object(150, 1200, 80, 60, ObjectKind::TextFrame);
        first.spacingLeft = 1, first.spacingRight = 2, first.spacingTop = 3, first.spacingBottom = 4;
        first.borderWidth = 5;
        page->InsertObject(first, slot(2, Fields().u16(80).u16(60).u8(6).u16(-1).u16(2).u16(2).u16(2).u16(2).bytes), Bytes{1, 2, 3});
        page->InsertObject(object(0, 1300, 10, 10));
        page->InsertObject(object(0, 1400, 50, 50, ObjectKind::TextFrame), {}, Bytes{9, 9, 9, 9, 9});
    }

    page_test::TestPage t;
    std::vector<std::string> log;
    RecordingFrame* frame = nullptr;
    std::unique_ptr<lect32::Page> page;
};

// The frame sits inside border and spacing at the object's place in the owner's client area:
// x = 10 + 5 + 1 + 3 + 150 - 100 = 69, y = 20 + 3 + 5 + 4 + 1200 - 1000 = 232.
TEST_F(TextFrameTest, ActivatingLoadsStylesAndPlacesTheFrame) {
    page->ActivateTextObject(0, true, false);
    EXPECT_EQ(log, (std::vector<std::string>{"load 3", "style 6", "place 69,232 67x43"}));
    EXPECT_EQ(page->GetActiveTextObject(), 0);
    log.clear();
    page->ActivateTextObject(0, true, false);
    EXPECT_TRUE(log.empty()) << "already active";
    page->ActivateTextObject(2, false, true);
    EXPECT_EQ(log, (std::vector<std::string>{"load 5"})) << "unchanged: no commit; kept style, not placed";
}

TEST_F(TextFrameTest, AChangedFrameIsCommittedBackIntoItsObject) {
    page->ActivateTextObject(0, true, false);
    frame->change = lect32::ObjectTextFrame::Change::Second;
    frame->handles = 7;
    EXPECT_EQ(page->DoCommand(7, 0, nullptr), 1);
    EXPECT_EQ(page->CopySecondText(0), (Bytes{1, 2, 3, '!'}));
    EXPECT_EQ(page->CopySecondText(2), (Bytes{9, 9, 9, 9, 9, '!'}));
    frame->change = lect32::ObjectTextFrame::Change::None;
    EXPECT_EQ(page->DoCommand(8, 0, nullptr), 0);
}

TEST_F(TextFrameTest, SearchesStopAtTheFirstFrameThatFinds) {
    frame = nullptr;
    page->GetTextFrame();
    frame->findIn = 3;
    EXPECT_TRUE(page->FindInTextFrames({"x"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "find"), 1);
    frame->findIn = 5;
    log.clear();
    EXPECT_TRUE(page->FindInTextFrames({"x"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "find"), 2);
    frame->findIn = 99;
    EXPECT_FALSE(page->FindInTextFrames({"x"}));
    EXPECT_EQ(page->GetTextFramesSize(), 3u + 5u);
}

TEST_F(TextFrameTest, TooltipsKeysAndLinkStepsReachTheFrame) {
    log.clear();
    EXPECT_TRUE(page->ShowFrameTooltip(POINT{100, 300}));
    // The content box of object 0 starts at (10 + 3 + 150 - 100 + 1 + 5, 20 + 4 + 200 + 3 + 5).
    EXPECT_EQ(log.back(), "tip 31,68");
    EXPECT_FALSE(page->FrameKeyDown(40)) << "no text frame is being edited";
    page->SetCurrentObject(2);
    page->SetSelectionMode(1);
    log.clear();
    EXPECT_TRUE(page->FrameKeyDown(40));
    EXPECT_TRUE(page->FrameCommand(1025));
    EXPECT_FALSE(page->FrameCommand(1026));
    EXPECT_EQ(log, (std::vector<std::string>{"load 5", "style 255", "place -87,424 50x50", "key 40", "previous link"}));
    page->SetCurrentObject(1);
    EXPECT_FALSE(page->FrameKeyDown(40)) << "the current object is a picture";
}

// The stand-in frame: whatever the page does with its text objects, they end as they began.
TEST(StandInFrameTest, ChangesNothing) {
    page_test::TestPage t;
    t.page.InsertObject(object(0, 0, 50, 50, ObjectKind::TextFrame), {}, Bytes{4, 5, 6});
    t.page.InsertObject(object(0, 60, 50, 50, ObjectKind::TextFrame), {}, Bytes{7});
    const Bytes before = page_test::savedBlock(t.page);
    EXPECT_EQ(t.page.DoCommand(6, 1, nullptr), 0);
    EXPECT_FALSE(t.page.FindInTextFrames({"a"}));
    EXPECT_FALSE(t.page.ShowFirstFoundWordInFrames());
    t.page.MarkFoundWordsInFrames({"a"});
    t.page.LayOutTextFrames();
    t.page.CollapseFrameSelections();
    t.page.WheelTextFrame(3);
    t.page.ScrollTextFrame(1);
    t.page.ZoomObjects(100, 3, 2);
    EXPECT_EQ(t.page.LayoutTextObject(1), 0);
    EXPECT_EQ(t.page.GetTextFramesSize(), 4u);
    t.page.CommitTextObject();
    EXPECT_EQ(page_test::savedBlock(t.page), before);
}

}  // namespace
