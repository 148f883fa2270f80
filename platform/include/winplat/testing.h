// Controls for tests and tools only: a virtual clock, a capture of debug output, allocation
// failure injection and module path overrides. Programs never include this.
#ifndef WINPLAT_TESTING_H
#define WINPLAT_TESTING_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/host.h"
#include "winplat/types.h"
#include "winplat/user.h"

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
    bool isVirtual() const override { return true; }

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

// Installed for its lifetime: whether an unsupported flag aborts (as in debug builds) or is only
// logged and refused (as in release builds), for tests that probe such refusals.
class WINPLAT_API ScopedDebugAsserts {
public:
    explicit ScopedDebugAsserts(bool enabled);
    ~ScopedDebugAsserts();
    ScopedDebugAsserts(const ScopedDebugAsserts&) = delete;
    ScopedDebugAsserts& operator=(const ScopedDebugAsserts&) = delete;

private:
    bool previous_;
};

// Installed for its lifetime: counting global memory allocations (GlobalAlloc, and GlobalReAlloc
// whenever the block may move) from 1, allocation number 'first' and the 'count' - 1 after it fail.
class WINPLAT_API GlobalAllocFailure {
public:
    explicit GlobalAllocFailure(int first, int count = 1);
    ~GlobalAllocFailure();
    GlobalAllocFailure(const GlobalAllocFailure&) = delete;
    GlobalAllocFailure& operator=(const GlobalAllocFailure&) = delete;
    int failures() const;  // how many allocations this plan has refused so far
};

// Installed for its lifetime: whether every reallocation that may move a block moves it (as
// sanitizer builds do) or only one that outgrows the block's storage (as release builds do), so
// that either build's tests cover both ways.
class WINPLAT_API GlobalReallocMoves {
public:
    explicit GlobalReallocMoves(bool always);
    ~GlobalReallocMoves();
    GlobalReallocMoves(const GlobalReallocMoves&) = delete;
    GlobalReallocMoves& operator=(const GlobalReallocMoves&) = delete;
    // What this build does without one installed.
    static bool sanitizerDefault();

private:
    bool previous_;
};

// Number of live global memory blocks (for leak checks in tests).
WINPLAT_API size_t liveGlobalBlocks();

// Makes GetModuleFileNameA report this path for the module (null: the running program).
WINPLAT_API void setModulePath(HMODULE module, std::string windowsPath);
WINPLAT_API void clearModulePaths();

// Installed for its lifetime: GetVersion and GetVersionExA answer as this Windows (major.minor,
// build number, platform id VER_PLATFORM_*) instead of the one the layer stands for.
class WINPLAT_API ScopedWindowsVersion {
public:
    ScopedWindowsVersion(DWORD major, DWORD minor, DWORD build, DWORD platformId);
    ~ScopedWindowsVersion();
    ScopedWindowsVersion(const ScopedWindowsVersion&) = delete;
    ScopedWindowsVersion& operator=(const ScopedWindowsVersion&) = delete;

private:
    DWORD previous_[4];
};

// Device contexts tests draw on. A display DC over a surface of its own (width x height at 1, 4,
// 8, 16, 24 or 32 bits; 96 DPI) behaves as the screen would at that depth; a printer DC's page is a
// surface at the given resolution; a metafile DC draws nothing and only records. Delete with DeleteDC.
WINPLAT_API HDC createDisplayDc(int width, int height, int bitsPerPixel);
WINPLAT_API HDC createPrinterDc(int width, int height, int dotsPerInch);
WINPLAT_API HDC createMetafileDc();
// The surface behind a display or printer DC (or the bitmap selected in a memory DC) as a bitmap
// handle the test may read with GetDIBits; the DC keeps owning it.
WINPLAT_API HBITMAP surfaceOf(HDC dc);
// Writes what a DC shows (or a bitmap) to a PNG file; false on failure.
WINPLAT_API bool writePng(HDC dc, const char* hostPath);
WINPLAT_API bool writePng(HBITMAP bitmap, const char* hostPath);

