// PlaySoundA over a waveaudio device of its own: one sound at a time, played on the same sink as
// every MCI device.
#include "winplat/mci.h"
#include "winplat/user.h"

namespace {

MCIDEVICEID& playing() {
    static MCIDEVICEID id = 0;
    return id;
}

void endSound() {
    if (playing()) mciSendCommandA(playing(), MCI_CLOSE, 0, 0);
    playing() = 0;
}

BOOL fail(DWORD flags) {
    if (!(flags & SND_NODEFAULT)) MessageBeep(MB_OK);
    return FALSE;
}

}  // namespace

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD flags) {
    endSound();
    if (!sound || (flags & SND_PURGE)) return TRUE;
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "waveaudio";
    open.lpstrElementName = sound;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_OPEN_TYPE, reinterpret_cast<DWORD_PTR>(&open)) != 0) {
        return fail(flags);
    }
    MCI_PLAY_PARMS play{};
    const DWORD wait = (flags & SND_ASYNC) ? 0 : MCI_WAIT;
    if (mciSendCommandA(open.wDeviceID, MCI_PLAY, wait, reinterpret_cast<DWORD_PTR>(&play)) != 0) {
        mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, 0);
        return fail(flags);
    }
    if (wait) {
        mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, 0);
    } else {
        playing() = open.wDeviceID;
    }
    return TRUE;
}
