#include "shell/recent_documents.h"

#include <array>

#include "shell/main_window.h"
#include "store/registry_key.h"
#include "winplat/base.h"

namespace lect32 {
namespace {

constexpr const char* kRecentKey = "MRU";
constexpr DWORD kPathRoom = 513;  // a path of at most 512 characters and its zero

HMENU FileMenu() {
    const HWND main = GetMainWindow();
    const HMENU bar = main ? GetMenu(main) : nullptr;
    return bar ? GetSubMenu(bar, 0) : nullptr;
}

// Deletes commands 1100, 1101, ... while they exist and, when there were any, the separator
// inserted with them.
void RemoveRecentEntries(HMENU file) {
    UINT command = kFirstRecentCommand;
    while (DeleteMenu(file, command, MF_BYCOMMAND)) ++command;
    if (command == kFirstRecentCommand) return;
    DeleteMenu(file, static_cast<UINT>(GetMenuItemCount(file) - 2), MF_BYPOSITION);
}

// Before the last two items of the menu.
void InsertBeforeExit(HMENU file, UINT flags, UINT_PTR command, const char* text) {
    InsertMenuA(file, static_cast<UINT>(GetMenuItemCount(file) - 2), MF_BYPOSITION | flags, command, text);
}

std::string EntryText(size_t n, std::string path) {
    CharLowerBuffA(path.data(), static_cast<DWORD>(path.size()));
    return "&" + std::to_string(n + 1) + "  " + path;
}

}  // namespace

std::vector<std::string> ReadRecentDocuments() {
    std::vector<std::string> paths;
    RegistryKey key;
    if (!key.Open(kRecentKey, true)) return paths;
    std::array<char, kPathRoom> path{};
    for (int n = 0; n < kMaxRecentDocuments; ++n) {
        if (!key.ReadString(std::to_string(n).c_str(), path.data(), kPathRoom) || path[0] == 0) break;
        paths.emplace_back(path.data());
    }
    return paths;
}

void BuildRecentDocumentsMenu() {
    const HMENU file = FileMenu();
    if (!file) return;
    RemoveRecentEntries(file);
    const std::vector<std::string> paths = ReadRecentDocuments();
    if (paths.empty()) return;
    InsertBeforeExit(file, MF_SEPARATOR, 0, nullptr);
    for (size_t n = 0; n < paths.size(); ++n) {
        InsertBeforeExit(file, MF_STRING, kFirstRecentCommand + n, EntryText(n, paths[n]).c_str());
    }
}

}  // namespace lect32
