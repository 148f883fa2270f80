// The document's picture store: a record file of pictures, picture n (from 1) the body of
// numbered record n - 1, stored plain so that a picture is read in place by file offset and
// length. It lies beside the document ("book.lpx" for "book.lcn"), or inside the document's own
// file as companion 1; when both are there, the one beside the document is used.
#ifndef LECT32_PAGE_PICTURE_STORE_H
#define LECT32_PAGE_PICTURE_STORE_H

#include <cstdint>

namespace lect32 {

// Finds picture 'number' of the open document's store: the absolute file offset of its bytes,
// with their length in 'length' and the file that holds them in 'storePath' (kDocumentPathBuffer
// bytes). 0 when there is no store, the store lacks the picture, or 'number' is 0; then 'length'
// is 0 and 'storePath' unchanged.
uint32_t OpenPictureStore(uint16_t number, uint32_t* length, char* storePath);

}  // namespace lect32

#endif
