// Placing the segments of a line (tabs, alignment, justification), breaking it, and the position
// queries on it.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "text/text_formatter.h"
#include "winplat/text.h"

namespace lect32 {
namespace {

constexpr uint8_t kSpace = ' ';

}  // namespace

// ---- placing --------------------------------------------------------------------------------

int TextFormatter::decimalOffset(const TextSegment& segment, size_t font) {
    const auto bytes = text_.subspan(segment.start, segment.length);
    const auto at = std::find(bytes.begin(), bytes.end(), decimal_);
    if (at == bytes.end()) return segment.width;
    selectFont(font);
    SIZE before{}, separator{};
    GetTextExtentPoint32A(dc_, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(at - bytes.begin()),
                          &before);
    GetTextExtentPoint32A(dc_, reinterpret_cast<const char*>(&*at), 1, &separator);
    return before.cx + separator.cx / 2;
}

int TextFormatter::LayoutLine(int left, int right, Alignment alignment, bool lastLine) {
    lineLeft_ = left;
    lastStopX_ = left;
    tabX_.clear();
    for (TextSegment& s : segments_) s.extra = 0;

    const int indent = format_.indents.left;
    int running = left, totalWidth = 0, totalSpaces = 0;
    bool pending = false, afterRight = false;
    TabStop stop;
    size_t collectFrom = 0, justifyFrom = 0;
    int collected = 0, decimal = 0, justifyStart = left;
    size_t font = 0, seg = 0;
    int fontItems = -1;

    const auto place = [&](size_t to) {
        int target = lastStopX_;
        if (stop.kind == TabStop::kRight) target -= collected;
        else if (stop.kind == TabStop::kCentred) target -= collected / 2;
        else if (stop.kind == TabStop::kDecimal) target -= decimal;
        running = std::max(running, target);
        justifyStart = running;
        justifyFrom = collectFrom;
        totalWidth = totalSpaces = 0;
        for (size_t i = collectFrom; i < to; ++i) {
            segments_[i].x = running;
            running += segments_[i].width;
            if (stop.kind == TabStop::kJustified) {
                totalWidth += segments_[i].width;
                totalSpaces += segments_[i].spaces;
            }
        }
        afterRight = stop.kind == TabStop::kRight;
        pending = false;
    };

    for (const uint8_t item : items_) {
        if (item == kItemFont) font = static_cast<size_t>(++fontItems);
        if (item == kItemText && seg < segments_.size()) {
            TextSegment& s = segments_[seg];
            if (!pending) {
                s.x = running;
                running += s.width;
                totalWidth += s.width;
                totalSpaces += s.spaces;
            } else {
                if (seg == collectFrom) decimal = decimalOffset(s, font);
                collected += s.width;
            }
            ++seg;
        }
        if (item != kItemTab) continue;
        if (alignment == kRight || alignment == kCentred) alignment = kLeft;
        if (pending && seg > collectFrom) place(seg);
        if (!pending) {
            tabs_.FindNext(indent + running + (afterRight ? 1 : 0), stop);
        } else {
            TabStop next;
            tabs_.FindNext(indent + stop.position + 1, next);
            stop = next;
        }
        lastStopX_ = stop.position - indent;
        tabX_.push_back(lastStopX_);
        pending = true;
        collectFrom = seg;
        collected = decimal = 0;
    }
    if (pending) place(seg);

    if (right != 0) {
        if (alignment == kRight || alignment == kCentred) {
            int delta = right - (left + totalWidth);
            if (alignment == kCentred) delta = std::max(delta / 2, 0);
            OffsetSegments(delta);
        } else if (alignment == kJustified && !lastLine && totalSpaces > 0) {
            const int room = right - justifyStart;
            if (totalWidth < room) justify(justifyFrom, room - totalWidth, totalSpaces);
        }
    }
    if (!segments_.empty()) {
        const TextSegment& last = segments_.back();
        lastStopX_ = std::max(lastStopX_, last.x + last.width);
    }
    return lastStopX_;
}

// Spreads the extra pixels by the spaces before each segment of the run; each segment carries the
// pixels its own spaces take.
void TextFormatter::justify(size_t from, int extra, int spaces) {
    int before = 0, previousMove = 0;
    for (size_t i = from + 1; i < segments_.size(); ++i) {
        before += segments_[i - 1].spaces;
        const int move = extra * before / spaces;
        segments_[i].x += move;
        segments_[i - 1].extra = std::max(move - previousMove, 0);
        previousMove = move;
    }
    if (from < segments_.size()) segments_.back().extra = std::max(extra - previousMove, 0);
}

void LaidOutLine::OffsetSegments(int dx) {
    for (TextSegment& s : segments_) s.x += dx;
}

std::pair<int, int> LaidOutLine::GetLineExtent() const {
    if (segments_.empty()) return {lineLeft_, lineLeft_};
    return {segments_.front().x, segments_.back().x + segments_.back().width};
}

// ---- breaking -------------------------------------------------------------------------------

// One step of a walk that also selects the fonts and raises the line metrics as it goes.
TextFormatter::ItemState TextFormatter::applyItem(size_t item, ItemState state) {
    state = applyItemQuiet(item, state);
    if (items_[item] == kItemFont) {
        selectFont(static_cast<size_t>(state.font));
        raiseMetrics(fonts_[static_cast<size_t>(state.font)], shadowOf(state));
    } else if (items_[item] == kItemShadow && item >= 3 && state.font >= 0) {
        raiseMetrics(fonts_[static_cast<size_t>(state.font)], shadowOf(state));
    } else if (items_[item] == kItemTab) {
        metrics_.tab = true;
    }
    return state;
}

void TextFormatter::cutTables(const ItemState& at, size_t item) {
    segments_.resize(static_cast<size_t>(at.segment + 1));
    items_.resize(item + 1);
    itemLengths_.resize(item + 1);
    const size_t fonts = static_cast<size_t>(std::max(at.font, 0) + 1);
    selectFont(fonts - 1);  // before the fonts after it go
    for (size_t i = fonts; i < fonts_.size(); ++i) GetTextFontCache().ReleaseFont(fonts_[i].font);
    if (fonts_.size() > fonts) fonts_.resize(fonts);
    colours_.resize(std::min(colours_.size(), static_cast<size_t>(at.colour + 1)));
    shadows_.resize(std::min(shadows_.size(), static_cast<size_t>(at.shadow + 1)));
    links_.resize(std::min(links_.size(), static_cast<size_t>(at.link + 1)));
}

size_t TextFormatter::BreakLine(uint16_t right) {
    if (segments_.size() == 1 && segments_[0].length == 0) return 0;
    metrics_ = LineMetrics{};
    ItemState state = lineStart();
    std::optional<BreakCandidate> candidate;
    const int w = right;
    for (size_t item = 0; item < items_.size(); ++item) {
        if (items_[item] == kItemEnd) return state.count + 1;
        const ItemState before = state;
        state = applyItem(item, state);
        if (items_[item] != kItemText) continue;
        const TextSegment& s = segments_[static_cast<size_t>(state.segment)];
        if (s.x + s.width >= w) return shorten(item, before, state, candidate, w);
        if (item + 1 == items_.size()) return state.count;
        const bool last = static_cast<size_t>(state.segment) + 1 == segments_.size();
        const bool spaceFollows = !last && segments_[state.segment + 1].length > 0 &&
                                  text_[segments_[state.segment + 1].start] == kSpace;
        if (!last && s.spaces == 0 && !spaceFollows) continue;
        const auto bytes = text_.subspan(s.start, s.length);
        uint16_t h = s.length;
        if (!last && !spaceFollows && !bytes.empty() && bytes.back() != kSpace) {
            const auto lastSpace = std::find(bytes.rbegin(), bytes.rend(), kSpace);
            if (lastSpace != bytes.rend()) h = static_cast<uint16_t>(bytes.rend() - lastSpace);
        }
        candidate = BreakCandidate{state, item, h, s.start + size_t{h}, metrics_};
    }
    return state.count;
}

// The segment at 'item' does not fit: keep its longest prefix ending at a space that does, else
// end at the last candidate, else keep the word whole (a word after a tab keeps what it has).
size_t TextFormatter::shorten(size_t item, const ItemState& before, const ItemState& state,
                              const std::optional<BreakCandidate>& candidate, int w) {
    TextSegment& s = segments_[static_cast<size_t>(state.segment)];
    const auto bytes = text_.subspan(s.start, s.length);
    const Shadow shadow = shadowOf(state);
    size_t n = s.length;
    int width = s.width;
    TextSegment probe;
    while (n > 0) {
        if (bytes[n - 1] == kSpace) {
            --n;
        } else {
            const auto prefix = bytes.first(n);
            const auto space = std::find(prefix.rbegin(), prefix.rend(), kSpace);
            if (space == prefix.rend()) {
                const bool afterTab = item > 0 && items_[item - 1] == kItemTab;
                if (afterTab) width = measure(s.start, n, shadow, &probe);
                else n = 0;
                break;
            }
            n = static_cast<size_t>(prefix.rend() - space);
        }
        width = measure(s.start, n, shadow, &probe);
        if (s.x + width < w) break;
    }
    if (n > 0 || !candidate) {
        if (n > 0) {
            s.length = static_cast<uint16_t>(n);
            s.spaces = CountSpaces(bytes.first(n));
            s.width = width;
            s.overhang = probe.overhang;
            s.lastFullWidth = probe.lastFullWidth;
        }
        const size_t length = s.length;
        cutTables(state, item);
        return before.count + length;
    }
    cutTables(candidate->state, candidate->item);
    metrics_ = candidate->metrics;
    remeasure(static_cast<size_t>(candidate->state.segment), candidate->length);
    return candidate->offset;
}

void TextFormatter::remeasure(size_t segment, uint16_t length) {
    TextSegment& s = segments_[segment];
    s.length = length;
    s.spaces = CountSpaces(text_.subspan(s.start, length));
    const ItemState at = stateAt(segment);
    selectFont(static_cast<size_t>(std::max(at.font, 0)));
    s.width = measure(s.start, length, shadowOf(at), &s);
}

Shadow LaidOutLine::shadowOf(const ItemState& state) const {
    return state.shadow >= 0 && static_cast<size_t>(state.shadow) < shadows_.size() ? shadows_[state.shadow] : Shadow{};
}

LaidOutLine::ItemState LaidOutLine::stateAt(size_t segment) const {
    ItemState state = lineStart();
    for (size_t item = 0; item < items_.size(); ++item) {
        state = applyItemQuiet(item, state);
        if (items_[item] == kItemText && static_cast<size_t>(state.segment) == segment) break;
    }
    return state;
}

void TextFormatter::TrimTrailingSpace() {
    if (segments_.empty()) return;
    TextSegment& s = segments_.back();
    if (s.length == 0 || text_[s.start + s.length - 1] != kSpace) return;
    remeasure(segments_.size() - 1, static_cast<uint16_t>(s.length - 1));
    if (segments_.back().length > 0) return;
    const auto lastText = std::find(items_.rbegin(), items_.rend(), kItemText);
    const size_t item = static_cast<size_t>(items_.rend() - lastText) - 1;
    if (item >= 2) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(item));
        itemLengths_.erase(itemLengths_.begin() + static_cast<std::ptrdiff_t>(item));
        segments_.pop_back();
    }
}

