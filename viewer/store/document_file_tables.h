// The link targets a document keeps outside its pages (document record type 9, index 0): programs
// that program links start with their argument texts, documents that document links open, files
// opened with the program their extension is associated with, and URL texts. The record is the
// eight lists one after another, each in its stored form:
//   program folders, program table, argument pool,
//   (from record version 2) linked-document folders and table, associated-file folders and
//   table, URL pool.
// A program reference packs a program and its arguments into 32 bits: the high word is the
// program's index in the program table, the low word 1 + the index of its argument text (0: none).
#ifndef LECT32_STORE_DOCUMENT_FILE_TABLES_H
#define LECT32_STORE_DOCUMENT_FILE_TABLES_H

#include <cstdint>

#include "store/file_name_table.h"
#include "store/string_pool.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

class DocumentFileTables {
public:
    static constexpr int kRecordType = 9;
    // Versions before this hold the program lists alone.
    static constexpr uint8_t kFullVersion = 2;
    static constexpr size_t kArgumentBuffer = StringList::kMaxLength + 1;

    DocumentFileTables();

    // Record type 9 of the document. 1 on success; 0 when it is missing or a list fails to read,
    // the lists read before the failure keeping what they read. A version-1 record leaves the
    // linked-document, associated-file and URL lists as they were.
    int Load(VazaziFile& document);
    // The record's body as written with 'version'.
    int Parse(MemReader& reader, uint8_t version);
    // Empties the program table and the argument pool; the other lists are replaced by the next
    // load.
    void Free();
    // Writes all eight lists as record type 9, version 2. 1 on success.
    int Save(VazaziFile& document);
    int Write(MemWriter& writer);

    // 'path' holds FileNameTable::kPathBuffer bytes, 'arguments' kArgumentBuffer; both are
    // zero-terminated on return, the arguments empty when the reference has none. 0 (both empty)
    // when the program is not in the table.
    int GetProgramRef(uint32_t ref, char* path, char* arguments);
    // The reference of the path (one more use) with the argument text (one more use when not
    // empty); -1 when either cannot be added, with nothing kept.
    int32_t AddProgramRef(char* path, char* arguments);
    // Gives up one use of the path and of its argument text. 0 when the path's last use went
    // (or the program is unknown), the text then keeping its use; 0 when the text cannot be
    // released, the path's use then restored; else 1.
    int RemoveProgramRef(uint32_t ref);
    // Adds 'n' (negative takes away) to the uses of the path and of its argument text; an entry
    // whose uses come to 0 goes.
    void AddProgramRefUses(uint32_t ref, int n);

    FileNameTable& programs() { return programs_; }
    StringPool& arguments() { return arguments_; }
    FileNameTable& documents() { return documents_; }
    FileNameTable& associated() { return associated_; }
    StringPool& urls() { return urls_; }

private:
    StringPool programFolders_;
    FileNameTable programs_;
    StringPool arguments_;
    StringPool documentFolders_;
    FileNameTable documents_;
    StringPool associatedFolders_;
    FileNameTable associated_;
    StringPool urls_;
};

// The open document's tables, one for the process.
DocumentFileTables& GetDocumentFileTables();

}  // namespace lect32

#endif
