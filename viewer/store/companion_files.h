// Files that travel with a document: the picture store, the embedded files, the embedded fonts
// and the indexes. Each lies beside the document, named like it with an extension of its own, or
// (some of them) inside the document's own file as a numbered companion container that document
// record type 14 places by base offset and size.
//
// Record type 14 (index 0), little-endian: byte (not used), u16 count, then count entries of u32
// base offset and u32 size. Entry n (from 0) names a record file stored inside the document; an
// entry with base 0 is absent. Entry 1 is the picture store, entry 2 the embedded files.
#ifndef LECT32_STORE_COMPANION_FILES_H
#define LECT32_STORE_COMPANION_FILES_H

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace lect32 {

class VazaziFile;

// The companion numbers of record type 14.
inline constexpr int kPictureStoreCompanion = 1;
inline constexpr int kEmbeddedFilesCompanion = 2;

// The path of the companion with 'extension' (no dot) beside the document at 'documentPath': the
// file name's extension replaced, or the extension added when the file name has none. Only the
// file-name part is searched for the dot, so a dotted folder stays whole: "c:\a.b\book" gives
// "c:\a.b\book.lpx". 'out' holds kDocumentPathBuffer bytes and may be 'documentPath' itself.
// False, with 'out' unchanged, for an empty path or a result that would not fit.
bool MakeCompanionPath(const char* documentPath, const char* extension, char* out);

struct CompanionPlace {
    uint32_t base = 0;
    uint32_t size = 0;
};

// The table of record type 14 as the reader keeps it: ten entries, all absent at start.
class CompanionTable {
public:
    static constexpr int kEntries = 10;

    // Reads a stored body. Entries past the tenth are not kept; a body shorter than its count
    // says is damaged: refused (false) and the table left empty.
    bool Parse(std::span<const uint8_t> body);
    // Reads record type 14 of the document; false (table empty) when it is missing or damaged.
    bool Load(VazaziFile& document);
    // Entry n when present (base not 0); nothing for an absent entry or n out of range.
    std::optional<CompanionPlace> Find(int number) const;

private:
    std::array<CompanionPlace, kEntries> entries_{};
};

// Companion 'number' inside the open document's own file (the path SetDocumentPathForPaths
// keeps): true with its base offset and size; false when no document is open, it has no record
// type 14 or the entry is absent.
bool FindCompanionInDocument(int number, uint32_t* base, uint32_t* size);

}  // namespace lect32

#endif
