#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/codec.h"
#include "formats/format_registry.h"
#include "pixmill/pixmill.h"

namespace {

namespace fs = std::filesystem;

class FormatDetection : public ::testing::Test {
protected:
    FormatDetection() {
        folder_ = fs::temp_directory_path() / ("pxl_detect_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    ~FormatDetection() override { fs::remove_all(folder_); }

    // Writes the bytes (padded with zeros to at least 16) and returns the file's Windows path.
    std::string file(const std::string& name, std::vector<uint8_t> bytes, size_t at = 0, bool pad = true) {
        std::vector<uint8_t> content(at, 0x55);
        content.insert(content.end(), bytes.begin(), bytes.end());
        if (pad && content.size() < at + 16) content.resize(at + 16, 0);
        std::ofstream out(folder_ / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        std::string path = "C:" + (folder_ / name).string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    fs::path folder_;
};

const std::vector<uint8_t> kPng = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
const std::vector<uint8_t> kGif = {'G', 'I', 'F', '8', '9', 'a'};
const std::vector<uint8_t> kPcx = {0x0A, 0x05, 0x01, 0x08};
const std::vector<uint8_t> kNothing = {0x12, 0x34, 0x56, 0x78};

struct DetectCase {
    const char* name;
    std::vector<uint8_t> bytes;
    int16_t expected;
};

TEST_F(FormatDetection, ContentAndExtensionDecideInOrder) {
    const DetectCase cases[] = {
        {"picture.PNG", kPng, PXL_FORMAT_PNG},
        {"x.gif", kPng, PXL_FORMAT_PNG},  // the content decides
        {"x.png", kGif, PXL_FORMAT_GIF},
        {"x.pcx", kPcx, PXL_FORMAT_PCX},
        {"x.bin", kPcx, 0},  // PCX needs its extension
        {"y.pcx", {0x0A, 0x06}, 0},  // version byte too high
        {"x.tga", kNothing, PXL_FORMAT_TARGA},
        {"x.ico", {0, 0, 1, 0}, PXL_FORMAT_ICO},
        {"x.txt", {0, 0, 1, 0}, PXL_FORMAT_ICO},  // whatever the extension
        {"x.jpeg", {0xFF, 0xD8, 0xFF, 0xE0}, PXL_FORMAT_JPG},
        {"x.dib", {'B', 'M'}, PXL_FORMAT_BMP},
        {"x.rle", {'B', 'M'}, PXL_FORMAT_BMP},
        {"x.xyz", {'B', 'M'}, PXL_FORMAT_BMP},
        {"x.tif", {'I', 'I', 0x2A, 0}, PXL_FORMAT_TIFF},
        {"x.dat", {'M', 'M', 0, 0x2A}, PXL_FORMAT_TIFF},
        {"x.wpg", {0xFF, 'W', 'P', 'C'}, PXL_FORMAT_WPG},
        {"x.bin2", {0xFF, 'W', 'P', 'C'}, 0},
        {"x.mac", {0, 2, 3}, PXL_FORMAT_MACPAINT},
        {"y.mac", {1, 2, 3}, 0},
        {"x.pcd", kNothing, PXL_FORMAT_PCD},
        {"x.bmi", {'T', 'a', 'r', 'v', 'o', 'B', 'M', 'I', 'a'}, PXL_FORMAT_BMI},
        {"y.bmi", {'T', 'a', 'r', 'v', 'o', 'B', 'M', 'I', 'b'}, 0},  // a file needs all nine bytes
        {"x.unknown", kNothing, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PXLGetFormatFile(file(c.name, c.bytes).c_str()), c.expected);
    }
}

TEST_F(FormatDetection, PicturesInsideOtherFilesAreTargaUnlessTheyAreRecognised) {
    const std::string inside = file("container.dat", kNothing, 100);
    EXPECT_EQ(PXLGetFormatFileOffset(inside.c_str(), 100), PXL_FORMAT_TARGA);
    EXPECT_EQ(PXLGetFormatFileOffset(inside.c_str(), 0), 0);
    const std::string png = file("store.dat", kPng, 300);
    EXPECT_EQ(PXLGetFormatFileOffset(png.c_str(), 300), PXL_FORMAT_PNG);
    EXPECT_EQ(PXLGetFormatFileOffset(png.c_str(), 1 << 20), 0) << "past the end: nothing to read";
    EXPECT_EQ(PXLGetFormatFileOffset(png.c_str(), -5), 0);
}

TEST_F(FormatDetection, ShortMissingAndWildcardFilesAreUnknown) {
    EXPECT_EQ(PXLGetFormatFile(file("short.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0}, 0, false).c_str()), 0)
        << "fewer than ten bytes";
    EXPECT_EQ(PXLGetFormatFile(file("ten.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}, 0, false).c_str()),
              PXL_FORMAT_BMP);
    EXPECT_EQ(PXLGetFormatFile("C:\\no\\such\\file.bmp"), 0);
    EXPECT_EQ(PXLGetFormatFile("C:\\folder\\*"), 0);
    EXPECT_EQ(PXLGetFormatFile(nullptr), 0);
}

TEST(FormatExtension, ByTheLowerCasedExtensionAlone) {
    const struct {
        const char* path;
        int16_t id;
    } cases[] = {
        {"C:\\a\\b.JPEG", PXL_FORMAT_JPEG}, {"c.Jpg", PXL_FORMAT_JPG}, {"x.tar.gz.PCX", PXL_FORMAT_PCX},
        {"C:\\dir.bmp\\noext", 0},          {"*", 0},                  {"a.unknown", 0},
        {"pic.rle", PXL_FORMAT_RLE},        {"d:pic.tga", PXL_FORMAT_TARGA},
    };
    for (const auto& c : cases) EXPECT_EQ(PXLGetFormatFileExt(c.path), c.id) << c.path;
}

TEST(FormatRows, EnumerationAndNames) {
    PxlFormatRow row{};
    EXPECT_EQ(PXLCountImportFormats(), 15);
    EXPECT_EQ(PXLCountExportFormats(), 9);
    ASSERT_EQ(PXLEnumerateImportFormats(14, &row), 1);
    EXPECT_STREQ(row.extension, ".pcd");
    ASSERT_EQ(PXLEnumerateExportFormats(4, &row), 1);
    EXPECT_STREQ(row.extension, ".wpg");
    ASSERT_EQ(PXLEnumerateExportFormats(8, &row), 1);
    EXPECT_STREQ(row.extension, ".bmi");

    const PxlFormatRow untouched = row;
    EXPECT_EQ(PXLEnumerateImportFormats(-1, &row), 0);
    EXPECT_EQ(PXLEnumerateImportFormats(15, &row), 0);
    EXPECT_EQ(PXLEnumerateExportFormats(9, &row), 0);
    EXPECT_EQ(PXLGetFormatName(5, &row), 0);
    EXPECT_EQ(PXLGetFormatName(1000, &row), 0);
    EXPECT_EQ(std::memcmp(&row, &untouched, sizeof row), 0) << "failures leave the row alone";

    ASSERT_EQ(PXLGetFormatName(41, &row), 1);
    EXPECT_STREQ(row.extension, ".dib");
    EXPECT_STREQ(row.name, "Windows Bitmap (*.dib)");
}

TEST(LicenseText, IsCutToTheBufferAndNeverOverrunsIt) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(PXLSupportGifLicenseText(buffer, 10), 1);
    EXPECT_STREQ(buffer, "LZW licen");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(PXLSupportGifLicenseText(buffer, 0), 1);
    EXPECT_EQ(PXLSupportGifLicenseText(buffer, -3), 1);
    EXPECT_EQ(buffer[0], 'x') << "no room means nothing copied";
    char whole[2048];
    PXLSupportGifLicenseText(whole, 2047);
    EXPECT_STREQ(whole, "LZW licensed under U.S. Patent No. 4,558,302 and foreign counterparts.");
}

// A stream is recognised only as BMP or BMI, and its position is kept.
TEST(StreamDetection, OnlyBmpAndBmiAndThePositionStays) {
    struct Memory {
        PxlStreamCallbacks callbacks;
        std::vector<uint8_t> bytes;
        int32_t position = 0;
    };
    auto read = [](PxlStreamCallbacks* self, void* buffer, int32_t count) -> int32_t {
        auto* m = reinterpret_cast<Memory*>(self);
        const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(m->bytes.size()) - m->position);
        std::memcpy(buffer, m->bytes.data() + m->position, static_cast<size_t>(std::max(n, 0)));
        m->position += std::max(n, 0);
        return n;
    };
    auto seek = [](PxlStreamCallbacks* self, int32_t offset, int32_t origin) -> int32_t {
        auto* m = reinterpret_cast<Memory*>(self);
        m->position = (origin == 0 ? 0 : origin == 1 ? m->position : static_cast<int32_t>(m->bytes.size())) + offset;
        return 0;
    };
    auto tell = [](PxlStreamCallbacks* self) -> int32_t { return reinterpret_cast<Memory*>(self)->position; };
    const struct {
        std::vector<uint8_t> bytes;
        int16_t expected;
    } cases[] = {
        {{'T', 'a', 'r', 'v', 'o', 'B', 'M', 'I', 'z', 0}, PXL_FORMAT_BMI},  // eight bytes suffice on a stream
        {{'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8}, PXL_FORMAT_BMP},
        {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0}, 0},
        {{'B', 'M', 1}, 0},  // too short
    };
    for (const auto& c : cases) {
        Memory memory{{read, nullptr, seek, tell}, c.bytes, 0};
        memory.bytes.insert(memory.bytes.begin(), 3, 0xEE);
        memory.position = 3;
        pixmill::ByteStream stream(&memory.callbacks);
        EXPECT_EQ(pixmill::detectStreamFormat(stream), c.expected);
        EXPECT_EQ(memory.position, 3);
    }
}

}  // namespace
