#include "dialogs/dialog_creation.h"

#include <span>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "controls/static_images.h"
#include "dialogs/dialog_focus.h"
#include "dialogs/dialog_state.h"
#include "dialogs/dialog_units.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/module.h"
#include "winplat/text.h"

namespace winplat::dialogs {
namespace {

constexpr const char* kDialogClass = "#32770";

// The template's font, owned by the dialog; the system font when it names none.
void chooseFont(const DialogTemplate& t, DialogState& state) {
    if ((t.style & DS_SETFONT) && !t.faceName.empty()) {
        const BorrowedDc screen(nullptr);
        const int height = -MulDiv(t.pointSize, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
        state.ownedFont.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                          0, t.faceName.c_str()));
    }
    state.font = state.ownedFont ? state.ownedFont.get() : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    state.baseUnits = baseUnitsOf(state.font);
}

// The window's rectangle on the screen (or in the parent for a child dialog): the template's
// client area in pixels, its frame around it, placed from the owner's client origin or centred.
RECT placement(const DialogTemplate& t, SIZE base, DWORD style, DWORD exStyle, HWND owner) {
    const RECT client = toPixels(RECT{t.x, t.y, t.x + t.cx, t.y + t.cy}, base);
    RECT outer = client;
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    if (style & WS_VSCROLL) outer.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) outer.bottom += GetSystemMetrics(SM_CYHSCROLL);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    POINT at{client.left, client.top};
    if (style & DS_CENTER) {
        at = POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    } else if (owner && !(style & WS_CHILD) && !(style & DS_ABSALIGN)) {
        ClientToScreen(owner, &at);
    }
    return RECT{at.x, at.y, at.x + width, at.y + height};
}

HWND makeWindow(const DialogTemplate& t, const DialogRequest& request, const RECT& rect, DWORD style, DWORD exStyle) {
    const char* className = t.className.empty() ? kDialogClass : t.className.c_str();
    return CreateWindowExA(exStyle, className, t.caption.c_str(), style & ~static_cast<DWORD>(WS_VISIBLE), rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, request.owner, nullptr,
                           request.instance, nullptr);
}

// One control; false when it cannot be made.
bool makeControl(HWND dialog, const DialogItem& item, const DialogRequest& request, const DialogState& state) {
    const RECT r = toPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, state.baseUnits);
    // The control gets its creation data as Windows hands it: the size word, then the bytes.
    std::vector<uint8_t> data;
    if (!item.creationData.empty()) {
        const auto size = static_cast<WORD>(item.creationData.size() + sizeof(WORD));
        data = {static_cast<uint8_t>(size & 0xFF), static_cast<uint8_t>(size >> 8)};
        data.insert(data.end(), item.creationData.begin(), item.creationData.end());
    }
    const HWND control = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), item.text.c_str(),
                                         item.style | WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                         dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)),
                                         request.instance, data.empty() ? nullptr : data.data());
    if (!control) return false;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    // An icon or bitmap static names its picture by resource number.
    if (item.textId && controls::isOfClass(control, "STATIC") &&
        !controls::showResourceImage(control, request.instance, *item.textId)) {
        CallRefuser("winplat: dialogs").log("control " + std::to_string(item.id) + ": no picture " +
                                             std::to_string(*item.textId) + " in the module");
    }
    return true;
}

// The template's first default push button is the dialog's default id.
void noteDefaultButton(const DialogTemplate& t, DialogState& state) {
    for (const DialogItem& item : t.items) {
        if (lstrcmpiA(item.className.c_str(), "BUTTON") == 0 && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            state.defaultId = item.id;
            return;
        }
    }
}

// WM_INITDIALOG; TRUE puts the focus on the first tab stop (once the dialog shows, for one made
// hidden).
void initialise(HWND dialog, const DialogRequest& request) {
    const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT setFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), request.param);
    const std::shared_ptr<DialogState> state = dialogState(dialog);
    if (!state || !setFocus || !first || !IsWindow(first)) return;
    state->savedFocus = first;
    if (IsWindowVisible(dialog)) focusControl(dialog, first);
}

}  // namespace

