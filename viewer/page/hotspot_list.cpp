#include "page/hotspot_list.h"

#include <algorithm>

#include "winplat/byte_reader.h"

namespace lect32 {

namespace {

constexpr size_t kListHead = 3;     // format byte, u16 count
constexpr size_t kPointSize = 4;

bool readShape(winplat::ByteReader& in, HotspotShape& shape) {
    shape.left = in.i16();
    shape.top = in.i16();
    shape.right = in.i16();
    shape.bottom = in.i16();
    shape.shape = in.u8();
    in.skip(1);
    shape.linkFlag = in.u8();
    in.bytes(shape.link.data(), shape.link.size());
    shape.marker = in.i16();
    const uint16_t extra = in.u16();
    shape.extra = in.view(extra);
    return in.ok();
}

void putWord(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

std::vector<POINT> HotspotShape::Points() const {
    winplat::ByteReader in(extra);
    const uint16_t stored = in.u16();
    in.skip(1);
    if (!in.ok()) return {};
    const size_t count = std::min<size_t>(stored, in.remaining() / kPointSize);
    std::vector<POINT> points(count);
    for (POINT& p : points) {
        p.x = in.i16();
        p.y = in.i16();
    }
    return points;
}

HotspotList::HotspotList(std::span<const uint8_t> stored) {
    winplat::ByteReader in(stored);
    in.skip(1);
    const uint16_t count = in.u16();
    if (!in.ok()) return;
    shapes_.reserve(std::min<size_t>(count, in.remaining() / HotspotShape::kRecordSize));
    for (uint16_t i = 0; i < count; ++i) {
        HotspotShape shape;
        if (!readShape(in, shape)) break;
        shapes_.push_back(shape);
    }
}

std::vector<uint8_t> ConvertOldHotspotList(std::span<const uint8_t> old) {
    winplat::ByteReader in(old);
    const uint16_t stored = in.u16();
    const size_t count = std::min<size_t>(stored, in.remaining() / HotspotShape::kOldRecordSize);
    if (!in.ok() || count == 0) return {};
    std::vector<uint8_t> list;
    list.reserve(kListHead + count * HotspotShape::kRecordSize);
    list.push_back(0);
    putWord(list, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const std::span<const uint8_t> entry = in.view(HotspotShape::kOldRecordSize);
        list.insert(list.end(), entry.begin(), entry.end());
        putWord(list, 0xFFFF);  // marker: no polygon
        putWord(list, 0);       // no extra data
    }
    return list;
}

}  // namespace lect32