// Records the drawing calls made on a DC while it lives, one line each, e.g.
// "StretchBlt 0 0 100 100 <- 0 0 10 10 SRCCOPY" or "DrawDibDraw 0 0 50 50 <- 0 0 30 30".
class WINPLAT_API DrawingRecorder {
public:
    explicit DrawingRecorder(HDC dc);
    ~DrawingRecorder();
    DrawingRecorder(const DrawingRecorder&) = delete;
    DrawingRecorder& operator=(const DrawingRecorder&) = delete;
    std::vector<std::string> calls() const;
    size_t count(std::string_view callName) const;

private:
    HDC dc_;
};

// While it lives, DrawDibDraw throws (a std::runtime_error), as a broken video driver would fault.
class WINPLAT_API DrawDibFailure {
public:
    DrawDibFailure();
    ~DrawDibFailure();
    DrawDibFailure(const DrawDibFailure&) = delete;
    DrawDibFailure& operator=(const DrawDibFailure&) = delete;
};

// Installed for its lifetime: which faces new fonts get, the synthetic test face (whose metrics
// are formulas, the same on every machine) or the system's fonts through FreeType, whatever
// WINPLAT_FONTS says. Fonts made before keep their face.
enum class FontSource { Test, System };
class WINPLAT_API ScopedFontSource {
public:
    explicit ScopedFontSource(FontSource source);
    ~ScopedFontSource();
    ScopedFontSource(const ScopedFontSource&) = delete;
    ScopedFontSource& operator=(const ScopedFontSource&) = delete;

private:
    int previous_;
};

// Lets go at once of the faces no font holds any more, which the layer otherwise keeps ready a
// while for the next font that asks for them, and of what it read of font files: a fuzzer ends
// every input with it, so that an input frees what it allocated.
WINPLAT_API void dropUnusedFaces();

// Installed for its lifetime: MCI devices opened meanwhile keep time and answer as usual but make
// no sound or pictures; each thing they are told to do is written down as a line: "open <file
// name> <length ms>", "play <from> <to>", "pause <at>", "stop <at>", "finish", "close".
class WINPLAT_API VirtualMedia {
public:
    VirtualMedia();
    ~VirtualMedia();
    VirtualMedia(const VirtualMedia&) = delete;
    VirtualMedia& operator=(const VirtualMedia&) = delete;

    std::vector<std::string> log() const;
    void clear();

private:
    std::shared_ptr<std::vector<std::string>> lines_;
};

// Installed for its lifetime: counts MessageBeep's sounds and keeps their types in order.
class WINPLAT_API BeepCounter final : public host::Beeper {
public:
    BeepCounter();
    ~BeepCounter() override;
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    void beep(UINT type) override;
    size_t count() const;
    std::vector<UINT> types() const;

private:
    mutable std::mutex mutex_;
    std::vector<UINT> types_;
    host::Beeper* previous_;
};

// Installed for its lifetime: programs are not started but recorded, each request as the layer
// made it (host program, argument vector, the caller's command line). Every launch answers with
// 'answer' (by default: started, and already ended with exit code 0).
class WINPLAT_API LaunchRecorder final : public host::Launcher {
public:
    LaunchRecorder();
    ~LaunchRecorder() override;
    LaunchRecorder(const LaunchRecorder&) = delete;
    LaunchRecorder& operator=(const LaunchRecorder&) = delete;

    host::Launched launch(const host::LaunchRequest& request) override;
    std::vector<host::LaunchRequest> requests() const;
    void setAnswer(host::Launched answer);

private:
    mutable std::mutex mutex_;
    std::vector<host::LaunchRequest> requests_;
    host::Launched answer_;
    host::Launcher* previous_;
};

