#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/colour/image_convert.h"

namespace {

using pixmill::Access;
using pixmill::liveImageCount;
using pixmill::lockImage;

using Transparency = PixmillTest;

bool maskBit(PxlImageId mask, int x, int y) {
    const uint8_t* row = PXLGetBits(mask) + (PXLHeight(mask) - 1 - y) * PXLGetScanBytes(mask);
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

PxlTransparencyEntry colorEntry(int r, int g, int b, int tolerance = 0) {
    return {r, g, b, tolerance, 0, 0, 0};
}

PxlImageId storedMask(PxlImageId id) {
    return lockImage(id, Access::Read)->mask;
}

TEST_F(Transparency, EachKindOfTransparencyCounts) {
    struct Case {
        const char* what;
        void (*make)(PxlImageId);
        int16_t expected;
    };
    const Case cases[] = {
        {"nothing", [](PxlImageId) {}, 0},
        {"an entry",
         [](PxlImageId id) {
             const PxlTransparencyEntry e = colorEntry(1, 2, 3);
             PXLSetImageTransparent(id, &e, 1);
         },
         1},
        {"a mask", [](PxlImageId id) { PXLSetImageTransparentMask(id, PXLCreateImage(4, 3, 1)); }, 1},
        {"a transparency image", [](PxlImageId id) { PXLSetImageTransparentEx(id, PXLCreateImage(4, 3, 8)); },
         1},
        {"a rotation", [](PxlImageId id) { lockImage(id, Access::Write)->rotateAngle = -90; }, 1},
    };
    for (const Case& c : cases) {
        const PxlImageId id = PXLCreateImage(4, 3, 24);
        c.make(id);
        EXPECT_EQ(PXLIsImageTransparent(id), c.expected) << c.what;
        PXLDeleteImage(id);
    }
    EXPECT_EQ(PXLIsImageTransparent(0), 0);
    EXPECT_EQ(PXLIsImageTransparent(99), 0);
    EXPECT_EQ(liveImageCount(), 0u) << "attached images go with their picture";
}

TEST_F(Transparency, DataIsTheImagesOwnArray) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    int32_t count = 77;
    EXPECT_EQ(PXLGetImageTransparentData(id, &count), nullptr);
    EXPECT_EQ(count, 0);

    const PxlTransparencyEntry entries[] = {colorEntry(10, 20, 30, 4), {0, 0, 7, 0, 1, 0, 0}};
    ASSERT_EQ(PXLSetImageTransparent(id, entries, 2), 1);
    PxlTransparencyEntry* data = PXLGetImageTransparentData(id, &count);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(std::memcmp(data, entries, sizeof entries), 0);
    EXPECT_EQ(data, PXLGetImageTransparentData(id, &count)) << "not a copy";

    count = 77;
    EXPECT_EQ(PXLGetImageTransparentData(0, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(PXLGetImageTransparentData(99, &count), nullptr);
    EXPECT_EQ(PXLGetImageTransparentData(id, nullptr), data) << "the count is optional";
}

TEST_F(Transparency, TwelveEntriesStoreTen) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    std::vector<PxlTransparencyEntry> entries;
    for (int i = 0; i < 12; ++i) entries.push_back(colorEntry(i, i, i));
    ASSERT_EQ(PXLSetImageTransparent(id, entries.data(), 12), 1);
    int32_t count = 0;
    const PxlTransparencyEntry* data = PXLGetImageTransparentData(id, &count);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(data[9].red, 9);
}

TEST_F(Transparency, SettingTheSameEntriesAgainKeepsThemButDropsTheDerivedMask) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    const PxlTransparencyEntry entries[] = {colorEntry(0, 0, 0)};
    PXLSetImageTransparent(id, entries, 1);
    const PxlImageId reference = PXLGetImageTransparentImage(id);
    ASSERT_NE(reference, 0);
    PXLDeleteImage(reference);
    const PxlImageId mask = storedMask(id);
    ASSERT_NE(mask, 0) << "built on demand and kept";
    const size_t withMask = liveImageCount();

    ASSERT_EQ(PXLSetImageTransparent(id, entries, 1), 1);
    int32_t count = 0;
    const PxlTransparencyEntry* kept = PXLGetImageTransparentData(id, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::memcmp(kept, entries, sizeof entries), 0);
    EXPECT_EQ(storedMask(id), 0);
    EXPECT_EQ(liveImageCount(), withMask - 1) << "the old mask was deleted";
}

TEST_F(Transparency, AMovedRegionSeedIsStored) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    PxlTransparencyEntry region = {0, 0, 0, 0, PXL_TRANSPARENT_REGION, 1, 1};
    PXLSetImageTransparent(id, &region, 1);
    region.seedX = 3;
    PXLSetImageTransparent(id, &region, 1);
    EXPECT_EQ(PXLGetImageTransparentData(id, nullptr)->seedX, 3) << "a region differs by its seed too";
}

