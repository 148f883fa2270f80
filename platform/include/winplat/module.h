/* Modules and their compiled-in resources.
 *
 * Every program and library registers a module descriptor when it is loaded (the resource compiler
 * generates it); its HINSTANCE is the handle of that descriptor. */
#ifndef WINPLAT_MODULE_H
#define WINPLAT_MODULE_H

#include "winplat/types.h"

WINPLAT_BEGIN_C

/* A resource found in a module; valid while the module is loaded. */
WINPLAT_DECLARE_HANDLE(HRSRC);

/* A resource name or type given by number rather than by text. */
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(p) ((((ULONG_PTR)(p)) >> 16) == 0)

/* Resource types. */
#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_ACCELERATOR MAKEINTRESOURCEA(9)

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

/* The resource of that type and name in the module (NULL: the running program). Name and type are
 * each a number (MAKEINTRESOURCEA, or a text "#123") or a text; texts are matched without regard
 * to case. NULL with ERROR_RESOURCE_NAME_NOT_FOUND or ERROR_RESOURCE_TYPE_NOT_FOUND. */
WINPLAT_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);

/* A handle to the resource's bytes, which stay in the module: nothing is copied, and the handle
 * is no global memory block (GlobalLock refuses it; LockResource answers it). 'module' is the one
 * FindResourceA searched, or NULL. */
WINPLAT_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);

/* The first byte of a loaded resource, valid while its module is loaded; NULL for anything else. */
WINPLAT_API LPVOID LockResource(HGLOBAL loaded);

/* The size of the resource's bytes; 0 when 'resource' is none. */
WINPLAT_API DWORD SizeofResource(HMODULE module, HRSRC resource);

/* Nothing to release: resources stay with their module. Returns FALSE, as 32-bit Windows does. */
WINPLAT_API BOOL FreeResource(HGLOBAL loaded);

WINPLAT_END_C

#endif
