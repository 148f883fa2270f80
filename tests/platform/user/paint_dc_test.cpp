// Window DCs: drawing in client coordinates at the window's place on the screen, clipped to the
// visible region, and following the window when it moves.
#include <functional>

#include "paint_fixture.h"
#include "winplat/drawdib.h"
#include "winplat/text.h"

namespace window_test {
namespace {

constexpr int kLeft = 37;
constexpr int kTop = 23;
constexpr int kWidth = 64;
constexpr int kHeight = 48;

// A memory DC over a 32-bit DIB section of the window's size, and its pixels.
struct MemoryCanvas {
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;

    MemoryCanvas() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~MemoryCanvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // Read from the bits: GetPixel would answer CLR_INVALID outside a clip the drawing selected.
    COLORREF at(int x, int y) const {
        const uint32_t v = bits[y * kWidth + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
};

using Draw = std::function<void(HDC)>;

struct Family {
    const char* name;
    Draw draw;
};

// A small 4 x 4 top-down DIB of distinct colours.
struct SmallDib {
    BITMAPINFO info{};
    uint32_t pixels[16];
    SmallDib() {
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 4;
        info.bmiHeader.biHeight = -4;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        for (uint32_t i = 0; i < 16; ++i) pixels[i] = 0x00102030u * (i + 1);
    }
};

const SmallDib& smallDib() {
    static const SmallDib dib;
    return dib;
}

std::vector<Family> families() {
    return {
        {"Rectangle", [](HDC dc) { Rectangle(dc, 3, 4, 30, 20); }},
        {"FillRect", [](HDC dc) {
             const RECT r{5, 6, 25, 40};
             HBRUSH b = CreateSolidBrush(RGB(200, 10, 10));
             FillRect(dc, &r, b);
             DeleteObject(b);
         }},
        {"Lines", [](HDC dc) {
             MoveToEx(dc, 2, 3, nullptr);
             LineTo(dc, 50, 40);
             LineTo(dc, 10, 45);
         }},
        {"WideLine", [](HDC dc) {
             HPEN pen = CreatePen(PS_SOLID, 5, RGB(0, 90, 0));
             HGDIOBJ old = SelectObject(dc, pen);
             MoveToEx(dc, 8, 8, nullptr);
             LineTo(dc, 40, 30);
             SelectObject(dc, old);
             DeleteObject(pen);
         }},
        {"Pixels", [](HDC dc) {
             SetPixel(dc, 0, 0, RGB(1, 2, 3));
             SetPixel(dc, 63, 47, RGB(4, 5, 6));
             SetPixel(dc, 64, 10, RGB(7, 8, 9));  // outside the client area
         }},
        {"HatchPatBlt", [](HDC dc) {
             HBRUSH b = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 160));
             HGDIOBJ old = SelectObject(dc, b);
             PatBlt(dc, 3, 5, 40, 30, PATCOPY);
             SelectObject(dc, old);
             DeleteObject(b);
         }},
        {"BitBltWithin", [](HDC dc) {
             Rectangle(dc, 0, 0, 20, 20);
             BitBlt(dc, 30, 10, 20, 20, dc, 0, 0, SRCCOPY);
         }},
        {"StretchDIBits", [](HDC dc) {
             const SmallDib& d = smallDib();
             StretchDIBits(dc, 4, 4, 16, 12, 0, 0, 4, 4, d.pixels, &d.info, DIB_RGB_COLORS, SRCCOPY);
         }},
        {"SetDIBitsToDevice", [](HDC dc) {
             const SmallDib& d = smallDib();
             SetDIBitsToDevice(dc, 20, 30, 4, 4, 0, 0, 0, 4, d.pixels, &d.info, DIB_RGB_COLORS);
         }},
        {"DrawDib", [](HDC dc) {
             const SmallDib& d = smallDib();
             HDRAWDIB dd = DrawDibOpen();
             DrawDibDraw(dd, dc, 40, 2, 8, 8, const_cast<BITMAPINFOHEADER*>(&d.info.bmiHeader),
                         const_cast<uint32_t*>(d.pixels), 0, 0, 4, 4, 0);
             DrawDibClose(dd);
         }},
        {"FillRgn", [](HDC dc) {
             HRGN r = CreateEllipticRgn(5, 5, 45, 35);
             HBRUSH b = CreateSolidBrush(RGB(90, 0, 90));
             FillRgn(dc, r, b);
             DeleteObject(b);
             DeleteObject(r);
         }},
        {"ClipRegion", [](HDC dc) {
             HRGN r = CreateRectRgn(10, 10, 30, 25);
             SelectClipRgn(dc, r);
             ExcludeClipRect(dc, 15, 15, 20, 20);
             DeleteObject(r);
             PatBlt(dc, 0, 0, 64, 48, BLACKNESS);
         }},
        {"TextUpdateCp", [](HDC dc) {
             SetTextAlign(dc, TA_UPDATECP);
             MoveToEx(dc, 3, 5, nullptr);
             TextOutA(dc, 0, 0, "Ab", 2);
             TextOutA(dc, 0, 0, "c", 1);
             const RECT r{10, 25, 40, 40};
             SetTextAlign(dc, TA_TOP | TA_LEFT);
             ExtTextOutA(dc, 12, 27, ETO_OPAQUE | ETO_CLIPPED, &r, "xyz", 3, nullptr);
         }},
    };
}

class DcOrigin : public PaintTest, public ::testing::WithParamInterface<size_t> {};

// Each family drawn through the DC of a window at (37, 23) lands as it does on a memory DC, moved.
TEST_P(DcOrigin, DrawingThroughAWindowDcEqualsAMemoryDcShifted) {
    const Family family = families()[GetParam()];
    winplat::testing::ScopedFontSource font(winplat::testing::FontSource::Test);
    HWND window = make(WS_POPUP | WS_VISIBLE, kLeft, kTop, kWidth, kHeight);
    pump();
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    // What lies around the window stays as it is.
    const COLORREF outside = at(kLeft + kWidth, kTop + 10);
    family.draw(dc);
    ReleaseDC(window, dc);

    MemoryCanvas memory;
    PatBlt(memory.dc, 0, 0, kWidth, kHeight, WHITENESS);
    family.draw(memory.dc);
    int differences = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (at(kLeft + x, kTop + y) != memory.at(x, y) && differences++ < 3) {
                ADD_FAILURE() << family.name << " differs at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(differences, 0) << family.name;
    EXPECT_EQ(at(kLeft + kWidth, kTop + 10), outside) << family.name << " drew outside the window";
}

INSTANTIATE_TEST_SUITE_P(Families, DcOrigin, ::testing::Range<size_t>(0, families().size()),
                         [](const auto& info) { return std::string(families()[info.param].name); });

TEST_F(PaintTest, WindowDcsReportTheirOriginAndClipInClientCoordinates) {
    HWND window = make(WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 30, 100, 80);
    HDC client = GetDC(window);
    HDC whole = GetWindowDC(window);
    POINT origin{};
    ASSERT_TRUE(GetDCOrgEx(client, &origin));
    EXPECT_EQ(origin.x, 41);
    EXPECT_EQ(origin.y, 31);
    ASSERT_TRUE(GetDCOrgEx(whole, &origin));
    EXPECT_EQ(origin.x, 40);
    EXPECT_EQ(origin.y, 30);
    RECT box{};
    EXPECT_EQ(GetClipBox(client, &box), SIMPLEREGION);
    EXPECT_TRUE(sameRect(box, RECT{0, 0, 98, 78}));
    EXPECT_EQ(GetClipBox(whole, &box), SIMPLEREGION);
    EXPECT_TRUE(sameRect(box, RECT{0, 0, 100, 80}));
    HDC screenDc = GetDC(nullptr);
    ASSERT_TRUE(GetDCOrgEx(screenDc, &origin));
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(GetDeviceCaps(screenDc, HORZRES), 1024);
    ReleaseDC(nullptr, screenDc);
    EXPECT_EQ(ReleaseDC(window, whole), 1);
    EXPECT_EQ(ReleaseDC(window, client), 1);
}

TEST_F(PaintTest, AWindowDcFollowsItsWindow) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 10, 10, 20, 20);
    pump();
    HDC dc = GetDC(window);
    SetWindowPos(window, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetPixel(dc, 1, 1, RGB(9, 9, 9));
    EXPECT_EQ(at(201, 101), RGB(9, 9, 9));
    EXPECT_NE(at(11, 11), RGB(9, 9, 9));
    ShowWindow(window, SW_HIDE);
    EXPECT_EQ(SetPixel(dc, 2, 2, RGB(9, 9, 9)), CLR_INVALID) << "a hidden window shows nothing";
    DestroyWindow(window);
    EXPECT_EQ(SetPixel(dc, 2, 2, RGB(9, 9, 9)), CLR_INVALID);
    ReleaseDC(window, dc);
}

struct SiblingCase {
    const char* name;
    DWORD childStyle;
    COLORREF underSibling;  // at a point the higher sibling covers
};

class ChildDc : public PaintTest, public ::testing::WithParamInterface<SiblingCase> {};

// The parent at (10, 10), 100 x 100; the higher sibling at (0, 0) 40 x 40 in it; the child at
// (20, 20) 100 x 100, beyond the parent's right and bottom.
TEST_P(ChildDc, IsClippedByItsParentAndItsHigherSiblings) {
    const SiblingCase& c = GetParam();
    HWND parent = painter(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, RGB(255, 255, 255));
    HWND sibling = painter(WS_CHILD | WS_VISIBLE, 0, 0, 40, 40, RGB(0, 0, 255), parent);
    HWND child = make(WS_CHILD | WS_VISIBLE | c.childStyle, 20, 20, 100, 100, parent);
    pump();
    HDC dc = GetDC(child);
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_TRUE(sameRect(box, RECT{0, 0, 80, 80})) << "cut by the parent's client area";
    PatBlt(dc, 0, 0, 100, 100, BLACKNESS);
    ReleaseDC(child, dc);
    EXPECT_EQ(at(10 + 30, 10 + 30), c.underSibling);
    EXPECT_EQ(at(10 + 60, 10 + 60), RGB(0, 0, 0));
    EXPECT_EQ(at(10 + 105, 10 + 60), GetSysColor(COLOR_BACKGROUND)) << "beyond the parent";
    (void)sibling;
}

INSTANTIATE_TEST_SUITE_P(Cases, ChildDc,
                         ::testing::Values(SiblingCase{"clipSiblings", WS_CLIPSIBLINGS, RGB(0, 0, 255)},
                                           SiblingCase{"overSiblings", 0, RGB(0, 0, 0)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintTest, ParentDcClipsChildrenWhenItsStyleSays) {
    for (const DWORD style : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
        HWND parent = painter(WS_POPUP | WS_VISIBLE | style, 0, 0, 100, 100, RGB(255, 255, 255));
        painter(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, RGB(0, 0, 255), parent);
        pump();
        HDC dc = GetDC(parent);
        PatBlt(dc, 0, 0, 100, 100, BLACKNESS);
        ReleaseDC(parent, dc);
        EXPECT_EQ(at(15, 15), style ? RGB(0, 0, 255) : RGB(0, 0, 0)) << style;
        DestroyWindow(parent);
    }
}

TEST_F(PaintTest, GetDCExCutsByTheRegionGiven) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HRGN region = CreateRectRgn(10, 10, 20, 20);  // screen coordinates
    HDC dc = GetDCEx(window, region, DCX_INTERSECTRGN);
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_TRUE(sameRect(box, RECT{10, 10, 20, 20}));
    ReleaseDC(window, dc);
    dc = GetDCEx(window, region, DCX_EXCLUDERGN);
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    ReleaseDC(window, dc);
    DeleteObject(region);
}

}  // namespace
}  // namespace window_test