TEST_F(Transparency, ClearingAndRefusals) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    const PxlTransparencyEntry entries[] = {colorEntry(1, 2, 3), colorEntry(4, 5, 6)};
    PXLSetImageTransparent(id, entries, 2);

    EXPECT_EQ(PXLSetImageTransparent(id, entries, -1), 0) << "a negative count";
    EXPECT_EQ(PXLSetImageTransparent(0, entries, 1), 0);
    EXPECT_EQ(PXLSetImageTransparent(99, entries, 1), 0);
    int32_t count = 0;
    PXLGetImageTransparentData(id, &count);
    EXPECT_EQ(count, 2) << "refusals change nothing";

    EXPECT_EQ(PXLSetImageTransparent(id, entries, 0), 1);
    EXPECT_EQ(PXLGetImageTransparentData(id, &count), nullptr);
    PXLSetImageTransparent(id, entries, 2);
    EXPECT_EQ(PXLSetImageTransparent(id, nullptr, 2), 1);
    EXPECT_EQ(PXLGetImageTransparentData(id, &count), nullptr);
    EXPECT_EQ(count, 0);
    const auto stored = lockImage(id, Access::Read)->entries;
    const std::vector<uint8_t> zeros(sizeof stored, 0);
    EXPECT_EQ(std::memcmp(&stored, zeros.data(), zeros.size()), 0) << "all ten entries zeroed";
    EXPECT_EQ(PXLIsImageTransparent(id), 0);
}

// Both attachments follow one set of rules; each case starts from a 4 x 3 picture that already
// owns a 1-bit image in the field.
TEST_F(Transparency, AttachmentRules) {
    using Setter = int16_t (*)(PxlImageId, PxlImageId);
    struct Field {
        const char* name;
        Setter set;
        PxlImageId (*get)(PxlImageId);
    };
    const Field fields[] = {
        {"mask", PXLSetImageTransparentMask, [](PxlImageId id) { return storedMask(id); }},
        {"transparency image", PXLSetImageTransparentEx, PXLGetImageTransparentImageEx},
    };
    struct Case {
        const char* what;
        int width, height, bits;
        int16_t expected;
    };
    const Case cases[] = {
        {"1 bit", 4, 3, 1, 1},    {"8 bits", 4, 3, 8, 1},   {"4 bits", 4, 3, 4, 0},
        {"24 bits", 4, 3, 24, 0}, {"too wide", 5, 3, 1, 0}, {"too short", 4, 2, 8, 0},
    };
    for (const Field& f : fields) {
        for (const Case& c : cases) {
            const PxlImageId id = PXLCreateImage(4, 3, 24);
            const PxlImageId old = PXLCreateImage(4, 3, 1);
            ASSERT_EQ(f.set(id, old), 1) << f.name;
            const PxlImageId candidate = PXLCreateImage(c.width, c.height, c.bits);
            EXPECT_EQ(f.set(id, candidate), c.expected) << f.name << ": " << c.what;
            EXPECT_EQ(f.get(id), c.expected ? candidate : 0) << f.name << ": " << c.what;
            EXPECT_EQ(PXLWidth(old), 0) << f.name << ": the old one is deleted first (" << c.what << ")";
            PXLDeleteImage(id);
            EXPECT_EQ(PXLWidth(candidate) != 0, c.expected == 0)
                << f.name << ": an attached image goes with the picture, a refused one stays (" << c.what
                << ")";
            PXLDeleteImage(candidate);
            EXPECT_EQ(liveImageCount(), 0u) << f.name << ": " << c.what;
        }
    }
}

TEST_F(Transparency, SetMaskWithZeroRemovesItAndReturnsZero) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    PXLSetImageTransparentMask(id, PXLCreateImage(4, 3, 1));
    EXPECT_EQ(PXLSetImageTransparentMask(id, 0), 0);
    EXPECT_EQ(storedMask(id), 0);
    EXPECT_EQ(liveImageCount(), 1u);
    EXPECT_EQ(PXLSetImageTransparentMask(0, 0), 0);
}

