#include "winforms/bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "winplat/byte_reader.h"
#include "winplat/dib_header.h"
#include "winplat/files.h"
#include "winplat/refusal.h"

namespace winforms {
namespace {

constexpr winplat::Refuser refuseBitmap("winforms: Bitmap");

// Bitmaps larger than this are refused before anything is allocated: a damaged header cannot ask
// for gigabytes.
constexpr int64_t kMaxSide = 32768;
constexpr int64_t kMaxPixels = int64_t{1} << 26;

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

size_t StrideOf(int width, int bits) { return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4; }

std::vector<RGBQUAD> DefaultColors(PixelFormat format) {
    std::vector<RGBQUAD> colors;
    switch (format) {
        case PixelFormat::Bits1:
            colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
            break;
        case PixelFormat::Bits4: {
            static const uint8_t vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                               {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                               {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                               {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
            for (const auto& c : vga) colors.push_back(RGBQUAD{c[2], c[1], c[0], 0});
            break;
        }
        case PixelFormat::Bits8:
            for (int i = 0; i < 256; ++i) {
                const auto v = static_cast<uint8_t>(i);
                colors.push_back(RGBQUAD{v, v, v, 0});
            }
            break;
        default:
            break;
    }
    return colors;
}

std::optional<PixelFormat> FormatOfBits(int bits) {
    switch (bits) {
        case 1:
            return PixelFormat::Bits1;
        case 4:
            return PixelFormat::Bits4;
        case 8:
            return PixelFormat::Bits8;
        case 16:
        case 24:
            return PixelFormat::Bits24;
        case 32:
            return PixelFormat::Bits32;
        default:
            return std::nullopt;
    }
}

// A BITMAPINFO in a byte buffer: the 40-byte header, three masks when they are bit fields, the
// colour table.
std::vector<uint8_t> InfoBytes(const BITMAPINFOHEADER& header, const DWORD* masks, std::span<const RGBQUAD> colors) {
    std::vector<uint8_t> bytes(sizeof(BITMAPINFOHEADER) + (masks ? 12 : 0) + colors.size() * sizeof(RGBQUAD));
    std::memcpy(bytes.data(), &header, sizeof header);
    size_t at = sizeof header;
    if (masks) {
        std::memcpy(bytes.data() + at, masks, 12);
        at += 12;
    }
    if (!colors.empty()) std::memcpy(bytes.data() + at, colors.data(), colors.size() * sizeof(RGBQUAD));
    return bytes;
}

// What a BMP file holds, checked field by field, and the bits it points at.
struct BmpContents {
    BITMAPINFOHEADER header{};  // as the platform takes it: 40 bytes, the bits' own size
    DWORD masks[3] = {0, 0, 0};
    bool bitFields = false;
    std::vector<RGBQUAD> colors;
    std::span<const uint8_t> bits;
};

bool ReadHeader(winplat::ByteReader& in, BmpContents& bmp, uint32_t& headerSize) {
    headerSize = in.u32();
    if (!in.ok()) return refuseBitmap(false, "the file ends inside its header");
    BITMAPINFOHEADER& h = bmp.header;
    if (headerSize == kCoreHeaderSize) {
        h.biWidth = in.u16();
        h.biHeight = in.u16();
        h.biPlanes = in.u16();
        h.biBitCount = in.u16();
        h.biCompression = BI_RGB;
    } else if (headerSize >= kInfoHeaderSize) {
        in.seek(kFileHeaderSize);
        h = winplat::readBitmapInfoHeader(in);
        if (h.biCompression == BI_BITFIELDS) {
            // Masks follow a 40-byte header, or are its first fields beyond 40 in longer ones.
            for (DWORD& mask : bmp.masks) mask = in.u32();
            bmp.bitFields = true;
        }
        in.seek(kFileHeaderSize + headerSize + (headerSize == kInfoHeaderSize && bmp.bitFields ? 12 : 0));
    } else {
        return refuseBitmap(false, "an info header of an unknown size");
    }
    if (!in.ok()) return refuseBitmap(false, "the file ends inside its header");
    h.biSize = kInfoHeaderSize;
    return true;
}

bool CheckHeader(const BITMAPINFOHEADER& h) {
    if (h.biPlanes != 1) return refuseBitmap(false, "more than one plane");
    const int64_t height = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    if (h.biWidth <= 0 || height == 0) return refuseBitmap(false, "no pixels");
    if (h.biWidth > kMaxSide || height > kMaxSide || int64_t{h.biWidth} * height > kMaxPixels)
        return refuseBitmap(false, "larger than the bitmaps the forms use");
    if (!FormatOfBits(h.biBitCount)) return refuseBitmap(false, "an unknown number of bits per pixel");
    switch (h.biCompression) {
        case BI_RGB:
            return true;
        case BI_RLE8:
        case BI_RLE4:
            if (h.biBitCount != (h.biCompression == BI_RLE8 ? 8 : 4))
                return refuseBitmap(false, "run-length encoding of another depth");
            if (h.biHeight < 0) return refuseBitmap(false, "run-length encoded rows stored top-down");
            return true;
        case BI_BITFIELDS:
            if (h.biBitCount != 16 && h.biBitCount != 32) return refuseBitmap(false, "bit fields of another depth");
            return true;
        default:
            return refuseBitmap(false, "an unknown compression");
    }
}

bool ReadColors(winplat::ByteReader& in, uint32_t headerSize, BmpContents& bmp) {
    const BITMAPINFOHEADER& h = bmp.header;
    if (h.biBitCount > 8) {
        return true;  // a colour table of a deep bitmap is only a hint: not needed
    }
    const uint32_t full = 1u << h.biBitCount;
    if (h.biClrUsed > full) return refuseBitmap(false, "more colours than the depth holds");
    const uint32_t count = h.biClrUsed ? h.biClrUsed : full;
    const bool core = headerSize == kCoreHeaderSize;
    bmp.colors.assign(full, RGBQUAD{0, 0, 0, 0});
    for (uint32_t i = 0; i < count; ++i) {
        RGBQUAD& c = bmp.colors[i];
        c.rgbBlue = in.u8();
        c.rgbGreen = in.u8();
        c.rgbRed = in.u8();
        if (!core) in.u8();
    }
    if (!in.ok()) return refuseBitmap(false, "the file ends inside its colour table");
    bmp.header.biClrUsed = 0;
    return true;
}

bool ReadBits(std::span<const uint8_t> file, uint32_t offset, BmpContents& bmp) {
    BITMAPINFOHEADER& h = bmp.header;
    if (offset > file.size()) return refuseBitmap(false, "the bits start beyond the end of the file");
    const std::span<const uint8_t> rest = file.subspan(offset);
    if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
        // The encoded size, bounded by what the file holds (writers often leave it 0).
        const size_t size = h.biSizeImage && h.biSizeImage <= rest.size() ? h.biSizeImage : rest.size();
        if (size == 0) return refuseBitmap(false, "no run-length encoded bits");
        h.biSizeImage = static_cast<DWORD>(size);
        bmp.bits = rest.first(size);
        return true;
    }
    const int64_t height = h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight;
    const size_t need = StrideOf(h.biWidth, h.biBitCount) * static_cast<size_t>(height);
    if (need > rest.size()) return refuseBitmap(false, "the file ends inside its rows");
    h.biSizeImage = 0;
    bmp.bits = rest.first(need);
    return true;
}

std::optional<BmpContents> ParseBmp(std::span<const uint8_t> file) {
    winplat::ByteReader in(file);
    if (in.u8() != 'B' || in.u8() != 'M') return refuseBitmap(std::nullopt, "not a BMP file");
    in.u32();  // the file size, which writers fill in carelessly
    in.u32();  // reserved
    const uint32_t bitsOffset = in.u32();
    if (!in.ok()) return refuseBitmap(std::nullopt, "the file ends inside its header");
    BmpContents bmp;
    uint32_t headerSize = 0;
    if (!ReadHeader(in, bmp, headerSize)) return std::nullopt;
    if (!CheckHeader(bmp.header)) return std::nullopt;
    if (!ReadColors(in, headerSize, bmp)) return std::nullopt;
    if (!ReadBits(file, bitsOffset, bmp)) return std::nullopt;
    return bmp;
}

// The whole file, read through the platform's file calls; none when it cannot be read.
std::optional<std::vector<uint8_t>> ReadWhole(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return refuseBitmap(std::nullopt, "the file cannot be opened");
    const DWORD size = GetFileSize(file, nullptr);
    std::vector<uint8_t> bytes;
    bool ok = size != INVALID_FILE_SIZE && size <= kMaxPixels * 4 + (1u << 16);
    if (ok) {
        bytes.resize(size);
        DWORD read = 0;
        ok = ReadFile(file, bytes.data(), size, &read, nullptr) && read == size;
    }
    CloseHandle(file);
    if (!ok) return refuseBitmap(std::nullopt, "the file cannot be read whole");
    return bytes;
}

bool WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && ok;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

int BitsOf(PixelFormat format) {
    switch (format) {
        case PixelFormat::Bits1:
            return 1;
        case PixelFormat::Bits4:
            return 4;
        case PixelFormat::Bits8:
            return 8;
        case PixelFormat::Bits24:
            return 24;
        case PixelFormat::Bits32:
            return 32;
    }
    return 24;
}

// A DIB section of one format, selected into its own memory DC.
struct Bitmap::Pixels {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Bits24;
    winplat::MemoryDc dc;
    winplat::OwnedBitmap bitmap;
    HGDIOBJ original = nullptr;
    uint8_t* bits = nullptr;
    size_t stride = 0;

    // Made, but not yet selected, so SetDIBits may fill it.
    static std::optional<Pixels> Make(int width, int height, PixelFormat format, std::span<const RGBQUAD> colors) {
        Pixels p;
        p.width = width;
        p.height = height;
        p.format = format;
        BITMAPINFOHEADER header{};
        header.biSize = kInfoHeaderSize;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = static_cast<WORD>(BitsOf(format));
        header.biCompression = BI_RGB;
        const std::vector<uint8_t> info = InfoBytes(header, nullptr, colors);
        void* bits = nullptr;
        p.bitmap.reset(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                        &bits, nullptr, 0));
        p.dc.reset(CreateCompatibleDC(nullptr));
        if (!p.bitmap || !p.dc || !bits) return refuseBitmap(std::nullopt, "the platform made no bitmap");
        p.bits = static_cast<uint8_t*>(bits);
        p.stride = StrideOf(width, BitsOf(format));
        return p;
    }
    bool Select() {
        original = SelectObject(dc.get(), bitmap.get());
        return original != nullptr;
    }
    void Unselect() {
        if (original) SelectObject(dc.get(), original);
        original = nullptr;
    }
};

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format) { SetSize(width, height); }

Bitmap::~Bitmap() {
    canvas_.SetHandle(nullptr);
    if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
}

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this == &other) return *this;
    canvas_.SetHandle(nullptr);
    other.canvas_.SetHandle(nullptr);
    if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    format_ = other.format_;
    dc_ = std::move(other.dc_);
    bitmap_ = std::move(other.bitmap_);
    originalBitmap_ = std::exchange(other.originalBitmap_, nullptr);
    bits_ = std::exchange(other.bits_, nullptr);
    stride_ = std::exchange(other.stride_, 0);
    transparent_ = other.transparent_;
    transparentColor_ = other.transparentColor_;
    canvas_.SetHandle(dc_.get());
    return *this;
}

