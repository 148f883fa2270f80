#include "host/script_player.h"

#include <algorithm>

#include "base/call_refusal.h"
#include "gdi/paint.h"
#include "user/input_feed.h"
#include "winplat/handles.h"
#include "winplat/testing.h"

namespace winplat::host {
namespace {

using Kind = ScriptStep::Kind;

void click(POINT at, MouseButton button, int times) {
    user::hardwareMouseMove(at);
    for (int i = 0; i < times; ++i) {
        user::hardwareButton(button, true);
        user::hardwareButton(button, false);
    }
}

void drag(POINT from, POINT to) {
    user::hardwareMouseMove(from);
    user::hardwareButton(MouseButton::Left, true);
    user::hardwareMouseMove(to);
    user::hardwareButton(MouseButton::Left, false);
}

void pressChord(const KeyChord& chord) {
    for (UINT modifier : chord.modifiers) user::hardwareKey(modifier, true);
    user::hardwareKey(chord.key, true);
    user::hardwareKey(chord.key, false);
    for (auto it = chord.modifiers.rbegin(); it != chord.modifiers.rend(); ++it) user::hardwareKey(*it, false);
}

}  // namespace

void playStep(const ScriptStep& step) {
    switch (step.kind) {
        case Kind::Wait: return;
        case Kind::Move: user::hardwareMouseMove(step.from); return;
        case Kind::Click: click(step.from, MouseButton::Left, 1); return;
        case Kind::DoubleClick: click(step.from, MouseButton::Left, 2); return;
        case Kind::RightClick: click(step.from, MouseButton::Right, 1); return;
        case Kind::Drag: drag(step.from, step.to); return;
        case Kind::Wheel: user::hardwareWheel(step.wheelDelta); return;
        case Kind::Key: pressChord(step.chord); return;
        case Kind::Type:
            for (char c : step.text) user::hardwareCharacter(static_cast<uint8_t>(c));
            return;
        case Kind::Snap: writeScreenSnapshot(step.text); return;
    }
}

bool writeScreenSnapshot(const std::string& path) {
    const bool written = testing::writePng(makeHandle<HBITMAP>(gdi::screenBitmap()), path.c_str());
    if (!written) {
        const Refuser refuse("winplat: snapshot");
        refuse.log("cannot write the screen to " + path);
    }
    return written;
}

ScriptPlayer::ScriptPlayer(const std::vector<ScriptStep>& steps, const std::optional<SnapshotRequest>& snapshot,
                           uint64_t startMs) {
    uint64_t at = startMs;
    for (const ScriptStep& step : steps) {
        if (step.kind == Kind::Wait) {
            at += step.waitMs;
            continue;
        }
        steps_.push_back({at, step});
    }
    if (snapshot) {
        ScriptStep snap;
        snap.kind = Kind::Snap;
        snap.text = snapshot->path;
        const uint64_t due = startMs + snapshot->afterMs;
        // After the script's steps of the same moment: the snapshot shows what they did.
        const auto place = std::find_if(steps_.begin(), steps_.end(), [due](const Timed& t) { return t.due > due; });
        steps_.insert(place, {due, snap});
    }
}

std::optional<uint64_t> ScriptPlayer::nextDue() const {
    if (steps_.empty()) return std::nullopt;
    return steps_.front().due;
}

void ScriptPlayer::playNext() {
    if (steps_.empty()) return;
    const ScriptStep step = steps_.front().step;
    steps_.pop_front();
    playStep(step);
}

void ScriptPlayer::finishSnapshots() {
    for (const Timed& timed : steps_) {
        if (timed.step.kind == Kind::Snap) writeScreenSnapshot(timed.step.text);
    }
    steps_.clear();
}

}  // namespace winplat::host
