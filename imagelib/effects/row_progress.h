// What the effects call after each row they finish; empty for none.
#ifndef PIXMILL_EFFECTS_ROW_PROGRESS_H
#define PIXMILL_EFFECTS_ROW_PROGRESS_H

#include <functional>

#include "pixmill/pixmill.h"

namespace pixmill::effects {

using RowProgress = std::function<void()>;

inline RowProgress progressOf(PxlProgressFn progress) {
    if (!progress) return {};
    return progress;
}

}  // namespace pixmill::effects

#endif
