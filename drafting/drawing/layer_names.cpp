#include "drawing/layer_names.h"

#include <algorithm>
#include <vector>

#include "drawing/file_handle.h"
#include "drawing/file_names.h"

namespace linework {
namespace {

bool IsBlankOrControl(char c) { return static_cast<uint8_t>(c) <= 32; }

// The temporary file beside the side file; the same folder keeps the rename on one drive.
std::string TemporaryName(const std::string& sideFile) { return sideFile + ".~lk"; }

std::vector<uint8_t> LayerNameRecords(const std::array<std::string, 256>& names) {
    std::vector<uint8_t> bytes(names.size() * kLayerNameRecordSize, 0);
    for (size_t layer = 0; layer < names.size(); ++layer) {
        size_t length = std::min(names[layer].size(), kLayerNameRecordSize - 1);
        std::copy_n(names[layer].begin(), length, bytes.begin() + static_cast<ptrdiff_t>(layer * kLayerNameRecordSize));
    }
    return bytes;
}

bool WriteWhole(const std::string& name, const std::vector<uint8_t>& bytes) {
    HANDLE raw = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    FileHandle file(raw == INVALID_HANDLE_VALUE ? nullptr : raw);
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

std::string LayerNamesFileName(std::string_view drawingFile) {
    std::string extension = GetFileNamePart(false, drawingFile);
    std::string name(drawingFile.substr(0, drawingFile.size() - extension.size()));
    return name + ".LKL";
}

std::string LayerNameFromRecord(std::span<const uint8_t, kLayerNameRecordSize> record) {
    if (record.back() != 0) return {};
    std::string_view text(reinterpret_cast<const char*>(record.data()), record.size() - 1);
    auto first = std::find_if_not(text.begin(), text.end(), IsBlankOrControl);
    auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlankOrControl).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string ReadLayerName(std::string_view drawingFile, uint8_t layer) {
    FileHandle file = OpenForReading(LayerNamesFileName(drawingFile));
    if (!file) return {};
    if (SetFilePointer(file.get(), static_cast<LONG>(layer * kLayerNameRecordSize), nullptr, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER) {
        return {};
    }
    std::array<uint8_t, kLayerNameRecordSize> record{};
    DWORD read = 0;
    if (!ReadFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &read, nullptr) ||
        read != record.size()) {
        return {};
    }
    return LayerNameFromRecord(record);
}

bool SaveLayerNames(std::string_view drawingFile, const std::array<std::string, 256>& names) {
    std::string sideFile = LayerNamesFileName(drawingFile);
    std::string temporary = TemporaryName(sideFile);
    if (!WriteWhole(temporary, LayerNameRecords(names))) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    if (!MoveFileExA(temporary.c_str(), sideFile.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace linework
