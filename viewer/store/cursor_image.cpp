#include "store/cursor_image.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "store/disk_file.h"
#include "winplat/byte_reader.h"
#include "winplat/dib_header.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: cursor image");

constexpr uint32_t kFileHeaderSize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kBitmapHeaderSize = 40;
constexpr uint32_t kPaletteSize = 8;

// Exactly 'count' bytes from the file's current position, else none.
std::vector<uint8_t> readExactly(DiskFile& file, uint32_t count) {
    std::vector<uint8_t> bytes(count);
    if (count != 0 && file.Read(bytes.data(), count) != count) return {};
    return bytes;
}

bool readFileHeader(DiskFile& file, CursorImage& image) {
    const std::vector<uint8_t> bytes = readExactly(file, kFileHeaderSize + kEntrySize);
    winplat::ByteReader in(bytes.data(), bytes.size());
    image.reserved = in.u16();
    image.type = in.u16();
    image.count = in.u16();
    image.width = in.u8();
    image.height = in.u8();
    image.colourCount = in.u8();
    image.entryReserved = in.u8();
    image.hotX = in.u16();
    image.hotY = in.u16();
    image.bytesInPicture = in.u32();
    image.pictureOffset = in.u32();
    return in.ok();
}

bool readPictureHeader(DiskFile& file, CursorImage& image) {
    const std::vector<uint8_t> bytes = readExactly(file, kBitmapHeaderSize + kPaletteSize);
    winplat::ByteReader in(bytes.data(), bytes.size());
    image.header = winplat::readBitmapInfoHeader(in);
    image.palette[0] = in.u32();
    image.palette[1] = in.u32();
    return in.ok();
}

// The file keeps its rows bottom first; the area gets them top first.
bool readMask(DiskFile& file, uint32_t rows, uint32_t rowBytes,
              std::array<uint8_t, CursorImage::kMaskArea>& area) {
    const std::vector<uint8_t> bytes = readExactly(file, rows * rowBytes);
    if (bytes.size() != size_t{rows} * rowBytes) return false;
    for (uint32_t row = 0; row < rows; ++row) {
        const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
        std::copy(from, from + rowBytes,
                  area.begin() + static_cast<std::ptrdiff_t>((rows - 1 - row) * rowBytes));
    }
    return true;
}

int readFrom(DiskFile& file, CursorImage& image) {
    if (!readFileHeader(file, image)) return refuse(0, "the file is shorter than its header and first entry");
    if (image.count == 0) return refuse(0, "the file holds no picture");
    if (image.pictureOffset > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        return refuse(0, "the picture offset lies beyond any file");
    }
    file.Seek(static_cast<int32_t>(image.pictureOffset), DiskFile::kBegin);
    if (!readPictureHeader(file, image)) return refuse(0, "the picture's header is cut short");
    if (image.header.biWidth <= 0 || image.header.biHeight <= 0)
        return refuse(0, "the picture has no bottom-up size");
    const std::optional<CursorMaskShape> shape = CursorMaskShapeOf(image.header);
    if (!shape) return refuse(0, "the masks do not fit their 512-byte areas, in bytes or in rows");
    if (!readMask(file, shape->rows, shape->rowBytes, image.colourMask) ||
        !readMask(file, shape->rows, shape->rowBytes, image.transparencyMask)) {
        return refuse(0, "the masks are cut short");
    }
    return 1;
}

}  // namespace

std::optional<CursorMaskShape> CursorMaskShapeOf(const BITMAPINFOHEADER& header) {
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight;
    if (width <= 0 || height <= 0) return std::nullopt;
    const uint64_t rowBytes = (uint64_t{static_cast<uint32_t>(width)} + 3) / 4 / 2;
    const uint64_t rows = static_cast<uint32_t>(height) / 2;
    // Pictures 1 to 4 pixels wide have rows of 0 bytes, which any number of fits in the bytes: the
    // rows are bounded by the area too.
    if (rows > CursorImage::kMaskArea || rows * rowBytes > CursorImage::kMaskArea) return std::nullopt;
    return CursorMaskShape{static_cast<uint32_t>(rows), static_cast<uint32_t>(rowBytes)};
}

int ReadCursorImage(CursorImage& image, const char* path, uint32_t windowStart, uint32_t windowLength) {
    DiskFile file;
    if (!file.Open(path, DiskFile::kRead, windowStart, windowLength))
        return refuse(0, "the file cannot be opened");
    const int result = readFrom(file, image);
    file.Close();
    return result;
}

}  // namespace lect32
