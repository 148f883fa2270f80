#include "page/banner.h"

#include <algorithm>
#include <memory>

#include "page/page_style.h"
#include "pixmill/pixmill.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/style_sheet.h"
#include "text/text_formatter.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace lect32 {

namespace {

// The paragraph frame: sides (bits 1 left, 2 right, 4 top, 8 bottom), line width, colour and
// spacing between the frame and the text.
constexpr uint8_t kLeftSide = 1, kRightSide = 2, kTopSide = 4, kBottomSide = 8;

int FrameSides(const TextFormat& format) { return format.border.bytes[0] & 0x0F; }
int FrameWidth(const TextFormat& format) { return format.border.bytes[1]; }
int FrameStep(const TextFormat& format) { return format.border.bytes[1] + format.border.bytes[3]; }

void FillSolid(HDC device, const RECT& rect, COLORREF colour) {
    winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(device, &rect, brush.get());
}

// The device the banner works on: the one given, else its window's for the scope.
class BannerDevice {
public:
    BannerDevice(HDC given, HWND window) : dc_(given) {
        if (!dc_) {
            borrowedDc_ = std::make_unique<winplat::BorrowedDc>(window);
            dc_ = borrowedDc_->get();
        }
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
    // Held by pointer, not std::optional: GCC 12 at -O3 takes the optional's destructor for a read
    // of an unset DC and stops the warnings-as-errors build.
    std::unique_ptr<winplat::BorrowedDc> borrowedDc_;
};

}  // namespace

Banner::Banner(BannerServices services) : services_(services) { Reset(); }

const StyleSheet& Banner::styles() const { return services_.styles ? *services_.styles : GetStyleSheet(); }

const ColourTable& Banner::colours() const {
    static const ColourTable none;
    return services_.colours ? *services_.colours : none;
}

void Banner::Reset() {
    text_.clear();
    bannerOn_ = 0;
    height_ = 0;
    zoomNumerator_ = 0;
    zoomDenominator_ = 0;
    found_.clear();
}

void Banner::SetText(std::string_view text) { text_.assign(text.substr(0, std::min(text.size(), kMaxText))); }

void Banner::SetZoom(int16_t numerator, int16_t denominator) {
    zoomNumerator_ = numerator;
    zoomDenominator_ = denominator;
}

void Banner::SetStyle(const PageStyle& style) {
    bannerOn_ = style.group20[0];
    bannerStyle_ = style.group20[1];
    backColour_ = style.backgroundColour;
}

TextFormat Banner::format() const {
    TextFormat format;
    styles().GetStyleFormat(bannerStyle_, format);
    if (zoomNumerator_ != 0) format.ScaleByZoom(zoomNumerator_ * 100 / std::max<int16_t>(zoomDenominator_, 1), 0);
    return format;
}

Banner::Box Banner::boxOf(const TextFormat& format) const {
    Box box;
    box.left = format.indents.left;
    box.top = format.spacing.before;
    box.available = width_ - format.indents.left - format.indents.right;
    const int sides = FrameSides(format);
    const int c = FrameStep(format);
    if (sides & kLeftSide) box.available -= c, box.left += c;
    if (sides & kRightSide) box.available -= c;
    if (sides & kTopSide) box.frameHeight += c, box.top += c;
    if (sides & kBottomSide) box.frameHeight += c;
    box.leading = format.GetExtraLeading(GetTextResolution() ? GetTextResolution() : 96);
    return box;
}

int Banner::forEachLine(const TextFormat& format, const Box& box,
                        const std::function<void(LaidOutLine&, size_t, int)>& each) const {
    TextFormatter& formatter = GetTextFormatter();
    formatter.BeginParagraph(format);
    formatter.Tabs().SetStops({});
    const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(text_.data()), text_.size());
    const auto alignment = static_cast<TextFormatter::Alignment>(format.alignment & 3);
    int height = 0;
    size_t start = 0;
    while (start < text.size()) {
        LineOptions options;
        options.left = start == 0 ? format.indents.firstLine : format.indents.furtherLines;
        LaidOutLine line = LayOutLine(formatter, text.subspan(start), std::max(box.available, 0), alignment, options);
        if (line.Bytes() == 0) break;  // nothing fits: the rest is not shown
        each(line, start, box.top + height);
        height += line.Height() + box.leading;
        start += line.Bytes();
    }
    formatter.EndParagraph();
    return height;
}

