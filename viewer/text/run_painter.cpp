// Painting of the line the formatter laid out: line and segment backgrounds, text in its font and
// colour, shadows, link colours and link underlines, and the repair of italic ends that the next
// segment's background covered.
#include <cstdlib>

#include "store/printing_state.h"
#include "text/colour_table.h"
#include "text/link_colours.h"
#include "text/text_formatter.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace lect32 {
namespace {

constexpr int kPrintWhiteLimit = 600;

const ColourTable& TableOr(const ColourTable* table) {
    static const ColourTable empty;
    return table ? *table : empty;
}

// The remembered last character of an italic segment, written again after the next segment.
struct OverhangChar {
    bool held = false;
    uint8_t byte = 0;
    size_t font = 0;
    COLORREF colour = 0;
    int x = 0, y = 0;
};

// Dashes and gaps of twice the thickness from x while x < end x.
template <class Draw>
void ForEachDash(int x, int endX, int thickness, Draw draw) {
    const int dash = 2 * thickness;
    for (; x < endX; x += 2 * dash) draw(x, x + dash);
}

}  // namespace

COLORREF SetPrintableTextColor(HDC device, COLORREF colour) {
    // Printing says so twice: the flag is set for the whole job, the job's device while pages are
    // laid out and drawn on it; either means paper.
    if (PrintingFlag || GetPrintJobDevice()) {
        const int sum = GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
        if (sum > kPrintWhiteLimit) colour = RGB(0, 0, 0);
    }
    return SetTextColor(device, colour);
}

void DrawDashedLine(HDC device, int endX, int y, int thickness) {
    if (thickness == 0) return;
    POINT at{};
    MoveToEx(device, 0, 0, &at);
    MoveToEx(device, at.x, at.y, nullptr);
    ForEachDash(at.x, endX, thickness, [&](int from, int to) {
        LineTo(device, to, y);
        MoveToEx(device, to + (to - from), y, nullptr);
    });
}

namespace {

// Puts one mark picture on the device: its mask ANDed first, then the picture ORed, each a
// monochrome bitmap painted black on white.
bool PutMark(HDC device, int x, int y, int rows, const char* picture, const char* mask) {
    const HINSTANCE module = GetModuleHandleA("lect32.exe");
    const winplat::OwnedBitmap image(LoadBitmapA(module, picture));
    const winplat::OwnedBitmap andMask(LoadBitmapA(module, mask));
    const winplat::MemoryDc source(CreateCompatibleDC(device));
    if (!image || !andMask || !source) return false;
    const COLORREF background = SetBkColor(device, RGB(255, 255, 255));
    const COLORREF text = SetTextColor(device, RGB(0, 0, 0));
    {
        const winplat::Selection selected(source.get(), andMask.get());
        BitBlt(device, x, y, kMarkWidth, rows, source.get(), 0, 0, SRCAND);
    }
    {
        const winplat::Selection selected(source.get(), image.get());
        BitBlt(device, x, y, kMarkWidth, rows, source.get(), 0, 0, SRCPAINT);
    }
    SetTextColor(device, text);
    SetBkColor(device, background);
    return true;
}

}  // namespace

bool DrawTabMark(int kind, HDC device, int x, int y) {
    if (kind == 0) return PutMark(device, x, y, kTabMarkRows, "TABCODE", "TABCODET");
    return PutMark(device, x, y, kHardSpaceMarkRows, "HSPACE", "HSPACET");
}

struct LaidOutLine::PaintState {
    int x = 0;
    int top = 0;
    int baseline = 0;
    bool backgrounds = false;
    COLORREF textColour = 0;
    uint8_t background = ColourPair::kNone;
    winplat::GdiObject<HBRUSH> segmentBrush;
    size_t font = 0;
    int colour = 0;
    Shadow shadow;
    COLORREF shadowColour = 0;
    uint8_t link = 0;
    OverhangChar overhang;
};

COLORREF LaidOutLine::colourOf(uint8_t index) const { return TableOr(colourTable_).GetColour(index); }

