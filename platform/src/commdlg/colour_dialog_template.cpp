// The layout of the colour dialog, in dialog units: the basic and custom colour grids at the left,
// and, in the part the dialog opens to, the chosen colour's sample with its HSL and RGB edits.
#include <string>

#include "commdlg/colour_dialog.h"
#include "commdlg/common_dialog.h"
#include "winplat/dlgs.h"

namespace winplat::commdlg {
namespace {

constexpr short kCellWidth = 17, kCellHeight = 13, kSwatchWidth = 14, kSwatchHeight = 10;
constexpr short kGridLeft = 6, kBasicTop = 16, kCustomTop = 110;
constexpr DWORD kSwatch = BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kLabel = SS_LEFT | WS_VISIBLE;
constexpr DWORD kNumber = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_GROUP;

void addGrid(dialogs::TemplateBytes& t, WORD firstId, int count, short top) {
    for (int i = 0; i < count; ++i) {
        const auto x = static_cast<short>(kGridLeft + (i % 8) * kCellWidth);
        const auto y = static_cast<short>(top + (i / 8) * kCellHeight);
        const DWORD group = i == 0 ? static_cast<DWORD>(WS_GROUP) : 0u;
        t.addItem(kSwatch | group, 0, {x, y, kSwatchWidth, kSwatchHeight}, static_cast<WORD>(firstId + i), "BUTTON", "");
    }
}

void addNumber(dialogs::TemplateBytes& t, short x, short y, WORD id, const char* label) {
    t.addItem(kLabel | SS_RIGHT, 0, {x, static_cast<short>(y + 2), 34, 9}, kLabelId, "STATIC", label);
    t.addItem(kNumber, 0, {static_cast<short>(x + 36), y, 20, 12}, id, "EDIT", "");
}

}  // namespace

dialogs::TemplateBytes colourDialogTemplate() {
    dialogs::TemplateBytes t(kDialogStyle, 0, {0, 0, kFullWidth, 178}, "Barva", kPointSize, kFace);
    t.addItem(kLabel, 0, {6, 6, 136, 9}, kLabelId, "STATIC", "&Z\xE1kladn\xED barvy:");
    addGrid(t, COLOR_BASIC_FIRST, kBasicColours, kBasicTop);
    t.addItem(kLabel, 0, {6, 100, 136, 9}, kLabelId, "STATIC", "&Vlastn\xED barvy:");
    addGrid(t, COLOR_CUSTOM_FIRST, kCustomColours, kCustomTop);
    t.addItem(BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {6, 140, 136, 14}, COLOR_MIX, "BUTTON",
              "&Definovat vlastn\xED barvy >>");
    t.addItem(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {6, 158, 44, 14}, IDOK, "BUTTON", "OK");
    t.addItem(BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {54, 158, 44, 14}, IDCANCEL, "BUTTON", "Storno");
    t.addItem(SS_OWNERDRAW | WS_VISIBLE, WS_EX_CLIENTEDGE, {152, 16, 140, 76}, COLOR_SAMPLE, "STATIC", "");
    addNumber(t, 152, 100, COLOR_HUE, "&Odst\xEDn:");
    addNumber(t, 152, 116, COLOR_SAT, "&Sytost:");
    addNumber(t, 152, 132, COLOR_LUM, "&Jas:");
    addNumber(t, 226, 100, COLOR_RED, "\xC8" "e&rven\xE1:");
    addNumber(t, 226, 116, COLOR_GREEN, "Ze&len\xE1:");
    addNumber(t, 226, 132, COLOR_BLUE, "&Modr\xE1:");
    t.addItem(BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {152, 158, 140, 14}, COLOR_ADD, "BUTTON",
              "&P\xF8idat do vlastn\xED" "ch barev");
    return t;
}

}  // namespace winplat::commdlg
