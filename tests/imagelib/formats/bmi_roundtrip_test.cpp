// BMI pictures saved and loaded through the library's entry points on every stream kind: pixels,
// palette, transparency entries and rotation angle come back as they were saved, and the stored
// layout (directory, blocks, chunk sizes) is what an independent reader of the format finds.
#include <random>
#include <sstream>

#include "../pixmill_fixture.h"
#include "bmi_test_support.h"
#include "core/rows/bitmap_math.h"
#include "support/tool_runner.h"

namespace {

using namespace bmi_test;
using bmp_test::Form;
namespace fs = std::filesystem;

class BmiRoundTrip : public PixmillTest {
protected:
    bmp_test::TempFolder folder_;

    std::string path(const std::string& name) const { return bmp_test::windowsPath(folder_.file(name)); }
};

// A picture of the given shape with random pixels and palette, 'entries' transparency entries of
// every kind and a rotation angle.
PxlImageId randomImage(int width, int height, int bits, int entries, std::mt19937& random) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    uint8_t* data = PXLGetBits(id);
    for (int i = 0; i < PXLSizeImage(id); ++i) data[i] = static_cast<uint8_t>(random());
    if (bits <= 8) {
        for (int i = 0; i < pixmill::paletteSizeForBits(bits); ++i) {
            image->colors()[i] = RGBQUAD{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                         static_cast<uint8_t>(random()), 0};
        }
    }
    for (int i = 0; i < entries; ++i) {
        image->entries[static_cast<size_t>(i)] = PxlTransparencyEntry{
            static_cast<int32_t>(random() % 256), static_cast<int32_t>(random() % 256),
            static_cast<int32_t>(random() % 256), i, i % 3, -i, 1000 + i};
    }
    image->entryCount = entries;
    image->rotateAngle = static_cast<int32_t>(random() % 360);
    return id;
}

// Pixels and palette; with 'whole' also the transparency entries and the rotation angle.
void expectSameImage(PxlImageId saved, PxlImageId loaded, bool whole = true) {
    ASSERT_NE(loaded, 0);
    pixmill::ImageLock a = pixmill::lockImage(saved, pixmill::Access::Read);
    pixmill::ImageLock b = pixmill::lockImage(loaded, pixmill::Access::Read);
    ASSERT_EQ(b->width(), a->width());
    ASSERT_EQ(b->height(), a->height());
    ASSERT_EQ(b->bitCount(), a->bitCount());
    EXPECT_EQ(Bytes(PXLGetBits(loaded), PXLGetBits(loaded) + PXLSizeImage(loaded)),
              Bytes(PXLGetBits(saved), PXLGetBits(saved) + PXLSizeImage(saved)));
    for (int i = 0; i < (a->bitCount() <= 8 ? pixmill::paletteSizeForBits(a->bitCount()) : 0); ++i) {
        const RGBQUAD x = a->colors()[i], y = b->colors()[i];
        EXPECT_TRUE(x.rgbRed == y.rgbRed && x.rgbGreen == y.rgbGreen && x.rgbBlue == y.rgbBlue) << "entry " << i;
    }
    if (!whole) return;
    ASSERT_EQ(b->entryCount, a->entryCount);
    for (int i = 0; i < a->entryCount; ++i) {
        EXPECT_EQ(std::memcmp(&a->entries[static_cast<size_t>(i)], &b->entries[static_cast<size_t>(i)],
                              sizeof(PxlTransparencyEntry)),
                  0)
            << "entry " << i;
    }
    EXPECT_EQ(b->rotateAngle, a->rotateAngle);
}

enum class Kind { File, Offset, Ole, Callbacks };

const char* kindName(Kind k) {
    switch (k) {
        case Kind::File:
            return "file";
        case Kind::Offset:
            return "offset in a file";
        case Kind::Ole:
            return "OLE stream";
        default:
            return "callbacks";
    }
}

const Bytes kPrefix = {'s', 'o', 'm', 'e', ' ', 'o', 't', 'h', 'e', 'r', ' ', 'd', 'a', 't', 'a'};

