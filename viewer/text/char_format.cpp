#include "text/char_format.h"

#include <algorithm>

namespace lect32 {
namespace {

constexpr int16_t kReplacementSize = 16;

}  // namespace

CharFormat CharFormat::Read(winplat::ByteReader& in) {
    CharFormat f;
    f.font = in.u8();
    f.size = in.i16();
    f.weightClass = in.u8();
    f.flags = in.u8();
    return f;
}

void CharFormat::Write(uint8_t* out) const {
    out[0] = font;
    out[1] = static_cast<uint8_t>(static_cast<uint16_t>(size) & 0xFF);
    out[2] = static_cast<uint8_t>(static_cast<uint16_t>(size) >> 8);
    out[3] = weightClass;
    out[4] = flags;
}

bool CharFormat::IsUnset() const {
    return font == kUnsetFont && !HasSize() && weightClass == kUnsetWeight && TestFlag(kFlagsUnset);
}

void CharFormat::MergeFrom(const CharFormat& other) {
    if (other.font != kUnsetFont) font = other.font;
    if (other.HasSize()) size = other.size;
    if (other.weightClass != kUnsetWeight) weightClass = other.weightClass;
    if (!other.TestFlag(kFlagsUnset)) flags = other.flags;
}

bool CharFormat::Matches(const CharFormat& other) const {
    if (font != other.font || size != other.size || weightClass != other.weightClass) return false;
    return flags == other.flags || (TestFlag(kFlagsUnset) && other.TestFlag(kFlagsUnset));
}

void CharFormat::SetFlag(uint8_t bits, bool on) {
    flags = on ? static_cast<uint8_t>(flags | bits) : static_cast<uint8_t>(flags & ~bits);
    if (bits != kFlagsUnset) flags &= static_cast<uint8_t>(~kFlagsUnset);
}

int CharFormat::SetFontAndSize(int fontIndex, int16_t points) {
    if (fontIndex == -1) return -1;
    font = static_cast<uint8_t>(fontIndex);
    size = points;
    return fontIndex;
}

void CharFormat::SetWeightAndItalic(int weight, int italic) {
    weightClass = static_cast<uint8_t>(weight / 100 - 1);
    flags = (italic & kItalic) ? kItalic : 0;
}

void CharFormat::ScaleSize(int percent) {
    if (!HasSize()) return;
    const int32_t scaled = int32_t{size} * percent / 100;
    size = static_cast<int16_t>(std::clamp<int32_t>(scaled, -kUnsetSize + 1, kUnsetSize - 1));
}

bool ValidateCharFormatPayload(uint8_t* payload, uint16_t faceCount, CharFormat& out) {
    winplat::ByteReader in(payload, CharFormat::kStoredSize);
    CharFormat f = CharFormat::Read(in);
    if (f.IsUnset()) {
        out = f;
        return true;
    }
    if (f.font != CharFormat::kUnsetFont && f.font >= faceCount) return false;
    const bool weightAccepted = (f.weightClass >= 1 && f.weightClass <= 8) || f.weightClass == CharFormat::kUnsetWeight;
    if (!weightAccepted) return false;
    const bool sizeAccepted = (f.size >= 3 && f.size <= 255) || !f.HasSize();
    if (!sizeAccepted) {
        f.size = kReplacementSize;
        f.Write(payload);
    }
    out = f;
    return true;
}

}  // namespace lect32
