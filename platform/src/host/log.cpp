#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "winplat/cp1250.h"
#include "winplat/host.h"

namespace winplat::host {
namespace {

// Debug output is for developers: silent unless WINPLAT_DEBUG asks for it.
class StderrSink final : public LogSink {
public:
    void write(std::string_view text) override {
        if (!enabled()) return;
        const std::string utf8 = cp1250::toUtf8(text);
        std::lock_guard lock(mutex_);
        std::fwrite(utf8.data(), 1, utf8.size(), stderr);
        if (!utf8.empty() && utf8.back() != '\n') std::fputc('\n', stderr);
    }

private:
    static bool enabled() {
        static const bool on = [] {
            const char* value = std::getenv("WINPLAT_DEBUG");
            return value && *value && std::strcmp(value, "0") != 0;
        }();
        return on;
    }
    std::mutex mutex_;
};

// Never destroyed: libraries still write from their own destructors while the process exits.
LogSink& defaultSink() {
    static LogSink* sink = new StderrSink;
    return *sink;
}

std::atomic<LogSink*> current{nullptr};  // null: the default sink

}  // namespace

void log(std::string_view text) {
    LogSink* sink = current.load();
    (sink ? *sink : defaultSink()).write(text);
}

LogSink* setLogSink(LogSink* sink) { return current.exchange(sink); }

}  // namespace winplat::host