// Installed for its lifetime: every page a printer DC prints (EndPage) is also kept here, as the
// printer wrote it.
struct PrintedPage {
    std::string printer;   // "PNG" or "PDF"
    std::string document;  // the document's name (cp1250)
    int width = 0;
    int height = 0;
    int dpiX = 0;
    int dpiY = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top first
};
class WINPLAT_API PrintedPages {
public:
    PrintedPages();
    ~PrintedPages();
    PrintedPages(const PrintedPages&) = delete;
    PrintedPages& operator=(const PrintedPages&) = delete;

    void add(PrintedPage page);
    std::vector<PrintedPage> pages() const;

private:
    mutable std::mutex mutex_;
    std::vector<PrintedPage> pages_;
    PrintedPages* previous_;
};

// Hardware input as a host delivers it, stamped with the host clock and queued for the UI
// thread's message loop (UI thread only): the pointer moved to a screen point (kept inside the
// ClipCursor rectangle), a button went down or up where the pointer is, the wheel turned by a
// delta (WHEEL_DELTA per notch, positive away from the user), a key went down (again while held:
// an auto-repeat) or up. Where a message goes is decided when the loop takes it.
WINPLAT_API void mouseMove(int x, int y);
WINPLAT_API void mouseButton(host::MouseButton button, bool down);
WINPLAT_API void mouseWheel(int delta);
WINPLAT_API void keyDown(UINT virtualKey, int repeatCount = 1);
WINPLAT_API void keyUp(UINT virtualKey);
// A character typed as a host's text input delivers it (cp1250, not 0): WM_CHAR to the focus
// window, with no key message before it.
WINPLAT_API void typeCharacter(char cp1250);

// Takes the next message that is ready now, as PeekMessageA(PM_REMOVE) would, but never moves
// the virtual clock on to the next timer: what a test harness pumps with.
WINPLAT_API bool takeReadyMessage(MSG* message);
// The same, but a timer's message stays: what the harness pumps with once a handler's own loop
// has moved virtual time on, since the timers that came due by that belong to the later time.
WINPLAT_API bool takeReadyMessageExceptTimers(MSG* message);

// The timers set, the program's and the layer's own, in due order (earliest set first among
// those due together, the program's first).
struct TimerInfo {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    uint64_t dueMs = 0;      // host clock
    bool hasProcedure = false;
    bool layers = false;     // the layer's own (a caret's blink, a scroll arrow's repeat)
};
WINPLAT_API std::vector<TimerInfo> pendingTimers();

// Sets the size of the screen and of its framebuffer (what GetDC(NULL) draws on), as a host does
// before the first window exists. The framebuffer is cleared to black. False for a size outside
// 1-16384 in either direction.
WINPLAT_API bool setScreenSize(int width, int height);

// Draws the current cursor at the pointer, as the screen would show it, on a DC whose (0, 0)
// lies at (originX, originY) on the screen. False when no cursor shows.
WINPLAT_API bool drawPointer(HDC dc, int originX, int originY);

// The window tree as text, one window a line, indented by depth, top of the z-order first:
// handle, class, text, rectangle on the screen, styles, visible/enabled, owner.
WINPLAT_API std::string windowTree();

// Destroys every window, forgets every class, timer and queued message, and clears focus,
// capture and activation: a test starts from an empty desktop.
WINPLAT_API void resetWindowManager();

// Empties the clipboard and closes it, whoever had it open.
WINPLAT_API void resetClipboard();

// Replaces the drive table as WINPLAT_DRIVES would ("C:/;T:/tmp/case"; "" goes back to the
// environment's table) and starts every drive's current directory afresh.
WINPLAT_API void setDrives(std::string_view spec);

// The registry store: dropRegistry() forgets the tree in memory, so the next registry call reads
// the store file again as a new process would; registryFileReads() counts the reads of that file
// since the process started; failRegistryRenames(n) makes the next n store writes fail after the
// temporary file is written and flushed, before it replaces the store.
WINPLAT_API void dropRegistry();
WINPLAT_API uint64_t registryFileReads();
WINPLAT_API void failRegistryRenames(int count);

}  // namespace winplat::testing

#endif
