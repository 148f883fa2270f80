// Reading what a font file says of its faces (family names, style, pitch, the code pages its cmap
// covers) with FreeType, for fonts a program adds itself.
#ifndef WINPLAT_SRC_TEXT_FONT_FILE_SCAN_H
#define WINPLAT_SRC_TEXT_FONT_FILE_SCAN_H

#include <string>
#include <vector>

#include "text/catalogue_face.h"

namespace winplat::text {

// Every face of the file FreeType can read; empty for a missing file or one that is no font.
// The family is the name table's (Windows names first, as GDI reads them), else FreeType's.
std::vector<CatalogueFace> scanFontFile(const std::string& hostPath);

}  // namespace winplat::text

#endif
