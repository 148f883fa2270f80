// The desktop's clipboard as SDL reaches it (the X11 CLIPBOARD selection, or Wayland's): installed
// while the SDL window lives, since SDL serves the selection through that window's events.
#ifndef WINPLAT_SRC_HOST_SDL_SDL_CLIPBOARD_H
#define WINPLAT_SRC_HOST_SDL_SDL_CLIPBOARD_H

#include "winplat/host.h"

namespace winplat::host {

class SdlClipboard final : public DesktopClipboard {
public:
    SdlClipboard() : previous_(setDesktopClipboard(this)) {}
    ~SdlClipboard() override { setDesktopClipboard(previous_); }
    SdlClipboard(const SdlClipboard&) = delete;
    SdlClipboard& operator=(const SdlClipboard&) = delete;

    void offer(std::string_view utf8) override;
    std::optional<std::string> text() override;

private:
    DesktopClipboard* previous_;
};

}  // namespace winplat::host

#endif
