// The per-document state that is reloaded when another member of the linked set becomes the
// active document: the properties record with the id list, the style sheet, the document fonts
// (with both font caches emptied) and the picture file-name table.
//
// The colour table, the video and sound file-name tables, the embedded-file tables and the search
// areas join this list as the program gets process-wide objects for them.
#ifndef LECT32_NAVIGATE_ACTIVE_DOCUMENT_TABLES_H
#define LECT32_NAVIGATE_ACTIVE_DOCUMENT_TABLES_H

#include "navigate/linked_document_set.h"

namespace lect32 {

class PropertiesRecord;

class ActiveDocumentTables : public ActiveDocumentState {
public:
    // The properties record must be bound to the record file that Reload is given.
    explicit ActiveDocumentTables(PropertiesRecord& properties) : properties_(properties) {}
    void Reload(VazaziFile& document) override;

private:
    PropertiesRecord& properties_;
};

}  // namespace lect32

#endif
