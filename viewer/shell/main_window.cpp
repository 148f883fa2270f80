#include "shell/main_window.h"

#include "shell/recent_documents.h"
#include "store/language_file.h"
#include "winplat/controls.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: main window");

HWND mainWindow = nullptr;

// Gives the bar the built-in menu and destroys the one it replaces (a bar's menu stays ours
// when it is replaced).
void PutBuiltInMenu(HWND window) {
    winplat::OwnedMenu builtIn(LoadMenuA(GetModuleHandleA("lect32.exe"), MAKEINTRESOURCEA(kMainMenuId)));
    if (!builtIn) return refuse.log("the program's resources hold no menu 1; the bar keeps its menu");
    winplat::OwnedMenu replaced(GetMenu(window));
    if (!SetMenu(window, builtIn.get())) {
        (void)replaced.release();
        return refuse.log("the main window takes no menu");
    }
    (void)builtIn.release();
}

}  // namespace

void SetMainWindow(HWND window) {
    mainWindow = window;
    SetMainMenuRestorer(window ? MainMenuRestorer{[](HWND) { ReloadMainMenu(); }} : nullptr);
}

HWND GetMainWindow() { return mainWindow; }

void RelayoutMainWindow() {
    if (!mainWindow) return;
    RECT client{};
    GetClientRect(mainWindow, &client);
    SendMessageA(mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
    InvalidateRect(mainWindow, nullptr, TRUE);
    UpdateWindow(mainWindow);
}

void ReloadMainMenu() {
    if (!mainWindow) return;
    PutBuiltInMenu(mainWindow);
    BuildRecentDocumentsMenu();
    RelayoutMainWindow();
}

}  // namespace lect32