void Bitmap::Clear() {
    canvas_.SetHandle(nullptr);
    if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    bits_ = nullptr;
    stride_ = 0;
    width_ = height_ = 0;
}

bool Bitmap::Adopt(Pixels pixels) {
    if (!pixels.original && !pixels.Select()) return refuseBitmap(false, "the bitmap could not be selected");
    canvas_.SetHandle(nullptr);
    if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
    width_ = pixels.width;
    height_ = pixels.height;
    format_ = pixels.format;
    dc_ = std::move(pixels.dc);
    bitmap_ = std::move(pixels.bitmap);
    originalBitmap_ = std::exchange(pixels.original, nullptr);
    bits_ = pixels.bits;
    stride_ = pixels.stride;
    canvas_.SetHandle(dc_.get());
    return true;
}

bool Bitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide || int64_t{width} * height > kMaxPixels)
        return refuseBitmap(false, "a size out of range");
    if (width == width_ && height == height_ && bitmap_) return true;
    if (width == 0 || height == 0) {
        Clear();
        return true;
    }
    const std::vector<RGBQUAD> colors = bitmap_ ? ColorTable() : DefaultColors(format_);
    auto pixels = Pixels::Make(width, height, format_, colors);
    if (!pixels || !pixels->Select()) return false;
    PatBlt(pixels->dc.get(), 0, 0, width, height, WHITENESS);
    if (bitmap_) BitBlt(pixels->dc.get(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
    return Adopt(std::move(*pixels));
}

bool Bitmap::SetFormat(PixelFormat format) {
    if (format == format_) return true;
    if (Empty()) {
        format_ = format;
        return true;
    }
    auto pixels = Pixels::Make(width_, height_, format, DefaultColors(format));
    if (!pixels || !pixels->Select()) return false;
    BitBlt(pixels->dc.get(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
    return Adopt(std::move(*pixels));
}

std::vector<RGBQUAD> Bitmap::ColorTable() const {
    if (!dc_ || BitsOf(format_) > 8) return {};
    std::vector<RGBQUAD> colors(size_t{1} << BitsOf(format_));
    colors.resize(GetDIBColorTable(dc_.get(), 0, static_cast<UINT>(colors.size()), colors.data()));
    return colors;
}

bool Bitmap::SetColorTable(std::span<const RGBQUAD> colors) {
    if (!dc_ || BitsOf(format_) > 8) return refuseBitmap(false, "no colour table to set");
    return SetDIBColorTable(dc_.get(), 0, static_cast<UINT>(colors.size()), colors.data()) > 0;
}

COLORREF Bitmap::TransparentColor() const {
    if (transparentColor_) return *transparentColor_;
    if (Empty()) return RGB(0, 0, 0);
    return GetPixel(dc_.get(), 0, height_ - 1);
}

std::span<const uint8_t> Bitmap::Row(int y) const {
    if (!bits_ || y < 0 || y >= height_) return {};
    // The section is stored bottom-up.
    return std::span<const uint8_t>(bits_ + static_cast<size_t>(height_ - 1 - y) * stride_, stride_);
}

bool Bitmap::LoadFromBytes(std::span<const uint8_t> bytes) {
    const auto bmp = ParseBmp(bytes);
    if (!bmp) return false;
    const int height = bmp->header.biHeight < 0 ? -bmp->header.biHeight : bmp->header.biHeight;
    const PixelFormat format = *FormatOfBits(bmp->header.biBitCount);
    auto pixels = Pixels::Make(bmp->header.biWidth, height, format, bmp->colors);
    if (!pixels) return false;
    const std::vector<uint8_t> info = InfoBytes(bmp->header, bmp->bitFields ? bmp->masks : nullptr, bmp->colors);
    const int rows = SetDIBits(pixels->dc.get(), pixels->bitmap.get(), 0, static_cast<UINT>(height), bmp->bits.data(),
                               reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    if (rows != height) return refuseBitmap(false, "the platform did not take the rows");
    return Adopt(std::move(*pixels));
}

bool Bitmap::LoadFromFile(const std::string& path) {
    const auto bytes = ReadWhole(path);
    return bytes && LoadFromBytes(*bytes);
}

std::vector<uint8_t> Bitmap::SaveToBytes() const {
    std::vector<uint8_t> out;
    if (Empty()) return out;
    const int bits = BitsOf(format_);
    const std::vector<RGBQUAD> colors = ColorTable();
    const size_t offset = kFileHeaderSize + kInfoHeaderSize + colors.size() * 4;
    const size_t image = stride_ * static_cast<size_t>(height_);
    out.reserve(offset + image);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(offset + image));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(offset));
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(width_));
    Put32(out, static_cast<uint32_t>(height_));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, BI_RGB);
    Put32(out, static_cast<uint32_t>(image));
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // every colour of the depth is in the table
    Put32(out, 0);
    for (const RGBQUAD& c : colors) {
        out.push_back(c.rgbBlue);
        out.push_back(c.rgbGreen);
        out.push_back(c.rgbRed);
        out.push_back(0);
    }
    GdiFlush();
    // The section's rows are bottom-up already, as the file keeps them.
    out.insert(out.end(), bits_, bits_ + image);
    return out;
}

bool Bitmap::SaveToFile(const std::string& path) const {
    if (Empty()) return refuseBitmap(false, "an empty bitmap");
    const std::string temporary = path + ".~tmp";
    if (!WriteWhole(temporary, SaveToBytes())) {
        DeleteFileA(temporary.c_str());
        return refuseBitmap(false, "the temporary file cannot be written");
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return refuseBitmap(false, "the temporary file cannot replace the target");
    }
    return true;
}

}  // namespace winforms
