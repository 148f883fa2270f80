#include "winforms/dialogs.h"

#include <vector>

#include "winforms/application.h"
#include "winforms/printer.h"

namespace winforms {

namespace {

constexpr DWORD kPathRoom = 260;

HWND dialogOwner() {
    if (Form* active = Screen::ActiveForm()) return active->Handle();
    Form* main = Application::Exists() ? Application::Current().MainForm() : nullptr;
    return main ? main->Handle() : nullptr;
}

// "a|b|c|d" as the dialog takes it: each text ended by a zero, one more zero at the end.
std::string filterPairs(const std::string& filter) {
    std::string pairs = filter;
    for (char& c : pairs) {
        if (c == '|') c = '\0';
    }
    pairs.push_back('\0');
    pairs.push_back('\0');
    return pairs;
}

}  // namespace

bool FileDialog::Execute() {
    const std::string filter = filterPairs(filter_);
    std::vector<char> path(kPathRoom, '\0');
    fileName_.copy(path.data(), path.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = dialogOwner();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = options_ | OFN_HIDEREADONLY;
    Application::EventScope scope;
    const BOOL chosen = save_ ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return false;
    fileName_ = path.data();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool PrintDialog::Run(DWORD flags) {
    PRINTDLGA pd{};
    pd.lStructSize = PRINTDLG_SIZE_32BIT;
    pd.hwndOwner = dialogOwner();
    pd.Flags = flags | PD_NOPAGENUMS | PD_NOSELECTION | PD_RETURNDC;
    pd.nCopies = static_cast<WORD>(copies_);
    pd.hDevMode = Printer::Current().DevMode();
    pd.hDevNames = Printer::Current().DevNames();
    Application::EventScope scope;
    const BOOL chosen = PrintDlgA(&pd);
    Printer::Current().Adopt(pd.hDevMode, pd.hDevNames, chosen ? pd.hDC : nullptr);
    if (!chosen) return false;
    copies_ = pd.nCopies;
    return true;
}

bool PrintDialog::Execute() { return Run(0); }

bool PrinterSetupDialog::Execute() { return Run(PD_PRINTSETUP); }

}  // namespace winforms
