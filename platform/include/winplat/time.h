/* The host clock as the programs see it. Under the virtual clock of tests, Sleep advances time at
 * once instead of waiting. */
#ifndef WINPLAT_TIME_H
#define WINPLAT_TIME_H

#include "winplat/types.h"

#define INFINITE 0xFFFFFFFFu

WINPLAT_BEGIN_C

/* Milliseconds since the host started, wrapping at 2^32. */
WINPLAT_API DWORD GetTickCount(void);
WINPLAT_API void Sleep(DWORD milliseconds);

WINPLAT_END_C

#endif
