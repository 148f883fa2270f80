#include "page/single_media_player.h"

#include <cstring>

#include "store/document_paths.h"
#include "store/document_tables.h"
#include "winplat/mci.h"
#include "winplat/refusal.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: media player");

}  // namespace

int SingleMediaPlayer::Select(int16_t index, bool loop) {
    if (index == -1) {
        if (mode_) Close(true);
        selected_ = -1;
        return 0;
    }
    if (mode_ == kStartedMode && index != selected_) Close(true);
    selected_ = index;
    loop_ = loop;
    return 1;
}

void SingleMediaPlayer::Start() {
    if (selected_ == -1 || mode_ == kStartedMode) return;
    char path[FileNameTable::kPathBuffer];
    if (!soundFileNames().GetPath(selected_, path) || std::strlen(path) >= kDocumentPathBuffer) {
        refuse.log("the sound list has no such entry");
        return;
    }
    if (!ResolveDocumentFile(path)) {
        refuse.log("the selected file is not beside the document");
        return;
    }
    Open(path, kStartedMode);
}

void SingleMediaPlayer::Open(const char* file, uint8_t mode) {
    if (mode_) Close(true);
    MCI_OPEN_PARMSA parms{};
    parms.lpstrElementName = file;
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&parms)) != 0) {
        refuse.log("the file does not open");
        return;
    }
    device_ = parms.wDeviceID;
    MCI_PLAY_PARMS play{};
    mciSendCommandA(device_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play));
    mode_ = mode;
    SetTimer(window_, kTimerId, kTickMs, &SingleMediaPlayer::OnTimer);
    timerRunning_ = true;
}

void SingleMediaPlayer::Close(bool stop) {
    if (timerRunning_) {
        KillTimer(window_, kTimerId);
        timerRunning_ = false;
    }
    if (!mode_) return;
    MCI_GENERIC_PARMS parms{};
    if (stop) mciSendCommandA(device_, MCI_STOP, 0, reinterpret_cast<DWORD_PTR>(&parms));
    mciSendCommandA(device_, MCI_CLOSE, 0, reinterpret_cast<DWORD_PTR>(&parms));
    device_ = 0;
    mode_ = 0;
}

void CALLBACK SingleMediaPlayer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (id == kTimerId) GetSingleMediaPlayer().Poll();
}

void SingleMediaPlayer::Poll() {
    if (!mode_) {
        if (timerRunning_) Close(false);
        return;
    }
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status));
    if (status.dwReturn == MCI_MODE_PLAY) return;
    Close(true);
    if (selected_ == -1) return;
    if (loop_) {
        Start();
    } else {
        selected_ = -1;
    }
}

void SingleMediaPlayer::Reset() {
    if (timerRunning_ || mode_) Close(true);
    selected_ = -1;
}

SingleMediaPlayer& GetSingleMediaPlayer() {
    static SingleMediaPlayer player;
    return player;
}

}  // namespace lect32
