/* The registry.
 *
 * The registry is one text file in the state folder (WINPLAT_STATE, else
 * $XDG_CONFIG_HOME/winplat, else ~/.config/winplat), "registry.txt"; its format is described in
 * platform/src/registry/store_format.h. It is read once into memory: queries never touch the
 * file. Each change is written through a temporary file renamed over the store, under an
 * advisory lock, after re-reading the store when another process changed it. Key and value
 * names are cp1250, matched without regard to case and kept in the case they were created in.
 *
 * The calls return a Windows error code (ERROR_SUCCESS on success); sub-keys and values are
 * listed in the order they were created. */
#ifndef WINPLAT_REGISTRY_H
#define WINPLAT_REGISTRY_H

#include "winplat/files.h"
#include "winplat/types.h"

WINPLAT_DECLARE_HANDLE(HKEY);
typedef HKEY* PHKEY;
typedef DWORD REGSAM;

/* Roots are fixed numbers, never table handles: scripts pass them as integers. */
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)
#define HKEY_PERFORMANCE_DATA ((HKEY)(ULONG_PTR)0x80000004u)
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)0x80000005u)
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)0x80000006u)

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

#define REG_OPTION_NON_VOLATILE 0x00000000u
#define REG_CREATED_NEW_KEY 0x00000001u
#define REG_OPENED_EXISTING_KEY 0x00000002u

/* Access rights are accepted and not enforced. */
#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu

#define ERROR_BAD_PATHNAME 161L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_KEY_DELETED 1018L
#define ERROR_CANTWRITE 1013L

WINPLAT_BEGIN_C

/* Opens a key below an open key or root; a NULL or empty sub-key opens the key itself again. */
WINPLAT_API LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result);
WINPLAT_API LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);

/* Opens the key, creating it and the keys above it when missing. */
WINPLAT_API LONG RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result);
WINPLAT_API LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                                 REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                                 LPDWORD disposition);

/* A value's type and data. With 'data' NULL and 'dataSize' given, *dataSize receives the size
 * needed (ERROR_SUCCESS); with data too small, ERROR_MORE_DATA and the size needed (the buffer's
 * content is then unspecified). Strings stored without their terminating zero get one when
 * there is room for it. A NULL or empty name is the key's default value. */
WINPLAT_API LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                  LPDWORD dataSize);

/* The default value (a string) of a sub-key; a key without one gives an empty string. */
WINPLAT_API LONG RegQueryValueA(HKEY key, LPCSTR subKey, LPSTR value, PLONG valueSize);

WINPLAT_API LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                DWORD dataSize);

/* Sets the default value of a sub-key (created when missing) to a string; 'type' must be REG_SZ. */
WINPLAT_API LONG RegSetValueA(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD dataSize);

WINPLAT_API LONG RegDeleteValueA(HKEY key, LPCSTR valueName);

/* Deletes a key that has no sub-keys (ERROR_ACCESS_DENIED otherwise). Roots cannot be deleted. */
WINPLAT_API LONG RegDeleteKeyA(HKEY key, LPCSTR subKey);

/* The index-th sub-key or value, in the order they were created; ERROR_NO_MORE_ITEMS past the
 * last. Sizes are in characters without the terminating zero on return, with it on entry. */
WINPLAT_API LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                               LPSTR keyClass, LPDWORD classSize, LPFILETIME lastWriteTime);
WINPLAT_API LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize,
                               LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);

WINPLAT_API LONG RegCloseKey(HKEY key);

/* Every change is on disk when its call returns: nothing is left to flush. */
WINPLAT_API LONG RegFlushKey(HKEY key);

WINPLAT_END_C

#endif
