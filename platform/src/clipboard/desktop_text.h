// Clipboard text as the desktop's programs and ours each expect it.
//
// Ours is CF_TEXT: cp1250, lines ended by CR LF, the text ending at its first NUL. The desktop's
// (X11 and Wayland selections, as SDL hands them over) is UTF-8 with LF line ends: that is what
// editors, terminals and shells there write and paste, and a CR left in would show in a terminal
// as "^M" or run a pasted command line with a stray CR. So CR LF becomes LF on the way out and LF
// becomes CR LF on the way in; a lone CR is neither and stays as it is.
#ifndef WINPLAT_SRC_CLIPBOARD_DESKTOP_TEXT_H
#define WINPLAT_SRC_CLIPBOARD_DESKTOP_TEXT_H

#include <string>
#include <string_view>

#include "winplat/locale.h"

namespace winplat::desktop_text {

// CF_TEXT bytes (up to the first NUL) as the desktop's UTF-8 text.
std::string desktopTextOf(std::string_view clipboardText);

// The desktop's UTF-8 text (up to the first NUL) as CF_TEXT bytes, without the terminating NUL.
// A character cp1250 cannot hold, and a malformed sequence, becomes '?', as converting with a
// default character does.
std::string clipboardTextOf(std::string_view desktopText);

// Whether text of this locale (a CF_LOCALE value) is written in cp1250: the Central European
// languages. Locale 0 (none given) counts as ours.
bool writtenInCp1250(LCID locale);

}  // namespace winplat::desktop_text

#endif