TEST_F(Transparency, NoImageMayOwnItself) {
    // a owns b as its transparency image, b owns c as its mask; c may not own a in either field.
    const PxlImageId a = PXLCreateImage(4, 3, 8);
    const PxlImageId b = PXLCreateImage(4, 3, 8);
    const PxlImageId c = PXLCreateImage(4, 3, 1);
    EXPECT_EQ(PXLSetImageTransparentMask(a, a), 0) << "itself";
    EXPECT_EQ(PXLSetImageTransparentEx(a, a), 0) << "itself";
    ASSERT_EQ(PXLSetImageTransparentMask(b, c), 1);
    ASSERT_EQ(PXLSetImageTransparentEx(a, b), 1);
    EXPECT_EQ(PXLSetImageTransparentMask(c, a), 0) << "through a chain";
    EXPECT_EQ(PXLSetImageTransparentEx(c, a), 0) << "through a chain";
    EXPECT_EQ(PXLSetImageTransparentEx(b, a), 0) << "directly back";
    const PxlImageId frame = PXLCreateImage(4, 3, 1);
    lockImage(frame, Access::Write)->nextFrame.reset(a);  // a frame chain owns its next frames too
    EXPECT_EQ(PXLSetImageTransparentMask(c, frame), 0) << "through a frame chain";
    static_cast<void>(lockImage(frame, Access::Write)->nextFrame.release());  // unlinked, not deleted
    PXLDeleteImage(frame);
    PXLDeleteImage(a);
    EXPECT_EQ(liveImageCount(), 0u) << "a, b and c went together, once each";
}

TEST_F(Transparency, HandingBackTheImagesOwnMaskKeepsOneReference) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    const PxlImageId mask = PXLCreateImage(4, 3, 1);
    PXLSetImageTransparentMask(id, mask);
    const PxlImageId reference = PXLGetImageTransparentImage(id);
    ASSERT_EQ(reference, mask) << "a shared reference";
    EXPECT_EQ(PXLSetImageTransparentMask(id, reference), 1);
    EXPECT_EQ(storedMask(id), mask);
    PXLDeleteImage(id);
    EXPECT_EQ(liveImageCount(), 0u);
}

TEST_F(Transparency, TheLoadersAttachmentFollowsTheSameRules) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    const PxlImageId wrongSize = PXLCreateImage(3, 3, 1);
    EXPECT_FALSE(pixmill::attachTransparencyImage(id, wrongSize));
    EXPECT_FALSE(pixmill::attachTransparencyImage(id, id));
    const PxlImageId right = PXLCreateImage(4, 3, 1);
    EXPECT_TRUE(pixmill::attachTransparencyImage(id, right));
    EXPECT_EQ(PXLGetImageTransparentImageEx(id), right);
}

TEST_F(Transparency, TheTransparentImageIsTheMaskElseTheTransparencyImage) {
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    EXPECT_EQ(PXLGetImageTransparentImage(id), 0) << "no transparency";
    EXPECT_EQ(PXLGetImageTransparentImage(0), 0);
    EXPECT_EQ(PXLGetImageTransparentImage(99), 0);

    const PxlImageId alpha = PXLCreateImage(4, 3, 8);
    PXLSetImageTransparentEx(id, alpha);
    const PxlImageId first = PXLGetImageTransparentImage(id);
    EXPECT_EQ(first, alpha) << "the transparency image when there is no mask";
    PXLDeleteImage(first);
    EXPECT_EQ(PXLbpp(alpha), 8) << "only the new reference was given up";

    // Blue pixel (2, 1): the entry's colour.
    PXLGetBits(id)[1 * PXLGetScanBytes(id) + 2 * 3] = 255;
    const PxlTransparencyEntry blue = colorEntry(0, 0, 255);
    PXLSetImageTransparent(id, &blue, 1);
    const PxlImageId mask = PXLGetImageTransparentImage(id);
    ASSERT_NE(mask, 0);
    EXPECT_NE(mask, alpha) << "the mask comes first";
    EXPECT_EQ(storedMask(id), mask);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(maskBit(mask, x, y), x == 2 && y == 1) << x << "," << y;
    EXPECT_EQ(PXLGetImageTransparentImage(id), mask) << "built once";
    PXLDeleteImage(mask);
    PXLDeleteImage(mask);
    EXPECT_EQ(PXLbpp(mask), 1) << "the image still owns it";
    PXLDeleteImage(id);
    EXPECT_EQ(liveImageCount(), 0u);
}

