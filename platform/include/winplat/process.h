/* Starting other programs, and the command line this one was started with.
 *
 * A Windows command line is cut into an argument vector by the rules Windows programs cut theirs
 * with (blanks separate; double quotes group; backslashes are literal unless they come before a
 * quote) and the program runs from that vector through the host launcher (winplat/host.h),
 * never through a shell: no character of the line is ever read as shell syntax. The program is
 * looked for as Windows would find it: a path names a host file (case-insensitively); a bare
 * name is looked for in the running program's folder, the current folder and the host's PATH;
 * "x.exe" that is not there finds "x". Arguments in drive form whose folders exist reach a host
 * program as host paths; text goes as UTF-8.
 *
 * Programs of this system (found in the running program's folder) get the caller's command line
 * as it was written, which GetCommandLineA gives them back; others get only the vector.
 *
 * A process handle lives until CloseHandle; the process itself runs on. */
#ifndef WINPLAT_PROCESS_H
#define WINPLAT_PROCESS_H

#include "winplat/files.h" /* SECURITY_ATTRIBUTES, CloseHandle */
#include "winplat/time.h"  /* INFINITE */
#include "winplat/types.h"

typedef struct _STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;

typedef struct _PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;

#define STARTF_USESHOWWINDOW 0x00000001

/* Priority classes (CreateProcessA's creation flags, Get/SetPriorityClass), each a niceness of
 * the host: idle 19, below normal 10, normal 0, above normal -5, high -10, real-time -20. */
#define IDLE_PRIORITY_CLASS 0x00000040
#define BELOW_NORMAL_PRIORITY_CLASS 0x00004000
#define NORMAL_PRIORITY_CLASS 0x00000020
#define ABOVE_NORMAL_PRIORITY_CLASS 0x00008000
#define HIGH_PRIORITY_CLASS 0x00000080
#define REALTIME_PRIORITY_CLASS 0x00000100

#define STILL_ACTIVE 259
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFF

#define ERROR_BAD_FORMAT 11L

WINPLAT_BEGIN_C

/* Starts the program of the command line. Above 31 when it started; otherwise 0 (out of
 * resources), ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or ERROR_BAD_FORMAT (no program). */
WINPLAT_API UINT WinExec(LPCSTR commandLine, UINT show);

/* Starts a program: 'application' names it (else the command line's first word does), the
 * command line is its arguments (its first word the program's name), 'currentDirectory' (a
 * Windows path) the folder it starts in. Only a priority class is offered among the creation
 * flags, no environment block, no inherited handles. FALSE with the last error when nothing
 * started. The process and thread handles are closed with CloseHandle. */
WINPLAT_API BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                                LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                                LPPROCESS_INFORMATION processInformation);

/* STILL_ACTIVE while the process runs; afterwards its exit status (128 + the signal's number for
 * one a signal ended). */
WINPLAT_API BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);

/* Waits until the process (or its thread) has ended, at most 'milliseconds' of real time (the
 * process is a real one whatever clock the layer keeps): WAIT_OBJECT_0, WAIT_TIMEOUT, or
 * WAIT_FAILED for a handle of another kind. */
WINPLAT_API DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);

/* The running process, as a handle that needs no closing (it is INVALID_HANDLE_VALUE, which
 * CloseHandle refuses). */
WINPLAT_API HANDLE GetCurrentProcess(void);
WINPLAT_API DWORD GetCurrentProcessId(void);

/* The priority class nearest the process's niceness; 0 on failure. */
WINPLAT_API DWORD GetPriorityClass(HANDLE process);
/* Sets the niceness of the class; FALSE (ERROR_ACCESS_DENIED) when the host refuses a higher
 * priority to an unprivileged user. */
WINPLAT_API BOOL SetPriorityClass(HANDLE process, DWORD priorityClass);

/* The command line the program was started with: the caller's own text for a program of this
 * system started by the layer, else one made of the program's arguments, quoted so that the rules
 * above cut it into them again. Valid for the life of the process. */
WINPLAT_API LPSTR GetCommandLineA(void);

WINPLAT_END_C

#endif
