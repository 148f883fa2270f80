// The SDL2 host: one window showing the framebuffer, SDL events turned into hardware input, and
// the UI thread's waiting done in SDL's event queue.
//
// What changed on the screen is found by comparing the framebuffer's rows with the copy last
// presented, when the queue is about to wait: no drawing path has to report damage, and the
// compare of a 1024 x 768 screen costs well under a millisecond, paid only once per wait. Only the
// band of rows that changed goes to the texture.
#include "host/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "gdi/objects.h"
#include "gdi/paint.h"
#include "host/script_player.h"
#include "host/sdl/sdl_clipboard.h"
#include "host/sdl/sdl_cursor.h"
#include "host/sdl/sdl_keys.h"
#include "user/input_feed.h"
#include "winplat/cp1250.h"

namespace winplat::host {
namespace {

struct QuitSdl {
    void operator()(bool*) const { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
};
struct DestroyWindow {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct DestroyRenderer {
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
struct DestroyTexture {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};

bool sdlVideoStarted = true;  // the token QuitSdl owns

class SdlHost final : public ScreenHost {
public:
    SdlHost(ScreenSize screen, const std::vector<ScriptStep>& steps, const std::optional<SnapshotRequest>& snapshot)
        : screen_(screen), player_(steps, snapshot, host::clock().nowMs()) {}
    ~SdlHost() override { setWaiter(previous_); }
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    bool open(std::string& error);
    bool wait(std::optional<uint64_t> deadlineMs, bool mayBlock) override;
    void wake() override;
    void pointerMoved(int x, int y) override;
    void finish() override { player_.finishSnapshots(); }

private:
    void present();
    bool copyChangedRows(int& first, int& last);
    void handle(const SDL_Event& event);
    void key(const SDL_KeyboardEvent& event);
    void readLayout() { layout_ = layoutOf(SDL_GetKeyFromScancode(SDL_SCANCODE_SEMICOLON)); }
    void text(const char* utf8);
    void closeRequested();
    POINT toScreen(int x, int y) const;

