// Not tests: the shared parts of the dialog tests (named _test so the test glob builds it).
#include "dialog_fixture.h"


namespace dialog_test {
namespace {

using winplat::dialogs::TemplateBox;

// The module's one resource, made when the fixture starts.
std::vector<uint8_t>& templateData() {
    static std::vector<uint8_t> data;
    return data;
}

winplat::BinaryResource& resource() {
    static winplat::BinaryResource r{5, 0, "ZKOUSKA", nullptr, 0};
    return r;
}

const winplat::ModuleResources& moduleDescriptor() {
    static const winplat::ModuleResources descriptor{"dialogs_test.dll", false, nullptr, 0, &resource(), 1};
    return descriptor;
}

}  // namespace

winplat::dialogs::TemplateBytes makeTemplate(DWORD style, const std::vector<std::string>& extraClasses) {
    const auto count = static_cast<WORD>(extraClasses.size());
    winplat::dialogs::TemplateBytes t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE | style,
                                      0, TemplateBox{10, 10, 240, 170}, "Zkou\x9ak" "a", 8, "MS Sans Serif");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, TemplateBox{7, 9, 30, 8}, kLabel, "STATIC", "&Jm\xE9no:");
    t.addItem(ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, TemplateBox{40, 7, 67, 12}, kName,
              "EDIT", "star\xE9");
    t.addItem(BS_AUTOCHECKBOX | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{7, 24, 80, 10}, kDouble, "BUTTON",
              "&Dvojit\xFD");
    t.addItem(BS_GROUPBOX | WS_VISIBLE, 0, TemplateBox{7, 36, 100, 56}, kGroup, "BUTTON", "Volba");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, TemplateBox{14, 48, 80, 10}, kFirst,
              "BUTTON", "&Prvn\xED");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE, 0, TemplateBox{14, 62, 80, 10}, kSecond, "BUTTON", "Druh\xFD");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE, 0, TemplateBox{14, 76, 80, 10}, kThird, "BUTTON", "T\xF8" "et\xED");
    t.addItem(SS_LEFT | WS_VISIBLE | WS_GROUP, 0, TemplateBox{115, 9, 60, 8}, kListLabel, "STATIC", "&Seznam:");
    t.addItem(LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{115, 20, 60, 50}, kList,
              "LISTBOX", "");
    t.addItem(SS_LEFT | WS_VISIBLE | WS_GROUP, 0, TemplateBox{115, 78, 28, 8}, kCountLabel, "STATIC", "&Kus\xF9:");
    t.addItem(ES_NUMBER | WS_BORDER | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{145, 76, 30, 12}, kCount, "EDIT", "");
    t.addItem(UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | WS_VISIBLE, 0,
              TemplateBox{0, 0, 10, 12}, kCountSpin, UPDOWN_CLASSA, "");
    t.addItem(SS_LEFT | WS_VISIBLE | WS_GROUP, 0, TemplateBox{7, 102, 30, 8}, kLevelLabel, "STATIC", "\xDA&rove\xF2:");
    t.addItem(TBS_AUTOTICKS | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{40, 98, 135, 20}, kLevel, TRACKBAR_CLASSA, "");
    t.addItem(SS_LEFT | WS_VISIBLE | WS_GROUP, 0, TemplateBox{7, 126, 30, 8}, kColourLabel, "STATIC", "&Barva:");
    t.addItem(CBS_DROPDOWNLIST | WS_VSCROLL | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{40, 124, 67, 60}, kColour,
              "COMBOBOX", "");
    t.addItem(SS_LEFT | WS_VISIBLE | WS_GROUP, 0, TemplateBox{115, 126, 28, 8}, kCityLabel, "STATIC", "&M\xECsto:");
    t.addItem(CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{145, 124, 88, 60},
              kCity, "COMBOBOX", "");
    t.addItem(BS_GROUPBOX | WS_VISIBLE | WS_GROUP, 0, TemplateBox{7, 140, 168, 26}, kOffsetBox, "BUTTON", "Posun");
    t.addItem(SBS_HORZ | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{14, 151, 154, 10}, kOffset, "SCROLLBAR", "");
    t.addItem(SS_ICON | WS_VISIBLE | WS_GROUP, 0, TemplateBox{195, 142, 20, 20}, kIcon, "STATIC", "");
    t.addItem(BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, TemplateBox{183, 7, 50, 14}, IDOK, "BUTTON",
              "OK");
    t.addItem(BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{183, 24, 50, 14}, IDCANCEL, "BUTTON", "Storno");
    t.addItem(BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{183, 41, 50, 14}, kApply, "BUTTON",
              "&Pou\x9eit");
    for (WORD i = 0; i < count; ++i) {
        t.addItem(WS_VISIBLE, 0, TemplateBox{183, 60, 50, 14}, static_cast<WORD>(200 + i), extraClasses[i], "");
    }
    return t;
}

