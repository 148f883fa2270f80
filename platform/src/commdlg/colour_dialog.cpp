// What the colour dialog does while it runs: a swatch clicked becomes the colour, the RGB and HSL
// edits follow each other, the custom colours take the colour in turn, and the dialog opens to
// its full width on request.
#include "commdlg/colour_dialog.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>

#include "commdlg/colour_space.h"
#include "dialogs/modal_dialog.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"
#include "winplat/owners.h"

namespace winplat::commdlg {
namespace {

constexpr int kMixIds[] = {COLOR_SAMPLE, COLOR_HUE, COLOR_SAT, COLOR_LUM, COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_ADD};

bool inRange(int id, int first, int count) { return id >= first && id < first + count; }

int number(HWND dialog, int id) {
    BOOL translated = FALSE;
    const UINT value = GetDlgItemInt(dialog, id, &translated, FALSE);
    return translated ? static_cast<int>(value) : 0;
}

// The edits and the sample written from the colour; 'keep' is the model the person typed in,
// whose edits are left as they stand.
enum class Keep { None, Rgb, Hsl };

void showColour(HWND dialog, ColourDialogState& state, Keep keep) {
    state.updating = true;
    if (keep != Keep::Rgb) {
        SetDlgItemInt(dialog, COLOR_RED, GetRValue(state.current), FALSE);
        SetDlgItemInt(dialog, COLOR_GREEN, GetGValue(state.current), FALSE);
        SetDlgItemInt(dialog, COLOR_BLUE, GetBValue(state.current), FALSE);
    }
    if (keep != Keep::Hsl) {
        const Hsl hsl = toHsl(state.current);
        SetDlgItemInt(dialog, COLOR_HUE, static_cast<UINT>(hsl.hue), FALSE);
        SetDlgItemInt(dialog, COLOR_SAT, static_cast<UINT>(hsl.saturation), FALSE);
        SetDlgItemInt(dialog, COLOR_LUM, static_cast<UINT>(hsl.luminosity), FALSE);
    }
    state.updating = false;
    InvalidateRect(GetDlgItem(dialog, COLOR_SAMPLE), nullptr, TRUE);
}

void rgbTyped(HWND dialog, ColourDialogState& state) {
    const auto level = [&](int id) { return static_cast<BYTE>(std::min(number(dialog, id), 255)); };
    state.current = RGB(level(COLOR_RED), level(COLOR_GREEN), level(COLOR_BLUE));
    showColour(dialog, state, Keep::Rgb);
}

void hslTyped(HWND dialog, ColourDialogState& state) {
    state.current = toRgb({number(dialog, COLOR_HUE), number(dialog, COLOR_SAT), number(dialog, COLOR_LUM)});
    showColour(dialog, state, Keep::Hsl);
}

void enableMixing(HWND dialog, bool enabled) {
    for (const int id : kMixIds) EnableWindow(GetDlgItem(dialog, id), enabled);
}

// Gives the dialog's client area a width in dialog units, keeping its frame and height.
void setWidth(HWND dialog, LONG units) {
    RECT window{}, client{}, wanted{0, 0, units, 0};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &wanted);
    const int frame = (window.right - window.left) - client.right;
    SetWindowPos(dialog, nullptr, 0, 0, wanted.right + frame, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog cut to its left part, the mixing part out of reach.
void collapse(HWND dialog) {
    setWidth(dialog, kCollapsedWidth);
    enableMixing(dialog, false);
}

void openFull(HWND dialog, ColourDialogState& state) {
    setWidth(dialog, kFullWidth);
    enableMixing(dialog, true);
    EnableWindow(GetDlgItem(dialog, COLOR_MIX), FALSE);
    state.flags |= CC_FULLOPEN;
}

void addCustom(HWND dialog, ColourDialogState& state) {
    state.custom[static_cast<size_t>(state.nextCustom)] = state.current;
    InvalidateRect(GetDlgItem(dialog, COLOR_CUSTOM_FIRST + state.nextCustom), nullptr, TRUE);
    state.nextCustom = (state.nextCustom + 1) % kCustomColours;
}

std::optional<COLORREF> colourOf(const ColourDialogState& state, int id) {
    if (inRange(id, COLOR_BASIC_FIRST, kBasicColours)) return basicColours()[static_cast<size_t>(id - COLOR_BASIC_FIRST)];
    if (inRange(id, COLOR_CUSTOM_FIRST, kCustomColours)) return state.custom[static_cast<size_t>(id - COLOR_CUSTOM_FIRST)];
    if (id == COLOR_SAMPLE) return state.current;
    return std::nullopt;
}

void drawSwatch(const ColourDialogState& state, const DRAWITEMSTRUCT& item) {
    const std::optional<COLORREF> colour = colourOf(state, static_cast<int>(item.CtlID));
    if (!colour) return;
    RECT r = item.rcItem;
    DrawEdge(item.hDC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const GdiObject<HBRUSH> brush(CreateSolidBrush(*colour));
    FillRect(item.hDC, &r, brush.get());
    if (item.itemState & ODS_FOCUS) {
        RECT focus{item.rcItem.left + 1, item.rcItem.top + 1, item.rcItem.right - 1, item.rcItem.bottom - 1};
        DrawFocusRect(item.hDC, &focus);
    }
}

void initialise(HWND dialog, ColourDialogState& state) {
    if (state.flags & CC_FULLOPEN) openFull(dialog, state);
    else collapse(dialog);
    if (state.flags & CC_PREVENTFULLOPEN) EnableWindow(GetDlgItem(dialog, COLOR_MIX), FALSE);
    for (const int id : {COLOR_HUE, COLOR_SAT, COLOR_LUM, COLOR_RED, COLOR_GREEN, COLOR_BLUE}) {
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 3, 0);
    }
    showColour(dialog, state, Keep::None);
}

void command(HWND dialog, ColourDialogState& state, int id, WORD code) {
    if (inRange(id, COLOR_BASIC_FIRST, kBasicColours) || inRange(id, COLOR_CUSTOM_FIRST, kCustomColours)) {
        if (code != BN_CLICKED) return;
        if (inRange(id, COLOR_CUSTOM_FIRST, kCustomColours)) state.nextCustom = id - COLOR_CUSTOM_FIRST;
        state.current = *colourOf(state, id);
        return showColour(dialog, state, Keep::None);
    }
    switch (id) {
        case IDOK:
        case IDCANCEL: EndDialog(dialog, id); return;
        case COLOR_MIX: return openFull(dialog, state);
        case COLOR_ADD: return addCustom(dialog, state);
        case COLOR_RED:
        case COLOR_GREEN:
        case COLOR_BLUE:
            if (code == EN_CHANGE && !state.updating) rgbTyped(dialog, state);
            return;
        case COLOR_HUE:
        case COLOR_SAT:
        case COLOR_LUM:
            if (code == EN_CHANGE && !state.updating) hslTyped(dialog, state);
            return;
        default: return;
    }
}

}  // namespace

const std::array<COLORREF, kBasicColours>& basicColours() {
    static const std::array<COLORREF, kBasicColours> colours = {
        RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),
        RGB(128, 255, 255), RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255),
        RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(128, 255, 0),   RGB(0, 255, 64),
        RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192), RGB(255, 0, 255),
        RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
        RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),
        RGB(128, 0, 0),     RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),
        RGB(0, 0, 255),     RGB(0, 0, 160),     RGB(128, 0, 128),   RGB(128, 0, 255),
        RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),      RGB(0, 64, 64),
        RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
        RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128),
        RGB(64, 128, 128),  RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255),
    };
    return colours;
}

INT_PTR CALLBACK colourDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<ColourDialogState> state =
        dialogs::modalCallState<ColourDialogState>(dialog, message, lParam);
    if (!state) return FALSE;
    switch (message) {
        case WM_INITDIALOG: initialise(dialog, *state); return TRUE;
        case WM_COMMAND: command(dialog, *state, LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_DRAWITEM: drawSwatch(*state, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        default: return FALSE;
    }
}

}  // namespace winplat::commdlg
