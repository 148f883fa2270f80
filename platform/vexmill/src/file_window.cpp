#include "file_window.h"

#include <string>

#include "winplat/files.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace vexmill {
namespace {

constexpr winplat::Refuser refuse("vexmill: file");

// Metafiles are small; a larger window is no picture and is not read into memory.
constexpr uint32_t kMaxPictureBytes = 64u << 20;

void closeFile(HANDLE file) { CloseHandle(file); }
using OwnedFile = winplat::UniqueHandle<HANDLE, closeFile>;

}  // namespace

std::optional<std::vector<uint8_t>> readFileWindow(const char* path, int32_t offset, int32_t length) {
    if (!path) return refuse(std::nullopt, "no path");
    if (offset < 0 || length < 0) return refuse(std::nullopt, "a negative offset or length");
    HANDLE raw = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return refuse(std::nullopt, std::string("cannot open ") + path);
    OwnedFile file(raw);
    DWORD high = 0;
    const uint64_t size = GetFileSize(file.get(), &high) | (uint64_t{high} << 32);
    if (uint64_t(offset) > size) return refuse(std::nullopt, "an offset past the end of the file");
    const uint64_t wanted = length == 0 ? size - uint64_t(offset) : uint64_t(length);
    if (uint64_t(offset) + wanted > size) return refuse(std::nullopt, "a length past the end of the file");
    if (wanted > kMaxPictureBytes) return refuse(std::nullopt, "more than 64 MB for one picture");
    if (SetFilePointer(file.get(), offset, nullptr, FILE_BEGIN) != DWORD(offset))
        return refuse(std::nullopt, "cannot seek to the picture");
    std::vector<uint8_t> bytes(wanted);
    DWORD read = 0;
    if (wanted && (!ReadFile(file.get(), bytes.data(), DWORD(wanted), &read, nullptr) || read != wanted))
        return refuse(std::nullopt, "the file could not be read whole");
    return bytes;
}

}  // namespace vexmill
