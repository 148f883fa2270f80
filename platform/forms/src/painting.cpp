#include "painting.h"

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winforms {

void fillRect(HDC dc, const RECT& rect, COLORREF color) {
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    ::FillRect(dc, &rect, brush.get());
}

void drawText(HDC dc, const Font& font, std::string_view text, RECT rect, UINT format, COLORREF color) {
    const winplat::Selection selected(dc, font.Handle());
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old = SetTextColor(dc, color == CLR_INVALID ? font.Color() : color);
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, format);
    SetTextColor(dc, old);
    SetBkMode(dc, mode);
}

SIZE textExtent(HDC dc, const Font& font, std::string_view text) {
    const winplat::Selection selected(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

UINT alignmentFormat(Alignment alignment) {
    switch (alignment) {
        case Alignment::LeftJustify: return DT_LEFT;
        case Alignment::RightJustify: return DT_RIGHT;
        case Alignment::Center: return DT_CENTER;
    }
    return DT_LEFT;
}

}  // namespace winforms
