// A second player, independent of the sound player, of one file of the sound list at a time,
// polled by timer 101 of the main window every 110 ms: it closes a play that has ended and, when
// looping, starts the selected file again.
#ifndef LECT32_PAGE_SINGLE_MEDIA_PLAYER_H
#define LECT32_PAGE_SINGLE_MEDIA_PLAYER_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

class SingleMediaPlayer {
public:
    static constexpr UINT_PTR kTimerId = 101;
    static constexpr UINT kTickMs = 110;
    // The mode of plays that Start opens.
    static constexpr uint8_t kStartedMode = 2;

    // The window whose timer 101 polls the player.
    void SetWindow(HWND mainWindow) { window_ = mainWindow; }

    // Selects entry 'index' (-1 clears the selection, closing an open play: 0). A play of
    // another entry that Start opened is closed. Nothing starts. 1 for a selection.
    int Select(int16_t index, bool loop);
    // Opens the selected file when it lies beside the document and no started play is open.
    void Start();
    // Opens 'file' (closing an open play), plays it and starts the timer; an unreadable file
    // leaves the player closed.
    void Open(const char* file, uint8_t mode);
    void Close(bool stop);
    // The timer's work: a play that ended is closed, then started again when looping, else the
    // selection is cleared.
    void Poll();
    // At exit.
    void Reset();

    uint32_t device() const { return device_; }
    uint8_t mode() const { return mode_; }
    bool timerRunning() const { return timerRunning_; }
    int16_t selected() const { return selected_; }

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    HWND window_ = nullptr;
    uint32_t device_ = 0;
    uint8_t mode_ = 0;
    bool timerRunning_ = false;
    int16_t selected_ = -1;
    bool loop_ = false;
};

// The program's one player, set up at start and reset at exit.
SingleMediaPlayer& GetSingleMediaPlayer();

}  // namespace lect32

#endif
