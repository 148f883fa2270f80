/* Profile (.ini) files: "[section]" lines and "key=value" lines below them.
 *
 * Section and key names match without regard to case (cp1250 rule). Values lose the blanks
 * around them and one pair of matching quotes. A file's bytes are kept as they are (cp1250 text):
 * a write changes only the line it must and keeps comments, blank lines, unknown lines and the
 * file's line ends, and replaces the file through a temporary file beside it. A file name without
 * a folder means the Windows folder ("<state>/windows"); other names are Windows paths. */
#ifndef WINPLAT_PROFILE_H
#define WINPLAT_PROFILE_H

#include "winplat/types.h"

WINPLAT_BEGIN_C

/* The value of the key in the section, else the default (NULL: "") without its trailing blanks.
 * With 'section' NULL, every section name; with 'key' NULL, every key of the section: each
 * followed by a zero and the list by a second one. Returns the characters copied without the
 * final zero; a string cut short to fit returns size - 1, a list cut short size - 2. A missing
 * file gives the default and leaves ERROR_FILE_NOT_FOUND as the last error. */
WINPLAT_API DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                           DWORD size, LPCSTR fileName);

/* The value read as a decimal number (an optional sign, then digits; anything else ends it, and
 * a value with no digits is 0), or the default when the key is missing. */
WINPLAT_API UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);

/* Sets the key's value, adding the key or the section (and the file) when missing. 'key' NULL
 * deletes the whole section; 'value' NULL deletes the key. All three NULL (a request to flush
 * a cache) succeeds and does nothing: nothing is cached. */
WINPLAT_API BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

/* The same on "win.ini" in the Windows folder. */
WINPLAT_API DWORD GetProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size);
WINPLAT_API UINT GetProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue);
WINPLAT_API BOOL WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value);

WINPLAT_END_C

#endif