// ---- positions ------------------------------------------------------------------------------

int LaidOutLine::prefixX(const TextSegment& s, size_t count, const Shadow& shadow) {
    if (count == 0) return s.x;
    if (s.extra != 0 && s.spaces > 0) SetTextJustification(dc_, s.extra, s.spaces);
    SIZE extent{};
    GetTextExtentPoint32A(dc_, reinterpret_cast<const char*>(text_.data() + s.start), static_cast<int>(count), &extent);
    if (s.extra != 0) SetTextJustification(dc_, 0, 0);
    int x = s.x + extent.cx;
    if (shadow.colour != Shadow::kNone && shadow.dx < 0) x -= shadow.dx;
    return x;
}

LaidOutLine::CharPlace LaidOutLine::GetCharX(size_t offset) {
    const DeviceScope scope(*this);
    ItemState state = lineStart();
    CharPlace place{lineLeft_, metrics_.ascent, metrics_.descent, 0};
    size_t tab = 0;
    for (size_t item = 0; item < items_.size(); ++item) {
        const ItemState before = state;
        state = applyItemQuiet(item, state);
        if (state.font >= 0) {
            const StackedFont& font = fonts_[static_cast<size_t>(state.font)];
            place.ascent = font.ascent;
            place.descent = font.descent;
            place.baseline = font.shift;
        }
        if (items_[item] == kItemTab) {
            const int stopX = tab < tabX_.size() ? tabX_[tab] : place.x;
            ++tab;
            if (offset == before.count) {
                place.x = stopX;
                return place;
            }
            continue;
        }
        if (items_[item] != kItemText) continue;
        const TextSegment& s = segments_[static_cast<size_t>(state.segment)];
        selectFont(static_cast<size_t>(std::max(state.font, 0)));
        if (offset < before.count + s.length || item + 1 == items_.size()) {
            place.x = prefixX(s, std::min<size_t>(offset > before.count ? offset - before.count : 0, s.length),
                              shadowOf(state));
            return place;
        }
        place.x = s.x + s.width + s.extra;
    }
    return place;
}

