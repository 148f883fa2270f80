#include "navigate/active_document_tables.h"

#include "page/properties_record.h"
#include "store/document_file_tables.h"
#include "store/document_tables.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"

namespace lect32 {

namespace {

constexpr int kPictureNames = 1;

// A list the new document lacks is emptied: the previous document's entries would name its files.
void reloadList(FileNameTable& list, int kind, VazaziFile& document) {
    if (list.LoadFromDocument(kind, nullptr, &document) == 1) return;
    list.Clear();
    list.folders().Clear();
}

}  // namespace

// Each table falls back to its own defaults when the new document lacks its record.
void ActiveDocumentTables::Reload(VazaziFile& document) {
    properties_.Read();
    GetStyleSheet().Load(document);
    if (!GetDocumentColours().Load(document)) GetDocumentColours().Clear();
    GetDocumentFonts().Load(document, PlatformFaceProbe());
    GetTextFontCache().Clear();
    GetMarkerFontCache().Clear();
    documentFileNames().LoadFromDocument(kPictureNames, nullptr, &document);
    reloadList(soundFileNames(), kSoundList, document);
    reloadList(videoFileNames(), kVideoList, document);
    GetDocumentFileTables().Free();
    GetDocumentFileTables().Load(document);
}

}  // namespace lect32
