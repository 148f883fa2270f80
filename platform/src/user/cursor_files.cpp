#include "user/cursor_files.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/call_refusal.h"
#include "winplat/byte_reader.h"
#include "winplat/files.h"
#include "winplat/owners.h"

namespace winplat::user {
namespace {

constexpr size_t kEntryBytes = 16;
constexpr uint16_t kCursorType = 2;  // 1 is an icon file

// One directory entry: where its picture lies and what it is.
struct Entry {
    int width = 0;  // as the directory says; 0 stands for 256
    int height = 0;
    POINT hotSpot{};
    std::span<const uint8_t> image;
    unsigned bits = 0;  // of the picture itself: directories leave colour counts unreliable
};

bool startsWith(std::span<const uint8_t> bytes, size_t at, std::string_view text) {
    if (bytes.size() < at + text.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (bytes[at + i] != static_cast<uint8_t>(text[i])) return false;
    }
    return true;
}

bool isAnimated(std::span<const uint8_t> bytes) { return startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "ACON"); }

int sideOf(uint8_t stored) { return stored == 0 ? kMaxCursorSide : stored; }

// Reads entry 'index'; returns why it is unusable, empty when it is not.
std::string readEntry(ByteReader& in, std::span<const uint8_t> file, size_t index, Entry& entry) {
    entry.width = sideOf(in.u8());
    entry.height = sideOf(in.u8());
    in.skip(2);  // colour count and reserved byte
    entry.hotSpot.x = in.u16();
    entry.hotSpot.y = in.u16();
    const uint32_t length = in.u32();
    const uint32_t offset = in.u32();
    const std::string name = "entry " + std::to_string(index);
    if (offset > file.size() || length > file.size() - offset)
        return name + ": " + std::to_string(length) + " bytes at " + std::to_string(offset) + " lie outside the file of " +
               std::to_string(file.size()) + " bytes";
    if (length == 0) return name + ": an empty picture";
    entry.image = file.subspan(offset, length);
    entry.bits = isPngImage(entry.image) ? 32 : bitmapBitCount(entry.image);
    return {};
}

// Nearest the system cursor size first, then the most colours; the earlier of equal entries.
bool betterThan(const Entry& candidate, const Entry& best) {
    const auto distance = [](const Entry& entry) {
        return std::abs(entry.width - GetSystemMetrics(SM_CXCURSOR)) +
               std::abs(entry.height - GetSystemMetrics(SM_CYCURSOR));
    };
    if (distance(candidate) != distance(best)) return distance(candidate) < distance(best);
    return candidate.bits > best.bits;
}

CursorRead decodeEntry(const Entry& entry) {
    return withHotSpot(isPngImage(entry.image) ? cursorFromPng(entry.image) : cursorFromBitmap(entry.image),
                       entry.hotSpot);
}

HANDLE openedOrNull(HANDLE file) { return file == INVALID_HANDLE_VALUE ? nullptr : file; }

// The whole file, read through the layer's file calls so that Windows paths name it.
std::optional<std::vector<uint8_t>> readWholeFile(LPCSTR fileName, const CallRefuser& refuse) {
    const UniqueHandle<HANDLE, CloseHandle> file(
        openedOrNull(CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
    if (!file) {
        refuse.log(std::string("cannot open ") + fileName);  // CreateFileA left its error
        return std::nullopt;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    if (high != 0 || size > kMaxCursorFileBytes) return refuse(std::nullopt, "a cursor file of more than 16 MB");
    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size)
        return refuse(std::nullopt, "the file could not be read whole");
    return bytes;
}

}  // namespace

CursorRead cursorFromFileBytes(std::span<const uint8_t> bytes) {
    if (isAnimated(bytes)) return refusedRead("animated cursors (RIFF ACON) are not supported", ERROR_NOT_SUPPORTED);
    ByteReader in(bytes);
    const uint16_t reserved = in.u16();
    const uint16_t type = in.u16();
    const uint16_t count = in.u16();
    if (!in.ok()) return refusedRead("cursor directory cut short");
    if (reserved != 0 || type != kCursorType)
        return refusedRead("not a cursor file (reserved " + std::to_string(reserved) + ", type " +
                           std::to_string(type) + ")");
    if (count == 0) return refusedRead("a cursor directory without entries");
    if (count > in.remaining() / kEntryBytes)
        return refusedRead("a directory of " + std::to_string(count) + " entries in room for " +
                           std::to_string(in.remaining() / kEntryBytes));
    Entry best;
    for (size_t index = 0; index < count; ++index) {
        Entry entry;
        if (std::string problem = readEntry(in, bytes, index, entry); !problem.empty()) return refusedRead(problem);
        if (index == 0 || betterThan(entry, best)) best = entry;
    }
    return decodeEntry(best);
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HCURSOR LoadCursorFromFileA(LPCSTR fileName) {
    constexpr std::string_view kWho = "winplat: LoadCursorFromFileA";
    constexpr CallRefuser refuse(kWho, ERROR_INVALID_DATA);
    if (reinterpret_cast<ULONG_PTR>(fileName) < 0x10000)
        return CallRefuser(kWho, ERROR_INVALID_PARAMETER)(HCURSOR{}, "a cursor file is named by its path");
    const std::optional<std::vector<uint8_t>> bytes = readWholeFile(fileName, refuse);
    if (!bytes) return nullptr;
    const CursorRead read = cursorFromFileBytes(*bytes);
    if (!read.cursor) return CallRefuser(kWho, read.error)(HCURSOR{}, std::string(fileName) + ": " + read.why, read.where);
    const HCURSOR cursor = addCursor(read.cursor);
    if (!cursor) return CallRefuser(kWho, ERROR_NOT_ENOUGH_MEMORY)(HCURSOR{}, "the handle table is full");
    return cursor;
}
