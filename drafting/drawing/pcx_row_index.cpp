#include "drawing/pcx_row_index.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "drawing/file_handle.h"
#include "drawing/file_names.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace linework {
namespace {

constexpr winplat::Refuser refuse("linework: PCX row index");
constexpr size_t kHeaderSize = 128;
constexpr size_t kBufferSize = 8192;

// Bytes of a source handed out one at a time, refilled a piece at a time; 'failed' once the
// source ends.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    bool Next(uint8_t& byte) {
        if (at_ == filled_ && !Refill()) return false;
        byte = buffer_[at_++];
        return true;
    }

protected:
    // Fills buffer_ from the source; false at its end.
    virtual size_t Fill(std::span<uint8_t> buffer) = 0;

private:
    bool Refill() {
        filled_ = Fill(buffer_);
        at_ = 0;
        return filled_ != 0;
    }
    std::array<uint8_t, kBufferSize> buffer_{};
    size_t filled_ = 0;
    size_t at_ = 0;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {}

protected:
    size_t Fill(std::span<uint8_t> buffer) override {
        DWORD read = 0;
        if (!ReadFile(file_, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return 0;
        return read;
    }

private:
    HANDLE file_;
};

class SpanSource : public ByteSource {
public:
    explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}

protected:
    size_t Fill(std::span<uint8_t> buffer) override {
        size_t count = std::min(buffer.size(), bytes_.size());
        std::copy_n(bytes_.begin(), count, buffer.begin());
        bytes_ = bytes_.subspan(count);
        return count;
    }

private:
    std::span<const uint8_t> bytes_;
};

struct PcxHeader {
    uint8_t manufacturer = 0;
    uint8_t encoding = 0;
    uint8_t bitsPerPixel = 0;
    int16_t ymin = 0;
    int16_t ymax = 0;
    uint8_t planes = 0;
    int16_t bytesPerLine = 0;
    int16_t paletteInfo = 0;
};

PcxHeader ParseHeader(std::span<const uint8_t, kHeaderSize> bytes) {
    winplat::ByteReader reader(bytes);
    PcxHeader header;
    header.manufacturer = reader.u8();
    reader.skip(1);
    header.encoding = reader.u8();
    header.bitsPerPixel = reader.u8();
    reader.seek(6);
    header.ymin = reader.i16();
    reader.seek(10);
    header.ymax = reader.i16();
    reader.seek(65);
    header.planes = reader.u8();
    header.bytesPerLine = reader.i16();
    header.paletteInfo = reader.i16();
    return header;
}

int LastColumn(const PcxHeader& header) {
    switch (header.bitsPerPixel) {
        case 1: return header.bytesPerLine * 8 - 1;
        case 2: return header.bytesPerLine * 4 - 1;
        case 4: return header.bytesPerLine * 2 - 1;
        case 8: return header.bytesPerLine - 1;
    }
    return -1;
}

uint8_t FormatBits(const PcxHeader& header) {
    return static_cast<uint8_t>((header.encoding == 1 ? 1 : 0) | (header.bitsPerPixel != 1 ? 2 : 0) |
                                (header.planes != 1 ? 4 : 0) | (header.paletteInfo == 2 ? 8 : 0));
}

uint16_t WithSource(uint16_t flags, uint16_t lowByte) { return static_cast<uint16_t>((flags & 0xFF00) | lowByte); }

// A file that could not be read at all: the low byte says only "not loaded".
PcxImageInfo NotLoaded(uint16_t flags) {
    PcxImageInfo info;
    info.flags = WithSource(flags, image_source::kNotLoaded);
    return info;
}

// A PCX file refused after its header was read: the format bits stay, the source is "not loaded".
PcxImageInfo Refused(uint16_t flags) {
    PcxImageInfo info;
    info.flags = WithSource(flags, (flags & 0x0F) | image_source::kNotLoaded);
    return info;
}

