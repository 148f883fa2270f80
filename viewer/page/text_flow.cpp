// Text flow around a page's objects: for a line starting at y, the band down to the next change
// of the objects beside it and the widest span of that band that no object blocks.
#include <algorithm>
#include <limits>

#include "page/page.h"

namespace lect32 {

namespace {

constexpr int32_t kLast = std::numeric_limits<int32_t>::max();

int16_t clampWidth(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

int32_t clampY(int64_t value) { return static_cast<int32_t>(std::min<int64_t>(value, kLast)); }

struct Blocker {
    int32_t left;
    int32_t right;
    uint8_t flow;
};

struct Gap {
    int32_t left;
    int32_t width;
};

}  // namespace

// Anchored objects waiting for their anchors lie at the end of the list, parked below everything:
// text does not flow around them.
uint16_t Page::flowEnd() const {
    uint16_t end = GetCount();
    while (end > 0 && objects_[static_cast<uint16_t>(end - 1)].IsParked()) --end;
    return end;
}

void Page::fillBand(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!backgroundBrush_ || width <= 0 || height <= 0) return;
    painter().FillBackground(RECT{left, top, left + width, static_cast<LONG>(clampY(int64_t{top} + height))});
}

uint16_t Page::FitTextLine(int32_t y, TextLine& line, int32_t minimumHeight, uint16_t first) {
    usableWidth_ = area_.TextWidth();
    line.reserved1 = 0;
    line.reserved2 = 0;
    const uint16_t end = flowEnd();
    uint16_t i = first;
    for (;;) {
        line.behindText = 0;
        line.top = y;
        while (i < end && objects_[i].Bottom() <= y) ++i;
        if (i >= end || y == kLast) {
            line.kind = TextLine::Kind::NoObjects;
            line.spanLeft = 0;
            line.spanWidth = usableWidth_;
            line.height = TextLine::kUnlimited;
            return i;
        }
        const PageObject& next = objects_[i];
        int64_t boundary = next.Bottom();
        if (next.y > y) {
            // Nothing crosses the band's top: the whole width, down to the next object.
            line.kind = TextLine::Kind::Span;
            line.spanLeft = 0;
            line.spanWidth = usableWidth_;
            line.height = clampY(int64_t{next.y} - y);
            if (line.height >= minimumHeight) return i;
            y = clampY(boundary);
            continue;
        }
        uint16_t after = i;
        for (; after < end && objects_[after].y <= y; ++after) {
            const int64_t bottom = objects_[after].Bottom();
            if (bottom > y && bottom < boundary) boundary = bottom;
        }
        if (after < end && objects_[after].y < boundary) boundary = objects_[after].y;
        line.height = clampY(boundary - y);
        FindFreeSpan(i, static_cast<uint16_t>(after - 1), line);
        line.kind = line.spanWidth > minimumSpan_ ? TextLine::Kind::Span : TextLine::Kind::Blocked;
        const bool staysEmpty = line.kind == TextLine::Kind::Span ? line.height < minimumHeight : line.spanWidth > 0;
        if (staysEmpty && !line.behindText) fillBand(line.spanLeft, y, line.spanWidth, line.height);
        if (line.kind == TextLine::Kind::Span && line.height >= minimumHeight) return i;
        y = clampY(boundary);
    }
}

void Page::FindFreeSpan(uint16_t first, uint16_t last, TextLine& line) {
    std::vector<Blocker> blockers;
    bool behind = false;
    bool noText = false;
    for (uint32_t j = first; j <= last && j < GetCount(); ++j) {
        const PageObject& o = objects_[static_cast<uint16_t>(j)];
        if (o.Bottom() <= line.top) continue;
        behind = behind || o.behindText;
        noText = noText || o.flow == 1;
        blockers.push_back({o.x, o.Right(), o.flow});
    }
    std::stable_sort(blockers.begin(), blockers.end(), [](const Blocker& a, const Blocker& b) { return a.left < b.left; });

    std::vector<Gap> gaps;
    Gap best{0, 0};
    int32_t covered = 0;
    const auto candidate = [&](int32_t left, int32_t right) {
        const Gap gap{left, right - left};
        if (gap.width <= 0) return;
        gaps.push_back(gap);
        if (gap.width > best.width) best = gap;
    };
    for (const Blocker& b : blockers) {
        if (b.flow == 2) continue;  // text runs over it
        candidate(covered, b.left);
        covered = std::max(covered, b.right);
    }
    candidate(covered, usableWidth_);

    line.spanLeft = clampWidth(best.left);
    line.spanWidth = noText ? int16_t{0} : clampWidth(best.width);
    line.behindText = behind ? 1 : 0;
    // Gaps beside the span stay without text; so does the span of a band that takes none, unless
    // an object lies behind the text there.
    for (const Gap& gap : gaps) {
        const bool isSpan = gap.left == best.left;
        if (!isSpan || (noText && !behind)) fillBand(gap.left, line.top, gap.width, line.height);
    }
}

}  // namespace lect32
