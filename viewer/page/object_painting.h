// What painting a page's objects needs beyond the page model: the preparation of an object before
// its first paint (its pictures loaded into the cache, its media window made), the start of the
// page's media after a walk that prepared some, the picture and colours behind the objects, and the
// state of a print job. The page holds one PaintSetup; every member has a default, so a page made
// without one paints its pictures on a plain brush.
#ifndef LECT32_PAGE_OBJECT_PAINTING_H
#define LECT32_PAGE_OBJECT_PAINTING_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

class Page;
class PageBackground;
class ColourTable;

// Gets an object's content at hand before it is first painted. The default loads the pictures of
// pictures and buttons into the loaded-picture cache and marks the object prepared; animation
// records and media windows belong to a preparation that replaces it.
class ObjectPreparation {
public:
    virtual ~ObjectPreparation() = default;
    // true when a media window was made for the object.
    virtual bool Prepare(Page& page, uint16_t index);
    // After a walk that prepared a media object, once per showing of the page.
    virtual void StartMedia(Page& /*page*/) {}
};

// The band of a sheet a print job is painting: objects whose top lies above the band are left to
// the sheet before; positions are lowered by what the sheet before took.
struct PrintBand {
    bool printing = false;
    int32_t bandTop = 0;     // owner coordinates
    int32_t offset = 0;      // the print offset: minus the height already printed
    int16_t percent = 100;   // the print job's scale
};

struct PaintSetup {
    ObjectPreparation* preparation = nullptr;  // null: the default above
    PageBackground* background = nullptr;      // null: plain brush fills
    const ColourTable* colours = nullptr;      // null: borders and backgrounds are black
    PrintBand print;
};

// The walk's passes: every object, the objects under the text (the others filled as
// background), the objects over the text (the others left alone).
enum class PaintPass : int { All = 0, BehindText = 1, OverText = 2 };

// Button states, each with a picture of its own in the button record.
enum class ButtonState : int { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

}  // namespace lect32

#endif