    ScreenSize screen_;
    ScriptPlayer player_;
    std::unique_ptr<bool, QuitSdl> video_;
    std::unique_ptr<SDL_Window, DestroyWindow> window_;
    std::unique_ptr<SDL_Renderer, DestroyRenderer> renderer_;
    std::unique_ptr<SDL_Texture, DestroyTexture> texture_;
    std::optional<SdlClipboard> clipboard_;  // served through the window: goes before it
    std::vector<uint32_t> shown_;  // the framebuffer as last presented
    bool redraw_ = true;           // the window needs the texture again (exposed, resized)
    Uint32 wakeEvent_ = 0;
    CursorMirror cursor_;
    KeyLayout layout_ = KeyLayout::Us;  // the desktop's keyboard layout, read again when it changes
    Waiter* previous_ = nullptr;
};

bool SdlHost::open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("SDL cannot start its video: ") + SDL_GetError();
        return false;
    }
    video_.reset(&sdlVideoStarted);
    window_.reset(SDL_CreateWindow("winplat", 0, 0, screen_.width, screen_.height, SDL_WINDOW_RESIZABLE));
    if (window_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
    if (renderer_) {
        texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                         screen_.width, screen_.height));
    }
    if (!texture_) {
        error = std::string("SDL cannot make the window: ") + SDL_GetError();
        return false;
    }
    wakeEvent_ = SDL_RegisterEvents(1);
    clipboard_.emplace();
    SDL_StartTextInput();
    readLayout();
    shown_.assign(static_cast<size_t>(screen_.width) * static_cast<size_t>(screen_.height), 0xFFFFFFFFu);
    previous_ = setWaiter(this);
    return true;
}

// Rows that differ from the copy last shown are copied into it; [first, last] is their band.
bool SdlHost::copyChangedRows(int& first, int& last) {
    const auto bitmap = gdi::findBitmap(gdi::screenBitmap());
    if (!bitmap) return false;
    std::lock_guard lock(gdi::gdiMutex());
    const gdi::Surface& surface = *bitmap->surface;
    if (surface.width() != screen_.width || surface.height() != screen_.height) return false;
    first = -1;
    const size_t rowBytes = static_cast<size_t>(screen_.width) * 4;
    for (int y = 0; y < screen_.height; ++y) {
        uint32_t* kept = shown_.data() + static_cast<size_t>(y) * static_cast<size_t>(screen_.width);
        if (std::memcmp(kept, surface.row(y), rowBytes) == 0) continue;
        std::memcpy(kept, surface.row(y), rowBytes);
        if (first < 0) first = y;
        last = y;
    }
    return first >= 0;
}

void SdlHost::present() {
    int first = 0;
    int last = 0;
    if (copyChangedRows(first, last)) {
        const SDL_Rect band{0, first, screen_.width, last - first + 1};
        SDL_UpdateTexture(texture_.get(), &band, shown_.data() + static_cast<size_t>(first) * static_cast<size_t>(screen_.width),
                          screen_.width * 4);
        redraw_ = true;
    }
    cursor_.update();
    if (!redraw_) return;
    SDL_RenderClear(renderer_.get());
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);  // scaled to the window
    SDL_RenderPresent(renderer_.get());
    redraw_ = false;
}

bool SdlHost::wait(std::optional<uint64_t> deadlineMs, bool mayBlock) {
    present();
    const uint64_t now = host::clock().nowMs();
    const std::optional<uint64_t> scripted = player_.nextDue();
    if (scripted && *scripted <= now) {
        player_.playNext();
        return true;
    }
    std::optional<uint64_t> until = deadlineMs;
    if (scripted && (!until || *scripted < *until)) until = scripted;
    SDL_Event event;
    bool got = false;
    if (!mayBlock) {
        got = SDL_PollEvent(&event) != 0;
    } else if (!until) {
        got = SDL_WaitEvent(&event) != 0;
    } else {
        const uint64_t wait = *until > now ? *until - now : 0;
        got = SDL_WaitEventTimeout(&event, static_cast<int>(std::min<uint64_t>(wait, 0x7FFFFFFF))) != 0;
    }
    if (!got) return true;
    handle(event);
    while (SDL_PollEvent(&event)) handle(event);
    return true;
}

void SdlHost::wake() {
    SDL_Event event{};
    event.type = wakeEvent_;
    SDL_PushEvent(&event);
}

POINT SdlHost::toScreen(int x, int y) const {
    int width = 1;
    int height = 1;
    SDL_GetWindowSize(window_.get(), &width, &height);
    return {static_cast<LONG>(int64_t{x} * screen_.width / std::max(width, 1)),
            static_cast<LONG>(int64_t{y} * screen_.height / std::max(height, 1))};
}

void SdlHost::pointerMoved(int x, int y) {
    int width = 1;
    int height = 1;
    SDL_GetWindowSize(window_.get(), &width, &height);
    SDL_WarpMouseInWindow(window_.get(), static_cast<int>(int64_t{x} * width / screen_.width),
                          static_cast<int>(int64_t{y} * height / screen_.height));
}

MouseButton buttonOf(Uint8 button) {
    if (button == SDL_BUTTON_RIGHT) return MouseButton::Right;
    if (button == SDL_BUTTON_MIDDLE) return MouseButton::Middle;
    return MouseButton::Left;
}

void SdlHost::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEMOTION:
            user::hardwareMouseMove(toScreen(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button > SDL_BUTTON_RIGHT) break;  // side buttons have no message
            user::hardwareMouseMove(toScreen(event.button.x, event.button.y));
            user::hardwareButton(buttonOf(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL: {
            const int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            if (notches) user::hardwareWheel(notches * WHEEL_DELTA);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: key(event.key); break;
        case SDL_TEXTINPUT: text(event.text.text); break;
        case SDL_KEYMAPCHANGED: readLayout(); break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                closeRequested();
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                redraw_ = true;
            }
            break;
        case SDL_QUIT: closeRequested(); break;
        default: break;  // the wake event only ends the wait
    }
}

// Keys that type a character without Ctrl or Alt arrive again as SDL text, in the layout's own
// character (ě on the Czech number row): the key-down then makes no WM_CHAR of its own.
void SdlHost::key(const SDL_KeyboardEvent& event) {
    const UINT virtualKey = virtualKeyOf(event.keysym.scancode, event.keysym.sym, layout_, (event.keysym.mod & KMOD_NUM) != 0);
    if (!virtualKey) return;
    const bool down = event.state == SDL_PRESSED;
    const Uint16 mod = event.keysym.mod;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool alt = (mod & KMOD_ALT) != 0;
    const user::KeyModifiers modifiers{(mod & KMOD_SHIFT) != 0, false, (mod & KMOD_CAPS) != 0};
    const bool textFollows = down && !ctrl && !alt && user::keyCharacter(virtualKey, modifiers) >= 0x20;
    user::hardwareKey(virtualKey, down, 1, textFollows);
}

void SdlHost::text(const char* utf8) {
    for (char c : cp1250::fromUtf8(utf8)) user::hardwareCharacter(static_cast<uint8_t>(c));
}

BOOL CALLBACK collectTopLevel(HWND window, LPARAM list) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Closing the one window of the screen closes the program's active window, or every shown
// top-level window when none is active.
void SdlHost::closeRequested() {
    if (HWND active = GetActiveWindow()) {
        PostMessageA(active, WM_CLOSE, 0, 0);
        return;
    }
    std::vector<HWND> windows;
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

bool sdlHostBuilt() { return true; }

std::unique_ptr<ScreenHost> startSdlHost(ScreenSize screen, const std::vector<ScriptStep>& steps,
                                         const std::optional<SnapshotRequest>& snapshot, std::string& error) {
    auto host = std::make_unique<SdlHost>(screen, steps, snapshot);
    if (!host->open(error)) return nullptr;
    return host;
}

}  // namespace winplat::host
