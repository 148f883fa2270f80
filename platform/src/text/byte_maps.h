// The characters the bytes of a string stand for under each code page a font can be asked for.
#ifndef WINPLAT_SRC_TEXT_BYTE_MAPS_H
#define WINPLAT_SRC_TEXT_BYTE_MAPS_H

#include <cstdint>

#include "text/face_source.h"

namespace winplat::text {

// The Unicode character of a byte under Cp1250, Cp1251, Cp1252 or the Wingdings table; 0 for a
// byte the code page leaves undefined, one the table does not know, and for ByteMap::Symbol,
// whose bytes the face's own symbol encoding resolves.
char32_t characterOf(ByteMap map, uint8_t byte);

}  // namespace winplat::text

#endif
