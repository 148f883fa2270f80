// Test-side writer of small metafiles, record by record from the format's record table, written
// apart from the library's parser so the two check each other. Every record is a function and its
// parameter words as the file stores them (for most records, last argument first).
#ifndef VEXMILL_TESTS_METAFILE_BUILDER_H
#define VEXMILL_TESTS_METAFILE_BUILDER_H

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vxtest {

using Bytes = std::vector<uint8_t>;

// Record functions the tests write.
enum : uint16_t {
    kSetBkMode = 0x0102, kSetMapMode = 0x0103, kSetRop2 = 0x0104, kSetPolyFillMode = 0x0106,
    kSaveDc = 0x001E, kRestoreDc = 0x0127, kSetBkColor = 0x0201, kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C, kSetViewportOrg = 0x020D, kSetViewportExt = 0x020E,
    kOffsetWindowOrg = 0x020F, kLineTo = 0x0213, kMoveTo = 0x0214, kPolygon = 0x0324, kPolyline = 0x0325,
    kIntersectClipRect = 0x0416, kEllipse = 0x0418, kFloodFill = 0x0419, kRectangle = 0x041B,
    kSetPixel = 0x041F, kTextOut = 0x0521, kPolyPolygon = 0x0538, kRoundRect = 0x061C, kPatBlt = 0x061D,
    kEscape = 0x0626, kArc = 0x0817, kPie = 0x081A, kChord = 0x0830, kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32, kDibStretchBlt = 0x0B41, kStretchDib = 0x0F43, kSelectObject = 0x012D,
    kSetTextAlign = 0x012E, kDeleteObject = 0x01F0, kCreatePalette = 0x00F7, kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB, kCreateBrushIndirect = 0x02FC, kDibCreatePatternBrush = 0x0142,
};

inline void put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
inline void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

class Metafile {
  public:
    // A plain metafile with room for 'objects' objects.
    explicit Metafile(uint16_t objects = 8) : objects_(objects) {}

    // Makes it placeable: box (left, top, right, bottom) in units of which 'inch' make an inch.
    Metafile& placeable(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch) {
        placeable_ = true;
        box_[0] = left, box_[1] = top, box_[2] = right, box_[3] = bottom;
        inch_ = inch;
        return *this;
    }
    // A record of 16-bit parameter words.
    Metafile& record(uint16_t function, std::initializer_list<int> words) {
        Bytes params;
        for (int w : words) put16(params, static_cast<uint32_t>(w));
        return raw(function, params);
    }
    // A record whose parameters are given as bytes (padded to a whole word).
    Metafile& raw(uint16_t function, Bytes params) {
        if (params.size() % 2) params.push_back(0);
        const uint32_t words = static_cast<uint32_t>(3 + params.size() / 2);
        largest_ = std::max(largest_, words);
        put32(records_, words);
        put16(records_, function);
        records_.insert(records_.end(), params.begin(), params.end());
        return *this;
    }
    // A record head declaring 'words' words, followed by whatever bytes are given.
    Metafile& head(uint32_t words, uint16_t function, const Bytes& rest = {}) {
        put32(records_, words);
        put16(records_, function);
        records_.insert(records_.end(), rest.begin(), rest.end());
        return *this;
    }

    // Conveniences in argument order (x before y, left top right bottom); the file order is reversed.
    Metafile& window(int x, int y, int w, int h) { return record(kSetWindowOrg, {y, x}).record(kSetWindowExt, {h, w}); }
    Metafile& viewport(int x, int y, int w, int h) {
        return record(kSetViewportOrg, {y, x}).record(kSetViewportExt, {h, w});
    }
    Metafile& rect(uint16_t function, int l, int t, int r, int b) { return record(function, {b, r, t, l}); }
    Metafile& brush(uint16_t style, uint32_t colour, uint16_t hatch = 0) {
        return record(kCreateBrushIndirect, {style, int(colour & 0xFFFF), int(colour >> 16), hatch});
    }
    Metafile& pen(uint16_t style, int width, uint32_t colour) {
        return record(kCreatePenIndirect, {style, width, 0, int(colour & 0xFFFF), int(colour >> 16)});
    }
    Metafile& select(int slot) { return record(kSelectObject, {slot}); }
    Metafile& points(uint16_t function, std::initializer_list<std::pair<int, int>> pts) {
        Bytes params;
        put16(params, static_cast<uint32_t>(pts.size()));
        for (auto [x, y] : pts) put16(params, uint32_t(x)), put16(params, uint32_t(y));
        return raw(function, params);
    }
    Metafile& font(int height, const std::string& face, int weight = 400) {
        Bytes params;
        for (int v : {height, 0, 0, 0, weight}) put16(params, uint32_t(v));
        for (int i = 0; i < 8; ++i) params.push_back(i == 3 ? 238 : 0);  // charset East European
        params.insert(params.end(), face.begin(), face.end());
        params.push_back(0);
        return raw(kCreateFontIndirect, params);
    }
    Metafile& textOut(int x, int y, const std::string& text) {
        Bytes params;
        put16(params, uint32_t(text.size()));
        params.insert(params.end(), text.begin(), text.end());
        if (text.size() % 2) params.push_back(0);
        put16(params, uint32_t(y));
        put16(params, uint32_t(x));
        return raw(kTextOut, params);
    }

    Bytes bytes(bool withEnd = true) const {
        Bytes out;
        if (placeable_) {
            Bytes head;
            put32(head, 0x9AC6CDD7u);
            put16(head, 0);
            for (int16_t side : box_) put16(head, uint16_t(side));
            put16(head, inch_);
            put32(head, 0);
            uint16_t sum = 0;
            for (size_t i = 0; i < head.size(); i += 2) sum ^= uint16_t(head[i] | head[i + 1] << 8);
            put16(head, sum);
            out = head;
        }
        const size_t words = 9 + records_.size() / 2 + (withEnd ? 3 : 0);
        put16(out, 1);  // in memory... or on disk: both are read alike
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, uint32_t(words));
        put16(out, objects_);
        put32(out, largest_);  // the largest record in words, which other players size a buffer by
        put16(out, 0);
        out.insert(out.end(), records_.begin(), records_.end());
        if (withEnd) put32(out, 3), put16(out, 0);
        return out;
    }

  private:
    uint16_t objects_;
    bool placeable_ = false;
    int16_t box_[4] = {};
    uint16_t inch_ = 1440;
    Bytes records_;
    uint32_t largest_ = 3;
};

// A packed bitmap (40-byte header, no colour table) of 24-bit rows, bottom-up, from top-down
// 0xRRGGBB pixels.
inline Bytes packedDib24(int width, int height, const std::vector<uint32_t>& topDown) {
    Bytes out;
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    for (int row = height - 1; row >= 0; --row) {
        size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            const uint32_t c = topDown[size_t(row) * size_t(width) + size_t(x)];
            out.push_back(uint8_t(c));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c >> 16));
        }
        while (out.size() - start < stride) out.push_back(0);
    }
    return out;
}

}  // namespace vxtest

#endif
