// The PCX row index: hand-made files for the run rules and the refusals, and files made by
// ImageMagick and netpbm (1, 4 and 8 bits, one plane and several), whose last row must end where
// the picture data ends (the file's end, or its 256-colour palette).
#include "drawing/pcx_row_index.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/temp_folder.h"
#include "winplat/paths.h"

namespace linework {
namespace {

std::vector<uint8_t> Header(int bitsPerPixel, int planes, int bytesPerLine, int rows, int encoding = 1) {
    std::vector<uint8_t> header(128, 0);
    header[0] = 10;
    header[2] = static_cast<uint8_t>(encoding);
    header[3] = static_cast<uint8_t>(bitsPerPixel);
    header[10] = static_cast<uint8_t>(rows - 1);
    header[11] = static_cast<uint8_t>((rows - 1) >> 8);
    header[65] = static_cast<uint8_t>(planes);
    header[66] = static_cast<uint8_t>(bytesPerLine);
    header[67] = static_cast<uint8_t>(bytesPerLine >> 8);
    return header;
}

std::vector<uint8_t> With(std::vector<uint8_t> bytes, std::initializer_list<uint8_t> more) {
    bytes.insert(bytes.end(), more);
    return bytes;
}

TEST(PcxRowIndex, RunsCoverTheirCountAndNeverCarryIntoTheNextRow) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::vector<uint32_t> rows;
    };
    const std::vector<uint8_t> twoBytesTwoRows = Header(8, 1, 2, 2);
    const std::vector<Case> cases = {
        {"literal bytes", With(twoBytesTwoRows, {1, 2, 3, 4}), {128, 130, 132}},
        {"0xC1 covers one byte", With(twoBytesTwoRows, {0xC1, 7, 5, 0xC2, 9}), {128, 131, 133}},
        {"a run past the row ends it", With(twoBytesTwoRows, {0xC5, 7, 0xC2, 9}), {128, 130, 132}},
        {"0xC0 covers nothing", With(twoBytesTwoRows, {0xC0, 7, 1, 2, 3, 4}), {128, 132, 134}},
        {"bytes of every plane", With(Header(1, 4, 1, 1), {1, 2, 0xC2, 3}), {128, 132}},
        {"unencoded 0xC5 is a byte", With(Header(8, 1, 2, 1, 0), {0xC5, 0xC6}), {128, 130}},
    };
    for (const Case& c : cases) {
        PcxImageInfo info = IndexPcxBytes(c.file, 0x0200);
        ASSERT_TRUE(info.rows) << c.what;
        EXPECT_EQ(*info.rows, c.rows) << c.what;
        EXPECT_EQ(info.flags & 0xFF00, 0x0200) << "the caller's byte stays";
    }
}

TEST(PcxRowIndex, ATruncatedOrRefusedFileGivesNoTable) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
    };
    std::vector<uint8_t> wrongMaker = With(Header(8, 1, 2, 1), {1, 2});
    wrongMaker[0] = 11;
    std::vector<uint8_t> badEncoding = With(Header(8, 1, 2, 1), {1, 2});
    badEncoding[2] = 2;
    const std::vector<Case> cases = {
        {"one byte short", With(Header(8, 1, 2, 2), {1, 2, 3})},
        {"a run without its data byte", With(Header(8, 1, 2, 1), {1, 0xC1})},
        {"a cut header", std::vector<uint8_t>(127, 10)},
        {"manufacturer", wrongMaker},
        {"encoding", badEncoding},
        {"3 bits per pixel", With(Header(3, 1, 2, 1), {1, 2})},
        {"no bytes per line", Header(1, 1, 0, 1)},
    };
    for (const Case& c : cases) {
        PcxImageInfo info = IndexPcxBytes(c.file, 0);
        EXPECT_FALSE(info.rows) << c.what;
        EXPECT_EQ(info.flags & image_source::kMask, image_source::kNotLoaded) << c.what;
    }
}

TEST(PcxRowIndex, SizesAndFormatBitsComeFromTheHeader) {
    struct Case {
        int bits, planes, bytesPerLine;
        int lastColumn;
        uint8_t format;
    };
    for (Case c : {Case{1, 1, 80, 639, 0x01}, Case{2, 1, 10, 39, 0x03}, Case{4, 1, 10, 19, 0x03},
                   Case{8, 1, 10, 9, 0x03}, Case{1, 4, 10, 79, 0x05}}) {
        std::vector<uint8_t> file = Header(c.bits, c.planes, c.bytesPerLine, 480);
        file.resize(file.size() + 480u * c.planes * c.bytesPerLine, 1);
        PcxImageInfo info = IndexPcxBytes(file, 0);
        ASSERT_TRUE(info.rows);
        EXPECT_EQ(info.lastColumn, c.lastColumn);
        EXPECT_EQ(info.lastRow, 479);
        EXPECT_EQ(info.rows->size(), 481u);
        EXPECT_EQ(info.flags, c.format);
        EXPECT_EQ(info.rows->back(), file.size());
    }
}

