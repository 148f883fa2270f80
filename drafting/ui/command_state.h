// The steps of interactive commands that wait for points: each waiting step is a CommandState
// record on a stack of six. A view command (zoom window, pan, centre) stacks on top of the
// command it interrupts and gives it back when it ends; the bottom mark is the depth at and below
// which no command counts as active (a running script sets it to the depth it started at).
#ifndef LINEWORK_UI_COMMAND_STATE_H
#define LINEWORK_UI_COMMAND_STATE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/geometry.h"

namespace linework {

// The kinds of step. Only the view commands, the object selection and erase have a fixed
// meaning here; the others are the kinds the tool buttons and the command line give their steps.
namespace command_kind {
inline constexpr uint8_t kIdle = 0;
inline constexpr uint8_t kZoomWindow = 1;
inline constexpr uint8_t kPan = 2;
inline constexpr uint8_t kCentre = 3;
inline constexpr uint8_t kPolyline = 4;
inline constexpr uint8_t kCircle = 5;
inline constexpr uint8_t kObjectSelection = 6;
inline constexpr uint8_t kRotate = 7;
inline constexpr uint8_t kStretch = 8;
inline constexpr uint8_t kScale = 9;
inline constexpr uint8_t kMove = 10;
inline constexpr uint8_t kCopy = 11;
inline constexpr uint8_t kErase = 12;
// Steps that wait for the user on behalf of a script: a value, a key, the end of the input,
// a confirmation.
inline constexpr uint8_t kWaitValue = 13;
inline constexpr uint8_t kWaitKey = 14;
inline constexpr uint8_t kWaitEnd = 15;
inline constexpr uint8_t kWaitConfirm = 16;
// A point, or a distance from two points or a typed number, that a script waits for.
inline constexpr uint8_t kScriptPoint = 17;
// 7..12: edit commands whose selection may be abandoned when nothing was selected.
inline constexpr bool IsEditCommand(uint8_t kind) { return kind >= kRotate && kind <= kErase; }
// The three view commands, each waiting at most once.
inline constexpr bool IsViewCommand(uint8_t kind) { return kind >= kZoomWindow && kind <= kCentre; }
}  // namespace command_kind

// Texts of a step are short strings: at most this many characters.
inline constexpr size_t kMaxStepText = 127;

// What one prompt set of a step shows: the prompt beside the command line, the text put into the
// command line and the sound (0 silent).
struct PromptSet {
    std::string prompt;
    std::string defaultText;
    int32_t sound = 0;
};

struct CommandState {
    uint8_t kind = command_kind::kIdle;
    // Points given so far (0, 1 or 2): prompt set 1 shows while it is 0, set 2 otherwise.
    uint8_t step = 0;
    uint8_t pointsNeeded = 1;
    // Set when the step has its input (complete, a value typed, or ended without a point);
    // the handler clears it.
    bool pointGiven = false;
    // The window-selection button's state while this record is on top.
    bool windowButtonDown = false;
    // A click with the window-selection button down kept the first corner of a window.
    bool cornerPending = false;
    // Option 5: a rubber band is wanted; for a window selection false means the fence.
    uint8_t option5 = 0;
    // Options 6 and 7 are the callers' own.
    uint8_t option6 = 0;
    uint8_t option7 = 0;
    // The second point was replaced by a typed number (an angle, a factor or a radius).
    bool valueTyped = false;
    PromptSet set1;
    PromptSet set2;
    Point first;
    Point second;
    // Where ortho and the rubber bands start from.
    Point reference;
    // The rubber band's free end: the cursor.
    Point bandEnd;

    const PromptSet& CurrentSet() const { return step == 0 ? set1 : set2; }
};

// Why a push found no place.
enum class PushRefusal { None, StackFull };
std::string_view PushRefusalText(PushRefusal refusal);

// The six records, the depth (0 idle, else the top entry 1..6) and the bottom mark.
class CommandStack {
public:
    static constexpr int kCapacity = 6;

    int Depth() const { return depth_; }
    int BottomMark() const { return bottomMark_; }
    void SetBottomMark(int mark);
    bool Full() const { return depth_ >= kCapacity; }
    // A step is active while the depth is above the bottom mark.
    bool Active() const { return depth_ > bottomMark_; }

    // Raises the depth by one; a seventh record has no place: refused, nothing changes.
    PushRefusal Raise();
    // Lowers the depth by one, not below 0.
    void Lower();
    // Makes 'depth' (0..6, else clamped) the depth.
    void SetDepth(int depth);

    // The top record; at depth 0 the scratch record of the idle state (never a step).
    CommandState& Top();
    const CommandState& Top() const;
    // Entry 'n' (1..6); entry 0 is the idle record.
    CommandState& At(int n);
    const CommandState& At(int n) const;

private:
    // Entry 0 stands for the idle state so that a caller filling "the top record" at depth 0
    // never writes outside the six.
    std::array<CommandState, kCapacity + 1> entries_{};
    int depth_ = 0;
    int bottomMark_ = 0;
};

}  // namespace linework

#endif
