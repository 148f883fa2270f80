#include "files/file_relocation.h"

#include <array>

#include "winplat/commdlg.h"

namespace linework {

FileRelocator& CancelRelocation() {
    struct Cancel : FileRelocator {
        std::string AskForFile(std::string_view, std::string_view) override { return {}; }
    };
    static Cancel cancel;
    return cancel;
}

std::string OpenDialogRelocator::AskForFile(std::string_view title, std::string_view extension) {
    // "*.EXT|*.EXT" with the bars made zeros, ended by an empty pair.
    std::string pattern = "*" + std::string(extension);
    std::string filter = pattern + '\0' + pattern + '\0' + '\0';
    std::string titleText(title);
    std::array<char, MAX_PATH> chosen{};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = chosen.data();
    ofn.nMaxFile = static_cast<DWORD>(chosen.size());
    ofn.lpstrTitle = titleText.c_str();
    ofn.lpstrInitialDir = folder_.empty() ? nullptr : folder_.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return {};
    std::string name(chosen.data());
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) folder_ = name.substr(0, slash + 1);
    return name;
}

}  // namespace linework
