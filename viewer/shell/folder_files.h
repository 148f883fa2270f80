// The files of a folder that match a Windows wildcard mask, for the lists the shell fills (the
// language files of "lng\", for one).
#ifndef LECT32_SHELL_FOLDER_FILES_H
#define LECT32_SHELL_FOLDER_FILES_H

#include <cstdint>

namespace lect32 {

class StringList;

enum class FileNaming : uint8_t { Bare, FullPath };

// Adds to the list each file (not folder) of the folder whose name matches the mask (Windows
// wildcards, as PathMatchSpecA takes them), in name order, as its bare name or as the folder's
// path, a backslash and the name. Returns the number added: 0 when the folder cannot be read or
// nothing matches. A name the list cannot take (a full path over 255 characters) is left out.
uint16_t ListFilesInFolder(const char* folder, StringList& list, const char* mask, FileNaming naming);

}  // namespace lect32

#endif
