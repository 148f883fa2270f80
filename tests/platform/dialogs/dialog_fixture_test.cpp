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
                                      0, TemplateBox{10, 10, 240, 100}, "Zkou\x9ak" "a", 8, "MS Sans Serif");
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
            if (s.focusOnInit) SetFocus(GetDlgItem(dialog, s.focusOnInit));
            return s.initialFocus;
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
