// The open MCI devices and the commands they take. A device keeps time on the host clock: playing
// from a position to another takes that long, its position is worked out from when it started,
// and a play that asked for a notification sets a timer that posts it when the sound ends. What
// the device does is told to its media stream, which makes the sound (see media_backend.h).
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/call_refusal.h"
#include "mci/decoded_media.h"
#include "mci/media_backend.h"
#include "mci/wave_header.h"
#include "winplat/debug.h"
#include "winplat/mci.h"
#include "winplat/paths.h"
#include "winplat/stdio_bridge.h"
#include "winplat/time.h"
#include "winplat/user.h"

namespace winplat::mci {

namespace {

constexpr CallRefuser refuse("winplat: mciSendCommandA", ERROR_INVALID_PARAMETER);
// Files beyond this are refused rather than read whole.
constexpr long kLargestFile = 256L * 1024 * 1024;

enum class State { stopped, playing, paused };

struct Device {
    std::string file;
    MediaInfo info;
    bool inFrames = false;  // positions given and returned in frames rather than milliseconds
    State state = State::stopped;
    uint32_t position = 0;  // where a stopped or paused device stands (ms)
    uint32_t from = 0, to = 0;
    DWORD startedAt = 0;
    HWND notifyWindow = nullptr;  // a play's notification still to come
    UINT_PTR timer = 0;
    std::unique_ptr<MediaStream> stream;
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
    if (device.state != State::playing) return;
    const uint32_t elapsed = GetTickCount() - device.startedAt;
    if (elapsed < device.to - device.from) return;
    device.state = State::stopped;
    device.position = device.to;
}

uint32_t positionOf(Device& device) {
    update(device);
    return device.state == State::playing ? device.from + (GetTickCount() - device.startedAt) : device.position;
}

// Positions as the program gives and reads them: milliseconds, or frames once set so.
uint32_t toCaller(const Device& device, uint32_t ms) { return device.inFrames ? device.info.frameAt(ms) : ms; }
uint32_t fromCaller(const Device& device, uint32_t value) {
    return device.inFrames ? device.info.msOfFrame(value) : value;
}

void killTimer(Device& device) {
    if (device.timer) KillTimer(nullptr, device.timer);
    device.timer = 0;
}

// A play's notification ends: superseded by another play, aborted by a stop, seek or close.
void endNotification(Device& device, MCIDEVICEID id, WPARAM code) {
    killTimer(device);
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

// The time of a notification still to come, from now to the end of the play.
void armTimer(MCIDEVICEID id, Device& device) {
    if (!device.notifyWindow) return;
    device.timer = SetTimer(nullptr, 0, std::max<uint32_t>(1, device.to - positionOf(device)), playEnded);
    if (!device.timer) endNotification(device, id, MCI_NOTIFY_FAILURE);
}

enum class Kind { none, wave, decoded };

bool hasExtension(const std::string& path, std::initializer_list<const char*> extensions) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const char* e) { return lstrcmpiA(path.c_str() + dot, e) == 0; });
}

