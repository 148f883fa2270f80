// Cursors from .cur files: pictures of every depth drawn over a grey screen, the choice among
// several entries, files made by icotool, Windows paths, and damaged files refused with a reason.
#include <png.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cursor_file_writer.h"
#include "grey_screen.h"
#include "platform/files/temp_drive.h"
#include "support/tool_runner.h"
#include "user/cursor_drawing.h"
#include "user/cursors.h"
#include "winplat/base.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

using cursor_file::Picture;
using picture_test::GreyScreen;
using picture_test::kGrey;
using Bytes = std::vector<uint8_t>;

constexpr COLORREF kInverted = RGB(127, 127, 127);  // the grey through a white XOR
constexpr COLORREF kRed = RGB(200, 30, 40);
constexpr COLORREF kGreen = RGB(10, 220, 90);
constexpr POINT kDrawnAt{20, 20};  // where the hot spot goes on the test surface

class CursorFileTest : public ::testing::Test {
  protected:
    void SetUp() override { winplat::testing::resetWindowManager(); }
    void TearDown() override { winplat::testing::resetWindowManager(); }

    // Stores the bytes as T:\<name> and loads it from there.
    HCURSOR load(const Bytes& bytes, const std::string& name = "test.cur") {
        drive_.file(name, std::string(bytes.begin(), bytes.end()));
        return LoadCursorFromFileA(("T:\\" + name).c_str());
    }

    filetest::TempDrive drive_;
};

// Pictures by art, one character a pixel:
//   '.' lets the screen through     '~' inverts it (AND 1, XOR white)
//   'k' black   'w' white   'r' kRed   'g' kGreen   'h' pure red at half opacity (32 bits)
const std::vector<std::string> kArt = {
    "k.wr~gk",
    "wkr.g~w",
    "~~kwrg.",
    "rg.kw~k",
    "g~wk.rg",
};
const std::vector<std::string> kMonochromeArt = {
    "k.ww~kk",
    "wkw.k~w",
    "~~kwwk.",
    "wk.kw~k",
    "k~wk.wk",
};
const std::vector<std::string> kAlphaArt = {
    "k.wrhgk",
    "wkr.gh.",
    "hhkwrg.",
    "rg.kwhk",
    "g.wk.rg",
};

COLORREF expectedOverGrey(char art) {
    switch (art) {
        case '.': return kGrey;
        case '~': return kInverted;
        case 'k': return RGB(0, 0, 0);
        case 'w': return RGB(255, 255, 255);
        case 'r': return kRed;
        case 'g': return kGreen;
        case 'h': return RGB(192, 64, 64);  // (255 * 128 + 128 * 127) / 255 and 128 * 127 / 255, rounded
    }
    return CLR_INVALID;
}

// Indexed depths: where black, white, kRed and kGreen sit in the colour table.
struct Indices {
    uint32_t black, white, red, green;
};

uint32_t bgra(COLORREF colour, uint32_t alpha) {
    return alpha << 24 | uint32_t{GetRValue(colour)} << 16 | uint32_t{GetGValue(colour)} << 8 | GetBValue(colour);
}

uint32_t directValue(char art, bool withAlpha) {
    const uint32_t opaque = withAlpha ? 255 : 0;
    switch (art) {
        case '.': return 0;
        case '~': return bgra(RGB(255, 255, 255), 0);
        case 'w': return bgra(RGB(255, 255, 255), opaque);
        case 'r': return bgra(kRed, opaque);
        case 'g': return bgra(kGreen, opaque);
        case 'h': return bgra(RGB(255, 0, 0), 128);
    }
    return bgra(RGB(0, 0, 0), opaque);
}

uint32_t indexedValue(char art, const Indices& at) {
    switch (art) {
        case '~':
        case 'w': return at.white;
        case 'r': return at.red;
        case 'g': return at.green;
    }
    return at.black;
}

