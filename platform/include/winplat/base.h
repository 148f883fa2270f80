/* Base calls: last error, MulDiv, cp1250 character case and string helpers. */
#ifndef WINPLAT_BASE_H
#define WINPLAT_BASE_H

#include "winplat/types.h"

WINPLAT_BEGIN_C

WINPLAT_API DWORD GetLastError(void);
WINPLAT_API void SetLastError(DWORD error);

/* a * b / c on a 64-bit product, rounded half away from zero; -1 when c is 0 or the result
 * does not fit in 32 bits. */
WINPLAT_API int MulDiv(int a, int b, int c);

/* Case by the Windows-1250 rules: Czech, Slovak, Polish and the other Central European letters
 * change case too. A pointer whose high bits are zero is a single character (as on Windows). */
WINPLAT_API LPSTR CharLowerA(LPSTR text);
WINPLAT_API LPSTR CharUpperA(LPSTR text);
WINPLAT_API DWORD CharLowerBuffA(LPSTR text, DWORD length);
WINPLAT_API DWORD CharUpperBuffA(LPSTR text, DWORD length);
/* Compares after cp1250 lower-casing; <0, 0, >0. */
WINPLAT_API int lstrcmpiA(LPCSTR a, LPCSTR b);

WINPLAT_END_C

#endif
