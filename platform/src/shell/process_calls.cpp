// WinExec, CreateProcessA and what a caller asks of the process it started.
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/call_refusal.h"
#include "shell/process_start.h"
#include "shell/spawner.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/paths.h"
#include "winplat/process.h"
#include "winplat/user.h"

using namespace winplat;
using namespace winplat::shell;

namespace {

// What WinExec returns for a program that started: anything above 31 says so.
constexpr UINT kStarted = 33;
constexpr uint32_t kCurrentProcess = 0xFFFFFFFFu;  // the pseudo handle, (HANDLE)-1
constexpr DWORD kPriorityClasses = IDLE_PRIORITY_CLASS | BELOW_NORMAL_PRIORITY_CLASS | NORMAL_PRIORITY_CLASS |
                                   ABOVE_NORMAL_PRIORITY_CLASS | HIGH_PRIORITY_CLASS | REALTIME_PRIORITY_CLASS;

// A handle of the run, or 0 when the table is full.
HANDLE addHandle(HandleType type, const std::shared_ptr<ProcessRun>& run) {
    return makeHandle<HANDLE>(handleTable().add(type, std::make_shared<ProcessHandleObject>(run)));
}

// The host process a handle names: 0, the running one, for the pseudo handle; -1 for none, or
// for one that ended (its number may be another's by now) or never ran on the host.
int pidOf(HANDLE process) {
    if (handleValue(process) == kCurrentProcess) return 0;
    const auto run = runOf(process);
    if (!run) return -1;
    if (run->pid() <= 0 || run->exitCode() != STILL_ACTIVE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    return run->pid();
}

DWORD classOfNiceness(int niceness) {
    if (niceness >= 15) return IDLE_PRIORITY_CLASS;
    if (niceness >= 5) return BELOW_NORMAL_PRIORITY_CLASS;
    if (niceness > -5) return NORMAL_PRIORITY_CLASS;
    if (niceness > -10) return ABOVE_NORMAL_PRIORITY_CLASS;
    if (niceness > -20) return HIGH_PRIORITY_CLASS;
    return REALTIME_PRIORITY_CLASS;
}

// The host folder of a Windows path; empty with the error when there is none.
std::string hostFolder(LPCSTR windowsFolder, DWORD& error) {
    if (!windowsFolder) return {};
    const auto host = files::resolve(windowsFolder);
    if (!host) error = ERROR_DIRECTORY;
    return host.value_or(std::string());
}

}  // namespace

UINT WinExec(LPCSTR commandLine, UINT show) {
    constexpr CallRefuser refuse("winplat: WinExec");
    if (!commandLine) return refuse(UINT{ERROR_FILE_NOT_FOUND}, "no command line");
    if (show > SW_FORCEMINIMIZE) return refuse.unsupported(UINT{0}, "show command " + std::to_string(show));
    const Started started = startProgram({{}, commandLine, {}, 0});
    if (started.error != 0) {
        SetLastError(started.error);
        // Only these numbers say why; every other failure reads as "out of resources".
        const bool known = started.error == ERROR_FILE_NOT_FOUND || started.error == ERROR_PATH_NOT_FOUND ||
                           started.error == ERROR_BAD_FORMAT;
        return known ? static_cast<UINT>(started.error) : 0;
    }
    return kStarted;
}

BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment, LPCSTR currentDirectory,
                    LPSTARTUPINFOA startupInfo, LPPROCESS_INFORMATION information) {
    constexpr CallRefuser refuse("winplat: CreateProcessA");
    if (!information || !startupInfo) return refuse(FALSE, "no startup or process information record");
    if (!application && !commandLine) return refuse(FALSE, "neither a program nor a command line");
    if (creationFlags & ~kPriorityClasses) return refuse.unsupported(FALSE, "creation flags " + std::to_string(creationFlags));
    if (environment || inheritHandles) return refuse.unsupported(FALSE, "an environment block or inherited handles");
    int niceness = 0;
    const DWORD priority = creationFlags & kPriorityClasses;
    if (priority && !nicenessOf(priority, niceness)) return refuse(FALSE, "more than one priority class");
    DWORD folderError = 0;
    const std::string folder = hostFolder(currentDirectory, folderError);
    if (folderError) return CallRefuser("winplat: CreateProcessA", folderError)(FALSE, "no such current directory");
    const Started started = startProgram({application ? application : "", commandLine ? commandLine : "", folder, niceness});
    if (started.error != 0) {
        SetLastError(started.error);
        return FALSE;
    }
    const HANDLE process = addHandle(HandleType::Process, started.run);
    const HANDLE thread = addHandle(HandleType::Thread, started.run);
    if (!process || !thread) {
        if (process) CloseHandle(process);
        if (thread) CloseHandle(thread);
        return CallRefuser("winplat: CreateProcessA", ERROR_NOT_ENOUGH_MEMORY)(FALSE, "no handle left");
    }
    *information = PROCESS_INFORMATION{process, thread, static_cast<DWORD>(started.run->pid()), static_cast<DWORD>(started.run->pid())};
    return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (handleValue(process) == kCurrentProcess) {
        *exitCode = STILL_ACTIVE;
        return TRUE;
    }
    if (handleTypeOf(handleValue(process)) != HandleType::Process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const auto run = runOf(process);
    if (!run) return FALSE;
    *exitCode = run->exitCode();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    const auto run = runOf(object);
    if (!run) return WAIT_FAILED;
    return run->waitEnd(milliseconds) ? WAIT_OBJECT_0 : static_cast<DWORD>(WAIT_TIMEOUT);
}

HANDLE GetCurrentProcess(void) { return makeHandle<HANDLE>(kCurrentProcess); }

DWORD GetCurrentProcessId(void) { return static_cast<DWORD>(::getpid()); }

DWORD GetPriorityClass(HANDLE process) {
    const int pid = pidOf(process);
    if (pid < 0) return 0;
    errno = 0;
    const int niceness = ::getpriority(PRIO_PROCESS, static_cast<id_t>(pid));
    if (niceness == -1 && errno != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return classOfNiceness(niceness);
}

BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) {
    constexpr CallRefuser refuse("winplat: SetPriorityClass");
    int niceness = 0;
    if (!nicenessOf(priorityClass, niceness)) return refuse(FALSE, "no priority class " + std::to_string(priorityClass));
    const int pid = pidOf(process);
    if (pid < 0) return FALSE;
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), niceness) != 0) {
        return CallRefuser("winplat: SetPriorityClass", ERROR_ACCESS_DENIED)(FALSE, "the host keeps the priority");
    }
    return TRUE;
}