COLORREF LaidOutLine::pairTextColour(int pair) const {
    const LinkColours& links = GetLinkColours();
    if (lineLinkState_ != 0 && links.Colours()) return links.colour[0];
    return colourOf(colours_[static_cast<size_t>(pair)].text);
}

void LaidOutLine::PaintLine(int16_t x, int16_t top, int16_t leading, int16_t lineWidth) {
    const DeviceScope scope(*this);
    PaintState paint;
    paint.x = x;
    paint.backgrounds = !(pagePainter_ && pagePainter_->BackgroundShown()) && !GetPrintJobDevice();
    const int mode = GetBkMode(dc_);
    SetBkMode(dc_, TRANSPARENT);
    const uint8_t startState = lineLinkState_;
    paint.link = lineLinkState_;
    paint.textColour = pairTextColour(0);
    SetPrintableTextColor(dc_, paint.textColour);

    const COLORREF lineColour = colourOf(format_.colours.background);
    SetBkColor(dc_, lineColour);
    winplat::GdiObject<HBRUSH> lineBrush(CreateSolidBrush(lineColour));
    const winplat::Selection brushIn(dc_, lineBrush.get());
    if (mode != TRANSPARENT && format_.colours.background != ColourPair::kNone) {
        RECT line{x, top, x + lineWidth, top + leading + metrics_.ascent + metrics_.descent};
        if (pagePainter_) pagePainter_->FillIfShown(dc_, line, lineBrush.get());
        else FillRect(dc_, &line, lineBrush.get());
    }
    if (mode == TRANSPARENT) paint.backgrounds = false;
    paint.top = top + leading;
    paint.baseline = paint.top + metrics_.ascent;
    paint.background = colours_.front().background;
    if (paint.backgrounds && paint.background != ColourPair::kNone)
        paint.segmentBrush.reset(CreateSolidBrush(colourOf(paint.background)));

    int font = -1, shadow = -1, link = carriedLinks_ - 1;
    size_t segment = 0;
    for (size_t item = 1; item < items_.size(); ++item) {
        switch (items_[item]) {
            case kItemText:
                if (segment < segments_.size()) paintSegment(segment, segment + 1 == segments_.size(), paint);
                ++segment;
                break;
            case kItemFont:
                paint.font = static_cast<size_t>(++font);
                selectFont(paint.font);
                break;
            case kItemColours: switchColours(++paint.colour, paint); break;
            case kItemShadow:
                paint.shadow = shadows_[static_cast<size_t>(++shadow)];
                if (paint.shadow.colour != Shadow::kNone) paint.shadowColour = colourOf(paint.shadow.colour);
                break;
            case kItemLinkStart:
                ++link;
                lineLinkState_ = links_[static_cast<size_t>(link)].kind == 3 ? 2 : 1;
                paint.link = lineLinkState_;
                if (GetLinkColours().Colours()) {
                    paint.textColour = GetLinkColours().colour[0];
                    SetPrintableTextColor(dc_, paint.textColour);
                }
                break;
            case kItemLinkEnd:
                lineLinkState_ = paint.link = 0;
                paint.textColour = colourOf(colours_[static_cast<size_t>(paint.colour)].text);
                SetPrintableTextColor(dc_, paint.textColour);
                break;
            default: break;
        }
    }
    lineLinkState_ = startState;
}

void LaidOutLine::switchColours(int pair, PaintState& paint) {
    const ColourPair& colours = colours_[static_cast<size_t>(pair)];
    paint.textColour = paint.link != 0 && GetLinkColours().Colours() ? GetLinkColours().colour[0]
                                                                            : colourOf(colours.text);
    SetPrintableTextColor(dc_, paint.textColour);
    paint.background = colours.background;
    if (paint.backgrounds && colours.background != ColourPair::kNone)
        paint.segmentBrush.reset(CreateSolidBrush(colourOf(colours.background)));
}

// The link underline as a band of the font's underline rows, so that thick underlines keep their
// rows and their dash pattern exactly.
void LaidOutLine::underline(int fromX, int toX, int y, int thickness, uint8_t state, COLORREF colour) {
    winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const auto band = [&](int from, int to) {
        RECT rows{from, y, to, y + thickness};
        FillRect(dc_, &rows, brush.get());
    };
    if (state == 2) ForEachDash(fromX, toX, thickness, band);
    else band(fromX, toX);
}

