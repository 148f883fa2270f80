// The dialog procedures of the ten effect settings dialogs. Each is the one shared procedure,
// driven by its dialog's layout, over an EffectDialogController: it keeps each slider, spin and
// edit in step, recomputes the edited preview on change, and answers OK, Cancel, Restore, the
// options, the colour buttons and help.
#ifndef PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_PROCS_H
#define PIXMILL_EFFECTS_DIALOGS_EFFECT_DIALOG_PROCS_H

#include "effects/effect_settings.h"
#include "winplat/dialogs.h"

namespace pixmill::effects {

// What DialogBoxParamA hands a procedure in WM_INITDIALOG. `settings` stays the caller's: the
// chosen values after OK, the start values after Cancel.
struct EffectDialogCall {
    EffectRequest request;
    EffectSettings* settings;
};

// The colour the colour dialog starts from, and each of its custom colours.
inline constexpr COLORREF kColourDialogStart = 0x02996153;

INT_PTR CALLBACK BrightnessContrastDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);  // 8095
INT_PTR CALLBACK ShadeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);               // 8096
INT_PTR CALLBACK BicolorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);             // 8097
INT_PTR CALLBACK ContourDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);             // 8098
INT_PTR CALLBACK EmbossDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);              // 8099
INT_PTR CALLBACK FocusDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);               // 8100
INT_PTR CALLBACK HsvMixingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);           // 8101
INT_PTR CALLBACK PosterizeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);           // 8102
INT_PTR CALLBACK RgbMixingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);           // 8103
INT_PTR CALLBACK SoftenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);              // 8104

// The procedure of a dialog by its resource id; null for any other id.
DLGPROC effectDialogProcedure(int dialogId);

}  // namespace pixmill::effects

#endif
