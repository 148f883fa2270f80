// The effect dialogs run modally on the headless desktop, answered through their controls as a
// person would: sliders moved with keys, numbers typed, options pressed, colours chosen.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/registry/library_state.h"
#include "effect_test_support.h"
#include "effects/dialogs/dialog_settings.h"
#include "effects/dialogs/effect_dialog_procs.h"
#include "effects/dialogs/effect_dialog_session.h"
#include "effects/dialogs/effect_previews.h"
#include "effects/dialogs/preview_windows.h"
#include "effects/effect_compute.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"
#include "winplat_harness/harness.h"

namespace {

using namespace pixmill::effects;
using pixmill::liveImageCount;
using winplat::test::DialogAnswer;
using winplat::test::Harness;

Harness::Options harnessOptions() {
    Harness::Options options;
    options.goldenFolder = PIXMILL_GOLDEN_DIR;
    return options;
}

// The owner of the dialogs: it answers help with a number of its own and keeps what it was asked.
HELPINFO lastHelp{};
int helpRequests = 0;
constexpr LRESULT kOwnersHelpAnswer = 77;

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP) {
        ++helpRequests;
        lastHelp = *reinterpret_cast<const HELPINFO*>(lParam);
        return kOwnersHelpAnswer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string textOf(HWND dialog, int id) {
    char text[32] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

int sliderPosition(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0)); }

// The open dialog's controller; a dialog without one fails the test.
#define OPEN_CONTROLLER(name, dialog)                          \
    const EffectDialogController* name = effectDialogOf(dialog); \
    ASSERT_NE(name, nullptr) << "the dialog has no controller"

void focusOn(HWND dialog, int controlId) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, controlId)), TRUE);
}

// Focuses the slider and presses the keys on it.
void slide(DialogAnswer& answer, int sliderId, std::initializer_list<UINT> keys) {
    answer.call([sliderId](HWND dialog) { focusOn(dialog, sliderId); });
    for (const UINT key : keys) answer.key(key);
}

// What a person does in one dialog, and the settings that gives from the start values.
struct DialogCase {
    int kind;
    std::vector<COLORREF> colours;  // the colour dialog's answers, in the order it opens
    std::function<void(DialogAnswer&)> steps;
    std::function<void(EffectSettings&)> chosen;
};

const std::vector<DialogCase>& dialogCases() {
    static const std::vector<DialogCase> cases{
        {PXL_EFFECT_BRIGHTNESS, {},
         [](DialogAnswer& a) {
             slide(a, 8068, {VK_NEXT, VK_NEXT, VK_RIGHT});
             a.type(8034, "42");
         },
         [](EffectSettings& s) { s.brightness = 11, s.contrast = 42; }},
        {PXL_EFFECT_SHADE, {RGB(90, 60, 30)},
         [](DialogAnswer& a) {
             a.press(8024);
             slide(a, 8071, {VK_NEXT});
             a.type(8037, "-20");
         },
         [](EffectSettings& s) { s.shadeColour = RGB(90, 60, 30), s.brightness = 5, s.contrast = -20; }},
        {PXL_EFFECT_BICOLOR, {RGB(200, 0, 0), RGB(0, 0, 150)},
         [](DialogAnswer& a) {
             a.check(8053);
             a.press(8025);
             a.press(8026);
         },
         [](EffectSettings& s) { s.method = 2, s.firstColour = RGB(200, 0, 0), s.secondColour = RGB(0, 0, 150); }},
        {PXL_EFFECT_CONTOUR, {}, [](DialogAnswer& a) { a.check(8029); }, [](EffectSettings& s) { s.inversion = true; }},
        {PXL_EFFECT_EMBOSS, {RGB(100, 120, 140)},
         [](DialogAnswer& a) {
             a.check(8059);
             a.press(8024);
         },
         [](EffectSettings& s) { s.lightSource = kLightLeft, s.coating = RGB(100, 120, 140); }},
        {PXL_EFFECT_FOCUS, {},
         [](DialogAnswer& a) {
             slide(a, 8070, {VK_RIGHT, VK_RIGHT});
             // The spin's Up key in its edit steps on from what the slider set.
             a.call([](HWND dialog) { focusOn(dialog, 8035); });
             a.key(VK_UP);
         },
         [](EffectSettings& s) { s.degree = 3; }},
        {PXL_EFFECT_HSV, {},
         [](DialogAnswer& a) {
             slide(a, 8074, {VK_NEXT});
             a.type(8042, "60");
             slide(a, 8079, {VK_END});
         },
         [](EffectSettings& s) { s.hue = 5, s.saturation = 60, s.value = 127; }},
        {PXL_EFFECT_POSTERIZE, {}, [](DialogAnswer& a) { a.type(8040, "4"); }, [](EffectSettings& s) { s.degree = 4; }},
        {PXL_EFFECT_RGB, {},
         [](DialogAnswer& a) {
             slide(a, 8076, {VK_HOME});
             a.type(8038, "33");
             slide(a, 8067, {VK_PRIOR});
         },
         [](EffectSettings& s) { s.red = -127, s.green = 33, s.blue = -5; }},
        {PXL_EFFECT_SOFTEN, {}, [](DialogAnswer& a) { slide(a, 8078, {VK_RIGHT}); },
         [](EffectSettings& s) { s.degree = 1; }},
    };
    return cases;
}

