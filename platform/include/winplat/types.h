/* Base types of the Windows-shaped layer. Usable from C and C++.
 *
 * Integer widths are the ones stored files and 32-bit callers expect: DWORD and LONG are 32 bits on
 * 64-bit Linux too. Handles are opaque pointer types whose value is a 32-bit table entry, so a
 * handle survives a round trip through any 32-bit field, and small integers such as
 * "system colour + 1" used as a brush never collide with a live handle. */
#ifndef WINPLAT_TYPES_H
#define WINPLAT_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define WINPLAT_EXTERN_C extern "C"
#define WINPLAT_BEGIN_C extern "C" {
#define WINPLAT_END_C }
#else
#define WINPLAT_EXTERN_C
#define WINPLAT_BEGIN_C
#define WINPLAT_END_C
#endif

#define WINPLAT_API __attribute__((visibility("default")))
#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef size_t SIZE_T;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;

typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* PLONG;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAKEWORD(lo, hi) ((WORD)(((BYTE)(lo)) | ((WORD)((BYTE)(hi))) << 8))
#define MAKELONG(lo, hi) ((LONG)(((WORD)(lo)) | ((DWORD)((WORD)(hi))) << 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))

typedef void* HANDLE;
typedef HANDLE* PHANDLE;
typedef void* HGDIOBJ;

#define WINPLAT_DECLARE_HANDLE(name) \
    struct name##__;                 \
    typedef struct name##__* name

WINPLAT_DECLARE_HANDLE(HGLOBAL);
WINPLAT_DECLARE_HANDLE(HINSTANCE);
WINPLAT_DECLARE_HANDLE(HWND);
WINPLAT_DECLARE_HANDLE(HDC);
WINPLAT_DECLARE_HANDLE(HBITMAP);
WINPLAT_DECLARE_HANDLE(HPALETTE);
WINPLAT_DECLARE_HANDLE(HPEN);
WINPLAT_DECLARE_HANDLE(HBRUSH);
WINPLAT_DECLARE_HANDLE(HFONT);
WINPLAT_DECLARE_HANDLE(HRGN);
WINPLAT_DECLARE_HANDLE(HMENU);
WINPLAT_DECLARE_HANDLE(HACCEL);
WINPLAT_DECLARE_HANDLE(HICON);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef WORD ATOM;
typedef HGLOBAL HLOCAL;

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

#define MAX_PATH 260

/* Error codes kept by SetLastError/GetLastError. */
#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_NOT_LOCKED 158L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_DIRECTORY 267L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

#endif
