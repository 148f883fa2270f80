#include "shell/process_object.h"

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "winplat/base.h"
#include "winplat/process.h"

namespace winplat::shell {
namespace {

constexpr DWORD kSignalBase = 128;  // an ended-by-signal status, as shells report it

DWORD statusCode(int status) {
    if (WIFEXITED(status)) return static_cast<DWORD>(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return kSignalBase + static_cast<DWORD>(WTERMSIG(status));
    return 0;
}

}  // namespace

std::shared_ptr<ProcessRun> ProcessRun::watch(const host::Launched& launched) {
    std::shared_ptr<ProcessRun> run(new ProcessRun(launched.pid));
    if (launched.pid <= 0) {
        run->ended(launched.exitCode);
        return run;
    }
    std::thread([run] {
        int status = 0;
        pid_t waited = -1;
        do {
            waited = ::waitpid(run->pid_, &status, 0);
        } while (waited < 0 && errno == EINTR);
        run->ended(waited < 0 ? 0 : statusCode(status));
    }).detach();
    return run;
}

void ProcessRun::ended(DWORD code) {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        exitCode_ = code;
    }
    changed_.notify_all();
}

DWORD ProcessRun::exitCode() const {
    std::lock_guard lock(mutex_);
    return ended_ ? exitCode_ : static_cast<DWORD>(STILL_ACTIVE);
}

bool ProcessRun::waitEnd(DWORD milliseconds) const {
    std::unique_lock lock(mutex_);
    if (milliseconds == INFINITE) {
        changed_.wait(lock, [this] { return ended_; });
        return true;
    }
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return ended_; });
}

std::shared_ptr<ProcessRun> runOf(HANDLE handle) {
    const uint32_t value = handleValue(handle);
    const HandleType type = handleTypeOf(value) == HandleType::Thread ? HandleType::Thread : HandleType::Process;
    auto object = handleTable().getAs<ProcessHandleObject>(value, type);
    return object ? object->run : nullptr;
}

}  // namespace winplat::shell
