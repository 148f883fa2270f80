// The host services of the layer: what tests must control (time, the log, sounds). Later areas add
// the screen, the audio sink, the launcher and the modal answerers here.
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
    // Whether time moves only when told (tests): a message loop waiting for a timer then moves
    // the clock to it with sleepMs instead of waiting, and one with nothing to wait for stalls.
    virtual bool isVirtual() const { return false; }
};

// The clock in force: the real monotonic clock unless a test installed another.
WINPLAT_API Clock& clock();
// Installs a clock (null: the real one again); returns the one it replaces.
WINPLAT_API Clock* setClock(Clock* clock);

// Called when a message loop would wait for ever: the clock is virtual, nothing is queued, no
// timer is set and no input is to come. The test harness fails the test with a window dump, or
// queues what the loop waits for. 'what' names the waiting call.
class WINPLAT_API Idle {
public:
    virtual ~Idle() = default;
    // True when something was queued (the loop looks again); false ends the wait: GetMessageA
    // then returns as for WM_QUIT.
    virtual bool stalled(std::string_view what) = 0;
};

// Installs the hook (null: the default, which logs the stall with the window tree and ends the
// wait); returns the previous one.
WINPLAT_API Idle* setIdle(Idle* idle);
WINPLAT_API Idle* idle();

// The buttons of the mouse, as the hosts report them.
enum class MouseButton : uint8_t { Left, Right, Middle };

// Sounds MessageBeep asks for (its MB_ type): the screen host plays one, tests count them.
class WINPLAT_API Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep(UINT type) = 0;
};

// Installs the beeper (null: the default, which writes "MessageBeep <type>" to the debug
// output); returns the previous one.
WINPLAT_API Beeper* setBeeper(Beeper* beeper);
WINPLAT_API Beeper* beeper();

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
