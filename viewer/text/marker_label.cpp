#include "text/marker_label.h"

#include <algorithm>

#include "text/colour_table.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace lect32 {
namespace {

constexpr uint8_t kBullet = 1;
constexpr uint8_t kLettersUpper = 1;
constexpr uint8_t kLettersLower = 2;
constexpr int kLetters = 26;
// The list-marker bytes after the kind: the numbering style, then the bullet or suffix character.
constexpr size_t kNumberingByte = 0;
constexpr size_t kCharacterByte = 1;

}  // namespace

std::string ListNumberText(uint8_t style, uint32_t number) {
    if (style != kLettersUpper && style != kLettersLower) return std::to_string(number);
    const char base = style == kLettersUpper ? 'A' : 'a';
    std::string letters;
    for (uint32_t n = number; n > 0; n = (n - 1) / kLetters)
        letters.push_back(static_cast<char>(base + (n - 1) % kLetters));
    std::reverse(letters.begin(), letters.end());
    return letters;
}

void MarkerLabel::Build(HDC device, const TextFormat& format, uint32_t number) {
    const ListMarker& marker = format.marker;
    colour_ = marker.colour;
    if (marker.kind == kBullet) {
        const int16_t size = static_cast<int16_t>(std::max<int>(MulDiv(format.chars.size, 3, 4), kSmallestBullet));
        font_ = GetMarkerFontCache().GetFont(device, CharFormat{0, size, 3, 0});
        text_.clear();
    } else {
        font_ = GetTextFontCache().GetFont(device, format.chars);
        text_ = ListNumberText(marker.bytes[kNumberingByte], number);
    }
    // The bullet itself, or the character after a number; 0 is none.
    if (marker.bytes[kCharacterByte] != 0) text_.push_back(static_cast<char>(marker.bytes[kCharacterByte]));
    if (!font_) return;
    const winplat::Selection fontIn(device, font_->get());
    SIZE extent{};
    GetTextExtentPoint32A(device, text_.data(), static_cast<int>(text_.size()), &extent);
    TEXTMETRICA metrics{};
    GetTextMetricsA(device, &metrics);
    width_ = extent.cx;
    ascent_ = metrics.tmAscent;
    descent_ = metrics.tmDescent;
    height_ = metrics.tmHeight;
    averageWidth_ = metrics.tmAveCharWidth;
}

void MarkerLabel::Draw(HDC device, int x, int y, const ColourTable& colours) const {
    if (!font_) return;
    const winplat::Selection fontIn(device, font_->get());
    SetTextColor(device, colours.GetColour(colour_));
    const int mode = SetBkMode(device, TRANSPARENT);
    TextOutA(device, x, y, text_.data(), static_cast<int>(text_.size()));
    SetBkMode(device, mode);
}

}  // namespace lect32
