// The host services of the layer: what tests must control (time, the log, sounds, waiting for
// input, the answers to modal loops), and the start of a program's session with its host. Later
// areas add the audio sink and the launcher here.
//
// A program starts its host first thing in main and keeps it until it returns:
//
//     int main(int argc, char** argv) {
//         winplat::host::Session host;   // WINPLAT_HOST, WINPLAT_SCREEN, WINPLAT_INPUT, WINPLAT_SNAPSHOT
//         if (!host.ok()) return 2;      // the reason is on stderr
//         ... register classes, create windows, run the message loop ...
//     }                                  // ~Session: a snapshot still due is written, the host closes
#ifndef WINPLAT_HOST_H
#define WINPLAT_HOST_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Waiting for input, as the host does it. Installed by the hosts that deliver input of their own
// (the SDL window, the headless host playing an input script); without one the queue waits on
// its own (a condition variable under the real clock, the next timer under the virtual one).
class WINPLAT_API Waiter {
public:
    virtual ~Waiter() = default;
    // The queue found nothing for the UI thread. The host presents what changed on the screen,
    // then delivers the input it has (through the hardware input calls) or, when 'mayBlock', waits
    // until input comes, wake() is called or the host clock reaches 'deadlineMs' (the next timer;
    // none: no timer). Under the virtual clock it moves time instead of waiting. False when it has
    // nothing to give, ever: the queue then waits as it would without a host.
    virtual bool wait(std::optional<uint64_t> deadlineMs, bool mayBlock) = 0;
    // Any thread: something was posted; a wait in progress returns.
    virtual void wake() {}
    // The program moved the pointer (SetCursorPos): a host with a real pointer moves it too.
    virtual void pointerMoved(int /*x*/, int /*y*/) {}
};

// Installs the waiter (null: none); returns the previous one.
WINPLAT_API Waiter* setWaiter(Waiter* waiter);
WINPLAT_API Waiter* waiter();

// The desktop's own clipboard, for the screen host that lives on a desktop: the layer offers it
// the text a program put on the clipboard and takes newer text from it when a program reads.
// Text crosses here as UTF-8 with the desktop's line ends; cp1250 stays inside the layer.
class WINPLAT_API DesktopClipboard {
public:
    virtual ~DesktopClipboard() = default;
    // The desktop holds this text from now on, offered by us.
    virtual void offer(std::string_view utf8) = 0;
    // The text the desktop holds now (ours or another program's); none when it holds no text.
    virtual std::optional<std::string> text() = 0;
};

// Installs the desktop's clipboard (null: none, the clipboard stays in the process, as under the
// headless host); returns the previous one.
WINPLAT_API DesktopClipboard* setDesktopClipboard(DesktopClipboard* desktop);
WINPLAT_API DesktopClipboard* desktopClipboard();

// A program to start, as the layer made it of a Windows command line (winplat/process.h).
struct LaunchRequest {
    std::string program;                 // the host file to run (UTF-8)
    std::vector<std::string> arguments;  // its argument vector, the program's name first (UTF-8)
    std::string commandLine;             // the command line as the caller wrote it (cp1250)
    bool ours = false;                   // a program of this system: it also gets commandLine
    std::string folder;                  // the host folder it starts in; empty: the current one
    int niceness = 0;                    // its priority, as setpriority takes it
};

// What became of it: either it started (error 0; a host process id, or 0 when nothing really
// ran, as under a recorder), or a Windows error code says why not.
struct Launched {
    DWORD error = 0;
    int pid = 0;
    DWORD exitCode = 0;  // for pid 0: the exit code the process handle reports
};

// Starts programs. Without one installed the layer spawns them itself (posix_spawn, never a
// shell); the headless host of a program run and tests install one that only records.
class WINPLAT_API Launcher {
public:
    virtual ~Launcher() = default;
    virtual Launched launch(const LaunchRequest& request) = 0;
};

// Installs the launcher (null: the layer's own spawning); returns the previous one.
WINPLAT_API Launcher* setLauncher(Launcher* launcher);
WINPLAT_API Launcher* launcher();

// What a modal loop is, for whoever answers it.
enum class ModalKind : uint8_t { Dialog, MessageBox, PopupMenu, MoveSize, CommonDialog, Form };
WINPLAT_API const char* modalKindName(ModalKind kind);

struct ModalLoop {
    ModalKind kind = ModalKind::Dialog;
    std::string name;        // cp1250: the dialog template's name or "#id", a message box's text, ...
    HWND window = nullptr;   // the loop's window (the dialog, the menu, the window being moved)
    INT_PTR cancelValue = 0; // what the loop returns when it is cancelled (IDCANCEL, 0, ...)
};

// What an answerer made of an idle modal loop: either the loop ends now with 'result', or it
// goes on (the answerer injected input or called functions, which the loop now dispatches).
struct ModalAnswer {
    bool end = false;
    INT_PTR result = 0;
};

// Answers modal loops when they become idle. Tests install one with queued answers; with none
// installed a loop waits for its user.
class WINPLAT_API Answerer {
public:
    virtual ~Answerer() = default;
    virtual ModalAnswer idle(const ModalLoop& loop) = 0;
};

// Installs the answerer (null: none); returns the previous one.
WINPLAT_API Answerer* setAnswerer(Answerer* answerer);
WINPLAT_API Answerer* answerer();

// Every modal loop calls this whenever its queue is empty, before it waits:
//
//     for (;;) {
//         while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) { ...dispatch...; if (done) return result; }
//         const ModalAnswer answer = host::modalIdle(loop);
//         if (answer.end) return answer.result;
//         if (!answerer()) WaitMessage();   // a person answers: wait for input
//     }
//
// With no answerer the loop goes on ({end = false}).
WINPLAT_API ModalAnswer modalIdle(const ModalLoop& loop);

// The host a program runs on, started from the environment (see the top of this file):
// WINPLAT_HOST=sdl|headless (default: sdl when the SDL host is built and DISPLAY or
// WAYLAND_DISPLAY is set, else headless), WINPLAT_SCREEN=WxH (default 1024x768),
// WINPLAT_INPUT=<script file> (input played as the program runs: "wait 500", "move x y",
// "click x y", "dblclick x y", "rclick x y", "drag x1 y1 x2 y2", "wheel n", "key F7",
// "key ctrl+s", "type text", "snap file.png", '#' comments), WINPLAT_SNAPSHOT=<file.png>[@ms]
// (the screen written to a PNG file after ms of host time, default 0, while the program runs on).
// The headless host runs on a virtual clock. One session at a time, on the UI thread.
class WINPLAT_API Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False when the environment was refused (the reason went to stderr and error()).
    bool ok() const;
    const std::string& error() const;
    // "sdl" or "headless".
    const char* hostName() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace winplat::host

#endif
