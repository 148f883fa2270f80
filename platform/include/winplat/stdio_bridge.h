/* C streams and descriptors on the layer's files, for code that reads and writes through stdio or
 * hands a descriptor to a library: they reach the same host files as the Windows file calls. */
#ifndef WINPLAT_STDIO_BRIDGE_H
#define WINPLAT_STDIO_BRIDGE_H

#include <stdio.h>

#include "winplat/types.h"

WINPLAT_BEGIN_C

/* fopen on a Windows path (cp1250). Modes "r", "w", "a" with "+" and "b" as in C; a "t" is dropped.
 * "w" and "a" may create the last component (in the case given) when no name matches it. A
 * read-only file opened for writing fails with EACCES, as it would for CreateFileA. NULL with
 * errno set on failure. */
WINPLAT_API FILE* winplat_fopen(const char* winPath, const char* mode);

/* The POSIX descriptor behind a file handle, owned by the handle (valid until CloseHandle);
 * -1 with ERROR_INVALID_HANDLE for anything that is not an open file handle. */
WINPLAT_API int winplat_handle_fd(HANDLE file);

WINPLAT_END_C

#endif
