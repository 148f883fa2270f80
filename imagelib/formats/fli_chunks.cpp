#include "formats/fli_chunks.h"

#include <algorithm>
#include <cstring>

namespace pixmill {
namespace {

constexpr int kCountFreeMark = 255;
constexpr int kCountFreePackets = 255;

// Colour packets: a skip added to the index, a count (0 = 256) and count triplets. A packet that
// would pass entry 255 is cut there and ends the chunk.
bool colours(winplat::ByteReader& data, FlicCanvas& c, int shift) {
    const int packets = data.u16();
    int index = 0;
    for (int p = 0; p < packets && data.ok(); ++p) {
        index += data.u8();
        int count = data.u8();
        if (count == 0) count = 256;
        const bool last = index + count > 256;
        if (last) count = std::max(0, 256 - index);
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k)
                c.palette[3 * (index + i) + k] = static_cast<uint8_t>(data.u8() << shift);
        }
        index += count;
        if (last) break;
    }
    c.paletteChanged = true;
    return data.ok();
}

enum class Packets { ByteRun, LineDelta };

// Byte runs (every row from the top) and line deltas (the rows from a skip on) share their
// packets' rules: a packet that would pass the row's end is cut there and ends the chunk; a row
// that is full while packets are left either switches the chunk to rows without counts (the next
// byte is 255) or lets the rest of the packets fill the next row.
class PacketRows {
  public:
    PacketRows(winplat::ByteReader& data, FlicCanvas& c, Packets kind) : data_(data), c_(c), kind_(kind) {}

    bool decode(size_t firstRow, size_t rows) {
        y_ = firstRow;
        bool countFree = false;
        for (size_t left = rows; left > 0 && data_.ok(); ++y_, --left) {
            int packets = countFree ? kCountFreePackets : data_.u8();
            x_ = 0;
            while (packets > 0) {
                if (!packet()) return data_.ok();  // cut at the row's end: the chunk is over
                --packets;
                if (x_ < c_.width) continue;
                // The row is full.
                if (countFree || packets == 0) break;
                if (peek() == kCountFreeMark) {
                    data_.u8();
                    countFree = true;
                    break;
                }
                // The rest of the packets fill the next row.
                ++y_;
                x_ = 0;
                if (--left == 0) return data_.ok();
            }
        }
        return data_.ok();
    }

  private:
    int peek() {
        winplat::ByteReader ahead = data_;
        return ahead.has(1) ? ahead.u8() : -1;
    }

    uint8_t* at(size_t x) { return y_ < c_.height ? c_.pixels + y_ * c_.width + x : nullptr; }

    // One packet at the cursor; false when it was cut at the row's end (or the data ended).
    bool packet() {
        if (kind_ == Packets::LineDelta) x_ += data_.u8();
        const int size = data_.i8();
        const bool literal = kind_ == Packets::ByteRun ? size < 0 : size > 0;
        size_t n = static_cast<size_t>(std::abs(size));
        const int value = literal ? 0 : data_.u8();
        if (!data_.ok()) return false;
        const bool cut = x_ + n > c_.width;
        if (cut) n = c_.width > x_ ? c_.width - x_ : 0;
        if (literal) {
            const std::span<const uint8_t> bytes = data_.view(n);
            if (!data_.ok()) return false;
            if (uint8_t* out = at(x_)) std::memcpy(out, bytes.data(), n);
        } else if (uint8_t* out = at(x_)) {
            std::memset(out, value, n);
        }
        x_ += n;
        return !cut;
    }

    winplat::ByteReader& data_;
    FlicCanvas& c_;
    Packets kind_;
    size_t x_ = 0;
    size_t y_ = 0;
};

bool lineDelta(winplat::ByteReader& data, FlicCanvas& c) {
    const size_t skip = data.u16();
    const size_t lines = data.u16();
    return data.ok() && PacketRows(data, c, Packets::LineDelta).decode(skip, lines);
}

void putByte(FlicCanvas& c, int64_t y, size_t x, uint8_t value) {
    if (y >= 0 && static_cast<uint64_t>(y) < c.height && x < c.width)
        c.pixels[static_cast<size_t>(y) * c.width + x] = value;
}

// Word deltas: per line, opcode words (bit 15 set) before the packet count: with bit 14 too the
// line skips -word rows, without it the low byte goes to the row's last pixel.
bool wordDelta(winplat::ByteReader& data, FlicCanvas& c) {
    const int lines = data.u16();
    int64_t y = 0;
    for (int line = 0; line < lines && data.ok(); ++line) {
        int word = data.u16();
        while (data.ok() && (word & 0x8000)) {
            if (word & 0x4000) {
                y -= static_cast<int16_t>(word);
            } else if (c.width > 0) {
                putByte(c, y, c.width - 1, static_cast<uint8_t>(word));
            }
            word = data.u16();
        }
        size_t x = 0;
        for (int p = 0; p < word && data.ok(); ++p) {
            x += data.u8();
            const int count = data.i8();
            if (count > 0) {
                for (int i = 0; i < 2 * count; ++i, ++x) putByte(c, y, x, data.u8());
            } else {
                const uint8_t first = data.u8(), second = data.u8();
                for (int i = 0; i < -count; ++i, x += 2) {
                    putByte(c, y, x, first);
                    putByte(c, y, x + 1, second);
                }
            }
        }
        ++y;
    }
    return data.ok();
}

bool literal(winplat::ByteReader& data, FlicCanvas& c) {
    for (size_t y = 0; y < c.height; ++y) {
        const std::span<const uint8_t> row = data.view(c.width);
        if (!data.ok()) return false;
        std::memcpy(c.pixels + y * c.width, row.data(), c.width);
    }
    return true;
}

}  // namespace

bool decodeFlicChunk(uint16_t type, winplat::ByteReader& data, FlicCanvas& canvas) {
    switch (type) {
        case kFlicColour256:
            return colours(data, canvas, 0);
        case kFlicColour64:
            return colours(data, canvas, 2);
        case kFlicWordDelta:
            return wordDelta(data, canvas);
        case kFlicLineDelta:
            return lineDelta(data, canvas);
        case kFlicBlack:
            std::memset(canvas.pixels, 0, canvas.width * canvas.height);
            return true;
        case kFlicByteRun:
            return PacketRows(data, canvas, Packets::ByteRun).decode(0, canvas.height);
        case kFlicLiteral:
            return literal(data, canvas);
        default:
            return true;
    }
}

}  // namespace pixmill
