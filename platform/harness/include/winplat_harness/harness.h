// The headless test harness: a desktop a test owns for its lifetime, driven and inspected through
// the layer's public calls.
//
//     winplat::test::Harness h({.width = 640, .height = 480, .goldenFolder = GOLDEN_DIR});
//     HWND w = CreateWindowExA(...);
//     h.click(100, 40);                    // input, then everything ready is dispatched
//     h.advance(500);                      // virtual time: timers fire in due order
//     h.expectImage(h.windowImage(w, true), "demo_clicked");
//
// While it lives: a virtual clock, a screen of the given size, a temporary state folder named by
// WINPLAT_STATE, the synthetic test face for new fonts, an empty window manager, a beep counter,
// a stall hook (a GetMessageA with nothing left to wait for fails the test with the window tree
// and returns as for WM_QUIT) and an answerer for modal loops (answers queued with answer(); an
// unexpected loop fails the test with the window tree and ends with its cancel value). One
// harness at a time, on the UI thread. Links beside either copy of the layer (winplat_objects in
// the layer's own tests, libwinplat.so elsewhere).
#ifndef WINPLAT_HARNESS_HARNESS_H
#define WINPLAT_HARNESS_HARNESS_H

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/host.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace winplat::test {

// Pixels as the screen holds them: 0x00RRGGBB, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    bool operator==(const Image&) const = default;
};

// PNG files of images (8-bit RGB; alpha, palettes and 16-bit channels are converted on reading).
// readPng: none when the file is missing or no PNG, with the reason in 'error'.
std::optional<Image> readPng(const std::string& path, std::string* error = nullptr);
bool writePng(const Image& image, const std::string& path);
// The part of an image inside a rectangle (clipped to the image).
Image crop(const Image& image, RECT area);

struct WindowInfo {
    std::string text;       // cp1250
    RECT rect{};            // on the screen
    RECT client{};          // the client area, on the screen
    DWORD style = 0;
    DWORD exStyle = 0;
    bool visible = false;   // IsWindowVisible: it and every ancestor
    bool enabled = false;
    int zIndex = -1;        // among its siblings, 0 at the top
    HWND parent = nullptr;  // null for a top-level window
    HWND owner = nullptr;
};

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

enum Modifiers : unsigned { kNoModifiers = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

// An answer to a dialog, built step by step; each step acts on the dialog's controls through the
// messages and input a person would cause, passed through IsDialogMessageA as the dialog's own
// loop passes them:
//
//     h.expectDialog("GETVIEWPASSWORD").type(101, "heslo").check(102).press(IDOK);
//
// A step whose control is missing (or disabled, for press) fails the test. The dialog ends as
// its procedure decides (EndDialog on the pressed button, usually).
class DialogAnswer {
public:
    using Step = std::function<void(HWND dialog)>;
    // Focuses the control as Tab would (an edit's text selected whole) and types the text (cp1250).
    DialogAnswer& type(int id, std::string_view cp1250);
    // Brings a check box or radio button to the state with space presses on it.
    DialogAnswer& check(int id, bool checked = true);
    // Focuses the button and presses it with the space bar.
    DialogAnswer& press(int id);
    // A key to the focused control, pressed and released with modifiers held.
    DialogAnswer& key(UINT virtualKey, unsigned modifiers = 0);
    // Anything else a test needs done with the dialog.
    DialogAnswer& call(Step step);

private:
    friend class Harness;
    explicit DialogAnswer(std::shared_ptr<std::vector<Step>> steps) : steps_(std::move(steps)) {}
    std::shared_ptr<std::vector<Step>> steps_;
};

class Harness {
public:
    struct Options {
        int width = 1024;
        int height = 768;
        std::string goldenFolder;   // where expectImage finds "<name>.png"
        std::string diffFolder;     // where mismatches go; empty: "image_diffs" in the current folder
        uint64_t startMs = 1000;    // the virtual clock's first reading
    };

    Harness();
    explicit Harness(Options options);
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // --- time and the queue
    // Takes and dispatches (after TranslateMessage) every message ready now; time stays. When a
    // handler's own loop moves virtual time on, the timers that come due by that wait for the
    // next pump or advance. Returns how many were dispatched.
    int pump();
    // Moves the virtual clock on by ms: to each timer due within the span in turn, pumping there,
    // then to the end of the span, pumping again.
    void advance(uint64_t milliseconds);
    uint64_t now() const;
    // The exit code of a WM_QUIT the pump took; none while no WM_QUIT came.
    std::optional<int> quitCode() const { return quitCode_; }