int16_t Banner::Measure(HDC device) {
    if (!Shown()) {
        height_ = 0;
        return 0;
    }
    BannerDevice dc(device, window_);
    if (!dc.get()) return height_ = 0;
    winplat::Selection systemFont(dc.get(), GetStockObject(SYSTEM_FONT));
    TextFormatter& formatter = GetTextFormatter();
    formatter.SetDC(dc.get());
    formatter.SetColourTable(&colours());
    const TextFormat f = format();
    const Box box = boxOf(f);
    const int lines = forEachLine(f, box, [](LaidOutLine&, size_t, int) {});
    formatter.ReleaseFonts();
    height_ = static_cast<int16_t>(lines + box.frameHeight + f.spacing.before + f.spacing.after);
    return height_;
}

void Banner::paintFrame(HDC device, const TextFormat& format, int x, int y) const {
    const int sides = FrameSides(format);
    if (sides == 0) return;
    const int w = FrameWidth(format);
    const COLORREF colour = colours().GetColour(format.border.bytes[2]);
    if (sides & kLeftSide) FillSolid(device, RECT{x, y, x + w, y + height_}, colour);
    if (sides & kRightSide) FillSolid(device, RECT{x + width_ - w, y, x + width_, y + height_}, colour);
    if (sides & kTopSide) FillSolid(device, RECT{x, y, x + width_, y + w}, colour);
    if (sides & kBottomSide) FillSolid(device, RECT{x, y + height_ - w, x + width_, y + height_}, colour);
}

void Banner::invertFound(LaidOutLine& line, size_t start, int x, int top, int leading) const {
    const size_t n = line.Bytes();
    for (const FoundRange& range : found_) {
        if (range.end <= start || range.start >= start + n) continue;
        const size_t first = range.start > start ? range.start - start : 0;
        const size_t end = std::min(n, size_t{range.end} - start);
        line.InvertRange(static_cast<int16_t>(x), static_cast<int16_t>(top), static_cast<int16_t>(leading),
                         static_cast<uint16_t>(first), static_cast<uint16_t>(end));
    }
}

void Banner::Paint(HDC device, int x, int y) {
    PAINTSTRUCT ps{};
    RECT area{0, 0, width_, height_};
    const bool begun = device == nullptr;
    if (begun) {
        device = BeginPaint(window_, &ps);
        area = ps.rcPaint;
    }
    if (!device) return;
    if (GetDeviceCaps(device, BITSPIXEL) == 8) PXLSet256PaletteToDC(device, 0);
    if (!Shown()) {
        height_ = 0;
    } else {
        const TextFormat f = format();
        const uint8_t back = f.colours.background == ColourPair::kNone ? backColour_ : f.colours.background;
        winplat::Selection systemFont(device, GetStockObject(SYSTEM_FONT));
        FillSolid(device, RECT{x, y + area.top, x + width_, y + area.bottom}, colours().GetColour(back));
        const int modeBefore = SetBkMode(device, TRANSPARENT);
        paintFrame(device, f, x, y);
        TextFormatter& formatter = GetTextFormatter();
        formatter.SetDC(device);
        formatter.SetColourTable(&colours());
        const Box box = boxOf(f);
        forEachLine(f, box, [&](LaidOutLine& line, size_t start, int top) {
            const int left = x + box.left;
            line.PaintLine(static_cast<int16_t>(left), static_cast<int16_t>(y + top), static_cast<int16_t>(box.leading),
                           static_cast<int16_t>(box.available));
            invertFound(line, start, left, y + top, box.leading);
        });
        formatter.ReleaseFonts();
        SetBkMode(device, modeBefore);
    }
    if (begun) EndPaint(window_, &ps);
}

void Banner::MarkFoundWords(size_t words, const BannerWordFinder& find) {
    found_.clear();
    const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(text_.data()), text_.size());
    for (size_t word = 0; word < words; ++word) {
        size_t from = 0;
        while (from <= text.size()) {
            const std::optional<FoundRange> hit = find(word, text, from);
            if (!hit || hit->end <= hit->start || hit->start < from || hit->end > text.size()) break;
            found_.push_back(*hit);
            from = size_t{hit->end} + 1;
        }
    }
}

}  // namespace lect32
