/* Which Windows the layer stands for. The programs ask to choose their paths: they take the NT
 * paths, which are the ones built here, when the answer is Windows NT 4.0 or later. */
#ifndef WINPLAT_VERSION_H
#define WINPLAT_VERSION_H

#include "winplat/types.h"

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize; /* the caller sets it: 148 */
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];    /* the service pack, "" for none */
} OSVERSIONINFOA, *LPOSVERSIONINFOA;

WINPLAT_BEGIN_C

/* Low byte the major version, second byte the minor version; the high bit clear on NT, where the
 * high word holds the build number. */
WINPLAT_API DWORD GetVersion(void);

/* Fills the record; FALSE with ERROR_INSUFFICIENT_BUFFER when dwOSVersionInfoSize is not the
 * record's size. */
WINPLAT_API BOOL GetVersionExA(LPOSVERSIONINFOA info);

WINPLAT_END_C

#endif
