// The virtual printers' settings, and their DEVMODEA and DEVNAMES blocks.
#ifndef WINPLAT_SRC_PRINT_PRINTER_SETTINGS_H
#define WINPLAT_SRC_PRINT_PRINTER_SETTINGS_H

#include <array>
#include <string>

#include "winplat/commdlg.h"

namespace winplat::print {

inline constexpr std::array<const char*, 2> kPrinters = {"PNG", "PDF"};
inline constexpr int kDefaultDpi = 300;

struct PrinterSettings {
    std::string device = kPrinters[0];
    short paper = DMPAPER_A4;
    short orientation = DMORIENT_PORTRAIT;
    int dpiX = kDefaultDpi;
    int dpiY = kDefaultDpi;
    short copies = 1;
};

// Whether the name is one of the virtual printers'.
bool knownPrinter(const std::string& name);
// What a DEVMODEA sets of the settings (not the printer: its name is the caller's to read); what
// it leaves out or gets wrong (an unknown paper, a resolution out of 72..1200) stays.
void applyDevMode(const DEVMODEA& mode, PrinterSettings& settings);

// The settings a program's blocks hold (either may be null); what they leave out or get wrong
// (an unknown printer or paper, a resolution out of 72..1200) keeps its default.
PrinterSettings readSettings(HGLOBAL devMode, HGLOBAL devNames);
// Writes the settings into the blocks, made (GHND) when null and grown when too small; false
// when memory runs out.
bool writeSettings(const PrinterSettings& settings, HGLOBAL& devMode, HGLOBAL& devNames);

// The settings as a DEVMODEA.
DEVMODEA devModeOf(const PrinterSettings& settings);

// The page's size in the printer's dots.
SIZE pageDots(const PrinterSettings& settings);

}  // namespace winplat::print

#endif
