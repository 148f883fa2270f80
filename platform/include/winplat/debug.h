/* Debug output: goes to the host log, which is silent unless WINPLAT_DEBUG is set in the
 * environment (then it is written to stderr in UTF-8). Tests capture it. */
#ifndef WINPLAT_DEBUG_H
#define WINPLAT_DEBUG_H

#include "winplat/types.h"

WINPLAT_BEGIN_C

WINPLAT_API void OutputDebugStringA(LPCSTR text);

WINPLAT_END_C

#endif
