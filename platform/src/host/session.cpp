// A program's session with its host, started from the environment.
#include <cstdio>

#include "host/environment.h"
#include "host/headless_host.h"
#include "host/input_script.h"
#include "host/sdl_host.h"
#include "winplat/host.h"
#include "winplat/testing.h"

namespace winplat::host {

struct Session::State {
    HostKind kind = HostKind::Headless;
    std::unique_ptr<HeadlessHost> headless;
    std::unique_ptr<ScreenHost> screen;
    std::string error;
};

namespace {

bool started = false;  // one session at a time

std::string startHost(Session::State& state) {
    const auto settings = settingsFromEnvironment(sdlHostBuilt());
    if (!settings.value) return settings.error;
    state.kind = settings.value->host;
    const ScreenSize size = settings.value->screen;
    if (!testing::setScreenSize(size.width, size.height)) return "WINPLAT_SCREEN: no framebuffer of that size";
    ParsedScript script;
    if (!settings.value->inputScript.empty()) {
        script = readInputScript(settings.value->inputScript);
        if (!script.ok()) return "WINPLAT_INPUT: " + script.error;
    }
    if (state.kind == HostKind::Headless) {
        state.headless = std::make_unique<HeadlessHost>(script.steps, settings.value->snapshot);
        return {};
    }
    std::string error;
    state.screen = startSdlHost(size, script.steps, settings.value->snapshot, error);
    return state.screen ? std::string{} : "WINPLAT_HOST=sdl: " + error;
}

}  // namespace

Session::Session() : state_(std::make_unique<State>()) {
    if (started) {
        state_->error = "a host session is running already";
    } else {
        state_->error = startHost(*state_);
        started = state_->error.empty();
    }
    if (!state_->error.empty()) std::fprintf(stderr, "winplat: %s\n", state_->error.c_str());
}

Session::~Session() {
    if (state_->headless) state_->headless->finish();
    if (state_->screen) state_->screen->finish();
    if (state_->error.empty()) started = false;
}

bool Session::ok() const { return state_->error.empty(); }

const std::string& Session::error() const { return state_->error; }

const char* Session::hostName() const { return state_->kind == HostKind::Sdl ? "sdl" : "headless"; }

}  // namespace winplat::host