TEST_F(Transparency, AnIndexEntryOnATrueColourImageGivesAClearMask) {
    const PxlImageId id = PXLCreateImage(9, 2, 24);
    std::memset(PXLGetBits(id), 0, static_cast<size_t>(PXLSizeImage(id)));
    const PxlTransparencyEntry index = {0, 0, 0, 0, PXL_TRANSPARENT_INDEX, 0, 0};
    PXLSetImageTransparent(id, &index, 1);
    const PxlImageId mask = PXLGetImageTransparentImage(id);
    ASSERT_NE(mask, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_FALSE(maskBit(mask, x, y)) << x << "," << y;
    PXLDeleteImage(mask);
}

TEST_F(Transparency, RegionEntriesAddTheirFilledArea) {
    // 4 x 1: white, white, black, white. The region from (0, 0) stops at the black pixel.
    const PxlImageId id = PXLCreateImage(4, 1, 24);
    std::memset(PXLGetBits(id), 255, 12);
    std::memset(PXLGetBits(id) + 6, 0, 3);
    const PxlTransparencyEntry region = {255, 255, 255, 0, PXL_TRANSPARENT_REGION, 0, 0};
    PXLSetImageTransparent(id, &region, 1);
    const PxlImageId mask = PXLGetImageTransparentImage(id);
    ASSERT_NE(mask, 0);
    const bool expected[] = {true, true, false, false};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(maskBit(mask, x, 0), expected[x]) << x;
    PXLDeleteImage(mask);
    PXLDeleteImage(id);
    EXPECT_EQ(liveImageCount(), 0u) << "the fill's own mask was deleted";
}

TEST_F(Transparency, ARotatedImageGetsItsMaskTurnedWithIt) {
    // 4 x 3 with the mask bit at (3, 0), the top-right corner: a quarter turn clockwise takes it to
    // the bottom-right corner (2, 3) of the 3 x 4 turned mask.
    const PxlImageId id = PXLCreateImage(4, 3, 24);
    const PxlImageId mask = PXLCreateImage(4, 3, 1);
    PXLGetBits(mask)[2 * PXLGetScanBytes(mask)] = 0x10;
    PXLSetImageTransparentMask(id, mask);
    PXLSetImageRotateAngle(id, 90);
    const PxlImageId turned = PXLGetImageTransparentImage(id);
    ASSERT_NE(turned, 0);
    ASSERT_EQ(PXLWidth(turned), 3);
    ASSERT_EQ(PXLHeight(turned), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(maskBit(turned, x, y), x == 2 && y == 3) << x << "," << y;
    EXPECT_EQ(PXLGetImageRotateAngle(turned), 0) << "a turned mask is drawn as it is";

    const size_t kept = liveImageCount();
    EXPECT_EQ(PXLGetImageTransparentImage(id), turned) << "made once, handed out as references";
    PXLDeleteImage(turned);
    PXLDeleteImage(turned);
    EXPECT_EQ(liveImageCount(), kept) << "the references went, the kept copy stays";
    PXLDeleteImage(id);
    EXPECT_EQ(liveImageCount(), 0u) << "rotated copies and turned masks go with the picture";
}

TEST_F(Transparency, CombinePicksTheFirstNonZeroAsANewReference) {
    const PxlImageId a = PXLCreateImage(2, 2, 1);
    const PxlImageId b = PXLCreateImage(2, 2, 1);
    const PxlImageId c = PXLCreateImage(2, 2, 8);
    struct Case {
        PxlImageId x, y, z, expected;
    };
    const Case cases[] = {{a, b, c, a}, {0, b, c, b}, {0, 0, c, c},
                          {0, b, 0, b}, {0, 0, 0, 0}, {99, b, c, 0}};
    for (auto combine : {PXLCreateMaskCombine, PXLCreateTranspCombine}) {
        for (const Case& k : cases) {
            const PxlImageId result = combine(k.x, k.y, k.z);
            EXPECT_EQ(result, k.expected) << k.x << "," << k.y << "," << k.z;
            if (result) {
                PXLDeleteImage(result);
                EXPECT_NE(PXLbpp(result), 0) << "the caller's own reference was another one";
            }
        }
    }
    EXPECT_EQ(liveImageCount(), 3u);
}

}  // namespace
