// The library's dialog templates hold the controls the effect dialogs drive, by the ids of the
// layout table and of the options, swatches and pictures each dialog adds: each dialog is created
// (modeless, headless) and its controls looked up, and its pictures are the library's bitmaps.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/registry/library_state.h"
#include "effects/dialogs/effect_dialog_layout.h"
#include "winplat/byte_reader.h"
#include "winplat/controls.h"
#include "winplat/dialogs.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/resources.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

using namespace pixmill::effects;

INT_PTR CALLBACK quietProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The preview windows' classes stand in with the default procedure: only the templates are tested.
LRESULT CALLBACK standInPreview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

constexpr const char* kPreviewClass = "PXLPREVIEW";
constexpr const char* kSwatchClass = "PXLCOLORPREVIEW";

std::string textOf(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

// Whether the window is of the class registered under that name.
bool isOfClass(HWND window, const char* className) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    const BOOL atom = GetClassInfoExA(nullptr, className, &info);
    return atom != 0 && GetClassLongA(window, GCW_ATOM) == static_cast<DWORD>(atom);
}

// The bitmap's pixels as 32-bit colours, rows from the bottom.
std::vector<uint32_t> pixelsOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info)) return {};
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    const int rows = GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &request,
                               DIB_RGB_COLORS);
    if (rows != info.bmHeight) return {};
    return pixels;
}

// What a template adds beyond the layout table's previews, sliders and buttons.
enum class Kind { Radio, CheckBox, PushButton, Swatch, Picture };

struct Added {
    int id;  // for a picture, the id of the bitmap it shows as well
    Kind kind;
    const char* text;
};

struct Templated {
    int dialogId;
    const char* caption;
    std::vector<Added> added;
};

Added picture(int bitmapId) { return {bitmapId, Kind::Picture, ""}; }
Added radio(int id, const char* text = "") { return {id, Kind::Radio, text}; }

const std::vector<Templated>& templates() {
    static const std::vector<Templated> all{
        {8095, "Image Brightness and Contrast Settings", {picture(8000), picture(8005)}},
        {8096,
         "Brightness and Contrast - 256-Shade Images",
         {picture(8000), picture(8005), {8022, Kind::Swatch, "Fill"}, {8024, Kind::PushButton, "&Select..."}}},
        {8097,
         "Image Bicolor Conversion",
         {radio(8055, "&remapping  "), radio(8054, "&pattern dithering"), radio(8053, "&diffusion  (Floyd-Steinberg)"),
          picture(8004), picture(8003), picture(8002), {8020, Kind::Swatch, "1"},
          {8025, Kind::PushButton, "&First..."}, {8021, Kind::Swatch, "2"}, {8026, Kind::PushButton, "&Second..."}}},
        {8098, "Image Contour Detection", {{8029, Kind::CheckBox, "&Inversion"}}},
        {8099,
         "Emboss",
         {radio(8061), radio(8063), radio(8060), radio(8058), radio(8056), radio(8057), radio(8059), radio(8062),
          {8023, Kind::Swatch, "1"}, {8024, Kind::PushButton, "&Select..."}}},
        {8100, "Focus", {picture(8008)}},
        {8101, "Color Mixing (HSV Model)", {picture(8010), picture(8014), picture(8000)}},
        {8102, "Posterize", {picture(8011)}},
        {8103, "Color Mixing (RGB Model)", {picture(8013), picture(8009), picture(8001)}},
        {8104, "Soften", {picture(8015)}},
    };
    return all;
}

class EffectDialogTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {kPreviewClass, kSwatchClass}) {
            WNDCLASSA standIn{};
            standIn.lpfnWndProc = standInPreview;
            standIn.lpszClassName = name;
            ASSERT_NE(RegisterClassA(&standIn), 0) << name;
        }
    }
    void TearDown() override {
        for (const char* name : {kPreviewClass, kSwatchClass}) UnregisterClassA(name, nullptr);
    }

    struct DestroyDialog {
        void operator()(HWND dialog) const { DestroyWindow(dialog); }
    };
    using Dialog = std::unique_ptr<std::remove_pointer_t<HWND>, DestroyDialog>;

    static Dialog create(int dialogId) {
        return Dialog(
            CreateDialogParamA(pixmill::libraryInstance(), MAKEINTRESOURCEA(dialogId), nullptr, quietProcedure, 0));
    }

    winplat::test::Harness harness_;
};

