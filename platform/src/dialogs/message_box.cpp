// MessageBoxA: a modal dialog built from a template of the layer's own, laid out around the text
// measured in the classic dialog font: the icon at the left, the text wrapped at a maximum width,
// the buttons centred in a row below.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "dialogs/dialog_template.h"
#include "dialogs/dialog_units.h"
#include "dialogs/modal_dialog.h"
#include "dialogs/template_bytes.h"
#include "winplat/text.h"

namespace winplat::dialogs {
namespace {

constexpr const char* kDefaultCaption = "Chyba";
constexpr const char* kFace = "MS Sans Serif";
constexpr WORD kPointSize = 8;
constexpr WORD kIconId = 20;
constexpr WORD kTextId = 0xFFFF;
// Dialog units.
constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kButtonGap = 4;
constexpr int kIconPixels = 32;

struct Button {
    WORD id;
    const char* text;
};

// The button set of the type's low bits; MB_OK for a value no set has.
std::vector<Button> buttonsOf(UINT type) {
    static const Button ok{IDOK, "OK"}, cancel{IDCANCEL, "Storno"}, yes{IDYES, "Ano"}, no{IDNO, "Ne"},
        retry{IDRETRY, "Opakovat"};
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {ok, cancel};
        case MB_YESNOCANCEL: return {yes, no, cancel};
        case MB_YESNO: return {yes, no};
        case MB_RETRYCANCEL: return {retry, cancel};
        default: return {ok};
    }
}

LPCSTR iconNameOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return IDI_HAND;
        case MB_ICONQUESTION: return IDI_QUESTION;
        case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
        case MB_ICONASTERISK: return IDI_ASTERISK;
        default: return nullptr;
    }
}

// What the box's procedure needs.
struct Box {
    std::vector<Button> buttons;
    WORD defaultId = IDOK;
    HICON icon = nullptr;
};

bool hasButton(const Box& box, WORD id) {
    return std::any_of(box.buttons.begin(), box.buttons.end(), [id](const Button& b) { return b.id == id; });
}

short unitsAcross(int pixels, SIZE base) { return static_cast<short>((pixels * 4 + base.cx - 1) / base.cx); }
short unitsDown(int pixels, SIZE base) { return static_cast<short>((pixels * 8 + base.cy - 1) / base.cy); }

// The text's size in pixels, wrapped at 5/8 of the screen's width.
SIZE measureText(const std::string& text, HFONT font) {
    const BorrowedDc screen(nullptr);
    const Selection selected(screen.get(), font);
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN) * 5 / 8, 0};
    DrawTextA(screen.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

TemplateBytes layOut(const std::string& text, const char* caption, const Box& box) {
    const GdiObject<HFONT> font = controls::makeDialogFont();
    const SIZE base = baseUnitsOf(font.get());
    const SIZE textPixels = measureText(text, font.get());
    const short textWidth = unitsAcross(textPixels.cx, base);
    const short textHeight = unitsDown(textPixels.cy, base);
    const short iconWidth = box.icon ? unitsAcross(kIconPixels, base) : 0;
    const short iconHeight = box.icon ? unitsDown(kIconPixels, base) : 0;
    const short textLeft = static_cast<short>(kMargin + (box.icon ? iconWidth + kMargin : 0));
    const short textTop = static_cast<short>(kMargin + std::max(0, (iconHeight - textHeight) / 2));
    const auto count = static_cast<short>(box.buttons.size());
    const short rowWidth = static_cast<short>(count * kButtonWidth + (count - 1) * kButtonGap);
    const short width = static_cast<short>(std::max(textLeft + textWidth + kMargin, rowWidth + 2 * kMargin));
    const short buttonsTop = static_cast<short>(std::max(textTop + textHeight, kMargin + iconHeight) + kMargin);
    const short height = static_cast<short>(buttonsTop + kButtonHeight + kMargin);
    TemplateBytes bytes(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT | DS_CENTER, 0,
                        TemplateBox{0, 0, width, height}, caption, kPointSize, kFace);
    if (box.icon) {
        bytes.addItem(SS_ICON | WS_VISIBLE, 0, TemplateBox{kMargin, kMargin, iconWidth, iconHeight}, kIconId, "STATIC", "");
    }
    bytes.addItem(SS_LEFT | SS_NOPREFIX | WS_VISIBLE | WS_GROUP, 0,
                  TemplateBox{textLeft, textTop, static_cast<short>(textWidth + 1), textHeight}, kTextId, "STATIC", text);
    short x = static_cast<short>((width - rowWidth) / 2);
    for (const Button& button : box.buttons) {
        const DWORD kind = button.id == box.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        const DWORD group = &button == &box.buttons.front() ? static_cast<DWORD>(WS_GROUP) : 0u;
        bytes.addItem(kind | WS_VISIBLE | WS_TABSTOP | group, 0, TemplateBox{x, buttonsTop, kButtonWidth, kButtonHeight},
                      button.id, "BUTTON", button.text);
        x = static_cast<short>(x + kButtonWidth + kButtonGap);
    }
    return bytes;
}

INT_PTR CALLBACK boxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<const Box> box = modalCallState<const Box>(dialog, message, lParam);
    if (!box) return FALSE;
    switch (message) {
        case WM_INITDIALOG: {
            if (box->icon) SendDlgItemMessageA(dialog, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(box->icon), 0);
            SendMessageA(dialog, DM_SETDEFID, box->defaultId, 0);
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, box->defaultId)), TRUE);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            // Esc and the close box cancel only a box with Cancel; a lone OK takes them as OK.
            if (hasButton(*box, id)) EndDialog(dialog, id);
            else if (id == IDCANCEL && box->buttons.size() == 1) EndDialog(dialog, box->buttons.front().id);
            return TRUE;
        }
        default: return FALSE;
    }
}

int showBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Box box;
    box.buttons = buttonsOf(type);
    const size_t chosen = (type & MB_DEFMASK) >> 8;
    box.defaultId = box.buttons[chosen < box.buttons.size() ? chosen : 0].id;
    if (const LPCSTR icon = iconNameOf(type)) box.icon = LoadIconA(nullptr, icon);
    const std::string message = text ? text : "";
    const TemplateBytes bytes = layOut(message, caption ? caption : kDefaultCaption, box);
    std::string why;
    const std::optional<DialogTemplate> parsed = readDialogTemplate(bytes.bytes(), why);
    if (!parsed) return 0;
    MessageBeep(type & MB_ICONMASK);
    const INT_PTR result = runModal(*parsed, ModalRequest{nullptr, owner, boxProcedure, reinterpret_cast<LPARAM>(&box),
                                                          host::ModalKind::MessageBox, message});
    return result < 0 ? 0 : static_cast<int>(result);
}

}  // namespace
}  // namespace winplat::dialogs

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return winplat::dialogs::showBox(owner, text, caption, type);
}

int MessageBoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD /*languageId: the texts are Czech*/) {
    return winplat::dialogs::showBox(owner, text, caption, type);
}
