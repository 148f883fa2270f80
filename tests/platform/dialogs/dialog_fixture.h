// What the dialog tests share: a harness on a small screen, an owner window, and a template with
// every kind of control (labels, an edit, a check box, a radio group, a list box, an up-down on
// its buddy edit, a trackbar, both kinds of drop-down combo box, a scroll bar, an icon and push
// buttons), registered in a module of its own as "ZKOUSKA" so DialogBoxParamA finds it.
#ifndef TESTS_PLATFORM_DIALOGS_DIALOG_FIXTURE_H
#define TESTS_PLATFORM_DIALOGS_DIALOG_FIXTURE_H

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../controls/control_parent.h"
#include "dialogs/template_bytes.h"
#include "winplat/dialogs.h"
#include "winplat/resources.h"

namespace dialog_test {

// Control ids of the template.
enum : WORD {
    kLabel = 100,    // "&Jméno:" label of the field
    kName = 101,     // an edit (WS_TABSTOP), "staré" at the start
    kDouble = 102,   // auto check box "&Dvojitý" (WS_TABSTOP)
    kFirst = 103,    // auto radio "&První" (WS_GROUP | WS_TABSTOP)
    kSecond = 104,   // auto radio "Druhý"
    kThird = 105,    // auto radio "Třetí"
    kGroup = 106,    // group box "Volba" around the radios
    kApply = 107,    // push button "&Použít" (WS_TABSTOP)
    kListLabel = 108,  // "&Seznam:" label of the list
    kList = 109,     // list box (WS_TABSTOP | WS_GROUP) of "jedna", "dva", "tři", the first selected
    kCountLabel = 110,  // "&Kusů:" label of the count
    kCount = 111,    // number edit (WS_TABSTOP), the buddy of kCountSpin
    kCountSpin = 112,  // up-down 0..20 at 3 on kCount (UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_AUTOBUDDY)
    kLevelLabel = 113,  // "Ú&roveň:" label of the trackbar
    kLevel = 114,    // trackbar 0..10 at 5 with ticks (WS_TABSTOP)
    kColourLabel = 115,  // "&Barva:" label
    kColour = 116,   // drop-down list of "červená", "zelená", "modrá", the first selected (WS_TABSTOP)
    kCityLabel = 117,  // "&Město:" label
    kCity = 118,     // drop-down combo of "Praha", "Brno", "Ostrava", "Praha" in its edit (WS_TABSTOP)
    kOffsetBox = 119,  // group box "Posun" (WS_GROUP) around the scroll bar
    kOffset = 120,    // horizontal scroll bar 0..100 at 0 (WS_TABSTOP), page 10
    kIcon = 121,     // static icon, the information icon set by WM_INITDIALOG
};

// The template; extra items follow the standard ones.
winplat::dialogs::TemplateBytes makeTemplate(DWORD style = 0, const std::vector<std::string>& extraClasses = {});

// What the dialog procedure of the tests records and does.
struct Script {
    std::vector<WORD> commands;      // WM_COMMAND ids, BN_CLICKED
    std::vector<HELPINFO> help;      // WM_HELP
    BOOL initialFocus = TRUE;        // WM_INITDIALOG's answer
    int focusOnInit = 0;             // a control focused by WM_INITDIALOG itself (with FALSE)
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> extra;  // asked first; 0 = not handled
    // The values read back when OK ends the dialog.
    std::string name;
    UINT doubled = 0;
    int radio = 0;
    std::string listed;
    int count = -1;          // UDM_GETPOS32
    std::string countText;   // the buddy's text
    int level = -1;          // TBM_GETPOS
    std::string colour;      // the drop-down list's selected item
    std::string city;        // the drop-down combo's text
    int offset = -1;         // SBM_GETPOS
};
Script& script();

// Ends with IDOK (reading the values) or IDCANCEL; other buttons are recorded.
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The harness and the module with the template.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static winplat::test::Harness::Options screen() {
        winplat::test::Harness::Options options = control_test::smallScreen();
        options.width = 480;
        options.height = 360;
        return options;
    }

    winplat::test::Harness h{screen()};
    HINSTANCE module_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace dialog_test

#endif
