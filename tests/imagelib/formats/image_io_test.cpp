// The load and save entry points, through the BMP codec.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>
#include <vector>

#include "../pixmill_fixture.h"
#include "../scoped_wait.h"
#include "formats/image_load.h"
#include "winplat/ole.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ImageIo : public PixmillTest {
protected:
    ImageIo() {
        folder_ = fs::temp_directory_path() / ("pxl_io_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    ~ImageIo() override { fs::remove_all(folder_); }

    std::string win(const std::string& name) const {
        std::string path = "C:" + (folder_ / name).string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }
    std::vector<uint8_t> bytes(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void put(const std::string& name, const std::vector<uint8_t>& content) const {
        std::ofstream out(folder_ / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    }

    // A picture with a different value in every pixel, so a misplaced row or column shows.
    static PxlImageId pattern(int width, int height, int bits) {
        const PxlImageId id = PXLCreateImage(width, height, bits);
        uint8_t* data = PXLGetBits(id);
        for (int i = 0; i < PXLSizeImage(id); ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 13);
        return id;
    }

    fs::path folder_;
};

TEST_F(ImageIo, SaveAndLoadRoundTripEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = pattern(13, 7, bits);
        ASSERT_EQ(PXLSaveImage(id, win("round.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
        const PxlImageId back = PXLLoadImage(0, win("round.bmp").c_str(), nullptr);
        ASSERT_NE(back, 0);
        EXPECT_EQ(PXLCompareImages(id, back), 1);
    }
}

TEST_F(ImageIo, FileInformationWithoutLoading) {
    const PxlImageId id = pattern(21, 5, 8);
    ASSERT_EQ(PXLSaveImage(id, win("info.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    PxlFileInfo info{};
    ASSERT_EQ(PXLGetInfoFile(win("info.bmp").c_str(), &info), 1);
    EXPECT_EQ(info.formatId, PXL_FORMAT_BMP);
    EXPECT_EQ(info.width, 21);
    EXPECT_EQ(info.height, 5);
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_EQ(info.fileSize, static_cast<int32_t>(bytes("info.bmp").size()));
    EXPECT_EQ(info.frameCount, 1);
    EXPECT_STREQ(info.detailText, "no compression");

    put("junk.bmp", std::vector<uint8_t>(100, 0x42));
    PxlFileInfo untouched{};
    untouched.width = 777;
    EXPECT_EQ(PXLGetInfoFile(win("junk.bmp").c_str(), &untouched), 0);
    EXPECT_EQ(untouched.width, 777) << "a failed read leaves the record alone";
}

TEST_F(ImageIo, APictureInsideALargerFileLoadsByOffset) {
    const PxlImageId id = pattern(9, 9, 24);
    ASSERT_EQ(PXLSaveImage(id, win("plain.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    std::vector<uint8_t> container(1234, 0xAB);
    const auto bmp = bytes("plain.bmp");
    container.insert(container.end(), bmp.begin(), bmp.end());
    container.insert(container.end(), 77, 0xCD);
    put("store.dat", container);
    const PxlImageId back = PXLLoadImageOffset(0, win("store.dat").c_str(), 1234, nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLCompareImages(id, back), 1);
    PxlFileInfo info{};
    ASSERT_EQ(PXLGetInfoFileOffset(win("store.dat").c_str(), 1234, &info), 1);
    EXPECT_EQ(info.width, 9);
}

TEST_F(ImageIo, AFailedSaveKeepsTheOldFile) {
    put("keep.bmp", {'o', 'l', 'd'});
    const PxlImageId id = pattern(4, 4, 8);
    EXPECT_EQ(PXLSaveImage(id, win("keep.bmp").c_str(), PXL_FORMAT_DIB, 0, 0, nullptr), 0) << "no writer for 41";
    EXPECT_EQ(PXLSaveImage(id, win("keep.bmp").c_str(), PXL_FORMAT_PCD, 0, 0, nullptr), 0);
    EXPECT_EQ(PXLSaveImage(id, win("keep.bmp").c_str(), 999, 0, 0, nullptr), 0);
    EXPECT_EQ(PXLSaveImage(0, win("keep.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 0);
    EXPECT_EQ(bytes("keep.bmp"), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(PXLSaveImage(id, win("missing\\folder.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 0);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) files += entry.is_regular_file();
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
    ASSERT_EQ(PXLSaveImage(id, win("keep.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    EXPECT_NE(bytes("keep.bmp").size(), 3u) << "a good save replaces the file";
}

int rowsSeen = 0;
void breakAfterThreeRows() {
    if (++rowsSeen == 3) PXLBreakLoad();
}
void countRows() { ++rowsSeen; }

TEST_F(ImageIo, BreakingOffALoadLeavesNoImage) {
    const PxlImageId id = pattern(16, 40, 8);
    ASSERT_EQ(PXLSaveImage(id, win("break.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    const size_t live = pixmill::liveImageCount();
    rowsSeen = 0;
    EXPECT_EQ(PXLLoadImage(0, win("break.bmp").c_str(), breakAfterThreeRows), 0);
    EXPECT_EQ(pixmill::liveImageCount(), live);
    rowsSeen = 0;
    EXPECT_EQ(PXLLoadImagePreviewOffset(0, win("break.bmp").c_str(), 0, 10, 10, breakAfterThreeRows), 0);
    EXPECT_EQ(pixmill::liveImageCount(), live);

    PXLBreakLoad();  // asked for before a load: no effect on it
    rowsSeen = 0;
    const PxlImageId loaded = PXLLoadImage(0, win("break.bmp").c_str(), countRows);
    EXPECT_NE(loaded, 0);
    EXPECT_EQ(rowsSeen, 40) << "the progress callback runs once per row";
    PXLDeleteImage(loaded);

    PXLLockBreakLoad(1);
    rowsSeen = 0;
    const PxlImageId locked = PXLLoadImage(0, win("break.bmp").c_str(), breakAfterThreeRows);
    EXPECT_NE(locked, 0) << "a locked break does not stop the load";
    EXPECT_EQ(PXLBreakLoad(), 0);
    PXLLockBreakLoad(0);
}

TEST_F(ImageIo, ThirtyTwoBitFilesLoadAsTwentyFourBits) {
    const PxlImageId id = pattern(5, 3, 32);
    ASSERT_EQ(PXLSaveImage(id, win("deep.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    const PxlImageId back = PXLLoadImage(0, win("deep.bmp").c_str(), nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLbpp(back), 24);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const uint8_t* source = PXLGetBits(id) + y * PXLGetScanBytes(id) + 4 * x;
            const uint8_t* loaded = PXLGetBits(back) + y * PXLGetScanBytes(back) + 3 * x;
            EXPECT_EQ(std::memcmp(source, loaded, 3), 0) << x << "," << y;
        }
    }
}

TEST_F(ImageIo, OleAndCallbackStreamsRoundTrip) {
    const PxlImageId id = pattern(11, 6, 8);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    ASSERT_EQ(PXLSaveImageOleStream(id, stream, PXL_FORMAT_BMP), 1);
    LARGE_INTEGER start;
    start.QuadPart = 0;
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    const PxlImageId back = PXLLoadImageOleStream(0, stream, nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLCompareImages(id, back), 1);
    EXPECT_EQ(PXLSaveImageOleStream(id, stream, PXL_FORMAT_PNG), 0) << "streams take BMP and BMI only";
    stream->Release();

    struct Memory {
        PxlStreamCallbacks callbacks;
        std::vector<uint8_t> bytes;
        size_t position = 0;
    } memory{};
    memory.callbacks.read = [](PxlStreamCallbacks* self, void* buffer, int32_t count) -> int32_t {
        auto* m = reinterpret_cast<Memory*>(self);
        const size_t n = std::min(static_cast<size_t>(count), m->bytes.size() - std::min(m->position, m->bytes.size()));
        std::memcpy(buffer, m->bytes.data() + m->position, n);
        m->position += n;
        return static_cast<int32_t>(n);
    };
    memory.callbacks.write = [](PxlStreamCallbacks* self, const void* buffer, int32_t count) -> int32_t {
        auto* m = reinterpret_cast<Memory*>(self);
        if (m->bytes.size() < m->position + count) m->bytes.resize(m->position + count);
        std::memcpy(m->bytes.data() + m->position, buffer, static_cast<size_t>(count));
        m->position += static_cast<size_t>(count);
        return count;
    };
    memory.callbacks.seek = [](PxlStreamCallbacks* self, int32_t offset, int32_t origin) -> int32_t {
        auto* m = reinterpret_cast<Memory*>(self);
        const int64_t base = origin == 0 ? 0 : origin == 1 ? int64_t(m->position) : int64_t(m->bytes.size());
        m->position = static_cast<size_t>(std::max<int64_t>(0, base + offset));
        return 0;
    };
    memory.callbacks.tell = [](PxlStreamCallbacks* self) -> int32_t {
        return static_cast<int32_t>(reinterpret_cast<Memory*>(self)->position);
    };
    ASSERT_EQ(PXLSaveImageStreamCB(id, &memory.callbacks, PXL_FORMAT_BMP), 1);
    memory.position = 0;
    const PxlImageId fromCallbacks = PXLLoadImageStreamCB(0, &memory.callbacks, nullptr);
    ASSERT_NE(fromCallbacks, 0);
    EXPECT_EQ(PXLCompareImages(id, fromCallbacks), 1);
    memory.position = 0;
    PxlFileInfo info{};
    ASSERT_EQ(PXLGetInfoFileStreamCB(&memory.callbacks, &info), 1);
    EXPECT_EQ(info.width, 11);
    EXPECT_EQ(info.fileSize, 0) << "a stream has no file size";
}

// Nearest-neighbour reference: where each preview pixel should have come from, within one row or
// column either way.
void expectPreviewOf(PxlImageId full, PxlImageId preview) {
    ASSERT_NE(preview, 0);
    ASSERT_EQ(PXLbpp(full), 8);
    const int fw = PXLWidth(full), fh = PXLHeight(full), pw = PXLWidth(preview), ph = PXLHeight(preview);
    for (int y = 0; y < ph; ++y) {
        for (int x = 0; x < pw; ++x) {
            const uint8_t got = PXLGetBits(preview)[(ph - 1 - y) * PXLGetScanBytes(preview) + x];
            bool near = false;
            const int sx = x * fw / pw, sy = y * fh / ph;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = std::clamp(sx + dx, 0, fw - 1), ny = std::clamp(sy + dy, 0, fh - 1);
                    near = PXLGetBits(full)[(fh - 1 - ny) * PXLGetScanBytes(full) + nx] == got;
                }
            }
            EXPECT_TRUE(near) << "preview pixel " << x << "," << y;
        }
    }
}

TEST_F(ImageIo, PreviewsResampleOnTheFlyOrFallBackToAResizedFullLoad) {
    const PxlImageId big = pattern(200, 120, 8);
    ASSERT_EQ(PXLSaveImage(big, win("big.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    const PxlImageId onTheFly = PXLLoadImagePreviewOffset(0, win("big.bmp").c_str(), 0, 50, 50, nullptr);
    EXPECT_EQ(PXLWidth(onTheFly), 50);
    EXPECT_EQ(PXLHeight(onTheFly), 30);
    expectPreviewOf(big, onTheFly);

    const PxlImageId small = pattern(50, 50, 8);
    ASSERT_EQ(PXLSaveImage(small, win("small.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    const PxlImageId enlarged = PXLLoadImagePreviewOffset(0, win("small.bmp").c_str(), 0, 100, 100, nullptr);
    EXPECT_EQ(PXLWidth(enlarged), 100) << "smaller than the box: full load, then resized";
    EXPECT_EQ(PXLHeight(enlarged), 100);
    expectPreviewOf(small, enlarged);

    const PxlImageId tiny = PXLLoadImagePreviewOffset(0, win("big.bmp").c_str(), 0, 5, 5, nullptr);
    EXPECT_EQ(PXLWidth(tiny), 10) << "boxes below 10 x 10 count as 10 x 10";
    EXPECT_EQ(PXLHeight(tiny), 6);
    expectPreviewOf(big, tiny);
}

TEST(NewSizeCalculateProp, FitsTheBoxKeepingTheProportions) {
    int32_t w = 100, h = 100;
    ASSERT_EQ(PXLNewSizeCalculateProp(400, 200, &w, &h), 1);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    w = h = 1000;
    ASSERT_EQ(PXLNewSizeCalculateProp(400, 200, &w, &h), 1);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 500);
    EXPECT_EQ(PXLNewSizeCalculateProp(400, 200, nullptr, &h), 0);
    w = h = 100;
    EXPECT_EQ(PXLNewSizeCalculateProp(0, 0, &w, &h), 0) << "a zero scale";
}

TEST_F(ImageIo, ASecondFileLoadWaitsForTheFirstAndGivesUp) {
    const PxlImageId id = pattern(4, 4, 8);
    ASSERT_EQ(PXLSaveImage(id, win("gate.bmp").c_str(), PXL_FORMAT_BMP, 0, 0, nullptr), 1);
    {
        const pixmill_test::ScopedGateWait brief(100ms);
        std::unique_lock held(pixmill::loadGate());
        std::atomic<PxlImageId> result{-1};
        std::thread second([&] { result = PXLLoadImage(0, win("gate.bmp").c_str(), nullptr); });
        second.join();
        EXPECT_EQ(result, 0) << "the gate stayed taken";
    }
    EXPECT_NE(PXLLoadImage(0, win("gate.bmp").c_str(), nullptr), 0);
}

}  // namespace
