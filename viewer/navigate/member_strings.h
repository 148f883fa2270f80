// Page names of any member of the linked-document set.
#ifndef LECT32_NAVIGATE_MEMBER_STRINGS_H
#define LECT32_NAVIGATE_MEMBER_STRINGS_H

#include <cstdint>

namespace lect32 {

class DocStringTable;
class LinkedDocumentSet;

// String n of member 'document' (255: the table's own container) into buffer, read through the
// table with the member's record file bound for this one read; the table's binding is restored
// and the member closed again. A member that cannot be opened gives the empty string and 0.
int ReadMemberString(DocStringTable& table, LinkedDocumentSet& set, int16_t n, char* buffer, uint8_t document);

// String n of member 'document' into buffer (DocStringTable::kBufferSize bytes) after making that
// member the active document; its length. n = -1 gives UI text 15 of the resource texts instead,
// without switching documents. A member that cannot be activated leaves the previous document
// active, and its string is read.
int LoadDocumentString(LinkedDocumentSet& set, char* buffer, int16_t n, uint8_t document);

}  // namespace lect32

#endif
