// Icons, cursors and bitmaps from the test program's resources (user/art/*.pix through
// pictures_test.rsrc) and the layer's system icons: loading and sharing, drawing each part at each
// size, hot spots, the masked-bitmap idiom, and damaged resources refused with a reason.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gdi/objects.h"
#include "grey_screen.h"
#include "user/cursor_drawing.h"
#include "user/cursors.h"
#include "user/module_pictures.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

using picture_test::GreyScreen;
using picture_test::kGrey;
using Bytes = std::vector<uint8_t>;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// user/art/dot.pix, a letter a pixel; '.' lets the background show.
const std::vector<std::string> kDot = {
    "r.gb",
    ".kk.",
    "bgr.",
};

COLORREF colourOf(char letter) {
    switch (letter) {
        case 'r': return RGB(255, 0, 0);
        case 'g': return RGB(0, 0xC0, 0);
        case 'b': return RGB(0, 0, 255);
    }
    return kBlack;  // 'k', and the see-through pixels, whose picture is stored black
}

// What each part shows at a pixel of the art over grey.
COLORREF drawnNormal(char letter) { return letter == '.' ? kGrey : colourOf(letter); }
COLORREF drawnMask(char letter) { return letter == '.' ? kWhite : kBlack; }
COLORREF drawnImage(char letter) { return colourOf(letter); }

HINSTANCE program() { return GetModuleHandleA(nullptr); }

class IconTest : public ::testing::Test {
  protected:
    void SetUp() override { winplat::testing::resetWindowManager(); }
    void TearDown() override { winplat::testing::resetWindowManager(); }

    // Expects the art scaled to the rectangle at (left, top), and grey just right of and below it.
    static void expectArt(HDC dc, int left, int top, int width, int height, COLORREF (*drawn)(char)) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const char letter = kDot[static_cast<size_t>(y * 3 / height)][static_cast<size_t>(x * 4 / width)];
                ASSERT_EQ(GetPixel(dc, left + x, top + y), drawn(letter)) << "at " << x << ", " << y;
            }
        }
        EXPECT_EQ(GetPixel(dc, left + width, top), kGrey);
        EXPECT_EQ(GetPixel(dc, left, top + height), kGrey);
    }
};

