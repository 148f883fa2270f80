// PrintDlgA: the record checked, the template chosen (the layer's, a resource of the program's
// or a block it holds), the dialog run, and the settings, copies and page handed back.
#include <optional>
#include <string>

#include "commdlg/common_dialog.h"
#include "commdlg/extended_error.h"
#include "commdlg/print_dialog.h"
#include "print/printer_settings.h"
#include "dialogs/dialog_template.h"
#include "winplat/memory.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/print.h"

namespace winplat::commdlg {
namespace {

constexpr const char* kCall = "PrintDlgA";

struct Choice {
    std::optional<dialogs::DialogTemplate> dialogTemplate;
    DWORD error = 0;
    std::string why;
};

// The template a program gave (by resource name or block), else the layer's own.
Choice chooseTemplate(const PRINTDLGA& pd, bool setup) {
    const DWORD byName = setup ? PD_ENABLESETUPTEMPLATE : PD_ENABLEPRINTTEMPLATE;
    const DWORD byHandle = setup ? PD_ENABLESETUPTEMPLATEHANDLE : PD_ENABLEPRINTTEMPLATEHANDLE;
    Choice choice;
    if (pd.Flags & byHandle) {
        const HGLOBAL block = setup ? pd.hSetupTemplate : pd.hPrintTemplate;
        const GlobalPin pin(block);
        if (!pin.data()) return {std::nullopt, CDERR_NOTEMPLATE, "no template block"};
        choice.dialogTemplate =
            dialogs::readDialogTemplate({static_cast<const uint8_t*>(pin.data()), GlobalSize(block)}, choice.why);
    } else if (pd.Flags & byName) {
        const LPCSTR name = setup ? pd.lpSetupTemplateName : pd.lpPrintTemplateName;
        const HRSRC found = name ? FindResourceA(pd.hInstance, name, RT_DIALOG) : nullptr;
        if (!found) return {std::nullopt, CDERR_FINDRESFAILURE, "no such dialog resource"};
        const void* bytes = LockResource(LoadResource(pd.hInstance, found));
        if (!bytes) return {std::nullopt, CDERR_LOCKRESFAILURE, "the dialog resource cannot be read"};
        choice.dialogTemplate = dialogs::readDialogTemplate(
            {static_cast<const uint8_t*>(bytes), SizeofResource(pd.hInstance, found)}, choice.why);
    } else {
        const dialogs::TemplateBytes own = setup ? printSetupTemplate() : printDialogTemplate();
        choice.dialogTemplate = dialogs::readDialogTemplate(own.bytes(), choice.why);
    }
    if (!choice.dialogTemplate) choice.error = CDERR_LOADRESFAILURE;
    return choice;
}

DWORD unoffered(const PRINTDLGA& pd, bool setup, std::string& why) {
    const DWORD hookFlag = setup ? PD_ENABLESETUPHOOK : PD_ENABLEPRINTHOOK;
    const bool hookMissing = setup ? !pd.lpfnSetupHook : !pd.lpfnPrintHook;
    if ((pd.Flags & hookFlag) && hookMissing) return why = "a hook flag without a hook", CDERR_NOHOOK;
    if (pd.Flags & PD_RETURNIC) return why = "information contexts are not offered", PDERR_CREATEICFAILURE;
    if ((pd.Flags & PD_RETURNDEFAULT) && (pd.hDevMode || pd.hDevNames)) {
        return why = "PD_RETURNDEFAULT with blocks given", PDERR_RETDEFFAILURE;
    }
    return 0;
}

// The range the dialog chose, in the record's flags and pages.
void handBackRange(PRINTDLGA& pd, const PrintDialogState& state) {
    if (!state.rangeShown) return;
    pd.Flags &= ~static_cast<DWORD>(PD_SELECTION | PD_PAGENUMS);
    if (state.range == PrintRange::Selection) pd.Flags |= PD_SELECTION;
    if (state.range == PrintRange::Pages) {
        pd.Flags |= PD_PAGENUMS;
        pd.nFromPage = state.fromPage;
        pd.nToPage = state.toPage;
    }
}

BOOL handBack(PRINTDLGA& pd, const PrintDialogState& state) {
    if (!print::writeSettings(state.settings, pd.hDevMode, pd.hDevNames)) {
        return fail(kCall, CDERR_MEMALLOCFAILURE, "no memory for the printer's settings");
    }
    if (!state.setup) {
        pd.nCopies = static_cast<WORD>(state.settings.copies);
        pd.Flags = state.toFile ? pd.Flags | PD_PRINTTOFILE : pd.Flags & ~static_cast<DWORD>(PD_PRINTTOFILE);
        handBackRange(pd, state);
    }
    if (pd.Flags & PD_RETURNDC) {
        const DEVMODEA mode = print::devModeOf(state.settings);
        pd.hDC = CreateDCA("winspool", state.settings.device.c_str(), nullptr, &mode);
        if (!pd.hDC) return fail(kCall, PDERR_CREATEICFAILURE, "the printer's page cannot be made");
    }
    return TRUE;
}

BOOL printDialog(LPPRINTDLGA pd) {
    clearExtendedError();
    if (!pd) return fail(kCall, CDERR_INITIALIZATION, "no record");
    if (pd->lStructSize != PRINTDLG_SIZE_32BIT && pd->lStructSize != sizeof(PRINTDLGA)) {
        return fail(kCall, CDERR_STRUCTSIZE, "lStructSize " + std::to_string(pd->lStructSize) + " is no record size");
    }
    const bool setup = pd->Flags & PD_PRINTSETUP;
    std::string why;
    if (const DWORD code = unoffered(*pd, setup, why)) return fail(kCall, code, why);
    PrintDialogState state;
    state.record = pd;
    state.setup = setup;
    state.settings = print::readSettings(pd->hDevMode, pd->hDevNames);
    if (pd->Flags & (setup ? PD_ENABLESETUPHOOK : PD_ENABLEPRINTHOOK)) state.hook = setup ? pd->lpfnSetupHook : pd->lpfnPrintHook;
    if (pd->Flags & PD_RETURNDEFAULT) return handBack(*pd, state);
    const Choice choice = chooseTemplate(*pd, setup);
    if (!choice.dialogTemplate) return fail(kCall, choice.error, choice.why);
    const INT_PTR result = runCommonDialog(*choice.dialogTemplate, pd->hwndOwner, printDialogProcedure,
                                           reinterpret_cast<LPARAM>(&state), setup ? "PrintSetupDlg" : "PrintDlg");
    if (result < 0) return fail(kCall, CDERR_DIALOGFAILURE, "the dialog cannot be made");
    if (result != IDOK) return FALSE;
    return handBack(*pd, state);
}

}  // namespace
}  // namespace winplat::commdlg

BOOL PrintDlgA(LPPRINTDLGA pd) { return winplat::commdlg::printDialog(pd); }
