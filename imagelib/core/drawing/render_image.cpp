// Drawing one image onto another at a position, through an optional 1-bit mask: the compositor
// of frame animations, and of anything else that puts pictures together inside the library.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

struct Participants {
    ImageLock destination;
    ImageLock source;
    ImageLock mask;
};

// Locks in ascending id order, so that two renders between the same images cannot deadlock.
Participants lockParticipants(PxlImageId destination, PxlImageId source, PxlImageId mask) {
    struct Want {
        PxlImageId id;
        Access mode;
        ImageLock Participants::*slot;
    };
    std::array<Want, 3> wants{Want{destination, Access::Write, &Participants::destination},
                              Want{source, Access::Read, &Participants::source},
                              Want{mask, Access::Read, &Participants::mask}};
    std::sort(wants.begin(), wants.end(), [](const Want& a, const Want& b) { return a.id < b.id; });
    Participants p;
    for (const Want& want : wants) {
        if (want.id != 0) p.*want.slot = lockImage(want.id, want.mode);
    }
    return p;
}

bool maskFits(const ImageRecord& mask, const ImageRecord& source) {
    return mask.header && mask.bitCount() == 1 && mask.width() == source.width() &&
           mask.height() == source.height();
}

bool masked(const uint8_t* maskRow, int x) {
    return maskRow && ((maskRow[x >> 3] >> (7 - (x & 7))) & 1);
}

// The part of the source that lands on the destination.
struct Span {
    int sourceX = 0, sourceY = 0, x = 0, y = 0, columns = 0, rows = 0;
};

Span clip(const ImageRecord& destination, const ImageRecord& source, int x, int y) {
    Span s;
    s.sourceX = x < 0 ? -x : 0;
    s.sourceY = y < 0 ? -y : 0;
    s.x = std::max(x, 0);
    s.y = std::max(y, 0);
    s.columns = std::max(0, std::min(source.width() - s.sourceX, destination.width() - s.x));
    s.rows = std::max(0, std::min(source.height() - s.sourceY, destination.height() - s.y));
    return s;
}

void renderRow(const ImageRecord& source, const uint8_t* from, const uint8_t* maskRow, uint8_t* to,
               int destinationBits, const Span& s, const std::array<int32_t, 256>& table) {
    const int bits = source.bitCount();
    for (int c = 0; c < s.columns; ++c) {
        const int sx = s.sourceX + c;
        if (masked(maskRow, sx)) continue;
        uint8_t* out = destinationBits == 24 ? to + 3 * (s.x + c) : to + s.x + c;
        if (bits == 24) {
            std::memcpy(out, from + 3 * sx, 3);
            continue;
        }
        const uint8_t index = indexAt(from, sx, bits);
        if (destinationBits == 8) {
            *out = static_cast<uint8_t>(table[index]);
        } else {
            const RGBQUAD& colour = source.colors()[index];
            out[0] = colour.rgbBlue;
            out[1] = colour.rgbGreen;
            out[2] = colour.rgbRed;
        }
    }
}

}  // namespace

int16_t PXLRenderImageTo(PxlImageId destination, PxlImageId source, PxlImageId mask, int x, int y) {
    if (destination == 0 || source == 0) return 0;
    Participants p = lockParticipants(destination, source, mask);
    if (!p.destination || !p.source || !p.destination->header || !p.source->header) return 0;
    if (mask != 0 && (!p.mask || !maskFits(*p.mask, *p.source))) return 0;
    const ImageRecord& to = *p.destination;
    const ImageRecord& from = *p.source;
    const int destinationBits = to.bitCount();
    const int sourceBits = from.bitCount();
    if (destinationBits != 8 && destinationBits != 24) return 0;
    if (sourceBits != 1 && sourceBits != 4 && sourceBits != 8 && sourceBits != 24) return 0;
    // True colour cannot be drawn into a palette image here; saying it was would hide a blank.
    if (sourceBits == 24 && destinationBits == 8) return 0;

    std::array<int32_t, 256> table{};
    if (destinationBits == 8) PXLConvertPaletteTable(to.info(), from.info(), table.data());
    const Span s = clip(to, from, x, y);
    for (int r = 0; r < s.rows; ++r) {
        const uint8_t* maskRow = p.mask ? rowFromTop(*p.mask, s.sourceY + r) : nullptr;
        renderRow(from, rowFromTop(from, s.sourceY + r), maskRow, rowFromTop(to, s.y + r), destinationBits, s,
                  table);
    }
    return 1;
}
