#include "page/page_object.h"

#include "page/field_codec.h"

namespace lect32 {

PageObject::Bytes PageObject::Encode() const { return field_codec::Encode(*this); }

PageObject PageObject::Decode(std::span<const uint8_t, kSize> bytes) { return field_codec::Decode<PageObject>(bytes); }

bool PageObject::ReadPrefix(winplat::ByteReader& in, size_t count) {
    Bytes bytes = Encode();
    if (count > kSize || !in.bytes(bytes.data(), count)) return false;
    *this = Decode(bytes);
    return true;
}

int16_t PageObject::PlacedX(int layoutWidth) const {
    switch (placement) {
    case 1: return 0;
    case 2: return static_cast<int16_t>(layoutWidth - width);
    case 3: {
        int centred = layoutWidth / 2 - width / 2;
        if (centred > 0 && centred < layoutWidth - centred - width) ++centred;
        return static_cast<int16_t>(centred < 0 ? 0 : centred);
    }
    default: return x;
    }
}

bool PageObject::LayoutDiffers(const PageObject& other) const {
    return placement != other.placement || anchoring != other.anchoring || flow != other.flow;
}

void PageObject::ClearRunTimeState() {
    cacheIndex = -1;
    prepared = 0;
    window = 0;
    tempFile = -1;
    backgroundImage = 0;
    workImage = 0;
}

}  // namespace lect32
