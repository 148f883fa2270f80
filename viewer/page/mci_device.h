// One opened MCI device that plays a sound file of the document: opening, playing under the
// reader's sound switches, pausing, looping, and choosing its file from the document's sound
// list (written out of the document first when it does not lie beside it).
#ifndef LECT32_PAGE_MCI_DEVICE_H
#define LECT32_PAGE_MCI_DEVICE_H

#include <cstdint>
#include <string>

namespace lect32 {

// The program-wide switches of the view settings: sounds at all, and background sounds.
struct SoundSwitches {
    bool sounds = true;
    bool background = true;
};
SoundSwitches& GetSoundSwitches();

class MciDevice {
public:
    // The kind of the background-sound device.
    static constexpr uint8_t kBackgroundKind = 3;

    // 'kind' 1-3 is also the temporary-file slot its extracted files go to.
    explicit MciDevice(uint8_t kind) : kind_(kind) {}
    ~MciDevice() { Close(); }
    MciDevice(const MciDevice&) = delete;
    MciDevice& operator=(const MciDevice&) = delete;

    // Closes what is open, opens 'file' and plays it when asked. 0 (closed) when the device
    // refuses the file.
    int Open(const char* file, bool loop, bool play);
    // Plays from where the device stands; with the switch of this device off it only reports
    // success. 0 when the device refuses.
    int Play();
    void Stop(bool close);
    void Pause();
    void Rewind();
    void Close();
    // A tick: a paused device plays again; a play that ended starts over when looping. 1 while
    // it plays.
    int Poll();
    bool IsPlaying() const { return playing_ && !paused_; }

    // Entry 'index' of the sound list (-1 closes). The same entry of the same member document
    // starts over; another is opened in place of the file open. 0 when the file cannot be had.
    int PlayMedia(int16_t index, bool loop, bool play, uint8_t member = 0);
    // As PlayMedia, but the file open goes on playing when the entry names the same stored file
    // (a page change with the same background sound): it only takes the new 'loop'.
    int PlayMediaByName(int16_t index, bool loop, bool play, uint8_t member = 0);

    uint32_t id() const { return id_; }
    bool playing() const { return playing_; }
    bool paused() const { return paused_; }
    bool looping() const { return loop_; }
    int16_t mediaIndex() const { return mediaIndex_; }
    uint8_t kind() const { return kind_; }
    const std::string& fileName() const { return fileName_; }

private:
    bool SwitchedOn() const;
    int OpenEntry(int16_t index, bool loop, bool play, uint8_t member);
    uint32_t Mode() const;

    uint32_t id_ = 0;
    bool playing_ = false;
    bool paused_ = false;
    bool loop_ = false;
    int16_t mediaIndex_ = -1;
    uint8_t member_ = 0;
    uint8_t kind_;
    std::string fileName_;
};

// The file of entry 'index' of the sound list: the file beside the document when it is there,
// else the document's stored copy written to temporary slot 'slot'. The stored name (the key by
// which a background sound is recognised) in 'stored' when given. False when neither exists.
bool ResolveSoundFile(int16_t index, int slot, std::string& path, std::string* stored = nullptr);

}  // namespace lect32

#endif
