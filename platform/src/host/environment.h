// The host's settings as the environment gives them: WINPLAT_HOST, WINPLAT_SCREEN, WINPLAT_INPUT
// and WINPLAT_SNAPSHOT. Each value is checked here; a refused one says why.
#ifndef WINPLAT_SRC_HOST_ENVIRONMENT_H
#define WINPLAT_SRC_HOST_ENVIRONMENT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace winplat::host {

enum class HostKind { Sdl, Headless };

struct ScreenSize {
    int width = 1024;
    int height = 768;
};

struct SnapshotRequest {
    std::string path;   // UTF-8
    uint32_t afterMs = 0;
};

// What a parse gives: the value, or why it was refused.
template <class T>
struct Parsed {
    std::optional<T> value;
    std::string error;
};

// "1024x768": width and height from 1 to 16384.
Parsed<ScreenSize> parseScreenSize(std::string_view text);
// "shot.png" or "shot.png@3000".
Parsed<SnapshotRequest> parseSnapshot(std::string_view text);
// "sdl", "headless", or empty: SDL when it is built and a display is there.
Parsed<HostKind> parseHostKind(std::string_view text, bool sdlBuilt, bool displayPresent);

struct HostSettings {
    HostKind host = HostKind::Headless;
    ScreenSize screen;
    std::string inputScript;  // a path; empty: none
    std::optional<SnapshotRequest> snapshot;
};

// The settings from the process environment; the error names the variable refused.
Parsed<HostSettings> settingsFromEnvironment(bool sdlBuilt);

}  // namespace winplat::host

#endif
