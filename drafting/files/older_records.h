// Records of the older drawing format, translated into the current layout. The older layouts
// lack the 8-byte head (or carry only the level), keep the width as bit 2 of the kind byte, and
// pack each kind's payload a little tighter; the translation spreads the bytes out, fills the
// reserved bytes with 0 and maps the older line types.
#ifndef LINEWORK_FILES_OLDER_RECORDS_H
#define LINEWORK_FILES_OLDER_RECORDS_H

#include <cstdint>
#include <span>

#include "drawing/system_variable_image.h"

namespace linework {

// The translated record in 'work' (at least 4116 bytes) from the older bytes, which begin at the
// kind byte; 'level' the level read before them (0 without). The record's memory size, or 0 for a
// kind the older format does not have there (inside a block only lines, arcs, texts, dimensions,
// attribute definitions, 3-D polylines and inserts) or a size beyond the work record.
size_t TranslateOlderRecord(std::span<const uint8_t> older, float level, bool inBlock,
                            const SystemVariableImage& variables, std::span<uint8_t> work);

// The two bytes at 56 of an older attribute definition rebuilt from its one-byte value.
uint16_t RebuildOlderJustification(uint8_t value);

}  // namespace linework

#endif
