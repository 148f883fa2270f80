// The numbers of the Windows metafile format that the parser reads: the placeable header's key,
// the record functions, map modes and object styles as files store them.
#ifndef VEXMILL_METAFILE_FORMAT_H
#define VEXMILL_METAFILE_FORMAT_H

#include <cstdint>

namespace vexmill::format {

// The 22-byte header that places a metafile: key, handle, bounding box, units per inch, reserved,
// checksum (the XOR of the ten 16-bit words before it).
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr size_t kPlaceableSize = 22;
// The metafile header proper: type, header size in words (9), version, size, objects, largest
// record, a reserved word.
constexpr size_t kHeaderSize = 18;
constexpr uint16_t kHeaderWords = 9;
// Every record: its size in 16-bit words (the 6-byte head included) and its function.
constexpr size_t kRecordHead = 6;

// Record functions. The high byte of most is the count of parameter words the record was
// designed with, which the parser never trusts: each record's size is checked on its own.
enum Function : uint16_t {
    kEof = 0x0000,
    kRealizePalette = 0x0035,
    kSetPalEntries = 0x0037,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetRop2 = 0x0104,
    kSetRelAbs = 0x0105,
    kSetPolyFillMode = 0x0106,
    kSetStretchBltMode = 0x0107,
    kSetTextCharExtra = 0x0108,
    kSaveDc = 0x001E,
    kRestoreDc = 0x0127,
    kResizePalette = 0x0139,
    kDibCreatePatternBrush = 0x0142,
    kSetLayout = 0x0149,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetTextJustification = 0x020A,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kOffsetWindowOrg = 0x020F,
    kOffsetViewportOrg = 0x0211,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kOffsetClipRgn = 0x0220,
    kFillRegion = 0x0228,
    kSetMapperFlags = 0x0231,
    kSelectPalette = 0x0234,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kScaleWindowExt = 0x0410,
    kScaleViewportExt = 0x0412,
    kExcludeClipRect = 0x0415,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kFloodFill = 0x0419,
    kRectangle = 0x041B,
    kSetPixel = 0x041F,
    kFrameRegion = 0x0429,
    kAnimatePalette = 0x0436,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kExtFloodFill = 0x0548,
    kRoundRect = 0x061C,
    kPatBlt = 0x061D,
    kEscape = 0x0626,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kBitBlt = 0x0922,
    kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32,
    kStretchBlt = 0x0B23,
    kDibStretchBlt = 0x0B41,
    kSetDibToDev = 0x0D33,
    kStretchDib = 0x0F43,
    kInvertRegion = 0x012A,
    kPaintRegion = 0x012B,
    kSelectClipRegion = 0x012C,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDeleteObject = 0x01F0,
    kCreatePalette = 0x00F7,
    kCreatePatternBrush = 0x01F9,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kCreateRegion = 0x06FF,
};

// Map modes.
enum MapMode : int {
    kMmText = 1,
    kMmLoMetric = 2,
    kMmHiMetric = 3,
    kMmLoEnglish = 4,
    kMmHiEnglish = 5,
    kMmTwips = 6,
    kMmIsotropic = 7,
    kMmAnisotropic = 8,
};

// Brush styles of a logical brush.
enum BrushStyle : uint16_t {
    kBsSolid = 0,
    kBsNull = 1,
    kBsHatched = 2,
    kBsPattern = 3,
    kBsDibPattern = 5,
    kBsDibPatternPt = 6,
};

// Pixels at 96 DPI per logical unit of a fixed map mode (y grows upwards in all of them).
double fixedModeScale(int mapMode);

}  // namespace vexmill::format

#endif
