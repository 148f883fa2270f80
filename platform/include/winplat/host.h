// The host services of the layer: what tests must control (time, the log). Later areas add screen
// and input, the audio sink, the launcher and the modal answerers here.
#ifndef WINPLAT_HOST_H
#define WINPLAT_HOST_H

#include <cstdint>
#include <string_view>

#include "winplat/types.h"

namespace winplat::host {

class WINPLAT_API Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale.
    virtual uint64_t nowMs() = 0;
    virtual void sleepMs(uint32_t milliseconds) = 0;
};

// The clock in force: the real monotonic clock unless a test installed another.
WINPLAT_API Clock& clock();
// Installs a clock (null: the real one again); returns the one it replaces.
WINPLAT_API Clock* setClock(Clock* clock);

// Receives every line of debug output, cp1250 as the programs wrote it.
class WINPLAT_API LogSink {
public:
    virtual ~LogSink() = default;
    virtual void write(std::string_view text) = 0;
};

WINPLAT_API void log(std::string_view text);
// Installs a sink (null: the default, stderr when WINPLAT_DEBUG is set); returns the previous one.
WINPLAT_API LogSink* setLogSink(LogSink* sink);

}  // namespace winplat::host

#endif