std::string templateName(int kind) { return "#" + std::to_string(findEffectKind(kind)->dialogId); }

class EffectDialogs : public PixmillTest {
protected:
    void SetUp() override {
        PixmillTest::SetUp();
        source = make24(24, 18, gradient(24, 18));
        WNDCLASSA ownerClass{};
        ownerClass.lpfnWndProc = ownerProcedure;
        ownerClass.lpszClassName = "EffectOwner";
        ASSERT_NE(RegisterClassA(&ownerClass), 0);
        owner = CreateWindowExA(0, "EffectOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 500, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        helpRequests = 0;
    }
    void TearDown() override {
        EXPECT_EQ(liveImageCount(), 1u) << "an image outlived its dialog";
        DestroyWindow(owner);
        PixmillTest::TearDown();
    }

    EffectRequest request(int kind) const { return {owner, source, kind, findEffectKind(kind)->dialogId, false}; }

    // The dialog's answer with the colour dialog's answers queued first.
    DialogAnswer expect(const DialogCase& c) {
        for (const COLORREF colour : c.colours) h.answerColour(colour);
        DialogAnswer answer = h.expectDialog(templateName(c.kind));
        c.steps(answer);
        return answer;
    }

    // Asks through the dialog as PXLBitmapEffect does; the settings as the dialog left them.
    bool ask(int kind, EffectSettings& settings) {
        return dialogSettingsProvider().askSettings(request(kind), settings);
    }

    // The effect of these settings run directly.
    std::vector<Rgb> direct(int kind, const EffectSettings& settings) {
        const PxlImageId made = computeEffect({nullptr, source, kind, 0, false}, settings, nullptr);
        std::vector<Rgb> pixels = pixelsOf(made);
        PXLDeleteImage(made);
        return pixels;
    }

    Harness h{harnessOptions()};
    PxlImageId source = 0;
    HWND owner = nullptr;
};

// Without a provider of its own, PXLBitmapEffect asks through the dialog: what the person chose
// there is what the effect computes.
TEST_F(EffectDialogs, OkGivesTheEffectOfTheChosenValues) {
    for (const DialogCase& c : dialogCases()) {
        SCOPED_TRACE(templateName(c.kind));
        expect(c).press(IDOK);
        const PxlImageId result = PXLBitmapEffect(owner, source, static_cast<int16_t>(c.kind), 0, nullptr);
        ASSERT_NE(result, 0);
        EffectSettings chosen = startSettings(c.kind);
        c.chosen(chosen);
        EXPECT_EQ(pixelsOf(result), direct(c.kind, chosen));
        EXPECT_NE(pixelsOf(result), pixelsOf(source));
        EXPECT_EQ(liveImageCount(), 2u) << "the previews went with the dialog";
        PXLDeleteImage(result);
        EXPECT_EQ(h.answersQueued(), 0u);
    }
}

TEST_F(EffectDialogs, CancelGivesNothingAndKeepsTheStartValues) {
    for (const DialogCase& c : dialogCases()) {
        SCOPED_TRACE(templateName(c.kind));
        const EffectSettings start = startSettings(c.kind);
        expect(c)
            .call([&](HWND dialog) {
                OPEN_CONTROLLER(controller, dialog);
                EXPECT_NE(controller->settings(), start) << "the steps changed nothing";
            })
            .press(IDCANCEL);
        EffectSettings settings = start;
        EXPECT_FALSE(ask(c.kind, settings));
        EXPECT_EQ(settings, start);
        expect(c).press(IDCANCEL);
        EXPECT_EQ(PXLBitmapEffect(owner, source, static_cast<int16_t>(c.kind), 0, nullptr), 0);
        EXPECT_EQ(liveImageCount(), 1u);
    }
}

// Restore puts every control back at the start values and the dialog stays open.
TEST_F(EffectDialogs, RestoreResetsWithoutClosing) {
    for (const DialogCase& c : dialogCases()) {
        const EffectDialogLayout& layout = *findDialogLayout(findEffectKind(c.kind)->dialogId);
        if (!layout.hasRestore) continue;
        SCOPED_TRACE(templateName(c.kind));
        const EffectSettings start = startSettings(c.kind);
        expect(c)
            .press(kCommandRestore)
            .call([&](HWND dialog) {
                OPEN_CONTROLLER(controller, dialog);
                EXPECT_EQ(controller->settings(), start);
                for (const SliderSetting& s : layout.sliders) {
                    EXPECT_EQ(sliderPosition(dialog, s.sliderId), start.*(s.value)) << s.sliderId;
                    EXPECT_EQ(textOf(dialog, s.editId), std::to_string(start.*(s.value))) << s.editId;
                }
                for (const int option : layout.options) {
                    EXPECT_EQ(IsDlgButtonChecked(dialog, option) == BST_CHECKED, option == start.lightSource) << option;
                }
                EXPECT_NE(controller->editedPreview(), 0u) << "the start values were computed again";
            })
            .press(IDOK);
        EffectSettings settings = start;
        EXPECT_TRUE(ask(c.kind, settings)) << "the dialog stayed open for OK";
        EXPECT_EQ(settings, start);
    }
}

// A value typed that is no number in the range gives way to the last valid one.
TEST_F(EffectDialogs, InvalidEditGoesBackToTheLastValidValue) {
    struct Case {
        int kind, sliderId, editId;
        const char* typed;
        int kept;
    };
    for (const Case& c : {Case{PXL_EFFECT_BRIGHTNESS, 8068, 8033, "x", 5}, Case{PXL_EFFECT_HSV, 8074, 8039, "+", 5},
                          Case{PXL_EFFECT_POSTERIZE, 8075, 8040, "0", 6}, Case{PXL_EFFECT_FOCUS, 8070, 8035, "6", 1}}) {
        SCOPED_TRACE(c.typed);
        DialogAnswer answer = h.expectDialog(templateName(c.kind));
        slide(answer, c.sliderId, {c.kind == PXL_EFFECT_FOCUS ? UINT{VK_RIGHT} : UINT{VK_NEXT}});
        answer.type(c.editId, c.typed)
            .call([&](HWND dialog) {
                EXPECT_EQ(textOf(dialog, c.editId), std::to_string(c.kept));
                EXPECT_EQ(sliderPosition(dialog, c.sliderId), c.kept);
            })
            .press(IDOK);
        EffectSettings settings = startSettings(c.kind);
        ASSERT_TRUE(ask(c.kind, settings));
        EXPECT_EQ(settings.*(findSliderSetting(*findDialogLayout(findEffectKind(c.kind)->dialogId), c.editId)->value),
                  c.kept);
    }
}

// A thumb dragged to the left end takes the slider's lowest value, negative as it is.
TEST_F(EffectDialogs, DraggingTheThumbCarriesItsPosition) {
    h.expectDialog("#8095")
        .call([](HWND dialog) {
            const HWND slider = GetDlgItem(dialog, 8069);
            RECT thumb{};
            SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
            POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
            ClientToScreen(slider, &from);
            winplat::testing::mouseMove(from.x, from.y);
            winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
        })
        .call([](HWND dialog) {
            // Input goes where the pointer is when it is taken: the drag comes after the press.
            RECT bar{};
            GetWindowRect(GetDlgItem(dialog, 8069), &bar);
            winplat::testing::mouseMove(bar.left - 20, (bar.top + bar.bottom) / 2);
        })
        .call([](HWND dialog) {
            EXPECT_EQ(textOf(dialog, 8034), "-127") << "while the thumb is held";
            winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
        })
        .press(IDOK);
    EffectSettings settings;
    ASSERT_TRUE(ask(PXL_EFFECT_CONTRAST, settings));
    EXPECT_EQ(settings.contrast, -127);
}

// A minus sign typed first waits for its digits; left alone, it gives way to the last valid value.
TEST_F(EffectDialogs, ANegativeNumberCanBeTyped) {
    h.expectDialog("#8103")
        .type(8041, "-20")
        .call([](HWND dialog) {
            EXPECT_EQ(textOf(dialog, 8041), "-20");
            EXPECT_EQ(sliderPosition(dialog, 8076), -20);
        })
        .type(8038, "-")
        .call([](HWND dialog) { EXPECT_EQ(textOf(dialog, 8038), "-") << "still being typed"; })
        .call([](HWND dialog) { focusOn(dialog, 8032); })
        .call([](HWND dialog) { EXPECT_EQ(textOf(dialog, 8038), "0") << "left unfinished"; })
        .press(IDOK);
    EffectSettings settings;
    ASSERT_TRUE(ask(PXL_EFFECT_RGB, settings));
    EXPECT_EQ(settings.red, -20);
    EXPECT_EQ(settings.green, 0);
}

TEST_F(EffectDialogs, EditsTakeFourCharacters) {
    h.expectDialog("#8103")
        .call([](HWND dialog) {
            for (const int edit : {8041, 8038, 8032}) {
                EXPECT_EQ(SendDlgItemMessageA(dialog, edit, EM_GETLIMITTEXT, 0, 0), 4) << edit;
            }
        })
        .press(IDCANCEL);
    EffectSettings settings;
    EXPECT_FALSE(ask(PXL_EFFECT_RGB, settings));
}

// Hues a whole turn apart give the same preview; a turn of ten degrees shows on the picture.
TEST_F(EffectDialogs, HueMinus359ActsAsOne) {
    std::vector<std::vector<Rgb>> previews;
    const auto keep = [&](HWND dialog) {
        OPEN_CONTROLLER(controller, dialog);
        previews.push_back(pixelsOf(controller->editedPreview()));
    };
    DialogAnswer answer = h.expectDialog("#8101");
    for (const auto& [low, high] : {std::pair{"-359", "1"}, std::pair{"-350", "10"}}) {
        answer.type(8039, low).call(keep).type(8039, high).call(keep);
    }
    answer.press(IDOK);
    EffectSettings settings;
    ASSERT_TRUE(ask(PXL_EFFECT_HSV, settings));
    EXPECT_EQ(settings.hue, 10);
    ASSERT_EQ(previews.size(), 4u);
    EXPECT_EQ(previews[0], previews[1]);
    EXPECT_EQ(previews[2], previews[3]);
    EXPECT_NE(previews[2], previews[0]) << "a turn of ten degrees must show";
}

TEST_F(EffectDialogs, ShadeColourResetsBrightnessAndContrast) {
    h.answerColour(RGB(40, 80, 120));
    DialogAnswer answer = h.expectDialog("#8096");
    slide(answer, 8071, {VK_NEXT});
    slide(answer, 8072, {VK_PRIOR});
    answer.press(8024)
        .call([](HWND dialog) {
            for (const int control : {8071, 8072}) EXPECT_EQ(sliderPosition(dialog, control), 0);
            for (const int control : {8036, 8037}) EXPECT_EQ(textOf(dialog, control), "0");
        })
        .press(IDOK);
    EffectSettings settings;
    ASSERT_TRUE(ask(PXL_EFFECT_SHADE, settings));
    EXPECT_EQ(settings.shadeColour, RGB(40, 80, 120));
    EXPECT_EQ(settings.brightness, 0);
    EXPECT_EQ(settings.contrast, 0);
}

// The colour dialog opens fully, always from the same colour (red 0x53, green 0x61, blue 0x99).
TEST_F(EffectDialogs, TheColourDialogOpensFullAtItsStartColour) {
    h.expectCommonDialog("ChooseColor")
        .call([](HWND colours) {
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(colours, COLOR_MIX))) << "already open to its full size";
            EXPECT_EQ(textOf(colours, COLOR_RED), "83");
            EXPECT_EQ(textOf(colours, COLOR_GREEN), "97");
            EXPECT_EQ(textOf(colours, COLOR_BLUE), "153");
        })
        .press(IDCANCEL);
    h.expectDialog("#8099").press(8024).press(IDCANCEL);
    EffectSettings settings = startSettings(PXL_EFFECT_EMBOSS);
    EXPECT_FALSE(ask(PXL_EFFECT_EMBOSS, settings));
}

