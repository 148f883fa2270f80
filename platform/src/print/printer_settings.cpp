// DEVMODEA and DEVNAMES blocks: read within the block's size, written in place.
#include "print/printer_settings.h"

#include <algorithm>
#include <cstring>

#include "winplat/memory.h"
#include "winplat/owners.h"

namespace winplat::print {
namespace {

constexpr const char* kDriver = "winspool";
constexpr int kLowestDpi = 72, kHighestDpi = 1200;

// A zero-terminated name at a character offset of a block, within its size.
std::string nameAt(const char* bytes, size_t size, size_t offset) {
    if (offset >= size) return {};
    return std::string(bytes + offset, strnlen(bytes + offset, size - offset));
}

void readDevMode(HGLOBAL block, PrinterSettings& settings) {
    const GlobalPin pin(block);
    if (!pin.data()) return;
    DEVMODEA mode{};
    std::memcpy(&mode, pin.data(), std::min<size_t>(GlobalSize(block), sizeof mode));
    const std::string device(reinterpret_cast<const char*>(mode.dmDeviceName),
                             strnlen(reinterpret_cast<const char*>(mode.dmDeviceName), CCHDEVICENAME));
    if (knownPrinter(device)) settings.device = device;
    applyDevMode(mode, settings);
}

void readDevNames(HGLOBAL block, PrinterSettings& settings) {
    const GlobalPin pin(block);
    if (!pin.data()) return;
    const size_t size = GlobalSize(block);
    if (size < sizeof(DEVNAMES)) return;
    DEVNAMES names{};
    std::memcpy(&names, pin.data(), sizeof names);
    const std::string device = nameAt(static_cast<const char*>(pin.data()), size, names.wDeviceOffset);
    if (knownPrinter(device)) settings.device = device;
}

// The block, grown to 'size' bytes when smaller; null when memory runs out.
HGLOBAL blockOf(HGLOBAL block, size_t size) {
    if (!block) return GlobalAlloc(GHND, size);
    if (GlobalSize(block) >= size) return block;
    return GlobalReAlloc(block, size, GMEM_MOVEABLE | GMEM_ZEROINIT);
}

}  // namespace

bool knownPrinter(const std::string& name) {
    return std::any_of(kPrinters.begin(), kPrinters.end(), [&](const char* p) { return name == p; });
}

void applyDevMode(const DEVMODEA& mode, PrinterSettings& settings) {
    if ((mode.dmFields & DM_PAPERSIZE) && (mode.dmPaperSize == DMPAPER_A4 || mode.dmPaperSize == DMPAPER_LETTER)) {
        settings.paper = mode.dmPaperSize;
    }
    if ((mode.dmFields & DM_ORIENTATION) &&
        (mode.dmOrientation == DMORIENT_PORTRAIT || mode.dmOrientation == DMORIENT_LANDSCAPE)) {
        settings.orientation = mode.dmOrientation;
    }
    const auto dpi = [](short value) { return value >= kLowestDpi && value <= kHighestDpi; };
    if ((mode.dmFields & DM_PRINTQUALITY) && dpi(mode.dmPrintQuality)) settings.dpiX = settings.dpiY = mode.dmPrintQuality;
    if ((mode.dmFields & DM_YRESOLUTION) && dpi(mode.dmYResolution)) settings.dpiY = mode.dmYResolution;
    if ((mode.dmFields & DM_COPIES) && mode.dmCopies >= 1) settings.copies = mode.dmCopies;
}

DEVMODEA devModeOf(const PrinterSettings& settings) {
    DEVMODEA mode{};
    std::memcpy(mode.dmDeviceName, settings.device.c_str(), std::min<size_t>(settings.device.size(), CCHDEVICENAME - 1));
    mode.dmSpecVersion = DM_SPECVERSION;
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
    mode.dmOrientation = settings.orientation;
    mode.dmPaperSize = settings.paper;
    mode.dmScale = 100;
    mode.dmCopies = settings.copies;
    mode.dmPrintQuality = static_cast<short>(settings.dpiX);
    mode.dmYResolution = static_cast<short>(settings.dpiY);
    return mode;
}

PrinterSettings readSettings(HGLOBAL devMode, HGLOBAL devNames) {
    PrinterSettings settings;
    readDevNames(devNames, settings);
    readDevMode(devMode, settings);
    return settings;
}

bool writeSettings(const PrinterSettings& settings, HGLOBAL& devMode, HGLOBAL& devNames) {
    const DEVMODEA mode = devModeOf(settings);
    const HGLOBAL modeBlock = blockOf(devMode, sizeof mode);
    if (!modeBlock) return false;
    devMode = modeBlock;
    if (const GlobalPin pin(devMode); pin.data()) std::memcpy(pin.data(), &mode, sizeof mode);

    // The record, then the driver, device and output names.
    const std::string output = settings.device + ":";
    const size_t driverAt = sizeof(DEVNAMES), deviceAt = driverAt + std::strlen(kDriver) + 1;
    const size_t outputAt = deviceAt + settings.device.size() + 1, size = outputAt + output.size() + 1;
    const HGLOBAL namesBlock = blockOf(devNames, size);
    if (!namesBlock) return false;
    devNames = namesBlock;
    const GlobalPin pin(devNames);
    if (!pin.data()) return false;
    auto* bytes = static_cast<char*>(pin.data());
    const DEVNAMES names{static_cast<WORD>(driverAt), static_cast<WORD>(deviceAt), static_cast<WORD>(outputAt),
                         static_cast<WORD>(settings.device == kPrinters[0] ? DN_DEFAULTPRN : 0)};
    std::memcpy(bytes, &names, sizeof names);
    std::memcpy(bytes + driverAt, kDriver, std::strlen(kDriver) + 1);
    std::memcpy(bytes + deviceAt, settings.device.c_str(), settings.device.size() + 1);
    std::memcpy(bytes + outputAt, output.c_str(), output.size() + 1);
    return true;
}

SIZE pageDots(const PrinterSettings& settings) {
    // Tenths of a millimetre: A4 210 x 297 mm, Letter 8.5 x 11 in.
    const bool a4 = settings.paper == DMPAPER_A4;
    const int width = a4 ? 2100 : 2159, height = a4 ? 2970 : 2794;
    const auto dots = [](int tenths, int dpi) { return static_cast<LONG>((tenths * dpi * 10 + 1270) / 2540); };
    SIZE page{dots(width, settings.dpiX), dots(height, settings.dpiY)};
    if (settings.orientation == DMORIENT_LANDSCAPE) {
        page = SIZE{dots(height, settings.dpiX), dots(width, settings.dpiY)};
    }
    return page;
}

}  // namespace winplat::print
