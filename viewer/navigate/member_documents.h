// Questions about the documents of the linked set that the reader's utilities answer for the rest
// of the program.
#ifndef LECT32_NAVIGATE_MEMBER_DOCUMENTS_H
#define LECT32_NAVIGATE_MEMBER_DOCUMENTS_H

#include <cstdint>

namespace lect32 {

class LinkedDocumentSet;

// The path of member 0, the document that was opened, into buffer (MAX_PATH bytes); its length,
// or 0 with an empty buffer when the set is empty.
uint16_t GetMainDocumentPath(const LinkedDocumentSet& set, char* buffer);

// Whether numbered record 'record' exists in document 'document' (255: the one on screen). The
// document is made active first; 0 when it is neither the one on screen nor a member that was
// found, or when it cannot be activated.
int DocumentHasNumberedRecord(LinkedDocumentSet& set, int16_t record, uint8_t document);

}  // namespace lect32

#endif
