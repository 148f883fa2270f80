// The application: the forms of the program in the order they were made (the first is the main
// form), the message loop with a hook that sees every message first, and hint settings; the
// screen and the mouse.
//
//     winplat::host::Session host;
//     winforms::Application app;
//     app.SetTitle("Linework");
//     auto& main = app.CreateForm<MainForm>();
//     app.Run();                                // until the main form closes
//
// One application at a time, on the UI thread; it must outlive every form and component.
#ifndef WINFORMS_APPLICATION_H
#define WINFORMS_APPLICATION_H

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "winforms/form.h"

namespace winforms {

class MediaPlayer;
class MenuItem;
class Printer;
class Timer;

// The hook: handled = true keeps the message from its window.
using MessageEvent = std::function<void(MSG& message, bool& handled)>;

class WINFORMS_API Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application alive now; the library's calls need one.
    static Application& Current();
    static bool Exists();

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    template <class T, class... Args>
    T& CreateForm(Args&&... args) {
        auto made = std::make_unique<T>(nullptr, std::forward<Args>(args)...);
        T& form = *made;
        AddForm(std::move(made));
        return form;
    }
    size_t FormCount() const { return forms_.size(); }
    Form& Forms(size_t index) const { return *forms_.at(index); }
    // The first form made, or null.
    Form* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

    // Shows the main form and handles messages until it closes or Terminate is called.
    void Run();
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Takes one message (waiting for it) and handles it; false on WM_QUIT.
    bool HandleMessage();
    // Ends Run.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Sees each message before it is dispatched.
    MessageEvent OnMessage;

    // Hints: whether controls show them, the text of the control under the mouse, and the
    // handler told when it changes.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int HintPause() const { return hintPause_; }
    void SetHintPause(int ms) { hintPause_ = ms; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms) { hintHidePause_ = ms; }
    COLORREF HintColor() const { return hintColor_; }
    void SetHintColor(COLORREF color) { hintColor_ = color; }
    NotifyEvent OnHint;

    // The printer the forms print on.
    Printer& GetPrinter();

    // --- the library's own bookkeeping
    // An event handler runs: a component freed meanwhile waits for the outermost one to return.
    class EventScope {
    public:
        EventScope();
        ~EventScope();
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;
    };
    bool InEvent() const { return eventDepth_ > 0; }
    void FreeLater(Component& component);
    void Forget(Component& component);
    void DestroyForm(Form& form);
    // The hidden window that parks controls without a parent and receives timer messages.
    HWND UtilityWindow() const { return utility_; }
    UINT RegisterMenuItem(MenuItem& item);
    void UnregisterMenuItem(UINT command);
    MenuItem* FindMenuItem(UINT command) const;
    void RegisterMediaPlayer(UINT device, MediaPlayer& player) { players_[device] = &player; }
    void UnregisterMediaPlayer(UINT device) { players_.erase(device); }
    UINT RegisterTimer(Timer& timer);
    void UnregisterTimer(UINT id);
    // A message of the utility window (timers, notifications).
    static LRESULT UtilityMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The modal forms' nesting.
    int ModalLevel() const { return modalLevel_; }

private:
    friend class Form;
    void AddForm(std::unique_ptr<Form> form);
    void Dispatch(MSG& message);
    bool FormKeys(const MSG& message);
    void FlushFreed();


    std::string title_;
    std::vector<std::unique_ptr<Form>> forms_;
    std::vector<Component*> freed_;
    std::unordered_map<UINT, MenuItem*> menuItems_;
    std::unordered_map<UINT, Timer*> timers_;
    std::unordered_map<UINT, MediaPlayer*> players_;
    UINT nextCommand_ = 100;
    UINT nextTimer_ = 1;
    int eventDepth_ = 0;
    int modalLevel_ = 0;
    bool terminated_ = false;
    bool showHint_ = true;
    std::string hint_;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    COLORREF hintColor_ = RGB(255, 255, 225);
    HWND utility_ = nullptr;
    std::unique_ptr<Printer> printer_;
};

// The screen the forms show on.
class WINFORMS_API Screen {
public:
    static int Width();
    static int Height();
    static int PixelsPerInch();
    // A cursor other than Default shows everywhere instead of the controls' own.
    static Cursor GetCursor();
    static void SetCursor(Cursor cursor);
    // The form that is active, or null.
    static Form* ActiveForm();
};

class WINFORMS_API Mouse {
public:
    static POINT CursorPos();
    static void SetCursorPos(POINT point);
};

}  // namespace winforms

#endif
