#include "store/companion_files.h"

#include <cstring>
#include <string>

#include "store/document_paths.h"
#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: companions");
constexpr int kCompanionRecordType = 14;

}  // namespace

bool MakeCompanionPath(const char* documentPath, const char* extension, char* out) {
    if (!documentPath || !*documentPath || !extension || !out) return false;
    std::string path(documentPath);
    const size_t nameStart = path.find_last_of('\\') == std::string::npos ? 0 : path.find_last_of('\\') + 1;
    const size_t dot = path.find_last_of('.');
    // A dot that starts the name (".lcn") names no extension: the name is kept whole.
    if (dot != std::string::npos && dot > nameStart) path.resize(dot);
    path += '.';
    path += extension;
    if (path.size() >= kDocumentPathBuffer) return refuse(false, "the companion's path would be too long");
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

bool CompanionTable::Parse(std::span<const uint8_t> body) {
    entries_ = {};
    winplat::ByteReader in(body);
    in.skip(1);
    const uint16_t count = in.u16();
    if (!in.ok()) return refuse(false, "record type 14 ends before its count");
    if (!in.has(size_t{count} * 8)) return refuse(false, "record type 14 names more companions than it holds");
    std::array<CompanionPlace, kEntries> read{};
    for (uint16_t n = 0; n < count && n < kEntries; ++n) {
        read[n].base = in.u32();
        read[n].size = in.u32();
    }
    entries_ = read;
    return true;
}

bool CompanionTable::Load(VazaziFile& document) {
    entries_ = {};
    MemReader body;
    if (!document.ReadRecordByType(kCompanionRecordType, 0, body)) return false;
    return Parse(std::span<const uint8_t>(body.data(), body.size()));
}

std::optional<CompanionPlace> CompanionTable::Find(int number) const {
    if (number < 0 || number >= kEntries || entries_[number].base == 0) return std::nullopt;
    return entries_[number];
}

bool FindCompanionInDocument(int number, uint32_t* base, uint32_t* size) {
    const char* path = GetDocumentPathForPaths();
    if (!*path) return false;
    VazaziFile document;
    if (!document.Open(path, false)) return refuse(false, "the open document cannot be read for its companions");
    CompanionTable table;
    table.Load(document);
    document.Close();
    const std::optional<CompanionPlace> place = table.Find(number);
    if (!place) return false;
    if (base) *base = place->base;
    if (size) *size = place->size;
    return true;
}

}  // namespace lect32
