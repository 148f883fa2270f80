// Files a document carries inside itself (pictures, sounds, videos), written out to temporary
// files when another component needs a real file.
//
// The store they come from (the document's companion record file, the temporary-file slots) is
// not built yet: until it is, the extraction is done by the extractor installed here, and with
// none installed nothing can be extracted.
#ifndef LECT32_PAGE_EMBEDDED_FILES_H
#define LECT32_PAGE_EMBEDDED_FILES_H

#include <cstdint>
#include <functional>

namespace lect32 {

// Media kinds of the document's file-name tables.
inline constexpr int kPictureFiles = 1;

// Writes the file of entry 'id' of the document's table of that kind to a temporary file and
// leaves its path in 'path' (kDocumentPathBuffer bytes). 'slot' 0: the caller owns the file;
// 1-6: the file is kept in that slot (reused by the next extraction into it) until exit.
// Returns 0 when it cannot, with 'path' as it was.
int ExtractMediaFile(int kind, uint16_t id, char* path, int slot);

// Who does the extraction; the previous one is replaced, an empty one removes it.
using MediaFileExtractor = std::function<int(int kind, uint16_t id, char* path, int slot)>;
void SetMediaFileExtractor(MediaFileExtractor extractor);

}  // namespace lect32

#endif
