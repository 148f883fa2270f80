#include "ui/form_script_services.h"

#include <algorithm>

#include "ui/main_form.h"
#include "winplat/host.h"

namespace linework {

namespace {
// Bytes that let a stop end the waits of "kbd": messages let through between lines, and the
// script dialog's stop switch.
constexpr int32_t kMessagesBetweenLines = 42;
constexpr int32_t kStopInWaits = 43;
// An alignment below this number is the menu's own: left, right, centre.
constexpr int32_t kAlignments = 3;
}  // namespace

std::string FormScriptServices::ChosenFile(winforms::FileDialog& dialog, std::string_view filter,
                                           std::string_view extension, std::string_view start) {
    // A bare pattern ("*.LKD") names itself in the dialog's list of file kinds.
    std::string pairs(filter);
    if (!pairs.empty() && pairs.find('|') == std::string::npos) pairs += "|" + pairs;
    dialog.SetFilter(pairs);
    dialog.SetFilterIndex(1);
    dialog.SetDefaultExt(std::string(extension));
    // A name without a folder is one of the program folder's, as every relative name of the program.
    dialog.SetInitialDir(form_.ProgramFolder());
    dialog.SetFileName(std::string(start));
    if (!dialog.Execute()) return {};
    return dialog.FileName();
}

std::string FormScriptServices::OpenFileName(std::string_view filter, std::string_view extension,
                                             std::string_view start) {
    return ChosenFile(form_.OpenDialog1(), filter, extension, start);
}

std::string FormScriptServices::SaveFileName(std::string_view filter, std::string_view extension,
                                             std::string_view start) {
    return ChosenFile(form_.SaveDialog1(), filter, extension, start);
}

int32_t FormScriptServices::PopupMenu(int32_t count, int32_t alignment, bool atPoint, int32_t x, int32_t y) {
    bool any = false;
    for (int i = 1; i <= kPopupItems; ++i) {
        winforms::MenuItem& item = form_.PopupItem(i);
        const bool shown = i <= count && !item.Caption().empty();
        item.SetVisible(shown);
        any |= shown;
    }
    form_.ClearPopupAnswer();
    if (!any) return 0;
    winforms::PopupMenu& menu = form_.PopupMenu1();
    if (alignment >= 0 && alignment < kAlignments) menu.SetAlignment(static_cast<winforms::PopupAlignment>(alignment));
    POINT at{x, y};
    if (!atPoint) GetCursorPos(&at);
    menu.Popup(at.x, at.y);
    return form_.PopupAnswer();
}

bool FormScriptServices::StopAsked() const {
    const ScriptEngine& engine = form_.Engine();
    return engine.StopRequested() &&
           (engine.image.Byte(kMessagesBetweenLines) != 0 || engine.image.Byte(kStopInWaits) != 0);
}

void FormScriptServices::WaitForKey(std::span<const int32_t> codes) {
    winforms::Application& application = winforms::Application::Current();
    auto matched = [&] { return std::find(codes.begin(), codes.end(), form_.LastKey()) != codes.end(); };
    const winplat::host::ModalLoop loop{winplat::host::ModalKind::Form, kKeyWaitName, form_.Handle(), 0};
    for (;;) {
        application.ProcessMessages();
        if (matched() || StopAsked() || application.Terminated()) return;
        if (winplat::host::modalIdle(loop).end) return;
        if (!winplat::host::answerer()) WaitMessage();
    }
}

int32_t FormScriptServices::TakeKey(std::span<const int32_t> codes) {
    winforms::Application::Current().ProcessMessages();
    if (!codes.empty()) {
        form_.Drafting().RefreshPanels();
        WaitForKey(codes);
    }
    return form_.TakeLastKey();
}

HWND FormScriptServices::MainWindow() { return form_.Handle(); }

}  // namespace linework
