// Pens, brushes and fonts as values: a drawing routine sets colour, width, style and so on, and
// the GDI object that carries them is made the first time a canvas draws with it. Each value owns
// its object and makes a new one after a change; a canvas keeps the object it selected alive until
// it selects the next one, so a pen may change while a DC still holds its old object.
//
// Colours are the platform's COLORREF (red in the low byte). Texts and face names are
// Windows-1250.
#ifndef WINFORMS_GRAPHICS_H
#define WINFORMS_GRAPHICS_H

#include <cstdint>
#include <memory>
#include <string>

#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/text.h"

#ifndef WINFORMS_API
#define WINFORMS_API __attribute__((visibility("default")))
#endif

namespace winforms {

// A made GDI object, shared between the value that made it and the canvas that selected it.
using SharedGdiObject = std::shared_ptr<winplat::GdiObject<HGDIOBJ>>;

enum class PenStyle : uint8_t {
    Solid,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    Clear,        // draws nothing; shapes are filled only
    InsideFrame,  // a wide outline kept wholly inside the shape's box
};

// How the pen's colour combines with the pixels under it: the sixteen binary raster operations,
// in the order of their R2_ codes (the code is the enumerator's value plus one).
enum class PenMode : uint8_t {
    Black,        // 0
    NotMerge,     // ~(dest | pen)
    MaskNotPen,   // dest & ~pen
    NotCopy,      // ~pen
    MaskPenNot,   // pen & ~dest
    Not,          // ~dest
    Xor,          // dest ^ pen
    NotMask,      // ~(dest & pen)
    Mask,         // dest & pen
    NotXor,       // ~(dest ^ pen): drawing twice gives every pixel back
    Nop,          // dest
    MergeNotPen,  // dest | ~pen
    Copy,         // pen
    MergePenNot,  // pen | ~dest
    Merge,        // dest | pen
    White,        // all ones
};

// The R2_ code of a mode, and back (Copy for a code out of range).
WINFORMS_API int Rop2Of(PenMode mode);
WINFORMS_API PenMode PenModeOfRop2(int rop2);

class WINFORMS_API Pen {
public:
    Pen() = default;
    // Copies the settings; the copy makes its own object when it first draws.
    Pen(const Pen& other);
    Pen& operator=(const Pen& other);
    Pen(Pen&&) noexcept = default;
    Pen& operator=(Pen&&) noexcept = default;

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    // In pixels; 0 and 1 are the one-pixel pen whose styles are dashed.
    int Width() const { return width_; }
    // Values below 1 become 1.
    void SetWidth(int width);
    PenStyle Style() const { return style_; }
    void SetStyle(PenStyle style);
    // The mode is not part of the GDI object: a canvas sets it on its DC before every drawing.
    PenMode Mode() const { return mode_; }
    void SetMode(PenMode mode) { mode_ = mode; }

    // The pen object for the colour, width and style, made now when there is none; null when the
    // platform refused to make it (the refusal is in the debug output).
    HPEN Handle() const;
    // The same object shared, for a canvas that must keep it alive while it is selected.
    SharedGdiObject SharedHandle() const;

    bool operator==(const Pen& other) const;

private:
    void Changed() { handle_.reset(); }

    COLORREF color_ = RGB(0, 0, 0);
    int width_ = 1;
    PenStyle style_ = PenStyle::Solid;
    PenMode mode_ = PenMode::Copy;
    mutable SharedGdiObject handle_;
};

enum class BrushStyle : uint8_t {
    Solid,
    Clear,  // fills nothing; text is drawn with a transparent background
    Horizontal,
    Vertical,
    FDiagonal,  // down from left to right
    BDiagonal,  // up from left to right
    Cross,
    DiagCross,
};

class WINFORMS_API Brush {
public:
    Brush() = default;
    Brush(const Brush& other);
    Brush& operator=(const Brush& other);
    Brush(Brush&&) noexcept = default;
    Brush& operator=(Brush&&) noexcept = default;

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    BrushStyle Style() const { return style_; }
    void SetStyle(BrushStyle style);

    // The brush object, made now when there is none: the stock null brush for Clear.
    HBRUSH Handle() const;
    SharedGdiObject SharedHandle() const;

    bool operator==(const Brush& other) const;

private:
    void Changed() { handle_.reset(); }

    COLORREF color_ = RGB(255, 255, 255);
    BrushStyle style_ = BrushStyle::Solid;
    mutable SharedGdiObject handle_;
};

// Font style flags, combined with |.
enum FontStyle : uint8_t {
    FontBold = 1,
    FontItalic = 2,
    FontUnderline = 4,
    FontStrikeOut = 8,
};

class WINFORMS_API Font {
public:
    // The points-to-pixels scale of the screen the forms show on.
    static constexpr int kPixelsPerInch = 96;

    Font() = default;
    Font(const Font& other);
    Font& operator=(const Font& other);
    Font(Font&&) noexcept = default;
    Font& operator=(Font&&) noexcept = default;

    // The face name, Windows-1250, at most 31 bytes (longer names are cut).
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Size in points; the height in pixels follows: Height() = -Round(Size * 96 / 72), the
    // negative height naming the em size as GDI reads it.
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    // A positive height is the character cell, a negative one the em.
    void SetHeight(int pixels);
    uint8_t Style() const { return style_; }
    void SetStyle(uint8_t style);
    // The text colour; not part of the GDI object.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color) { color_ = color; }
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);

    // The font object, made now when there is none; null when the platform refused it.
    HFONT Handle() const;
    SharedGdiObject SharedHandle() const;
    // The LOGFONTA the object is made from.
    LOGFONTA LogFont() const;

    bool operator==(const Font& other) const;

private:
    void Changed() { handle_.reset(); }

    std::string name_ = "MS Sans Serif";
    int height_ = -11;  // 8 points
    uint8_t style_ = 0;
    COLORREF color_ = RGB(0, 0, 0);
    uint8_t charset_ = DEFAULT_CHARSET;
    mutable SharedGdiObject handle_;
};

}  // namespace winforms

#endif
