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

// The shared procedure bound to one dialog; instantiated for the ten dialogs only.
template <int DialogId>
INT_PTR CALLBACK effectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr DLGPROC BrightnessContrastDialogProc = effectDialogProc<8095>;
inline constexpr DLGPROC ShadeDialogProc = effectDialogProc<8096>;
inline constexpr DLGPROC BicolorDialogProc = effectDialogProc<8097>;
inline constexpr DLGPROC ContourDialogProc = effectDialogProc<8098>;
inline constexpr DLGPROC EmbossDialogProc = effectDialogProc<8099>;
inline constexpr DLGPROC FocusDialogProc = effectDialogProc<8100>;
inline constexpr DLGPROC HsvMixingDialogProc = effectDialogProc<8101>;
inline constexpr DLGPROC PosterizeDialogProc = effectDialogProc<8102>;
inline constexpr DLGPROC RgbMixingDialogProc = effectDialogProc<8103>;
inline constexpr DLGPROC SoftenDialogProc = effectDialogProc<8104>;

// The procedure of a dialog by its resource id; null for any other id.
DLGPROC effectDialogProcedure(int dialogId);

}  // namespace pixmill::effects

#endif