namespace {

std::string textOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The up-down, trackbar, combo boxes, scroll bar and icon get their ranges, items and picture.
void startTheOthers(HWND dialog) {
    SendDlgItemMessageA(dialog, kCountSpin, UDM_SETRANGE32, 0, 20);
    SendDlgItemMessageA(dialog, kCountSpin, UDM_SETPOS32, 0, 3);
    SendDlgItemMessageA(dialog, kLevel, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendDlgItemMessageA(dialog, kLevel, TBM_SETPOS, TRUE, 5);
    for (const char* item : {"\xE8" "erven\xE1", "zelen\xE1", "modr\xE1"}) {
        SendDlgItemMessageA(dialog, kColour, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendDlgItemMessageA(dialog, kColour, CB_SETCURSEL, 0, 0);
    for (const char* item : {"Praha", "Brno", "Ostrava"}) {
        SendDlgItemMessageA(dialog, kCity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SetDlgItemTextA(dialog, kCity, "Praha");
    const SCROLLINFO range{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
    SendDlgItemMessageA(dialog, kOffset, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&range));
    SendDlgItemMessageA(dialog, kIcon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
}

// The scroll bar control leaves moving its thumb to the parent, as a scroll bar does.
void scrollShift(HWND bar, WORD request, int track) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &info);
    int pos = info.nPos;
    switch (request) {
        case SB_LINELEFT: --pos; break;
        case SB_LINERIGHT: ++pos; break;
        case SB_PAGELEFT: pos -= static_cast<int>(info.nPage); break;
        case SB_PAGERIGHT: pos += static_cast<int>(info.nPage); break;
        case SB_LEFT: pos = info.nMin; break;
        case SB_RIGHT: pos = info.nMax; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = track; break;
        default: return;
    }
    SetScrollPos(bar, SB_CTL, pos, TRUE);
}

void readTheOthers(HWND dialog, Script& s) {
    s.count = static_cast<int>(SendDlgItemMessageA(dialog, kCountSpin, UDM_GETPOS32, 0, 0));
    s.countText = textOf(GetDlgItem(dialog, kCount));
    s.level = static_cast<int>(SendDlgItemMessageA(dialog, kLevel, TBM_GETPOS, 0, 0));
    const LRESULT colour = SendDlgItemMessageA(dialog, kColour, CB_GETCURSEL, 0, 0);
    char item[32] = {};
    if (colour >= 0) SendDlgItemMessageA(dialog, kColour, CB_GETLBTEXT, colour, reinterpret_cast<LPARAM>(item));
    s.colour = item;
    s.city = textOf(GetDlgItem(dialog, kCity));
    s.offset = static_cast<int>(SendDlgItemMessageA(dialog, kOffset, SBM_GETPOS, 0, 0));
}

}  // namespace

Script& script() {
    static Script s;
    return s;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Script& s = script();
    if (s.extra) {
        if (const INT_PTR handled = s.extra(dialog, message, wParam, lParam)) return handled;
    }
    switch (message) {
        case WM_INITDIALOG:
            CheckRadioButton(dialog, kFirst, kThird, kFirst);
            for (const char* item : {"jedna", "dva", "t\xF8i"}) {
                SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
            SendDlgItemMessageA(dialog, kList, LB_SETCURSEL, 0, 0);
            startTheOthers(dialog);
            if (s.focusOnInit) SetFocus(GetDlgItem(dialog, s.focusOnInit));
            return s.initialFocus;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, kOffset)) return FALSE;
            scrollShift(reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return TRUE;
        case WM_HELP: s.help.push_back(*reinterpret_cast<const HELPINFO*>(lParam)); return TRUE;
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            s.commands.push_back(id);
            if (id == IDOK) {
                char text[64] = {};
                GetDlgItemTextA(dialog, kName, text, sizeof text);
                s.name = text;
                s.doubled = IsDlgButtonChecked(dialog, kDouble);
                for (int radio = kFirst; radio <= kThird; ++radio) {
                    if (IsDlgButtonChecked(dialog, radio)) s.radio = radio;
                }
                const LRESULT selected = SendDlgItemMessageA(dialog, kList, LB_GETCURSEL, 0, 0);
                char item[32] = {};
                if (selected >= 0) SendDlgItemMessageA(dialog, kList, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(item));
                s.listed = item;
                readTheOthers(dialog, s);
            }
            if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
            return TRUE;
        }
        default: return FALSE;
    }
}

void DialogTest::SetUp() {
    script() = Script{};
    templateData() = makeTemplate().bytes();
    resource().data = templateData().data();
    resource().size = static_cast<uint32_t>(templateData().size());
    module_ = winplat::registerModule(moduleDescriptor(), &moduleDescriptor());
    owner_ = control_test::makeParent(280, 200);
}

void DialogTest::TearDown() {
    if (module_) winplat::unregisterModule(module_);
}

}  // namespace dialog_test