TEST_F(EffectDialogs, ACancelledColourDialogChangesNothing) {
    h.answer(winplat::host::ModalKind::CommonDialog, "ChooseColor",
             [](const winplat::host::ModalLoop&) -> std::optional<INT_PTR> { return IDCANCEL; });
    DialogAnswer answer = h.expectDialog("#8096");
    slide(answer, 8071, {VK_NEXT});
    answer.press(8024).press(IDOK);
    EffectSettings settings;
    ASSERT_TRUE(ask(PXL_EFFECT_SHADE, settings));
    EXPECT_EQ(settings.shadeColour, RGB(0, 0, 0));
    EXPECT_EQ(settings.brightness, 5);
}

TEST_F(EffectDialogs, PosterizeOneShowsThePictureUnchangedAndMakesNoImage) {
    h.expectDialog("#8102")
        .call([](HWND dialog) {
            OPEN_CONTROLLER(controller, dialog);
            ASSERT_NE(controller->editedPreview(), 0u);
            EXPECT_EQ(pixelsOf(controller->editedPreview()), pixelsOf(controller->originalPreview()));
        })
        .press(IDOK);
    EXPECT_EQ(PXLBitmapEffect(owner, source, PXL_EFFECT_POSTERIZE, 0, nullptr), 0);
}

