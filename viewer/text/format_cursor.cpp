#include "text/format_cursor.h"

#include <string>

#include "text/control_codes.h"
#include "text/style_sheet.h"
#include "text/text_store.h"

namespace lect32 {
namespace {

std::span<const uint8_t> AsBytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace

void FormatCursor::ScanRow(uint16_t row, uint16_t length, bool keepUnset) {
    present.fill(keepUnset);
    chars.Reset();
    colours = ColourPair{};
    shadow = Shadow{};
    linkKind = kNoLink;
    linkValue = 0;
    if (length == 0 || !text_ || row >= text_->GetItemCount()) return;
    const uint16_t size = text_->GetItemLength(row);
    const uint8_t* locked = size ? text_->LockItem(row) : nullptr;
    if (!locked) return;
    scan(std::span<const uint8_t>(locked, size), length, keepUnset);
    text_->UnlockItem(row);
}

void FormatCursor::ScanText(std::span<const uint8_t> text, uint16_t length, bool keepUnset) {
    present.fill(keepUnset);
    chars.Reset();
    colours = ColourPair{};
    shadow = Shadow{};
    linkKind = kNoLink;
    linkValue = 0;
    if (length != 0) scan(text, length, keepUnset);
}

void FormatCursor::scan(std::span<const uint8_t> bytes, uint16_t length, bool keepUnset) {
    const size_t end = std::min<size_t>(length, bytes.size());
    size_t at = 0;
    while (at < end) {
        if (!IsControlCode(bytes[at])) {
            ++at;
            continue;
        }
        const size_t sequence = SequenceLength(bytes, at);
        if (sequence == 0) return;
        winplat::ByteReader payload(bytes.subspan(at + 1, sequence - 2));
        switch (bytes[at]) {
            case kCodeCharFormat:
                chars = CharFormat::Read(payload);
                present[kPartChar] = keepUnset || !chars.IsUnset();
                break;
            case kCodeColourPair:
                colours = ColourPair::Read(payload);
                present[kPartColours] = keepUnset || !colours.IsUnset();
                break;
            case kCodeShadow:
                shadow = Shadow::Read(payload);
                present[kPartShadow] = keepUnset || shadow.colour != Shadow::kNone;
                break;
            case kCodeLinkStart:
                payload.skip(1);  // the frame's length byte
                linkKind = payload.u8();
                linkValue = payload.has(2) ? payload.u16() : 0;
                present[kLinkFlag] = true;
                break;
            case kCodeLinkEnd:
                linkKind = kNoLink;
                present[kLinkFlag] = false;
                break;
            default: break;
        }
        at += sequence;
    }
}

uint32_t FormatCursor::RowBase(uint16_t row, TextFormat& target) const {
    if (!records_ || row >= records_->GetItemCount()) {
        GetStyleSheet().GetStyleFormat(StyleSheet::kNoStyle, target);
        return 0;
    }
    const std::string item = records_->CopyItem(row);
    winplat::ByteReader in(AsBytes(item));
    const uint32_t height = in.u32();
    const uint8_t style = in.u8();
    GetStyleSheet().GetStyleFormat(style, target);
    target.ReadPacked(in, GetTextZoom());
    target.styleNumber = style;  // bit 0 of a row's format announces its anchor, not a style
    return height;
}

void FormatCursor::fillUnsetFrom(const TextFormat& base) {
    if (chars.font == CharFormat::kUnsetFont) chars.font = base.chars.font;
    if (!chars.HasSize()) chars.size = base.chars.size;
    if (chars.weightClass == CharFormat::kUnsetWeight) chars.weightClass = base.chars.weightClass;
    if (chars.TestFlag(CharFormat::kFlagsUnset)) chars.flags = base.chars.flags;
    if (colours.text == ColourPair::kNone) colours.text = base.colours.text;
    if (colours.background == ColourPair::kNone) colours.background = base.colours.background;
    if (shadow.colour == Shadow::kNone) shadow = base.shadow;
}

uint32_t FormatCursor::ResolveAt(uint16_t row, uint16_t offset) {
    TextFormat base;
    base.Reset();
    const uint32_t height = RowBase(row, base);
    ScanRow(row, offset, false);
    fillUnsetFrom(base);
    return height;
}

void FormatCursor::ResolveAgainst(uint16_t row, uint16_t offset, const TextFormat& base) {
    ScanRow(row, offset, false);
    fillUnsetFrom(base);
}

size_t FormatCursor::EmitCodes(std::span<uint8_t> out) const {
    size_t at = 0;
    const auto emit = [&](uint8_t code, size_t size, auto write) {
        if (at + size + 2 > out.size()) return false;
        out[at] = code;
        write(out.data() + at + 1);
        out[at + size + 1] = code;
        at += size + 2;
        return true;
    };
    if (present[kPartChar] && !emit(kCodeCharFormat, CharFormat::kStoredSize, [&](uint8_t* p) { chars.Write(p); })) return 0;
    if (present[kPartColours] && !emit(kCodeColourPair, ColourPair::kStoredSize, [&](uint8_t* p) { colours.Write(p); })) return 0;
    if (present[kPartShadow] && !emit(kCodeShadow, Shadow::kStoredSize, [&](uint8_t* p) { shadow.Write(p); })) return 0;
    return at;
}

bool FormatCursor::SameAs(const FormatCursor& other) const {
    return chars.Matches(other.chars) && colours == other.colours && shadow.SameAs(other.shadow);
}

}  // namespace lect32
