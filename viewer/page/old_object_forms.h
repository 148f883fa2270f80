// The older forms of a page record's objects brought to the current one. Object lists of version 4
// and older carry, beside each object's 29 bytes, an 8-byte block of old parameters and an 8-byte
// old link block in place of attribute slots 2 and 1; version 5 stores a button's slot 2 in an
// older 14-byte form.
#ifndef LECT32_PAGE_OLD_OBJECT_FORMS_H
#define LECT32_PAGE_OLD_OBJECT_FORMS_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "page/page_object.h"

namespace lect32 {

inline constexpr size_t kOldBlockSize = 8;

// Old parameters of a picture: byte mode, u16 zoom, byte free proportions, s16 enlarge picture
// (-1 none, -2 the object's own picture, else a picture index; not stored before version 3),
// byte, byte active. Of a video or sound: byte show controls, byte play at once, byte repeat.
// Appends slot 2 in its current form and takes a picture's active flag into the record.
void ConvertOldParameters(PageObject& record, std::span<const uint8_t, kOldBlockSize> parameters, uint8_t version,
                          std::vector<uint8_t>& attributes);
// Old link block: byte present, then up to seven bytes of a stored link target. A present link
// whose target decodes within them is appended as slot 1; a page link keeps its stored document
// byte.
void ConvertOldLink(std::span<const uint8_t, kOldBlockSize> link, std::vector<uint8_t>& attributes);
// A button's 14-byte slot 2 of version 5 becomes the 18-byte button record in place.
void ConvertOldButtonSlot(std::vector<uint8_t>& attributes);

}  // namespace lect32

#endif