void LaidOutLine::paintSegment(size_t index, bool lastOfLine, PaintState& paint) {
    const TextSegment& s = segments_[index];
    const StackedFont& font = fonts_[paint.font];
    const bool underlined = paint.link != 0 && GetLinkColours().linksUnderlined;
    int thickness = 0, offset = 0;
    if (underlined) {
        const StackedFont& geometry = UnderlineOf(paint.font);
        thickness = geometry.underlineThickness;
        offset = geometry.underlineOffset;
    }
    const int width = s.width + s.extra;
    int top = paint.baseline + font.shift - font.ascent;
    const int bottom = paint.baseline + font.shift + font.descent;
    int u = paint.baseline - font.shift + offset;
    SetTextJustification(dc_, s.extra, s.extra != 0 ? s.spaces : 0);
    const int segmentX = paint.x + s.x;
    if (paint.backgrounds && paint.background != ColourPair::kNone && paint.segmentBrush) {
        RECT box{segmentX, top, segmentX + width, bottom};
        FillRect(dc_, &box, paint.segmentBrush.get());
    }
    const char* bytes = reinterpret_cast<const char*>(text_.data() + s.start);
    const bool shadowed = paint.shadow.colour != Shadow::kNone;
    int textX = segmentX;
    if (shadowed) {
        // The shadow keeps to the room the offsets took: text right of a shadow thrown left, and
        // below one thrown up.
        const int dx = paint.shadow.dx, dy = paint.shadow.dy;
        if (dx < 0) textX -= dx;
        const int shadowTop = dy < 0 ? top : top + dy;
        if (dy < 0) {
            top -= dy;
            u -= dy;
        }
        SetPrintableTextColor(dc_, paint.shadowColour);
        TextOutA(dc_, textX + dx, shadowTop, bytes, s.length);
        if (underlined)
            underline(textX + dx, textX + dx + width, u + (shadowTop - top), thickness, paint.link, paint.shadowColour);
        SetPrintableTextColor(dc_, paint.textColour);
    }
    TextOutA(dc_, textX, top, bytes, s.length);
    if (underlined) underline(textX, textX + width, u, thickness, paint.link, paint.textColour);
    if (s.extra != 0) SetTextJustification(dc_, 0, 0);

    if (paint.overhang.held) {
        const OverhangChar& held = paint.overhang;
        selectFont(held.font);
        SetPrintableTextColor(dc_, held.colour);
        TextOutA(dc_, paint.x + held.x, held.y, reinterpret_cast<const char*>(&held.byte), 1);
        selectFont(paint.font);
        SetPrintableTextColor(dc_, paint.textColour);
        paint.overhang.held = false;
    }
    if (s.overhang > 0 && s.length > 0 && !lastOfLine) {
        int heldX = s.x + width - s.lastFullWidth;
        if (shadowed && paint.shadow.dx > 0) heldX -= paint.shadow.dx;
        paint.overhang = OverhangChar{true, text_[s.start + s.length - 1], paint.font, paint.textColour, heldX, top};
    }
}

void LaidOutLine::InvertRange(int16_t x, int16_t top, int16_t leading, uint16_t first, uint16_t end) {
    const DeviceScope scope(*this);
    if (first >= end) return;
    const int left = x + GetCharX(first).x;
    const int right = x + GetCharX(end).x;
    PatBlt(dc_, left, top, right - left, leading + metrics_.ascent + metrics_.descent, DSTINVERT);
}

LinkColours& GetLinkColours() {
    static LinkColours colours;
    return colours;
}

void LinkColours::Init() {
    colour[0] = kNone;
    linksTakeColour = true;
    linksUnderlined = true;
    mode = 0;
}

void LinkColours::SetColour(int which, uint8_t first, uint8_t second, uint8_t third) {
    if (which == -1 || which == 255) {
        colour[0] = kNone;
        mode = 0;
        return;
    }
    if (which == 0 || which == 1) colour[which] = first | second << 8 | third << 16;
}

}  // namespace lect32
