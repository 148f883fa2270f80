// A file handle of the platform owned for a scope: closed when the owner goes.
#ifndef LINEWORK_DRAWING_FILE_HANDLE_H
#define LINEWORK_DRAWING_FILE_HANDLE_H

#include <string>

#include "winplat/files.h"
#include "winplat/owners.h"

namespace linework {

namespace file_handle_detail {
inline void Close(HANDLE file) { CloseHandle(file); }
}  // namespace file_handle_detail

using FileHandle = winplat::UniqueHandle<HANDLE, file_handle_detail::Close>;

// Opens an existing file for reading only, sharing it; empty (GetLastError says why) on failure.
inline FileHandle OpenForReading(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

}  // namespace linework

#endif
