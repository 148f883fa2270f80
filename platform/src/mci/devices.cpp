// The open MCI devices and the commands they take. A device keeps time on the host clock: playing
// from a position to another takes that long, its position is worked out from when it started,
// and a play that asked for a notification sets a timer that posts it when the sound ends.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/call_refusal.h"
#include "mci/wave_header.h"
#include "winplat/debug.h"
#include "winplat/mci.h"
#include "winplat/stdio_bridge.h"
#include "winplat/time.h"
#include "winplat/user.h"

namespace winplat::mci {

namespace {

constexpr CallRefuser refuse("winplat: mciSendCommandA", ERROR_INVALID_PARAMETER);
// Files beyond this are refused rather than read whole.
constexpr long kLargestFile = 256L * 1024 * 1024;

struct Device {
    std::string file;
    uint32_t length = 0;  // ms
    bool playing = false;
    uint32_t position = 0;  // where a stopped device stands
    uint32_t from = 0, to = 0;
    DWORD startedAt = 0;
    HWND notifyWindow = nullptr;  // a play's notification still to come
    UINT_PTR timer = 0;
};

std::map<MCIDEVICEID, Device>& devices() {
    static std::map<MCIDEVICEID, Device> table;
    return table;
}

MCIDEVICEID freeId() {
    MCIDEVICEID id = 1;
    for (const auto& [used, device] : devices()) {
        if (used != id) break;
        ++id;
    }
    return id;
}

void notify(HWND window, WPARAM code, MCIDEVICEID id) {
    if (window) PostMessageA(window, MM_MCINOTIFY, code, static_cast<LPARAM>(id));
}

HWND callbackOf(DWORD_PTR flags, DWORD_PTR callback) {
    return (flags & MCI_NOTIFY) ? reinterpret_cast<HWND>(callback) : nullptr;
}

// Where a device stands now; a play that reached its end has stopped there.
void update(Device& device) {
    if (!device.playing) return;
    const uint32_t elapsed = GetTickCount() - device.startedAt;
    if (elapsed < device.to - device.from) return;
    device.playing = false;
    device.position = device.to;
}

uint32_t positionOf(Device& device) {
    update(device);
    return device.playing ? device.from + (GetTickCount() - device.startedAt) : device.position;
}

// A play's notification ends: superseded by another play, aborted by a stop or close.
void endNotification(Device& device, MCIDEVICEID id, WPARAM code) {
    if (device.timer) KillTimer(nullptr, device.timer);
    device.timer = 0;
    notify(std::exchange(device.notifyWindow, nullptr), code, id);
}

void CALLBACK playEnded(HWND, UINT, UINT_PTR timer, DWORD) {
    for (auto& [id, device] : devices()) {
        if (device.timer != timer) continue;
        update(device);
        endNotification(device, id, MCI_NOTIFY_SUCCESSFUL);
        return;
    }
    KillTimer(nullptr, timer);
}

bool extensionIsWave(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot != std::string::npos && lstrcmpiA(path.c_str() + dot, ".wav") == 0;
}

std::vector<uint8_t> readFile(const char* path, MCIERROR& error) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(winplat_fopen(path, "rb"), fclose);
    if (!file) return error = MCIERR_FILE_NOT_FOUND, std::vector<uint8_t>{};
    if (fseek(file.get(), 0, SEEK_END) != 0) return error = MCIERR_INVALID_FILE, std::vector<uint8_t>{};
    const long size = ftell(file.get());
    if (size < 0 || size > kLargestFile) return error = MCIERR_INVALID_FILE, std::vector<uint8_t>{};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    rewind(file.get());
    if (fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) error = MCIERR_INVALID_FILE;
    return bytes;
}

MCIERROR open(DWORD_PTR flags, LPMCI_OPEN_PARMSA parameters) {
    if (!parameters) return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "no parameter block");
    if (!(flags & MCI_OPEN_ELEMENT) || !parameters->lpstrElementName) {
        return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "only files are opened (MCI_OPEN_ELEMENT)");
    }
    const std::string path = parameters->lpstrElementName;
    const bool typed = (flags & MCI_OPEN_TYPE) && parameters->lpstrDeviceType;
    if (typed ? lstrcmpiA(parameters->lpstrDeviceType, "waveaudio") != 0 : !extensionIsWave(path)) {
        return refuse(MCIERROR{MCIERR_INVALID_DEVICE_NAME}, "only waveaudio devices are offered");
    }
    MCIERROR error = 0;
    const std::vector<uint8_t> bytes = readFile(path.c_str(), error);
    if (error) return refuse(error, "the file cannot be read: " + path);
    std::string why;
    const std::optional<WaveInfo> info = readWaveHeader(bytes, why);
    if (!info) return refuse(MCIERROR{MCIERR_INVALID_FILE}, why);
    const MCIDEVICEID id = freeId();
    Device& device = devices()[id];
    device.file = path;
    device.length = info->durationMs();
    parameters->wDeviceID = id;
    notify(callbackOf(flags, parameters->dwCallback), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR play(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_PLAY_PARMS parameters) {
    const uint32_t from = (flags & MCI_FROM) && parameters ? parameters->dwFrom : positionOf(device);
    const uint32_t to = (flags & MCI_TO) && parameters ? parameters->dwTo : device.length;
    if (from > device.length || to > device.length || from > to) {
        return refuse(MCIERROR{MCIERR_OUTOFRANGE}, "a position beyond the sound");
    }
    endNotification(device, id, MCI_NOTIFY_SUPERSEDED);
    device.playing = true;
    device.from = from;
    device.to = to;
    device.startedAt = GetTickCount();
    OutputDebugStringA(("MCI play " + device.file + " " + std::to_string(from) + ".." + std::to_string(to)).c_str());
    HWND window = callbackOf(flags, parameters ? parameters->dwCallback : 0);
    if (flags & MCI_WAIT) {
        Sleep(to - from);
        update(device);
        notify(window, MCI_NOTIFY_SUCCESSFUL, id);
        return 0;
    }
    if (window) {
        device.notifyWindow = window;
        device.timer = SetTimer(nullptr, 0, std::max<uint32_t>(1, to - from), playEnded);
        if (!device.timer) endNotification(device, id, MCI_NOTIFY_FAILURE);
    }
    return 0;
}

MCIERROR stop(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_GENERIC_PARMS parameters) {
    device.position = positionOf(device);
    device.playing = false;
    endNotification(device, id, MCI_NOTIFY_ABORTED);
    notify(callbackOf(flags, parameters ? parameters->dwCallback : 0), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR status(Device& device, DWORD_PTR flags, LPMCI_STATUS_PARMS parameters) {
    if (!parameters || !(flags & MCI_STATUS_ITEM)) return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "no status item");
    switch (parameters->dwItem) {
        case MCI_STATUS_LENGTH: parameters->dwReturn = device.length; return 0;
        case MCI_STATUS_POSITION: parameters->dwReturn = positionOf(device); return 0;
        case MCI_STATUS_MODE:
            update(device);
            parameters->dwReturn = device.playing ? MCI_MODE_PLAY : MCI_MODE_STOP;
            return 0;
        default: return refuse(MCIERROR{MCIERR_UNSUPPORTED_FUNCTION}, "a status item not offered");
    }
}

MCIERROR close(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_GENERIC_PARMS parameters) {
    endNotification(device, id, MCI_NOTIFY_ABORTED);
    HWND window = callbackOf(flags, parameters ? parameters->dwCallback : 0);
    devices().erase(id);
    notify(window, MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

}  // namespace

MCIERROR sendCommand(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    if (message == MCI_OPEN) return open(flags, reinterpret_cast<LPMCI_OPEN_PARMSA>(parameters));
    auto found = devices().find(id);
    if (found == devices().end()) return refuse(MCIERROR{MCIERR_INVALID_DEVICE_ID}, "no such device");
    Device& device = found->second;
    switch (message) {
        case MCI_PLAY: return play(id, device, flags, reinterpret_cast<LPMCI_PLAY_PARMS>(parameters));
        case MCI_STOP: return stop(id, device, flags, reinterpret_cast<LPMCI_GENERIC_PARMS>(parameters));
        case MCI_STATUS: return status(device, flags, reinterpret_cast<LPMCI_STATUS_PARMS>(parameters));
        case MCI_CLOSE: return close(id, device, flags, reinterpret_cast<LPMCI_GENERIC_PARMS>(parameters));
        default: return refuse(MCIERROR{MCIERR_UNRECOGNIZED_COMMAND}, "a command not offered");
    }
}

}  // namespace winplat::mci

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    return winplat::mci::sendCommand(device, message, flags, parameters);
}
