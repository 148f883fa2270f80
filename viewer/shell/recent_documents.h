// The recent documents: up to six paths kept, newest first, as the string values "0" to "5" of
// the registry sub-key "MRU" below the reader's key, and shown in the File menu (the first
// drop-down of the main window's bar) as commands 1100 and up.
#ifndef LECT32_SHELL_RECENT_DOCUMENTS_H
#define LECT32_SHELL_RECENT_DOCUMENTS_H

#include <string>
#include <vector>

#include "winplat/user.h"

namespace lect32 {

inline constexpr UINT kFirstRecentCommand = 1100;
inline constexpr int kMaxRecentDocuments = 6;

// The stored paths, newest first, up to the first missing or empty value; none when the key
// cannot be opened.
std::vector<std::string> ReadRecentDocuments();

// Takes the recent entries (and the separator that came with them) out of the File menu of the
// main window, then inserts them afresh before its last two items (a separator and Exit): a
// separator, then "&1  path", "&2  path", ... with the paths in lower case. Nothing happens
// without a main window, a menu bar or a File drop-down.
void BuildRecentDocumentsMenu();

}  // namespace lect32

#endif
