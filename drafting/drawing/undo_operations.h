// The undoable operations: each adder and edit records the code of what it did, and the undo
// button's hint names the last one. Codes 3..32 have names of up to 7 characters; 0 means nothing
// to undo, and 1, 2 and 33 and above have empty names.
#ifndef LINEWORK_DRAWING_UNDO_OPERATIONS_H
#define LINEWORK_DRAWING_UNDO_OPERATIONS_H

#include <cstdint>
#include <string>
#include <string_view>

namespace linework {

namespace undo_code {
inline constexpr uint8_t kNothing = 0;
inline constexpr uint8_t kAttributeDefinition = 3;
inline constexpr uint8_t kRasterImage = 4;
inline constexpr uint8_t kCircle = 5;
inline constexpr uint8_t kArc = 6;
inline constexpr uint8_t kDimension = 7;
inline constexpr uint8_t kHatch = 8;
inline constexpr uint8_t kInsert = 10;
inline constexpr uint8_t kLine = 11;
inline constexpr uint8_t kDrawingReference = 13;
inline constexpr uint8_t kPolyline = 14;
inline constexpr uint8_t kPoint = 16;
inline constexpr uint8_t kText = 19;
inline constexpr uint8_t kCopy = 20;
inline constexpr uint8_t kLoad = 23;
inline constexpr uint8_t kLastAdding = 24;
inline constexpr uint8_t kErase = 25;
inline constexpr uint8_t kEraseNewest = 26;  // "ud"
inline constexpr uint8_t kExplode = 27;
inline constexpr uint8_t kBlock = 28;
inline constexpr uint8_t kMove = 29;
inline constexpr uint8_t kRotate = 30;
inline constexpr uint8_t kScale = 31;
inline constexpr uint8_t kStretch = 32;
}  // namespace undo_code

// The name of an operation code; empty outside 3..32.
std::string_view UndoOperationName(uint8_t code);

// Where the undo button lives. The main form fills it; the drawing layer only says what the
// button shows. The default does nothing, for the batch runner and tests that do not look.
class UndoButtonSeam {
public:
    virtual ~UndoButtonSeam() = default;
    virtual void SetUndoHint(std::string_view /*hint*/) {}
    virtual void EnableUndo(bool /*enabled*/) {}
};

// The last undoable operation and the drawing's modified flag. Operations that add entities on
// their own behalf (exploding into pieces, end-symbol bands) switch recording off while they run,
// so that the user's undo still names the command they gave.
class UndoRecorder {
public:
    explicit UndoRecorder(std::string baseHint = {}) : baseHint_(std::move(baseHint)) {}

    void SetSeam(UndoButtonSeam* seam) { seam_ = seam; }
    // While recording: remembers the code, sets the hint (the base text, then "\r\n(" name ")"
    // for a code other than 0), enables the button for a code other than 0 and marks the drawing
    // modified. While not recording: nothing.
    void SetUndoOperation(uint8_t code);

    // Nothing is left to undo (pending deletions were committed, erasures restored): the code
    // becomes 0 and the button says so, whether recording or not, and the drawing's modified flag
    // stays as it is.
    void Forget();

    uint8_t LastOperation() const { return last_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool Recording() const { return recording_; }
    void SetRecording(bool recording) { recording_ = recording; }
    const std::string& Hint() const { return hint_; }

private:
    void ShowOnButton(uint8_t code);

    std::string baseHint_;
    std::string hint_;
    UndoButtonSeam* seam_ = nullptr;
    uint8_t last_ = undo_code::kNothing;
    bool recording_ = true;
    bool modified_ = false;
};

// Switches recording off for a scope and back to what it was.
class UndoRecordingPause {
public:
    explicit UndoRecordingPause(UndoRecorder& recorder) : recorder_(recorder), was_(recorder.Recording()) {
        recorder_.SetRecording(false);
    }
    ~UndoRecordingPause() { recorder_.SetRecording(was_); }
    UndoRecordingPause(const UndoRecordingPause&) = delete;
    UndoRecordingPause& operator=(const UndoRecordingPause&) = delete;

private:
    UndoRecorder& recorder_;
    bool was_;
};

}  // namespace linework

#endif
