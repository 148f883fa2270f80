// The files of a folder that match a Windows wildcard mask, for the lists the shell fills (the
// language files of "lng\", for one).
#ifndef LECT32_SHELL_FOLDER_FILES_H
#define LECT32_SHELL_FOLDER_FILES_H

#include <cstdint>
#include <string_view>

namespace lect32 {

class StringList;

enum class FileNaming : uint8_t { Bare, FullPath };

// Whether a name matches a mask: '*' any run, '?' one character, letters without regard to case
// (cp1250); a mask ending in ".*" also takes a name without an extension.
bool MatchesFileMask(std::string_view mask, std::string_view name);

// Adds to the list each file (not folder) of the folder whose name matches the mask, in name
// order, as its bare name or as the folder's path, a backslash and the name. Returns the number
// added: 0 when the folder cannot be read or nothing matches. A name the list cannot take (a
// full path over 255 characters) is left out.
uint16_t ListFilesInFolder(const char* folder, StringList& list, const char* mask, FileNaming naming);

}  // namespace lect32

#endif
