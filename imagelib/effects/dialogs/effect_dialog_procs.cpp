#include "effects/dialogs/effect_dialog_procs.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "effects/dialogs/effect_dialog_session.h"
#include "effects/dialogs/effect_previews.h"
#include "winplat/commdlg.h"
#include "winplat/refusal.h"

namespace pixmill::effects {

namespace {

constexpr winplat::Refuser refuse("PXL32: effect dialog");

constexpr std::array<int, 4> kSwatches{8020, 8021, 8022, 8023};
constexpr std::array<int, 3> kColourButtons{8024, 8025, 8026};
constexpr int kEditLimit = 4;

void post(HWND dialog, int command) { PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(command), 0); }

void repaint(HWND dialog, int controlId) {
    if (const HWND control = GetDlgItem(dialog, controlId)) InvalidateRect(control, nullptr, FALSE);
}

void repaintSwatches(HWND dialog) {
    for (const int swatch : kSwatches) repaint(dialog, swatch);
}

void repaintPreviews(HWND dialog, const EffectDialogLayout& layout) {
    repaint(dialog, layout.originalPreviewId);
    repaint(dialog, layout.editedPreviewId);
}

int valueOf(const EffectDialogController& controller, const SliderSetting& slider) {
    return controller.settings().*(slider.value);
}

// The slider, the spin and the edit ("%d") at the value. The edit's new text comes back as
// EN_UPDATE, which finds it valid.
void showSlider(HWND dialog, const SliderSetting& slider, int value) {
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETPOS, TRUE, value);
    SendDlgItemMessageA(dialog, slider.spinId, UDM_SETPOS32, 0, value);
    SetDlgItemTextA(dialog, slider.editId, std::to_string(value).c_str());
}

void showOptions(HWND dialog, const EffectDialogController& controller) {
    for (const int option : controller.layout().options) {
        CheckDlgButton(dialog, option, controller.optionChecked(option) ? BST_CHECKED : BST_UNCHECKED);
    }
}

void showSettings(HWND dialog, const EffectDialogController& controller) {
    for (const SliderSetting& slider : controller.layout().sliders) {
        showSlider(dialog, slider, valueOf(controller, slider));
    }
    showOptions(dialog, controller);
    repaintSwatches(dialog);
}

// Range, ticks, page and line of the slider; the spin's range and its edit as buddy; the edit's
// limit; then the value.
void setUpSlider(HWND dialog, const SliderSetting& slider, int value) {
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETRANGEMIN, FALSE, slider.minimum);
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETRANGEMAX, FALSE, slider.maximum);
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETTICFREQ, static_cast<WPARAM>(slider.tickFrequency), 0);
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETPAGESIZE, 0, slider.pageSize);
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETLINESIZE, 0, 1);
    SendDlgItemMessageA(dialog, slider.editId, EM_LIMITTEXT, kEditLimit, 0);
    SendDlgItemMessageA(dialog, slider.spinId, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(GetDlgItem(dialog, slider.editId)), 0);
    SendDlgItemMessageA(dialog, slider.spinId, UDM_SETRANGE32, static_cast<WPARAM>(slider.minimum), slider.maximum);
    showSlider(dialog, slider, value);
}

// The original preview fills the edited preview window inside its frame.
OriginalPreviewBuilder previewBuilder(HWND dialog, int editedPreviewId) {
    return [dialog, editedPreviewId](PxlImageId source, const PreviewView& view) {
        RECT client{};
        GetClientRect(GetDlgItem(dialog, editedPreviewId), &client);
        return buildOriginalPreview(source, client.right - 2, client.bottom - 2, view);
    };
}

