// A face of a font file as the file is now. Caches of metrics, sizes and glyphs are keyed by it,
// not by the path alone: a program may remove an embedded font and write another one under the
// same name, and that one must not be drawn with the first one's glyphs.
#ifndef WINPLAT_SRC_TEXT_FONT_FILE_H
#define WINPLAT_SRC_TEXT_FONT_FILE_H

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace winplat::text {

// Which file a path names: the device and inode, the size and the time of the last change.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t changedNs = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

struct FontFile {
    std::string path;  // UTF-8, on disk
    long index = 0;    // the face within a collection
    FileIdentity identity;
    auto operator<=>(const FontFile&) const = default;
};

// The face 'index' of the file the path names now; nullopt when nothing is there.
std::optional<FontFile> fontFileAt(const std::string& path, long index);

}  // namespace winplat::text

#endif
