#include "store/document_file_tables.h"

#include <cstring>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: document file tables");

uint16_t programOf(uint32_t ref) { return static_cast<uint16_t>(ref >> 16); }
// The argument text's index, or nothing for a reference without one.
bool argumentOf(uint32_t ref, uint16_t& index) {
    const uint16_t low = static_cast<uint16_t>(ref & 0xFFFF);
    if (low == 0) return false;
    index = static_cast<uint16_t>(low - 1);
    return true;
}

// A folder pool and its table travel together: the table's folder indexes are checked against
// the pool read just before it.
int loadTable(FileNameTable& table, MemReader& reader) { return table.LoadFromDocument(0, &reader); }
int saveTable(FileNameTable& table, MemWriter& writer) { return table.SaveToDocument(0, &writer); }

}  // namespace

DocumentFileTables::DocumentFileTables()
    : programs_(programFolders_), documents_(documentFolders_), associated_(associatedFolders_) {}

int DocumentFileTables::Load(VazaziFile& document) {
    MemReader record;
    if (document.ReadRecordByType(kRecordType, 0, record) != 1) return 0;
    return Parse(record, record.version());
}

int DocumentFileTables::Parse(MemReader& reader, uint8_t version) {
    if (loadTable(programs_, reader) != 1) return refuse(0, "the program table does not read");
    if (arguments_.Load(reader) != 1) return refuse(0, "the argument pool does not read");
    if (version < kFullVersion) return 1;
    if (loadTable(documents_, reader) != 1) return refuse(0, "the linked-document table does not read");
    if (loadTable(associated_, reader) != 1) return refuse(0, "the associated-file table does not read");
    if (urls_.Load(reader) != 1) return refuse(0, "the URL pool does not read");
    return 1;
}

void DocumentFileTables::Free() {
    programs_.Clear();
    programFolders_.Clear();
    arguments_.Clear();
}

int DocumentFileTables::Write(MemWriter& writer) {
    const bool written = saveTable(programs_, writer) == 1 && arguments_.Save(writer) == 1 &&
                         saveTable(documents_, writer) == 1 && saveTable(associated_, writer) == 1 &&
                         urls_.Save(writer) == 1;
    return written ? 1 : refuse(0, "a list could not be written");
}

int DocumentFileTables::Save(VazaziFile& document) {
    MemWriter record;
    record.Begin();
    const int written = Write(record);
    if (record.End() != 0 || !written) return refuse(0, "the record could not be built");
    const RecordFlags flags{0, kFullVersion};
    if (document.WriteRecordByType(kRecordType, 0, record, &flags) != 1) return refuse(0, "the record could not be stored");
    return 1;
}

int DocumentFileTables::GetProgramRef(uint32_t ref, char* path, char* arguments) {
    if (!path || !arguments) return 0;
    *arguments = '\0';
    if (!programs_.GetPath(programOf(ref), path)) return 0;
    uint16_t text = 0;
    if (argumentOf(ref, text) && !arguments_.GetString(text, arguments)) *arguments = '\0';
    return 1;
}

int32_t DocumentFileTables::AddProgramRef(char* path, char* arguments) {
    if (!path) return -1;
    char kept[FileNameTable::kPathBuffer];
    std::strncpy(kept, path, sizeof kept - 1);
    kept[sizeof kept - 1] = '\0';
    const uint16_t program = programs_.AddPath(path);
    if (StringList::IsAddFailure(program)) return refuse(-1, "the program's path cannot be added");
    if (!arguments || !*arguments) return int32_t{program} << 16;
    const uint16_t text = arguments_.Acquire(arguments);
    if (StringList::IsAddFailure(text)) {
        programs_.ReleasePath(program, 0);
        return refuse(-1, "the argument text cannot be added");
    }
    return static_cast<int32_t>((uint32_t{program} << 16) | (uint32_t{text} + 1));
}

int DocumentFileTables::RemoveProgramRef(uint32_t ref) {
    char path[FileNameTable::kPathBuffer];
    programs_.GetPath(programOf(ref), path);
    const uint16_t left = programs_.ReleasePath(programOf(ref), 0);
    if (left == 0 || left == StringList::kFull) return 0;
    uint16_t text = 0;
    if (!argumentOf(ref, text)) return 1;
    if (arguments_.Release(text, 0)) return 1;
    programs_.AddPath(path);
    return refuse(0, "the argument text could not be released");
}

void DocumentFileTables::AddProgramRefUses(uint32_t ref, int n) {
    uint16_t text = 0;
    const bool hasText = argumentOf(ref, text);
    if (n >= 0) {
        programs_.ChangeUses(programOf(ref), n);
        if (hasText) arguments_.ChangeUses(text, n);
        return;
    }
    // One release per use, so that the last one also gives up the entry (and its folder).
    for (int k = 0; k < -n; ++k) {
        const uint16_t left = programs_.ReleasePath(programOf(ref), 0);
        if (left == 0 || left == StringList::kFull) break;
    }
    if (!hasText) return;
    for (int k = 0; k < -n && arguments_.GetUseCount(text) > 0; ++k) arguments_.Release(text, 0);
}

DocumentFileTables& GetDocumentFileTables() {
    static DocumentFileTables tables;
    return tables;
}

}  // namespace lect32
