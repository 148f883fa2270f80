// The fixed records an object keeps in its attribute slots: slot 2 holds the placement record of
// a picture, the media record of a video or sound, the frame record of a text frame or the button
// record of a button; slot 6 holds the scroller record. Each starts from the values an object
// without the slot has, and is read over them from however many bytes the slot holds.
#ifndef LECT32_PAGE_SLOT_RECORDS_H
#define LECT32_PAGE_SLOT_RECORDS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "page/attribute_slots.h"

namespace lect32 {

struct PlacementRecord {
    static constexpr Slot kSlot = Slot::Record;
    static constexpr size_t kSize = 7;
    uint8_t mode = 0;  // 0 natural size, 1 fit to the content box, 2 zoom
    // Thousandths, unsigned: a zoom above 32767 (over 32 times) is a zoom, not a negative one.
    uint16_t zoom = 1000;
    uint8_t freeProportions = 0;
    uint8_t enlargeSource = 0;  // 0 none, 1 the object's own picture, 2 enlargePicture
    int16_t enlargePicture = -1;

    // A side of the picture at this record's zoom.
    int32_t Zoomed(int32_t side) const { return static_cast<int32_t>(int64_t{side} * zoom / 1000); }

    template <class R, class V>
    static constexpr void EachField(R& r, V&& v) {
        v(r.mode), v(r.zoom), v(r.freeProportions), v(r.enlargeSource), v(r.enlargePicture);
    }
};

struct MediaRecord {
    static constexpr Slot kSlot = Slot::Record;
    static constexpr size_t kSize = 4;
    static constexpr size_t kWritten = 3;  // the setter sizes four bytes and writes three
    uint8_t showControls = 1;
    uint8_t playAtOnce = 0;
    uint8_t repeat = 0;
    uint8_t spare = 0;

    template <class R, class V>
    static constexpr void EachField(R& r, V&& v) {
        v(r.showControls), v(r.playAtOnce), v(r.repeat), v(r.spare);
    }
};

struct FrameRecord {
    static constexpr Slot kSlot = Slot::Record;
    static constexpr size_t kSize = 15;
    int16_t width = 0;  // handed to the frame view; absent, the object's own size
    int16_t height = 0;
    uint8_t background = 255;  // colour index, 255 = the page's
    int16_t picture = -1;
    int16_t marginLeft = 2;
    int16_t marginRight = 2;
    int16_t marginTop = 2;
    int16_t marginBottom = 2;

    template <class R, class V>
    static constexpr void EachField(R& r, V&& v) {
        v(r.width), v(r.height), v(r.background), v(r.picture);
        v(r.marginLeft), v(r.marginRight), v(r.marginTop), v(r.marginBottom);
    }
};

struct ButtonRecord {
    static constexpr Slot kSlot = Slot::Record;
    static constexpr size_t kSize = 18;
    static constexpr size_t kOldSize = 14;  // object lists of version 5
    static constexpr int kStates = 4;       // normal, hover, pressed, disabled
    std::array<int16_t, kStates> pictures = {-1, -1, -1, -1};
    // Entries of the loaded-picture cache. A button without the slot holds none: a cache entry
    // of its own would be given back when the page is freed although it never took one.
    std::array<int16_t, kStates> cache = {-1, -1, -1, -1};
    uint8_t tail0 = 1;  // the two closing bytes are kept as they are
    uint8_t tail1 = 0;

    // The version-5 form: three pictures, six further bytes, the two closing bytes.
    static ButtonRecord FromOld(std::span<const uint8_t, kOldSize> old);

    template <class R, class V>
    static constexpr void EachField(R& r, V&& v) {
        for (auto& p : r.pictures) v(p);
        for (auto& c : r.cache) v(c);
        v(r.tail0), v(r.tail1);
    }
};

struct ScrollerRecord {
    static constexpr Slot kSlot = Slot::Scroller;
    static constexpr size_t kSize = 18;
    int16_t thumb = 0;  // thumb position from the top of the track
    int16_t track = 0;
    int16_t thumbLength = 0;
    int32_t textHeight = 0;  // of the text frame the scroller follows
    int32_t visibleHeight = 0;
    int32_t scroll = 0;

    template <class R, class V>
    static constexpr void EachField(R& r, V&& v) {
        v(r.thumb), v(r.track), v(r.thumbLength), v(r.textHeight), v(r.visibleHeight), v(r.scroll);
    }
};

}  // namespace lect32

#endif
