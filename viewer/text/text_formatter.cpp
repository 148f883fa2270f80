#include "text/text_formatter.h"

#include <algorithm>
#include <cstdlib>

#include "text/code_edits.h"
#include "text/control_codes.h"
#include "winplat/base.h"
#include "winplat/owners.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/text.h"

namespace lect32 {
namespace {

constexpr uint8_t kSpace = ' ';
constexpr uint8_t kNoBreakSpace = 160;
constexpr size_t kMaxLineText = 0xFFFF;  // segment offsets are 16-bit
constexpr int kPointsPerInch = 72;

int ShiftOffset(int points, int pixels) {
    if (points <= 7) return 3;
    return MulDiv(pixels, points <= 11 ? 4 : 3, 10);
}

}  // namespace

int CountSpaces(std::span<const uint8_t> bytes) {
    return static_cast<int>(
        std::count_if(bytes.begin(), bytes.end(), [](uint8_t b) { return b == kSpace || b == kNoBreakSpace; }));
}

int BaselineShift(const CharFormat& format, int pixelsPerInch) {
    const bool raised = format.TestFlag(CharFormat::kRaised);
    if (!raised && !format.TestFlag(CharFormat::kLowered)) return 0;
    const int offset = ShiftOffset(format.size, MulDiv(format.size, pixelsPerInch, kPointsPerInch));
    return raised ? -(offset + 1) : offset - 1;
}

TextFormatter::TextFormatter() { format_.SetParagraphDefaults(); }

void TextFormatter::SetDC(HDC device) { dc_ = device; }

// ---- stacks ---------------------------------------------------------------------------------

void TextFormatter::pushFont(const CharFormat& asked) {
    CharFormat format = format_.chars;
    if (asked.font != CharFormat::kUnsetFont) format.font = asked.font;
    if (asked.HasSize()) format.size = asked.size;
    if (asked.weightClass != CharFormat::kUnsetWeight) format.weightClass = asked.weightClass;
    if (!asked.TestFlag(CharFormat::kFlagsUnset)) format.flags = asked.flags;

    CharFormat zoomed = format;
    const int zoom = GetTextZoom();
    if (zoom != 0 && zoom != 100) zoomed.size = static_cast<int16_t>(MulDiv(format.size, zoom, 100));

    StackedFont entry;
    entry.format = format;
    entry.font = GetTextFontCache().GetFont(dc_, zoomed);
    entry.shift = BaselineShift(format, GetTextResolution() ? GetTextResolution() : 96);
    fonts_.push_back(std::move(entry));
    selectFont(fonts_.size() - 1);
    StackedFont& top = fonts_.back();
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc_, &metrics);
    top.ascent = metrics.tmAscent;
    top.descent = metrics.tmDescent;
    top.averageWidth = metrics.tmAveCharWidth;
    ABC abc{};
    top.abcWidths = !GetPrintJobDevice() && GetCharABCWidthsA(dc_, 'A', 'A', &abc);
}

void LaidOutLine::selectFont(size_t index) {
    if (index >= fonts_.size() || index == selectedFont_) return;
    const HFONT font = fonts_[index].font ? fonts_[index].font->get() : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const HGDIOBJ before = SelectObject(dc_, font);
    if (!fontBeforePush_) fontBeforePush_ = before;
    selectedFont_ = index;
}

void TextFormatter::raiseMetrics(const StackedFont& font, const Shadow& shadow) {
    int ascent = font.ascent - font.shift;
    int descent = font.descent + font.shift;
    if (shadow.colour != Shadow::kNone) {
        if (shadow.dy > 0) descent += shadow.dy;
        if (shadow.dy < 0) ascent -= shadow.dy;
    }
    metrics_.ascent = std::max(metrics_.ascent, ascent);
    metrics_.descent = std::max(metrics_.descent, descent);
}

