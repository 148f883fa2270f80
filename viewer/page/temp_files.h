// The temporary files that page objects write (a picture handed to another program, a medium
// played from a file): one process-wide table of their paths, so that whoever frees an object
// deletes its file by the index the object keeps.
#ifndef LECT32_PAGE_TEMP_FILES_H
#define LECT32_PAGE_TEMP_FILES_H

#include <cstdint>

namespace lect32 {

class FileNameTable;

// Adds the path (kept as given, letter case included); the entry's index, -1 when it cannot be
// added. The same path added twice shares one entry.
int16_t AddTempFile(const char* path);
// Deletes the file of entry 'index' and gives up the entry; nothing for an index without one.
void DeleteTempFile(int16_t index);

// The table itself, for code that lists or checks it.
FileNameTable& TempFileTable();

}  // namespace lect32

#endif