    // --- input, each followed by a pump
    void mouseMove(int x, int y);
    void click(int x, int y);
    void doubleClick(int x, int y);
    void rightClick(int x, int y);
    void drag(int x1, int y1, int x2, int y2);
    void wheel(int delta);
    // A key pressed and released with modifiers held (kCtrl | kShift ...); TranslateMessage in the
    // pump makes the characters the key types.
    void key(UINT virtualKey, unsigned modifiers = kNoModifiers);
    // Characters typed as a host's text input delivers them (WM_CHAR each, no key messages):
    // cp1250 bytes, or UTF-8 (u8"Dobrý den") converted to cp1250; a character cp1250 has not fails
    // the test.
    void type(std::string_view cp1250);
    void type(std::u8string_view utf8);

    // --- inspection
    // A top-level window by class and/or title (null: any), as FindWindowA.
    HWND findWindow(const char* className, const char* title) const;
    WindowInfo windowInfo(HWND window) const;
    // Logs every message the window gets from now on (its procedure is subclassed through
    // GWL_WNDPROC until stopLogging or its destruction).
    void logMessages(HWND window);
    void stopLogging(HWND window);
    std::vector<LoggedMessage> messages(HWND window) const;
    std::vector<UINT> messageNumbers(HWND window) const;
    void clearLog();
    std::vector<testing::TimerInfo> timers() const;
    HWND focus() const;
    HWND capture() const;
    HWND activeWindow() const;
    size_t beeps() const;
    const std::string& stateFolder() const;

    // --- pictures
    // The screen; with the pointer drawn at its place when asked.
    Image screenshot(bool withPointer = false) const;
    // A window's part of the screen (what shows there, overlapping windows included).
    Image windowImage(HWND window, bool clientOnly) const;
    // Compares with the golden "<goldenFolder>/<name>.png" exactly; a mismatch fails the test
    // and writes "<diffFolder>/<name>.diff.png" (expected, actual and the differing pixels in
    // red, side by side). WINPLAT_UPDATE_GOLDEN=1 writes the golden instead. True when equal.
    bool expectImage(const Image& image, const std::string& name) const;

    // --- modal loops
    // What an answer does when its loop becomes idle: inject input, call functions, and return a
    // value to end the loop with it, or none to let the loop go on (dispatching what was done).
    using Action = std::function<std::optional<INT_PTR>(const host::ModalLoop& loop)>;
    using NameMatcher = std::function<bool(std::string_view name)>;
    // Queues an answer for the first idle loop of the kind whose name matches (exactly, or by
    // the matcher). Answers are used once each, the first queued that matches first; one still
    // queued when the harness ends fails the test.
    void answer(host::ModalKind kind, std::string name, Action action);
    void answer(host::ModalKind kind, NameMatcher matcher, Action action);
    size_t answersQueued() const;
    // Queues an answer for the dialog of that template name ("#id" for a number), to be built
    // with the steps of the returned answer.
    DialogAnswer expectDialog(std::string name);
    // Queues an answer for a common dialog by its loop's name ("GetOpenFileName", "ChooseColor").
    DialogAnswer expectCommonDialog(std::string name);
    // Queues an answer for the next open (save) dialog: the path (cp1250) typed as its name and OK
    // pressed, through its controls; a refusal of the path leaves the dialog open and the test
    // fails as its loop waits for an answer.
    void answerOpenFile(std::string path);
    void answerSaveFile(std::string path);
    // Queues an answer for the next folder browser: the folder's path typed and OK pressed.
    void answerFolder(std::string path);
    // Queues an answer for the next colour dialog: the colour's red, green and blue typed into
    // its edits (the dialog opened to its full size first) and OK pressed.
    void answerColour(COLORREF colour);
    // Queues an answer for the next print dialog: the printer chosen ("PNG" or "PDF"; empty: as
    // offered), the pages from 'fromPage' to 'toPage' typed when fromPage is above 0, OK pressed.
    struct PrintChoice {
        std::string printer;
        int fromPage = 0;
        int toPage = 0;
    };
    void answerPrint(PrintChoice choice);
    // The pages printers printed since the harness began, in order.
    std::vector<Image> printedPages() const;
    // Queues an answer for the next message box (of that text, when given): its button pressed.
    void answerMessageBox(int buttonId);
    void answerMessageBox(std::string text, int buttonId);

    // Each hook failure (stall, unexpected modal loop) also counts here.
    int stalls() const { return stalls_; }
    int unexpectedModalLoops() const { return unexpectedLoops_; }

    struct Hooks;

private:
    Options options_;
    std::unique_ptr<Hooks> hooks_;
    std::optional<int> quitCode_;
    int stalls_ = 0;
    int unexpectedLoops_ = 0;
};

}  // namespace winplat::test

#endif
