// The reason the last common dialog of a thread failed, for CommDlgExtendedError.
#ifndef WINPLAT_SRC_COMMDLG_EXTENDED_ERROR_H
#define WINPLAT_SRC_COMMDLG_EXTENDED_ERROR_H

#include <string_view>

#include "winplat/refusal.h"
#include "winplat/types.h"

namespace winplat::commdlg {

// Leaves the code for CommDlgExtendedError (0: none) and, for a failure, logs why under the
// call's name; returns FALSE, as the failing call does.
BOOL fail(std::string_view call, DWORD code, std::string_view why, CodePlace where = CodePlace::here());
void clearExtendedError();

}  // namespace winplat::commdlg

#endif
