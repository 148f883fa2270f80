#include "drawing/undo_operations.h"

#include <array>

namespace linework {

std::string_view UndoOperationName(uint8_t code) {
    static constexpr std::array<std::string_view, 30> kNames = {
        "atrdef", "bmref",  "circle", "arc",   "dim",     "hatch", "3Dhatch", "insert", "line",  "3Dline",
        "lkdref", "pline",  "3Dpline", "point", "3Dpoint", "sketch", "text",   "copy",   "dxfin", "hpglin",
        "load",   "lslide", "erase",  "ud",    "explode", "block", "move",    "rotate", "scale", "stretch",
    };
    constexpr uint8_t kFirst = 3;
    if (code < kFirst || code >= kFirst + kNames.size()) return {};
    return kNames[code - kFirst];
}

void UndoRecorder::SetUndoOperation(uint8_t code) {
    if (!recording_) return;
    ShowOnButton(code);
    modified_ = true;
}

void UndoRecorder::Forget() {
    if (last_ != undo_code::kNothing) ShowOnButton(undo_code::kNothing);
}

void UndoRecorder::ShowOnButton(uint8_t code) {
    last_ = code;
    hint_ = baseHint_;
    if (code != undo_code::kNothing) {
        hint_ += "\r\n(";
        hint_ += UndoOperationName(code);
        hint_ += ")";
    }
    if (seam_) {
        seam_->SetUndoHint(hint_);
        seam_->EnableUndo(code != undo_code::kNothing);
    }
}

}  // namespace linework
