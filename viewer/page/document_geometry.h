// The room a paragraph's border and frame take around its lines, shared by the document view's
// layout, painting and hit testing so that all three place lines alike.
#ifndef LECT32_PAGE_DOCUMENT_GEOMETRY_H
#define LECT32_PAGE_DOCUMENT_GEOMETRY_H

#include <cstdint>
#include <vector>

#include "page/text_line.h"
#include "text/tab_stop_list.h"
#include "text/text_format.h"
#include "text/text_formatter.h"
#include "winplat/types.h"

namespace lect32 {

struct RowInsets {
    int left = 0;     // the left indent, a left border's room and the frame's left room
    int right = 0;    // the right indent and a right border's room
    int top = 0;      // a top border's room and a frame thrown up: taken with the first line
    int below = 0;    // a bottom border's room and a frame thrown down
    int shift = 0;    // what a left border and a frame thrown right move the lines by
    int border = 0;   // s: a border line's width and its spacing
    int borderLeft = 0;  // s when the border has a left side
    int frameLeft = 0;   // the room of a frame thrown left
};

RowInsets RowInsetsOf(const TextFormat& format);

// A line that does not fit the rest of its band goes on in the next one. When the next band
// continues the rest straight below and they overlap, the two merge into their common span
// from the rest's top (one band as the layout sees it); 'narrowed' says the span shrank.
struct BandMerge {
    bool merged = false;
    bool narrowed = false;
};
BandMerge MergeWithRest(const TextLine& rest, int64_t restTop, int64_t restHeight, TextLine& band);

// The paragraph frame of a row: indents, border sides with line width and room, shadow widths.
struct FrameGeometry {
    int leftIndent = 0, rightIndent = 0;
    int sides = 0;      // border: 1 left, 2 right, 4 top, 8 bottom
    int lineWidth = 0;  // of the border line
    int s = 0;          // border line width + spacing
    uint8_t shadowColour = 255;
    int dxL = 0, dxR = 0, dyT = 0, dyB = 0;
};

// One band piece of a paragraph's frame, in device pixels.
struct FramePiece {
    int x = 0, width = 0, top = 0, height = 0;
    int bottomSpace = 0;    // the room below the last line, on the row's last piece
    int runningHeight = 0;  // of the frame painted so far; 0 on the first piece
    bool overObject = false;
    bool boxForm = false;   // the one-line box that hugs its text
    int extraX = 0, extraWidth = 0;
};

struct FrameBrushes {
    HBRUSH page = nullptr;
    HBRUSH shadow = nullptr;  // null without a frame colour
    HBRUSH paragraph = nullptr;
    HBRUSH border = nullptr;
};

FrameGeometry FrameGeometryOf(const TextFormat& format, const RowInsets& in);
void PaintFrameLine(HDC device, const FrameGeometry& g, const FramePiece& piece, const FrameBrushes& brushes,
                    PageBackdrop* backdrop);

class StyleSheet;
// The tab stops a style keeps.
std::vector<TabStop> StyleTabStops(const StyleSheet& sheet, uint8_t style);

}  // namespace lect32

#endif
