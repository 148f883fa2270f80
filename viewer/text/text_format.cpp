#include "text/text_format.h"

#include <algorithm>

#include "winplat/base.h"

namespace lect32 {
namespace {

int g_textZoom = 0;

constexpr int kDefaultResolution = 96;

int16_t OldToNew(int16_t value) { return static_cast<int16_t>(MulDiv(value, 11, 16)); }

}  // namespace

int GetTextZoom() { return g_textZoom; }
void SetTextZoom(int percent) { g_textZoom = percent; }

void TextFormat::Clear(bool flags) {
    present.fill(flags);
    markerByte = 255;
}

void TextFormat::Reset() {
    Clear(false);
    marker.kind = 0;
}

void TextFormat::SetParagraphDefaults() {
    Clear(false);
    chars = CharFormat{0, 10, 3, 0};
    colours = ColourPair{0, ColourPair::kNone};
    shadow = Shadow{};
    indents = Indents{};
    alignment = 0;
    lineSpacing = -100;
    spacing = ParagraphSpacing{};
    border.bytes[0] = 0;
    frame.colour = Shadow::kNone;
    marker.kind = 0;
    markerByte = 255;
    styleNumber = 0;
}

bool TextFormat::readPart(FormatPart part, winplat::ByteReader& in) {
    switch (part) {
        case kPartChar: chars.MergeFrom(CharFormat::Read(in)); break;
        case kPartColours: colours.MergeFrom(ColourPair::Read(in)); break;
        case kPartShadow: shadow.MergeFrom(Shadow::Read(in)); break;
        case kPartIndents: indents = Indents::Read(in); break;
        case kPartAlignment: alignment = in.u8(); break;
        case kPartLineSpacing: lineSpacing = in.i16(); break;
        case kPartSpacing: spacing = ParagraphSpacing::Read(in); break;
        case kPartBorder: border = Border::Read(in); break;
        case kPartFrame: frame = Shadow::Read(in); break;
        case kPartListMarker: marker = ListMarker::Read(in); break;
        default: break;
    }
    return in.ok();
}

void TextFormat::writePart(FormatPart part, uint8_t* out) const {
    switch (part) {
        case kPartChar: chars.Write(out); break;
        case kPartColours: colours.Write(out); break;
        case kPartShadow: shadow.Write(out); break;
        case kPartIndents: indents.Write(out); break;
        case kPartAlignment: out[0] = alignment; break;
        case kPartLineSpacing: PutInt16(out, lineSpacing); break;
        case kPartSpacing: spacing.Write(out); break;
        case kPartBorder: border.Write(out); break;
        case kPartFrame: frame.Write(out); break;
        case kPartListMarker: marker.Write(out); break;
        default: break;
    }
}

bool TextFormat::ReadPacked(winplat::ByteReader& in, int zoom) {
    present.fill(false);
    const uint16_t mask = in.u16();
    if (!in.ok()) return false;
    if (mask & kMaskStyleNumber) styleNumber = in.u16();
    bool whole = in.ok();
    for (const PackedPart& p : kPackedParts) {
        if (!whole || !(mask & p.maskBit)) continue;
        whole = readPart(p.part, in);
        present[p.part] = whole;
    }
    present[kPartFlagOnly] = whole && (mask & kMaskFlagOnly) != 0;
    if (zoom != 0) {
        indents.Scale(zoom);
        spacing.Scale(zoom);
        marker.Scale(zoom);
    }
    return whole;
}

bool TextFormat::ReadPackedRemapped(winplat::ByteReader& in, FontRemap mode, std::span<uint8_t, 256> table, int zoom) {
    // The font index of the packed bytes alone is remapped, not one merged from earlier.
    const uint8_t heldFont = chars.font;
    chars.font = CharFormat::kUnsetFont;
    const bool whole = ReadPacked(in, zoom);
    if (chars.font == CharFormat::kUnsetFont) {
        chars.font = heldFont;
    } else if (mode == FontRemap::MarkUsed) {
        table[chars.font] = 1;
    } else {
        chars.font = table[chars.font];
    }
    return whole;
}

size_t TextFormat::PackedSize() const {
    size_t size = 2;
    for (const PackedPart& p : kPackedParts) {
        if (present[p.part]) size += p.size;
    }
    return present[kPartFlagOnly] ? size + 2 : size;
}

size_t TextFormat::WritePacked(std::span<uint8_t> out) const {
    if (out.size() < 2) return 0;
    uint16_t mask = static_cast<uint16_t>((out[0] | out[1] << 8) & kMaskStyleNumber);
    size_t at = (mask & kMaskStyleNumber) ? 4 : 2;
    for (const PackedPart& p : kPackedParts) {
        if (!present[p.part]) continue;
        if (at + p.size > out.size()) return 0;
        writePart(p.part, out.data() + at);
        at += p.size;
        mask |= p.maskBit;
    }
    if (present[kPartFlagOnly]) mask |= kMaskFlagOnly;
    PutInt16(out.data(), static_cast<int16_t>(mask));
    return at;
}

void TextFormat::ReadValues(winplat::ByteReader& in) {
    for (const PackedPart& p : kPackedParts) {
        switch (p.part) {
            case kPartChar: chars = CharFormat::Read(in); break;
            case kPartColours: colours = ColourPair::Read(in); break;
            case kPartShadow: shadow = Shadow::Read(in); break;
            default: readPart(p.part, in); break;
        }
    }
}

void TextFormat::WriteValues(std::span<uint8_t, kFormatValueBytes> out) const {
    for (const PackedPart& p : kPackedParts) writePart(p.part, out.data() + p.valueOffset);
}

bool TextFormat::Equals(const TextFormat& o) const {
    for (const PackedPart& p : kPackedParts) {
        if (present[p.part] != o.present[p.part]) return false;
    }
    return chars.Matches(o.chars) && colours == o.colours && shadow.SameAs(o.shadow) && indents == o.indents &&
           alignment == o.alignment && lineSpacing == o.lineSpacing && spacing == o.spacing && border == o.border &&
           frame.SameAs(o.frame) && marker == o.marker;
}

int TextFormat::AvailableWidth(int width, bool furtherLines) const {
    const int lineIndent = furtherLines ? indents.furtherLines : indents.firstLine;
    return width - indents.left - indents.right - lineIndent;
}

int TextFormat::GetExtraLeading(int resolution) const {
    if (resolution == 0) resolution = kDefaultResolution;
    const int extra = lineSpacing <= 0 ? (-lineSpacing - 100) * chars.size / 100
                                       : MulDiv(lineSpacing - chars.size, 72, resolution);
    return std::max(extra, 0);
}

void TextFormat::ScaleByZoom(int percent, int charPercent) {
    chars.ScaleSize(charPercent);
    shadow.Scale(percent);
    indents.Scale(percent);
    spacing.Scale(percent);
    border.Scale(percent);
    frame.Scale(percent);
    marker.Scale(percent);
}

size_t ConvertOldPackedFormat(std::span<uint8_t> bytes) {
    winplat::ByteReader in(bytes);
    const uint16_t mask = in.u16();
    if (mask & kMaskStyleNumber) in.skip(2);
    for (const PackedPart& p : kPackedParts) {
        if (!(mask & p.maskBit)) continue;
        const size_t at = in.position();
        if (!in.skip(p.size)) return 0;
        uint8_t* field = nullptr;
        if (p.part == kPartChar) field = bytes.data() + at + 1;
        if (p.part == kPartLineSpacing) field = bytes.data() + at;
        if (field == nullptr) continue;
        const auto value = static_cast<int16_t>(field[0] | field[1] << 8);
        if (p.part == kPartChar && value >= CharFormat::kUnsetSize) continue;
        PutInt16(field, OldToNew(value));
    }
    return in.ok() ? in.position() : 0;
}

}  // namespace lect32
