// The formats the library knows, one row each: its extension, id and name string, and the codec
// that recognises and reads it (none for the names that only list a format: .dib, .rle, .jpeg);
// and the rows callers receive, built from the table with the names of the library's string table.
#ifndef PIXMILL_FORMATS_FORMAT_TABLE_H
#define PIXMILL_FORMATS_FORMAT_TABLE_H

#include <array>
#include <cstdint>

#include "formats/format_codec.h"
#include "pixmill/pixmill.h"

namespace pixmill {

constexpr int kFormatCount = 15;

struct FormatTableRow {
    char extension[8];  // with the leading dot, lower case
    int32_t formatId;
    int32_t nameStringId;
    const FormatCodec* codec;  // content test, entry points and whether they need a file; may be null
};

const std::array<FormatTableRow, kFormatCount>& formatTable();

// Fills the rows from the fixed table, loading each name from the module (start-up).
void buildFormatRows(HINSTANCE module);

// The rows in the order of the fixed table.
const std::array<PxlFormatRow, kFormatCount>& formatRows();

}  // namespace pixmill

#endif
