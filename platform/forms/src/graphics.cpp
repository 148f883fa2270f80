#include "winforms/graphics.h"

#include <algorithm>
#include <cstring>

#include "winplat/base.h"
#include "winplat/debug.h"
#include "winplat/refusal.h"

namespace winforms {
namespace {

constexpr winplat::Refuser refuseGraphics("winforms: graphics");

// A made object in the shared owner a canvas can keep while it is selected.
SharedGdiObject share(HGDIOBJ object) {
    return std::make_shared<winplat::GdiObject<HGDIOBJ>>(object);
}

int penStyleCode(PenStyle style) {
    switch (style) {
        case PenStyle::Solid:
            return PS_SOLID;
        case PenStyle::Dash:
            return PS_DASH;
        case PenStyle::Dot:
            return PS_DOT;
        case PenStyle::DashDot:
            return PS_DASHDOT;
        case PenStyle::DashDotDot:
            return PS_DASHDOTDOT;
        case PenStyle::Clear:
            return PS_NULL;
        case PenStyle::InsideFrame:
            return PS_INSIDEFRAME;
    }
    return PS_SOLID;
}

int hatchCode(BrushStyle style) {
    switch (style) {
        case BrushStyle::Horizontal:
            return HS_HORIZONTAL;
        case BrushStyle::Vertical:
            return HS_VERTICAL;
        case BrushStyle::FDiagonal:
            return HS_FDIAGONAL;
        case BrushStyle::BDiagonal:
            return HS_BDIAGONAL;
        case BrushStyle::Cross:
            return HS_CROSS;
        case BrushStyle::DiagCross:
            return HS_DIAGCROSS;
        default:
            return -1;
    }
}

}  // namespace

int Rop2Of(PenMode mode) { return static_cast<int>(mode) + 1; }

PenMode PenModeOfRop2(int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return PenMode::Copy;
    return static_cast<PenMode>(rop2 - 1);
}

// Pen ------------------------------------------------------------------------------------------

Pen::Pen(const Pen& other) : color_(other.color_), width_(other.width_), style_(other.style_), mode_(other.mode_) {}

Pen& Pen::operator=(const Pen& other) {
    if (this != &other) {
        color_ = other.color_;
        width_ = other.width_;
        style_ = other.style_;
        mode_ = other.mode_;
        Changed();
    }
    return *this;
}

void Pen::SetColor(COLORREF color) {
    if (color != color_) {
        color_ = color;
        Changed();
    }
}

void Pen::SetWidth(int width) {
    width = std::max(width, 1);
    if (width != width_) {
        width_ = width;
        Changed();
    }
}

void Pen::SetStyle(PenStyle style) {
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

SharedGdiObject Pen::SharedHandle() const {
    if (!handle_) {
        HPEN pen = CreatePen(penStyleCode(style_), width_, color_);
        if (!pen) return refuseGraphics(SharedGdiObject{}, "the platform made no pen");
        handle_ = share(pen);
    }
    return handle_;
}

HPEN Pen::Handle() const {
    const SharedGdiObject shared = SharedHandle();
    return shared ? static_cast<HPEN>(shared->get()) : nullptr;
}

bool Pen::operator==(const Pen& other) const {
    return color_ == other.color_ && width_ == other.width_ && style_ == other.style_ && mode_ == other.mode_;
}

// Brush ----------------------------------------------------------------------------------------

Brush::Brush(const Brush& other) : color_(other.color_), style_(other.style_) {}

Brush& Brush::operator=(const Brush& other) {
    if (this != &other) {
        color_ = other.color_;
        style_ = other.style_;
        Changed();
    }
    return *this;
}

void Brush::SetColor(COLORREF color) {
    if (color != color_) {
        color_ = color;
        Changed();
    }
}

void Brush::SetStyle(BrushStyle style) {
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

SharedGdiObject Brush::SharedHandle() const {
    if (!handle_) {
        if (style_ == BrushStyle::Clear) {
            // The stock null brush is never deleted: the owner gives it up instead.
            handle_ = SharedGdiObject(new winplat::GdiObject<HGDIOBJ>(GetStockObject(NULL_BRUSH)),
                                      [](winplat::GdiObject<HGDIOBJ>* stock) {
                                          (void)stock->release();
                                          delete stock;
                                      });
        } else {
            const int hatch = hatchCode(style_);
            HBRUSH brush = hatch < 0 ? CreateSolidBrush(color_) : CreateHatchBrush(hatch, color_);
            if (!brush) return refuseGraphics(SharedGdiObject{}, "the platform made no brush");
            handle_ = share(brush);
        }
    }
    return handle_;
}

HBRUSH Brush::Handle() const {
    const SharedGdiObject shared = SharedHandle();
    return shared ? static_cast<HBRUSH>(shared->get()) : nullptr;
}

bool Brush::operator==(const Brush& other) const { return color_ == other.color_ && style_ == other.style_; }

// Font -----------------------------------------------------------------------------------------

Font::Font(const Font& other)
    : name_(other.name_), height_(other.height_), style_(other.style_), color_(other.color_),
      charset_(other.charset_) {}

Font& Font::operator=(const Font& other) {
    if (this != &other) {
        name_ = other.name_;
        height_ = other.height_;
        style_ = other.style_;
        color_ = other.color_;
        charset_ = other.charset_;
        Changed();
    }
    return *this;
}

void Font::SetName(const std::string& name) {
    const std::string cut = name.substr(0, LF_FACESIZE - 1);
    if (cut != name_) {
        name_ = cut;
        Changed();
    }
}

int Font::Size() const {
    // Points from the em height, rounded half away from zero as MulDiv rounds.
    return MulDiv(-height_, 72, kPixelsPerInch);
}

void Font::SetSize(int points) { SetHeight(-MulDiv(points, kPixelsPerInch, 72)); }

void Font::SetHeight(int pixels) {
    if (pixels != height_) {
        height_ = pixels;
        Changed();
    }
}

void Font::SetStyle(uint8_t style) {
    style &= FontBold | FontItalic | FontUnderline | FontStrikeOut;
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

void Font::SetCharset(uint8_t charset) {
    if (charset != charset_) {
        charset_ = charset;
        Changed();
    }
}

LOGFONTA Font::LogFont() const {
    LOGFONTA font{};
    font.lfHeight = height_;
    font.lfWeight = (style_ & FontBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style_ & FontItalic) ? 1 : 0;
    font.lfUnderline = (style_ & FontUnderline) ? 1 : 0;
    font.lfStrikeOut = (style_ & FontStrikeOut) ? 1 : 0;
    font.lfCharSet = charset_;
    std::memcpy(font.lfFaceName, name_.data(), std::min<size_t>(name_.size(), LF_FACESIZE - 1));
    return font;
}

SharedGdiObject Font::SharedHandle() const {
    if (!handle_) {
        const LOGFONTA font = LogFont();
        HFONT made = CreateFontIndirectA(&font);
        if (!made) return refuseGraphics(SharedGdiObject{}, "the platform made no font");
        handle_ = share(made);
    }
    return handle_;
}

HFONT Font::Handle() const {
    const SharedGdiObject shared = SharedHandle();
    return shared ? static_cast<HFONT>(shared->get()) : nullptr;
}

bool Font::operator==(const Font& other) const {
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_;
}

}  // namespace winforms
