// The folder of the reader's own temporary files: made once per process inside the system's
// temporary folder under a name no other process holds (a folder is created exclusively or not
// at all), so that the files in it cannot be planted or swapped by anyone guessing names.
#ifndef LECT32_PAGE_PRIVATE_TEMP_FOLDER_H
#define LECT32_PAGE_PRIVATE_TEMP_FOLDER_H

#include <string>

namespace lect32 {

// The longest extension a temporary file takes over from a stored name.
inline constexpr size_t kMaxTempExtension = 11;

// The extension of a stored file name (after its last '.' that follows its last '\') when it is
// 1 to 11 ASCII letters and digits; "" otherwise, so that no name a document chooses reaches the
// file system beyond a plain suffix.
std::string SafeExtension(const char* storedName);

// Creates a new empty file in the private folder (made first when needed), exclusively, named
// with 'extension' (none when empty). Its path in 'out' (kDocumentPathBuffer bytes); false when
// no file could be made.
bool CreatePrivateTempFile(const std::string& extension, char* out);

// The private folder's path ("" before the first file); the folder is removed when it is empty.
const std::string& PrivateTempFolder();
void RemovePrivateTempFolder();

}  // namespace lect32

#endif
