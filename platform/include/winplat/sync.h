/* Critical sections: recursive, as on Windows. */
#ifndef WINPLAT_SYNC_H
#define WINPLAT_SYNC_H

#include "winplat/types.h"

typedef struct CRITICAL_SECTION {
    void* impl; /* owned by the layer between Initialize and Delete */
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

WINPLAT_BEGIN_C

WINPLAT_API void InitializeCriticalSection(LPCRITICAL_SECTION section);
WINPLAT_API void DeleteCriticalSection(LPCRITICAL_SECTION section);
WINPLAT_API void EnterCriticalSection(LPCRITICAL_SECTION section);
WINPLAT_API void LeaveCriticalSection(LPCRITICAL_SECTION section);
WINPLAT_API BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);

/* The calling thread's number as the system knows it (never 0). */
WINPLAT_API DWORD GetCurrentThreadId(void);

WINPLAT_END_C

#endif
