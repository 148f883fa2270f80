// Running the common dialogs' templates and the helpers their procedures share.
#include "commdlg/common_dialog.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "controls/control_support.h"
#include "dialogs/dialog_template.h"
#include "dialogs/modal_dialog.h"

namespace winplat::commdlg {

INT_PTR runCommonDialog(const dialogs::TemplateBytes& bytes, HWND owner, DLGPROC procedure, LPARAM state,
                        std::string name) {
    std::string why;
    const std::optional<dialogs::DialogTemplate> parsed = dialogs::readDialogTemplate(bytes.bytes(), why);
    if (!parsed) return -1;
    return runCommonDialog(*parsed, owner, procedure, state, std::move(name));
}

INT_PTR runCommonDialog(const dialogs::DialogTemplate& dialogTemplate, HWND owner, DLGPROC procedure, LPARAM state,
                        std::string name) {
    return dialogs::runModal(dialogTemplate, dialogs::ModalRequest{nullptr, owner, procedure, state,
                                                                   host::ModalKind::CommonDialog, std::move(name)});
}

namespace {

std::string selectedText(HWND dialog, int id, UINT getSelection, UINT getLength, UINT getText) {
    const LRESULT index = send(dialog, id, getSelection);
    if (index < 0) return {};
    const LRESULT length = send(dialog, id, getLength, static_cast<WPARAM>(index));
    if (length < 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    send(dialog, id, getText, static_cast<WPARAM>(index), text.data());
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

LRESULT send(HWND dialog, int id, UINT message, WPARAM wParam, const char* text) {
    return SendDlgItemMessageA(dialog, id, message, wParam, reinterpret_cast<LPARAM>(text));
}

std::string selectedListText(HWND dialog, int id) {
    return selectedText(dialog, id, LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT);
}

std::string selectedComboText(HWND dialog, int id) {
    return selectedText(dialog, id, CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::string itemText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? controls::windowText(control) : std::string();
}

void warn(HWND dialog, const std::string& text) {
    std::string caption(static_cast<size_t>(std::max(0, GetWindowTextLengthA(dialog))) + 1, '\0');
    caption.resize(static_cast<size_t>(GetWindowTextA(dialog, caption.data(), static_cast<int>(caption.size()))));
    MessageBoxA(dialog, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void copyCut(std::string_view text, char* buffer, size_t size) {
    if (!buffer || size == 0) return;
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace winplat::commdlg
