// The per-document state that is reloaded when another member of the linked set becomes the
// active document: the properties record with the id list, the style sheet, the colour table,
// the document fonts (with both font caches emptied), the picture, sound and video file-name
// tables and the link-target tables of the embedded files.
//
// The search areas join this list as the program gets a process-wide object for them.
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
