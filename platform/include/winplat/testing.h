// Controls for tests and tools only: a virtual clock, a capture of debug output, allocation
// failure injection and module path overrides. Programs never include this.
#ifndef WINPLAT_TESTING_H
#define WINPLAT_TESTING_H

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/host.h"
#include "winplat/types.h"

namespace winplat::testing {

// Installed for its lifetime: time stands still until Sleep or advance() moves it.
class WINPLAT_API VirtualClock final : public host::Clock {
public:
    explicit VirtualClock(uint64_t startMs = 1000);
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    uint64_t nowMs() override { return now_.load(); }
    void sleepMs(uint32_t milliseconds) override { now_ += milliseconds; }
    void advance(uint64_t milliseconds) { now_ += milliseconds; }

private:
    std::atomic<uint64_t> now_;
    host::Clock* previous_;
};

// Installed for its lifetime: collects every debug output text.
class WINPLAT_API DebugCapture final : public host::LogSink {
public:
    DebugCapture();
    ~DebugCapture() override;
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    void write(std::string_view text) override;
    std::vector<std::string> messages() const;
    std::string text() const;  // all messages joined
    bool contains(std::string_view fragment) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> messages_;
    host::LogSink* previous_;
};

// Installed for its lifetime: counting global memory allocations (GlobalAlloc, and GlobalReAlloc
// when it needs new storage) from 1, allocation number 'first' and the 'count' - 1 after it fail.
class WINPLAT_API GlobalAllocFailure {
public:
    explicit GlobalAllocFailure(int first, int count = 1);
    ~GlobalAllocFailure();
    GlobalAllocFailure(const GlobalAllocFailure&) = delete;
    GlobalAllocFailure& operator=(const GlobalAllocFailure&) = delete;
    int failures() const;  // how many allocations this plan has refused so far
};

// Number of live global memory blocks (for leak checks in tests).
WINPLAT_API size_t liveGlobalBlocks();

// Makes GetModuleFileNameA report this path for the module (null: the running program).
WINPLAT_API void setModulePath(HMODULE module, std::string windowsPath);
WINPLAT_API void clearModulePaths();

// Empties the clipboard and closes it, whoever had it open.
WINPLAT_API void resetClipboard();

// Replaces the drive table as WINPLAT_DRIVES would ("C:/;T:/tmp/case"; "" goes back to the
// environment's table) and starts every drive's current directory afresh.
WINPLAT_API void setDrives(std::string_view spec);

}  // namespace winplat::testing

#endif
