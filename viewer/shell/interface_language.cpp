#include "shell/interface_language.h"

#include <array>
#include <charconv>
#include <string>

#include "shell/folder_files.h"
#include "shell/main_window.h"
#include "shell/view_settings.h"
#include "store/disk_file.h"
#include "store/language_file.h"
#include "store/string_list.h"
#include "winplat/controls.h"

namespace lect32 {
namespace {

constexpr const char* kUndefinedText = "<nedefinov\xE1no>";
constexpr const char* kCzechText = "\xC8" "e\x9Atina";
constexpr const char* kLanguageFolder = "lng\\";
constexpr const char* kLanguageMask = "*.clf";
// The title of a record file begins at byte 10 of its header.
constexpr int32_t kTitleOffset = 10;
constexpr uint32_t kTitleRoom = 199;

void AddItem(HWND combo, const char* text, uint32_t data) {
    const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0) SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

// The title stored in the file's header, empty when it cannot be read.
std::string RecordFileTitle(const std::string& path) {
    std::array<char, kTitleRoom + 1> title{};
    DiskFile file;
    if (!file.Open(path.c_str(), DiskFile::kRead)) return {};
    if (file.Seek(kTitleOffset, DiskFile::kBegin) == static_cast<uint32_t>(kTitleOffset)) file.Read(title.data(), kTitleRoom);
    file.Close();
    return title.data();
}

// The name up to its first dot, read as a hexadecimal number; 0 when it is none.
uint32_t LanguageIdOfName(const std::string& name) {
    const std::string base = name.substr(0, name.find('.'));
    uint32_t id = 0;
    const auto [end, error] = std::from_chars(base.data(), base.data() + base.size(), id, 16);
    return error == std::errc() && end == base.data() + base.size() ? id : 0;
}

}  // namespace

int LoadInterfaceLanguage(int16_t record) {
    ViewSettings settings;
    GetViewSettings(settings);
    return LoadLanguageFile(record, settings.languageId, GetMainWindow());
}

int FillLanguageCombo(HWND combo, bool withUndefined) {
    if (withUndefined) AddItem(combo, kUndefinedText, 0);
    AddItem(combo, kCzechText, kCzechLanguage);
    const std::string folder = ProgramFolder() + kLanguageFolder;
    StringList files;
    const uint16_t found = ListFilesInFolder(folder.c_str(), files, kLanguageMask, FileNaming::Bare);
    for (uint16_t i = 0; i < files.GetCount(); ++i) {
        std::array<char, StringList::kMaxLength + 1> name{};
        files.GetString(i, name.data());
        const std::string title = RecordFileTitle(folder + name.data());
        AddItem(combo, title.empty() ? name.data() : title.c_str(), LanguageIdOfName(name.data()));
    }
    return found + (withUndefined ? 2 : 1);
}

}  // namespace lect32
