#include "store/file_dialog.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "resources/lect32_ids.h"
#include "winplat/commdlg.h"
#include "winplat/module.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: file dialog");

// The reader's main window owns a dialog that names no owner.
constexpr const char* kMainWindowClass = "Lcn4v:Main";
// A remembered folder is only offered again when its last backslash lies before this position.
constexpr size_t kFolderRoom = 100;
constexpr int kFilterLength = 255;

// What one dialog leaves for the next: the folder of the file chosen (with its backslash) and the
// file type chosen in each kind of dialog.
struct Memory {
    std::string folder;
    std::map<int, uint8_t> filterIndex;
};

Memory& memory() {
    static Memory kept;
    return kept;
}

UINT filterStringOf(int kind) {
    switch (kind) {
        case kSaveTextOrHtml: return res::kFilterTextOrHtml;
        case kSaveDocument: return res::kFilterDocument;
        case kSavePackage: return res::kFilterPackage;
        case kSaveDictionary: return res::kFilterDictionary;
        case kSaveCopy: return res::kFilterAllFiles;
        case kOpenDocumentOrPackage: return res::kFilterOpenable;
        case kOpenRtf: return res::kFilterRtf;
        case kOpenDocument: return res::kFilterDocument;
        default: return res::kFilterExport;
    }
}

bool isSaveKind(int kind) {
    return kind == kSaveTextOrHtml || kind == kSaveDocument || kind == kSavePackage ||
           kind == kSaveDictionary || kind == kSaveCopy;
}

const char* defaultExtensionOf(int kind) {
    if (kind == kSavePackage) return "lnp";
    if (kind == kSaveDictionary) return "dic";
    return "lcn";
}

// The kind's filter string as the dialog takes it: each separator (the string's last character)
// made a zero, so the pairs end with an empty text. Empty when the string table lacks it.
using FilterText = std::array<char, kFilterLength + 2>;
bool loadFilter(int kind, FilterText& filter) {
    filter.fill(0);
    const int length =
        LoadStringA(GetModuleHandleA("lect32.exe"), filterStringOf(kind), filter.data(), kFilterLength + 1);
    if (length <= 0) return false;
    const char separator = filter[static_cast<size_t>(length) - 1];
    std::replace(filter.begin(), filter.begin() + length, separator, '\0');
    return true;
}

void remember(int kind, std::string_view path, DWORD chosenFilter) {
    Memory& kept = memory();
    kept.filterIndex[kind] = static_cast<uint8_t>(chosenFilter);
    const size_t slash = path.rfind('\\');
    kept.folder =
        slash != std::string_view::npos && slash < kFolderRoom ? std::string(path.substr(0, slash + 1)) : "";
}

}  // namespace

int RunFileDialog(int kind, char* fileName, size_t fileNameSize, uint8_t* filterIndex, const char* title,
                  HWND owner) {
    if (!fileName || fileNameSize == 0) return refuse(0, "no buffer for the chosen path");
    FilterText filter;
    if (!loadFilter(kind, filter)) return refuse(0, "the kind's filter string is missing");

    std::array<char, kFileDialogPathSize> path{};
    std::array<char, kFileDialogPathSize> name{};
    if (kind == kSaveCopy) std::strncpy(path.data(), fileName, std::min(fileNameSize, path.size() - 1));
    const Memory& kept = memory();
    const auto rememberedIndex = kept.filterIndex.find(kind);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner ? owner : FindWindowA(kMainWindowClass, nullptr);
    ofn.lpstrFilter = filter.data();
    ofn.nFilterIndex = rememberedIndex != kept.filterIndex.end() ? rememberedIndex->second : 0;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrFileTitle = name.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = kept.folder.empty() ? nullptr : kept.folder.c_str();
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = defaultExtensionOf(kind);
    // A save dialog must take a new name, so it does not ask for an existing file; it asks before
    // one is overwritten instead. An open dialog takes only a file that is there, so a mistyped
    // name is caught while the dialog is still open.
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | (isSaveKind(kind) ? 0 : OFN_FILEMUSTEXIST);

    const BOOL chosen = isSaveKind(kind) ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return 0;
    const std::string_view chosenPath(path.data(), strnlen(path.data(), path.size()));
    if (chosenPath.size() >= fileNameSize)
        return refuse(0, "the chosen path does not fit the caller's buffer");
    std::memcpy(fileName, chosenPath.data(), chosenPath.size());
    fileName[chosenPath.size()] = 0;
    if (filterIndex) *filterIndex = static_cast<uint8_t>(ofn.nFilterIndex);
    remember(kind, chosenPath, ofn.nFilterIndex);
    return 1;
}

void ResetFileDialogMemory() { memory() = Memory{}; }

}  // namespace lect32