INT_PTR initialise(HWND dialog, int dialogId, const EffectDialogCall* call) {
    const EffectDialogLayout* layout = findDialogLayout(dialogId);
    if (!layout || !call || !call->settings || call->request.dialogId != dialogId) {
        EndDialog(dialog, 0);
        return refuse(TRUE, "the dialog was opened without the settings of its effect");
    }
    auto opened = EffectDialogController::open(call->request, *call->settings,
                                               previewBuilder(dialog, layout->editedPreviewId));
    if (!opened) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    const EffectDialogController& controller = *opened;
    beginEffectDialog(dialog, std::move(opened));
    for (const SliderSetting& slider : layout->sliders) setUpSlider(dialog, slider, valueOf(controller, slider));
    showOptions(dialog, controller);
    post(dialog, kCommandReady);
    return TRUE;
}

void recompute(HWND dialog, EffectDialogController& controller) {
    UpdateWindow(dialog);
    if (controller.recompute()) repaintPreviews(dialog, controller.layout());
    repaintSwatches(dialog);
}

// Nothing or a lone minus sign: a number being typed, not yet one to judge. Put back at once,
// it would leave no way to type a negative number ("-" replaced by "0" as the sign is typed).
bool numberBegun(std::string_view text) { return text.empty() || text == "-"; }

std::string editText(HWND dialog, int editId) {
    char text[16] = {};
    GetDlgItemTextA(dialog, editId, text, sizeof text);
    return text;
}

// The spin reads the edit; text it cannot read within the range is replaced by the last valid
// value, anything else moves the slider and recomputes.
INT_PTR editUpdated(HWND dialog, EffectDialogController& controller, const SliderSetting& slider) {
    const std::string text = editText(dialog, slider.editId);
    if (numberBegun(text)) return TRUE;
    if (const std::optional<int> lastValid = controller.editChanged(slider.editId, text)) {
        showSlider(dialog, slider, *lastValid);
        return TRUE;
    }
    SendDlgItemMessageA(dialog, slider.sliderId, TBM_SETPOS, TRUE, valueOf(controller, slider));
    post(dialog, kCommandRecompute);
    return TRUE;
}

// A number begun and left unfinished gives way to the setting's value.
INT_PTR editLeft(HWND dialog, const EffectDialogController& controller, const SliderSetting& slider) {
    if (numberBegun(editText(dialog, slider.editId))) showSlider(dialog, slider, valueOf(controller, slider));
    return TRUE;
}

INT_PTR editNotified(HWND dialog, EffectDialogController& controller, int editId, int notification) {
    const SliderSetting* slider = findSliderSetting(controller.layout(), editId);
    if (!slider || slider->editId != editId) return FALSE;
    if (notification == EN_UPDATE) return editUpdated(dialog, controller, *slider);
    if (notification == EN_KILLFOCUS) return editLeft(dialog, controller, *slider);
    return FALSE;
}

// Thumb tracking and thumb position carry the position; every other code leaves it to the slider.
INT_PTR sliderScrolled(HWND dialog, EffectDialogController& controller, HWND control, WPARAM how) {
    const int sliderId = GetDlgCtrlID(control);
    const SliderSetting* slider = findSliderSetting(controller.layout(), sliderId);
    if (!slider || slider->sliderId != sliderId) return FALSE;
    const int code = LOWORD(how);
    const int position = code == TB_THUMBTRACK || code == TB_THUMBPOSITION
                             ? static_cast<short>(HIWORD(how))
                             : static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
    controller.sliderMoved(sliderId, position);
    showSlider(dialog, *slider, valueOf(controller, *slider));
    post(dialog, kCommandRecompute);
    return TRUE;
}

// The colour dialog, fully open, always from the same start colour and custom colours.
std::optional<COLORREF> askColour(HWND dialog) {
    std::array<COLORREF, 16> custom{};
    custom.fill(kColourDialogStart);
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.rgbResult = kColourDialogStart;
    choice.lpCustColors = custom.data();
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return std::nullopt;
    return choice.rgbResult;
}

void chooseColour(HWND dialog, EffectDialogController& controller, int buttonId) {
    const std::optional<COLORREF> colour = askColour(dialog);
    // The shade colour also resets brightness and contrast, so every control is shown again.
    if (!colour || !controller.colourChosen(buttonId, *colour)) return;
    showSettings(dialog, controller);
    post(dialog, kCommandRecompute);
}

