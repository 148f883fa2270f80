#include "winforms/application.h"

#include <algorithm>

#include "window_classes.h"
#include "winforms/media_player.h"
#include "winforms/menus.h"
#include "winforms/printer.h"
#include "winforms/timer.h"
#include "winplat/debug.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {

Application* current = nullptr;
constexpr winplat::Refuser refuse("winforms: Application");

}  // namespace

Application::Application() {
    if (current) refuse.log("a second application while one lives: the newest one is current");
    current = this;
    registerWindowClasses();
    utility_ = CreateWindowExA(0, kUtilityClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!utility_) refuse.log("the utility window could not be made: timers will not run");
}

Application::~Application() {
    ++eventDepth_;  // frees during the teardown run at once below, never from a nested scope
    while (!forms_.empty()) {
        std::unique_ptr<Form> last = std::move(forms_.back());
        forms_.pop_back();
        last.reset();
    }
    freed_.clear();
    printer_.reset();
    if (utility_) DestroyWindow(utility_);
    unregisterWindowClasses();
    if (current == this) current = nullptr;
}

Application& Application::Current() { return *current; }

Printer& Application::GetPrinter() {
    if (!printer_) printer_ = std::make_unique<Printer>();
    return *printer_;
}
bool Application::Exists() { return current != nullptr; }

void Application::AddForm(std::unique_ptr<Form> form) {
    if (form->Name().empty()) form->SetName("Form" + std::to_string(forms_.size() + 1));
    forms_.push_back(std::move(form));
    Form& made = *forms_.back();
    EventScope scope;
    if (made.OnCreate) made.OnCreate(made);
}

void Application::DestroyForm(Form& form) {
    auto found = std::find_if(forms_.begin(), forms_.end(), [&form](const auto& f) { return f.get() == &form; });
    if (found == forms_.end()) return;
    std::unique_ptr<Form> doomed = std::move(*found);
    forms_.erase(found);
    doomed.reset();
}

void Application::Run() {
    terminated_ = false;
    if (Form* main = MainForm()) main->ShowForm();
    while (!terminated_ && HandleMessage()) {
    }
}

void Application::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

bool Application::HandleMessage() {
    MSG message{};
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return false;
    }
    Dispatch(message);
    return true;
}

void Application::ProcessMessages() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));  // the outer loop must see it too
            return;
        }
        Dispatch(message);
    }
}

void Application::Dispatch(MSG& message) {
    if (OnMessage) {
        bool handled = false;
        EventScope scope;
        OnMessage(message, handled);
        if (handled) return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void Application::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) {
        EventScope scope;
        // The hint's sender is the main form, as there is no component for the application.
        if (Form* main = MainForm()) OnHint(*main);
    }
}

Application::EventScope::EventScope() {
    if (current) ++current->eventDepth_;
}

Application::EventScope::~EventScope() {
    if (!current) return;
    if (--current->eventDepth_ == 0) current->FlushFreed();
}

void Application::FreeLater(Component& component) {
    if (std::find(freed_.begin(), freed_.end(), &component) == freed_.end()) freed_.push_back(&component);
}

void Application::Forget(Component& component) {
    freed_.erase(std::remove(freed_.begin(), freed_.end(), &component), freed_.end());
}

void Application::FlushFreed() {
    ++eventDepth_;  // messages sent while windows go are handled without flushing again
    while (!freed_.empty()) {
        Component* next = freed_.front();
        freed_.erase(freed_.begin());
        next->destroyNow();
    }
    --eventDepth_;
}

UINT Application::RegisterMenuItem(MenuItem& item) {
    // Commands stay below 0xF000, where the system menu's begin; a number still in use is skipped.
    do {
        nextCommand_ = nextCommand_ >= 0xEFFF ? 100 : nextCommand_ + 1;
    } while (menuItems_.count(nextCommand_));
    menuItems_[nextCommand_] = &item;
    return nextCommand_;
}

void Application::UnregisterMenuItem(UINT command) { menuItems_.erase(command); }

MenuItem* Application::FindMenuItem(UINT command) const {
    auto found = menuItems_.find(command);
    return found == menuItems_.end() ? nullptr : found->second;
}

UINT Application::RegisterTimer(Timer& timer) {
    do {
        nextTimer_ = nextTimer_ >= 0x7FFF ? 1 : nextTimer_ + 1;
    } while (timers_.count(nextTimer_));
    timers_[nextTimer_] = &timer;
    return nextTimer_;
}

void Application::UnregisterTimer(UINT id) { timers_.erase(id); }

LRESULT Application::UtilityMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && current) {
        auto found = current->timers_.find(static_cast<UINT>(wParam));
        if (found != current->timers_.end()) {
            EventScope scope;
            found->second->Tick();
        }
        return 0;
    }
    if (message == MM_MCINOTIFY && current) {
        auto found = current->players_.find(static_cast<UINT>(lParam));
        if (found != current->players_.end()) found->second->Notified(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winforms
