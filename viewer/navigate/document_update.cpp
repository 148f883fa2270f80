#include "navigate/document_update.h"

#include "winplat/cp1250.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: document update");

bool IsUpdateMessage(UINT message) { return message >= kTreeAppearanceChanged && message <= kPageFilesChanged; }

// The further reload of each message, after the tables every message reloads.
void ReloadFor(UINT message, WPARAM wParam, DocumentReloader& reloader) {
    switch (message) {
    case kTreeAppearanceChanged:
        reloader.ReloadTreeAppearance();
        break;
    case kLinkedSetChanged:
        reloader.ReloadLinkedSet();
        break;
    case kContentsTreeChanged:
        reloader.ReloadContentsTree();
        break;
    case kPropertiesChanged:
        reloader.ReloadProperties();
        break;
    case kPageFilesChanged:
        if (wParam == reloader.CurrentPage()) reloader.ReloadPageFiles();
        break;
    default:
        break;
    }
}

}  // namespace

int32_t DocumentPathSum(const char* path) {
    int32_t sum = 0;
    for (const char* c = path; *c; ++c) sum += static_cast<int8_t>(winplat::cp1250::toLower(static_cast<uint8_t>(*c)));
    return sum;
}

bool HandleDocumentUpdateMessage(UINT message, WPARAM wParam, LPARAM lParam, const char* documentPath,
                                 DocumentReloader& reloader) {
    if (!IsUpdateMessage(message)) return false;
    if (!documentPath || !*documentPath) return refuse(false, "no document is open");
    // The sender put a 32-bit int into lParam; only those bits are compared.
    if (static_cast<int32_t>(lParam) != DocumentPathSum(documentPath)) {
        return refuse(false, "the message names another document");
    }
    reloader.ReloadTables();
    ReloadFor(message, wParam, reloader);
    return true;
}

}  // namespace lect32
