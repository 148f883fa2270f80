#include "page/slot_records.h"

#include "winplat/byte_reader.h"

namespace lect32 {

ButtonRecord ButtonRecord::FromOld(std::span<const uint8_t, kOldSize> old) {
    winplat::ByteReader in(old);
    ButtonRecord button;
    for (int i = 0; i < 3; ++i) button.pictures[i] = in.i16();
    in.skip(6);
    button.tail0 = in.u8();
    button.tail1 = in.u8();
    return button;
}

}  // namespace lect32
