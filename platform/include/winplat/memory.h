/* Global memory blocks: moveable blocks are reached through GlobalLock while locked and may move
 * when reallocated unlocked; fixed blocks never move on their own. */
#ifndef WINPLAT_MEMORY_H
#define WINPLAT_MEMORY_H

#include "winplat/types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GMEM_DISCARDED 0x4000
#define GMEM_INVALID_HANDLE 0x8000
#define GMEM_LOCKCOUNT 0x00FF
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

WINPLAT_BEGIN_C

WINPLAT_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
WINPLAT_API HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
WINPLAT_API LPVOID GlobalLock(HGLOBAL block);
WINPLAT_API BOOL GlobalUnlock(HGLOBAL block);
/* NULL on success, the block itself when it cannot be freed. */
WINPLAT_API HGLOBAL GlobalFree(HGLOBAL block);
/* The size asked for, 0 for an invalid or discarded block. */
WINPLAT_API SIZE_T GlobalSize(HGLOBAL block);
/* Lock count in the low byte with GMEM_DISCARDED / GMEM_DISCARDABLE; GMEM_INVALID_HANDLE when the
 * handle is not a block. */
WINPLAT_API UINT GlobalFlags(HGLOBAL block);
/* The block whose data starts at the pointer, or NULL. */
WINPLAT_API HGLOBAL GlobalHandle(LPCVOID data);

WINPLAT_END_C

#endif
