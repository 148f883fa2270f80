// The character attributes of a run: five bytes (font index, s16 size in points, weight class,
// style flags) as they stand in stored text, style records and packed formats. Any field can be
// unset, so a format found in text overrides only what it names.
#ifndef LECT32_TEXT_CHAR_FORMAT_H
#define LECT32_TEXT_CHAR_FORMAT_H

#include <cstdint>

#include "winplat/byte_reader.h"

namespace lect32 {

struct CharFormat {
    static constexpr uint8_t kUnsetFont = 255;
    static constexpr int16_t kUnsetSize = 0x7F00;  // and every size above
    static constexpr uint8_t kUnsetWeight = 255;
    static constexpr uint8_t kStoredSize = 5;

    // Style flags.
    static constexpr uint8_t kFlagsUnset = 0x01;
    static constexpr uint8_t kItalic = 0x02;
    static constexpr uint8_t kUnderline = 0x04;
    static constexpr uint8_t kStrikeOut = 0x08;
    static constexpr uint8_t kRaised = 0x10;
    static constexpr uint8_t kLowered = 0x20;

    uint8_t font = kUnsetFont;
    int16_t size = kUnsetSize;
    uint8_t weightClass = kUnsetWeight;  // weight = (class + 1) x 100
    uint8_t flags = kFlagsUnset;

    static CharFormat Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;  // kStoredSize bytes

    void Reset() { *this = CharFormat{}; }
    bool IsUnset() const;
    bool HasSize() const { return size < kUnsetSize; }
    // Takes every field the other one sets.
    void MergeFrom(const CharFormat& other);
    // Equal font, size and weight, and equal flags or flags unset in both.
    bool Matches(const CharFormat& other) const;
    // Sets or clears bits; any change other than to the unset bit alone marks the flags set.
    void SetFlag(uint8_t bits, bool on);
    bool TestFlag(uint8_t bits) const { return (flags & bits) != 0; }

    // Font and size; a font index of -1 leaves the format alone and answers -1.
    int SetFontAndSize(int fontIndex, int16_t points);
    // Weight in hundreds (400 normal) and an italic word whose bit 0x02 asks for italic.
    void SetWeightAndItalic(int weight, int italic);
    int Weight() const { return weightClass * 100 + 100; }
    int Italic() const { return TestFlag(kItalic) ? 2 : 0; }

    // size x percent / 100, held to the range of set sizes rather than wrapping into "unset".
    void ScaleSize(int percent);
};

// Whether a code-1 payload of stored text may be taken: an unset format always; a font index
// beyond the document's faces or a weight class outside 1..8 (and not unset) never. A size outside
// 3..255 (and not unset) is mended to 16 in the payload itself, as stored documents expect. On
// success the format is copied out.
bool ValidateCharFormatPayload(uint8_t* payload, uint16_t faceCount, CharFormat& out);

}  // namespace lect32

#endif
