// A media player: a sound file opened on the platform's media devices, played, stopped and
// closed; with Notify set, the next command's end is told through OnNotify. A player shows no
// buttons: the drafting program's players are hidden and driven by its scripts.
#ifndef WINFORMS_MEDIA_PLAYER_H
#define WINFORMS_MEDIA_PLAYER_H

#include <string>

#include "winforms/component.h"
#include "winforms/graphics.h"
#include "winforms/types.h"
#include "winplat/mci.h"

namespace winforms {

enum class MediaMode : uint8_t { NotReady, Stopped, Playing, Open };
enum class NotifyValue : uint8_t { Successful, Superseded, Aborted, Failure };

class WINFORMS_API MediaPlayer : public Component {
public:
    explicit MediaPlayer(Component* owner);
    ~MediaPlayer() override;

    // A Windows path (cp1250).
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    // Each command says whether it worked; Error() is its MCI error (0: none).
    bool Open();
    // From where the player stands (from the start again when it stood at the end).
    bool Play();
    bool Stop();
    bool Close();
    MCIERROR Error() const { return error_; }
    MCIDEVICEID DeviceID() const { return device_; }
    MediaMode Mode() const;
    // In milliseconds.
    unsigned Length() const;
    unsigned Position() const;
    // The next command (only) reports its end through OnNotify.
    bool Notify() const { return notify_; }
    void SetNotify(bool notify) { notify_ = notify; }
    // Commands return only when done (a play waits for the sound's end).
    bool Wait() const { return wait_; }
    void SetWait(bool wait) { wait_ = wait; }
    NotifyValue GetNotifyValue() const { return notifyValue_; }
    NotifyEvent OnNotify;

    // A notification of the player's device arrived.
    void Notified(WPARAM code);

private:
    DWORD Flags();
    bool Check(MCIERROR error);
    unsigned Status(DWORD item) const;

    std::string fileName_;
    MCIDEVICEID device_ = 0;
    MCIERROR error_ = 0;
    bool notify_ = false;
    bool wait_ = false;
    NotifyValue notifyValue_ = NotifyValue::Successful;
};

}  // namespace winforms

#endif
