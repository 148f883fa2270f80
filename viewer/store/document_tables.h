// The process-wide tables of the open document's files that the page code shares: the file-name
// table of pictures, the picture cache and the media lists of sounds (document record type 10,
// kind 3) and videos (record type 11, kind 4), each with its own folder pool. They are made on first use and
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

// The media lists: kind 3 the sounds that sound objects and the page's background sound name,
// kind 4 the videos of video objects.
inline constexpr int kSoundList = 3;
inline constexpr int kVideoList = 4;
FileNameTable& soundFileNames();
FileNameTable& videoFileNames();
// The list of a kind (1 pictures, 3 sounds, 4 videos); null for any other kind.
FileNameTable* mediaList(int kind);

// The header of entry n of each table (block + header size x n), for page code that walks a
// table directly: valid while that table is locked, null when it is not or n is out of range.
uint8_t* documentFileNameEntry(uint16_t n);
uint8_t* pictureCacheEntry(uint16_t n);

}  // namespace lect32

#endif