class PcxFiles : public ::testing::Test {
protected:
    static bool Has(const char* tool) {
        return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
    }
    std::string Host(const std::string& name) { return folder_.path() + "/" + name; }
    bool Run(const std::string& command) { return std::system(("cd '" + folder_.path() + "' && " + command).c_str()) == 0; }
    // Checks the index of a file against its picture data: the last row ends at the end of the
    // file, or where an 8-bit picture's palette (0x0C and 768 bytes) begins. 'planes' is the
    // number the tool was asked for (0: its own choice).
    void Check(const std::string& name, int planes) {
        std::string host = Host(name);
        size_t size = std::filesystem::file_size(host);
        std::ifstream in(host, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        PcxImageInfo info = ReadPcxImage(winplat::files::toWindows(host), true, 0);
        ASSERT_TRUE(info.rows) << name;
        if (planes > 0) {
            EXPECT_EQ(bytes[65], planes) << name;
        }
        size_t end = size;
        if (bytes[3] == 8 && planes == 1 && size > 769 && bytes[size - 769] == 0x0C) end = size - 769;
        EXPECT_EQ(info.rows->back(), end) << name;
        EXPECT_EQ(info.rows->size(), static_cast<size_t>(info.lastRow) + 2);
        EXPECT_TRUE(std::is_sorted(info.rows->begin(), info.rows->end()));
    }
    test::TempFolder folder_{"linework_pcx"};
};

TEST_F(PcxFiles, FilesOfImageMagickEndWhereTheirLastRowEnds) {
    if (!Has("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    ASSERT_TRUE(Run("convert -size 640x480 pattern:checkerboard -monochrome PCX:mono.pcx"));
    Check("mono.pcx", 0);
    PcxImageInfo info = ReadPcxImage(winplat::files::toWindows(Host("mono.pcx")), true, 0);
    ASSERT_TRUE(info.rows);
    EXPECT_EQ(info.lastColumn, 639);
    EXPECT_EQ(info.rows->size(), 481u);
    ASSERT_TRUE(Run("convert -size 75x40 gradient:red-blue -type truecolor PCX:rgb.pcx"));
    Check("rgb.pcx", 0);
}

TEST_F(PcxFiles, FilesOfNetpbmWithSeveralPlanesEndWhereTheirLastRowEnds) {
    if (!Has("ppmtopcx") || !Has("convert")) GTEST_SKIP() << "netpbm's ppmtopcx or ImageMagick is not installed";
    ASSERT_TRUE(Run("convert -size 77x33 gradient:yellow-navy -colors 16 ppm:sixteen.ppm"));
    ASSERT_TRUE(Run("ppmtopcx -planes 4 sixteen.ppm > planes4.pcx 2>/dev/null"));
    Check("planes4.pcx", 4);
    ASSERT_TRUE(Run("ppmtopcx -packed sixteen.ppm > packed4.pcx 2>/dev/null"));
    Check("packed4.pcx", 1);
    ASSERT_TRUE(Run("ppmtopcx -8bit sixteen.ppm > eight.pcx 2>/dev/null"));
    Check("eight.pcx", 1);
    ASSERT_TRUE(Run("ppmtopcx -24bit sixteen.ppm > rgb.pcx 2>/dev/null"));
    Check("rgb.pcx", 3);
}

TEST_F(PcxFiles, AReadOnlyPictureIsReadAndStaysReadOnly) {
    std::vector<uint8_t> file = With(Header(8, 1, 2, 1), {1, 2});
    std::ofstream(Host("RO.PCX"), std::ios::binary).write(reinterpret_cast<const char*>(file.data()), 130);
    std::filesystem::permissions(Host("RO.PCX"), std::filesystem::perms::owner_read);
    PcxImageInfo info = ReadPcxImage(winplat::files::toWindows(Host("RO.PCX")), true, 0);
    EXPECT_TRUE(info.rows);
    EXPECT_EQ(std::filesystem::status(Host("RO.PCX")).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read);
}

TEST_F(PcxFiles, OtherExtensionsAreBitmapsMeasuredFromTheirHeader) {
    if (!Has("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    ASSERT_TRUE(Run("convert -size 21x13 xc:white BMP3:a.bmp"));
    std::string name = winplat::files::toWindows(Host("a.bmp"));
    PcxImageInfo loaded = ReadPcxImage(name, true, 0x0400);
    EXPECT_FALSE(loaded.rows);
    EXPECT_EQ(loaded.flags, 0x0410);
    EXPECT_EQ(loaded.lastColumn, 20);
    EXPECT_EQ(loaded.lastRow, 12);
    EXPECT_EQ(ReadPcxImage(name, false, 0).flags, 0x0010);
    EXPECT_EQ(ReadPcxImage(winplat::files::toWindows(Host("none.bmp")), true, 0).flags, 0x00F0);
}

}  // namespace
}  // namespace linework
