// The flat exports: ids, natural sizes, loads of whole files and of windows inside larger ones,
// the load callback, drawing and deleting.
#include <vector>

#include "vexmill/vexmill.h"
#include "vexmill_fixture.h"

namespace vxtest {
namespace {

// Placeable 0,0 - 1440,720 at 1440 units per inch: an inch by half an inch, 96 x 48 pixels.
Bytes inchPicture() {
    Metafile m;
    m.placeable(0, 0, 1440, 720, 1440).window(0, 0, 1440, 720).brush(0, kRed).select(0);
    m.rect(kRectangle, 0, 0, 1441, 721);
    return m.bytes();
}

class Exports : public VexmillTest {
  protected:
    void TearDown() override {
        for (uint16_t id : loaded_) VXLDeleteImage(id);
        VexmillTest::TearDown();
    }
    uint16_t load(const std::string& path) {
        const uint16_t id = VXLLoadImage(path.c_str(), nullptr);
        if (id) loaded_.push_back(id);
        return id;
    }
    std::vector<uint16_t> loaded_;
};

TEST_F(Exports, NaturalSizeComesFromTheBoxAndItsUnits) {
    struct Row {
        int16_t right, bottom;
        uint16_t inch;
        int16_t width, height;
    };
    for (const Row& row : {Row{1440, 720, 1440, 96, 48}, Row{1000, 500, 1000, 96, 48}, Row{100, 50, 96, 100, 50},
                           Row{-1440, -720, 1440, 96, 48}, Row{30000, 30000, 10, 32767, 32767}}) {
        const uint16_t id = load(file("a.wmf", Metafile().placeable(0, 0, row.right, row.bottom, row.inch).bytes()));
        ASSERT_NE(id, 0);
        EXPECT_EQ(VXLWidth(id), row.width) << row.right << " at " << row.inch;
        EXPECT_EQ(VXLHeight(id), row.height) << row.bottom << " at " << row.inch;
    }
}

TEST_F(Exports, APlainMetafileIsAsLargeAsItsWindow) {
    const uint16_t id = load(file("plain.wmf", Metafile().window(0, 0, 120, -80).rect(kRectangle, 0, 0, 10, 10).bytes()));
    ASSERT_NE(id, 0);
    EXPECT_EQ(VXLWidth(id), 120);
    EXPECT_EQ(VXLHeight(id), 80);
}

TEST_F(Exports, IdsAreTheSmallestFreeAndUnknownOnesFail) {
    const std::string path = file("a.wmf", inchPicture());
    const uint16_t a = load(path), b = load(path), c = load(path);
    ASSERT_NE(a, 0);
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(c, a + 2);
    EXPECT_TRUE(VXLDeleteImage(b));
    EXPECT_FALSE(VXLDeleteImage(b));
    EXPECT_EQ(VXLWidth(b), 0);
    EXPECT_EQ(VXLHeight(b), 0);
    Canvas canvas(10, 10);
    EXPECT_FALSE(VXLStretchDraw(b, canvas.dc(), 0, 0, 10, 10));
    EXPECT_EQ(load(path), b);  // the freed id comes back first
    EXPECT_EQ(VXLWidth(0), 0);
    EXPECT_FALSE(VXLDeleteImage(0));
    EXPECT_FALSE(VXLStretchDraw(0, canvas.dc(), 0, 0, 10, 10));
    EXPECT_FALSE(VXLDeleteImage(65535));
}

TEST_F(Exports, APictureInsideALargerFileIsReadByOffsetAndLength) {
    const Bytes picture = inchPicture();
    Bytes container(100, 0xEE);
    container.insert(container.end(), picture.begin(), picture.end());
    container.insert(container.end(), 50, 0xEE);
    const std::string path = file("store.bin", container);
    const int32_t size = static_cast<int32_t>(picture.size());
    struct Row {
        int32_t offset, length;
        bool loads;
    };
    for (const Row& row : {Row{100, size, true}, Row{100, 0, true} /* to the end: trailing bytes unread */,
                           Row{99, size, false}, Row{100, size + 50, true}, Row{100, size + 51, false},
                           Row{int32_t(container.size()), 0, false}, Row{int32_t(container.size()) + 1, 0, false},
                           Row{-1, size, false}, Row{100, -1, false}, Row{100, 10, false}}) {
        const uint16_t id = VXLLoadImageOffset2(path.c_str(), row.offset, row.length, nullptr);
        if (id) loaded_.push_back(id);
        EXPECT_EQ(id != 0, row.loads) << row.offset << ", " << row.length;
        if (id) {
            EXPECT_EQ(VXLWidth(id), 96);
        }
    }
}

TEST_F(Exports, AMissingFileGivesNoId) {
    EXPECT_EQ(VXLLoadImage("C:\\no\\such\\picture.wmf", nullptr), 0);
    EXPECT_EQ(VXLLoadImage(nullptr, nullptr), 0);
    EXPECT_EQ(VXLLoadImage(file("empty.wmf", {}).c_str(), nullptr), 0);
}

int calls = 0;
int lastPercent = -1;
int goOn(int percent) {
    ++calls;
    lastPercent = percent;
    return 0;
}
int stop(int) { return 1; }

TEST_F(Exports, TheCallbackIsToldAndCanStopTheLoad) {
    const std::string path = file("a.wmf", inchPicture());
    calls = 0;
    const uint16_t id = VXLLoadImage(path.c_str(), goOn);
    if (id) loaded_.push_back(id);
    EXPECT_NE(id, 0);
    EXPECT_GT(calls, 1);
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(VXLLoadImage(path.c_str(), stop), 0);
}

TEST_F(Exports, StretchDrawFillsTheRectangleGiven) {
    const uint16_t id = load(file("a.wmf", inchPicture()));
    ASSERT_NE(id, 0);
    Canvas canvas(100, 100);
    EXPECT_TRUE(VXLStretchDraw(id, canvas.dc(), 10, 20, 50, 30));
    EXPECT_EQ(canvas.inked(10, 20, 60, 50), 50 * 30);
    EXPECT_EQ(canvas.inked(0, 0, 100, 100), 50 * 30);
}

}  // namespace
}  // namespace vxtest
