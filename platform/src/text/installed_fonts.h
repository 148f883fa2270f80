// The system's scalable fonts as fontconfig lists them, read once per process.
#ifndef WINPLAT_SRC_TEXT_INSTALLED_FONTS_H
#define WINPLAT_SRC_TEXT_INSTALLED_FONTS_H

#include <string>
#include <string_view>
#include <vector>

#include "text/catalogue_face.h"

namespace winplat::text {

// Every scalable outline face fontconfig knows (or, when WINPLAT_FONTS names folders, the faces in
// those folders alone), in file order; read on first use and kept, so fonts installed while the
// process runs are not seen. Empty when fontconfig cannot start.
const std::vector<CatalogueFace>& installedFaces();

// The faces of the folders, or of the system's configuration when there are none.
std::vector<CatalogueFace> readInstalledFaces(const std::vector<std::string>& folders);

// The folders a WINPLAT_FONTS setting names: none when it is unset or "test".
std::vector<std::string> fontFoldersOf(const char* setting);

// The installed faces of the family (exact name, case-insensitive).
std::vector<const CatalogueFace*> installedFamily(std::string_view family);

}  // namespace winplat::text

#endif
