// The open and save dialogs: their state while they run, their template and their procedure.
#ifndef WINPLAT_SRC_COMMDLG_FILE_DIALOG_H
#define WINPLAT_SRC_COMMDLG_FILE_DIALOG_H

#include <string>
#include <vector>

#include "commdlg/file_patterns.h"
#include "dialogs/template_bytes.h"
#include "winplat/commdlg.h"

namespace winplat::commdlg {

struct FileDialogState {
    DWORD flags = 0;
    bool save = false;
    std::string caption;
    std::string defaultExtension;      // without the '.'; empty for none
    std::vector<FileFilter> filters;
    size_t filterIndex = 0;            // into filters
    std::string patterns = "*.*";      // what the file list shows
    std::string folder;                // the folder shown, in absolute Windows form
    std::string initialName;           // the edit's first text
    // The answer, once the dialog ended with IDOK.
    std::string chosen;
    bool readOnly = false;
};

dialogs::TemplateBytes fileDialogTemplate(const std::string& caption);

INT_PTR CALLBACK fileDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winplat::commdlg

#endif