void TextFormatter::resetMetrics() {
    metrics_ = LineMetrics{};
    if (!fonts_.empty()) raiseMetrics(fonts_.front(), shadows_.empty() ? Shadow{} : shadows_.front());
}

void TextFormatter::ReleaseFonts() {
    if (fontBeforePush_) SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    fontBeforePush_ = nullptr;
    selectedFont_ = SIZE_MAX;
    for (const StackedFont& font : fonts_) GetTextFontCache().ReleaseFont(font.font);
    fonts_.clear();
}

void TextFormatter::BeginParagraph(const TextFormat& format) {
    ReleaseFonts();
    format_ = format;
    colours_.assign(1, format_.colours);
    shadows_.assign(1, format_.shadow);
    links_.clear();
    linkOpen_ = format_.present[kItemLinkStart];
    if (linkOpen_) links_.push_back(LinkEntry{});
    carriedLinks_ = static_cast<int>(links_.size());
    pushFont(format_.chars);
    items_ = {kItemColours, kItemShadow, kItemFont};
    itemLengths_.assign(3, 0);
    segments_.clear();
    resetMetrics();
}

void TextFormatter::EndParagraph() { BeginParagraph(TextFormat(format_)); }

// What is in force where the last line ended becomes the first entry of each stack for the next.
void TextFormatter::keepInForce() {
    for (size_t i = items_.size(); i-- > 3;) {
        if (items_[i] == kItemLinkStart || items_[i] == kItemLinkEnd) {
            linkOpen_ = items_[i] == kItemLinkStart;
            break;
        }
    }
    if (fonts_.size() > 1) {
        selectFont(fonts_.size() - 1);  // the font in force stays selected while the others go
        for (size_t i = 0; i + 1 < fonts_.size(); ++i) GetTextFontCache().ReleaseFont(fonts_[i].font);
        fonts_.erase(fonts_.begin(), fonts_.end() - 1);
        selectedFont_ = 0;
    }
    if (colours_.size() > 1) colours_.erase(colours_.begin(), colours_.end() - 1);
    if (shadows_.size() > 1) shadows_.erase(shadows_.begin(), shadows_.end() - 1);
    if (!linkOpen_) links_.clear();
    if (links_.size() > 1) links_.erase(links_.begin(), links_.end() - 1);
    carriedLinks_ = static_cast<int>(links_.size());
    lineLinkState_ = !linkOpen_ || links_.empty() ? 0 : links_.back().kind == 3 ? 2 : 1;
}

void TextFormatter::ScanControlCodes(std::span<const uint8_t> text, TextFormat& format) {
    CharFormat chars;
    ColourPair colours;
    Shadow shadow;
    bool linkOpen = false;
    ForEachSequence(text, [&](size_t at, size_t length) {
        winplat::ByteReader payload(text.subspan(at + 1, length - 2));
        switch (text[at]) {
            case kCodeCharFormat: chars = CharFormat::Read(payload); break;
            case kCodeColourPair: colours = ColourPair::Read(payload); break;
            case kCodeShadow: shadow = Shadow::Read(payload); break;
            case kCodeLinkStart: linkOpen = true; break;
            case kCodeLinkEnd: linkOpen = false; break;
            default: break;
        }
    });
    if (!chars.IsUnset()) {
        format.chars = chars;
        format.present[kPartChar] = true;
    }
    if (!colours.IsUnset()) {
        format.colours = colours;
        format.present[kPartColours] = true;
    }
    if (shadow.colour != Shadow::kNone) {
        format.shadow = shadow;
        format.present[kPartShadow] = true;
    }
    if (linkOpen) format.present[kItemLinkStart] = true;
}

// ---- measuring ------------------------------------------------------------------------------

