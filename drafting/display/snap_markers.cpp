#include "display/snap_markers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace linework {

MarkerChange SnapMarkerList::Add(int32_t label, int32_t count, Point at, bool removal) {
    if (count == 0) return MarkerChange::None;
    const bool temporary = count < 0;
    auto found = std::find_if(markers_.begin(), markers_.end(), [&](const SnapMarker& m) {
        return m.at == at && (m.count < 0) == temporary && m.count != 0;
    });
    if (found != markers_.end()) {
        if (removal) {
            if (std::abs(found->count) == 1) {
                if (temporary) --temporary_;
                markers_.erase(found);
                return MarkerChange::Removed;
            }
            found->count += temporary ? 1 : -1;
            return MarkerChange::Counted;
        }
        found->count += count;
        found->label = label;
        return MarkerChange::Counted;
    }
    if (removal) return MarkerChange::None;
    markers_.push_front({count, label, at});
    if (temporary) ++temporary_;
    return MarkerChange::Added;
}

std::vector<SnapMarker> SnapMarkerList::PurgeTemporary() {
    std::vector<SnapMarker> purged;
    auto kept = std::stable_partition(markers_.begin(), markers_.end(), [](const SnapMarker& m) { return m.count >= 0; });
    purged.assign(kept, markers_.end());
    markers_.erase(kept, markers_.end());
    temporary_ = 0;
    return purged;
}

std::vector<SnapMarker> SnapMarkerList::Clear() {
    std::vector<SnapMarker> all(markers_.begin(), markers_.end());
    markers_.clear();
    temporary_ = 0;
    return all;
}

const SnapMarker* SnapMarkerList::Nearest(Point cursor, double tolerance) const {
    const SnapMarker* best = nullptr;
    double bestDistance = 0;
    for (const SnapMarker& marker : markers_) {
        const double dx = marker.at.x - cursor.x, dy = marker.at.y - cursor.y;
        if (!(std::fabs(dx) <= tolerance && std::fabs(dy) <= tolerance)) continue;
        const double distance = std::hypot(dx, dy);
        if (!best || distance < bestDistance) {
            best = &marker;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace linework