// A click on a preview shows a 1:1 detail round the point; a second click the whole picture again.
TEST_F(EffectDialogs, TwoClicksOnAPreviewComeBackToTheFittedView) {
    std::vector<Rgb> fitted;
    const auto clickOn = [](HWND dialog, int previewId) {
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, previewId), &r);
        winplat::testing::mouseMove((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
        winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
    };
    h.expectDialog("#8095")
        .call([&](HWND dialog) {
            OPEN_CONTROLLER(controller, dialog);
            fitted = pixelsOf(controller->originalPreview());
            clickOn(dialog, 8028);
        })
        .call([&](HWND dialog) {
            OPEN_CONTROLLER(controller, dialog);
            EXPECT_TRUE(controller->detailMode());
            EXPECT_NE(pixelsOf(controller->originalPreview()), fitted);
            EXPECT_NE(controller->editedPreview(), 0u) << "the edited preview follows the detail";
            clickOn(dialog, 8027);
        })
        .call([&](HWND dialog) {
            OPEN_CONTROLLER(controller, dialog);
            EXPECT_FALSE(controller->detailMode());
            EXPECT_EQ(pixelsOf(controller->originalPreview()), fitted);
            EXPECT_EQ(pixelsOf(controller->editedPreview()), fitted) << "brightness and contrast 0 change nothing";
        })
        .press(IDCANCEL);
    EffectSettings settings;
    EXPECT_FALSE(ask(PXL_EFFECT_BRIGHTNESS, settings));
    EXPECT_FALSE(fitted.empty());
}

