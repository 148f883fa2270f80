// The profile calls: a file found through the layer's paths, read whole, changed in place and
// written back through a temporary file.
#include <cstring>
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "files/state_folder.h"
#include "profile/ini_text.h"
#include "registry/host_file.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/profile.h"

namespace winplat::profile {
namespace {

constexpr CallRefuser refuseGet("winplat: GetPrivateProfileStringA", ERROR_FILE_NOT_FOUND);
constexpr CallRefuser refuseArguments("winplat: GetPrivateProfileStringA");
constexpr CallRefuser refuseWrite("winplat: WritePrivateProfileStringA");
constexpr CallRefuser refuseWriteFile("winplat: WritePrivateProfileStringA", ERROR_ACCESS_DENIED);

bool hasFolder(std::string_view fileName) { return fileName.find_first_of("\\/:") != std::string_view::npos; }

// The host path of a profile file: a bare name in the Windows folder, else the Windows path.
std::optional<std::string> hostPathOf(LPCSTR fileName, bool forWrite) {
    const std::string_view name(fileName);
    if (hasFolder(name)) return files::resolve(name, forWrite);
    const std::string folder = files::windowsFolder();
    if (forWrite && !files::ensureFolder(folder)) return std::nullopt;
    const std::string windowsForm = files::toWindows(folder);
    if (!windowsForm.empty()) {
        if (auto found = files::resolve(windowsForm + "\\" + std::string(name), forWrite)) return found;
        if (!forWrite) return std::nullopt;
    }
    return folder + "/" + cp1250::toUtf8(name);
}

std::optional<IniText> readIni(LPCSTR fileName) {
    const auto path = hostPathOf(fileName, false);
    if (!path) return std::nullopt;
    const auto text = registry::readWhole(*path);
    if (!text) return std::nullopt;
    return IniText(*text);
}

// Copies one string, cut to fit: the characters copied without the zero.
DWORD copyString(std::string_view text, LPSTR buffer, DWORD size) {
    if (size == 0) return 0;
    const size_t count = std::min<size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

// Copies names each followed by a zero and the list by another; a list cut short ends with its
// last name cut and two zeros, and counts size - 2.
DWORD copyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
    if (size < 2) {
        if (size == 1) buffer[0] = '\0';
        return 0;
    }
    size_t used = 0;
    for (const auto& name : names) {
        if (used + name.size() + 1 > size - 1) {
            const size_t room = size - 2 - used;
            std::memcpy(buffer + used, name.data(), room);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + used, name.c_str(), name.size() + 1);
        used += name.size() + 1;
    }
    buffer[used] = '\0';
    return static_cast<DWORD>(used);
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace
}  // namespace winplat::profile

using namespace winplat;
using namespace winplat::profile;

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
    if (!buffer || !fileName) return refuseArguments(DWORD(0), "no buffer or no file name");
    const std::string_view fallback = withoutTrailingBlanks(defaultValue ? defaultValue : "");
    const auto ini = readIni(fileName);
    if (!ini) {
        refuseGet.log(std::string("no profile file ") + fileName + "; the default is given");
        SetLastError(ERROR_FILE_NOT_FOUND);
        if (!section || !key) return copyList({}, buffer, size);
        return copyString(fallback, buffer, size);
    }
    SetLastError(NO_ERROR);
    if (!section) return copyList(ini->sectionNames(), buffer, size);
    if (!key) return copyList(ini->keyNames(section), buffer, size);
    const auto value = ini->value(section, key);
    return copyString(value ? std::string_view(*value) : fallback, buffer, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
    if (!section || !key || !fileName) return static_cast<UINT>(defaultValue);
    const auto ini = readIni(fileName);
    const auto value = ini ? ini->value(section, key) : std::nullopt;
    if (!value) return static_cast<UINT>(defaultValue);
    std::string_view digits = *value;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    uint32_t number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') break;
        number = number * 10 + static_cast<uint32_t>(c - '0');
    }
    return negative ? 0u - number : number;
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    // All three NULL asks Windows to flush its cache of the file; files here are never cached.
    if (!section && !key && !value) return TRUE;
    if (!section || !fileName) return refuseWrite(FALSE, "no section or no file name");
    const auto path = hostPathOf(fileName, true);
    if (!path) return refuseWrite.refuser()(FALSE, "the profile file's folder cannot be found or made");
    // One lock for every profile file, kept in the state folder rather than beside the files,
    // where programs listing their folders would see it.
    const std::string state = files::stateFolder();
    if (!files::ensureFolder(state)) return refuseWriteFile(FALSE, "the state folder cannot be made: " + state);
    registry::FileLock lock(state + "/profile.lock");
    if (!lock.held()) return refuseWriteFile(FALSE, "the profile lock cannot be taken in " + state);
    const auto old = registry::readWhole(*path);
    IniText ini(old ? std::string_view(*old) : std::string_view());
    if (!key) {
        ini.eraseSection(section);
    } else if (!value) {
        ini.eraseKey(section, key);
    } else {
        ini.setValue(section, key, value);
    }
    const std::string text = ini.text();
    if (old && text == *old) return TRUE;
    if (!registry::replaceAtomically(*path, text)) return refuseWriteFile(FALSE, "the profile file cannot be written: " + *path);
    return TRUE;
}

DWORD GetProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, "win.ini");
}

UINT GetProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue) {
    return GetPrivateProfileIntA(section, key, defaultValue, "win.ini");
}

BOOL WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) {
    return WritePrivateProfileStringA(section, key, value, "win.ini");
}
