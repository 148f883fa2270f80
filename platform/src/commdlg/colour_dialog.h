// The colour dialog: its state while it runs, its template and its procedure.
#ifndef WINPLAT_SRC_COMMDLG_COLOUR_DIALOG_H
#define WINPLAT_SRC_COMMDLG_COLOUR_DIALOG_H

#include <array>

#include "dialogs/template_bytes.h"
#include "winplat/commdlg.h"

namespace winplat::commdlg {

inline constexpr int kBasicColours = 48;
inline constexpr int kCustomColours = 16;
// The dialog's width in dialog units: open full, and before it is (the colour grids alone).
inline constexpr short kFullWidth = 298;
inline constexpr short kCollapsedWidth = 148;

struct ColourDialogState {
    DWORD flags = 0;
    COLORREF current = 0;
    std::array<COLORREF, kCustomColours> custom{};
    int nextCustom = 0;     // the slot "Přidat do vlastních barev" fills
    bool updating = false;  // while the edits are written from the colour
};

// The basic colours, row by row (6 rows of 8).
const std::array<COLORREF, kBasicColours>& basicColours();

dialogs::TemplateBytes colourDialogTemplate();

INT_PTR CALLBACK colourDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winplat::commdlg

#endif