bool isColourButton(int controlId) {
    return std::ranges::find(kColourButtons, controlId) != kColourButtons.end();
}

INT_PTR clicked(HWND dialog, EffectDialogController& controller, int controlId) {
    if (controller.optionClicked(controlId)) {
        showOptions(dialog, controller);
        post(dialog, kCommandRecompute);
        return TRUE;
    }
    if (!isColourButton(controlId)) return FALSE;
    chooseColour(dialog, controller, controlId);
    return TRUE;
}

INT_PTR command(HWND dialog, EffectDialogController& controller, int controlId, int notification) {
    switch (controlId) {
        case kCommandReady:
            controller.markReady();
            post(dialog, kCommandRecompute);
            return TRUE;
        case kCommandRecompute: recompute(dialog, controller); return TRUE;
        case kCommandPreviewClicked:
            // The click rebuilt the original preview and dropped the edited one.
            repaintPreviews(dialog, controller.layout());
            post(dialog, kCommandRecompute);
            return TRUE;
        case IDOK: EndDialog(dialog, controller.accept()); return TRUE;
        case IDCANCEL: EndDialog(dialog, controller.cancel()); return TRUE;
        case kCommandRestore:
            controller.restore();
            showSettings(dialog, controller);
            post(dialog, kCommandRecompute);
            return TRUE;
        default: break;
    }
    if (notification == BN_CLICKED) return clicked(dialog, controller, controlId);
    return editNotified(dialog, controller, controlId, notification);
}

// Help belongs to the host: the dialog asks its parent, naming itself as the topic.
INT_PTR forwardHelp(HWND dialog, int dialogId, WPARAM wParam, LPARAM lParam) {
    if (auto* help = reinterpret_cast<HELPINFO*>(lParam)) {
        help->iCtrlId = 0;
        help->dwContextId = static_cast<DWORD_PTR>(dialogId);
    }
    const LRESULT answer = SendMessageA(GetParent(dialog), WM_HELP, wParam, lParam);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, answer);
    return TRUE;
}

INT_PTR effectDialog(int dialogId, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return initialise(dialog, dialogId, reinterpret_cast<const EffectDialogCall*>(lParam));
        case WM_HELP: return forwardHelp(dialog, dialogId, wParam, lParam);
        case WM_DESTROY: endEffectDialog(dialog); return FALSE;
        default: break;
    }
    EffectDialogController* controller = effectDialogOf(dialog);
    if (!controller) return FALSE;
    if (message == WM_COMMAND) return command(dialog, *controller, LOWORD(wParam), HIWORD(wParam));
    if (message == WM_HSCROLL) return sliderScrolled(dialog, *controller, reinterpret_cast<HWND>(lParam), wParam);
    return FALSE;
}

}  // namespace

template <int DialogId>
INT_PTR CALLBACK effectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return effectDialog(DialogId, dialog, message, wParam, lParam);
}

template INT_PTR CALLBACK effectDialogProc<8095>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8096>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8097>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8098>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8099>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8100>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8101>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8102>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8103>(HWND, UINT, WPARAM, LPARAM);
template INT_PTR CALLBACK effectDialogProc<8104>(HWND, UINT, WPARAM, LPARAM);

DLGPROC effectDialogProcedure(int dialogId) {
    static constexpr std::array<std::pair<int, DLGPROC>, 10> kProcedures{{
        {8095, BrightnessContrastDialogProc},
        {8096, ShadeDialogProc},
        {8097, BicolorDialogProc},
        {8098, ContourDialogProc},
        {8099, EmbossDialogProc},
        {8100, FocusDialogProc},
        {8101, HsvMixingDialogProc},
        {8102, PosterizeDialogProc},
        {8103, RgbMixingDialogProc},
        {8104, SoftenDialogProc},
    }};
    for (const auto& [id, procedure] : kProcedures) {
        if (id == dialogId) return procedure;
    }
    return nullptr;
}

}  // namespace pixmill::effects
