#include "text/embedded_fonts.h"

#include <cstdio>
#include <string>

#include "store/companion_files.h"
#include "store/document_paths.h"
#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "winplat/files.h"
#include "winplat/refusal.h"
#include "winplat/text.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: embedded fonts");

// Tries of a new folder name before installing gives up: each name taken by then is another's.
constexpr int kFolderTries = 64;

// Creates the file anew (never opening one that exists) and writes the bytes; false, with no
// file left behind, when either fails.
bool WriteNewFile(const std::string& path, const uint8_t* bytes, uint32_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return refuse(false, "the font file cannot be created: " + path);
    DWORD written = 0;
    const bool wrote = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    if (wrote) return true;
    DeleteFileA(path.c_str());
    return refuse(false, "the font file cannot be written: " + path);
}

// The folder part of a temporary name the platform makes there (the name itself deleted).
std::string TemporaryFolder() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return {};
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(folder, "lnf", 0, name) == 0) return {};
    DeleteFileA(name);
    std::string path = name;
    return path.substr(0, path.find_last_of('\\'));
}

}  // namespace

int EmbeddedFonts::Install(const char* documentPath) {
    Remove();
    char companionPath[kDocumentPathBuffer] = {};
    if (!documentPath || !MakeCompanionPath(documentPath, "lnf", companionPath)) return 0;
    VazaziFile companion;
    if (!DiskFile::Exists(companionPath) || companion.Open(companionPath, false) != 1) return 0;
    if (!table_.Load(companion)) return 0;
    const uint16_t records = companion.GetNumberedRecordCount();
    if (records > EmbeddedFontTable::kMaxFonts) refuse.log("fonts past the 128th are not installed");
    const int fonts = records < EmbeddedFontTable::kMaxFonts ? records : EmbeddedFontTable::kMaxFonts;
    if (fonts > 0 && !MakeFolder()) {
        table_.Clear();
        return refuse(0, "no private folder for the fonts");
    }
    for (int n = 0; n < fonts; ++n) {
        MemReader record;
        if (companion.ReadRecord(2, static_cast<int16_t>(n), record) != 1 || record.overrun()) {
            // Nothing of a half-read companion stays installed.
            Remove();
            return refuse(0, "font record " + std::to_string(n) + " cannot be read");
        }
        if (!InstallOne(n, record.data(), record.size())) table_.MarkNotInstalled(n);
    }
    installedCount_ = static_cast<uint16_t>(fonts);
    return 1;
}

bool EmbeddedFonts::MakeFolder() {
    const std::string temporary = TemporaryFolder();
    if (temporary.empty()) return false;
    // GetTempFileNameA reserves a number with its empty file; creating the folder is what claims
    // the folder's name, and fails when another took it first. The reserving files stay until the
    // end so that each try gets a number of its own.
    std::vector<std::string> reserved;
    for (int attempt = 0; attempt < kFolderTries && folder_.empty(); ++attempt) {
        char name[MAX_PATH] = {};
        if (GetTempFileNameA(temporary.c_str(), "lnf", 0, name) == 0) break;
        reserved.emplace_back(name);
        std::string folder = name;
        folder.replace(folder.size() - 4, 4, ".DIR");
        if (CreateDirectoryA(folder.c_str(), nullptr)) folder_ = folder;
    }
    for (const std::string& name : reserved) DeleteFileA(name.c_str());
    return !folder_.empty();
}

std::string EmbeddedFonts::FileName(int number, const char* extension) const {
    char name[16];
    std::snprintf(name, sizeof name, "lnef%04d%s", number, extension);
    return folder_ + "\\" + name;
}

bool EmbeddedFonts::InstallOne(int n, const uint8_t* bytes, uint32_t size) {
    const std::string fontFile = FileName(n + 1, ".ttr");
    if (!WriteNewFile(fontFile, bytes, size)) return false;
    if (table_.Flags(n) & EmbeddedFontTable::kInstallDirectly) {
        if (AddFontResourceExA(fontFile.c_str(), FR_PRIVATE, nullptr) > 0) {
            installed_.push_back(fontFile);
            return true;
        }
        DeleteFileA(fontFile.c_str());
        return refuse(false, "the font layer does not take font " + std::to_string(n + 1));
    }
    return RegisterThroughResource(fontFile, FileName(n + 1, ".for"));
}

bool EmbeddedFonts::RegisterThroughResource(const std::string& fontFile, const std::string& resourceFile) {
    if (CreateScalableFontResourceA(1, resourceFile.c_str(), fontFile.c_str(), nullptr) &&
        AddFontResourceExA(resourceFile.c_str(), FR_PRIVATE, nullptr) > 0) {
        installed_.push_back(resourceFile);
        extra_.push_back(fontFile);
        return true;
    }
    DeleteFileA(resourceFile.c_str());
    DeleteFileA(fontFile.c_str());
    return refuse(false, "the font layer does not take " + fontFile);
}

void EmbeddedFonts::Remove() {
    for (const std::string& file : installed_) {
        RemoveFontResourceExA(file.c_str(), FR_PRIVATE, nullptr);
        DeleteFileA(file.c_str());
    }
    for (const std::string& file : extra_) DeleteFileA(file.c_str());
    if (!folder_.empty() && !RemoveDirectoryA(folder_.c_str())) refuse.log("the font folder stays: " + folder_);
    installed_.clear();
    extra_.clear();
    folder_.clear();
    installedCount_ = 0;
    table_.Clear();
}

const EmbeddedFontEntry* EmbeddedFonts::Find(const CharFormat& format) const {
    if (installedCount_ == 0) return nullptr;
    return table_.Find(format.font, format.weightClass, format.TestFlag(CharFormat::kItalic));
}

EmbeddedFonts& GetEmbeddedFonts() {
    // Never destroyed: at exit the font layer may be gone before it; closing the document is
    // what removes the fonts.
    static EmbeddedFonts* const fonts = new EmbeddedFonts;
    return *fonts;
}

int InstallEmbeddedFonts(const char* documentPath) { return GetEmbeddedFonts().Install(documentPath); }

void RemoveEmbeddedFonts() { GetEmbeddedFonts().Remove(); }

}  // namespace lect32