// Saves and loads back through the entry points of one kind; streams and the offset kind keep
// other bytes before the picture.
PxlImageId saveAndLoad(PxlImageId id, Kind kind, const std::string& file, const std::string& other) {
    switch (kind) {
        case Kind::File:
            if (PXLSaveImage(id, file.c_str(), PXL_FORMAT_BMI, 0, 0, nullptr) != 1) return 0;
            return PXLLoadImage(0, file.c_str(), nullptr);
        case Kind::Offset: {
            if (PXLSaveImage(id, file.c_str(), PXL_FORMAT_BMI, 0, 0, nullptr) != 1) return 0;
            Bytes whole = kPrefix;
            const Bytes picture = bmp_test::readFile(fs::path(file.substr(2)));
            whole.insert(whole.end(), picture.begin(), picture.end());
            bmp_test::writeFile(fs::path(other.substr(2)), whole);
            return PXLLoadImageOffset(0, other.c_str(), static_cast<int32_t>(kPrefix.size()), nullptr);
        }
        case Kind::Ole: {
            bmp_test::OleMemory memory(kPrefix);
            memory.seekTo(static_cast<int64_t>(kPrefix.size()));
            if (PXLSaveImageOleStream(id, memory.stream, PXL_FORMAT_BMI) != 1) return 0;
            memory.seekTo(static_cast<int64_t>(kPrefix.size()));
            return PXLLoadImageOleStream(0, memory.stream, nullptr);
        }
        default: {
            bmp_test::MemoryCallbacks memory;
            memory.data = kPrefix;
            memory.position = static_cast<int64_t>(kPrefix.size());
            if (PXLSaveImageStreamCB(id, &memory.callbacks, PXL_FORMAT_BMI) != 1) return 0;
            memory.position = static_cast<int64_t>(kPrefix.size());
            return PXLLoadImageStreamCB(0, &memory.callbacks, nullptr);
        }
    }
}

TEST_F(BmiRoundTrip, EveryDepthWidthAndEntryCountOnEveryKind) {
    std::mt19937 random(110);
    for (Kind kind : {Kind::File, Kind::Offset, Kind::Ole, Kind::Callbacks}) {
        for (int bits : {1, 4, 8, 24}) {
            // 17 widths run through every entry count from 0 to 10.
            for (int width = 1; width <= 17; ++width) {
                const int entries = (width + bits) % 11;
                SCOPED_TRACE(std::string(kindName(kind)) + ", " + std::to_string(bits) + " bits, width " +
                             std::to_string(width) + ", " + std::to_string(entries) + " entries");
                const PxlImageId id = randomImage(width, 1 + width % 5, bits, entries, random);
                const PxlImageId back = saveAndLoad(id, kind, path("p.bmi"), path("inside.dat"));
                expectSameImage(id, back);
                PXLDeleteImage(back);
                PXLDeleteImage(id);
            }
        }
    }
}

