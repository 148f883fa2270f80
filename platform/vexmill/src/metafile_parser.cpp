#include "metafile_parser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "mapping.h"
#include "metafile_format.h"
#include "winplat/byte_reader.h"
#include "winplat/dib_header.h"
#include "winplat/draw.h"
#include "winplat/refusal.h"
#include "winplat/region.h"

namespace vexmill {
namespace {

using winplat::ByteReader;
using namespace format;

constexpr winplat::Refuser refuse("vexmill: metafile");

// How a record came out: kept, skipped (the picture goes on) or damaged (the picture ends).
enum class Outcome { Kept, Skipped, Damaged };

std::string hex(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

// Bitmaps wider or taller than this are no picture's part: refused before their rows are sized.
constexpr int32_t kMaxBitmapSide = 32767;

// The ternary raster operations that read no source: the operation's value is the same whether
// the source bit is set or not.
bool usesSource(uint32_t rop) {
    const uint8_t index = static_cast<uint8_t>(rop >> 16);
    return ((index >> 2) & 0x33) != (index & 0x33);
}

class Parser {
  public:
    Parser(std::span<const uint8_t> file, const LoadProgress& progress, Picture& picture)
        : file_(file), progress_(progress), picture_(picture) {}

    bool run();

  private:
    bool readPlaceable(ByteReader& in);
    bool readHeader(ByteReader& in);
    Outcome record(uint16_t function, std::span<const uint8_t> params);
    Outcome drawing(uint16_t function, ByteReader& p);
    Outcome state(uint16_t function, ByteReader& p);
    Outcome objects(uint16_t function, ByteReader& p);
    Outcome points(Op op, ByteReader& p);
    Outcome polyPolygon(ByteReader& p);
    Outcome text(ByteReader& p);
    Outcome extText(ByteReader& p);
    Outcome bitmapBlit(uint16_t function, ByteReader& p);
    Outcome pen(ByteReader& p);
    Outcome brush(ByteReader& p);
    Outcome dibBrush(ByteReader& p);
    Outcome font(ByteReader& p);
    bool readBitmap(ByteReader& p, uint32_t& index);
    Outcome takeSlot(Record record);
    Outcome skip(uint16_t function, const std::string& why);
    Outcome damaged(const std::string& why);
    void keep(const Record& record);
    void include(double x, double y);
    void finishFrame();

    std::span<const uint8_t> file_;
    const LoadProgress& progress_;
    Picture& picture_;
    bool placeable_ = false;
    int16_t box_[4] = {};  // the placeable bounding box: left, top, right, bottom
    uint16_t unitsPerInch_ = 0;
    uint16_t objectCount_ = 0;
    std::vector<bool> slots_;  // which object slots hold an object
    int saves_ = 0;            // the picture's own SaveDC levels still open
    Mapping mapping_;          // as the records so far leave it
    Mapping framing_;          // as it stood at the first drawing record
    bool drawn_ = false;
    double bounds_[4] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    std::set<uint16_t> told_;  // the kinds already said to be skipped
    size_t recordStart_ = 0;
    size_t recordNumber_ = 0;
};

Outcome Parser::skip(uint16_t function, const std::string& why) {
    if (told_.insert(function).second) refuse.log("record " + hex(function) + " skipped: " + why);
    return Outcome::Skipped;
}

Outcome Parser::damaged(const std::string& why) {
    refuse.log("record " + std::to_string(recordNumber_) + " at byte " + std::to_string(recordStart_) +
               " is damaged (" + why + "): the picture ends before it");
    return Outcome::Damaged;
}

void Parser::include(double x, double y) {
    bounds_[0] = std::min(bounds_[0], x);
    bounds_[1] = std::min(bounds_[1], y);
    bounds_[2] = std::max(bounds_[2], x);
    bounds_[3] = std::max(bounds_[3], y);
}

void Parser::keep(const Record& record) {
    const bool draws = record.op >= Op::MoveTo;
    if (draws && !drawn_) {
        drawn_ = true;
        framing_ = mapping_;
    }
    mapping_.apply(record);
    picture_.records.push_back(record);
}

bool Parser::readPlaceable(ByteReader& in) {
    uint16_t words[10];
    ByteReader look(file_.data(), std::min<size_t>(file_.size(), kPlaceableSize));
    for (uint16_t& word : words) word = look.u16();
    const uint16_t stored = look.u16();
    if (!look.ok()) return refuse(false, "a placeable header cut short");
    in.skip(6);  // key, handle
    for (int16_t& side : box_) side = in.i16();
    unitsPerInch_ = in.u16();
    in.skip(4);  // reserved
    in.skip(2);  // checksum, checked above
    uint16_t sum = 0;
    for (uint16_t word : words) sum ^= word;
    if (sum != stored) refuse.log("the placeable header's checksum differs; read on");
    if (unitsPerInch_ == 0) return refuse(false, "a placeable header of 0 units per inch");
    if (box_[0] == box_[2] || box_[1] == box_[3]) return refuse(false, "a placeable header with an empty box");
    placeable_ = true;
    return true;
}

bool Parser::readHeader(ByteReader& in) {
    const uint16_t type = in.u16();
    const uint16_t words = in.u16();
    in.skip(2 + 4);  // version, size in words (the records' own sizes are what counts)
    objectCount_ = in.u16();
    in.skip(4 + 2);  // largest record, reserved
    if (!in.ok()) return refuse(false, "a metafile header cut short");
    if ((type != 1 && type != 2) || words != kHeaderWords) return refuse(false, "no metafile header");
    return true;
}

bool Parser::run() {
    if (progress_ && !progress_(0)) return refuse(false, "the load was abandoned");
    ByteReader in(file_);
    if (file_.size() >= 4 && ByteReader(file_).u32() == kPlaceableKey && !readPlaceable(in)) return false;
    if (!readHeader(in)) return false;
    int told = 0;  // the tenth last told
    for (;;) {
        const int percent = static_cast<int>(in.position() * 100 / std::max<size_t>(file_.size(), 1));
        if (percent / 10 != told / 10) {
            told = percent;
            if (progress_ && !progress_(percent)) return refuse(false, "the load was abandoned");
        }
        recordStart_ = in.position();
        ++recordNumber_;
        if (in.remaining() == 0) {
            refuse.log("no end record: the picture ends with the file");
            break;
        }
        const uint32_t words = in.u32();
        const uint16_t function = in.u16();
        if (!in.ok()) {
            damaged("a record head cut short");
            break;
        }
        if (words < 3) {
            damaged("a size of " + std::to_string(words) + " words");
            break;
        }
        if (uint64_t{words} * 2 - kRecordHead > in.remaining()) {
            damaged("a size of " + std::to_string(words) + " words past the end of the file");
            break;
        }
        if (function == kEof) break;
        const std::span<const uint8_t> params = in.view(size_t{words} * 2 - kRecordHead);
        if (record(function, params) == Outcome::Damaged) break;
    }
    finishFrame();
    if (progress_ && !progress_(100)) return refuse(false, "the load was abandoned");
    return true;
}

// The mapped space the destination shows: the window the picture sets, else the placeable box,
// else (a plain metafile without a window) the box of what it draws.
void Parser::finishFrame() {
    const Mapping& m = drawn_ ? framing_ : mapping_;
    double inchScale = 1.0;
    if (m.windowExtSet) {
        picture_.frame = frameOf(m, m.windowOrgX, m.windowOrgY, m.windowOrgX + m.windowExtX,
                                 m.windowOrgY + m.windowExtY);
    } else if (placeable_) {
        picture_.frame = frameOf(m, box_[0], box_[1], box_[2], box_[3]);
    } else if (bounds_[0] <= bounds_[2]) {
        picture_.frame = frameOf(m, bounds_[0], bounds_[1], bounds_[2], bounds_[3]);
    }
    double width = picture_.frame.width, height = picture_.frame.height;
    if (placeable_) {
        inchScale = 96.0 / unitsPerInch_;
        width = std::abs(box_[2] - box_[0]) * inchScale;
        height = std::abs(box_[3] - box_[1]) * inchScale;
    }
    picture_.width = static_cast<int16_t>(std::clamp<double>(std::lround(width), 1, 32767));
    picture_.height = static_cast<int16_t>(std::clamp<double>(std::lround(height), 1, 32767));
}

Outcome Parser::record(uint16_t function, std::span<const uint8_t> params) {
    ByteReader p(params);
    switch (function) {
        case kEscape:
            return Outcome::Skipped;  // printer escapes and comments draw nothing
        case kCreatePenIndirect:
        case kCreateBrushIndirect:
        case kDibCreatePatternBrush:
        case kCreateFontIndirect:
        case kCreatePalette:
        case kCreatePatternBrush:
        case kCreateRegion:
        case kSelectObject:
        case kDeleteObject:
            return objects(function, p);
        case kMoveTo:
        case kLineTo:
        case kSetPixel:
        case kPolyline:
        case kPolygon:
        case kPolyPolygon:
        case kRectangle:
        case kEllipse:
        case kRoundRect:
        case kArc:
        case kPie:
        case kChord:
        case kPatBlt:
        case kTextOut:
        case kExtTextOut:
        case kStretchDib:
        case kDibStretchBlt:
        case kDibBitBlt:
            return drawing(function, p);
        default:
            return state(function, p);
    }
}

Outcome Parser::state(uint16_t function, ByteReader& p) {
    Record r{};
    auto pair = [&](Op op) {
        r.op = op;
        r.a[1] = p.i16();  // y comes first
        r.a[0] = p.i16();
    };
    auto value = [&](Op op) {
        r.op = op;
        r.a[0] = p.u16();
    };
    switch (function) {
        case kSetWindowOrg: pair(Op::SetWindowOrg); break;
        case kSetWindowExt: pair(Op::SetWindowExt); break;
        case kSetViewportOrg: pair(Op::SetViewportOrg); break;
        case kSetViewportExt: pair(Op::SetViewportExt); break;
        case kOffsetWindowOrg: pair(Op::OffsetWindowOrg); break;
        case kOffsetViewportOrg: pair(Op::OffsetViewportOrg); break;
        case kScaleWindowExt:
        case kScaleViewportExt:
            r.op = function == kScaleWindowExt ? Op::ScaleWindowExt : Op::ScaleViewportExt;
            r.a[3] = p.i16();  // y denominator, y numerator, x denominator, x numerator
            r.a[2] = p.i16();
            r.a[1] = p.i16();
            r.a[0] = p.i16();
            break;
        case kSetMapMode: value(Op::SetMapMode); break;
        case kSetBkMode: value(Op::SetBkMode); break;
        case kSetRop2: value(Op::SetRop2); break;
        case kSetPolyFillMode: value(Op::SetPolyFillMode); break;
        case kSetTextAlign: value(Op::SetTextAlign); break;
        case kSetStretchBltMode: value(Op::SetStretchBltMode); break;
        case kSetBkColor:
        case kSetTextColor:
            r.op = function == kSetBkColor ? Op::SetBkColor : Op::SetTextColor;
            r.a[0] = static_cast<int32_t>(p.u32() & 0x00FFFFFF);
            break;
        case kSaveDc: r.op = Op::SaveDc; break;
        case kRestoreDc: r.op = Op::RestoreDc; r.a[0] = p.i16(); break;
        case kIntersectClipRect:
        case kExcludeClipRect:
            r.op = function == kIntersectClipRect ? Op::IntersectClipRect : Op::ExcludeClipRect;
            for (int i = 3; i >= 0; --i) r.a[i] = p.i16();  // bottom, right, top, left
            break;
        default:
            return skip(function, "not drawn by this player");
    }
    if (!p.ok()) return damaged("its parameters cut short");
    switch (r.op) {
        case Op::SetWindowExt:
        case Op::SetViewportExt:
            if (r.a[0] == 0 || r.a[1] == 0) return skip(function, "an extent of 0");
            break;
        case Op::ScaleWindowExt:
        case Op::ScaleViewportExt:
            if (r.a[0] == 0 || r.a[1] == 0 || r.a[2] == 0 || r.a[3] == 0) return skip(function, "a factor of 0");
            break;
        case Op::SetMapMode:
            if (r.a[0] < kMmText || r.a[0] > kMmAnisotropic) return skip(function, "an unknown map mode");
            break;
        case Op::SetBkMode:
            if (r.a[0] != TRANSPARENT && r.a[0] != OPAQUE) return skip(function, "an unknown background mode");
            break;
        case Op::SetRop2:
            if (r.a[0] < R2_BLACK || r.a[0] > R2_WHITE) return skip(function, "an unknown mix mode");
            break;
        case Op::SetPolyFillMode:
            if (r.a[0] != ALTERNATE && r.a[0] != WINDING) return skip(function, "an unknown fill mode");
            break;
        case Op::SetStretchBltMode:
            if (r.a[0] < BLACKONWHITE || r.a[0] > HALFTONE) return skip(function, "an unknown stretch mode");
            break;
        case Op::SetTextAlign: {
            // Only the alignment bits; update-the-position only goes with left alignment.
            int32_t align = r.a[0] & (TA_UPDATECP | TA_RIGHT | TA_CENTER | TA_BOTTOM | TA_BASELINE);
            if ((align & TA_CENTER) == 4) align &= ~4;
            if ((align & TA_BASELINE) == 16) align &= ~16;
            if ((align & TA_CENTER) != TA_LEFT) align &= ~TA_UPDATECP;
            r.a[0] = align;
            break;
        }
        case Op::SaveDc:
            ++saves_;
            break;
        case Op::RestoreDc: {
            // A negative level counts back from the newest save, a positive one names a save.
            const int kept = r.a[0] < 0 ? saves_ + r.a[0] : r.a[0] - 1;
            if (r.a[0] == 0 || kept < 0 || kept >= saves_) return skip(function, "a level the picture never saved");
            r.a[0] = kept;
            saves_ = kept;
            break;
        }
        default:
            break;
    }
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::takeSlot(Record r) {
    auto free = std::find(slots_.begin(), slots_.end(), false);
    const size_t slot = static_cast<size_t>(free - slots_.begin());
    if (slot >= objectCount_) return damaged("more objects than the header's " + std::to_string(objectCount_));
    if (free == slots_.end()) slots_.push_back(true);
    else *free = true;
    r.a[0] = static_cast<int32_t>(slot);
    picture_.objectSlots = std::max<uint32_t>(picture_.objectSlots, static_cast<uint32_t>(slot + 1));
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::objects(uint16_t function, ByteReader& p) {
    switch (function) {
        case kCreatePenIndirect: return pen(p);
        case kCreateBrushIndirect: return brush(p);
        case kDibCreatePatternBrush: return dibBrush(p);
        case kCreateFontIndirect: return font(p);
        case kSelectObject:
        case kDeleteObject: {
            const uint16_t slot = p.u16();
            if (!p.ok()) return damaged("its parameters cut short");
            if (slot >= slots_.size() || !slots_[slot]) return skip(function, "an object slot that is empty");
            if (function == kDeleteObject) slots_[slot] = false;
            keep(Record{function == kSelectObject ? Op::SelectObject : Op::DeleteObject, {slot}, 0, 0});
            return Outcome::Kept;
        }
        default:
            // Palettes, regions and old bitmap brushes are not made, but they take their slot
            // so that later objects keep their numbers.
            skip(function, "an object kind this player does not make");
            return takeSlot(Record{Op::CreateNothing, {}, 0, 0});
    }
}

Outcome Parser::pen(ByteReader& p) {
    const uint16_t style = p.u16();
    const int16_t width = p.i16();
    p.skip(2);  // the height of the width point is not used
    const uint32_t colour = p.u32();
    if (!p.ok()) return damaged("its parameters cut short");
    // End caps and joins (the high bits) are not drawn: the line style alone.
    int32_t kind = style & 0x0F;
    if (kind > PS_INSIDEFRAME) {
        skip(kCreatePenIndirect, "pen style " + std::to_string(kind) + " drawn solid");
        kind = PS_SOLID;
    }
    return takeSlot(Record{Op::CreatePen, {0, kind, std::max<int16_t>(width, 0), int32_t(colour & 0xFFFFFF)}, 0, 0});
}

Outcome Parser::brush(ByteReader& p) {
    const uint16_t style = p.u16();
    const uint32_t colour = p.u32();
    const uint16_t hatch = p.u16();
    if (!p.ok()) return damaged("its parameters cut short");
    int32_t kind = style;
    if (style == kBsHatched && hatch > HS_DIAGCROSS) {
        skip(kCreateBrushIndirect, "an unknown hatch, drawn solid");
        kind = kBsSolid;
    } else if (style != kBsSolid && style != kBsNull && style != kBsHatched) {
        skip(kCreateBrushIndirect, "brush style " + std::to_string(style) + ", drawn hollow");
        kind = kBsNull;
    }
    return takeSlot(Record{Op::CreateBrush, {0, kind, int32_t(colour & 0xFFFFFF), hatch}, 0, 0});
}

Outcome Parser::dibBrush(ByteReader& p) {
    const uint16_t style = p.u16();
    const uint16_t usage = p.u16();
    if (!p.ok()) return damaged("its parameters cut short");
    uint32_t index = 0;
    if ((style != kBsDibPattern && style != kBsDibPatternPt && style != kBsPattern) || usage != DIB_RGB_COLORS ||
        !readBitmap(p, index)) {
        if (!p.ok()) return damaged("a bitmap cut short");
        skip(kDibCreatePatternBrush, "a pattern this player does not make, drawn hollow");
        return takeSlot(Record{Op::CreateBrush, {0, kBsNull, 0, 0}, 0, 0});
    }
    return takeSlot(Record{Op::CreateDibBrush, {0, int32_t(index)}, 0, 0});
}

Outcome Parser::font(ByteReader& p) {
    LOGFONTA f{};
    f.lfHeight = p.i16();
    f.lfWidth = p.i16();
    f.lfEscapement = p.i16();
    f.lfOrientation = p.i16();
    f.lfWeight = p.i16();
    f.lfItalic = p.u8();
    f.lfUnderline = p.u8();
    f.lfStrikeOut = p.u8();
    f.lfCharSet = p.u8();
    f.lfOutPrecision = p.u8();
    f.lfClipPrecision = p.u8();
    f.lfQuality = p.u8();
    f.lfPitchAndFamily = p.u8();
    if (!p.ok()) return damaged("its parameters cut short");
    // The face name runs to its zero or the record's end, at most 31 bytes of it.
    const size_t length = std::min<size_t>(p.remaining(), LF_FACESIZE - 1);
    p.bytes(f.lfFaceName, length);
    f.lfFaceName[std::min<size_t>(length, LF_FACESIZE - 1)] = 0;
    if (f.lfEscapement != 0 || f.lfOrientation != 0) {
        skip(kCreateFontIndirect, "rotated text, drawn level");
        f.lfEscapement = f.lfOrientation = 0;
    }
    f.lfWidth = 0;  // condensed and widened faces are drawn at their own width
    if (f.lfWeight < 0 || f.lfWeight > 1000) f.lfWeight = FW_NORMAL;
    switch (f.lfCharSet) {
        case ANSI_CHARSET: case DEFAULT_CHARSET: case SYMBOL_CHARSET: case RUSSIAN_CHARSET: case EASTEUROPE_CHARSET:
            break;
        default:
            f.lfCharSet = DEFAULT_CHARSET;
    }
    picture_.fonts.push_back(f);
    return takeSlot(Record{Op::CreateFont, {0, int32_t(picture_.fonts.size() - 1)}, 0, 0});
}

// A device-independent bitmap as records carry it: a 40-byte header, its colours, its rows.
// False (with the reader failed when the bytes ran short) for one the player does not draw.
bool Parser::readBitmap(ByteReader& p, uint32_t& index) {
    Bitmap b{};
    BITMAPINFOHEADER& h = b.info.header;
    h = winplat::readBitmapInfoHeader(p);
    if (!p.ok() || h.biSize < 40) return false;
    if (!p.skip(h.biSize - 40)) return false;
    const int bits = h.biBitCount;
    if (h.biWidth <= 0 || h.biWidth > kMaxBitmapSide || h.biHeight == 0 || h.biHeight < -kMaxBitmapSide ||
        h.biHeight > kMaxBitmapSide || h.biPlanes != 1)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const bool fields = h.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32);
    if (h.biCompression != BI_RGB && !fields) return false;
    uint32_t colours = 0;
    if (bits <= 8) {
        colours = h.biClrUsed ? h.biClrUsed : (1u << bits);
        if (colours > (1u << bits)) return false;
    } else if (fields) {
        colours = 3;  // the masks
    } else if (h.biClrUsed > 256) {
        return false;
    } else {
        p.skip(size_t{h.biClrUsed} * 4);  // a table a true-colour bitmap need not carry
    }
    for (uint32_t i = 0; i < colours; ++i) {
        RGBQUAD& q = b.info.colors[i];
        q.rgbBlue = p.u8();
        q.rgbGreen = p.u8();
        q.rgbRed = p.u8();
        q.rgbReserved = p.u8();
    }
    const uint64_t stride = (uint64_t{uint32_t(h.biWidth)} * bits + 31) / 32 * 4;
    const uint64_t size = stride * uint64_t(std::abs(h.biHeight));
    if (!p.ok() || size > p.remaining()) {
        if (p.ok()) p.skip(p.remaining() + 1);  // mark the bytes as short
        return false;
    }
    h.biClrUsed = bits <= 8 ? colours : 0;
    h.biSizeImage = static_cast<DWORD>(size);
    b.bits = static_cast<uint32_t>(picture_.bytes.size());
    b.size = static_cast<uint32_t>(size);
    const std::span<const uint8_t> rows = p.view(size);
    picture_.bytes.insert(picture_.bytes.end(), rows.begin(), rows.end());
    picture_.bitmaps.push_back(b);
    index = static_cast<uint32_t>(picture_.bitmaps.size() - 1);
    return true;
}

Outcome Parser::drawing(uint16_t function, ByteReader& p) {
    Record r{};
    auto rect = [&](Op op, int extra) {
        r.op = op;
        for (int i = extra - 1; i >= 0; --i) r.a[4 + i] = p.i16();  // stored last to first
        for (int i = 3; i >= 0; --i) r.a[i] = p.i16();
        include(r.a[0], r.a[1]);
        include(r.a[2], r.a[3]);
    };
    switch (function) {
        case kPolyline: return points(Op::Polyline, p);
        case kPolygon: return points(Op::Polygon, p);
        case kPolyPolygon: return polyPolygon(p);
        case kTextOut: return text(p);
        case kExtTextOut: return extText(p);
        case kStretchDib:
        case kDibStretchBlt:
        case kDibBitBlt:
            return bitmapBlit(function, p);
        case kMoveTo:
        case kLineTo:
            r.op = function == kMoveTo ? Op::MoveTo : Op::LineTo;
            r.a[1] = p.i16();
            r.a[0] = p.i16();
            include(r.a[0], r.a[1]);
            break;
        case kSetPixel:
            r.op = Op::SetPixel;
            r.a[2] = static_cast<int32_t>(p.u32() & 0xFFFFFF);
            r.a[1] = p.i16();
            r.a[0] = p.i16();
            include(r.a[0], r.a[1]);
            break;
        case kRectangle: rect(Op::Rectangle, 0); break;
        case kEllipse: rect(Op::Ellipse, 0); break;
        case kRoundRect:
            r.op = Op::RoundRect;
            r.a[5] = p.i16();  // corner height, width, then the rectangle
            r.a[4] = p.i16();
            for (int i = 3; i >= 0; --i) r.a[i] = p.i16();
            include(r.a[0], r.a[1]);
            include(r.a[2], r.a[3]);
            break;
        case kArc:
        case kPie:
        case kChord: {
            r.op = function == kArc ? Op::Arc : function == kPie ? Op::Pie : Op::Chord;
            r.a[7] = p.i16();  // end y, end x, start y, start x, then the rectangle
            r.a[6] = p.i16();
            r.a[5] = p.i16();
            r.a[4] = p.i16();
            for (int i = 3; i >= 0; --i) r.a[i] = p.i16();
            include(r.a[0], r.a[1]);
            include(r.a[2], r.a[3]);
            break;
        }
        case kPatBlt: {
            r.op = Op::PatBlt;
            const uint32_t rop = p.u32();
            r.a[3] = p.i16();  // height, width, y, x
            r.a[2] = p.i16();
            r.a[1] = p.i16();
            r.a[0] = p.i16();
            if (p.ok() && usesSource(rop)) return skip(function, "an operation that reads a source");
            r.a[4] = static_cast<int32_t>(rop);
            r.a[2] += r.a[0];  // kept as a rectangle, so that mapping keeps both corners
            r.a[3] += r.a[1];
            include(r.a[0], r.a[1]);
            include(r.a[2], r.a[3]);
            break;
        }
        default:
            return skip(function, "not drawn by this player");
    }
    if (!p.ok()) return damaged("its parameters cut short");
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::points(Op op, ByteReader& p) {
    const int16_t count = p.i16();
    if (!p.ok() || count < 0) return damaged("no point count");
    if (size_t(count) * 4 > p.remaining()) return damaged(std::to_string(count) + " points past the record's end");
    Record r{op, {}, static_cast<uint32_t>(picture_.points.size()), static_cast<uint32_t>(count)};
    for (int i = 0; i < count; ++i) {
        const LONG x = p.i16();
        const LONG y = p.i16();
        picture_.points.push_back(POINT{x, y});
        include(x, y);
    }
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::polyPolygon(ByteReader& p) {
    const uint16_t polygons = p.u16();
    if (!p.ok()) return damaged("no polygon count");
    if (size_t{polygons} * 2 > p.remaining()) return damaged(std::to_string(polygons) + " polygons past the record's end");
    Record r{Op::PolyPolygon, {polygons, static_cast<int32_t>(picture_.bytes.size())},
             static_cast<uint32_t>(picture_.points.size()), 0};
    size_t total = 0;
    for (uint16_t i = 0; i < polygons; ++i) {
        const uint16_t count = p.u16();
        picture_.bytes.push_back(static_cast<uint8_t>(count));
        picture_.bytes.push_back(static_cast<uint8_t>(count >> 8));
        total += count;
    }
    if (total * 4 > p.remaining()) return damaged(std::to_string(total) + " points past the record's end");
    for (size_t i = 0; i < total; ++i) {
        const LONG x = p.i16();
        const LONG y = p.i16();
        picture_.points.push_back(POINT{x, y});
        include(x, y);
    }
    r.count = static_cast<uint32_t>(total);
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::text(ByteReader& p) {
    const int16_t length = p.i16();
    if (!p.ok() || length < 0) return damaged("no text length");
    const size_t padded = (size_t(length) + 1) & ~size_t{1};
    if (padded > p.remaining()) return damaged("text past the record's end");
    const std::span<const uint8_t> chars = p.view(size_t(length));
    p.skip(padded - size_t(length));
    Record r{Op::TextOut, {}, static_cast<uint32_t>(picture_.bytes.size()), static_cast<uint32_t>(length)};
    r.a[1] = p.i16();
    r.a[0] = p.i16();
    if (!p.ok()) return damaged("no text position");
    r.a[7] = -1;
    picture_.bytes.insert(picture_.bytes.end(), chars.begin(), chars.end());
    include(r.a[0], r.a[1]);
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::extText(ByteReader& p) {
    Record r{Op::TextOut, {}, 0, 0};
    r.a[1] = p.i16();
    r.a[0] = p.i16();
    const int16_t length = p.i16();
    const uint16_t options = p.u16();
    if (!p.ok() || length < 0) return damaged("no text length");
    r.a[2] = options & (ETO_OPAQUE | ETO_CLIPPED);
    if (r.a[2]) {
        for (int i = 3; i < 7; ++i) r.a[i] = p.i16();  // left, top, right, bottom
        if (!p.ok()) return damaged("no text rectangle");
    }
    const size_t padded = (size_t(length) + 1) & ~size_t{1};
    if (size_t(length) > p.remaining()) return damaged("text past the record's end");
    r.first = static_cast<uint32_t>(picture_.bytes.size());
    r.count = static_cast<uint32_t>(length);
    const std::span<const uint8_t> chars = p.view(size_t(length));
    picture_.bytes.insert(picture_.bytes.end(), chars.begin(), chars.end());
    p.skip(std::min(padded - size_t(length), p.remaining()));
    // The advances are optional: present only when the record has room for one per character.
    r.a[7] = -1;
    if (length > 0 && p.remaining() >= size_t(length) * 2) {
        r.a[7] = static_cast<int32_t>(picture_.bytes.size());
        const std::span<const uint8_t> advances = p.view(size_t(length) * 2);
        picture_.bytes.insert(picture_.bytes.end(), advances.begin(), advances.end());
    }
    include(r.a[0], r.a[1]);
    keep(r);
    return Outcome::Kept;
}

Outcome Parser::bitmapBlit(uint16_t function, ByteReader& p) {
    Record r{Op::StretchDib, {}, 0, 0};
    const uint32_t rop = p.u32();
    if (function == kStretchDib) {
        const uint16_t usage = p.u16();
        if (p.ok() && usage != DIB_RGB_COLORS) return skip(function, "colours that index a palette");
    }
    if (function == kDibBitBlt) {
        r.a[5] = p.i16();  // source y, x; height, width; destination y, x
        r.a[4] = p.i16();
        r.a[3] = r.a[7] = p.i16();
        r.a[2] = r.a[6] = p.i16();
    } else {
        r.a[7] = p.i16();  // source height, width, y, x; destination height, width
        r.a[6] = p.i16();
        r.a[5] = p.i16();
        r.a[4] = p.i16();
        r.a[3] = p.i16();
        r.a[2] = p.i16();
    }
    r.a[1] = p.i16();
    r.a[0] = p.i16();
    if (!p.ok()) return damaged("its parameters cut short");
    if (p.remaining() == 0) return skip(function, "a blit without a bitmap");
    uint32_t index = 0;
    if (!readBitmap(p, index)) {
        if (!p.ok()) return damaged("a bitmap cut short");
        return skip(function, "a bitmap this player does not draw");
    }
    r.first = index;
    r.count = rop;
    r.a[2] += r.a[0];  // the destination as a rectangle, so that mapping keeps both corners
    r.a[3] += r.a[1];
    include(r.a[0], r.a[1]);
    include(r.a[2], r.a[3]);
    keep(r);
    return Outcome::Kept;
}

}  // namespace

std::unique_ptr<Picture> parseMetafile(std::span<const uint8_t> file, const LoadProgress& progress) {
    auto picture = std::make_unique<Picture>();
    if (!Parser(file, progress, *picture).run()) return nullptr;
    return picture;
}

}  // namespace vexmill
