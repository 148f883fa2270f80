// The main form's keys, mouse and wheel: key hooks, the mode toggle keys, the selection-step and
// pick-window keys, the navigation keys, clicks in the drawing and wheel zoom.
#include <cctype>

#include "drawing/view_transform.h"
#include "ui/form_command_line.h"
#include "ui/key_hooks.h"
#include "ui/main_form.h"
#include "ui/view_stepping.h"

namespace linework {

namespace {

constexpr uint32_t kSwapPanButtons = 1u << 24;
constexpr uint32_t kPanEndsOnMouseUp = 1u << 25;
constexpr uint32_t kMiddleCentres = 1u << 27;
constexpr uint32_t kReverseWheel = 1u << 29;
constexpr int kGridSwitch = 65;
constexpr int kModeSwitchA = 66;
constexpr int kModeSwitchB = 67;
constexpr int kModeSwitchC = 68;
constexpr int32_t kReadoutForm = 691;

KeyModifiers ModifiersOf(winforms::ShiftState shift) {
    return {shift.has(winforms::Shift::Alt), shift.has(winforms::Shift::Ctrl), shift.has(winforms::Shift::Shift)};
}

}  // namespace

void MainForm::Edit1KeyDown(WORD& key, winforms::ShiftState shift) {
    lastKey_ = key;
    keyConsumed_ = true;
    if (key == VK_CONTROL) ctrlHeld_ = true;
    if (key == VK_ESCAPE && engine_->Running()) {
        engine_->RequestStop();
        key = 0;
        return;
    }
    SystemVariableImage& image = engine_->image;
    if (!drafting_->CommandActive() && image.Byte(kKeysSwallowed) != 0) {
        key = 0;
        return;
    }
    const KeyModifiers held = ModifiersOf(shift);
    if (KeyHookPrefix(held).empty()) ModeToggleKeys(key);
    const std::string hook = KeyHookName(key, held);
    if (!hook.empty() && RunScriptFile(hook)) {
        key = 0;
        return;
    }
    if (drafting_->SelectionStepActive() && SelectionStepKeys(key, shift)) {
        key = 0;
        return;
    }
    if (drafting_->HasActiveCommandCode() && PickWindowKeys(key)) {
        key = 0;
        return;
    }
    keyConsumed_ = false;
    if (edit1_->Text().empty() && !engine_->Running()) NavigationKeys(key, shift);
}

// The six mode toggle keys; each acts on its own, and none consumes the key.
void MainForm::ModeToggleKeys(WORD key) {
    SystemVariableImage& image = engine_->image;
    int which = -1;
    for (int k = 0; k < 6; ++k) {
        if (image.Integer(kFirstToggleKey + k) == key) which = k;
    }
    switch (which) {
        case 0:
            if (image.Byte(14) != 0) image.SetByte(13, image.Byte(13) ? 0 : 1);
            break;
        case 1:
            if (image.Byte(14) != 0) image.SetInteger(kReadoutForm, (image.Integer(kReadoutForm) + 1) % 3);
            break;
        case 2:
            if (image.Byte(14) == 0) {
                image.SetByte(14, 1);
                image.SetByte(15, 0);
            } else if (image.Byte(15) != 0) {
                image.SetByte(14, 0);
            } else {
                image.SetByte(15, 1);
            }
            break;
        case 3:
            image.SetByte(kGridSwitch, image.Byte(kGridSwitch) ? 0 : 1);
            break;
        case 4: {
            // (1,0) -> (0,1) -> (0,0) -> (1,0).
            const bool a = image.Byte(kModeSwitchA) != 0;
            const bool b = image.Byte(kModeSwitchB) != 0;
            const bool nextB = a && !b;
            const bool nextA = !nextB && !(!a && b);
            image.SetByte(kModeSwitchA, nextA ? 1 : 0);
            image.SetByte(kModeSwitchB, nextB ? 1 : 0);
            break;
        }
        case 5:
            image.SetByte(kModeSwitchC, image.Byte(kModeSwitchC) ? 0 : 1);
            break;
        default:
            break;
    }
}

bool MainForm::SelectionStepKeys(WORD key, winforms::ShiftState shift) {
    const int index = SelectionKeyIndex(hotKeys_, key);
    if (index < 0) return false;
    drafting_->SelectionKey(index + 1, shift.has(winforms::Shift::Ctrl));
    return true;
}

bool MainForm::PickWindowKeys(WORD key) {
    const std::string line = edit1_->Text();
    const int escape = engine_->image.Integer(kHotKeyEscape);
    if (!line.empty() && std::toupper(static_cast<unsigned char>(line[0])) == std::toupper(escape & 0xFF)) return false;
    const int kind = PickWindowKind(hotKeys_, key);
    if (kind >= 0) {
        drafting_->SetPickWindowMode(kind);
        return true;
    }
    if (key == hotKeys_.windowSelectionKey) {
        drafting_->ToggleWindowSelection();
        return true;
    }
    return false;
}

void MainForm::NavigationKeys(WORD key, winforms::ShiftState shift) {
    const bool alt = shift.has(winforms::Shift::Alt);
    const bool ctrl = shift.has(winforms::Shift::Ctrl);
    const double step = alt ? 1.0 : 0.25;
    switch (key) {
        case VK_PRIOR:
            if (!ctrl) drafting_->ZoomByFactor(alt ? 10 : 2);
            break;
        case VK_NEXT:
            if (!ctrl) drafting_->ZoomByFactor(alt ? 0.1 : 0.5);
            break;
        case VK_END:
            drafting_->ZoomExtents();
            break;
        case VK_HOME:
            drafting_->PreviousView();
            break;
        case VK_LEFT:
            ctrl ? StepStoredViews(-1) : drafting_->PanByScreenFraction(-step, 0);
            break;
        case VK_RIGHT:
            ctrl ? StepStoredViews(1) : drafting_->PanByScreenFraction(step, 0);
            break;
        case VK_UP:
            if (ctrl) {
                if (!drafting_->StepViewHistory(1) && boxes_) boxes_->ShowInfoMessage(texts_.Message(kNoFurtherViewMessage));
            } else {
                drafting_->PanByScreenFraction(0, step);
            }
            break;
        case VK_DOWN:
            if (ctrl) {
                if (!drafting_->StepViewHistory(-1) && boxes_) boxes_->ShowInfoMessage(texts_.Message(kNoFurtherViewMessage));
            } else {
                drafting_->PanByScreenFraction(0, -step);
            }
            break;
        case VK_INSERT:
            drafting_->RegenerateDrawing();
            break;
        case VK_DELETE:
            drafting_->PaintBackground();
            break;
        default:
            break;
    }
}

void MainForm::StepStoredViews(int step) {
    std::array<double, kStoredViews> scales{};
    for (int v = 1; v <= kStoredViews; ++v) {
        scales[static_cast<size_t>(v - 1)] = engine_->image.Double(kCurrentViewDouble + 10 * v);
    }
    if (std::optional<int> found = StepStoredView(drafting_->CurrentStoredView(), step, scales)) {
        drafting_->UseStoredView(*found);
    }
}

void MainForm::Edit1KeyPress(char& key) {
    if (keyConsumed_) key = 0;
    if ((key == '\r' || key == '\x1b') && commandLine_) {
        const char pressed = key;
        key = 0;
        commandLine_->Line().EnterCommandLine(pressed);
    }
}

void MainForm::Edit1KeyUp(WORD key) {
    if (key == VK_CONTROL) ctrlHeld_ = false;
}

void MainForm::PaintBox1MouseDown(winforms::MouseButton button, winforms::ShiftState shift, int x, int y) {
    using winforms::MouseButton;
    using winforms::Shift;
    const uint32_t options = static_cast<uint32_t>(engine_->image.Integer(kInputOptions));
    const bool swap = (options & kSwapPanButtons) != 0;
    const bool middleCentres = (options & kMiddleCentres) != 0;
    const bool shiftHeld = shift.has(Shift::Shift);
    const bool alt = shift.has(Shift::Alt);
    const bool ctrl = shift.has(Shift::Ctrl);
    if ((button == MouseButton::Middle && middleCentres) ||
        (shiftHeld && ((button == MouseButton::Left && swap) || (button == MouseButton::Right && !swap)))) {
        drafting_->CentreViewOnCursor(!alt);
    }
    if (button == MouseButton::Right) {
        if (shiftHeld && swap) {
            drafting_->StartRealTimePan();
        } else if (alt) {
            RunPickListHook("TOPCOLOR");
        } else if (ctrl) {
            RunPickListHook("TOPLAYER");
        }
    }
    if (button == MouseButton::Middle && !middleCentres) drafting_->StartRealTimePan();
    if (button == MouseButton::Left) {
        if (shiftHeld && !swap) drafting_->StartRealTimePan();
        if (!drafting_->CommandActive()) {
            RunScriptFile("MKEY1");
            return;
        }
        prompts_->SetCommandEditText("");
    }
    drafting_->AcceptPointAt(x, y, button, alt);
}

void MainForm::PaintBox1MouseUp() {
    const uint32_t options = static_cast<uint32_t>(engine_->image.Integer(kInputOptions));
    if ((options & kPanEndsOnMouseUp) != 0) drafting_->StopRealTimePan();
}

void MainForm::WheelZoom(int delta, bool ctrl) {
    const uint32_t options = static_cast<uint32_t>(engine_->image.Integer(kInputOptions));
    const double factor = WheelZoomFactor(delta, (options & kReverseWheel) != 0, ctrl);
    fineZoom_ = !ctrl;
    drafting_->ZoomByFactor(factor);
    fineZoom_ = false;
}

// The pick lists themselves come with the picker form; their hooks already run.
bool MainForm::RunPickListHook(const char* hook) { return RunScriptFile(hook); }

}  // namespace linework
