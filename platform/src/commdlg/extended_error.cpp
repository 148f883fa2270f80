// CommDlgExtendedError: one code per thread, as each thread runs its own dialogs.
#include "commdlg/extended_error.h"

#include <string>

#include "winplat/commdlg.h"

namespace winplat::commdlg {
namespace {

thread_local DWORD lastCode = 0;

}  // namespace

BOOL fail(std::string_view call, DWORD code, std::string_view why, CodePlace where) {
    lastCode = code;
    const std::string who = "winplat: " + std::string(call);
    Refuser(who).log(why, where);
    return FALSE;
}

void clearExtendedError() { lastCode = 0; }

}  // namespace winplat::commdlg

DWORD CommDlgExtendedError() { return winplat::commdlg::lastCode; }
