// Damaged and hostile metafiles: bounds on both sides of each check, files cut at every byte,
// counts far beyond the bytes, records past the end; a damaged record ends the picture after what
// came before it.
#include <vector>

#include "vexmill_fixture.h"
#include "winplat/testing.h"

namespace vxtest {
namespace {

using vexmill::Op;

// A picture with a red square drawn first, then the case's record, then a blue square: which of
// the two squares come out says whether the record was kept, skipped or ended the picture.
Bytes around(const std::function<void(Metafile&)>& middle, uint16_t objects = 8) {
    Metafile m(objects);
    m.placeable(0, 0, 100, 100, 96).window(0, 0, 100, 100);
    m.brush(0, kRed).select(0).rect(kRectangle, 0, 0, 50, 50);
    middle(m);
    m.brush(0, kBlue).select(1).rect(kRectangle, 50, 50, 100, 100);
    return m.bytes();
}

int count(const vexmill::Picture& p, Op op) {
    int n = 0;
    for (const auto& r : p.records) n += r.op == op;
    return n;
}

// A polyline record whose count says 'claimed' points and which holds 'held'.
void polyline(Metafile& m, int claimed, int held) {
    Bytes p;
    put16(p, uint32_t(claimed));
    for (int i = 0; i < held; ++i) put16(p, uint32_t(10 + i)), put16(p, 20);
    m.raw(kPolyline, p);
}

TEST_F(VexmillTest, APointCountIsCheckedAgainstTheRecord) {
    struct Row {
        int claimed, held;
        bool kept;
    };
    for (const Row& row : {Row{3, 3, true}, Row{4, 3, false}, Row{2, 3, true}, Row{0, 0, true},
                           Row{32767, 3, false}, Row{-1, 3, false}}) {
        auto picture = parse(around([&](Metafile& m) { polyline(m, row.claimed, row.held); }));
        ASSERT_TRUE(picture);
        EXPECT_EQ(count(*picture, Op::Polyline), row.kept ? 1 : 0) << row.claimed << " of " << row.held;
        // A damaged record ends the picture: the blue square after it is gone too.
        EXPECT_EQ(count(*picture, Op::Rectangle), row.kept ? 2 : 1) << row.claimed << " of " << row.held;
    }
}

TEST_F(VexmillTest, APolyPolygonsCountsAreCheckedBeforeItsPoints) {
    struct Row {
        uint16_t polygons;
        std::vector<int> counts;
        int points;
        bool kept;
    };
    for (const Row& row : {Row{2, {3, 3}, 6, true}, Row{2, {3, 4}, 6, false}, Row{3, {3, 3}, 6, false},
                           Row{65535, {3}, 3, false}, Row{2, {65535, 65535}, 6, false}}) {
        auto picture = parse(around([&](Metafile& m) {
            Bytes p;
            put16(p, row.polygons);
            for (int c : row.counts) put16(p, uint32_t(c));
            for (int i = 0; i < row.points; ++i) put16(p, uint32_t(i)), put16(p, uint32_t(i * 2));
            m.raw(kPolyPolygon, p);
        }));
        ASSERT_TRUE(picture);
        EXPECT_EQ(count(*picture, Op::PolyPolygon), row.kept ? 1 : 0) << row.polygons;
        EXPECT_EQ(count(*picture, Op::Rectangle), row.kept ? 2 : 1) << row.polygons;
    }
}

TEST_F(VexmillTest, ARecordSizeIsCheckedAgainstTheFile) {
    // The last record before the end record declares 'words'; 6 of its bytes are there beyond its
    // head, then the end record's 6 bytes: 9 words reach exactly to the end of the file.
    struct Row {
        uint32_t words;
        bool fits;
    };
    for (const Row& row : {Row{9, true}, Row{10, false}, Row{0xFFFFFFFFu, false}, Row{2, false}}) {
        Metafile m;
        m.placeable(0, 0, 100, 100, 96).brush(0, kRed).select(0).rect(kRectangle, 0, 0, 50, 50);
        m.head(row.words, kEscape, Bytes(6, 0));
        Bytes bytes = m.bytes();
        auto picture = parse(bytes);
        ASSERT_TRUE(picture);
        EXPECT_EQ(count(*picture, Op::Rectangle), 1) << row.words;
        // A record that fits is read, and the end record after it is the end: nothing damaged.
        winplat::testing::DebugCapture capture;
        vexmill::parseMetafile(bytes);
        EXPECT_EQ(capture.contains("damaged"), !row.fits) << row.words;
    }
}

TEST_F(VexmillTest, TheObjectTableHoldsNoMoreThanTheHeaderSays) {
    for (uint16_t objects : {2, 3}) {
        // Three objects made: two fit a table of two, the third ends the picture.
        Metafile m(objects);
        m.brush(0, kRed).brush(0, kGreen).brush(0, kBlue).select(2).rect(kRectangle, 0, 0, 10, 10);
        auto picture = parse(m.bytes());
        ASSERT_TRUE(picture);
        EXPECT_EQ(count(*picture, Op::CreateBrush), objects == 3 ? 3 : 2);
        EXPECT_EQ(count(*picture, Op::Rectangle), objects == 3 ? 1 : 0);
    }
}

TEST_F(VexmillTest, SelectingAnEmptySlotIsSkippedAndSaidOnce) {
    winplat::testing::DebugCapture capture;
    auto picture = parse(around([](Metafile& m) { m.select(5).select(6).record(kDeleteObject, {7}); }));
    ASSERT_TRUE(picture);
    EXPECT_EQ(count(*picture, Op::SelectObject), 2);  // the squares' own
    EXPECT_EQ(count(*picture, Op::Rectangle), 2);
    int said = 0;
    for (const auto& line : capture.messages()) said += line.find("0x012D skipped") != std::string::npos;
    EXPECT_EQ(said, 1);
    EXPECT_TRUE(capture.contains("0x01F0 skipped"));
}

TEST_F(VexmillTest, UnknownRecordsAreSkippedWithAReasonOncePerKind) {
    winplat::testing::DebugCapture capture;
    auto picture = parse(around([](Metafile& m) {
        m.record(kFloodFill, {0, 0, 10, 10}).record(kFloodFill, {0, 0, 20, 20}).record(0x0999, {1, 2});
        m.record(kEscape, {15, 0});
    }));
    ASSERT_TRUE(picture);
    EXPECT_EQ(count(*picture, Op::Rectangle), 2);
    int floodFills = 0;
    for (const auto& line : capture.messages()) floodFills += line.find("0x0419 skipped") != std::string::npos;
    EXPECT_EQ(floodFills, 1);
    EXPECT_TRUE(capture.contains("0x0999 skipped"));
    EXPECT_FALSE(capture.contains("0x0626"));  // escapes are passed over quietly
}

TEST_F(VexmillTest, PaletteAndRegionObjectsKeepTheirSlots) {
    // A palette takes slot 0, so the brush made after it is slot 1: selecting 1 must pick it.
    Metafile m;
    m.placeable(0, 0, 100, 100, 96).window(0, 0, 100, 100);
    m.record(kCreatePalette, {0x300, 0}).brush(0, kGreen).select(1).rect(kRectangle, 0, 0, 100, 100);
    Canvas canvas(100, 100);
    draw(m.bytes(), canvas, 0, 0, 100, 100);
    EXPECT_EQ(canvas.at(50, 50), kGreen);
}

TEST_F(VexmillTest, RestoringALevelNeverSavedIsSkipped) {
    struct Row {
        int saves, level;
        bool kept;
    };
    for (const Row& row : {Row{1, -1, true}, Row{1, -2, false}, Row{2, -2, true}, Row{1, 1, true},
                           Row{1, 2, false}, Row{1, 0, false}, Row{0, -1, false}}) {
        auto picture = parse(around([&](Metafile& m) {
            for (int i = 0; i < row.saves; ++i) m.record(kSaveDc, {});
            m.record(kRestoreDc, {row.level});
        }));
        ASSERT_TRUE(picture);
        EXPECT_EQ(count(*picture, Op::RestoreDc), row.kept ? 1 : 0) << row.saves << " saves, level " << row.level;
        EXPECT_EQ(count(*picture, Op::Rectangle), 2);
    }
}

TEST_F(VexmillTest, ABitmapLargerThanItsRecordEndsThePicture) {
    for (int cut : {0, 2, 12}) {  // whole words: a record pads an odd byte back
        const Bytes dib = packedDib24(4, 4, std::vector<uint32_t>(16, 0x00FF00));
        auto picture = parse(around([&](Metafile& m) {
            Bytes p;
            put32(p, 0x00CC0020u);
            put16(p, 0);
            for (int w : {4, 4, 0, 0, 10, 10, 0, 0}) put16(p, uint32_t(w));
            p.insert(p.end(), dib.begin(), dib.end() - cut);
            m.raw(kStretchDib, p);
        }));
        ASSERT_TRUE(picture);
        EXPECT_EQ(count(*picture, Op::StretchDib), cut == 0 ? 1 : 0) << cut;
        EXPECT_EQ(count(*picture, Op::Rectangle), cut == 0 ? 2 : 1) << cut;
    }
}

TEST_F(VexmillTest, AHugeBitmapIsRefusedBeforeItsRowsAreSized) {
    Bytes p;
    put32(p, 0x00CC0020u);
    put16(p, 0);
    for (int w : {1, 1, 0, 0, 10, 10, 0, 0}) put16(p, uint32_t(w));
    put32(p, 40), put32(p, 0x7FFFFFFF), put32(p, 0x7FFFFFFF), put16(p, 1), put16(p, 32);
    for (int i = 0; i < 6; ++i) put32(p, 0);
    auto picture = parse(around([&](Metafile& m) { m.raw(kStretchDib, p); }));
    ASSERT_TRUE(picture);
    EXPECT_EQ(count(*picture, Op::StretchDib), 0);
    EXPECT_TRUE(picture->bytes.size() < 1024);
}

TEST_F(VexmillTest, TextLongerThanItsRecordEndsThePicture) {
    for (int length : {4, 5, 6, 7000}) {
        auto picture = parse(around([&](Metafile& m) {
            Bytes p;
            put16(p, uint32_t(length));
            for (char c : std::string("ABCD")) p.push_back(uint8_t(c));
            put16(p, 10), put16(p, 10);
            m.raw(kTextOut, p);
        }));
        ASSERT_TRUE(picture);
        // Four characters, then two words of position: a length of 4 reads them all; 5 and 6 read
        // the position's bytes as characters and leave no position; more is past the end.
        EXPECT_EQ(count(*picture, Op::TextOut), length == 4 ? 1 : 0) << length;
    }
}

TEST_F(VexmillTest, HeadersThatAreNoMetafileAreRefused) {
    const Bytes good = Metafile().placeable(0, 0, 100, 100, 96).bytes();
    ASSERT_TRUE(vexmill::parseMetafile(good));
    struct Row {
        size_t at;
        uint8_t value;
        const char* why;
    };
    for (const Row& row : {Row{22, 3, "type 3"}, Row{24, 8, "a header of 8 words"}, Row{14, 0, "0 units per inch"},
                           Row{6, 100, "an empty box"}}) {
        Bytes bad = good;
        bad[row.at] = row.value;
        if (row.at == 14) bad[15] = 0;
        EXPECT_FALSE(vexmill::parseMetafile(bad)) << row.why;
    }
    // A wrong checksum is said, not refused.
    Bytes sum = good;
    sum[20] ^= 0xFF;
    winplat::testing::DebugCapture capture;
    EXPECT_TRUE(vexmill::parseMetafile(sum));
    EXPECT_TRUE(capture.contains("checksum"));
}

TEST_F(VexmillTest, AFileCutAtEveryByteLoadsAPrefixOrNothing) {
    Metafile m = Metafile().placeable(0, 0, 100, 100, 96);
    m.window(0, 0, 100, 100).brush(0, kRed).select(0).pen(0, 2, kBlue).select(1);
    m.rect(kRectangle, 10, 10, 40, 40).points(kPolygon, {{50, 50}, {90, 50}, {70, 90}});
    m.font(-12, "Arial").select(2).textOut(5, 60, "Ahoj");
    m.raw(kStretchDib, [] {
        Bytes p;
        put32(p, 0x00CC0020u);
        put16(p, 0);
        for (int w : {2, 2, 0, 0, 20, 20, 70, 5}) put16(p, uint32_t(w));
        const Bytes dib = packedDib24(2, 2, {1, 2, 3, 4});
        p.insert(p.end(), dib.begin(), dib.end());
        return p;
    }());
    const Bytes whole = m.bytes();
    auto full = parse(whole);
    ASSERT_TRUE(full);
    winplat::testing::DebugCapture quiet;
    size_t loaded = 0;
    for (size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        auto picture = vexmill::parseMetafile(cut);
        if (size < 40) {
            EXPECT_FALSE(picture) << size;  // placeable and metafile headers are not whole yet
            continue;
        }
        ASSERT_TRUE(picture) << size;
        ++loaded;
        ASSERT_LE(picture->records.size(), full->records.size()) << size;
        for (size_t i = 0; i < picture->records.size(); ++i)
            EXPECT_EQ(picture->records[i].op, full->records[i].op) << size;
        Canvas canvas(100, 100);
        EXPECT_TRUE(vexmill::playPicture(*picture, canvas.dc(), 0, 0, 100, 100));
    }
    EXPECT_EQ(loaded, whole.size() - 40);
}

TEST_F(VexmillTest, LoadingCanBeAbandoned) {
    const Bytes bytes = around([](Metafile&) {});
    std::vector<int> told;
    EXPECT_TRUE(vexmill::parseMetafile(bytes, [&](int percent) { told.push_back(percent); return true; }));
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.front(), 0);
    EXPECT_EQ(told.back(), 100);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_FALSE(vexmill::parseMetafile(bytes, [](int percent) { return percent < 100; }));
    EXPECT_FALSE(vexmill::parseMetafile(bytes, [](int) { return false; }));
}

}  // namespace
}  // namespace vxtest
