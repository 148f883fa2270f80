// The format in force at a position of a row: the row's style, then its own packed format, then
// the control codes before the position (the last of each kind wins, unset fields fall back to
// the row's base). Works on a view's row-text and row-record stores.
#ifndef LECT32_TEXT_FORMAT_CURSOR_H
#define LECT32_TEXT_FORMAT_CURSOR_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "text/text_format.h"

namespace lect32 {

class TextStore;

class FormatCursor {
public:
    static constexpr int kLinkFlag = 12;
    static constexpr uint8_t kNoLink = 255;
    // Row record: u32 height, the style index, then the packed paragraph format.
    static constexpr size_t kRowStyleByte = 4;
    static constexpr size_t kRowFormatByte = 5;

    std::array<bool, TextFormat::kFlagCount> present{};
    CharFormat chars;
    ColourPair colours;
    Shadow shadow;
    uint8_t linkKind = kNoLink;
    uint16_t linkValue = 0;

    void Bind(TextStore* rowText, TextStore* rowRecords) {
        text_ = rowText;
        records_ = rowRecords;
    }

    // Takes the codes of the row's first 'length' bytes. Without keepUnset a code whose values
    // are all unset leaves its part absent. A damaged sequence ends the walk.
    void ScanRow(uint16_t row, uint16_t length, bool keepUnset);
    // The same over a row text held elsewhere.
    void ScanText(std::span<const uint8_t> text, uint16_t length, bool keepUnset);
    // The row's style format with its own packed format over it; returns the row's height.
    uint32_t RowBase(uint16_t row, TextFormat& target) const;
    // The character format, colours and shadow in force at the offset; returns the row's height.
    uint32_t ResolveAt(uint16_t row, uint16_t offset);
    void ResolveAgainst(uint16_t row, uint16_t offset, const TextFormat& base);
    // The present character format, colour pair and shadow as codes 1, 2, 3; the bytes written,
    // 0 when they do not fit.
    size_t EmitCodes(std::span<uint8_t> out) const;
    bool SameAs(const FormatCursor& other) const;

private:
    void scan(std::span<const uint8_t> bytes, uint16_t length, bool keepUnset);
    void fillUnsetFrom(const TextFormat& base);

    TextStore* text_ = nullptr;
    TextStore* records_ = nullptr;
};

}  // namespace lect32

#endif
