// The mouse cursors of the reader's pages: over links, over the page, for zooming, and further
// slots that other parts of the reader fill. A document may name its own cursor files for the
// first three; each cursor it does not name, or whose file cannot be loaded, is the built-in one.
#ifndef LECT32_PAGE_CURSOR_SET_H
#define LECT32_PAGE_CURSOR_SET_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

class CursorSet {
public:
    enum Slot : size_t {
        kLinkCursor,          // built-in: the reader's "hand"
        kNormalCursor,        // built-in: the system arrow
        kZoomCursor,          // built-in: the reader's "MAGNIFY_1"
        kSecondNormalCursor,  // built-in: the system arrow
        kFirstFurtherCursor,
    };
    static constexpr size_t kFurtherCursors = 8;
    static constexpr size_t kSlotCount = kFirstFurtherCursor + kFurtherCursors;
    // A document file id that names no cursor.
    static constexpr int16_t kNoCursorFile = -1;

    // The first call only: keeps the program instance (whose resources hold the built-in cursors)
    // and the window, and loads the built-in cursors. Returns 1.
    int Init(HINSTANCE instance, HWND window);
    // Destroys every cursor, then loads the document's cursors by their entries in the document's
    // file-name table (kNoCursorFile: none); the normal one goes to both normal slots. Every one of
    // the first four slots still empty gets its built-in cursor. Returns 1.
    int LoadDocumentCursors(int16_t normalId, int16_t linkId, int16_t zoomId);
    // Destroys the cursor of every slot that holds one and empties it.
    void DestroyAll();

    HCURSOR Get(size_t slot) const { return slot < kSlotCount ? slots_[slot].get() : nullptr; }
    // Puts a cursor into a slot, which owns it from then on (the one it held is destroyed).
    void Set(size_t slot, HCURSOR cursor);
    HINSTANCE instance() const { return instance_; }
    HWND window() const { return window_; }

private:
    HCURSOR builtIn(size_t slot) const;
    void fillBuiltIns();

    bool initialised_ = false;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    std::array<winplat::OwnedCursor, kSlotCount> slots_;
};

// The reader's one set.
CursorSet& Cursors();

// The cursor in the file of entry 'fileId' of the document's file-name table: the file found
// beside the document, else the copy the document carries (extracted to a temporary file, removed
// again once loaded). None for kNoCursorFile, an empty entry, or a file that cannot be had or
// loaded. The caller owns the cursor.
HCURSOR LoadDocumentCursor(int16_t fileId);

}  // namespace lect32

#endif
