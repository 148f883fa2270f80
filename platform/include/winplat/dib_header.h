// The 40-byte header of a device-independent bitmap, read field by field from stored bytes: the
// one reading every format that carries such a header shares (packed bitmaps, icons, cursors).
#ifndef WINPLAT_DIB_HEADER_H
#define WINPLAT_DIB_HEADER_H

#include "winplat/byte_reader.h"
#include "winplat/gdi.h"

namespace winplat {

// The header's fields as stored; the reader's failure mark tells whether all 40 bytes were there.
inline BITMAPINFOHEADER readBitmapInfoHeader(ByteReader& in) {
    BITMAPINFOHEADER h{};
    h.biSize = in.u32();
    h.biWidth = in.i32();
    h.biHeight = in.i32();
    h.biPlanes = in.u16();
    h.biBitCount = in.u16();
    h.biCompression = in.u32();
    h.biSizeImage = in.u32();
    h.biXPelsPerMeter = in.i32();
    h.biYPelsPerMeter = in.i32();
    h.biClrUsed = in.u32();
    h.biClrImportant = in.u32();
    return h;
}

}  // namespace winplat

#endif
