// Run-length encoded DIB bits (BI_RLE8, BI_RLE4), expanded into plain rows for the calls that
// take DIB bits in (SetDIBits, CreateDIBitmap, as the BMP readers use them).
#ifndef WINPLAT_SRC_GDI_DIB_RLE_H
#define WINPLAT_SRC_GDI_DIB_RLE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "gdi/dib_format.h"
#include "winplat/gdi.h"

namespace winplat::gdi {

// The layout of the plain bits a run-length encoded DIB expands to (BI_RGB, bottom-up, 8 or 4
// bits); none when the header is damaged, top-down (which run-length encoding cannot be) or not
// run-length encoded.
std::optional<DibLayout> rleLayout(const BITMAPINFO* info);

// Expands 'size' bytes of encoded bits into the layout's rows (index 0 where the codes skip or
// stop early). Runs past a row's end are cut, and a delta or a line past the last row ends the
// bits; nothing is read beyond 'size' bytes.
std::vector<uint8_t> expandRle(const DibLayout& plain, bool fourBits, const uint8_t* bits, size_t size);

}  // namespace winplat::gdi

#endif
