// AddFontResourceA, RemoveFontResourceA and CreateScalableFontResourceA: the process's own fonts.
// A file is known by its full Windows path, compared case-insensitively, so it can be removed by
// any spelling of its name and after the file itself is gone.
#include "text/private_fonts.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>
#include <string>
#include <utility>

#include "base/call_refusal.h"
#include "files/host_files.h"
#include "text/font_file_scan.h"
#include "text/scalable_font_resource.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/text.h"

namespace winplat::text {
namespace {

struct Registration {
    std::string key;  // the lower-cased full Windows path of the added file
    int count = 0;    // AddFontResourceA calls not yet undone
    bool hidden = false;
    std::vector<CatalogueFace> faces;
};

// Fonts are made outside the GDI lock, from any thread: the registry has a lock of its own.
struct Registry {
    std::mutex mutex;
    std::vector<Registration> entries;  // in the order they were added
};

Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

std::optional<std::string> keyOf(LPCSTR fileName) {
    const std::optional<std::string> full = files::fullPath(fileName);
    if (!full) return std::nullopt;
    return cp1250::lower(*full);
}

// The first bytes of a host file, up to 'limit' + 1 so that a longer file shows.
std::string headOf(const std::string& hostPath, size_t limit) {
    std::ifstream in(hostPath, std::ios::binary);
    std::string bytes(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

struct FontToAdd {
    std::string hostPath;
    bool hidden = false;
};

// The font file an added file stands for: itself, or the one a resource file names.
std::optional<FontToAdd> fontOf(const std::string& hostPath, const CallRefuser& refuse) {
    const std::string head = headOf(hostPath, kMaxResourceBytes);
    if (!isScalableFontResource(head)) return FontToAdd{hostPath, false};
    std::string why;
    const std::optional<ScalableFontResource> resource = parseScalableFontResource(head, why);
    if (!resource) return refuse(std::optional<FontToAdd>{}, why);
    const std::optional<std::string> font = files::resolve(resource->fontFile);
    if (!font) return refuse(std::optional<FontToAdd>{}, "no font file " + resource->fontFile);
    return FontToAdd{*font, resource->hidden};
}

int registerFaces(std::string key, const FontToAdd& font, std::vector<CatalogueFace> faces) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (Registration& entry : r.entries) {
        if (entry.key != key) continue;
        ++entry.count;
        return static_cast<int>(entry.faces.size());
    }
    const int added = static_cast<int>(faces.size());
    r.entries.push_back({std::move(key), 1, font.hidden, std::move(faces)});
    return added;
}

template <class Keep>
std::vector<CatalogueFace> copyFaces(Keep keep) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::vector<CatalogueFace> faces;
    for (const Registration& entry : r.entries) {
        for (const CatalogueFace& face : entry.faces) {
            if (keep(entry, face)) faces.push_back(face);
        }
    }
    return faces;
}

// "<path>\<file>" for a file named in a folder, else the file as given.
std::string joinedFontName(LPCSTR fontFile, LPCSTR path) {
    if (!path || !*path) return fontFile;
    std::string joined = path;
    if (joined.back() != '\\' && joined.back() != '/') joined += '\\';
    return joined + fontFile;
}

// Writes the bytes to a new file; fails with ERROR_FILE_EXISTS when the file exists.
bool writeNewFile(const std::string& hostPath, const std::string& bytes, const CallRefuser& refuse) {
    files::HostFile file(::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!file) {
        const int error = errno;
        SetLastError(error == EEXIST ? DWORD{ERROR_FILE_EXISTS} : files::errorFromErrno(error));
        refuse.log(error == EEXIST ? "the font resource file exists" : "cannot create the font resource file");
        return false;
    }
    const bool written = ::write(file.get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (written && file.close()) return true;
    ::unlink(hostPath.c_str());
    return refuse(false, "cannot write the font resource file");
}

}  // namespace

std::vector<CatalogueFace> privateFamily(std::string_view family) {
    return copyFaces([family](const Registration&, const CatalogueFace& face) { return isOfFamily(face, family); });
}

std::vector<CatalogueFace> allPrivateFaces() {
    return copyFaces([](const Registration&, const CatalogueFace&) { return true; });
}

std::vector<CatalogueFace> listedPrivateFaces() {
    return copyFaces([](const Registration& entry, const CatalogueFace&) { return !entry.hidden; });
}

}  // namespace winplat::text

using namespace winplat;
using namespace winplat::text;

int AddFontResourceA(LPCSTR fileName) {
    constexpr CallRefuser refuse("winplat: AddFontResourceA", ERROR_FILE_NOT_FOUND);
    if (!fileName || !*fileName) return refuse(0, "no file name");
    if (std::string_view(fileName).find('|') != std::string_view::npos)
        return refuse(0, "a font made of several files");
    std::optional<std::string> key = keyOf(fileName);
    const std::optional<std::string> hostPath = files::resolve(fileName);
    if (!key || !hostPath) return refuse(0, std::string("no file ") + fileName);
    const std::optional<FontToAdd> font = fontOf(*hostPath, refuse);
    if (!font) return 0;
    std::vector<CatalogueFace> faces = scanFontFile(font->hostPath);
    if (faces.empty()) return refuse(0, std::string(fileName) + " holds no font FreeType can read");
    return registerFaces(std::move(*key), *font, std::move(faces));
}

BOOL RemoveFontResourceA(LPCSTR fileName) {
    constexpr CallRefuser refuse("winplat: RemoveFontResourceA", ERROR_FILE_NOT_FOUND);
    if (!fileName || !*fileName) return refuse(FALSE, "no file name");
    const std::optional<std::string> key = keyOf(fileName);
    if (!key) return refuse(FALSE, std::string("no file ") + fileName);
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (auto entry = r.entries.begin(); entry != r.entries.end(); ++entry) {
        if (entry->key != *key) continue;
        if (--entry->count == 0) r.entries.erase(entry);
        return TRUE;
    }
    return refuse(FALSE, std::string(fileName) + " was not added");
}

int AddFontResourceExA(LPCSTR fileName, DWORD flags, LPVOID reserved) {
    constexpr CallRefuser refuse("winplat: AddFontResourceExA", ERROR_INVALID_PARAMETER);
    if (flags != FR_PRIVATE || reserved) return refuse(0, "flags other than FR_PRIVATE alone, or a reserved value");
    return AddFontResourceA(fileName);
}

BOOL RemoveFontResourceExA(LPCSTR fileName, DWORD flags, LPVOID reserved) {
    constexpr CallRefuser refuse("winplat: RemoveFontResourceExA", ERROR_INVALID_PARAMETER);
    if (flags != FR_PRIVATE || reserved) return refuse(FALSE, "flags other than FR_PRIVATE alone, or a reserved value");
    return RemoveFontResourceA(fileName);
}

BOOL CreateScalableFontResourceA(DWORD hidden, LPCSTR resourceFile, LPCSTR fontFile, LPCSTR path) {
    constexpr CallRefuser refuse("winplat: CreateScalableFontResourceA");
    if (!resourceFile || !*resourceFile || !fontFile || !*fontFile) return refuse(FALSE, "no file name");
    const std::optional<std::string> fontPath = files::fullPath(joinedFontName(fontFile, path));
    const std::optional<std::string> fontHost = fontPath ? files::resolve(*fontPath) : std::nullopt;
    if (!fontHost) {
        refuse.log(std::string("no font file ") + fontFile);
        return FALSE;  // the path lookup's error stays
    }
    if (scanFontFile(*fontHost).empty()) return refuse(FALSE, *fontPath + " holds no font FreeType can read");
    const std::optional<std::string> resourceHost = files::resolve(resourceFile, true);
    if (!resourceHost) {
        refuse.log(std::string("no folder for ") + resourceFile);
        return FALSE;
    }
    const std::string bytes = formatScalableFontResource({hidden != 0, *fontPath});
    return writeNewFile(*resourceHost, bytes, refuse) ? TRUE : FALSE;
}
