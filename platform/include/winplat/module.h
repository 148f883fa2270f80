/* Modules and their compiled-in resources.
 *
 * Every program and library registers a module descriptor when it is loaded (the resource compiler
 * generates it); its HINSTANCE is the handle of that descriptor. */
#ifndef WINPLAT_MODULE_H
#define WINPLAT_MODULE_H

#include "winplat/types.h"

WINPLAT_BEGIN_C

/* The path of the module (NULL: the running program) in drive form, "C:\...". Copies at most
 * size - 1 characters and a terminating zero; when that cuts the path, returns size with
 * ERROR_INSUFFICIENT_BUFFER, else the length copied. 0 on failure. */
WINPLAT_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

/* The registered module with that Windows file name (case-insensitive, with or without its
 * folder); NULL: the running program's own module when one is registered as such. */
WINPLAT_API HMODULE GetModuleHandleA(LPCSTR name);

/* Copies string resource 'id' of the module (cp1250) into the buffer, cut to size - 1 bytes and
 * terminated; returns the number of bytes copied, 0 when there is no such string. */
WINPLAT_API int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);

WINPLAT_END_C

#endif
