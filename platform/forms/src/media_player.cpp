#include "winforms/media_player.h"

#include "winforms/application.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {
constexpr winplat::Refuser refuse("winforms: MediaPlayer");
}  // namespace

MediaPlayer::MediaPlayer(Component* owner) : Component(owner) {}

MediaPlayer::~MediaPlayer() {
    if (device_) Close();
}

DWORD MediaPlayer::Flags() {
    DWORD flags = 0;
    if (notify_) flags |= MCI_NOTIFY;
    if (wait_) flags |= MCI_WAIT;
    notify_ = false;  // a notification is asked for one command at a time
    return flags;
}

bool MediaPlayer::Check(MCIERROR error) {
    error_ = error;
    if (error) refuse.log("the media device refused the command (MCI error " + std::to_string(error) + ")");
    return error == 0;
}

bool MediaPlayer::Open() {
    if (device_) Close();
    MCI_OPEN_PARMSA parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(Application::Current().UtilityWindow());
    parms.lpstrElementName = fileName_.c_str();
    if (!Check(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | Flags(), reinterpret_cast<DWORD_PTR>(&parms)))) {
        return false;
    }
    device_ = parms.wDeviceID;
    Application::Current().RegisterMediaPlayer(device_, *this);
    return true;
}

bool MediaPlayer::Play() {
    if (!device_) return refuse(false, "no file is open");
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(Application::Current().UtilityWindow());
    DWORD flags = Flags();
    if (Position() >= Length()) {
        flags |= MCI_FROM;  // at the end: from the start again
        parms.dwFrom = 0;
    }
    return Check(mciSendCommandA(device_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms)));
}

bool MediaPlayer::Stop() {
    if (!device_) return refuse(false, "no file is open");
    MCI_GENERIC_PARMS parms{reinterpret_cast<DWORD_PTR>(Application::Current().UtilityWindow())};
    return Check(mciSendCommandA(device_, MCI_STOP, Flags(), reinterpret_cast<DWORD_PTR>(&parms)));
}

bool MediaPlayer::Close() {
    if (!device_) return refuse(false, "no file is open");
    MCI_GENERIC_PARMS parms{};
    const MCIDEVICEID device = device_;
    device_ = 0;
    if (Application::Exists()) {
        parms.dwCallback = reinterpret_cast<DWORD_PTR>(Application::Current().UtilityWindow());
        Application::Current().UnregisterMediaPlayer(device);
    }
    return Check(mciSendCommandA(device, MCI_CLOSE, Flags(), reinterpret_cast<DWORD_PTR>(&parms)));
}

unsigned MediaPlayer::Status(DWORD item) const {
    if (!device_) return 0;
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    if (mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms))) return 0;
    return static_cast<unsigned>(parms.dwReturn);
}

MediaMode MediaPlayer::Mode() const {
    if (!device_) return MediaMode::NotReady;
    switch (Status(MCI_STATUS_MODE)) {
        case MCI_MODE_PLAY: return MediaMode::Playing;
        case MCI_MODE_STOP: return MediaMode::Stopped;
        case MCI_MODE_OPEN: return MediaMode::Open;
        default: return MediaMode::NotReady;
    }
}

unsigned MediaPlayer::Length() const { return Status(MCI_STATUS_LENGTH); }
unsigned MediaPlayer::Position() const { return Status(MCI_STATUS_POSITION); }

void MediaPlayer::Notified(WPARAM code) {
    notifyValue_ = code == MCI_NOTIFY_SUCCESSFUL  ? NotifyValue::Successful
                   : code == MCI_NOTIFY_SUPERSEDED ? NotifyValue::Superseded
                   : code == MCI_NOTIFY_ABORTED    ? NotifyValue::Aborted
                                                   : NotifyValue::Failure;
    Application::EventScope scope;
    if (OnNotify) OnNotify(*this);
}

}  // namespace winforms
