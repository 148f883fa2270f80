// The parts of a text format besides the character format: colour pair, shadow (also the frame),
// indents, paragraph spacing, border and list marker. Each knows its stored bytes, its merge and
// comparison rules and how it follows the zoom.
#ifndef LECT32_TEXT_FORMAT_PARTS_H
#define LECT32_TEXT_FORMAT_PARTS_H

#include <array>
#include <cstdint>

#include "winplat/byte_reader.h"

namespace lect32 {

// value x percent / 100 held to the 16-bit range instead of wrapping.
int16_t ScaleClamped(int16_t value, int percent);

struct ColourPair {
    static constexpr uint8_t kStoredSize = 2;
    static constexpr uint8_t kNone = 255;  // unset, or no background

    uint8_t text = kNone;
    uint8_t background = kNone;

    static ColourPair Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;
    bool IsUnset() const { return text == kNone && background == kNone; }
    void MergeFrom(const ColourPair& other);
    bool operator==(const ColourPair&) const = default;
};

// A character shadow or a paragraph frame: a colour and two offsets.
struct Shadow {
    static constexpr uint8_t kStoredSize = 3;
    static constexpr uint8_t kNone = 255;
    static constexpr int8_t kKeepColour = -2;  // as a merged first byte
    static constexpr int8_t kMaxOffset = 10;

    uint8_t colour = kNone;
    int8_t dx = 0;
    int8_t dy = 0;

    static Shadow Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;
    bool IsEmpty() const { return colour == kNone || (dx == 0 && dy == 0); }
    // A first byte of 255 clears the colour, 254 keeps it; the offsets are always taken.
    void MergeFrom(const Shadow& other);
    // Code-3 payloads: no shadow, or offsets within -10..10.
    bool IsValid() const;
    // Equal bytes, or both without colour, or both without offsets.
    bool SameAs(const Shadow& other) const;
    void Scale(int percent);
};

struct Indents {
    static constexpr uint8_t kStoredSize = 8;
    int16_t left = 0, right = 0, firstLine = 0, furtherLines = 0;

    static Indents Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;
    void Scale(int percent);
    bool operator==(const Indents&) const = default;
};

struct ParagraphSpacing {
    static constexpr uint8_t kStoredSize = 4;
    int16_t before = 0, after = 0;

    static ParagraphSpacing Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;
    void Scale(int percent);
    bool operator==(const ParagraphSpacing&) const = default;
};

// Sides in the low four bits of the first byte; the second and fourth bytes are sizes.
struct Border {
    static constexpr uint8_t kStoredSize = 4;
    std::array<uint8_t, 4> bytes{};

    static Border Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;
    // A scaled size past 256 becomes 0, as the formatter has always drawn it.
    void Scale(int percent);
    bool operator==(const Border&) const = default;
};

struct ListMarker {
    static constexpr uint8_t kStoredSize = 8;
    uint8_t kind = 0;  // 0 none, 1 bullet, else a number style
    std::array<uint8_t, 3> bytes{};
    int16_t size = 0;  // follows the zoom
    uint8_t extra = 0;
    uint8_t colour = 0;

    static ListMarker Read(winplat::ByteReader& in);
    void Write(uint8_t* out) const;
    void Scale(int percent) { size = ScaleClamped(size, percent); }
    bool operator==(const ListMarker&) const = default;
};

void PutInt16(uint8_t* out, int16_t value);

}  // namespace lect32

#endif
