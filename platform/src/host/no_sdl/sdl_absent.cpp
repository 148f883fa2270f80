// Built in place of the SDL host when SDL2 was not found.
#include "host/sdl_host.h"

namespace winplat::host {

bool sdlHostBuilt() { return false; }

std::unique_ptr<ScreenHost> startSdlHost(ScreenSize, const std::vector<ScriptStep>&,
                                         const std::optional<SnapshotRequest>&, std::string& error) {
    error = "the SDL host is not built (SDL2 was not found)";
    return nullptr;
}

}  // namespace winplat::host
