#include "text/laid_out_line.h"

#include <algorithm>
#include <numeric>

#include "winplat/gdi.h"

namespace lect32 {

LaidOutLine::DeviceScope::DeviceScope(LaidOutLine& line) : line_(line) {
    if (!line_.ownText_ || line_.scopeDepth_++ > 0) return;
    // The device may have had other fonts selected since this line last drew on it.
    line_.selectedFont_ = SIZE_MAX;
    line_.fontBeforePush_ = nullptr;
}

LaidOutLine::DeviceScope::~DeviceScope() {
    if (!line_.ownText_ || --line_.scopeDepth_ > 0) return;
    if (line_.fontBeforePush_ && line_.dc_) SelectObject(line_.dc_, line_.fontBeforePush_);
    line_.fontBeforePush_ = nullptr;
    line_.selectedFont_ = SIZE_MAX;
}

LaidOutLine LaidOutLine::Detached(size_t bytes) const {
    LaidOutLine line(*this);
    const size_t walked = std::accumulate(itemLengths_.begin(), itemLengths_.end(), size_t{0});
    const auto kept = text_.first(std::min(text_.size(), std::max(walked, bytes)));
    line.ownText_ = std::make_shared<const std::vector<uint8_t>>(kept.begin(), kept.end());
    line.text_ = std::span<const uint8_t>(*line.ownText_);
    line.bytes_ = bytes;
    line.fontBeforePush_ = nullptr;
    line.selectedFont_ = SIZE_MAX;
    line.scopeDepth_ = 0;
    return line;
}

}  // namespace lect32
