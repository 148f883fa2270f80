#include "host/sdl/sdl_clipboard.h"

#include <SDL.h>

#include <memory>

#include "winplat/refusal.h"

namespace winplat::host {
namespace {

struct FreeSdl {
    void operator()(char* text) const { SDL_free(text); }
};

}  // namespace

void SdlClipboard::offer(std::string_view utf8) {
    const std::string text(utf8);  // SDL wants it NUL-terminated
    if (SDL_SetClipboardText(text.c_str()) != 0) {
        constexpr Refuser refuse("winplat: SDL clipboard");
        refuse.log(std::string("the desktop did not take the text: ") + SDL_GetError());
    }
}

std::optional<std::string> SdlClipboard::text() {
    if (!SDL_HasClipboardText()) return std::nullopt;
    const std::unique_ptr<char, FreeSdl> text(SDL_GetClipboardText());
    if (!text) return std::nullopt;
    return std::string(text.get());
}

}  // namespace winplat::host
