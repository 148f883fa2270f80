// Not tests: the shared parts of the dialog tests (named _test so the test glob builds it).
#include "dialog_fixture.h"

#include "winplat/owners.h"
#include "winplat/text.h"

namespace dialog_test {
namespace {

using winplat::dialogs::TemplateBox;

constexpr const char* kFieldClass = "TESTFIELD";
constexpr UINT kSetSelection = 0x00B1;  // EM_SETSEL

// A text field: takes characters, replaces its text when all of it is selected, draws its text on
// white in a sunken frame.
LRESULT CALLBACK fieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL;
        case kSetSelection: SetPropA(field, "all", reinterpret_cast<HANDLE>(wParam == 0 && lParam == -1)); return 0;
        case WM_CHAR: {
            if (wParam < ' ') return 0;
            std::string text = control_test::detail::windowTextOf(field);
            if (GetPropA(field, "all")) text.clear();
            SetPropA(field, "all", nullptr);
            text.push_back(static_cast<char>(wParam));
            SetWindowTextA(field, text.c_str());
            InvalidateRect(field, nullptr, TRUE);
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(field, nullptr, TRUE); return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(field, &paint);
            RECT r{};
            GetClientRect(field, &r);
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
            FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
            const HFONT font = reinterpret_cast<HFONT>(GetPropA(field, "font"));
            const winplat::Selection selected(dc, font ? font : GetStockObject(SYSTEM_FONT));
            SetBkMode(dc, TRANSPARENT);
            const std::string text = control_test::detail::windowTextOf(field);
            r.left += 2;
            DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            EndPaint(field, &paint);
            return 0;
        }
        case WM_SETFONT: SetPropA(field, "font", reinterpret_cast<HANDLE>(wParam)); return 0;
        case WM_NCDESTROY:
            RemovePropA(field, "all");
            RemovePropA(field, "font");
            return 0;
        default: return DefWindowProcA(field, message, wParam, lParam);
    }
}

void registerField() {
    WNDCLASSA field{};
    field.lpfnWndProc = fieldProcedure;
    field.lpszClassName = kFieldClass;
    field.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    RegisterClassA(&field);
}

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
                                      0, TemplateBox{10, 10, 180, 100}, "Zkou\x9ak" "a", 8, "MS Sans Serif");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, TemplateBox{7, 9, 30, 8}, kLabel, "STATIC", "&Jm\xE9no:");
    t.addItem(WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, TemplateBox{40, 7, 80, 12}, kName, kFieldClass, "");
    t.addItem(BS_AUTOCHECKBOX | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{7, 24, 80, 10}, kDouble, "BUTTON",
              "&Dvojit\xFD");
    t.addItem(BS_GROUPBOX | WS_VISIBLE, 0, TemplateBox{7, 36, 100, 56}, kGroup, "BUTTON", "Volba");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, TemplateBox{14, 48, 80, 10}, kFirst,
              "BUTTON", "&Prvn\xED");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE, 0, TemplateBox{14, 62, 80, 10}, kSecond, "BUTTON", "Druh\xFD");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE, 0, TemplateBox{14, 76, 80, 10}, kThird, "BUTTON", "T\xF8" "et\xED");
    t.addItem(BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, TemplateBox{123, 7, 50, 14}, IDOK, "BUTTON",
              "OK");
    t.addItem(BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{123, 24, 50, 14}, IDCANCEL, "BUTTON", "Storno");
    t.addItem(BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 0, TemplateBox{123, 41, 50, 14}, kApply, "BUTTON",
              "&Pou\x9eit");
    for (WORD i = 0; i < count; ++i) {
        t.addItem(WS_VISIBLE, 0, TemplateBox{123, 60, 50, 14}, static_cast<WORD>(200 + i), extraClasses[i], "");
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
            }
            if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
            return TRUE;
        }
        default: return FALSE;
    }
}

void DialogTest::SetUp() {
    script() = Script{};
    registerField();
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
