#include "page/temp_files.h"

#include <cstring>

#include "store/disk_file.h"
#include "store/file_name_table.h"
#include "store/string_pool.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: temporary files");

// The folders are asked for first, so they are made before the table and outlive it at exit.
// Paths keep their letter case: they name files the program made, not paths a document stored.
StringPool& tempFolders() {
    static StringPool pool;
    static const bool keepsCase = (pool.SetKeepCase(1), true);
    (void)keepsCase;
    return pool;
}

}  // namespace

FileNameTable& TempFileTable() {
    static FileNameTable table(tempFolders());
    static const bool keepsCase = (table.SetKeepCase(1), true);
    (void)keepsCase;
    return table;
}

int16_t AddTempFile(const char* path) {
    if (!path || !*path) return refuse(int16_t{-1}, "a temporary file needs a path");
    char copy[FileNameTable::kPathBuffer];
    if (std::strlen(path) >= sizeof copy) return refuse(int16_t{-1}, "the temporary file's path is too long");
    std::strcpy(copy, path);
    const uint16_t index = TempFileTable().AddPath(copy);
    if (index >= 0x8000) return refuse(int16_t{-1}, "the temporary-file table takes no further path");
    return static_cast<int16_t>(index);
}

void DeleteTempFile(int16_t index) {
    if (index < 0) return;
    char path[FileNameTable::kPathBuffer];
    if (!TempFileTable().GetPath(index, path)) {
        refuse.log("the temporary-file table has no such entry");
        return;
    }
    DeleteDiskFile(path);
    TempFileTable().ReleasePath(static_cast<uint16_t>(index), 0);
}

}  // namespace lect32
