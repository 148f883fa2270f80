// What a page uses beyond its own records: the document's picture table and the loaded-picture
// cache, the media layer that lets go of what an object's pictures, windows and files hold, the
// painter that lays out, invalidates and fills on the page's behalf, and the maker of its text
// frame. Each has a default, so a page made without services works on the open document and does
// nothing it cannot do yet.
#ifndef LECT32_PAGE_PAGE_SERVICES_H
#define LECT32_PAGE_PAGE_SERVICES_H

#include <cstdint>

#include "page/object_text_frame.h"
#include "winplat/draw.h"
#include "winplat/types.h"

namespace lect32 {

class FileNameTable;
class ImageFileTable;

// The media layer, as far as freeing a page needs it.
class ObjectMedia {
public:
    virtual ~ObjectMedia() = default;
    // A media object's child window goes: told to give up its state (1159, 2, 2), repainted, its
    // device stopped and closed, then closed itself.
    virtual void CloseObjectWindow(HWND window);
    // An image id an object held: a raster picture of the image library, or a vector picture of
    // the vector-picture library.
    virtual void DeleteImage(uint16_t id, bool vector);
    // A temporary file an object wrote, by its index in the temporary-file table: deleted, and
    // the entry given up.
    virtual void DeleteTempFile(int16_t index);
};

// What the page asks of its painter and view. The defaults do nothing and report a command as
// handled, as a page without a painter has nothing to show.
class PagePainter {
public:
    virtual ~PagePainter() = default;
    // An object's record changed: lay it out again.
    virtual void LayOutObject(uint16_t /*index*/) {}
    virtual void InvalidateObject(uint16_t /*index*/) {}
    // Page commands that belong to the painter: type 2 with value 1 (the selection), type 13
    // with its value, type 9 (place the anchored objects), type 10 with its data.
    virtual int SelectionCommand() { return 1; }
    virtual int ValueCommand(int /*value*/) { return 1; }
    virtual void PlaceAnchoredObjects() {}
    virtual void TakeCommandData(void* /*data*/) {}
    // A band of the layout area (page pixels) that text flow leaves without text, while the page
    // has a background brush.
    virtual void FillBackground(const RECT& /*band*/) {}
};

struct PageServices {
    FileNameTable* pictures = nullptr;  // null: the open document's
    ImageFileTable* cache = nullptr;    // null: the reader's cache
    ObjectMedia* media = nullptr;       // null: the default above
    PagePainter* painter = nullptr;     // null: the default above
    TextFrameMaker makeFrame;           // empty: the stand-in frame of object_text_frame.h
    // The viewer's switch that keeps pictures as they are: images stay when an object moves, and
    // cached pictures get no picture-table entry before storing.
    bool keepPictures = false;
};

}  // namespace lect32

#endif
