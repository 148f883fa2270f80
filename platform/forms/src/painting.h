// Drawing helpers the library's own controls share: fills, 3-D edges and text in a font.
#ifndef WINFORMS_SRC_PAINTING_H
#define WINFORMS_SRC_PAINTING_H

#include <string_view>

#include "winforms/graphics.h"
#include "winforms/types.h"
#include "winplat/user.h"

namespace winforms {

void fillRect(HDC dc, const RECT& rect, COLORREF color);
// Text in the font (and its colour, or 'color' when given) with DrawTextA's format flags.
void drawText(HDC dc, const Font& font, std::string_view text, RECT rect, UINT format, COLORREF color = CLR_INVALID);
SIZE textExtent(HDC dc, const Font& font, std::string_view text);
// DrawTextA's horizontal flag for an alignment.
UINT alignmentFormat(Alignment alignment);

}  // namespace winforms

#endif
