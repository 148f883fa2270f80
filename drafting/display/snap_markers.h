// Snap markers: points the cursor is pulled to when it comes near, each with a reference count
// and the message-table number of its hint. A positive count belongs to markers that entities
// keep (each entity that adds the point counts once); a negative one to temporary markers, such
// as the crossings of a command's construction lines, which a purge frees all at once. The list
// holds the newest first, so of two markers equally near the cursor the newer one wins.
#ifndef LINEWORK_DISPLAY_SNAP_MARKERS_H
#define LINEWORK_DISPLAY_SNAP_MARKERS_H

#include <cstdint>
#include <deque>
#include <vector>

#include "drawing/geometry.h"

namespace linework {

struct SnapMarker {
    int32_t count = 0;
    int32_t label = 0;
    Point at;
};

// What an addition did, so the caller can draw or erase the marker in the overlay.
enum class MarkerChange {
    None,     // nothing there to remove, or a count of 0
    Added,    // a new marker: draw it
    Counted,  // an existing marker's count changed: the screen stays
    Removed,  // the marker is gone: erase it
};

class SnapMarkerList {
public:
    // A marker at exactly 'at' whose count has the sign of 'count': in removal mode a count of
    // +-1 is removed and a larger one moves towards 0 by one; otherwise its count grows by
    // 'count' and it takes the label. Without such a marker (and not in removal mode) a new one
    // is put first in the list.
    MarkerChange Add(int32_t label, int32_t count, Point at, bool removal);
    // Takes the temporary markers out of the list; what they were, to be erased.
    std::vector<SnapMarker> PurgeTemporary();
    // Takes every marker out.
    std::vector<SnapMarker> Clear();

    // The marker nearest to 'cursor' among those within 'tolerance' in both x and y; the first
    // in the list wins a tie. Null when none is that near.
    const SnapMarker* Nearest(Point cursor, double tolerance) const;

    const std::deque<SnapMarker>& Markers() const { return markers_; }
    int32_t TemporaryCount() const { return temporary_; }

private:
    std::deque<SnapMarker> markers_;
    int32_t temporary_ = 0;
};

}  // namespace linework

#endif