Picture pictureOf(const std::vector<std::string>& art, int bits, bool withAlpha, std::vector<COLORREF> palette,
                  const Indices& at) {
    Picture picture;
    picture.width = static_cast<int>(art[0].size());
    picture.height = static_cast<int>(art.size());
    picture.bits = bits;
    picture.hotSpot = {picture.width - 1, picture.height - 1};  // the last pixel a hot spot may take
    picture.palette = std::move(palette);
    for (const std::string& row : art) {
        for (char pixel : row) {
            picture.pixels.push_back(bits <= 8 ? indexedValue(pixel, at) : directValue(pixel, withAlpha));
            picture.mask.push_back(pixel == '.' || pixel == '~' ? 1 : 0);
        }
    }
    return picture;
}

// A colour table of 'entries' whose unused entries are a colour no picture shows.
std::vector<COLORREF> tableWith(size_t entries, const Indices& at) {
    std::vector<COLORREF> table(entries, RGB(1, 2, 3));
    table.at(at.red) = kRed;  // monochrome tables put these under black or white
    table.at(at.green) = kGreen;
    table.at(at.black) = RGB(0, 0, 0);
    table.at(at.white) = RGB(255, 255, 255);
    return table;
}

struct DepthCase {
    const char* name;
    const std::vector<std::string>* art;
    int bits;
    bool withAlpha;
    size_t tableEntries;  // indexed depths
    Indices at;
};

// Checks every pixel of the drawn cursor, and the ring around it, against the art.
void expectDrawn(HDC dc, const std::vector<std::string>& art, POINT hotSpot) {
    const int left = kDrawnAt.x - hotSpot.x;
    const int top = kDrawnAt.y - hotSpot.y;
    const int width = static_cast<int>(art[0].size());
    const int height = static_cast<int>(art.size());
    for (int y = -1; y <= height; ++y) {
        for (int x = -1; x <= width; ++x) {
            const bool inside = x >= 0 && y >= 0 && x < width && y < height;
            const char pixel = inside ? art[static_cast<size_t>(y)][static_cast<size_t>(x)] : '.';
            EXPECT_EQ(GetPixel(dc, left + x, top + y), expectedOverGrey(pixel)) << "pixel " << x << "," << y;
        }
    }
}

TEST_F(CursorFileTest, EveryDepthDrawsItsColoursMasksAndAlpha) {
    const DepthCase cases[] = {
        {"1 bit", &kMonochromeArt, 1, false, 2, {0, 1, 0, 0}},
        {"1 bit, white first", &kMonochromeArt, 1, false, 2, {1, 0, 1, 1}},
        {"4 bits, full table", &kArt, 4, false, 16, {0, 9, 5, 15}},
        {"8 bits, short table", &kArt, 8, false, 200, {3, 1, 150, 199}},
        {"24 bits", &kArt, 24, false, 0, {}},
        {"32 bits without alpha", &kArt, 32, false, 0, {}},
        {"32 bits with alpha", &kAlphaArt, 32, true, 0, {}},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<COLORREF> table = c.bits <= 8 ? tableWith(c.tableEntries, c.at) : std::vector<COLORREF>{};
        const Picture picture = pictureOf(*c.art, c.bits, c.withAlpha, table, c.at);
        const HCURSOR cursor = load(cursor_file::write({picture}));
        ASSERT_NE(cursor, nullptr);
        const auto object = winplat::user::findCursor(cursor);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->width, 7);
        EXPECT_EQ(object->height, 5);
        EXPECT_EQ(object->hotSpot.x, 6);
        EXPECT_EQ(object->hotSpot.y, 4);
        GreyScreen screen;
        ASSERT_TRUE(winplat::user::drawCursor(screen.dc, cursor, kDrawnAt.x, kDrawnAt.y));
        expectDrawn(screen.dc, *c.art, picture.hotSpot);
        EXPECT_TRUE(DestroyCursor(cursor));
    }
}

