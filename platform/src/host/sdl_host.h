// The SDL2 host, when the build has it: one window showing the framebuffer, SDL input turned into
// hardware input, waiting through SDL's event queue.
#ifndef WINPLAT_SRC_HOST_SDL_HOST_H
#define WINPLAT_SRC_HOST_SDL_HOST_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/environment.h"
#include "host/input_script.h"
#include "winplat/host.h"

namespace winplat::host {

class ScreenHost : public Waiter {
public:
    // The program ends: snapshots still due are written.
    virtual void finish() = 0;
};

bool sdlHostBuilt();

// Opens the window (installed as the waiter while it lives); null with the reason in 'error'
// when SDL cannot start or is not built.
std::unique_ptr<ScreenHost> startSdlHost(ScreenSize screen, const std::vector<ScriptStep>& steps,
                                         const std::optional<SnapshotRequest>& snapshot, std::string& error);

}  // namespace winplat::host

#endif
