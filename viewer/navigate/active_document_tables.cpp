#include "navigate/active_document_tables.h"

#include "page/properties_record.h"
#include "store/document_tables.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"

namespace lect32 {

namespace {

constexpr int kPictureNames = 1;

}  // namespace

// Each table falls back to its own defaults when the new document lacks its record.
void ActiveDocumentTables::Reload(VazaziFile& document) {
    properties_.Read();
    GetStyleSheet().Load(document);
    GetDocumentFonts().Load(document, PlatformFaceProbe());
    GetTextFontCache().Clear();
    GetMarkerFontCache().Clear();
    documentFileNames().LoadFromDocument(kPictureNames, nullptr, &document);
}

}  // namespace lect32