// F1 in a dialog asks the owner, with the dialog as the topic and no control; the owner's answer
// is the dialog's.
TEST_F(EffectDialogs, HelpGoesToTheOwnerWithTheDialogAsTopic) {
    LONG_PTR answered = 0;
    h.expectDialog("#8100")
        .call([](HWND dialog) { focusOn(dialog, 8035); })
        .key(VK_F1)
        .call([&](HWND dialog) { answered = GetWindowLongPtrA(dialog, DWLP_MSGRESULT); })
        .press(IDCANCEL);
    EffectSettings settings;
    EXPECT_FALSE(ask(PXL_EFFECT_FOCUS, settings));
    EXPECT_EQ(helpRequests, 1);
    EXPECT_EQ(lastHelp.iCtrlId, 0);
    EXPECT_EQ(lastHelp.dwContextId, 8100u);
    EXPECT_EQ(answered, kOwnersHelpAnswer);
}

// One effect dialog at a time: an effect asked while one is open gets no dialog of its own.
TEST_F(EffectDialogs, NoSecondDialogWhileOneIsOpen) {
    winplat::testing::DebugCapture capture;
    h.expectDialog("#8095")
        .call([&](HWND) { EXPECT_EQ(PXLBitmapEffect(owner, source, PXL_EFFECT_HSV, 0, nullptr), 0); })
        .call([](HWND dialog) { EXPECT_NE(effectDialogOf(dialog), nullptr) << "the open dialog keeps its controller"; })
        .press(IDOK);
    EffectSettings settings;
    EXPECT_TRUE(ask(PXL_EFFECT_BRIGHTNESS, settings));
    EXPECT_TRUE(capture.contains("another effect dialog is open")) << capture.text();
}