// The templates and the layout table name the same dialogs.
TEST_F(EffectDialogTemplates, CoverEveryDialogOfTheLayoutTable) {
    ASSERT_EQ(templates().size(), dialogLayouts().size());
    for (size_t i = 0; i < templates().size(); ++i) EXPECT_EQ(templates()[i].dialogId, dialogLayouts()[i].dialogId);
}

TEST_F(EffectDialogTemplates, HoldTheLayoutsControls) {
    for (const Templated& t : templates()) {
        SCOPED_TRACE(t.dialogId);
        const Dialog dialog = create(t.dialogId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(textOf(dialog.get()), t.caption);
        const EffectDialogLayout& layout = *findDialogLayout(t.dialogId);
        const auto item = [&](int id) { return GetDlgItem(dialog.get(), id); };
        for (const auto& [id, text] : {std::pair{layout.originalPreviewId, "Orig"}, {layout.editedPreviewId, "New"}}) {
            EXPECT_TRUE(isOfClass(item(id), kPreviewClass)) << id;
            EXPECT_EQ(textOf(item(id)), text) << id;
        }
        for (const SliderSetting& s : layout.sliders) {
            EXPECT_TRUE(isOfClass(item(s.sliderId), "msctls_trackbar32")) << s.sliderId;
            EXPECT_TRUE(isOfClass(item(s.editId), "EDIT")) << s.editId;
            EXPECT_TRUE(isOfClass(item(s.spinId), "msctls_updown32")) << s.spinId;
        }
        EXPECT_EQ(textOf(item(IDOK)), "&OK");
        EXPECT_EQ(textOf(item(IDCANCEL)), "&Cancel");
        EXPECT_EQ(textOf(item(kCommandRestore)), layout.hasRestore ? "&Restore" : "");
        EXPECT_EQ(item(kCommandRestore) != nullptr, layout.hasRestore);
    }
}

// Radio buttons and the check box are plain ones, so only the dialog procedure sets their state:
// an automatic check box would toggle once by itself and once more by the procedure.
TEST_F(EffectDialogTemplates, HoldTheOptionsSwatchesAndPictures) {
    for (const Templated& t : templates()) {
        SCOPED_TRACE(t.dialogId);
        const Dialog dialog = create(t.dialogId);
        ASSERT_NE(dialog, nullptr);
        for (const Added& a : t.added) {
            SCOPED_TRACE(a.id);
            const HWND control = GetDlgItem(dialog.get(), a.id);
            ASSERT_NE(control, nullptr);
            const DWORD style = styleOf(control);
            switch (a.kind) {
                case Kind::Radio:
                case Kind::CheckBox:
                case Kind::PushButton: {
                    EXPECT_TRUE(isOfClass(control, "BUTTON"));
                    const DWORD type = a.kind == Kind::Radio      ? BS_RADIOBUTTON
                                       : a.kind == Kind::CheckBox ? BS_CHECKBOX
                                                                  : BS_PUSHBUTTON;
                    EXPECT_EQ(style & BS_TYPEMASK, type);
                    EXPECT_EQ(textOf(control), a.text);
                    break;
                }
                case Kind::Swatch:
                    EXPECT_TRUE(isOfClass(control, kSwatchClass));
                    EXPECT_EQ(textOf(control), a.text);
                    break;
                case Kind::Picture: {
                    EXPECT_TRUE(isOfClass(control, "STATIC"));
                    EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
                    const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
                    ASSERT_NE(shown, nullptr);
                    const winplat::OwnedBitmap own(LoadBitmapA(pixmill::libraryInstance(), MAKEINTRESOURCEA(a.id)));
                    ASSERT_TRUE(own);
                    const std::vector<uint32_t> pixels = pixelsOf(shown);
                    EXPECT_FALSE(pixels.empty());
                    EXPECT_EQ(pixels, pixelsOf(own.get())) << "the picture is not bitmap " << a.id;
                    break;
                }
            }
        }
    }
}

// The control's rectangle in the dialog's client coordinates, in pixels.
RECT placeOf(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool isGroupBox(HWND control) {
    return isOfClass(control, "BUTTON") && (styleOf(control) & BS_TYPEMASK) == static_cast<DWORD>(BS_GROUPBOX);
}

bool contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every control lies inside the dialog; no two overlap (the pictures at their own size
// included); a control that touches a group box lies wholly inside it.
TEST_F(EffectDialogTemplates, LayTheirControlsOutWithoutOverlap) {
    for (const Templated& t : templates()) {
        SCOPED_TRACE(t.dialogId);
        const Dialog dialog = create(t.dialogId);
        ASSERT_NE(dialog, nullptr);
        RECT client{};
        GetClientRect(dialog.get(), &client);
        std::vector<std::pair<HWND, RECT>> boxes;
        std::vector<std::pair<HWND, RECT>> controls;
        for (HWND c = GetWindow(dialog.get(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const RECT place = placeOf(dialog.get(), c);
            EXPECT_TRUE(contains(client, place)) << GetDlgCtrlID(c) << " " << textOf(c);
            (isGroupBox(c) ? boxes : controls).emplace_back(c, place);
        }
        for (size_t i = 0; i < controls.size(); ++i) {
            const auto& [control, place] = controls[i];
            for (size_t j = i + 1; j < controls.size(); ++j) {
                RECT common{};
                EXPECT_FALSE(IntersectRect(&common, &place, &controls[j].second))
                    << GetDlgCtrlID(control) << " '" << textOf(control) << "' overlaps "
                    << GetDlgCtrlID(controls[j].first) << " '" << textOf(controls[j].first) << "'";
            }
            for (const auto& [box, area] : boxes) {
                RECT common{};
                const bool touches = IntersectRect(&common, &place, &area);
                EXPECT_TRUE(!touches || contains(area, place))
                    << GetDlgCtrlID(control) << " '" << textOf(control) << "' crosses '" << textOf(box) << "'";
            }
        }
    }
}

struct BitmapHeader {
    int32_t width;
    int32_t height;
    uint16_t bitCount;
};

std::optional<BitmapHeader> headerOf(std::span<const uint8_t> bytes) {
    winplat::ByteReader reader(bytes);
    reader.u32();  // header size
    BitmapHeader header{reader.i32(), reader.i32(), 0};
    reader.u16();  // planes
    header.bitCount = reader.u16();
    if (!reader.ok()) return std::nullopt;
    return header;
}

// The sixteen pictures: 16 x 16 at 4 bits a pixel (8012 is 6 x 6), each drawn differently.
TEST(EffectBitmaps, AreSixteenSmallFourBitPictures) {
    std::set<std::vector<uint8_t>> distinct;
    for (int id = 8000; id <= 8015; ++id) {
        SCOPED_TRACE(id);
        const auto bytes = winplat::resourceBytes(pixmill::libraryInstance(), MAKEINTRESOURCEA(id), RT_BITMAP);
        ASSERT_TRUE(bytes.has_value());
        const std::optional<BitmapHeader> header = headerOf(*bytes);
        ASSERT_TRUE(header.has_value());
        const int32_t side = id == 8012 ? 6 : 16;
        EXPECT_EQ(header->width, side);
        EXPECT_EQ(header->height, side);
        EXPECT_EQ(header->bitCount, 4);
        EXPECT_TRUE(distinct.emplace(bytes->begin(), bytes->end()).second) << "drawn like an earlier one";
    }
}

}  // namespace