TEST_F(CursorFileTest, TheEntryNearestTheCursorSizeWithTheMostColoursIsTaken) {
    ASSERT_EQ(GetSystemMetrics(SM_CXCURSOR), 32);
    ASSERT_EQ(GetSystemMetrics(SM_CYCURSOR), 32);
    struct Entry {
        int side, bits;
    };
    const struct {
        const char* name;
        std::vector<Entry> entries;
        int chosen;
    } cases[] = {
        {"the 32 x 32 of most colours", {{16, 8}, {32, 4}, {32, 8}, {48, 32}, {32, 1}}, 2},
        {"the first of equals", {{32, 4}, {32, 4}}, 0},
        {"nearest by size before colours", {{48, 32}, {31, 1}, {24, 32}}, 1},
        {"equally near: the most colours", {{24, 8}, {40, 24}, {16, 32}}, 1},
        {"256 (stored as 0) beside a small one", {{256, 1}, {4, 1}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Picture> pictures;
        for (size_t i = 0; i < c.entries.size(); ++i) {
            const POINT hot{static_cast<LONG>(i), 1};  // tells the entries apart
            pictures.push_back(cursor_file::plainPicture(c.entries[i].side, c.entries[i].side, c.entries[i].bits, 0, hot));
        }
        const HCURSOR cursor = load(cursor_file::write(pictures));
        ASSERT_NE(cursor, nullptr);
        const auto object = winplat::user::findCursor(cursor);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->hotSpot.x, c.chosen);
        EXPECT_EQ(object->width, c.entries[static_cast<size_t>(c.chosen)].side);
        EXPECT_TRUE(DestroyCursor(cursor));
    }
}

TEST_F(CursorFileTest, TheLargestPictureLoads) {
    const HCURSOR cursor = load(cursor_file::write({cursor_file::plainPicture(256, 256, 1, 1, {255, 255})}));
    ASSERT_NE(cursor, nullptr);
    const auto object = winplat::user::findCursor(cursor);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->width, 256);
    EXPECT_EQ(object->height, 256);
    EXPECT_EQ(object->xorColour.back(), RGB(255, 255, 255));
    EXPECT_TRUE(DestroyCursor(cursor));
}

TEST_F(CursorFileTest, WindowsPathsFindTheFileAndFileCursorsAreDestroyed) {
    const Bytes file = cursor_file::write({cursor_file::plainPicture(8, 8, 1, 0, {2, 3})});
    drive_.file("Cursors/Pointer.CUR", std::string(file.begin(), file.end()));
    for (const char* path : {"T:\\Cursors\\Pointer.CUR", "t:\\CURSORS\\pointer.cur", "T:/cursors/POINTER.Cur"}) {
        SCOPED_TRACE(path);
        const HCURSOR cursor = LoadCursorFromFileA(path);
        ASSERT_NE(cursor, nullptr);
        SetCursor(cursor);
        EXPECT_TRUE(DestroyCursor(cursor)) << "a file cursor is the caller's";
        EXPECT_EQ(winplat::user::findCursor(cursor), nullptr);
        EXPECT_EQ(GetCursor(), nullptr);
        EXPECT_FALSE(DestroyCursor(cursor));
    }
    const HCURSOR first = LoadCursorFromFileA("T:\\Cursors\\Pointer.CUR");
    const HCURSOR second = LoadCursorFromFileA("T:\\Cursors\\Pointer.CUR");
    EXPECT_NE(first, second) << "each load makes a cursor of its own";
    EXPECT_TRUE(DestroyCursor(first));
    EXPECT_NE(winplat::user::findCursor(second), nullptr);
    EXPECT_TRUE(DestroyCursor(second));
}

