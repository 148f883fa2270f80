// Files a document carries inside itself (pictures, sounds, videos, files for other programs),
// written out to temporary files when another component needs a real file.
//
// The bodies are the numbered records of the embedded-file container: the record file named like
// the document with the extension "lnx" beside it, or else a companion container inside the
// document's own file (record type 14). The temporary files lie in the reader's private folder;
// six program-wide slots keep theirs for reuse until exit.
#ifndef LECT32_PAGE_EMBEDDED_FILES_H
#define LECT32_PAGE_EMBEDDED_FILES_H

#include <cstdint>
#include <functional>

namespace lect32 {

// The tables ExtractMediaFile reads: pictures, sounds, videos, associated files.
inline constexpr int kPictureFiles = 1;
inline constexpr int kSoundFiles = 3;
inline constexpr int kVideoFiles = 4;
inline constexpr int kAssociatedFiles = 5;

inline constexpr int kTempSlots = 6;

// Copies numbered record 'record' of the embedded-file container to a temporary file. 'name'
// (kDocumentPathBuffer bytes) holds the stored file name, whose extension the copy takes when it
// is a plain one, and on success the temporary path. 'container': the companion inside the
// document used when none lies beside it. 'documentPath' null or "": the open document. 'slot' 0:
// a new file the caller owns; 1-6: the slot's file, made once and overwritten by each later
// extraction into it. 1 on success; 0 (name unchanged) otherwise, and for a record with bit
// 0x8000 set.
int ExtractEmbeddedFile(int slot, char* name, uint16_t record, int container, const char* documentPath);

// Writes the body of entry 'id' of the table of 'kind' (its tag numbers the body, 0 = not
// stored) to a temporary file and leaves its path in 'path' (kDocumentPathBuffer bytes). Slot -1
// is slot kind + 1. Pictures come from companion container 1, the other kinds from container 2.
// Returns 0 when it cannot, with 'path' as it was.
int ExtractMediaFile(int kind, uint16_t id, char* path, int slot);

// The path slot n (1-6) keeps, "" when it holds none.
const char* TempSlotPath(int slot);
// Deletes the file of every slot, frees the slots and removes the private folder when nothing
// else is left in it; at document close and program exit.
void DeleteTempFiles();

// Another extractor for ExtractMediaFile (tests of its callers); an empty one restores the
// document's own store.
using MediaFileExtractor = std::function<int(int kind, uint16_t id, char* path, int slot)>;
void SetMediaFileExtractor(MediaFileExtractor extractor);

}  // namespace lect32

#endif
