// The up-down control's numbers: its range (either end may be the larger: the up arrow moves
// towards 'upper'), the step an arrow makes, and the buddy's text of a position (thousands
// grouped by the Czech separator, a no-break space, unless asked not to) read back.
#ifndef WINPLAT_SRC_CONTROLS_UPDOWN_NUMBER_H
#define WINPLAT_SRC_CONTROLS_UPDOWN_NUMBER_H

#include <optional>
#include <string>
#include <string_view>

namespace winplat::controls {

// The separator of thousands in the buddy's text (cp1250 no-break space); a plain space is read
// as one too.
constexpr char kThousandsSeparator = '\xA0';

struct UpDownRange {
    // The default range runs from 100 at the bottom to 0 at the top: the up arrow counts down.
    int lower = 100;
    int upper = 0;

    int low() const { return lower < upper ? lower : upper; }
    int high() const { return lower < upper ? upper : lower; }
    bool contains(int position) const { return position >= low() && position <= high(); }
    int clamp(int position) const;
    // The change an arrow asks for: 'direction' +1 for the up arrow, -1 for the down one.
    int deltaFor(int direction, int increment) const;
    // Where a position moved by 'delta' lands: clamped, or with 'wrap' round to the other end.
    int moved(int position, int delta, bool wrap) const;
};

std::string formatPosition(int position, bool thousands);

// The number a buddy's text holds: optional blanks round it, an optional sign, digits with
// separators between them; none for anything else ("12a", "", "-") or outside int.
std::optional<int> parsePosition(std::string_view text);

}  // namespace winplat::controls

#endif