int LaidOutLine::measure(size_t start, size_t count, const Shadow& shadow, TextSegment* into) {
    if (into) {
        into->overhang = 0;
        into->lastFullWidth = 0;
    }
    if (count == 0) return 0;
    const char* bytes = reinterpret_cast<const char*>(text_.data() + start);
    SIZE extent{};
    GetTextExtentPoint32A(dc_, bytes, static_cast<int>(count), &extent);
    int width = extent.cx;
    if (selectedFont_ < fonts_.size() && fonts_[selectedFont_].abcWidths && into) {
        const uint8_t last = text_[start + count - 1];
        ABC abc{};
        if (GetCharABCWidthsA(dc_, last, last, &abc) && abc.abcC < 0) {
            into->lastFullWidth = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
            into->overhang = -abc.abcC;
        }
    }
    if (shadow.colour != Shadow::kNone) width += std::abs(shadow.dx);
    return width;
}

const StackedFont& LaidOutLine::UnderlineOf(size_t index) {
    StackedFont& font = fonts_.at(index);
    if (font.underlineOffset >= 0) return font;
    if (GetPrintJobDevice()) {
        const int h = MulDiv(font.format.size, GetTextResolution() ? GetTextResolution() : 96, kPointsPerInch);
        font.underlineThickness = h > 9 ? h / 20 : 1;
        font.underlineOffset = h / 15;
        return font;
    }
    font.underlineOffset = 2;
    font.underlineThickness = 1;
    CharFormat underlined = font.format;
    underlined.flags = static_cast<uint8_t>((underlined.flags & ~CharFormat::kFlagsUnset) | CharFormat::kUnderline);
    const int zoom = GetTextZoom();
    if (zoom != 0 && zoom != 100) underlined.size = static_cast<int16_t>(MulDiv(underlined.size, zoom, 100));
    const FontRef probeFont = GetTextFontCache().GetFont(dc_, underlined);
    constexpr int kProbeWidth = 16, kProbeRows = 50;
    winplat::MemoryDc probe(CreateCompatibleDC(dc_));
    winplat::OwnedBitmap bitmap(CreateBitmap(kProbeWidth, kProbeRows, 1, 1, nullptr));
    if (!probe || !bitmap || !probeFont) return font;
    const winplat::Selection bitmapIn(probe.get(), bitmap.get());
    const winplat::Selection fontIn(probe.get(), probeFont->get());
    RECT all{0, 0, kProbeWidth, kProbeRows};
    FillRect(probe.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(probe.get(), RGB(0, 0, 0));
    SetBkMode(probe.get(), TRANSPARENT);
    TextOutA(probe.get(), 0, -font.ascent, "a", 1);
    const auto rowInked = [&](int y) {
        for (int x = 0; x < kProbeWidth; ++x)
            if ((GetPixel(probe.get(), x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
        return false;
    };
    int row = 0;
    while (row < kProbeRows && !rowInked(row)) ++row;
    if (row < kProbeRows) {
        int end = row;
        while (end < kProbeRows && rowInked(end)) ++end;
        font.underlineOffset = row;
        font.underlineThickness = end == kProbeRows ? 1 : end - row;
    }
    GetTextFontCache().ReleaseFont(probeFont);
    return font;
}

// ---- splitting ------------------------------------------------------------------------------

void TextFormatter::closeSegment(size_t start, size_t end, int& used, bool link) {
    TextSegment segment;
    segment.start = static_cast<uint16_t>(start);
    segment.length = static_cast<uint16_t>(end - start);
    segment.spaces = CountSpaces(text_.subspan(start, end - start));
    segment.width = measure(start, end - start, shadows_.back(), &segment);
    segment.link = link;
    used += segment.width;
    segments_.push_back(segment);
    items_.push_back(kItemText);
    itemLengths_.push_back(segment.length);
}

size_t TextFormatter::SplitIntoSegments(std::span<const uint8_t> text, int width) {
    keepInForce();
    return split(text, width);
}

// Each stack back to what was in force at the line's start (its first entry), so that a line cut
// once can be cut again at another width.
size_t TextFormatter::SplitIntoSegmentsAgain(std::span<const uint8_t> text, int width) {
    if (!fonts_.empty()) {
        selectFont(0);
        for (size_t i = 1; i < fonts_.size(); ++i) GetTextFontCache().ReleaseFont(fonts_[i].font);
        fonts_.resize(1);
    }
    colours_.resize(std::min<size_t>(colours_.size(), 1));
    shadows_.resize(std::min<size_t>(shadows_.size(), 1));
    links_.resize(std::min(links_.size(), static_cast<size_t>(std::max(carriedLinks_, 0))));
    return split(text, width);
}

size_t TextFormatter::split(std::span<const uint8_t> text, int width) {
    text_ = text.first(std::min(text.size(), kMaxLineText));
    segments_.clear();
    items_ = {kItemColours, kItemShadow, kItemFont};
    itemLengths_.assign(3, 0);
    resetMetrics();
    selectFont(fonts_.size() - 1);
    if (text_.empty()) {
        segments_.push_back(TextSegment{});
        items_.push_back(kItemText);
        itemLengths_.push_back(0);
        return 0;
    }
    bool open = linkOpen_;
    int used = 0;
    size_t start = 0;
    size_t at = 0;
    const auto addItem = [&](uint8_t kind, size_t bytes) {
        items_.push_back(kind);
        itemLengths_.push_back(static_cast<uint16_t>(bytes));
    };
    while (at < text_.size()) {
        const uint8_t byte = text_[at];
        if (byte >= 32) {
            if (width > 0 && byte == kSpace) {
                const int estimate = static_cast<int>(at + 1 - start) * fonts_.back().averageWidth;
                if (used + estimate >= width) {
                    TextSegment probe;
                    if (used + measure(start, at + 1 - start, shadows_.back(), &probe) >= width) {
                        closeSegment(start, at + 1, used, open);
                        return at;
                    }
                }
            }
            ++at;
            continue;
        }
        if (at > start) {
            closeSegment(start, at, used, open);
        }
        if (byte == '\t' || byte == '\n') {
            addItem(byte == '\t' ? kItemTab : kItemEnd, 1);
            if (byte == '\n') return at + 1;
            metrics_.tab = true;
            start = ++at;
            continue;
        }
        const size_t length = SequenceLength(text_, at);
        if (length == 0) {
            addItem(kItemSkipped, 1);  // damaged: the byte is passed over, nothing read past the text
            start = ++at;
            continue;
        }
        winplat::ByteReader payload(text_.subspan(at + 1, length - 2));
        switch (byte) {
            case kCodeCharFormat:
                pushFont(CharFormat::Read(payload));
                raiseMetrics(fonts_.back(), shadows_.back());
                addItem(kItemFont, length);
                break;
            case kCodeColourPair: {
                ColourPair pair = ColourPair::Read(payload);
                if (pair.text == ColourPair::kNone) pair.text = format_.colours.text;
                if (pair.background == ColourPair::kNone) pair.background = format_.colours.background;
                colours_.push_back(pair);
                addItem(kItemColours, length);
                break;
            }
            case kCodeShadow: {
                Shadow shadow = Shadow::Read(payload);
                if (shadow.colour == Shadow::kNone) shadow = format_.shadow;
                else if (shadow.colour == static_cast<uint8_t>(Shadow::kKeepColour)) shadow.colour = format_.shadow.colour;
                shadows_.push_back(shadow);
                raiseMetrics(fonts_.back(), shadow);
                addItem(kItemShadow, length);
                break;
            }
            case kCodeLinkStart:
                links_.push_back(LinkEntry{text_[at + 2], text_[at + 1]});
                open = true;
                addItem(kItemLinkStart, length);
                break;
            case kCodeLinkEnd:
                open = false;
                addItem(kItemLinkEnd, length);
                break;
            default: addItem(kItemSkipped, length); break;
        }
        at += length;
        start = at;
    }
    if (at > start) {
        closeSegment(start, at, used, open);
    }
    return width > 0 ? text_.size() : items_.size();
}

}  // namespace lect32
