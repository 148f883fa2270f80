// The language of the user interface: the language file that the view settings name, and the
// list of languages a settings dialog offers.
#ifndef LECT32_SHELL_INTERFACE_LANGUAGE_H
#define LECT32_SHELL_INTERFACE_LANGUAGE_H

#include <cstdint>

#include "winplat/user.h"

namespace lect32 {

inline constexpr uint16_t kCzechLanguage = 1029;

// Loads the language file of the view settings' language id for the main window (language 0:
// the built-in texts); LoadLanguageFile's result.
int LoadInterfaceLanguage(int16_t record);

// Fills a combo box with the languages there are: with 'withUndefined' first "<nedefinováno>"
// (item data 0), then "Čeština" (1029), then one entry per language file of the program's "lng\"
// folder: its record-file title as the text (at most 199 characters; the file's name when it has
// none) and the language id its name gives in hexadecimal ("0409.clf": 0x409) as the item data.
// Returns the number of files found plus 1, or plus 2 with 'withUndefined'.
int FillLanguageCombo(HWND combo, bool withUndefined);

}  // namespace lect32

#endif
