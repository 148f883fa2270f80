#include "page/private_temp_folder.h"

#include <cctype>
#include <cstring>

#include "store/document_paths.h"
#include "winplat/files.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: temporary files");
// Attempts at a name before giving up: each is only lost to a name someone else already holds.
constexpr int kFolderAttempts = 16;
constexpr int kFileAttempts = 1000;

std::string& folder() {
    static std::string path;
    return path;
}

// A name GetTempFileNameA finds free, taken over as a folder: the mkdir fails when anything got
// there in between, and another name is tried.
bool makeFolder() {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return refuse(false, "the system's temporary folder is unknown");
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        char name[MAX_PATH];
        if (!GetTempFileNameA(temp, "lnx", 0, name)) return refuse(false, "no temporary name is free");
        DeleteFileA(name);
        if (CreateDirectoryA(name, nullptr)) {
            folder() = std::string(name) + "\\";
            return true;
        }
    }
    return refuse(false, "no private temporary folder could be made");
}

bool createNew(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

std::string SafeExtension(const char* storedName) {
    if (!storedName) return {};
    const char* slash = std::strrchr(storedName, '\\');
    const char* dot = std::strrchr(slash ? slash : storedName, '.');
    if (!dot) return {};
    const std::string extension(dot + 1);
    if (extension.empty() || extension.size() > kMaxTempExtension) return {};
    for (const char c : extension) {
        if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) return {};
    }
    return extension;
}

bool CreatePrivateTempFile(const std::string& extension, char* out) {
    if (!out) return false;
    if (folder().empty() && !makeFolder()) return false;
    static unsigned next = 1;
    for (int attempt = 0; attempt < kFileAttempts; ++attempt) {
        std::string path = folder() + "e" + std::to_string(next++);
        if (!extension.empty()) path += "." + extension;
        if (path.size() >= kDocumentPathBuffer) return refuse(false, "the temporary path would be too long");
        if (createNew(path)) {
            std::memcpy(out, path.c_str(), path.size() + 1);
            return true;
        }
    }
    return refuse(false, "no temporary file could be created");
}

const std::string& PrivateTempFolder() { return folder(); }

void RemovePrivateTempFolder() {
    if (folder().empty()) return;
    if (!RemoveDirectoryA(folder().c_str())) {
        refuse.log("the temporary folder still holds files");
        return;
    }
    folder().clear();
}

}  // namespace lect32