uint16_t LaidOutLine::GetPositionAtX(int x) {
    const DeviceScope scope(*this);
    ItemState state = lineStart();
    for (size_t item = 0; item < items_.size(); ++item) {
        const ItemState before = state;
        state = applyItemQuiet(item, state);
        if (items_[item] != kItemText) continue;
        const TextSegment& s = segments_[static_cast<size_t>(state.segment)];
        if (x >= s.x + s.width + s.extra && item + 1 < items_.size()) continue;
        selectFont(static_cast<size_t>(std::max(state.font, 0)));
        size_t best = 0;
        int bestDistance = std::abs(x - s.x);
        for (size_t n = 1; n <= s.length; ++n) {
            const int distance = std::abs(x - prefixX(s, n, shadowOf(state)));
            if (distance < bestDistance) {
                best = n;
                bestDistance = distance;
            }
        }
        return static_cast<uint16_t>(before.count + best);
    }
    return kNoPosition;
}

LaidOutLine::ItemState LaidOutLine::applyItemQuiet(size_t item, ItemState state) const {
    switch (items_[item]) {
        case kItemFont: ++state.font; break;
        case kItemColours: ++state.colour; break;
        case kItemShadow: ++state.shadow; break;
        case kItemLinkStart: ++state.link; break;
        case kItemText: ++state.segment; break;
        default: break;
    }
    state.count += itemLengths_[item];
    return state;
}

TextFormatter& GetTextFormatter() {
    static TextFormatter formatter;
    return formatter;
}

}  // namespace lect32
