#include "page/scroller_geometry.h"

#include <algorithm>

#include "page/slot_records.h"
#include "winplat/base.h"

namespace lect32 {
namespace {

int32_t room(const ScrollerRecord& s) { return int32_t{s.track} - s.thumbLength; }

}  // namespace

int16_t ThumbPosition(const ScrollerRecord& s) {
    const int32_t span = s.textHeight - s.visibleHeight;
    if (span <= 0 || room(s) <= 0) return 0;
    const int thumb = MulDiv(s.scroll, room(s), span);
    return static_cast<int16_t>(std::clamp<int32_t>(thumb, 0, room(s)));
}

int32_t ScrollForThumb(const ScrollerRecord& s, int16_t thumb) {
    if (room(s) <= 0) return 0;
    const int32_t span = std::max<int32_t>(s.textHeight - s.visibleHeight, 0);
    return MulDiv(thumb, span, room(s));
}

int16_t StretchedThumbLength(const ScrollerRecord& s, int16_t pictureHeight) {
    if (s.textHeight <= 0) return pictureHeight;
    const int length = MulDiv(s.track, std::min(s.visibleHeight, s.textHeight), s.textHeight);
    return static_cast<int16_t>(std::max<int>(length, pictureHeight));
}

int ScrollerPartAtY(const ScrollerRecord& s, int32_t y) {
    if (y < s.thumb) return 1;
    if (y < int32_t{s.thumb} + s.thumbLength) return 2;
    return 3;
}

int16_t DraggedThumb(const ScrollerRecord& s, int32_t dy) {
    if (room(s) <= 0) return -1;
    const int32_t moved = std::clamp<int32_t>(int32_t{s.thumb} + dy, 0, room(s));
    return moved == s.thumb ? int16_t{-1} : static_cast<int16_t>(moved);
}

ThumbStretch PlanThumbStretch(int height, int length) {
    if (height <= 0 || length <= 0) return {};
    const int half = height / 2;
    const int tail = height - half - 1;
    if (length < height) {
        // Too short for the whole picture: the top half as far as it goes, then the bottom rows.
        const int top = std::min(half, length);
        return {top, 0, std::min(tail, length - top)};
    }
    return {half, length - half - tail, tail};
}

}  // namespace lect32
