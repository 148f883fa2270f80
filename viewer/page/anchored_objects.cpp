// Objects anchored to a mark in the text (anchoring 2 or 3 with an anchor id) follow that mark as
// the text is laid out: while the layout runs they wait at the end of the list, parked below the
// page, and are put back or moved to their marks as the marks are found. Free objects are kept off
// printed page breaks.
#include <algorithm>

#include "page/page.h"

namespace lect32 {

namespace {

bool isAnchored(const PageObject& o) { return o.anchoring != 0 && o.anchorId != 0; }

}  // namespace

// Calls 'change' on each object that 'select' picks, then puts each back at its (y, x) place.
// Objects are found again by their attribute index, which moving does not change.
template <class Select, class Change>
static void changeAndResort(Page& page, std::span<const PageObject> objects, Select select, Change change) {
    std::vector<int16_t> chosen;
    for (const PageObject& o : objects) {
        if (select(o)) chosen.push_back(o.attribute);
    }
    for (int16_t attribute : chosen) {
        const int16_t i = page.FindByAttributeIndex(attribute);
        if (i < 0) continue;
        PageObject record = page.Object(static_cast<uint16_t>(i));
        change(record);
        page.SetObject(i, record);
        page.ResortObject(static_cast<uint16_t>(i));
    }
}

uint16_t Page::DetachAnchoredObjects() {
    uint16_t detached = 0;
    for (PageObject& o : objects_.All()) {
        if (!isAnchored(o)) continue;
        if (!o.IsParked()) o.savedY = o.y;
        o.y = PageObject::kParkedY;
        ++detached;
    }
    const auto all = objects_.All();
    std::stable_partition(all.begin(), all.end(), [](const PageObject& o) { return !isAnchored(o); });
    return detached;
}

void Page::PlaceAnchoredObjects() {
    changeAndResort(
        *this, objects_.All(), [](const PageObject& o) { return isAnchored(o) && o.IsParked(); },
        [](PageObject& o) { o.y = o.savedY; });
}

void Page::MoveAnchoredObjects(uint16_t anchorId, int32_t y, int32_t offset, uint8_t anchoring) {
    changeAndResort(
        *this, objects_.All(), [&](const PageObject& o) { return o.anchorId == anchorId && o.anchoring == anchoring; },
        [&](PageObject& o) { o.y = offset < o.height ? y + offset : y; });
}

void Page::ShiftAnchoredObjects(int32_t distance, bool restoreParked) {
    changeAndResort(
        *this, objects_.All(), [&](const PageObject& o) { return isAnchored(o) && (restoreParked || !o.IsParked()); },
        [&](PageObject& o) {
            if (o.IsParked()) o.y = o.savedY;
            o.y += distance;
        });
}

int Page::FindAnchoredObject(uint16_t anchorId, bool onlyTextAnchored) const {
    const auto all = objects_.All();
    const auto found = std::find_if(all.begin(), all.end(), [&](const PageObject& o) {
        return o.anchorId == anchorId && (o.anchoring == 3 || (!onlyTextAnchored && o.anchoring == 2));
    });
    return found == all.end() ? kNone : static_cast<int>(found - all.begin());
}

void Page::SetAnchor(uint16_t i, int32_t anchorId, uint8_t anchoring) {
    if (!objects_.Contains(i)) return;
    PageObject& o = objects_[i];
    if (anchorId == -1) {
        o.anchoring = 0;
        o.anchorId = 0;
        return;
    }
    o.anchorId = static_cast<uint16_t>(anchorId);
    o.anchoring = anchoring;
}

// A free object cut by a page break moves to the side of the break where more of it lies: up so
// that it ends at the break, or down so that it starts there.
void Page::AvoidPageBreaks(int32_t firstBreak, int32_t pageHeight) {
    if (pageHeight <= 0) return;
    const auto breakBelow = [&](int64_t top) {
        if (top <= firstBreak) return int64_t{firstBreak};
        const int64_t pages = (top - firstBreak + pageHeight - 1) / pageHeight;
        return firstBreak + pages * pageHeight;
    };
    const auto cut = [&](const PageObject& o) {
        const int64_t line = breakBelow(o.y);
        return o.anchoring == 0 && o.y < line && line < o.Bottom();
    };
    changeAndResort(*this, objects_.All(), cut, [&](PageObject& o) {
        const int64_t line = breakBelow(o.y);
        o.y = static_cast<int32_t>(o.Bottom() - line < line - o.y ? line - o.height : line);
    });
}

}  // namespace lect32