// The independent reader's lines for a file (empty when Python is missing).
std::vector<std::string> layout(const fs::path& file) {
    // Named by the build: __FILE__ may be relative to wherever the compiler ran.
    const fs::path script = fs::path(BMI_LAYOUT_READER);
    std::vector<std::string> lines;
    const std::string command = "python3 '" + script.string() + "' " + tool_runner::quoted(file);
    std::istringstream in(tool_runner::capture(command, tool_runner::Errors::Merge).output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool havePython() { return tool_runner::run("python3 -c 'import zlib'"); }

#define REQUIRE_PYTHON()                                                                   \
    do {                                                                                   \
        if (!havePython()) GTEST_SKIP() << "python3 (the independent BMI reader) is missing"; \
    } while (0)

std::vector<std::string> linesStarting(const std::vector<std::string>& lines, const std::string& word) {
    std::vector<std::string> out;
    for (const std::string& l : lines) {
        if (l.rfind(word + " ", 0) == 0) out.push_back(l.substr(word.size() + 1));
    }
    return out;
}

std::string hex(const uint8_t* data, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < count; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

// Chunk capacity by row stride; two rows of the table are the format's own examples.
TEST_F(BmiRoundTrip, ChunkSizesAndLayoutAsAnIndependentReaderSeesThem) {
    REQUIRE_PYTHON();
    struct Case {
        int width, height, bits;
        uint32_t chunkSize;
        int rowsPerChunk;
    };
    const Case cases[] = {
        {100, 85, 8, 4000, 40},   // stride 100 < 200: 4000-byte chunks
        {2000, 12, 24, 32000, 5}, // stride 6000: 20 rows would be 120000, capped
        {250, 30, 8, 5040, 20},   // stride 252: 20 rows
        {33, 9, 1, 4000, 1000},   // stride 8
        {11000, 3, 24, 33000, 1}, // stride 33000 is above the cap: one row a chunk
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " x " + std::to_string(c.bits));
        const PxlImageId id = randomImage(c.width, c.height, c.bits, 2, random);
        const std::string file = path("layout.bmi");
        ASSERT_EQ(PXLSaveImage(id, file.c_str(), PXL_FORMAT_BMI, 0, 0, nullptr), 1);
        const std::vector<std::string> lines = layout(folder_.file("layout.bmi"));
        ASSERT_TRUE(linesStarting(lines, "error").empty()) << lines.back();
        const uint32_t stride = bmi_test::stride(c.width, c.bits);
        const std::string palette = c.bits <= 8 ? "1" : "0";
        EXPECT_EQ(linesStarting(lines, "header"),
                  std::vector<std::string>{std::to_string(c.width) + " " + std::to_string(c.height) + " " + palette +
                                           " " + std::to_string(c.bits) + " 1 6"});
        EXPECT_EQ(linesStarting(lines, "palette"),
                  std::vector<std::string>{std::to_string(c.bits <= 8 ? 1 << c.bits : 0)});
        EXPECT_EQ(linesStarting(lines, "comment"),
                  std::vector<std::string>{"0 46 4000 This file was created by TARVO software, Inc."});
        EXPECT_EQ(linesStarting(lines, "transparency"), std::vector<std::string>{"2"});
        const std::vector<std::string> frames = linesStarting(lines, "frame");
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0], std::to_string(c.width) + " " + std::to_string(c.height) + " " +
                                 std::to_string(c.bits) + " " + palette + " 1 " +
                                 std::to_string(stride * static_cast<uint32_t>(c.height)) + " " +
                                 std::to_string(c.chunkSize) + " " + std::to_string(c.bits <= 8 ? 1 << c.bits : 0));
        // Every chunk holds its share of whole rows, the last one the rest.
        const std::vector<std::string> chunks = linesStarting(lines, "chunk");
        const int expectedChunks = (c.height + c.rowsPerChunk - 1) / c.rowsPerChunk;
        ASSERT_EQ(static_cast<int>(chunks.size()), expectedChunks);
        for (int i = 0; i < expectedChunks; ++i) {
            const int rows = std::min(c.rowsPerChunk, c.height - i * c.rowsPerChunk);
            const std::string unpacked = std::to_string(static_cast<uint32_t>(rows) * stride);
            EXPECT_EQ(chunks[static_cast<size_t>(i)].substr(chunks[static_cast<size_t>(i)].rfind(' ') + 1), unpacked)
                << "chunk " << i;
        }
        // Random rows do not compress: a full chunk cannot be packed into its own size and is
        // stored; a compressed one never exceeds the chunk size.
        for (const std::string& chunk : chunks) {
            std::istringstream fields(chunk);
            uint32_t kind = 0, length = 0, unpacked = 0;
            fields >> kind >> length >> unpacked;
            if (unpacked == c.chunkSize) {
                EXPECT_EQ(kind, 0u) << chunk;
            }
            EXPECT_EQ(length, kind == 0 ? unpacked : std::min(length, c.chunkSize)) << chunk;
        }
        // The rows, top row first.
        const std::vector<std::string> rows = linesStarting(lines, "row");
        ASSERT_EQ(static_cast<int>(rows.size()), c.height);
        for (int y = 0; y < c.height; ++y) {
            pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Read);
            EXPECT_EQ(rows[static_cast<size_t>(y)], hex(pixmill::rowFromTop(*image, y), stride)) << "row " << y;
        }
        PXLDeleteImage(id);
    }
}

TEST_F(BmiRoundTrip, FlatRowsAreStoredCompressed) {
    REQUIRE_PYTHON();
    const PxlImageId id = PXLCreateImage(300, 50, 8);  // all zero
    ASSERT_EQ(PXLSaveImage(id, path("flat.bmi").c_str(), PXL_FORMAT_BMI, 0, 0, nullptr), 1);
    const std::vector<std::string> chunks = linesStarting(layout(folder_.file("flat.bmi")), "chunk");
    ASSERT_EQ(chunks.size(), 3u);  // 20 rows of 300 bytes a chunk
    for (const std::string& chunk : chunks) {
        EXPECT_EQ(chunk[0], '1') << chunk;
        EXPECT_LT(std::stoi(chunk.substr(2)), 200) << chunk;
    }
    const PxlImageId back = PXLLoadImage(0, path("flat.bmi").c_str(), nullptr);
    expectSameImage(id, back);
}

