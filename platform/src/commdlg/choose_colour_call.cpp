// ChooseColorA: the record checked, the dialog run, the colour and the custom colours written
// back.
#include <algorithm>

#include "commdlg/colour_dialog.h"
#include "commdlg/common_dialog.h"
#include "commdlg/extended_error.h"
#include "winplat/commdlg.h"

namespace winplat::commdlg {
namespace {

constexpr const char* kCall = "ChooseColorA";

BOOL chooseColour(LPCHOOSECOLORA cc) {
    clearExtendedError();
    if (!cc) return fail(kCall, CDERR_INITIALIZATION, "no record");
    if (cc->lStructSize != CHOOSECOLOR_SIZE_32BIT && cc->lStructSize != sizeof(CHOOSECOLORA)) {
        return fail(kCall, CDERR_STRUCTSIZE, "lStructSize " + std::to_string(cc->lStructSize) + " is no record size");
    }
    if (!cc->lpCustColors) return fail(kCall, CDERR_INITIALIZATION, "no custom colours");
    if (cc->Flags & CC_ENABLEHOOK) return fail(kCall, CDERR_NOHOOK, "hook procedures are not offered");
    if (cc->Flags & (CC_ENABLETEMPLATE | CC_ENABLETEMPLATEHANDLE)) {
        return fail(kCall, CDERR_NOTEMPLATE, "templates of the program's own are not offered");
    }
    ColourDialogState state;
    state.flags = cc->Flags;
    state.current = (cc->Flags & CC_RGBINIT) ? cc->rgbResult & 0x00FFFFFF : RGB(0, 0, 0);
    std::copy_n(cc->lpCustColors, kCustomColours, state.custom.begin());
    const dialogs::TemplateBytes bytes = colourDialogTemplate();
    const INT_PTR result = runCommonDialog(bytes, cc->hwndOwner, colourDialogProcedure,
                                           reinterpret_cast<LPARAM>(&state), "ChooseColor");
    if (result < 0) return fail(kCall, CDERR_DIALOGFAILURE, "the dialog cannot be made");
    if (result != IDOK) return FALSE;
    cc->rgbResult = state.current;
    std::copy(state.custom.begin(), state.custom.end(), cc->lpCustColors);
    return TRUE;
}

}  // namespace
}  // namespace winplat::commdlg

BOOL ChooseColorA(LPCHOOSECOLORA cc) { return winplat::commdlg::chooseColour(cc); }
