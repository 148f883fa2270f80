#include "text/format_parts.h"

#include <algorithm>
#include <limits>

namespace lect32 {

int16_t ScaleClamped(int16_t value, int percent) {
    const int64_t scaled = int64_t{value} * percent / 100;
    return static_cast<int16_t>(std::clamp<int64_t>(scaled, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

void PutInt16(uint8_t* out, int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    out[0] = static_cast<uint8_t>(bits & 0xFF);
    out[1] = static_cast<uint8_t>(bits >> 8);
}

ColourPair ColourPair::Read(winplat::ByteReader& in) {
    ColourPair p;
    p.text = in.u8();
    p.background = in.u8();
    return p;
}

void ColourPair::Write(uint8_t* out) const {
    out[0] = text;
    out[1] = background;
}

void ColourPair::MergeFrom(const ColourPair& other) {
    if (other.text != kNone) text = other.text;
    if (other.background != kNone) background = other.background;
}

Shadow Shadow::Read(winplat::ByteReader& in) {
    Shadow s;
    s.colour = in.u8();
    s.dx = in.i8();
    s.dy = in.i8();
    return s;
}

void Shadow::Write(uint8_t* out) const {
    out[0] = colour;
    out[1] = static_cast<uint8_t>(dx);
    out[2] = static_cast<uint8_t>(dy);
}

void Shadow::MergeFrom(const Shadow& other) {
    const auto first = static_cast<int8_t>(other.colour);
    if (first == -1) {
        colour = kNone;
    } else if (first != kKeepColour) {
        colour = other.colour;
    }
    dx = other.dx;
    dy = other.dy;
}

bool Shadow::IsValid() const {
    if (colour == kNone) return true;
    const auto inRange = [](int8_t v) { return v >= -kMaxOffset && v <= kMaxOffset; };
    return inRange(dx) && inRange(dy);
}

bool Shadow::SameAs(const Shadow& other) const {
    if (colour == other.colour && dx == other.dx && dy == other.dy) return true;
    if (colour == kNone && other.colour == kNone) return true;
    return dx == 0 && dy == 0 && other.dx == 0 && other.dy == 0;
}

void Shadow::Scale(int percent) {
    const auto scale = [percent](int8_t v) {
        return static_cast<int8_t>(std::clamp<int32_t>(int32_t{v} * percent / 100, -127, 127));
    };
    dx = scale(dx);
    dy = scale(dy);
}

Indents Indents::Read(winplat::ByteReader& in) {
    Indents i;
    i.left = in.i16();
    i.right = in.i16();
    i.firstLine = in.i16();
    i.furtherLines = in.i16();
    return i;
}

void Indents::Write(uint8_t* out) const {
    PutInt16(out, left);
    PutInt16(out + 2, right);
    PutInt16(out + 4, firstLine);
    PutInt16(out + 6, furtherLines);
}

void Indents::Scale(int percent) {
    for (int16_t* v : {&left, &right, &firstLine, &furtherLines}) *v = ScaleClamped(*v, percent);
}

ParagraphSpacing ParagraphSpacing::Read(winplat::ByteReader& in) {
    ParagraphSpacing s;
    s.before = in.i16();
    s.after = in.i16();
    return s;
}

void ParagraphSpacing::Write(uint8_t* out) const {
    PutInt16(out, before);
    PutInt16(out + 2, after);
}

void ParagraphSpacing::Scale(int percent) {
    before = ScaleClamped(before, percent);
    after = ScaleClamped(after, percent);
}

Border Border::Read(winplat::ByteReader& in) {
    Border b;
    in.bytes(b.bytes.data(), b.bytes.size());
    return b;
}

void Border::Write(uint8_t* out) const { std::copy(bytes.begin(), bytes.end(), out); }

void Border::Scale(int percent) {
    for (const size_t i : {size_t{1}, size_t{3}}) {
        const int scaled = bytes[i] * percent / 100;
        bytes[i] = scaled > 256 ? 0 : static_cast<uint8_t>(scaled);
    }
}

ListMarker ListMarker::Read(winplat::ByteReader& in) {
    ListMarker m;
    m.kind = in.u8();
    in.bytes(m.bytes.data(), m.bytes.size());
    m.size = in.i16();
    m.extra = in.u8();
    m.colour = in.u8();
    return m;
}

void ListMarker::Write(uint8_t* out) const {
    out[0] = kind;
    std::copy(bytes.begin(), bytes.end(), out + 1);
    PutInt16(out + 4, size);
    out[6] = extra;
    out[7] = colour;
}

}  // namespace lect32