HWND createDialog(const DialogTemplate& t, const DialogRequest& request) {
    constexpr CallRefuser refuse("winplat: dialogs", ERROR_CANNOT_FIND_WND_CLASS);
    DWORD exStyle = t.exStyle;
    if (t.style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    HWND owner = request.owner;
    DialogState pending;
    chooseFont(t, pending);
    const RECT rect = placement(t, pending.baseUnits, t.style, exStyle, owner);
    const HWND dialog = makeWindow(t, request, rect, t.style, exStyle);
    if (!dialog) return refuse(static_cast<HWND>(nullptr), "the dialog window \"" + t.caption + "\" cannot be made");
    const std::shared_ptr<DialogState> state = attachDialogState(dialog, std::move(pending));
    if (!state) {
        DestroyWindow(dialog);
        return CallRefuser("winplat: dialogs", ERROR_NOT_ENOUGH_MEMORY)(static_cast<HWND>(nullptr),
                                                                         "no memory for the dialog's state");
    }
    noteDefaultButton(t, *state);
    SetWindowLongPtrA(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(request.procedure));
    SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
    for (const DialogItem& item : t.items) {
        if (makeControl(dialog, item, request, *state) || (t.style & DS_NOFAILCREATE)) continue;
        DestroyWindow(dialog);
        return refuse(static_cast<HWND>(nullptr), "control " + std::to_string(item.id) + " of class \"" +
                                                      item.className + "\" cannot be made");
    }
    initialise(dialog, request);
    if (!IsWindow(dialog)) return nullptr;
    if ((t.style & WS_VISIBLE) && !request.modal) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return dialog;
}

std::optional<DialogTemplate> loadDialogTemplate(HINSTANCE instance, LPCSTR name, const char* caller) {
    const CallRefuser refuse(caller, ERROR_RESOURCE_NAME_NOT_FOUND);
    const HRSRC found = FindResourceA(instance, name, RT_DIALOG);
    if (!found) return refuse(std::optional<DialogTemplate>{}, "no dialog template \"" + templateName(name) + "\"");
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
    std::string why;
    auto dialogTemplate = readDialogTemplate(std::span(bytes, SizeofResource(instance, found)), why);
    if (!dialogTemplate) return refuse(std::optional<DialogTemplate>{}, "dialog template \"" + templateName(name) + "\": " + why);
    return dialogTemplate;
}

std::optional<DialogTemplate> readIndirect(const DLGTEMPLATE* dialogTemplate, const char* caller) {
    const CallRefuser refuse(caller, ERROR_INVALID_PARAMETER);
    if (!dialogTemplate) return refuse(std::optional<DialogTemplate>{}, "no template");
    std::string why;
    std::optional<DialogTemplate> t = readDialogTemplateUnbounded(dialogTemplate, why);
    if (!t) return refuse(std::optional<DialogTemplate>{}, "damaged template: " + why);
    return t;
}

std::string templateName(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    // Resources know their names in upper case, whatever case a program asks in.
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(cp1250::toUpper(static_cast<uint8_t>(c)));
    return upper;
}

}  // namespace winplat::dialogs

using namespace winplat;
using namespace winplat::dialogs;

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM param) {
    const std::optional<DialogTemplate> t = loadDialogTemplate(instance, templateName, "winplat: CreateDialogParamA");
    return t ? createDialog(*t, DialogRequest{instance, owner, procedure, param, false}) : nullptr;
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND owner, DLGPROC procedure,
                                LPARAM param) {
    const std::optional<DialogTemplate> t = readIndirect(dialogTemplate, "winplat: CreateDialogIndirectParamA");
    return t ? createDialog(*t, DialogRequest{instance, owner, procedure, param, false}) : nullptr;
}
