#include "page/mci_device.h"

#include <cstring>

#include "page/embedded_files.h"
#include "store/document_paths.h"
#include "store/document_tables.h"
#include "winplat/mci.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: sound device");

MCIERROR send(uint32_t id, UINT command, DWORD flags, void* parameters) {
    return mciSendCommandA(id, command, flags, reinterpret_cast<DWORD_PTR>(parameters));
}

}  // namespace

SoundSwitches& GetSoundSwitches() {
    static SoundSwitches switches;
    return switches;
}

bool ResolveSoundFile(int16_t index, int slot, std::string& path, std::string* stored) {
    char name[FileNameTable::kPathBuffer];
    if (index < 0 || !soundFileNames().GetPath(index, name)) return refuse(false, "the sound list has no such entry");
    if (stored) *stored = name;
    if (std::strlen(name) < kDocumentPathBuffer) {
        char beside[kDocumentPathBuffer];
        std::memcpy(beside, name, std::strlen(name) + 1);
        if (ResolveDocumentFile(beside)) {
            path = beside;
            return true;
        }
    }
    char extracted[kDocumentPathBuffer] = "";
    if (!ExtractMediaFile(kSoundFiles, static_cast<uint16_t>(index), extracted, slot)) {
        return refuse(false, "the sound is neither beside the document nor stored in it");
    }
    path = extracted;
    return true;
}

int MciDevice::Open(const char* file, bool loop, bool play) {
    Close();
    MCI_OPEN_PARMSA parms{};
    parms.lpstrElementName = file;
    if (send(0, MCI_OPEN, MCI_OPEN_ELEMENT, &parms) != 0) return refuse(0, "the sound file does not open");
    id_ = parms.wDeviceID;
    playing_ = false;
    loop_ = loop;
    if (play) Play();
    return 1;
}

bool MciDevice::SwitchedOn() const {
    const SoundSwitches& switches = GetSoundSwitches();
    return switches.sounds && (kind_ != kBackgroundKind || switches.background);
}

int MciDevice::Play() {
    if (!SwitchedOn()) {
        // The background sound waits for its switch: turning it on resumes the page's sound
        // instead of leaving the page silent until the next one.
        if (kind_ == kBackgroundKind && id_) paused_ = true;
        return 1;
    }
    if (!id_) return 0;
    MCI_PLAY_PARMS parms{};
    if (send(id_, MCI_PLAY, 0, &parms) != 0) return refuse(0, "the device does not play");
    playing_ = true;
    paused_ = false;
    return 1;
}

void MciDevice::Stop(bool close) {
    if (id_) {
        MCI_GENERIC_PARMS parms{};
        send(id_, MCI_STOP, 0, &parms);
    }
    playing_ = false;
    if (close) Close();
}

void MciDevice::Pause() {
    if (!id_) return;
    MCI_GENERIC_PARMS parms{};
    send(id_, MCI_STOP, 0, &parms);
    playing_ = false;
    paused_ = true;
}

void MciDevice::Rewind() {
    if (!id_) return;
    MCI_SEEK_PARMS parms{};
    parms.dwTo = 0;
    send(id_, MCI_SEEK, MCI_TO, &parms);
}

void MciDevice::Close() {
    if (id_) {
        if (playing_) Stop(false);
        MCI_GENERIC_PARMS parms{};
        send(id_, MCI_CLOSE, 0, &parms);
    }
    id_ = 0;
    playing_ = false;
    paused_ = false;
    mediaIndex_ = -1;
    fileName_.clear();
}

uint32_t MciDevice::Mode() const {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_MODE;
    if (send(id_, MCI_STATUS, MCI_STATUS_ITEM, &parms) != 0) return 0;
    return static_cast<uint32_t>(parms.dwReturn);
}

int MciDevice::Poll() {
    if (paused_) Play();
    if (!playing_) return 0;
    if (Mode() == MCI_MODE_PLAY) return 1;
    if (loop_) {
        Rewind();
        return Play();
    }
    playing_ = false;
    return 0;
}

int MciDevice::OpenEntry(int16_t index, bool loop, bool play, uint8_t member) {
    Close();
    std::string path, stored;
    if (!ResolveSoundFile(index, kind_, path, &stored)) return 0;
    if (!Open(path.c_str(), loop, play)) return 0;
    mediaIndex_ = index;
    member_ = member;
    fileName_ = stored;
    return 1;
}

int MciDevice::PlayMedia(int16_t index, bool loop, bool play, uint8_t member) {
    if (index == -1) {
        Close();
        return 1;
    }
    if (id_ && index == mediaIndex_ && member == member_) {
        Stop(false);
        Rewind();
        loop_ = loop;
        if (play) Play();
        return 1;
    }
    return OpenEntry(index, loop, play, member);
}

int MciDevice::PlayMediaByName(int16_t index, bool loop, bool play, uint8_t member) {
    if (index == -1) {
        Close();
        return 1;
    }
    // Compared by the stored name, before anything is written out: extracting first would
    // overwrite the temporary file being played, and every stored sound would look the same.
    char name[FileNameTable::kPathBuffer];
    if (id_ && soundFileNames().GetPath(index, name) && fileName_ == name) {
        loop_ = loop;
        mediaIndex_ = index;
        member_ = member;
        if (play) Play();
        return 1;
    }
    return OpenEntry(index, loop, play, member);
}

}  // namespace lect32
