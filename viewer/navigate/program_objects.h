// The objects the whole reader shares for as long as it runs: the open document and the linked
// set it belongs to, the document's properties record with its id list, the language texts and
// tables, and the options record. Made on first use, destroyed at exit.
//
// The language texts and tables are defined beside the store's loaders, which need them below
// this layer; they are gathered here by reference so that one place lists what the program holds.
// The cursor set lives with the cursors.
#ifndef LECT32_NAVIGATE_PROGRAM_OBJECTS_H
#define LECT32_NAVIGATE_PROGRAM_OBJECTS_H

#include <cstdint>

#include "navigate/active_document_tables.h"
#include "navigate/linked_document_set.h"
#include "page/document_properties.h"
#include "page/properties_record.h"
#include "store/id_list.h"
#include "store/language_string_tables.h"
#include "store/language_text_list.h"
#include "store/vazazi_file.h"

namespace lect32 {

// Twelve bytes of program options. Only the word is read, by a routine that starts (non-zero) or
// stops a one-minute timer on the main window; the bytes around it keep their defaults.
struct ProgramOptions {
    uint8_t leading[4] = {1, 0, 1, 1};
    uint16_t timerWord = 5;
    uint8_t trailing[6] = {1, 0, 1, 0, 1, 1};
};
static_assert(sizeof(ProgramOptions) == 12);

class ProgramObjects {
public:
    ProgramObjects() = default;
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

    // The active member's record file.
    VazaziFile openDocument;
    DocumentProperties properties;
    IdList idList;
    PropertiesRecord propertiesRecord{properties, idList, openDocument};
    ActiveDocumentTables activeTables{propertiesRecord};
    LinkedDocumentSet linkedDocuments{openDocument, &activeTables};
    LanguageTextList& languageTexts = LanguageTexts();
    LanguageStringTables& languageTables = LanguageTables();
    ProgramOptions options;
};

ProgramObjects& Program();

}  // namespace lect32

#endif
