// The process-wide tables of the open document's files that the page code shares: the file-name
// table and the picture cache, each with its own folder pool. They are made on first use and
// destroyed at exit in the reverse order of their making (tables before their pools).
#ifndef LECT32_STORE_DOCUMENT_TABLES_H
#define LECT32_STORE_DOCUMENT_TABLES_H

#include <cstdint>

#include "store/file_name_table.h"
#include "store/string_pool.h"

namespace lect32 {

StringPool& documentFolderPool();
StringPool& pictureFolderPool();
// Bound to documentFolderPool().
FileNameTable& documentFileNames();
// Bound to pictureFolderPool(); in memory only.
ImageFileTable& pictureCache();

// The header of entry n of each table (block + header size x n), for page code that walks a
// table directly: valid while that table is locked, null when it is not or n is out of range.
uint8_t* documentFileNameEntry(uint16_t n);
uint8_t* pictureCacheEntry(uint16_t n);

}  // namespace lect32

#endif
