// The fonts a program adds with AddFontResourceA, which the catalogue consults before any other.
#ifndef WINPLAT_SRC_TEXT_PRIVATE_FONTS_H
#define WINPLAT_SRC_TEXT_PRIVATE_FONTS_H

#include <string_view>
#include <vector>

#include "text/catalogue_face.h"

namespace winplat::text {

// Copies of the added faces of the family (case-insensitive), hidden ones too, earliest added first.
std::vector<CatalogueFace> privateFamily(std::string_view family);

// Copies of every added face, hidden ones too, earliest first.
std::vector<CatalogueFace> allPrivateFaces();

// Copies of every added face EnumFontFamiliesExA may list (not the hidden ones), earliest first.
std::vector<CatalogueFace> listedPrivateFaces();

}  // namespace winplat::text

#endif