// Walks every row through the source, noting where each next row begins.
PcxImageInfo IndexRows(ByteSource& source, uint16_t flags) {
    std::array<uint8_t, kHeaderSize> headerBytes{};
    for (uint8_t& byte : headerBytes) {
        if (!source.Next(byte)) {
            refuse.log("the file ends inside its 128-byte header");
            return NotLoaded(flags);
        }
    }
    PcxHeader header = ParseHeader(headerBytes);
    PcxImageInfo info;
    int lastColumn = LastColumn(header);
    int lastRow = std::min(header.ymax - header.ymin, 32767);
    info.flags = WithSource(flags, FormatBits(header));
    if (header.manufacturer != 10 || header.encoding > 1 || lastColumn < 0 || lastRow < 0 || header.planes == 0) {
        refuse.log("not a PCX header this index reads (manufacturer, encoding, size or planes)");
        return Refused(info.flags);
    }
    info.lastColumn = static_cast<int16_t>(std::min(lastColumn, 32767));
    info.lastRow = static_cast<int16_t>(lastRow);
    const bool encoded = header.encoding == 1;
    const uint32_t rowBytes = static_cast<uint32_t>(header.bytesPerLine) * header.planes;
    RowTable rows(static_cast<size_t>(lastRow) + 2);
    uint32_t position = kHeaderSize;
    rows[0] = position;
    for (size_t row = 1; row < rows.size(); ++row) {
        uint32_t covered = 0;
        while (covered < rowBytes) {
            uint8_t byte = 0;
            if (!source.Next(byte)) {
                refuse.log("the file ends before its last row");
                return Refused(info.flags);
            }
            ++position;
            uint32_t run = 1;
            if (encoded && byte >= 0xC0) {
                run = byte & 0x3Fu;  // 0xC0: a run of nothing, its data byte consumed all the same
                if (!source.Next(byte)) {
                    refuse.log("the file ends inside a run");
                    return Refused(info.flags);
                }
                ++position;
            }
            covered += run;  // a run reaching past the row ends it: runs never carry over
        }
        rows[row] = position;
    }
    info.rows = std::move(rows);
    return info;
}

bool HasPcxExtension(const std::string& fileName) {
    std::string extension = GetFileNamePart(false, fileName);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".PCX";
}

// Width and height from a bitmap file's header ("BM", then the info header's sizes at 18).
bool ReadBitmapSize(HANDLE file, int32_t& width, int32_t& height) {
    std::array<uint8_t, 26> bytes{};
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), bytes.size(), &read, nullptr) || read != bytes.size()) return false;
    winplat::ByteReader reader(bytes);
    if (reader.u8() != 'B' || reader.u8() != 'M') return false;
    reader.seek(18);
    width = reader.i32();
    height = reader.i32();
    if (height < 0) height = -height;
    return reader.ok() && width > 0 && height > 0 && width <= 32768 && height <= 32768;
}

PcxImageInfo BitmapInfo(const std::string& fileName, bool loadBitmap, uint16_t flags) {
    PcxImageInfo info = NotLoaded(flags);
    FileHandle file = OpenForReading(fileName);
    if (!file) return info;
    if (!loadBitmap) {
        info.flags = WithSource(flags, image_source::kBitmap);
        return info;
    }
    int32_t width = 0;
    int32_t height = 0;
    if (!ReadBitmapSize(file.get(), width, height)) {
        refuse.log("not a bitmap whose size can be read");
        return info;
    }
    info.lastColumn = static_cast<int16_t>(width - 1);
    info.lastRow = static_cast<int16_t>(height - 1);
    info.flags = WithSource(flags, image_source::kBitmap);
    return info;
}

}  // namespace

PcxImageInfo IndexPcxBytes(std::span<const uint8_t> file, uint16_t flags) {
    SpanSource source(file);
    return IndexRows(source, flags);
}

PcxImageInfo ReadPcxImage(const std::string& fileName, bool loadBitmap, uint16_t flags) {
    if (!HasPcxExtension(fileName)) return BitmapInfo(fileName, loadBitmap, flags);
    FileHandle file = OpenForReading(fileName);
    if (!file) {
        refuse.log("the picture cannot be opened for reading");
        return NotLoaded(flags);
    }
    FileSource source(file.get());
    return IndexRows(source, flags);
}

}  // namespace linework
