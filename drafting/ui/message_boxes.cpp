#include "ui/message_boxes.h"

#include <algorithm>
#include <cmath>

#include "drawing/file_names.h"
#include "ui/screen_factor.h"
#include "winplat/debug.h"

namespace linework {

namespace {

constexpr int kMargin = 13;
constexpr int kGap = 25;
constexpr int kButtonPitch = 80;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kLargestBesideText = 255;
constexpr int kSmallPicture = 32;
constexpr int kSmallPictureOffset = 12;

// The widest line and the height of all lines of a text broken by CR LF.
SIZE TextBlockExtent(winforms::Canvas& canvas, std::string_view text) {
    SIZE total{0, 0};
    size_t at = 0;
    while (true) {
        const size_t end = text.find("\r\n", at);
        const std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        const SIZE size = canvas.TextExtent(line.empty() ? std::string_view(" ") : line);
        total.cx = std::max(total.cx, size.cx);
        total.cy += size.cy;
        if (end == std::string_view::npos) break;
        at = end + 2;
    }
    return total;
}

}  // namespace

POINT PlaceMessageBox(int left, int top, SIZE box, SIZE screen) {
    POINT at{left, top};
    if (left < 0) at.x = (screen.cx - box.cx) / 2;
    if (top < 0) at.y = (screen.cy - box.cy) / 2;
    // A place remembered on a larger screen is moved onto this one.
    at.x = std::clamp<LONG>(at.x, 0, std::max<LONG>(0, screen.cx - box.cx));
    at.y = std::clamp<LONG>(at.y, 0, std::max<LONG>(0, screen.cy - box.cy));
    return at;
}

MessageBoxes::MessageBoxes(PickerForm& form, const MessageTable& texts, SystemVariableImage& image,
                           std::string programFolder)
    : form_(form), texts_(texts), image_(image), programFolder_(std::move(programFolder)) {}

bool MessageBoxes::LoadPicture(std::string_view picture) {
    winforms::Bitmap& bitmap = form_.Picture().Picture();
    bitmap = winforms::Bitmap();
    if (picture.empty()) return false;
    const std::string path = CompleteFileName("", picture, programFolder_);
    if (!bitmap.LoadFromFile(path)) {
        OutputDebugStringA(("message box: no picture " + path + "\n").c_str());
        bitmap = winforms::Bitmap();
        return false;
    }
    return true;
}

SIZE MessageBoxes::LayOut(std::string_view text, int buttonCount) {
    const double factor = ScreenFactor();
    const int margin = ScaleByDpi(kMargin, factor);
    const int gap = ScaleByDpi(kGap, factor);
    winforms::Bitmap& picture = form_.Picture().Picture();
    const bool hasPicture = !picture.Empty();
    const bool beside = hasPicture && picture.Width() <= kLargestBesideText && picture.Height() <= kLargestBesideText;
    const int offset = hasPicture && picture.Width() <= kSmallPicture && picture.Height() <= kSmallPicture
                           ? ScaleByDpi(kSmallPictureOffset, factor)
                           : 0;
    winforms::Canvas& canvas = form_.GetCanvas();
    canvas.SetFont(form_.Label1().GetFont());
    const SIZE textSize = TextBlockExtent(canvas, text);

    int textLeft = margin;
    int textTop = margin;
    int picturesBottom = margin;
    form_.Picture().SetVisible(hasPicture);
    if (hasPicture) {
        form_.Picture().SetBounds(margin + offset, margin + offset, picture.Width(), picture.Height());
        if (beside) {
            textLeft = margin + 2 * offset + picture.Width() + gap;
            picturesBottom = margin + 2 * offset + picture.Height();
        } else {
            textTop = margin + picture.Height() + gap;
        }
    }
    form_.Label1().SetBounds(textLeft, textTop, textSize.cx, textSize.cy);

    const int buttonWidth = ScaleByDpi(kButtonWidth, factor);
    const int buttonHeight = ScaleByDpi(kButtonHeight, factor);
    const int pitch = ScaleByDpi(kButtonPitch, factor);
    const int rowWidth = buttonCount > 0 ? buttonWidth + pitch * (buttonCount - 1) : 0;
    const int contentRight = std::max({textLeft + static_cast<int>(textSize.cx), hasPicture ? margin + picture.Width() : 0,
                                       margin + rowWidth});
    const int width = contentRight + margin;
    const int rowTop = std::max(textTop + static_cast<int>(textSize.cy), picturesBottom) + gap;
    const int rowLeft = (width - rowWidth) / 2;
    for (int n = 1, shown = 0; n <= 3; ++n) {
        winforms::Button& button = form_.Buttons(n);
        if (!button.Visible()) continue;
        button.SetBounds(rowLeft + pitch * shown++, rowTop, buttonWidth, buttonHeight);
    }
    return {width, rowTop + buttonHeight + margin};
}

int MessageBoxes::ShowMessageBox(std::string_view text, std::string_view picture, std::string_view caption,
                                 const std::array<std::string, 3>& buttons, std::string_view hint) {
    const bool wasOpen = open_;
    open_ = true;
    if (onOpenChanged) onOpenChanged(true);
    result_ = -1;
    int buttonCount = 0;
    for (int n = 1; n <= 3; ++n) {
        winforms::Button& button = form_.Buttons(n);
        const std::string& label = buttons[static_cast<size_t>(n - 1)];
        button.SetCaption(label);
        button.SetVisible(!label.empty());
        buttonCount += label.empty() ? 0 : 1;
    }
    form_.SetCaption(std::string(caption));
    form_.SetHint(std::string(hint));
    form_.Label1().SetCaption(std::string(text));
    LoadPicture(picture);
    const SIZE client = LayOut(text, buttonCount);
    form_.SetClientWidth(client.cx);
    form_.SetClientHeight(client.cy);
    const int32_t left = image_.Integer(kBoxPositionPair);
    const int32_t top = image_.Integer(kBoxPositionPair + 1);
    const POINT at = PlaceMessageBox(left, top, {form_.Width(), form_.Height()},
                                     {winforms::Screen::Width(), winforms::Screen::Height()});
    form_.SetBounds(at.x, at.y, form_.Width(), form_.Height());
    form_.kind = PickerForm::kMessageBoxKind;
    form_.ShowModal();
    result_ = form_.answer;
    image_.SetInteger(kBoxPositionPair, form_.Left());
    image_.SetInteger(kBoxPositionPair + 1, form_.Top());

    form_.Picture().Picture() = winforms::Bitmap();
    for (int n = 1; n <= 3; ++n) {
        form_.Buttons(n).SetVisible(false);
        form_.Buttons(n).SetDefault(false);
    }
    form_.kind = 0;
    open_ = wasOpen;
    if (onOpenChanged) onOpenChanged(wasOpen);
    return result_;
}

void MessageBoxes::Beep(UINT type) const {
    if (image_.Byte(kBeepSwitch) != 0) MessageBeep(type);
}

void MessageBoxes::ShowInfoMessage(std::string_view text) {
    if (text.empty()) return;
    ShowMessageBox(text, kInfoPicture, defaultCaption, {texts_.Message(boxtext::kOk), "", ""});
}

bool MessageBoxes::AskInfoQuestion(std::string_view text) {
    if (text.empty()) return true;
    ShowMessageBox(text, kInfoPicture, defaultCaption,
                   {texts_.Message(boxtext::kAnswerNo), texts_.Message(boxtext::kAnswerYes), ""});
    return result_ == 2;
}

bool MessageBoxes::AskSaveQuestion(std::string_view text) {
    if (image_.Byte(kDrawingLoadedFlag) == 0) return false;
    image_.SetByte(kDrawingLoadedFlag, 0);
    return AskInfoQuestion(texts_.Message(boxtext::kSaveQuestion) + std::string(text));
}

int MessageBoxes::AskConfirmation(std::string_view text, std::string_view caption) {
    if (text.empty()) {
        result_ = 1;
        return result_;
    }
    Beep(MB_ICONQUESTION);
    ShowMessageBox(text, kConfirmPicture, caption.empty() ? std::string_view(defaultCaption) : caption,
                   {texts_.Message(boxtext::kConfirmYes), texts_.Message(boxtext::kConfirmNo),
                    texts_.Message(boxtext::kConfirmCancel)});
    return result_;
}

void MessageBoxes::ShowErrorMessage(std::string_view text) {
    Beep(MB_ICONEXCLAMATION);
    ShowMessageBox(text, kErrorPicture, texts_.Message(boxtext::kErrorCaption), {texts_.Message(boxtext::kOk), "", ""});
}

}  // namespace linework
