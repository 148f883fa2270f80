#include "store/document_tables.h"

namespace lect32 {

// Each table asks for its pool first, so the pool is made before it and outlives it at exit.
StringPool& documentFolderPool() {
    static StringPool pool;
    return pool;
}

StringPool& pictureFolderPool() {
    static StringPool pool;
    return pool;
}

FileNameTable& documentFileNames() {
    static FileNameTable table(documentFolderPool());
    return table;
}

ImageFileTable& pictureCache() {
    static ImageFileTable table(pictureFolderPool());
    return table;
}

FileNameTable& soundFileNames() {
    static StringPool folders;
    static FileNameTable table(folders);
    return table;
}

FileNameTable& videoFileNames() {
    static StringPool folders;
    static FileNameTable table(folders);
    return table;
}

FileNameTable* mediaList(int kind) {
    switch (kind) {
    case 1: return &documentFileNames();
    case kSoundList: return &soundFileNames();
    case kVideoList: return &videoFileNames();
    default: return nullptr;
    }
}

uint8_t* documentFileNameEntry(uint16_t n) { return documentFileNames().EntryHeader(n); }

uint8_t* pictureCacheEntry(uint16_t n) { return pictureCache().EntryHeader(n); }

}  // namespace lect32
