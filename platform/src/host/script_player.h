// Plays an input script and a timed snapshot on the host clock: each step has its time (the sum
// of the waits before it, from when the player started), and the host plays one step at a time
// when the queue is empty, so the program handles each step's input before the next comes.
#ifndef WINPLAT_SRC_HOST_SCRIPT_PLAYER_H
#define WINPLAT_SRC_HOST_SCRIPT_PLAYER_H

#include <cstdint>
#include <deque>
#include <optional>

#include "host/environment.h"
#include "host/input_script.h"

namespace winplat::host {

class ScriptPlayer {
public:
    ScriptPlayer(const std::vector<ScriptStep>& steps, const std::optional<SnapshotRequest>& snapshot,
                 uint64_t startMs);

    // When the next step is due (host clock ms); none when all were played.
    std::optional<uint64_t> nextDue() const;
    // Plays the next step: its input joins the input queue, a snapshot is written.
    void playNext();
    bool finished() const { return steps_.empty(); }
    // The program is ending: snapshots still to come are written now (the screen as it is left),
    // input still to come is dropped. Time does not move.
    void finishSnapshots();

private:
    struct Timed {
        uint64_t due;
        ScriptStep step;
    };
    std::deque<Timed> steps_;
};

// Writes the framebuffer to a PNG file (UTF-8 path); the reason goes to the log on failure.
bool writeScreenSnapshot(const std::string& path);

// The input a step makes, through the hardware input calls.
void playStep(const ScriptStep& step);

}  // namespace winplat::host

#endif
