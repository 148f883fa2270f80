// The codes of run-length encoded bits, in pairs of bytes:
//   n c       n > 0: n pixels of index c (4 bits: the two nibbles of c in turn, high first)
//   0 0       end of the line: the next line, at its left edge
//   0 1       end of the bits
//   0 2 dx dy move right by dx and up by dy lines (the rows are stored bottom-up)
//   0 n ...   n >= 3: n indices as they are (8 bits: n bytes; 4 bits: (n + 1) / 2 bytes), padded
//             to a whole 16-bit word
// Bits that end without their end mark keep what was drawn so far.
#include "gdi/dib_rle.h"

#include <cstring>

#include "winplat/byte_reader.h"

namespace winplat::gdi {
namespace {

class RleCanvas {
  public:
    RleCanvas(const DibLayout& layout, bool fourBits)
        : layout_(layout), fourBits_(fourBits), rows_(layout.stride * static_cast<size_t>(layout.height), 0) {}

    bool done() const { return line_ >= layout_.height; }
    void put(uint8_t index) {
        if (!done() && x_ < layout_.width) {
            uint8_t& byte = rows_[static_cast<size_t>(line_) * layout_.stride +
                                  (fourBits_ ? static_cast<size_t>(x_) / 2 : static_cast<size_t>(x_))];
            if (!fourBits_) {
                byte = index;
            } else if (x_ % 2 == 0) {
                byte = static_cast<uint8_t>((byte & 0x0F) | (index << 4));
            } else {
                byte = static_cast<uint8_t>((byte & 0xF0) | (index & 0x0F));
            }
        }
        ++x_;
    }
    void nextLine() {
        x_ = 0;
        ++line_;
    }
    void move(int dx, int dy) {
        x_ += dx;
        line_ += dy;
    }
    std::vector<uint8_t> take() { return std::move(rows_); }

  private:
    const DibLayout& layout_;
    bool fourBits_;
    std::vector<uint8_t> rows_;
    int64_t x_ = 0;
    int64_t line_ = 0;  // 0 is the bottom row
};

// The index of pixel i of a run or an absolute byte: 4-bit codes alternate the two nibbles.
uint8_t indexOf(uint8_t value, bool fourBits, int i) {
    if (!fourBits) return value;
    return i % 2 == 0 ? static_cast<uint8_t>(value >> 4) : static_cast<uint8_t>(value & 0x0F);
}

}  // namespace

std::optional<DibLayout> rleLayout(const BITMAPINFO* info) {
    if (!info) return std::nullopt;
    const DWORD compression = info->bmiHeader.biCompression;
    if (compression != BI_RLE8 && compression != BI_RLE4) return std::nullopt;
    if (info->bmiHeader.biHeight < 0) return std::nullopt;
    // The plain layout is the same header uncompressed; the colour table stays where it was.
    BITMAPINFO plain{};
    plain.bmiHeader = info->bmiHeader;
    plain.bmiHeader.biCompression = BI_RGB;
    plain.bmiHeader.biSizeImage = 0;
    if (plain.bmiHeader.biSize > sizeof(BITMAPINFOHEADER)) plain.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    DibCheck check = checkDib(&plain, sizeof(BITMAPINFOHEADER));
    if (!check.layout) return std::nullopt;
    const int expected = compression == BI_RLE8 ? 8 : 4;
    if (check.layout->bitsPerPixel != expected) return std::nullopt;
    // Back to the caller's header size, so that the colour table is found where the caller put it.
    const size_t shift = info->bmiHeader.biSize - plain.bmiHeader.biSize;
    check.layout->colorOffset += shift;
    check.layout->bitsOffset += shift;
    return check.layout;
}

std::vector<uint8_t> expandRle(const DibLayout& plain, bool fourBits, const uint8_t* bits, size_t size) {
    RleCanvas canvas(plain, fourBits);
    ByteReader in(bits, size);
    while (!canvas.done()) {
        const uint8_t count = in.u8();
        const uint8_t code = in.u8();
        if (!in.ok()) break;
        if (count > 0) {
            for (int i = 0; i < count; ++i) canvas.put(indexOf(code, fourBits, i));
            continue;
        }
        if (code == 0) {
            canvas.nextLine();
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            const uint8_t dx = in.u8();
            const uint8_t dy = in.u8();
            if (!in.ok()) break;
            canvas.move(dx, dy);
        } else {
            const size_t bytes = fourBits ? (code + 1u) / 2 : code;
            const auto literal = in.view(bytes + (bytes % 2));
            if (literal.empty()) break;
            for (int i = 0; i < code; ++i)
                canvas.put(indexOf(literal[fourBits ? static_cast<size_t>(i) / 2 : static_cast<size_t>(i)], fourBits, i));
        }
    }
    return canvas.take();
}

}  // namespace winplat::gdi
