// The switches one set of drawing routines reads to serve the screen, the printer, extents
// measuring, the drag overlay and exploding, and the drawing's display settings.
#ifndef LINEWORK_DISPLAY_DISPLAY_MODES_H
#define LINEWORK_DISPLAY_DISPLAY_MODES_H

#include "display/colour_table.h"
#include "display/printer_pens.h"

namespace linework {

struct DisplayModes {
    // Off in normal screen drawing.
    bool noScreenOutput = false;     // draw nothing; the clipped primitive only collects extents
    bool collectExtents = false;     // every point that would be drawn widens the extents box
    bool printing = false;           // printer scale for arcs, printer pen table for widths
    bool dragDrawing = false;        // the inverting overlay: pen left alone, some kinds skipped
    bool suppressHighlight = false;  // selected entities keep their colour
    bool drawAllLayers = false;      // hidden layers are drawn too
    bool textOverride = false;       // the caller has set the text to draw
    bool keepPen = false;            // the dispatcher leaves the pen colour alone
    // The drawing's display switches, on by default.
    bool showWidths = true;
    bool showInsertionMarks = true;
    bool showReferencedDrawings = true;
    bool showHatching = true;
    bool showText = true;
    bool displayOn = true;
};

struct DisplaySettings {
    ColourTable colours = DefaultColourTable(0xC0C0C0);
    PrinterPenTable printerPens;
    // Below 1 dash patterns grow with width^(1/sqrt 2), from 1 with the width; 0 uses the system's
    // dashed pen styles instead of the program's patterns.
    int patternScale = -1;
    int fixedArcSegments = 0;  // 0: by the radius
    double printerScale = 1;   // world units per printer pixel while printing
};

}  // namespace linework

#endif
