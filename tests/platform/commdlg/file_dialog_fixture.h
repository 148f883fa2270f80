// What the file dialog tests share: a temporary drive T:, a harness with room for the dialog, a
// record filled as the programs fill it, and reading the dialog's lists.
#ifndef TESTS_PLATFORM_COMMDLG_FILE_DIALOG_FIXTURE_H
#define TESTS_PLATFORM_COMMDLG_FILE_DIALOG_FIXTURE_H

#include <string>
#include <vector>

#include "../files/temp_drive.h"
#include "winplat/commdlg.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"
#include "winplat_harness/harness.h"

namespace commdlg_test {

inline winplat::test::Harness::Options screen() {
    winplat::test::Harness::Options options;
    options.width = 640;
    options.height = 480;
    return options;
}

// A record of the programs' size with a 256-byte file buffer and a title buffer.
struct Record {
    char file[256] = {};
    char title[256] = {};
    OPENFILENAMEA ofn{};

    explicit Record(const char* filter = "Dokument (*.LCN)\0*.lcn\0V\x9A" "echny soubory\0*.*\0",
                    DWORD flags = OFN_HIDEREADONLY) {
        ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        ofn.lpstrFilter = filter;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof title;
        ofn.Flags = flags;
    }
};

inline std::vector<std::string> listItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// The screen point in the middle of a list's item.
inline POINT itemCentre(HWND dialog, int id, int index) {
    const HWND list = GetDlgItem(dialog, id);
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
}

inline std::string windowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace commdlg_test

#endif
