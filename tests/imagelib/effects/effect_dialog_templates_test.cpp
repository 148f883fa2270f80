// The library's dialog templates hold the controls the effect dialogs drive, by the ids of the
// layout table: each is created (modeless, headless) and its controls looked up.
#include <gtest/gtest.h>

#include <string>

#include "core/registry/library_state.h"
#include "effects/dialogs/effect_dialog_layout.h"
#include "winplat/dialogs.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

using namespace pixmill::effects;

INT_PTR CALLBACK quietProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The preview windows' class stands in with the default procedure: only the template is tested.
LRESULT CALLBACK standInPreview(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string textOf(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Templated {
    int dialogId;
    const char* caption;
};

TEST(EffectDialogTemplates, HoldTheLayoutsControls) {
    winplat::test::Harness harness;
    WNDCLASSA previewClass{};
    previewClass.lpfnWndProc = standInPreview;
    previewClass.lpszClassName = "PXLPREVIEW";
    ASSERT_NE(RegisterClassA(&previewClass), 0);
    for (const Templated& t : {Templated{8095, "Image Brightness and Contrast Settings"}, Templated{8100, "Focus"}}) {
        SCOPED_TRACE(t.dialogId);
        const HWND dialog =
            CreateDialogParamA(pixmill::libraryInstance(), MAKEINTRESOURCEA(t.dialogId), nullptr, quietProcedure, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(textOf(dialog), t.caption);
        const EffectDialogLayout& layout = *findDialogLayout(t.dialogId);
        EXPECT_EQ(textOf(GetDlgItem(dialog, layout.originalPreviewId)), "Orig");
        EXPECT_EQ(textOf(GetDlgItem(dialog, layout.editedPreviewId)), "New");
        for (const SliderSetting& s : layout.sliders) {
            for (const int id : {s.sliderId, s.editId, s.spinId}) EXPECT_NE(GetDlgItem(dialog, id), nullptr) << id;
        }
        EXPECT_EQ(textOf(GetDlgItem(dialog, IDOK)), "&OK");
        EXPECT_EQ(textOf(GetDlgItem(dialog, IDCANCEL)), "&Cancel");
        EXPECT_EQ(GetDlgItem(dialog, kCommandRestore) != nullptr, layout.hasRestore);
        DestroyWindow(dialog);
    }
    UnregisterClassA("PXLPREVIEW", nullptr);
}

}  // namespace
