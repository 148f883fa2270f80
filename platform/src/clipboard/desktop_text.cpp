#include "clipboard/desktop_text.h"

#include <array>
#include <algorithm>

#include "winplat/cp1250.h"

namespace winplat::desktop_text {
namespace {

std::string_view untilNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

std::string desktopTextOf(std::string_view clipboardText) {
    const std::string_view text = untilNul(clipboardText);
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF follows
        lines.push_back(text[i]);
    }
    return cp1250::toUtf8(lines);
}

std::string clipboardTextOf(std::string_view desktopText) {
    const std::string bytes = cp1250::fromUtf8(untilNul(desktopText));
    std::string lines;
    lines.reserve(bytes.size() + bytes.size() / 16);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) lines.push_back('\r');
        lines.push_back(bytes[i]);
    }
    return lines;
}

bool writtenInCp1250(LCID locale) {
    // Primary language ids whose ANSI code page is 1250: Czech, Hungarian, Polish, Romanian,
    // Croatian (and Serbian and Bosnian in Latin script, which share its id), Slovak, Albanian,
    // Slovenian.
    constexpr std::array<WORD, 8> kLanguages{0x05, 0x0E, 0x15, 0x18, 0x1A, 0x1B, 0x1C, 0x24};
    const WORD language = static_cast<WORD>(locale & 0x3FF);
    return locale == 0 || std::find(kLanguages.begin(), kLanguages.end(), language) != kLanguages.end();
}

}  // namespace winplat::desktop_text
