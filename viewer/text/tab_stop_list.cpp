#include "text/tab_stop_list.h"

#include <algorithm>

#include "text/format_parts.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: tab stops");

int16_t g_interval = TabStopList::kBaseInterval;

int CeilDiv(int x, int d) { return x >= 0 ? (x + d - 1) / d : -((-x) / d); }

}  // namespace

TabStop TabStop::FromBytes(const uint8_t* bytes) {
    return TabStop{bytes[0], static_cast<int16_t>(bytes[1] | bytes[2] << 8)};
}

void TabStop::ToBytes(uint8_t* bytes) const {
    bytes[0] = kind;
    PutInt16(bytes + 1, position);
    bytes[3] = 0;
}

int16_t TabStopList::GetInterval() { return g_interval; }
void TabStopList::SetInterval(int16_t interval) { g_interval = interval; }

int TabStopList::FindNext(int x, TabStop& out) const {
    const auto end = stops_.begin() + count_;
    const auto at = std::find_if(stops_.begin(), end, [x](const TabStop& s) { return s.position >= x; });
    if (at != end) {
        out = *at;
        return static_cast<int>(at - stops_.begin());
    }
    const int interval = std::max<int>(g_interval, 1);
    const int step = CeilDiv(x, interval);
    out = TabStop{TabStop::kLeft, static_cast<int16_t>(step * interval)};
    if (count_ == 0) return step;
    return step + count_ - CeilDiv(stops_[count_ - 1].position, interval);
}

void TabStopList::Scale(int percent) {
    for (int i = 0; i < count_; ++i) stops_[i].position = ScaleClamped(stops_[i].position, percent);
    g_interval = ScaleClamped(kBaseInterval, percent);
}

void TabStopList::SetStops(std::span<const TabStop> stops) {
    if (stops.size() > kMaxStops) refuse.log("more than 100 tab stops: the rest are left out");
    count_ = static_cast<int16_t>(std::min<size_t>(stops.size(), kMaxStops));
    std::copy_n(stops.begin(), count_, stops_.begin());
}

bool TabStopList::Insert(TabStop stop) {
    const auto end = stops_.begin() + count_;
    const auto at = std::find_if(stops_.begin(), end, [&](const TabStop& s) { return s.position >= stop.position; });
    if (at != end && at->position == stop.position) return true;
    if (count_ >= kMaxStops) return refuse(false, "a tab-stop list holds at most 100 stops");
    std::copy_backward(at, end, end + 1);
    *at = stop;
    ++count_;
    return true;
}

}  // namespace lect32