TEST_F(IconTest, SystemIconsAreSharedAndStay) {
    GreyScreen screen;
    std::vector<HICON> seen;
    for (WORD id = 32512; id <= 32517; ++id) {
        SCOPED_TRACE(id);
        const HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(id));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(id)), icon);
        EXPECT_FALSE(DestroyIcon(icon));
        ASSERT_TRUE(DrawIcon(screen.dc, 0, 0, icon));  // still a live icon
        const auto object = winplat::user::findCursor(icon);
        EXPECT_EQ(object->width, 32);
        EXPECT_EQ(object->height, 32);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), icon), seen.end());
        seen.push_back(icon);
    }
    // The numbers just outside the set name none.
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32511)), nullptr);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32518)), nullptr);
    EXPECT_EQ(LoadIconA(nullptr, "32513"), nullptr) << "system icons go by number alone";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(IconTest, DrawIconExDrawsEachPartAtEachSize) {
    const HICON dot = LoadIconA(program(), "DOT");
    ASSERT_NE(dot, nullptr);
    struct Case {
        const char* what;
        UINT flags;
        int width, height;          // asked
        int drawnWidth, drawnHeight;
        COLORREF (*drawn)(char);
    };
    const Case cases[] = {
        {"own size", DI_NORMAL, 0, 0, 4, 3, drawnNormal},
        {"mask alone", DI_MASK, 0, 0, 4, 3, drawnMask},
        {"picture alone", DI_IMAGE, 0, 0, 4, 3, drawnImage},
        {"doubled", DI_NORMAL, 8, 6, 8, 6, drawnNormal},
        {"shrunk", DI_NORMAL, 2, 3, 2, 3, drawnNormal},
        {"width given, own height", DI_NORMAL, 12, 0, 12, 3, drawnNormal},
        {"system size", DI_NORMAL | DI_DEFAULTSIZE, 0, 0, 32, 32, drawnNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GreyScreen screen;
        ASSERT_TRUE(DrawIconEx(screen.dc, 5, 7, dot, c.width, c.height, 0, nullptr, c.flags));
        expectArt(screen.dc, 5, 7, c.drawnWidth, c.drawnHeight, c.drawn);
    }
    GreyScreen screen;
    ASSERT_TRUE(DrawIcon(screen.dc, 1, 2, dot));  // stretched to SM_CXICON x SM_CYICON
    expectArt(screen.dc, 1, 2, 32, 32, drawnNormal);
}

TEST_F(IconTest, BackgroundBrushShowsThroughTheMask) {
    const HICON dot = LoadIconA(program(), "DOT");
    GreyScreen screen;
    const HBRUSH white = CreateSolidBrush(kWhite);
    ASSERT_TRUE(DrawIconEx(screen.dc, 0, 0, dot, 0, 0, 0, white, DI_NORMAL));
    DeleteObject(white);
    EXPECT_EQ(GetPixel(screen.dc, 1, 0), kWhite);  // '.'
    EXPECT_EQ(GetPixel(screen.dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(screen.dc, 4, 0), kGrey);  // outside
}

TEST_F(IconTest, DrawIconExRefusals) {
    const HICON dot = LoadIconA(program(), "DOT");
    GreyScreen screen;
    EXPECT_FALSE(DrawIconEx(screen.dc, 0, 0, nullptr, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(screen.dc, 0, 0, dot, 0, 0, 0, nullptr, 0));
    EXPECT_FALSE(DrawIconEx(screen.dc, 0, 0, dot, -1, 0, 0, nullptr, DI_NORMAL));
    const HBRUSH brush = CreateSolidBrush(kWhite);
    EXPECT_FALSE(DrawIconEx(reinterpret_cast<HDC>(brush), 0, 0, dot, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    DeleteObject(brush);
    winplat::testing::ScopedDebugAsserts off(false);
    EXPECT_FALSE(DrawIconEx(screen.dc, 0, 0, dot, 0, 0, 1, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(screen.dc, 0, 0), kGrey);  // nothing drawn by any of them
}

TEST_F(IconTest, ModuleIconsAreSharedByEveryName) {
    const HICON dot = LoadIconA(program(), "DOT");
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(LoadIconA(program(), "dot"), dot);
    const HICON seven = LoadIconA(program(), MAKEINTRESOURCEA(7));
    ASSERT_NE(seven, nullptr);
    EXPECT_NE(seven, dot);
    EXPECT_EQ(LoadIconA(program(), "#7"), seven);
    EXPECT_FALSE(DestroyIcon(dot));
    EXPECT_EQ(LoadIconA(program(), "NOSUCH"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    // An icon's hot spot is its centre.
    EXPECT_EQ(winplat::user::findCursor(seven)->hotSpot.x, 2);
    EXPECT_EQ(winplat::user::findCursor(seven)->hotSpot.y, 2);
}

TEST_F(IconTest, AModuleIconPointsWithItsCentre) {
    // "DOT" is 4 x 3: its hot spot is (2, 1), half of each side rounded down.
    const HICON dot = LoadIconA(program(), "DOT");
    ASSERT_NE(dot, nullptr);
    const auto object = winplat::user::findCursor(dot);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->width, 4);
    EXPECT_EQ(object->hotSpot.x, 2);
    EXPECT_EQ(object->hotSpot.y, 1);
    EXPECT_TRUE(object->icon);
}

TEST_F(IconTest, CopyIconIsTheCallersToDestroy) {
    const HICON dot = LoadIconA(program(), "DOT");
    const HICON copy = CopyIcon(dot);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, dot);
    GreyScreen screen;
    ASSERT_TRUE(DrawIconEx(screen.dc, 3, 3, copy, 0, 0, 0, nullptr, DI_NORMAL));
    expectArt(screen.dc, 3, 3, 4, 3, drawnNormal);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(DrawIcon(screen.dc, 0, 0, copy));
    EXPECT_TRUE(DrawIcon(screen.dc, 0, 0, dot));  // the original lives on
}

TEST_F(IconTest, ModuleCursorsKeepTheirHotSpot) {
    const HCURSOR pointer = LoadCursorA(program(), "POINTER");
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(LoadCursorA(program(), "POINTER"), pointer);
    const auto object = winplat::user::findCursor(pointer);
    EXPECT_EQ(object->hotSpot.x, 3);
    EXPECT_EQ(object->hotSpot.y, 2);
    // Drawn with the hot spot at (20, 20): the picture's top left lands on (17, 18).
    GreyScreen screen;
    ASSERT_TRUE(winplat::user::drawCursor(screen.dc, pointer, 20, 20));
    EXPECT_EQ(GetPixel(screen.dc, 17, 18), kGrey);   // '.'
    EXPECT_EQ(GetPixel(screen.dc, 18, 18), kBlack);  // 'k'
    EXPECT_EQ(GetPixel(screen.dc, 18, 19), kWhite);  // 'w'
    EXPECT_EQ(GetPixel(screen.dc, 16, 18), kGrey);   // left of it
    // Without HOTSPOT a cursor points with its top left pixel.
    const HCURSOR plain = LoadCursorA(program(), MAKEINTRESOURCEA(9));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(winplat::user::findCursor(plain)->hotSpot.x, 0);
    EXPECT_EQ(winplat::user::findCursor(plain)->hotSpot.y, 0);
}

TEST_F(IconTest, BitmapAndItsMaskDrawTheMaskedIdiom) {
    const HBITMAP picture = LoadBitmapA(program(), "DOT");
    const HBITMAP mask = LoadBitmapA(program(), "DOT_T");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(mask, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(picture, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    GreyScreen screen;
    const HDC memory = CreateCompatibleDC(screen.dc);
    const HGDIOBJ before = SelectObject(memory, mask);
    SetTextColor(screen.dc, kBlack);
    SetBkColor(screen.dc, kWhite);
    BitBlt(screen.dc, 2, 2, 4, 3, memory, 0, 0, SRCAND);
    SelectObject(memory, picture);
    BitBlt(screen.dc, 2, 2, 4, 3, memory, 0, 0, SRCPAINT);
    SelectObject(memory, before);
    DeleteDC(memory);
    expectArt(screen.dc, 2, 2, 4, 3, drawnNormal);
    DeleteObject(picture);
    DeleteObject(mask);
    EXPECT_EQ(LoadBitmapA(program(), "NOSUCH"), nullptr);
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(32760)), nullptr);
}

// The bytes of a resource of the test program.
Bytes resource(LPCSTR name, WORD type) {
    constexpr winplat::CallRefuser refuse("test");
    const auto bytes = winplat::user::resourceBytes(program(), name, type, refuse);
    return bytes ? Bytes(bytes->begin(), bytes->end()) : Bytes{};
}

TEST(IconResources, EveryCutIconOrCursorIsRefusedWithAReason) {
    struct Case {
        const char* name;
        WORD type;
        winplat::user::CursorRead (*read)(std::span<const uint8_t>);
    };
    for (const Case& c : {Case{"DOT", 3, winplat::user::iconFromResource},
                          Case{"POINTER", 1, winplat::user::cursorFromResource}}) {
        SCOPED_TRACE(c.name);
        const Bytes whole = resource(c.name, c.type);
        ASSERT_FALSE(whole.empty());
        ASSERT_NE(c.read(whole).cursor, nullptr);
        for (size_t size = 0; size < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            const auto read = c.read(cut);
            ASSERT_EQ(read.cursor, nullptr) << "cut to " << size;
            EXPECT_FALSE(read.why.empty());
        }
    }
}

TEST(IconResources, CursorHotSpotMustLieOnThePicture) {
    Bytes pointer = resource("POINTER", 1);  // 5 x 4
    ASSERT_GE(pointer.size(), 4u);
    const auto withSpot = [&](int x, int y) {
        pointer[0] = static_cast<uint8_t>(x);
        pointer[2] = static_cast<uint8_t>(y);
        return winplat::user::cursorFromResource(pointer);
    };
    EXPECT_NE(withSpot(4, 3).cursor, nullptr);
    EXPECT_EQ(withSpot(5, 3).cursor, nullptr);
    EXPECT_EQ(withSpot(4, 4).why, "hot spot (4, 4) off a picture of 5 x 4");
}

TEST(IconResources, EveryCutBitmapIsRefusedWithAReason) {
    const Bytes whole = resource("DOT", 2);
    ASSERT_FALSE(whole.empty());
    constexpr winplat::CallRefuser refuse("test bitmap", ERROR_INVALID_DATA);
    winplat::testing::DebugCapture capture;
    for (size_t size = 0; size < whole.size(); ++size) {
        // Exactly the bytes kept (in a fresh allocation, aligned for the header), so a read past
        // them is caught.
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        capture.clear();
        ASSERT_EQ(winplat::gdi::bitmapFromPackedDib(cut.data(), size, refuse), nullptr) << "cut to " << size;
        EXPECT_TRUE(capture.contains("test bitmap: refused")) << capture.text();
    }
}

// The four icons of message boxes side by side on the dialog grey, as a message box shows them.
TEST(IconGolden, MessageBoxIcons) {
    winplat::test::Harness::Options options;
    options.width = 4 * 40 + 8;
    options.height = 48;
    options.goldenFolder = WINPLAT_GOLDEN_DIR;
    winplat::test::Harness h(options);
    const HDC screen = GetDC(nullptr);
    const RECT all{0, 0, options.width, options.height};
    FillRect(screen, &all, GetSysColorBrush(COLOR_BTNFACE));
    int x = 8;
    for (LPCSTR id : {IDI_ERROR, IDI_WARNING, IDI_INFORMATION, IDI_QUESTION}) {
        EXPECT_TRUE(DrawIcon(screen, x, 8, LoadIconA(nullptr, id)));
        x += 40;
    }
    ReleaseDC(nullptr, screen);
    h.expectImage(h.screenshot(), "message_box_icons");
}

// A module registered while the test runs, holding the program's icon "DOT" as its icon 1.
struct PassingModule {
    explicit PassingModule(const Bytes& icon) : icon(icon) {
        resource = {3, 1, nullptr, this->icon.data(), static_cast<uint32_t>(this->icon.size())};
        resources = {"passing.dll", false, nullptr, 0, &resource, 1};
    }
    Bytes icon;
    winplat::BinaryResource resource{};
    winplat::ModuleResources resources{};
};

TEST(IconResources, PicturesOfAModuleGoWithIt) {
    const PassingModule passing(resource("DOT", 3));
    const HINSTANCE first = winplat::registerModule(passing.resources, &passing);
    ASSERT_NE(first, nullptr);
    const HICON icon = LoadIconA(first, MAKEINTRESOURCEA(1));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(first, MAKEINTRESOURCEA(1)), icon);
    winplat::unregisterModule(first);

    // Registered again, the same bytes at the same place: a new module with an icon of its own.
    const HINSTANCE second = winplat::registerModule(passing.resources, &passing);
    ASSERT_NE(second, first);
    const HICON again = LoadIconA(second, MAKEINTRESOURCEA(1));
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, icon);
    GreyScreen screen;
    EXPECT_FALSE(DrawIcon(screen.dc, 0, 0, icon));
    EXPECT_TRUE(DrawIcon(screen.dc, 0, 0, again));
    winplat::unregisterModule(second);
}

}  // namespace
