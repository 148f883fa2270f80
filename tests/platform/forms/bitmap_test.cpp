// BMP files in and out of a bitmap: files ImageMagick writes independently load with the right
// pixels, small annotated run-length files decode code by code, damaged files are refused without
// touching the bitmap, and what we save loads back byte for byte and opens in ImageMagick.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pixel_grid.h"
#include "support/tool_runner.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace {

using formstest::IndexAt;
using formstest::RgbAt;
using winforms::Bitmap;
using winforms::PixelFormat;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "forms_bitmap_XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
        EXPECT_FALSE(path_.empty()) << "no temporary folder";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path operator/(const std::string& name) const { return std::filesystem::path(path_) / name; }

private:
    std::string path_;
};

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The colour a pixel shows, through the colour table for indexed bitmaps (0xRRGGBB).
uint32_t ColorAt(const Bitmap& bitmap, int x, int y) {
    if (winforms::BitsOf(bitmap.Format()) > 8) return RgbAt(bitmap, x, y);
    const RGBQUAD c = bitmap.ColorTable().at(IndexAt(bitmap, x, y));
    return (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | uint32_t{U16(b, at + 2)} << 16; }

// A picture the tests write as a PPM for ImageMagick and compare with what we load.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, row by row from the top
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    void writePpm(const std::filesystem::path& path) const {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << width << " " << height << "\n255\n";
        for (uint32_t p : pixels) out << char(p >> 16) << char((p >> 8) & 0xFF) << char(p & 0xFF);
    }
};

// 'colours' distinct colours spread over a width x height picture, no row like another.
Picture Colours(int width, int height, int colours) {
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int k = (x * 7 + y * 3) % colours;
            p.pixels.push_back(colours == 2 ? (k ? 0xFFFFFFu : 0u)
                                            : static_cast<uint32_t>((k * 53 % 256) << 16 | (k * 101 % 256) << 8 |
                                                                    (255 - k * 29 % 256)));
        }
    }
    return p;
}

TEST(BitmapFiles, ImageMagickFilesLoadWithTheirPixels) {
    const std::string& convert = tool_runner::imageMagick();
    if (convert.empty()) GTEST_SKIP() << "ImageMagick's convert is not installed (tools/deps.txt lists imagemagick)";
    struct MagickCase {
        const char* name;
        int colours;
        const char* options;  // the output format and type
        int bits;             // the depth the file must have for the case to test it
        uint32_t compression;
    };
    const MagickCase cases[] = {
        {"1 bit", 2, "-type Bilevel BMP3:", 1, BI_RGB},
        {"4 bits", 12, "-type Palette BMP3:", 4, BI_RGB},
        {"8 bits", 40, "-type Palette -compress None BMP3:", 8, BI_RGB},
        {"24 bits", 40, "-type TrueColor BMP3:", 24, BI_RGB},
        {"RLE8", 40, "-type Palette -compress RLE BMP3:", 8, BI_RLE8},
        {"24 bits, core header", 40, "-type TrueColor BMP2:", 24, BI_RGB},
        {"32 bits, long header", 40, "-type TrueColorAlpha -alpha off -define bmp:format=bmp4 BMP:", 0, 0},
    };
    TempFolder folder;
    for (const MagickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture picture = Colours(13, 7, c.colours);
        picture.writePpm(folder / "in.ppm");
        const auto file = folder / "out.bmp";
        ASSERT_TRUE(tool_runner::run(convert + " " + tool_runner::quoted(folder / "in.ppm") + " " + c.options +
                                     tool_runner::quoted(file)));
        const std::vector<uint8_t> bytes = ReadFile(file);
        ASSERT_GT(bytes.size(), 30u);
        if (c.bits) {
            // The file is what the case means to test: its depth and compression as ImageMagick wrote them.
            const bool core = U32(bytes, 14) == 12;
            ASSERT_EQ(core ? U16(bytes, 24) : U16(bytes, 28), c.bits);
            if (!core) {
                ASSERT_EQ(U32(bytes, 30), c.compression);
            }
        }
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.LoadFromFile(file.string()));
        ASSERT_EQ(bitmap.Width(), 13);
        ASSERT_EQ(bitmap.Height(), 7);
        if (c.bits) {
            EXPECT_EQ(winforms::BitsOf(bitmap.Format()), c.bits);
        }
        int wrong = 0;
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 13; ++x) {
                if (ColorAt(bitmap, x, y) == picture.at(x, y) || ++wrong > 3) continue;
                ADD_FAILURE() << x << "," << y << ": " << std::hex << ColorAt(bitmap, x, y) << " not "
                              << picture.at(x, y);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// A BMP file around given bits: file header, 40-byte info header, colour table.
std::vector<uint8_t> BmpFile(int width, int height, int bits, uint32_t compression, const std::vector<uint32_t>& colors,
                             const std::vector<uint8_t>& data, uint32_t sizeImage) {
    std::vector<uint8_t> f;
    auto u16 = [&](uint32_t v) {
        f.push_back(static_cast<uint8_t>(v));
        f.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(colors.size()) * 4;
    f.push_back('B');
    f.push_back('M');
    u32(offset + static_cast<uint32_t>(data.size()));
    u32(0);
    u32(offset);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(static_cast<uint32_t>(bits));
    u32(compression);
    u32(sizeImage);
    u32(0);
    u32(0);
    u32(static_cast<uint32_t>(colors.size()));
    u32(0);
    for (uint32_t c : colors) u32(c);  // 0x00RRGGBB is blue, green, red, 0 in the file
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

// The indices of a loaded indexed bitmap, row by row from the top, one hex digit each (index 0
// where the codes left pixels alone).
std::vector<std::string> Indices(const Bitmap& bitmap) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) row += "0123456789abcdef"[IndexAt(bitmap, x, y) & 15];
        rows.push_back(row);
    }
    return rows;
}

