// Language files: record files named after a Windows language id ("0405.clf" for 1029) in the
// program's folder or its sub-folder "lng\", whose numbered record 0 holds the string tables for
// menus and dialogs and the list of UI texts. Loading one replaces the built-in Czech texts until
// the next load or clear.
#ifndef LECT32_STORE_LANGUAGE_FILE_H
#define LECT32_STORE_LANGUAGE_FILE_H

#include <cstdint>
#include <string>

#include "winplat/user.h"

namespace lect32 {

class VazaziFile;

// The file name of a language: four lower-case hexadecimal digits and ".clf".
std::string LanguageFileName(uint16_t languageId);

// The folder of the running program, up to and including its last backslash.
std::string ProgramFolder();

// Drops the current texts, then reads the record: the string tables, then the text list in its
// saved form. 1 on success; 0 when the record cannot be read or either part is refused, with
// nothing loaded.
int LoadLanguageTexts(VazaziFile& file, int16_t record);

// Frees the tables, empties the text list and has the built-in main menu restored (when a
// restorer is set), so the built-in texts are in force again.
void ClearLanguageTexts(HWND mainWindow);

// What restores the built-in menu of the main window; the shell sets it.
using MainMenuRestorer = void (*)(HWND mainWindow);
void SetMainMenuRestorer(MainMenuRestorer restorer);

// Language 0: built-in texts (cleared), 1, without touching the disk. Otherwise the language's
// file from the program's folder, else from its "lng\" sub-folder: 0 when neither opens (texts
// cleared); else the load's result, with table 1 applied to the main window's menu bar.
int LoadLanguageFile(int16_t record, uint16_t languageId, HWND mainWindow);

// The stemming dictionary of a language for full-text search: 1029 -> 0, 1051 -> 1, 2057 -> 2,
// 1031 -> 3, any other -> 0xFFFF.
uint16_t LanguageIdToIndex(uint16_t languageId);

// Takes and dispatches up to n waiting messages, keeping the interface alive during long work.
void PumpMessages(int n);

}  // namespace lect32

#endif