// The device a file opens: from the type named, else from the file's extension. MIDI has no
// sequencer here, so its files are refused as an unknown device.
Kind kindOf(const std::string& path, const char* type) {
    if (type) {
        if (lstrcmpiA(type, "waveaudio") == 0) return Kind::wave;
        if (lstrcmpiA(type, "avivideo") == 0 || lstrcmpiA(type, "mpegvideo") == 0) return Kind::decoded;
        return Kind::none;
    }
    if (hasExtension(path, {".wav"})) return Kind::wave;
    if (hasExtension(path, {".avi", ".mp3", ".mp2", ".mpa", ".mpg", ".mpeg", ".m1v", ".mov", ".qt"})) {
        return Kind::decoded;
    }
    return Kind::none;
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

// What a file holds, or an error with the reason said.
std::optional<MediaInfo> readInfo(Kind kind, const std::string& path, const std::string& hostPath, MCIERROR& error) {
    std::string why;
    if (kind == Kind::wave) {
        const std::vector<uint8_t> bytes = readFile(path.c_str(), error);
        if (error) return refuse(std::optional<MediaInfo>{}, "the file cannot be read: " + path);
        const std::optional<WaveInfo> wave = readWaveHeader(bytes, why);
        if (!wave) return error = MCIERR_INVALID_FILE, refuse(std::optional<MediaInfo>{}, why);
        MediaInfo info;
        info.lengthMs = wave->durationMs();
        info.audio = true;
        return info;
    }
    std::optional<MediaInfo> info = probeMedia(hostPath, why);
    if (!info) error = MCIERR_INVALID_FILE;
    return info ? info : refuse(std::optional<MediaInfo>{}, why);
}

MCIERROR open(DWORD_PTR flags, LPMCI_OPEN_PARMSA parameters) {
    if (!parameters) return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "no parameter block");
    if (!(flags & MCI_OPEN_ELEMENT) || !parameters->lpstrElementName) {
        return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "only files are opened (MCI_OPEN_ELEMENT)");
    }
    const std::string path = parameters->lpstrElementName;
    const Kind kind = kindOf(path, (flags & MCI_OPEN_TYPE) ? parameters->lpstrDeviceType : nullptr);
    if (kind == Kind::none) {
        return refuse(MCIERROR{MCIERR_INVALID_DEVICE_NAME}, "no device plays " + path + " (waveaudio, avivideo, mpegvideo)");
    }
    const std::optional<std::string> hostPath = files::resolve(path);
    if (!hostPath) return refuse(MCIERROR{MCIERR_FILE_NOT_FOUND}, "no such file: " + path);
    MCIERROR error = 0;
    const std::optional<MediaInfo> info = readInfo(kind, path, *hostPath, error);
    if (!info) return error;
    const MCIDEVICEID id = freeId();
    Device& device = devices()[id];
    device.file = path;
    device.info = *info;
    device.stream = mediaBackend().open(*hostPath, *info);
    parameters->wDeviceID = id;
    notify(callbackOf(flags, parameters->dwCallback), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

// Sets the device going over from..to (ms), waiting for the end or arming the notification.
MCIERROR start(MCIDEVICEID id, Device& device, uint32_t from, uint32_t to, DWORD_PTR flags, HWND window) {
    device.state = State::playing;
    device.from = from;
    device.to = to;
    device.startedAt = GetTickCount();
    OutputDebugStringA(("MCI play " + device.file + " " + std::to_string(from) + ".." + std::to_string(to)).c_str());
    device.stream->play(from, to);
    if (flags & MCI_WAIT) {
        Sleep(to - from);
        device.stream->finish();
        update(device);
        notify(window, MCI_NOTIFY_SUCCESSFUL, id);
        return 0;
    }
    device.notifyWindow = window;
    armTimer(id, device);
    return 0;
}

MCIERROR play(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_PLAY_PARMS parameters) {
    const uint32_t from = (flags & MCI_FROM) && parameters ? fromCaller(device, parameters->dwFrom) : positionOf(device);
    const uint32_t to = (flags & MCI_TO) && parameters ? fromCaller(device, parameters->dwTo) : device.info.lengthMs;
    if (from > device.info.lengthMs || to > device.info.lengthMs || from > to) {
        return refuse(MCIERROR{MCIERR_OUTOFRANGE}, "a position beyond the media");
    }
    endNotification(device, id, MCI_NOTIFY_SUPERSEDED);
    return start(id, device, from, to, flags, callbackOf(flags, parameters ? parameters->dwCallback : 0));
}

// A pause keeps a play's notification: a resume goes on towards the same end.
MCIERROR pause(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_GENERIC_PARMS parameters) {
    update(device);
    if (device.state == State::playing) {
        device.position = positionOf(device);
        device.state = State::paused;
        killTimer(device);
        device.stream->pause(device.position);
    }
    notify(callbackOf(flags, parameters ? parameters->dwCallback : 0), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR resume(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_GENERIC_PARMS parameters) {
    HWND window = callbackOf(flags, parameters ? parameters->dwCallback : 0);
    if (device.state != State::paused) return notify(window, MCI_NOTIFY_SUCCESSFUL, id), 0;
    HWND pending = std::exchange(device.notifyWindow, nullptr);
    start(id, device, device.position, device.to, 0, pending);
    notify(window, MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR stop(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_GENERIC_PARMS parameters) {
    device.position = positionOf(device);
    device.state = State::stopped;
    device.stream->stop(device.position);
    endNotification(device, id, MCI_NOTIFY_ABORTED);
    notify(callbackOf(flags, parameters ? parameters->dwCallback : 0), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR seek(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_SEEK_PARMS parameters) {
    uint32_t target = 0;
    if (flags & MCI_SEEK_TO_START) {
        target = 0;
    } else if (flags & MCI_SEEK_TO_END) {
        target = device.info.lengthMs;
    } else if ((flags & MCI_TO) && parameters) {
        target = fromCaller(device, parameters->dwTo);
        if (target > device.info.lengthMs) return refuse(MCIERROR{MCIERR_OUTOFRANGE}, "a seek beyond the media");
    } else {
        return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "a seek without a target");
    }
    device.state = State::stopped;
    device.position = target;
    device.stream->stop(target);
    endNotification(device, id, MCI_NOTIFY_ABORTED);
    notify(callbackOf(flags, parameters ? parameters->dwCallback : 0), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR set(MCIDEVICEID id, Device& device, DWORD_PTR flags, LPMCI_SET_PARMS parameters) {
    if (!(flags & MCI_SET_TIME_FORMAT) || !parameters) {
        return refuse(MCIERROR{MCIERR_UNSUPPORTED_FUNCTION}, "only the time format is set");
    }
    if (parameters->dwTimeFormat == MCI_FORMAT_FRAMES && !device.info.video) {
        return refuse(MCIERROR{MCIERR_BAD_TIME_FORMAT}, "frames only count pictures of a video");
    }
    if (parameters->dwTimeFormat != MCI_FORMAT_MILLISECONDS && parameters->dwTimeFormat != MCI_FORMAT_FRAMES) {
        return refuse(MCIERROR{MCIERR_BAD_TIME_FORMAT}, "a time format not offered");
    }
    device.inFrames = parameters->dwTimeFormat == MCI_FORMAT_FRAMES;
    notify(callbackOf(flags, parameters->dwCallback), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

DWORD modeOf(Device& device) {
    update(device);
    switch (device.state) {
        case State::playing: return MCI_MODE_PLAY;
        case State::paused: return MCI_MODE_PAUSE;
        case State::stopped: break;
    }
    return MCI_MODE_STOP;
}

MCIERROR status(Device& device, DWORD_PTR flags, LPMCI_STATUS_PARMS parameters) {
    if (!parameters || !(flags & MCI_STATUS_ITEM)) return refuse(MCIERROR{MCIERR_MISSING_PARAMETER}, "no status item");
    switch (parameters->dwItem) {
        case MCI_STATUS_LENGTH: parameters->dwReturn = toCaller(device, device.info.lengthMs); return 0;
        case MCI_STATUS_POSITION: parameters->dwReturn = toCaller(device, positionOf(device)); return 0;
        case MCI_STATUS_MODE: parameters->dwReturn = modeOf(device); return 0;
        case MCI_STATUS_TIME_FORMAT:
            parameters->dwReturn = device.inFrames ? MCI_FORMAT_FRAMES : MCI_FORMAT_MILLISECONDS;
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

template <typename Parameters>
Parameters* block(DWORD_PTR parameters) {
    return reinterpret_cast<Parameters*>(parameters);
}

}  // namespace

MCIERROR sendCommand(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    if (message == MCI_OPEN) return open(flags, block<MCI_OPEN_PARMSA>(parameters));
    auto found = devices().find(id);
    if (found == devices().end()) return refuse(MCIERROR{MCIERR_INVALID_DEVICE_ID}, "no such device");
    Device& device = found->second;
    switch (message) {
        case MCI_PLAY: return play(id, device, flags, block<MCI_PLAY_PARMS>(parameters));
        case MCI_PAUSE: return pause(id, device, flags, block<MCI_GENERIC_PARMS>(parameters));
        case MCI_RESUME: return resume(id, device, flags, block<MCI_GENERIC_PARMS>(parameters));
        case MCI_STOP: return stop(id, device, flags, block<MCI_GENERIC_PARMS>(parameters));
        case MCI_SEEK: return seek(id, device, flags, block<MCI_SEEK_PARMS>(parameters));
        case MCI_SET: return set(id, device, flags, block<MCI_SET_PARMS>(parameters));
        case MCI_STATUS: return status(device, flags, block<MCI_STATUS_PARMS>(parameters));
        case MCI_CLOSE: return close(id, device, flags, block<MCI_GENERIC_PARMS>(parameters));
        default: return refuse(MCIERROR{MCIERR_UNRECOGNIZED_COMMAND}, "a command not offered");
    }
}

}  // namespace winplat::mci

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    return winplat::mci::sendCommand(device, message, flags, parameters);
}