// A recomputation that fails keeps the last good preview and leaves the dialog working; nothing
// it made is left behind.
TEST_F(EffectDialogs, AFailedRecomputationLeavesTheDialogUsable) {
    winplat::testing::DebugCapture quiet;
    PxlImageId lastGood = 0;
    DialogAnswer answer = h.expectDialog("#8095");
    answer.call([&](HWND dialog) {
        OPEN_CONTROLLER(controller, dialog);
        lastGood = controller->editedPreview();
        // The original preview goes behind the dialog's back: nothing can be computed from it.
        PXLDeleteImage(controller->originalPreview());
    });
    slide(answer, 8068, {VK_NEXT});
    answer.call([&](HWND dialog) {
        OPEN_CONTROLLER(controller, dialog);
        EXPECT_EQ(controller->editedPreview(), lastGood);
        EXPECT_TRUE(IsWindowVisible(dialog));
    });
    answer.press(IDOK);
    const PxlImageId result = PXLBitmapEffect(owner, source, PXL_EFFECT_BRIGHTNESS, 0, nullptr);
    EXPECT_NE(lastGood, 0u);
    ASSERT_NE(result, 0);
    EffectSettings chosen;
    chosen.brightness = 5;
    EXPECT_EQ(pixelsOf(result), direct(PXL_EFFECT_BRIGHTNESS, chosen));
    PXLDeleteImage(result);
}

// Registered on every effect call, a second time without harm; library shut-down takes them away.
TEST(PreviewClasses, AreRegisteredAgainHarmlesslyAndGoAtShutDown) {
    Harness h;
    RegisterPreviewClasses();
    RegisterPreviewClasses();
    WNDCLASSA found{};
    ASSERT_TRUE(GetClassInfoA(pixmill::libraryInstance(), kPreviewClass, &found));
    EXPECT_EQ(found.style, 0x4003u);
    EXPECT_EQ(found.lpfnWndProc, PreviewWndProc);
    EXPECT_EQ(found.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1)));
    EXPECT_EQ(found.hCursor, LoadCursorA(nullptr, IDC_CROSS));
    ASSERT_TRUE(GetClassInfoA(pixmill::libraryInstance(), kColourPreviewClass, &found));
    EXPECT_EQ(found.lpfnWndProc, ColorPreviewWndProc);
    EXPECT_EQ(found.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    {
        winplat::testing::DebugCapture quiet;
        ShutdownImageLibrary();
    }
    EXPECT_FALSE(GetClassInfoA(pixmill::libraryInstance(), kPreviewClass, &found));
    EXPECT_FALSE(GetClassInfoA(pixmill::libraryInstance(), kColourPreviewClass, &found));
    InitImageLibrary();
}

