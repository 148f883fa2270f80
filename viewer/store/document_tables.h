// The process-wide tables of the open document's files that the page code shares: the file-name
// table and the picture cache, each with its own folder pool. They are made on first use and
// destroyed at exit in the reverse order of their making (tables before their pools).
#ifndef LECT32_STORE_DOCUMENT_TABLES_H
#define LECT32_STORE_DOCUMENT_TABLES_H

#include "store/file_name_table.h"
#include "store/string_pool.h"

namespace lect32 {

StringPool& documentFolderPool();
StringPool& pictureFolderPool();
// Bound to documentFolderPool().
FileNameTable& documentFileNames();
// Bound to pictureFolderPool(); in memory only.
ImageFileTable& pictureCache();

}  // namespace lect32

#endif
