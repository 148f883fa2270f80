#include "ui/command_state.h"

#include <algorithm>

namespace linework {

std::string_view PushRefusalText(PushRefusal refusal) {
    switch (refusal) {
        case PushRefusal::None:
            return "";
        case PushRefusal::StackFull:
            return "six command steps are already waiting";
    }
    return "";
}

void CommandStack::SetBottomMark(int mark) { bottomMark_ = std::clamp(mark, 0, kCapacity); }

PushRefusal CommandStack::Raise() {
    if (Full()) return PushRefusal::StackFull;
    ++depth_;
    return PushRefusal::None;
}

void CommandStack::Lower() {
    if (depth_ > 0) --depth_;
}

void CommandStack::SetDepth(int depth) { depth_ = std::clamp(depth, 0, kCapacity); }

CommandState& CommandStack::Top() { return entries_[static_cast<size_t>(depth_)]; }
const CommandState& CommandStack::Top() const { return entries_[static_cast<size_t>(depth_)]; }

CommandState& CommandStack::At(int n) { return entries_[static_cast<size_t>(std::clamp(n, 0, kCapacity))]; }
const CommandState& CommandStack::At(int n) const {
    return entries_[static_cast<size_t>(std::clamp(n, 0, kCapacity))];
}

}  // namespace linework
