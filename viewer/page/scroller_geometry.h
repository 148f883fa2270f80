// The numbers of a scroller: a picture or button whose picture is a thumb moving along a track
// (the object's content height) in step with the scroll position of the nearest text frame.
// Pure arithmetic over the scroller record, for the mouse handling and the painting.
#ifndef LECT32_PAGE_SCROLLER_GEOMETRY_H
#define LECT32_PAGE_SCROLLER_GEOMETRY_H

#include <cstdint>

namespace lect32 {

struct ScrollerRecord;

// Where the thumb stands for a scroll 'position' of a text 'total' high showing 'visible':
// the position's share of the room the thumb has (track - thumb length), rounded as MulDiv
// rounds, within [0, room]. A text that fits its frame (total <= visible) has nothing to scroll:
// the thumb stays at the top.
int16_t ThumbPosition(const ScrollerRecord& scroller);

// The scroll position a thumb at 'thumb' stands for; 0 when the thumb has no room to move.
int32_t ScrollForThumb(const ScrollerRecord& scroller, int16_t thumb);

// The length of a stretched thumb: the track's share that the visible text is of the whole, at
// least the picture's own height; the picture's height for a text of no height.
int16_t StretchedThumbLength(const ScrollerRecord& scroller, int16_t pictureHeight);

// The part of the scroller at 'y' (from the top of the content box): 1 above the thumb, 2 on
// it, 3 below it.
int ScrollerPartAtY(const ScrollerRecord& scroller, int32_t y);

// Moves the thumb by 'dy' within the track. The new position, or nothing (-1) when the thumb is
// not shorter than the track or does not move.
int16_t DraggedThumb(const ScrollerRecord& scroller, int32_t dy);

// How a thumb picture of 'height' rows is stretched to 'length' rows: rows [0, top) are copied,
// the middle row (row 'top') is repeated over [top, top + middle), and the last 'bottom' rows are
// copied below. A length under the picture's height keeps what fits of the top and bottom and
// repeats nothing.
struct ThumbStretch {
    int top = 0;
    int middle = 0;
    int bottom = 0;
};
ThumbStretch PlanThumbStretch(int height, int length);

}  // namespace lect32

#endif
