#include "host/environment.h"

#include <charconv>
#include <cstdlib>

namespace winplat::host {
namespace {

constexpr int kLargestScreen = 16384;

bool wholeNumber(std::string_view text, long lowest, long highest, long& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc{} && stop == end && value >= lowest && value <= highest;
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool displayPresent() { return !variable("DISPLAY").empty() || !variable("WAYLAND_DISPLAY").empty(); }

}  // namespace

Parsed<ScreenSize> parseScreenSize(std::string_view text) {
    const size_t x = text.find('x');
    long width = 0;
    long height = 0;
    if (x == std::string_view::npos || !wholeNumber(text.substr(0, x), 1, kLargestScreen, width) ||
        !wholeNumber(text.substr(x + 1), 1, kLargestScreen, height)) {
        return {std::nullopt, "'" + std::string(text) + "' is not WIDTHxHEIGHT with each from 1 to " +
                                  std::to_string(kLargestScreen)};
    }
    return {ScreenSize{static_cast<int>(width), static_cast<int>(height)}, {}};
}

Parsed<SnapshotRequest> parseSnapshot(std::string_view text) {
    const size_t at = text.rfind('@');
    SnapshotRequest request;
    request.path = std::string(text.substr(0, at));
    if (at != std::string_view::npos) {
        long ms = 0;
        if (!wholeNumber(text.substr(at + 1), 0, 24L * 3600 * 1000, ms)) {
            return {std::nullopt, "'" + std::string(text.substr(at + 1)) + "' after '@' is not a time in ms"};
        }
        request.afterMs = static_cast<uint32_t>(ms);
    }
    if (request.path.empty()) return {std::nullopt, "no file name before '@'"};
    return {request, {}};
}

Parsed<HostKind> parseHostKind(std::string_view text, bool sdlBuilt, bool display) {
    if (text == "headless") return {HostKind::Headless, {}};
    if (text == "sdl") {
        if (!sdlBuilt) return {std::nullopt, "the SDL host is not built (SDL2 was not found)"};
        return {HostKind::Sdl, {}};
    }
    if (text.empty()) return {sdlBuilt && display ? HostKind::Sdl : HostKind::Headless, {}};
    return {std::nullopt, "'" + std::string(text) + "' is neither sdl nor headless"};
}

Parsed<HostSettings> settingsFromEnvironment(bool sdlBuilt) {
    HostSettings settings;
    const auto host = parseHostKind(variable("WINPLAT_HOST"), sdlBuilt, displayPresent());
    if (!host.value) return {std::nullopt, "WINPLAT_HOST: " + host.error};
    settings.host = *host.value;
    if (const std::string screen = variable("WINPLAT_SCREEN"); !screen.empty()) {
        const auto size = parseScreenSize(screen);
        if (!size.value) return {std::nullopt, "WINPLAT_SCREEN: " + size.error};
        settings.screen = *size.value;
    }
    settings.inputScript = variable("WINPLAT_INPUT");
    if (const std::string snapshot = variable("WINPLAT_SNAPSHOT"); !snapshot.empty()) {
        const auto request = parseSnapshot(snapshot);
        if (!request.value) return {std::nullopt, "WINPLAT_SNAPSHOT: " + request.error};
        settings.snapshot = *request.value;
    }
    return {settings, {}};
}

}  // namespace winplat::host