uint32_t screenColour(COLORREF colour) {
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

// A swatch shows its dialog's colour inside a sunken frame: "1" the first, "2" the second colour.
TEST_F(EffectDialogs, SwatchesShowTheirColoursInASunkenFrame) {
    h.answerColour(RGB(200, 10, 10));
    h.answerColour(RGB(10, 10, 150));
    h.expectDialog("#8097")
        .press(8025)
        .press(8026)
        .call([&](HWND dialog) {
            UpdateWindow(dialog);
            const std::pair<int, COLORREF> swatches[] = {{8020, RGB(200, 10, 10)}, {8021, RGB(10, 10, 150)}};
            for (const auto& [swatch, colour] : swatches) {
                SCOPED_TRACE(swatch);
                const winplat::test::Image image = h.windowImage(GetDlgItem(dialog, swatch), true);
                ASSERT_GT(image.width, 4);
                ASSERT_GT(image.height, 4);
                EXPECT_EQ(image.at(0, image.height / 2), screenColour(GetSysColor(COLOR_BTNSHADOW)));
                EXPECT_EQ(image.at(image.width / 2, 0), screenColour(GetSysColor(COLOR_BTNSHADOW)));
                EXPECT_EQ(image.at(image.width - 1, image.height / 2), screenColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
                EXPECT_EQ(image.at(image.width / 2, image.height - 1), screenColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
                for (const int x : {1, image.width / 2, image.width - 2}) {
                    EXPECT_EQ(image.at(x, 1), screenColour(colour)) << x;
                    EXPECT_EQ(image.at(x, image.height - 2), screenColour(colour)) << x;
                }
            }
        })
        .press(IDCANCEL);
    EffectSettings settings;
    EXPECT_FALSE(ask(PXL_EFFECT_BICOLOR, settings));
}

// The "Fill" swatch: 128 bands from the colour less its smallest channel, 2 lighter each, at most 255.
TEST_F(EffectDialogs, TheShadeSwatchPaintsTheRampInBands) {
    h.answerColour(RGB(60, 120, 30));
    h.expectDialog("#8096")
        .press(8024)
        .call([&](HWND dialog) {
            UpdateWindow(dialog);
            const winplat::test::Image image = h.windowImage(GetDlgItem(dialog, 8022), true);
            const int inside = image.width - 2;
            ASSERT_GE(inside, 128) << "every band at least a pixel wide";
            const int y = image.height / 2;
            const auto bandStart = [inside](int band) { return 1 + band * inside / 128; };
            EXPECT_EQ(image.at(bandStart(0), y), 0x1E5A00u);   // (30, 90, 0)
            EXPECT_EQ(image.at(bandStart(10), y), 0x326E14u);  // (50, 110, 20)
            EXPECT_EQ(image.at(bandStart(11) - 1, y), 0x326E14u) << "the band ends where the next starts";
            EXPECT_EQ(image.at(bandStart(11), y), 0x347016u);
            EXPECT_EQ(image.at(inside, y), 0xFFFFFEu);  // band 127: (255, 255, 254)
        })
        .press(IDCANCEL);
    EffectSettings settings;
    EXPECT_FALSE(ask(PXL_EFFECT_SHADE, settings));
}

// A preview window outside an effect dialog has no image: the button face inside its frame.
TEST_F(EffectDialogs, APreviewWithoutAnImageShowsTheButtonFace) {
    RegisterPreviewClasses();
    const HWND preview = CreateWindowExA(0, kPreviewClass, "Orig", WS_CHILD | WS_VISIBLE, 10, 10, 40, 30, owner,
                                         nullptr, nullptr, nullptr);
    ASSERT_NE(preview, nullptr);
    UpdateWindow(preview);
    const winplat::test::Image image = h.windowImage(preview, true);
    ASSERT_EQ(image.width, 40);
    EXPECT_EQ(image.at(0, 15), screenColour(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(image.at(39, 15), screenColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{20, 15}, std::pair{38, 28}}) {
        EXPECT_EQ(image.at(x, y), screenColour(GetSysColor(COLOR_BTNFACE))) << x << "," << y;
    }
    h.pump();
    h.logMessages(owner);
    SendMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    h.pump();
    for (const UINT message : h.messageNumbers(owner)) EXPECT_NE(message, UINT{WM_COMMAND}) << "no dialog to tell";
    h.stopLogging(owner);
    DestroyWindow(preview);
}

// What the dialogs look like with the test face: one with its previews, one with the shade ramp.
TEST_F(EffectDialogs, Pictures) {
    h.expectDialog("#8095")
        .call([](HWND dialog) { SetDlgItemTextA(dialog, 8033, "40"); })
        .call([&](HWND dialog) {
            UpdateWindow(dialog);
            h.expectImage(h.windowImage(dialog, false), "effect_dialog_brightness");
        })
        .press(IDCANCEL);
    EffectSettings settings;
    EXPECT_FALSE(ask(PXL_EFFECT_BRIGHTNESS, settings));
    h.answerColour(RGB(60, 120, 30));
    h.expectDialog("#8096")
        .press(8024)
        .call([&](HWND dialog) {
            UpdateWindow(dialog);
            h.expectImage(h.windowImage(dialog, false), "effect_dialog_shade");
        })
        .press(IDCANCEL);
    EXPECT_FALSE(ask(PXL_EFFECT_SHADE, settings));
}

}  // namespace
