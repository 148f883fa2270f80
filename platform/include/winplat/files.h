/* Files, folders and paths.
 *
 * Paths are Windows paths in cp1250: "C:\a\b", "\a" (root of the current drive), "a\b" and
 * "..\x" (from the current directory of the drive), with '\' or '/'. Drive letters stand for host
 * folders (WINPLAT_DRIVES="C:/;D:/media/cd"; C: is "/" by default), names are UTF-8 on disk and
 * found without regard to case. Sharing modes are accepted and not enforced. File positions
 * beyond 4 GB are reached only through the high-part arguments; without them such a position
 * fails instead of wrapping. */
#ifndef WINPLAT_FILES_H
#define WINPLAT_FILES_H

#include "winplat/types.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_FILE_ATTRIBUTES ((DWORD)0xFFFFFFFFu)

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER ((DWORD)0xFFFFFFFFu)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFFu)

/* 100-nanosecond ticks since 1601-01-01 UTC. */
typedef struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

/* Accepted only with no descriptor and no inheritance (what a null pointer means). */
typedef struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

/* What GetFileInformationByHandle reports of an open file. */
typedef struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
} BY_HANDLE_FILE_INFORMATION, *LPBY_HANDLE_FILE_INFORMATION;

/* Asynchronous I/O is not offered: the calls taking one require a null pointer. */
typedef struct OVERLAPPED OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

WINPLAT_BEGIN_C

/* Opens or creates a file. 'access' is GENERIC_READ and/or GENERIC_WRITE; 'flagsAndAttributes'
 * 0 or FILE_ATTRIBUTE_NORMAL; 'templateFile' NULL. CREATE_ALWAYS and OPEN_ALWAYS on an existing
 * file succeed with ERROR_ALREADY_EXISTS as last error (NO_ERROR when they created it); CREATE_NEW
 * on one fails with ERROR_FILE_EXISTS. A folder, or a read-only file opened for writing, fails with
 * ERROR_ACCESS_DENIED. INVALID_HANDLE_VALUE on failure. */
WINPLAT_API HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);

/* Read and write at the file pointer and move it. 'overlapped' must be NULL. Reading at the end
 * succeeds with 0 bytes. */
WINPLAT_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
WINPLAT_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                           LPOVERLAPPED overlapped);

/* Moves the file pointer and returns its low 32 bits (the high ones in *distanceHigh when given;
 * then the distance is the 64-bit value of both parts, else 'distance' sign-extended). A position
 * before the start fails with ERROR_NEGATIVE_SEEK, one beyond 4 GB without 'distanceHigh' with
 * ERROR_INVALID_PARAMETER; both leave the pointer where it was and return
 * INVALID_SET_FILE_POINTER. On success the last error is NO_ERROR. */
WINPLAT_API DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod);

/* The size's low 32 bits (the high ones in *sizeHigh when given). A size beyond 4 GB without
 * 'sizeHigh' fails: INVALID_FILE_SIZE with ERROR_INVALID_PARAMETER. */
WINPLAT_API DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);

/* Cuts or extends the file to the file pointer. */
WINPLAT_API BOOL SetEndOfFile(HANDLE file);

/* The host keeps no creation time: it reads as the last-write time, and setting it alone changes
 * nothing. A NULL or all-zero time is left as it is. Setting needs GENERIC_WRITE. */
WINPLAT_API BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);
WINPLAT_API BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                             const FILETIME* lastWrite);

/* The open file's attributes (FILE_ATTRIBUTE_ARCHIVE, and FILE_ATTRIBUTE_READONLY when no one may
 * write it), times as GetFileTime gives them, size, the volume and index that name the file on its
 * volume, and its number of names: 0 once the file was deleted or replaced by another under its
 * name while the handle stays open. */
WINPLAT_API BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);

/* Closes a file, process or thread handle (winplat/process.h). */
WINPLAT_API BOOL CloseHandle(HANDLE object);

/* A read-only file cannot be deleted (ERROR_ACCESS_DENIED), nor can a folder. */
WINPLAT_API BOOL DeleteFileA(LPCSTR fileName);

/* Renames or moves a file or folder, across folders and (files only) across host file systems.
 * Never replaces: an existing target fails with ERROR_ALREADY_EXISTS. A name that differs from the
 * old one only in case renames it to that case. */
WINPLAT_API BOOL MoveFileA(LPCSTR existingName, LPCSTR newName);

#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_COPY_ALLOWED 0x00000002u

/* MoveFileA, or with MOVEFILE_REPLACE_EXISTING a rename that replaces an existing file in one
 * step (saves write a temporary file beside the target and move it over). A folder is never
 * replaced. Within one host file system only when replacing. */
WINPLAT_API BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags);

/* ERROR_ALREADY_EXISTS when the name exists, ERROR_PATH_NOT_FOUND when its parent does not. */
WINPLAT_API BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security);

/* Removes an empty folder: ERROR_DIR_NOT_EMPTY while it holds anything, ERROR_DIRECTORY for a
 * file, ERROR_FILE_NOT_FOUND when it does not exist (ERROR_PATH_NOT_FOUND when its parent does not). */
WINPLAT_API BOOL RemoveDirectoryA(LPCSTR pathName);

/* FILE_ATTRIBUTE_DIRECTORY for folders; files always have FILE_ATTRIBUTE_ARCHIVE, and
 * FILE_ATTRIBUTE_READONLY when they cannot be written; names starting with '.' are
 * FILE_ATTRIBUTE_HIDDEN. INVALID_FILE_ATTRIBUTES when the name does not exist. */
WINPLAT_API DWORD GetFileAttributesA(LPCSTR fileName);

/* The current directory of the current drive ("C:\work", "D:\"): its length when it fits with its
 * terminating zero, else the size needed including the zero (the buffer is left alone). */
WINPLAT_API DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

/* Makes the folder the current directory of its drive and its drive the current drive. A missing
 * folder fails with ERROR_FILE_NOT_FOUND (ERROR_PATH_NOT_FOUND when a folder above it is missing),
 * a file with ERROR_DIRECTORY. */
WINPLAT_API BOOL SetCurrentDirectoryA(LPCSTR pathName);

/* The drives of the drive table, bit 0 for A: up to bit 25 for Z:. */
WINPLAT_API DWORD GetLogicalDrives(void);

/* The host's temporary folder (TMPDIR, else /tmp) in drive form with a trailing '\'. Returns the
 * length when it fits with its zero, else the size needed including the zero; 0 on failure. */
WINPLAT_API DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

/* Makes "<path>\<first 3 characters of prefix><hex number>.TMP" in 'tempFileName' (MAX_PATH
 * bytes). With 'unique' 0 a number is chosen whose file does not exist yet and the file is
 * created, empty; otherwise the name is only made, from the low 16 bits of 'unique'. Returns the
 * number used, 0 on failure. */
WINPLAT_API UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName);

WINPLAT_END_C

#endif
