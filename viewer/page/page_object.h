// One object placed on a page (a picture, vector picture, video, sound, text frame or button) as
// the page keeps it: a 58-byte record, little-endian, whose bytes are the same in memory, in the
// saved object block of a text frame and, for their first 36, in documents of object-list
// version 5 and later (version 4 and older store 29). The members are listed in record order;
// Encode and Decode go field by field through that one list, never through the struct's layout.
#ifndef LECT32_PAGE_PAGE_OBJECT_H
#define LECT32_PAGE_PAGE_OBJECT_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "winplat/byte_reader.h"
#include "winplat/types.h"

namespace lect32 {

enum class ObjectKind : uint8_t {
    Picture = 1,
    VectorPicture = 2,
    Video = 3,
    Sound = 4,
    TextFrame = 5,
    Button = 7,
};

struct PageObject {
    static constexpr size_t kSize = 58;
    static constexpr size_t kStoredSize = 36;     // object lists of version 5 and later
    static constexpr size_t kOldStoredSize = 29;  // version 4 and older
    static constexpr int32_t kParkedY = 0x7FFFFFFF;  // an anchored object waiting for its anchor

    int16_t width = 0;
    int16_t height = 0;
    int16_t x = 0;  // from the left margin of the layout area
    int32_t y = 0;
    int16_t spacingLeft = 0;
    int16_t spacingRight = 0;
    int16_t spacingTop = 0;
    int16_t spacingBottom = 0;
    uint8_t placement = 0;  // 0 free (x kept), 1 left, 2 right, 3 centred
    uint8_t anchoring = 0;  // 0 free, 2 and 3 anchored to a text mark
    uint8_t flow = 0;       // 0 text beside, 1 no text in the object's band, 2 text over it
    uint16_t anchorId = 0;
    uint8_t behindText = 0;
    uint8_t borderWidth = 0;
    uint8_t borderColour = 0;
    uint8_t kind = 0;
    int16_t picture = -1;  // picture table index (pictures, buttons) or media file index
    int16_t z = 0;         // place in the paint order, 0 painted first
    int16_t reserved31 = -1;
    int16_t reserved33 = -1;
    uint8_t active = 0;  // takes the mouse (hover, pressed, disabled states)
    // Bytes 36 on are the page's own and never stored in a document.
    int32_t savedY = 0;       // an anchored object's y while it is parked
    int16_t cacheIndex = -1;  // entry of the loaded-picture cache
    uint8_t copied = 0;       // copied from another page: painted before all others
    uint8_t prepared = 0;
    uint8_t disabled = 0;
    uint8_t scroller = 0;  // 0 none, 1 scroller, 2 scroller with a generated thumb
    int16_t attribute = -1;  // item number in the page's two text lists
    uint32_t window = 0;     // the object's child window
    int16_t tempFile = -1;   // entry of the temporary-file table
    uint16_t backgroundImage = 0;
    uint16_t workImage = 0;

    using Bytes = std::array<uint8_t, kSize>;

    // The members in stored order (see field_codec.h).
    template <class Object, class Visit>
    static constexpr void EachField(Object& o, Visit&& visit) {
        visit(o.width), visit(o.height), visit(o.x), visit(o.y);
        visit(o.spacingLeft), visit(o.spacingRight), visit(o.spacingTop), visit(o.spacingBottom);
        visit(o.placement), visit(o.anchoring), visit(o.flow), visit(o.anchorId);
        visit(o.behindText), visit(o.borderWidth), visit(o.borderColour), visit(o.kind);
        visit(o.picture), visit(o.z), visit(o.reserved31), visit(o.reserved33), visit(o.active);
        visit(o.savedY), visit(o.cacheIndex), visit(o.copied), visit(o.prepared), visit(o.disabled);
        visit(o.scroller), visit(o.attribute), visit(o.window), visit(o.tempFile);
        visit(o.backgroundImage), visit(o.workImage);
    }

    Bytes Encode() const;
    static PageObject Decode(std::span<const uint8_t, kSize> bytes);
    // Reads 'count' bytes (at most kSize; a stored prefix or a saved record of another size) over
    // this record's first bytes, the rest keeping their values. false, with the record unchanged,
    // when more than kSize is asked (the reader untouched) or the reader runs out (it fails).
    bool ReadPrefix(winplat::ByteReader& in, size_t count);

    bool Is(ObjectKind k) const { return kind == static_cast<uint8_t>(k); }
    bool IsPicture() const { return Is(ObjectKind::Picture) || Is(ObjectKind::VectorPicture); }
    bool IsMedia() const { return Is(ObjectKind::Video) || Is(ObjectKind::Sound); }
    bool IsParked() const { return y == kParkedY; }
    // Edges in page pixels; the bottom may pass the 32-bit range of y (a parked object).
    int64_t Bottom() const { return int64_t{y} + height; }
    int32_t Right() const { return int32_t{x} + width; }
    // The child window (handles of the layer fit the record's 32 bits).
    HWND Window() const { return reinterpret_cast<HWND>(uintptr_t{window}); }
    void SetWindow(HWND handle) { window = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)); }
    // x as the horizontal placement puts the object in a layout width: 0 keeps x, 1 left, 2 right,
    // 3 centred (one pixel right of the middle when the left gap is the smaller; never left of 0).
    int16_t PlacedX(int layoutWidth) const;
    // Whether a new record makes the page lay its text out again: placement, anchoring or flow.
    bool LayoutDiffers(const PageObject& other) const;
    // Clears what belongs to one showing of the page: windows, images, cache entries, files.
    void ClearRunTimeState();
};

// The key the object list is kept in: y, then x.
inline bool PlacedBefore(const PageObject& one, int32_t y, int16_t x) {
    return one.y < y || (one.y == y && one.x < x);
}

}  // namespace lect32

#endif