TEST(BitmapFiles, RunLengthCodesDecodeOneByOne) {
    const std::vector<uint32_t> sixteen(16, 0x808080);
    struct RleCase {
        const char* name;
        int bits;
        std::vector<uint8_t> data;
        std::vector<std::string> expected;  // rows from the top; the file's first line is the bottom
    };
    const RleCase cases[] = {
        {"runs and end of line", 8,
         {3, 1, 3, 2,  // bottom row: 1 1 1 2 2 2
          0, 0,        // end of line
          6, 5,        // next row: 5 x 6
          0, 1},       // end of bits
         {"000000", "000000", "555555", "111222"}},
        {"literal padded to a word, then a delta", 8,
         {0, 3, 7, 8, 9, 0,  // three indices as they are, one pad byte
          0, 2, 1, 2,        // move right 1, up 2: to column 4 of the third line from the bottom
          2, 4,              // two 4s
          0, 1},
         {"000000", "000044", "000000", "789000"}},
        {"a run past the row's end is cut", 8, {9, 3, 0, 0, 1, 6, 0, 1}, {"000000", "000000", "600000", "333333"}},
        {"bits without their end mark", 8, {2, 9, 0, 0, 2, 8}, {"000000", "000000", "880000", "990000"}},
        {"4 bits: runs alternate the nibbles", 4, {5, 0x1A, 0, 0, 0, 3, 0x23, 0x40, 0, 1},
         {"000000", "000000", "234000", "1a1a10"}},
        {"a delta past the last row ends the bits", 8, {1, 1, 0, 2, 0, 9, 1, 2, 0, 1}, {"000000", "000000", "000000", "100000"}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file =
            BmpFile(6, 4, c.bits, c.bits == 8 ? BI_RLE8 : BI_RLE4, sixteen, c.data, static_cast<uint32_t>(c.data.size()));
        Bitmap bitmap;
        ASSERT_TRUE(bitmap.LoadFromBytes(file));
        EXPECT_EQ(Indices(bitmap), c.expected);
    }
}

// Damaged files are refused and leave the bitmap as it was.
TEST(BitmapFiles, DamagedFilesAreRefused) {
    const std::vector<uint8_t> row = {1, 2, 3, 0};  // 3 pixels of 8 bits, padded
    const std::vector<uint32_t> colors(4, 0x102030);
    const std::vector<uint8_t> good = BmpFile(3, 1, 8, BI_RGB, colors, row, 0);
    {
        Bitmap check;
        ASSERT_TRUE(check.LoadFromBytes(good)) << "the undamaged file must load";
    }
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> f = good;
        std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<ptrdiff_t>(at));
        return f;
    };
    struct DamageCase {
        const char* name;
        std::vector<uint8_t> file;
    };
    const DamageCase cases[] = {
        {"not BM", with(0, {'B', 'A'})},
        {"cut inside the info header", std::vector<uint8_t>(good.begin(), good.begin() + 30)},
        {"cut inside the colour table", std::vector<uint8_t>(good.begin(), good.begin() + 60)},
        {"cut inside the rows", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"bits beyond the end", with(10, {0xFF, 0xFF, 0, 0})},
        {"header size 20", with(14, {20, 0, 0, 0})},
        {"width 0", with(18, {0, 0, 0, 0})},
        {"height 0", with(22, {0, 0, 0, 0})},
        {"two planes", with(26, {2, 0})},
        {"7 bits", with(28, {7, 0})},
        {"unknown compression", with(30, {9, 0, 0, 0})},
        {"RLE4 at 8 bits", with(30, {BI_RLE4, 0, 0, 0})},
        {"257 colours at 8 bits", with(46, {1, 1, 0, 0})},
        {"wider than 32768", with(18, {1, 0x80, 0, 0})},
        {"top-down RLE8", with(22, {0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap bitmap(2, 2, PixelFormat::Bits24);
        bitmap.GetCanvas().SetPixel(1, 1, RGB(1, 2, 3));
        std::vector<uint8_t> file = c.file;
        if (std::string(c.name) == "top-down RLE8") file[30] = BI_RLE8;
        EXPECT_FALSE(bitmap.LoadFromBytes(file));
        EXPECT_EQ(bitmap.Width(), 2);
        EXPECT_EQ(bitmap.Format(), PixelFormat::Bits24);
        EXPECT_EQ(RgbAt(bitmap, 1, 1), 0x010203u);
    }
    // The limits themselves: 32768 wide loads (as far as the header goes), the rows it lacks refuse it.
    Bitmap edge;
    EXPECT_FALSE(edge.LoadFromBytes(with(18, {0, 0x80, 0, 0})));
    EXPECT_TRUE(edge.SetSize(32768, 1));
    EXPECT_FALSE(edge.SetSize(32769, 1));
    EXPECT_FALSE(edge.SetSize(8193, 8192));  // more than 2^26 pixels
    EXPECT_TRUE(edge.SetSize(8192, 8192));
}

// What we save loads back and saves again to the very same bytes, at every depth; the header says
// the depth and the bits start after the colour table.
TEST(BitmapFiles, SavedBitmapsReloadByteEqual) {
    const PixelFormat formats[] = {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8, PixelFormat::Bits24,
                                   PixelFormat::Bits32};
    for (PixelFormat format : formats) {
        SCOPED_TRACE(winforms::BitsOf(format));
        Bitmap bitmap(11, 5, format);
        winforms::Canvas& canvas = bitmap.GetCanvas();
        canvas.GetPen().SetColor(RGB(0, 0, 0));
        canvas.MoveTo(0, 0);
        canvas.LineTo(11, 5);
        canvas.SetPixel(10, 0, RGB(255, 0, 0));
        const std::vector<uint8_t> saved = bitmap.SaveToBytes();
        const int bits = winforms::BitsOf(format);
        const uint32_t colours = bits <= 8 ? 1u << bits : 0;
        EXPECT_EQ(U16(saved, 28), bits);
        EXPECT_EQ(U32(saved, 10), 14 + 40 + colours * 4);
        EXPECT_EQ(saved.size(), 14 + 40 + colours * 4 + ((11u * bits + 31) / 32) * 4 * 5);
        Bitmap loaded;
        ASSERT_TRUE(loaded.LoadFromBytes(saved));
        EXPECT_EQ(loaded.Format(), format);
        EXPECT_EQ(loaded.SaveToBytes(), saved);
        EXPECT_NE(formstest::AllBytes(loaded), std::vector<uint8_t>(formstest::AllBytes(loaded).size(), 0xFF))
            << "the line must be in the saved bits";
    }
}

TEST(BitmapFiles, SavedFilesOpenInImageMagick) {
    const std::string& convert = tool_runner::imageMagick();
    if (convert.empty() || !tool_runner::have("identify"))
        GTEST_SKIP() << "ImageMagick's convert and identify are not installed (tools/deps.txt lists imagemagick)";
    TempFolder folder;
    const std::string path = (folder / "saved.bmp").string();
    Bitmap bitmap(9, 4, PixelFormat::Bits8);
    bitmap.GetCanvas().GetBrush().SetColor(RGB(0, 0, 0));
    bitmap.GetCanvas().FillRect(RECT{2, 1, 5, 3});
    ASSERT_TRUE(bitmap.SaveToFile(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".~tmp")) << "the temporary file is renamed away";
    const auto outcome = tool_runner::capture("identify -format '%w %h %z' " + tool_runner::quoted(path));
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.output, "9 4 8");
    // ImageMagick sees the same pixels: black at (3, 2), white at (0, 0).
    EXPECT_EQ(tool_runner::output(convert + " " + tool_runner::quoted(path) +
                                  " -format '%[pixel:p{3,2}] %[pixel:p{0,0}]' info:"),
              "srgb(0,0,0) srgb(255,255,255)");
    Bitmap reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(path));
    EXPECT_EQ(reloaded.SaveToBytes(), ReadFile(path));
}

// A save that cannot be done leaves the old file whole.
TEST(BitmapFiles, AFailedSaveLeavesTheOldFile) {
    TempFolder folder;
    const auto path = folder / "keep.bmp";
    Bitmap first(3, 3, PixelFormat::Bits24);
    ASSERT_TRUE(first.SaveToFile(path.string()));
    const std::vector<uint8_t> before = ReadFile(path);
    Bitmap empty;
    EXPECT_FALSE(empty.SaveToFile(path.string()));
    EXPECT_EQ(ReadFile(path), before);
    // A folder in the way of the temporary file: nothing is written, the old file stays.
    std::filesystem::create_directory(path.string() + ".~tmp");
    Bitmap second(5, 5, PixelFormat::Bits8);
    EXPECT_FALSE(second.SaveToFile(path.string()));
    EXPECT_EQ(ReadFile(path), before);
}

}  // namespace