// A stream save writes an attached transparency image as a second frame in the same directory,
// through the spare entry; the stream load attaches it again.
TEST_F(BmiRoundTrip, TransparencyImageTravelsAsAppendedFrame) {
    REQUIRE_PYTHON();
    std::mt19937 random(3);
    const PxlImageId id = randomImage(21, 6, 8, 1, random);
    const PxlImageId mask = randomImage(21, 6, 1, 0, random);
    ASSERT_EQ(PXLSetImageTransparentEx(id, mask), 1);
    bmp_test::MemoryCallbacks memory;
    ASSERT_EQ(PXLSaveImageStreamCB(id, &memory.callbacks, PXL_FORMAT_BMI), 1);
    EXPECT_EQ(memory.position, static_cast<int64_t>(memory.data.size()));

    bmp_test::writeFile(folder_.file("two.bmi"), memory.data);
    const std::vector<std::string> lines = layout(folder_.file("two.bmi"));
    const std::vector<std::string> directory = linesStarting(lines, "directory");
    ASSERT_EQ(directory.size(), 1u);
    std::vector<int> types;
    std::istringstream in(directory[0]);
    for (std::string entry; in >> entry;) types.push_back(std::stoi(entry.substr(0, entry.find(':'))));
    EXPECT_EQ(types, (std::vector<int>{3, 5, 7, 1, 1, 255}));
    EXPECT_EQ(linesStarting(lines, "end"), std::vector<std::string>{std::to_string(memory.data.size())});
    const std::vector<std::string> frames = linesStarting(lines, "frame");
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].substr(0, 8), "21 6 1 1");

    memory.position = 0;
    const PxlImageId back = PXLLoadImageStreamCB(0, &memory.callbacks, nullptr);
    expectSameImage(id, back);
    const PxlImageId backMask = PXLGetImageTransparentImageEx(back);
    ASSERT_NE(backMask, 0);
    expectSameImage(mask, backMask, false);
}

// The stride check keeps 16-bit chunk fields valid: the widest 24-bit row that fits (65532 bytes)
// is stored one row a chunk; one pixel more cannot be, and the old file stays.
TEST_F(BmiRoundTrip, RowsUpTo65535BytesAreStoredAndLongerOnesRefused) {
    std::mt19937 random(5);
    const PxlImageId widest = randomImage(21844, 2, 24, 0, random);
    expectSameImage(widest, saveAndLoad(widest, Kind::File, path("wide.bmi"), ""));

    bmp_test::writeFile(folder_.file("old.bmi"), Bytes{'o', 'l', 'd'});
    const PxlImageId id = PXLCreateImage(21845, 1, 24);  // 65535 bytes, 65536 with the padding
    EXPECT_EQ(PXLSaveImage(id, path("old.bmi").c_str(), PXL_FORMAT_BMI, 0, 0, nullptr), 0);
    EXPECT_EQ(bmp_test::readFile(folder_.file("old.bmi")), (Bytes{'o', 'l', 'd'}));
}

// 16- and 32-bit images are stored as the library's 24-bit conversion of them.
TEST_F(BmiRoundTrip, DeepAndFiveSixFiveImagesAreStoredAsTwentyFourBits) {
    std::mt19937 random(16);
    for (int bits : {PXL_BITS_565, 32}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = PXLCreateImage(9, 4, bits);
        ASSERT_NE(id, 0);
        uint8_t* data = PXLGetBits(id);
        for (int i = 0; i < PXLSizeImage(id); ++i) data[i] = static_cast<uint8_t>(random());
        const PxlImageId expected = PXLColorConvert(id, 24, 0, 0, 0, nullptr, nullptr);
        ASSERT_NE(expected, 0);
        const PxlImageId back = saveAndLoad(id, Kind::Callbacks, "", "");
        ASSERT_NE(back, 0);
        EXPECT_EQ(PXLbpp(back), 24);
        expectSameImage(expected, back, false);
    }
}

}  // namespace