TEST_F(CursorFileTest, MissingFilesAndNamesAreRefused) {
    winplat::testing::DebugCapture debug;
    const struct {
        LPCSTR name;
        DWORD error;
    } cases[] = {
        {"T:\\none.cur", ERROR_FILE_NOT_FOUND},
        {"T:\\Nowhere\\none.cur", ERROR_PATH_NOT_FOUND},
        {"T:\\", ERROR_ACCESS_DENIED},
        {MAKEINTRESOURCEA(32512), ERROR_INVALID_PARAMETER},
        {nullptr, ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(reinterpret_cast<ULONG_PTR>(c.name) < 0x10000 ? "integer name" : c.name);
        debug.clear();
        SetLastError(0);
        EXPECT_EQ(LoadCursorFromFileA(c.name), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_TRUE(debug.contains("LoadCursorFromFileA")) << "the refusal is logged";
    }
}

TEST_F(CursorFileTest, FilesOverTheSizeCapAreRefusedBeforeTheyAreRead) {
    winplat::testing::DebugCapture debug;
    const struct {
        uintmax_t size;
        const char* reason;
    } cases[] = {
        {16u << 20, "not a cursor file"},  // read, then found to hold nothing but zeros
        {(16u << 20) + 1, "more than 16 MB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        drive_.file("large.cur");
        std::filesystem::resize_file(drive_.host("large.cur"), c.size);  // sparse: no disk used
        debug.clear();
        EXPECT_EQ(LoadCursorFromFileA("T:\\large.cur"), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
        EXPECT_TRUE(debug.contains(c.reason)) << debug.text();
    }
}

TEST_F(CursorFileTest, AnimatedCursorsAreRefusedAsUnsupported) {
    winplat::testing::DebugCapture debug;
    // RIFF, chunk length, form ACON, then an "anih" header chunk as animated cursors start.
    const std::string ani = std::string("RIFF\x2C\0\0\0ACONanih\x24\0\0\0", 20) + std::string(36, '\0');
    drive_.file("busy.ani", ani);
    SetLastError(0);
    EXPECT_EQ(LoadCursorFromFileA("T:\\busy.ani"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_TRUE(debug.contains("animated cursors")) << debug.text();
}

// A PNG file of RGBA pixels (top row first) made with libpng.
Bytes pngOf(int width, int height, const std::vector<uint32_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels;
    for (uint32_t value : rgba) {
        for (int shift : {24, 16, 8, 0}) pixels.push_back(static_cast<uint8_t>(value >> shift));
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) return {};
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) return {};
    out.resize(size);
    return out;
}

// The art as RGBA values for a PNG: '.' fully transparent, 'h' half opaque pure red.
std::vector<uint32_t> rgbaOf(const std::vector<std::string>& art) {
    std::vector<uint32_t> out;
    for (const std::string& row : art) {
        for (char pixel : row) {
            const COLORREF colour = pixel == 'h' ? RGB(255, 0, 0) : expectedOverGrey(pixel);
            const uint32_t alpha = pixel == '.' ? 0 : pixel == 'h' ? 128 : 255;
            out.push_back(uint32_t{GetRValue(colour)} << 24 | uint32_t{GetGValue(colour)} << 16 |
                          uint32_t{GetBValue(colour)} << 8 | alpha);
        }
    }
    return out;
}

TEST_F(CursorFileTest, PngPicturesKeepTheirAlpha) {
    Picture picture;
    picture.width = 7;
    picture.height = 5;
    picture.hotSpot = {3, 2};
    picture.png = pngOf(7, 5, rgbaOf(kAlphaArt));
    ASSERT_FALSE(picture.png.empty());
    const HCURSOR cursor = load(cursor_file::write({picture}));
    ASSERT_NE(cursor, nullptr);
    GreyScreen screen;
    ASSERT_TRUE(winplat::user::drawCursor(screen.dc, cursor, kDrawnAt.x, kDrawnAt.y));
    expectDrawn(screen.dc, kAlphaArt, picture.hotSpot);
    EXPECT_TRUE(DestroyCursor(cursor));
}

// Art of black, white, two colours and transparent pixels for icotool, and its 1-bit form.
const std::vector<std::string> kToolArt = {
    "..kkkkkkkk..",
    ".kwwwwwwwwk.",
    "kwrrrrggggwk",
    "kwrr....ggwk",
    "kwrrrrggggwk",
    ".kwwwwwwwwk.",
};

TEST_F(CursorFileTest, CursorsMadeByIcotoolDrawAsTheirPicture) {
    REQUIRE_TOOLS("icoutils", "icotool");
    std::vector<std::string> monochrome = kToolArt;
    for (std::string& row : monochrome) {
        for (char& pixel : row) pixel = pixel == 'r' ? 'k' : pixel == 'g' ? 'w' : pixel;
    }
    const struct {
        const char* options;
        const std::vector<std::string>* art;
    } cases[] = {
        {"-b 1", &monochrome}, {"-b 4", &kToolArt}, {"-b 8", &kToolArt},
        {"-b 24", &kToolArt},  {"-b 32", &kToolArt}, {"-r", &kToolArt},  // a PNG picture
    };
    const POINT hotSpot{11, 5};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const int width = static_cast<int>((*c.art)[0].size());
        const int height = static_cast<int>(c.art->size());
        const Bytes png = pngOf(width, height, rgbaOf(*c.art));
        drive_.file("in.png", std::string(png.begin(), png.end()));
        const std::string command = "icotool -c --cursor --hotspot-x=" + std::to_string(hotSpot.x) +
                                    " --hotspot-y=" + std::to_string(hotSpot.y) + " -o " +
                                    tool_runner::quoted(drive_.host("made.cur")) + " " + c.options + " " +
                                    tool_runner::quoted(drive_.host("in.png"));
        ASSERT_TRUE(tool_runner::run(command)) << command;
        const HCURSOR cursor = LoadCursorFromFileA("T:\\made.cur");
        ASSERT_NE(cursor, nullptr);
        const auto object = winplat::user::findCursor(cursor);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->width, width);
        EXPECT_EQ(object->height, height);
        EXPECT_EQ(object->hotSpot.x, hotSpot.x);
        EXPECT_EQ(object->hotSpot.y, hotSpot.y);
        GreyScreen screen;
        ASSERT_TRUE(winplat::user::drawCursor(screen.dc, cursor, kDrawnAt.x, kDrawnAt.y));
        expectDrawn(screen.dc, *c.art, hotSpot);
        EXPECT_TRUE(DestroyCursor(cursor));
    }
}

// The damaged files: one good 7 x 5 8-bit cursor (hot spot 6, 4), each case changing what a
// check must catch, with values just past what the check lets through.
struct Damage {
    const char* name;
    std::function<void(Bytes&)> change;
    const char* reason;  // part of the logged refusal
};

constexpr size_t kEntry = cursor_file::kEntriesAt;  // the one directory entry
constexpr size_t kImage = cursor_file::kEntriesAt + cursor_file::kEntryBytes;  // its bitmap
constexpr size_t kImageBytes = 40 + 200 * 4 + 8 * 5 + 4 * 5;  // header, table, colour rows, mask rows

void setImageLength(Bytes& file, size_t length) {
    cursor_file::set32(file, kEntry + cursor_file::kEntryLengthAt, static_cast<uint32_t>(length));
}
void setImageField32(Bytes& file, size_t at, uint32_t value) { cursor_file::set32(file, kImage + at, value); }
void setImageField16(Bytes& file, size_t at, unsigned value) { cursor_file::set16(file, kImage + at, value); }

const std::vector<Damage>& damages() {
    static const std::vector<Damage> table = {
        {"directory cut short", [](Bytes& f) { f.resize(5); }, "cursor directory cut short"},
        {"an icon file", [](Bytes& f) { cursor_file::set16(f, 2, 1); }, "not a cursor file"},
        {"no entries", [](Bytes& f) { cursor_file::set16(f, cursor_file::kCountAt, 0); }, "without entries"},
        {"count one past the entries that fit",
         [](Bytes& f) { cursor_file::set16(f, cursor_file::kCountAt, static_cast<unsigned>((f.size() - 6) / 16 + 1)); },
         "in room for"},
        {"offset one byte past the end",
         [](Bytes& f) {
             cursor_file::set32(f, kEntry + cursor_file::kEntryOffsetAt, static_cast<uint32_t>(f.size() - kImageBytes + 1));
         },
         "lie outside the file"},
        {"offset past the end, no length",
         [](Bytes& f) {
             setImageLength(f, 0);
             cursor_file::set32(f, kEntry + cursor_file::kEntryOffsetAt, static_cast<uint32_t>(f.size() + 1));
         },
         "lie outside the file"},
        {"length one byte past the end", [](Bytes& f) { setImageLength(f, kImageBytes + 1); }, "lie outside the file"},
        {"empty picture", [](Bytes& f) { setImageLength(f, 0); }, "an empty picture"},
        {"header size 39", [](Bytes& f) { setImageField32(f, cursor_file::kHeaderSizeAt, 39); }, "bitmap header of 39"},
        {"header larger than the picture",
         [](Bytes& f) { setImageField32(f, cursor_file::kHeaderSizeAt, kImageBytes + 1); }, "bitmap header cut short"},
        {"picture shorter than a header", [](Bytes& f) { setImageLength(f, 39); }, "bitmap header cut short"},
        {"width 0", [](Bytes& f) { setImageField32(f, cursor_file::kWidthAt, 0); }, "bitmap width 0"},
        {"width 257", [](Bytes& f) { setImageField32(f, cursor_file::kWidthAt, 257); }, "bitmap width 257"},
        {"height 0", [](Bytes& f) { setImageField32(f, cursor_file::kHeightAt, 0); }, "bitmap height 0"},
        {"odd height", [](Bytes& f) { setImageField32(f, cursor_file::kHeightAt, 9); }, "bitmap height 9"},
        {"height 2 x 257", [](Bytes& f) { setImageField32(f, cursor_file::kHeightAt, 514); }, "bitmap height 514"},
        {"top-down", [](Bytes& f) { setImageField32(f, cursor_file::kHeightAt, static_cast<uint32_t>(-10)); },
         "bitmap height -10"},
        {"two planes", [](Bytes& f) { setImageField16(f, cursor_file::kPlanesAt, 2); }, "2 planes"},
        {"bit count 7", [](Bytes& f) { setImageField16(f, cursor_file::kBitCountAt, 7); }, "bit count 7"},
        {"bit count 16", [](Bytes& f) { setImageField16(f, cursor_file::kBitCountAt, 16); }, "bit count 16"},
        {"bit count 0", [](Bytes& f) { setImageField16(f, cursor_file::kBitCountAt, 0); }, "bit count 0"},
        {"run-length compressed", [](Bytes& f) { setImageField32(f, cursor_file::kCompressionAt, 1); }, "compressed"},
        {"colour table of 257", [](Bytes& f) { setImageField32(f, cursor_file::kColoursUsedAt, 257); },
         "colour table of 257 entries"},
        {"colour table cut short", [](Bytes& f) { setImageLength(f, 40 + 200 * 4 - 1); }, "colour table cut short"},
        {"colour rows cut short", [](Bytes& f) { setImageLength(f, 40 + 200 * 4 + 8 * 5 - 1); },
         "colour rows cut short"},
        {"mask one byte short", [](Bytes& f) { setImageLength(f, kImageBytes - 1); }, "AND mask cut short"},
        {"mask one byte short, file too",
         [](Bytes& f) {
             setImageLength(f, kImageBytes - 1);
             f.pop_back();
         },
         "AND mask cut short"},
        {"hot spot x one past", [](Bytes& f) { cursor_file::set16(f, kEntry + cursor_file::kEntryHotXAt, 7); },
         "hot spot (7, 4) off"},
        {"hot spot y one past", [](Bytes& f) { cursor_file::set16(f, kEntry + cursor_file::kEntryHotYAt, 5); },
         "hot spot (6, 5) off"},
        {"a PNG signature and nothing sound",
         [](Bytes& f) {
             const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
             std::copy(std::begin(signature), std::end(signature), f.begin() + kImage);
         },
         "PNG picture:"},
        {"a PNG 257 pixels wide",
         [](Bytes& f) {
             const Bytes png = pngOf(257, 1, std::vector<uint32_t>(257, 0xFF0000FFu));
             f.resize(kImage);
             f.insert(f.end(), png.begin(), png.end());
             setImageLength(f, png.size());
         },
         "PNG picture of 257 x 1"},
    };
    return table;
}

Bytes goodFile() {
    const Indices at{3, 1, 150, 199};
    return cursor_file::write({pictureOf(kArt, 8, false, tableWith(200, at), at)});
}

TEST_F(CursorFileTest, TheGoodFileOfTheDamageCasesLoads) {
    const Bytes file = goodFile();
    ASSERT_EQ(file.size(), kImage + kImageBytes) << "the damage cases assume this layout";
    ASSERT_EQ(cursor_file::get32(file, kEntry + cursor_file::kEntryOffsetAt), kImage);
    const HCURSOR cursor = load(file);
    ASSERT_NE(cursor, nullptr);
    EXPECT_TRUE(DestroyCursor(cursor));
}

TEST_F(CursorFileTest, DamagedFilesAreRefusedWithTheirReason) {
    winplat::testing::DebugCapture debug;
    for (const Damage& damage : damages()) {
        SCOPED_TRACE(damage.name);
        Bytes file = goodFile();
        damage.change(file);
        debug.clear();
        SetLastError(0);
        EXPECT_EQ(load(file, "damaged.cur"), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
        EXPECT_TRUE(debug.contains(damage.reason)) << debug.text();
    }
}

}  // namespace
