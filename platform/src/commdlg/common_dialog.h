// What the common dialogs share: running a template of the layer's own as a modal loop that a
// host answerer knows as a CommonDialog, and the small text helpers of their procedures.
#ifndef WINPLAT_SRC_COMMDLG_COMMON_DIALOG_H
#define WINPLAT_SRC_COMMDLG_COMMON_DIALOG_H

#include <string>
#include <string_view>

#include "dialogs/dialog_template.h"
#include "dialogs/template_bytes.h"
#include "winplat/dialogs.h"

namespace winplat::commdlg {

// The classic dialog font of the layer's templates.
inline constexpr const char* kFace = "MS Sans Serif";
inline constexpr WORD kPointSize = 8;
// The style of a common dialog's template.
inline constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT |
                                      DS_CENTER;
// The id of labels nobody asks for.
inline constexpr WORD kLabelId = 0xFFFF;

// EndDialog's result; -1 when the dialog cannot be made.
INT_PTR runCommonDialog(const dialogs::TemplateBytes& bytes, HWND owner, DLGPROC procedure, LPARAM state,
                        std::string name);

// SendDlgItemMessageA with a text (or nothing) as lParam.
LRESULT send(HWND dialog, int id, UINT message, WPARAM wParam = 0, const char* text = nullptr);
// The selected item's text of a list box or combo box; empty when none is selected.
std::string selectedListText(HWND dialog, int id);
std::string selectedComboText(HWND dialog, int id);

// The same for a template already read.
INT_PTR runCommonDialog(const dialogs::DialogTemplate& dialogTemplate, HWND owner, DLGPROC procedure, LPARAM state,
                        std::string name);

// A control's text (cp1250), and a warning box over the dialog with its caption.
std::string itemText(HWND dialog, int id);
void warn(HWND dialog, const std::string& text);

// Copies a text into a caller's buffer of 'size' bytes, cut to fit with its terminating zero.
void copyCut(std::string_view text, char* buffer, size_t size);

}  // namespace winplat::commdlg

#endif
