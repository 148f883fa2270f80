// STATIC: the kinds it draws, its images and SS_NOTIFY's clicks.
#include <gtest/gtest.h>

#include "control_parent.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

using control_test::makeControl;
using control_test::makeParent;
using control_test::Notification;
using control_test::parentRecord;
using winplat::test::Harness;

TEST(Static, OnlyANotifyingStaticHearsTheMouse) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND quiet = makeControl(parent, "STATIC", "tichy", SS_LEFT, 10, 10, 80, 20, 1);
    const HWND loud = makeControl(parent, "STATIC", "hlasity", SS_LEFT | SS_NOTIFY, 10, 40, 80, 20, 2);
    h.click(20 + 20, 20 + 15);
    h.click(20 + 20, 20 + 45);
    h.advance(1000);  // no double click with the press before
    h.doubleClick(20 + 20, 20 + 45);
    EXPECT_EQ(parentRecord().commands,
              (std::vector<Notification>{{2, STN_CLICKED}, {2, STN_CLICKED}, {2, STN_DBLCLK}}));
    EXPECT_EQ(SendMessageA(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EnableWindow(loud, FALSE);
    EXPECT_EQ(parentRecord().commands.back(), (Notification{2, STN_DISABLE}));
}

TEST(Static, AnImageIsTakenOnlyByAStaticOfItsKind) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND text = makeControl(parent, "STATIC", "text", SS_LEFT, 10, 10, 80, 20, 1);
    const HWND picture = makeControl(parent, "STATIC", "", SS_BITMAP, 10, 40, 80, 40, 2);
    const winplat::OwnedBitmap bitmap(CreateBitmap(12, 9, 1, 32, nullptr));
    EXPECT_EQ(SendMessageA(text, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())), 0);
    EXPECT_EQ(SendMessageA(text, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(bitmap.get())), 0);
    EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())), 0);
    EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap.get()));
    RECT r{};
    GetClientRect(picture, &r);
    EXPECT_EQ(r.right, 12) << "a bitmap static takes its bitmap's size";
    EXPECT_EQ(r.bottom, 9);
}

HBITMAP paintedBitmap() {
    const winplat::BorrowedDc screen(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), 16, 10);
    const winplat::MemoryDc dc(CreateCompatibleDC(screen.get()));
    const winplat::Selection selected(dc.get(), bitmap);
    const winplat::GdiObject<HBRUSH> red(CreateSolidBrush(RGB(200, 0, 0)));
    const winplat::GdiObject<HBRUSH> blue(CreateSolidBrush(RGB(0, 0, 200)));
    const RECT left{0, 0, 8, 10};
    const RECT right{8, 0, 16, 10};
    FillRect(dc.get(), &left, red.get());
    FillRect(dc.get(), &right, blue.get());
    return bitmap;
}

TEST(Static, TheKindsItDraws) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(240, 130);
    makeControl(parent, "STATIC", "Vlevo &zalomeny text", SS_LEFT, 4, 4, 70, 30, 1);
    makeControl(parent, "STATIC", "Na st\xF8" "ed", SS_CENTER, 80, 4, 70, 14, 2);
    makeControl(parent, "STATIC", "Vpravo", SS_RIGHT | SS_SUNKEN, 156, 4, 80, 16, 3);
    makeControl(parent, "STATIC", "A&B bez", SS_LEFT | SS_NOPREFIX, 80, 22, 70, 14, 4);
    makeControl(parent, "STATIC", "", SS_BLACKRECT, 4, 40, 20, 20, 5);
    makeControl(parent, "STATIC", "", SS_GRAYRECT, 28, 40, 20, 20, 6);
    makeControl(parent, "STATIC", "", SS_WHITERECT, 52, 40, 20, 20, 7);
    makeControl(parent, "STATIC", "", SS_BLACKFRAME, 76, 40, 20, 20, 8);
    makeControl(parent, "STATIC", "", SS_GRAYFRAME, 100, 40, 20, 20, 9);
    makeControl(parent, "STATIC", "", SS_WHITEFRAME, 124, 40, 20, 20, 10);
    makeControl(parent, "STATIC", "", SS_ETCHEDFRAME, 148, 40, 20, 20, 11);
    makeControl(parent, "STATIC", "", SS_ETCHEDHORZ, 4, 68, 230, 2, 12);
    makeControl(parent, "STATIC", "", SS_ETCHEDVERT, 176, 40, 2, 20, 13);
    const HWND disabled = makeControl(parent, "STATIC", "Nedostupny", SS_LEFT, 4, 76, 80, 14, 14);
    EnableWindow(disabled, FALSE);
    const HWND picture = makeControl(parent, "STATIC", "", SS_BITMAP | SS_CENTERIMAGE, 100, 76, 30, 20, 15);
    const winplat::OwnedBitmap bitmap(paintedBitmap());
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    // A parent's own colours: white text on a dark brush.
    const winplat::GdiObject<HBRUSH> dark(CreateSolidBrush(RGB(0, 0, 96)));
    parentRecord().colours = [&dark](UINT, WPARAM dc, LPARAM control) -> LRESULT {
        if (GetWindowLongA(reinterpret_cast<HWND>(control), GWL_ID) != 16) return 0;  // the default
        SetTextColor(reinterpret_cast<HDC>(dc), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(dark.get());
    };
    makeControl(parent, "STATIC", "Vlastni barvy", SS_LEFT, 140, 100, 90, 16, 16);
    h.pump();
    h.expectImage(h.windowImage(parent, true), "statics");
    parentRecord().colours = nullptr;
}

}  // namespace
