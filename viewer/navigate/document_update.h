// Messages 19990 to 19994: another program changed the open document on disk and asks the reader
// to read again what it changed. lParam is the sum of the bytes of the lower-cased document path,
// each taken as a signed 8-bit value; a message whose sum differs is not for this document.
//
// The sum is no proof of who sent the message; the messages reach the reader only from within
// its own process, so it only tells which document a message is meant for.
#ifndef LECT32_NAVIGATE_DOCUMENT_UPDATE_H
#define LECT32_NAVIGATE_DOCUMENT_UPDATE_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

inline constexpr UINT kTreeAppearanceChanged = 19990;
inline constexpr UINT kLinkedSetChanged = 19991;
inline constexpr UINT kContentsTreeChanged = 19992;
inline constexpr UINT kPropertiesChanged = 19993;
inline constexpr UINT kPageFilesChanged = 19994;

// What a reload reads again; the reader's windows and tables answer it.
class DocumentReloader {
public:
    virtual ~DocumentReloader() = default;
    // Every message: the style sheet, the colour table, the font table (both font caches
    // emptied) and the file-name table of kind 1.
    virtual void ReloadTables() = 0;
    virtual void ReloadTreeAppearance() = 0;
    virtual void ReloadLinkedSet() = 0;
    virtual void ReloadContentsTree() = 0;
    // The properties record, the file-name table of kind 3 and the current page shown again.
    virtual void ReloadProperties() = 0;
    // The file-name tables of kinds 3 and 4, the embedded-file tables and the current page
    // shown again.
    virtual void ReloadPageFiles() = 0;
    virtual uint16_t CurrentPage() const = 0;
};

// The sum of the path's bytes as signed 8-bit values, after the cp1250 lower-casing.
int32_t DocumentPathSum(const char* path);

// Reloads what the message names when it is one of 19990 to 19994, a document is open
// ('documentPath' not null nor empty) and lParam is its path sum; true when it reloaded.
bool HandleDocumentUpdateMessage(UINT message, WPARAM wParam, LPARAM lParam, const char* documentPath,
                                 DocumentReloader& reloader);

}  // namespace lect32

#endif
