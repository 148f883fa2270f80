#include "page/page_style.h"

#include <cstddef>
#include <cstring>

#include "text/colour_math.h"

namespace lect32 {

// The page code and the stored forms count on this layout.
static_assert(sizeof(ShortRect) == 8);
static_assert(sizeof(PageStyleLink) == 3);
static_assert(sizeof(PageStyle) == 63);
static_assert(offsetof(PageStyle, width) == 2);
static_assert(offsetof(PageStyle, layoutWord) == 4);
static_assert(offsetof(PageStyle, margins) == 6);
static_assert(offsetof(PageStyle, backgroundColour) == 14);
static_assert(offsetof(PageStyle, widthMode) == 15);
static_assert(offsetof(PageStyle, oldFormPresence) == 16);
static_assert(offsetof(PageStyle, group10) == 17);
static_assert(offsetof(PageStyle, group20) == 22);
static_assert(offsetof(PageStyle, group40Word) == 24);
static_assert(offsetof(PageStyle, group40Byte) == 26);
static_assert(offsetof(PageStyle, backgroundPicture) == 27);
static_assert(offsetof(PageStyle, backgroundPictureMode) == 29);
static_assert(offsetof(PageStyle, group80Byte) == 30);
static_assert(offsetof(PageStyle, group100Byte) == 31);
static_assert(offsetof(PageStyle, group200Byte) == 32);
static_assert(offsetof(PageStyle, group400Byte) == 33);
static_assert(offsetof(PageStyle, group200Words) == 34);
static_assert(offsetof(PageStyle, group400Words) == 38);
static_assert(offsetof(PageStyle, group800Bytes) == 42);
static_assert(offsetof(PageStyle, group800Word) == 44);
static_assert(offsetof(PageStyle, links) == 46);
static_assert(offsetof(PageStyle, group2000Present) == 55);
static_assert(offsetof(PageStyle, group2000Word1) == 56);
static_assert(offsetof(PageStyle, group2000Byte) == 58);
static_assert(offsetof(PageStyle, group2000Word2) == 59);
static_assert(offsetof(PageStyle, trailingId) == 61);

namespace {

bool BytesEqual(const void* one, const void* other, size_t count) {
    return std::memcmp(one, other, count) == 0;
}

bool LinksEqual(const PageStyleLink& one, const PageStyleLink& other) {
    const int16_t id = one.id;
    const int16_t otherId = other.id;
    if (id == -1 && otherId == -1) return true;
    return id == otherId && one.value == other.value;
}

bool Group2000Equal(const PageStyle& one, const PageStyle& other) {
    if (one.group2000Present == 0 && other.group2000Present == 0) return true;
    return one.group2000Present == other.group2000Present && one.group2000Word1 == other.group2000Word1 &&
           one.group2000Byte == other.group2000Byte && one.group2000Word2 == other.group2000Word2;
}

bool Groups200And400Equal(const PageStyle& one, const PageStyle& other) {
    if (one.group800Bytes[0] != other.group800Bytes[0]) return false;
    const bool bothUnused =
        one.group200Byte == 0 && one.group400Byte == 0 && other.group200Byte == 0 && other.group400Byte == 0;
    if (bothUnused) return true;
    return one.group200Byte == other.group200Byte && one.group400Byte == other.group400Byte &&
           BytesEqual(one.group200Words, other.group200Words, sizeof one.group200Words) &&
           BytesEqual(one.group400Words, other.group400Words, sizeof one.group400Words);
}

}  // namespace

bool Equals(const ShortRect& one, const ShortRect& other) {
    return one.left == other.left && one.top == other.top && one.right == other.right && one.bottom == other.bottom;
}

ShortRect ScaleByPercent(const ShortRect& rect, int16_t percent) {
    return {ScaleByPercent(rect.left, percent), ScaleByPercent(rect.top, percent),
            ScaleByPercent(rect.right, percent), ScaleByPercent(rect.bottom, percent)};
}

void PageStyle::InitLinks() {
    for (PageStyleLink& link : links) link = PageStyleLink{};
}

void PageStyle::SetDefaults() {
    const int16_t keptLayoutWord = layoutWord;
    *this = PageStyle{};
    layoutWord = keptLayoutWord;
}

// Width counts only while WidthMode is 1; the layout word, the group-0x80 and 0x100 bytes, the
// second group-0x800 byte and the group-0x800 word do not take part.
bool PageStyle::Equals(const PageStyle& other) const {
    if (flags != other.flags || widthMode != other.widthMode || backgroundColour != other.backgroundColour ||
        oldFormPresence != other.oldFormPresence)
        return false;
    if (widthMode == 1 && width != other.width) return false;
    if (!lect32::Equals(margins, other.margins)) return false;
    if (!BytesEqual(group10, other.group10, sizeof group10) || !BytesEqual(group20, other.group20, sizeof group20))
        return false;
    if (group40Word != other.group40Word || group40Byte != other.group40Byte) return false;
    if (backgroundPicture != other.backgroundPicture || backgroundPictureMode != other.backgroundPictureMode)
        return false;
    if (trailingId != other.trailingId) return false;
    for (int i = 0; i < 3; ++i) {
        if (!LinksEqual(links[i], other.links[i])) return false;
    }
    return Group2000Equal(*this, other) && Groups200And400Equal(*this, other);
}

void PageStyle::ScaleMargins(int16_t percent) { margins = ScaleByPercent(margins, percent); }

PageStyle MergeWithDefaults(const PageStyle& page, const PageStyle& defaults) {
    PageStyle merged = page;
    const auto fromDefaults = [&](uint16_t bit) { return (page.flags & bit) == 0; };
    if (fromDefaults(PageStyle::kWidthGroup)) {
        merged.width = defaults.width;
        merged.layoutWord = defaults.layoutWord;
        merged.margins = defaults.margins;
        merged.widthMode = defaults.widthMode;
    }
    if (fromDefaults(PageStyle::kColourGroup)) merged.backgroundColour = defaults.backgroundColour;
    if (fromDefaults(PageStyle::kPictureGroup)) {
        merged.backgroundPicture = defaults.backgroundPicture;
        merged.backgroundPictureMode = defaults.backgroundPictureMode;
    }
    if (fromDefaults(PageStyle::kGroup10)) std::memcpy(merged.group10, defaults.group10, sizeof merged.group10);
    if (fromDefaults(PageStyle::kGroup20)) std::memcpy(merged.group20, defaults.group20, sizeof merged.group20);
    if (fromDefaults(PageStyle::kGroup40)) {
        merged.group40Word = defaults.group40Word;
        merged.group40Byte = defaults.group40Byte;
    }
    if (fromDefaults(PageStyle::kGroup80)) merged.group80Byte = defaults.group80Byte;
    if (fromDefaults(PageStyle::kGroup100)) merged.group100Byte = defaults.group100Byte;
    if (fromDefaults(PageStyle::kGroup200)) {
        merged.group200Byte = defaults.group200Byte;
        std::memcpy(merged.group200Words, defaults.group200Words, sizeof merged.group200Words);
    }
    if (fromDefaults(PageStyle::kGroup400)) {
        merged.group400Byte = defaults.group400Byte;
        std::memcpy(merged.group400Words, defaults.group400Words, sizeof merged.group400Words);
    }
    if (fromDefaults(PageStyle::kGroup800)) {
        std::memcpy(merged.group800Bytes, defaults.group800Bytes, sizeof merged.group800Bytes);
        merged.group800Word = defaults.group800Word;
    }
    return merged;
}

void TextRange::Set(uint16_t fromParagraph, uint16_t fromOffset, uint16_t toParagraph, uint16_t toOffset) {
    startParagraph = fromParagraph;
    startOffset = fromOffset;
    endParagraph = toParagraph;
    endOffset = toOffset;
    active = 1;
    second = 1;
}

bool TextRange::IsNonEmpty() const {
    if (!active) return false;
    return startParagraph < endParagraph || (startParagraph == endParagraph && startOffset < endOffset);
}

}  // namespace lect32
