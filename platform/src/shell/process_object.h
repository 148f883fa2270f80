// A started program behind its process and thread handles: its host id, and its exit once it has
// ended, which a thread of its own waits for so that the ended process leaves no zombie whether
// or not its handles are still open.
#ifndef WINPLAT_SRC_SHELL_PROCESS_OBJECT_H
#define WINPLAT_SRC_SHELL_PROCESS_OBJECT_H

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "winplat/handles.h"
#include "winplat/host.h"

namespace winplat::shell {

class ProcessRun {
public:
    // Watches a started process; one that only a recorder ran (pid 0) has ended already.
    static std::shared_ptr<ProcessRun> watch(const host::Launched& launched);

    int pid() const { return pid_; }
    // STILL_ACTIVE while it runs.
    DWORD exitCode() const;
    // Whether it ended within the time (real milliseconds; INFINITE waits for ever).
    bool waitEnd(DWORD milliseconds) const;

private:
    explicit ProcessRun(int pid) : pid_(pid) {}
    void ended(DWORD code);

    int pid_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool ended_ = false;
    DWORD exitCode_ = 0;
};

// What a process or thread handle holds.
struct ProcessHandleObject final : HandleObject {
    explicit ProcessHandleObject(std::shared_ptr<ProcessRun> r) : run(std::move(r)) {}
    std::shared_ptr<ProcessRun> run;
};

// The run behind a process or thread handle; null (ERROR_INVALID_HANDLE) for anything else.
std::shared_ptr<ProcessRun> runOf(HANDLE handle);

}  // namespace winplat::shell

#endif
