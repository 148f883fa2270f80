// The main form's sizes that follow from its width and its panels: the smallest client area the
// form keeps, and the widths of the status bar's panels (designed for a form 640 pixels wide, the
// first and third panels share what the form is wider).
#ifndef LINEWORK_UI_FORM_LAYOUT_H
#define LINEWORK_UI_FORM_LAYOUT_H

#include <array>

namespace linework {

// The panels around the drawing as the form shows them (0 for one that is hidden).
struct PanelExtents {
    int left = 0;       // left panel width
    int right = 0;      // right panel width
    int top = 0;        // top panel height
    int commandLine = 0;
    int statusBar = 0;
};

struct ClientSize {
    int width = 0;
    int height = 0;
};

// At least 128 x 128 pixels of drawing inside the panels (and 3 more rows under the status bar).
ClientSize MinimumClientSize(const PanelExtents& panels);

// Panels 0..2 for a form 'formWidth' wide: w = width - 640, g = round(w * 400 / 575) (ties to
// even); 400 + g, 42 scaled to the screen, 175 + (w - g), plus 15 on the last when maximised.
std::array<int, 3> StatusPanelWidths(int formWidth, bool maximised, double screenFactor);

// Square buttons laid out in rows from a panel's top left corner: their side and how many go in
// a row.
struct ButtonGrid {
    int pitch = 0;
    int columns = 0;
};

// The largest side of at most 24 pixels at which 'count' buttons fit in an area 'width' x 'height'
// (the rows wrap at the width, so smaller buttons go more to a row); 12 pixels when not even those
// fit, so a button never becomes too small to click.
ButtonGrid FitButtons(int count, int width, int height);

}  // namespace linework

#endif
