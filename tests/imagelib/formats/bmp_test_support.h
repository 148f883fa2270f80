// Helpers of the bitmap codec tests: bitmaps built field by field, a sink that keeps every row, a
// memory callback stream, and one call that reads a picture the way the front end does (info,
// back to the start, load) through a file, an OLE stream or callbacks.
#ifndef PIXMILL_TESTS_BMP_TEST_SUPPORT_H
#define PIXMILL_TESTS_BMP_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "formats/bmp_codec.h"
#include "formats/codec.h"
#include "winplat/ole.h"

namespace bmp_test {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void set16(Bytes& b, size_t at, uint32_t v) {
    b.at(at) = static_cast<uint8_t>(v);
    b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}
inline void set32(Bytes& b, size_t at, uint32_t v) {
    set16(b, at, v & 0xFFFF);
    set16(b, at + 2, v >> 16);
}
inline uint32_t get16(const Bytes& b, size_t at) {
    return b.at(at) | uint32_t{b.at(at + 1)} << 8;
}
inline uint32_t get32(const Bytes& b, size_t at) {
    return get16(b, at) | get16(b, at + 2) << 16;
}

inline uint32_t rowBytes(int width, int bits) {
    return (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
}

// A bitmap with a 40-byte (or longer) info header, assembled from its parts. Rows are given top
// row first and padded here; the file gets them in the order its height's sign says.
struct InfoBitmap {
    int width = 1;
    int height = 1;  // negative: top-down
    int bits = 24;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks;    // written inside a header of 52+ bytes, else right after it
    std::vector<uint32_t> palette;  // 0x00RRGGBB, written blue, green, red, 0
    std::vector<Bytes> rows;        // unpadded, top row first (ignored when 'pixels' is set)
    std::optional<Bytes> pixels;    // the pixel data as they stand in the file (RLE data)

    Bytes build() const {
        Bytes header;
        put32(header, headerSize);
        put32(header, static_cast<uint32_t>(width));
        put32(header, static_cast<uint32_t>(height));
        put16(header, 1);
        put16(header, static_cast<uint32_t>(bits));
        put32(header, compression);
        put32(header, imageSize);
        put32(header, 2835);
        put32(header, 2835);
        put32(header, colorsUsed);
        put32(header, 0);
        Bytes afterHeader;
        if (headerSize >= 52) {
            for (size_t i = 0; i < 4; ++i) put32(header, i < masks.size() ? masks[i] : 0);
        } else {
            for (uint32_t m : masks) put32(afterHeader, m);
        }
        header.resize(headerSize, 0);
        for (uint32_t c : palette) {
            afterHeader.push_back(static_cast<uint8_t>(c));
            afterHeader.push_back(static_cast<uint8_t>(c >> 8));
            afterHeader.push_back(static_cast<uint8_t>(c >> 16));
            afterHeader.push_back(0);
        }
        Bytes data;
        if (pixels) {
            data = *pixels;
        } else {
            const uint32_t stride = rowBytes(width, bits);
            for (size_t i = 0; i < rows.size(); ++i) {
                const Bytes& r = height < 0 ? rows[i] : rows[rows.size() - 1 - i];
                Bytes padded = r;
                padded.resize(stride, 0);
                data.insert(data.end(), padded.begin(), padded.end());
            }
        }
        Bytes file{'B', 'M'};
        const uint32_t offset = static_cast<uint32_t>(14 + header.size() + afterHeader.size());
        put32(file, static_cast<uint32_t>(offset + data.size()));
        put32(file, 0);
        put32(file, offset);
        file.insert(file.end(), header.begin(), header.end());
        file.insert(file.end(), afterHeader.begin(), afterHeader.end());
        file.insert(file.end(), data.begin(), data.end());
        return file;
    }
};

// Keeps every row handed over, checks each arrives once and inside the picture, and can ask the
// codec to stop after a number of rows. When it lends rows, each is a zeroed block of exactly the
// bytes the codec asked for (ASan catches a codec writing past it), kept at the start of a zeroed
// row once delivered, as an image's fresh row keeps it.
class CollectingSink final : public pixmill::RowSink {
  public:
    explicit CollectingSink(const pixmill::RowLayout& layout, int stopAfter = -1, bool lend = false)
        : layout_(layout), rows_(static_cast<size_t>(std::max(layout.height, 0))), stopAfter_(stopAfter),
          lend_(lend) {}

    int16_t putRow(const uint8_t* row, int indexFromTop) override {
        order.push_back(indexFromTop);
        if (indexFromTop < 0 || indexFromTop >= layout_.height) {
            ADD_FAILURE() << "row index " << indexFromTop << " outside 0.." << layout_.height - 1;
            return pixmill::kCodecOk;
        }
        Bytes& slot = rows_[static_cast<size_t>(indexFromTop)];
        if (!slot.empty()) ADD_FAILURE() << "row " << indexFromTop << " delivered twice";
        if (!lent_.empty() && row == lent_.data()) {
            if (lentIndex_ != indexFromTop) {
                ADD_FAILURE() << "row " << lentIndex_ << " delivered as " << indexFromTop;
            }
            slot.assign(layout_.stride, 0);
            std::copy(lent_.begin(), lent_.end(), slot.begin());
            ++inPlace;
        } else {
            slot.assign(row, row + layout_.stride);  // reads the whole stride: ASan checks the codec's buffer
        }
        if (stopAfter_ >= 0 && static_cast<int>(order.size()) >= stopAfter_) return pixmill::kCodecStopped;
        return pixmill::kCodecOk;
    }

    uint8_t* rowTarget(int indexFromTop, size_t bytes) override {
        const bool inside = indexFromTop >= 0 && indexFromTop < layout_.height;
        if (!lend_ || !inside || bytes == 0 || bytes > layout_.stride) {
            return nullptr;
        }
        lent_.assign(bytes, 0);
        lent_.shrink_to_fit();
        lentIndex_ = indexFromTop;
        return lent_.data();
    }

    const pixmill::RowLayout& layout() const { return layout_; }
    const std::vector<Bytes>& rows() const { return rows_; }
    bool complete() const {
        for (const Bytes& r : rows_) {
            if (r.empty()) return false;
        }
        return true;
    }

    std::vector<int> order;
    int inPlace = 0;  // rows delivered in the rows lent

  private:
    pixmill::RowLayout layout_;
    std::vector<Bytes> rows_;
    int stopAfter_;
    bool lend_;
    Bytes lent_;
    int lentIndex_ = -1;
};

// A callback stream over a byte vector. Writes land at the position and grow the vector; a
// write limit makes writes past it fail, like a full disk.
struct MemoryCallbacks {
    PxlStreamCallbacks callbacks{&MemoryCallbacks::read, &MemoryCallbacks::write, &MemoryCallbacks::seek,
                                 &MemoryCallbacks::tell};
    Bytes data;
    int64_t position = 0;
    size_t writeLimit = SIZE_MAX;

    static MemoryCallbacks& of(PxlStreamCallbacks* self) { return *reinterpret_cast<MemoryCallbacks*>(self); }
    static int32_t read(PxlStreamCallbacks* self, void* buffer, int32_t count) {
        MemoryCallbacks& m = of(self);
        if (count < 0 || m.position < 0 || static_cast<size_t>(m.position) >= m.data.size()) return 0;
        const size_t n =
            std::min(static_cast<size_t>(count), m.data.size() - static_cast<size_t>(m.position));
        std::memcpy(buffer, m.data.data() + m.position, n);
        m.position += static_cast<int64_t>(n);
        return static_cast<int32_t>(n);
    }
    static int32_t write(PxlStreamCallbacks* self, const void* buffer, int32_t count) {
        MemoryCallbacks& m = of(self);
        if (count < 0 || m.position < 0) return 0;
        const size_t end = static_cast<size_t>(m.position) + static_cast<size_t>(count);
        if (end > m.writeLimit) return 0;
        if (end > m.data.size()) m.data.resize(end);
        std::memcpy(m.data.data() + m.position, buffer, static_cast<size_t>(count));
        m.position = static_cast<int64_t>(end);
        return count;
    }
    static int32_t seek(PxlStreamCallbacks* self, int32_t offset, int32_t origin) {
        MemoryCallbacks& m = of(self);
        const int64_t base = origin == 0 ? 0 : origin == 1 ? m.position : static_cast<int64_t>(m.data.size());
        m.position = base + offset;
        return 0;
    }
    static int32_t tell(PxlStreamCallbacks* self) { return static_cast<int32_t>(of(self).position); }
};
static_assert(std::is_standard_layout_v<MemoryCallbacks> && offsetof(MemoryCallbacks, callbacks) == 0);

// An IStream over memory, released with the holder.
struct OleMemory {
    IStream* stream = nullptr;
    explicit OleMemory(const Bytes& bytes = {}) {
        if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !stream) {
            ADD_FAILURE() << "no memory stream";
            stream = nullptr;
            return;
        }
        ULONG written = 0;
        if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
        seekTo(0);
    }
    ~OleMemory() {
        if (stream) stream->Release();
    }
    OleMemory(const OleMemory&) = delete;
    OleMemory& operator=(const OleMemory&) = delete;
    void seekTo(int64_t position) {
        LARGE_INTEGER move;
        move.QuadPart = position;
        stream->Seek(move, STREAM_SEEK_SET, nullptr);
    }
    int64_t position() {
        LARGE_INTEGER none;
        none.QuadPart = 0;
        ULARGE_INTEGER at;
        at.QuadPart = 0;
        stream->Seek(none, STREAM_SEEK_CUR, &at);
        return static_cast<int64_t>(at.QuadPart);
    }
    Bytes contents() {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        Bytes out(static_cast<size_t>(stat.cbSize.QuadPart));
        seekTo(0);
        ULONG got = 0;
        if (!out.empty()) stream->Read(out.data(), static_cast<ULONG>(out.size()), &got);
        return out;
    }
};

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        const auto base = std::filesystem::temp_directory_path();
        for (int i = 0;; ++i) {
            path_ = base / ("pixmill_bmp_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++) +
                            "_" + std::to_string(i));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }

  private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The layer's name of a host path: drive C: is the host's root.
inline std::string windowsPath(const std::filesystem::path& host) {
    return "C:" + host.string();
}

enum class Form { File, Ole, Callbacks };

inline const char* formName(Form f) {
    return f == Form::File ? "file" : f == Form::Ole ? "OLE stream" : "callbacks";
}

// What reading a picture gave.
struct Decoded {
    int16_t infoResult = -1;
    int16_t loadResult = -1;
    pixmill::PxlCodecInfo info;
    std::optional<CollectingSink> sink;
    int ticks = 0;

    bool ok() const { return infoResult == 0 && loadResult == 0 && sink && sink->complete(); }
    int depth() const { return sink->layout().depth; }

    // The colour of a pixel as 0x00RRGGBB (indexed pixels through the record's palette).
    uint32_t rgb(int x, int y) const {
        const Bytes& row = sink->rows().at(static_cast<size_t>(y));
        int index = 0;
        switch (depth()) {
            case 1:
                index = (row.at(static_cast<size_t>(x / 8)) >> (7 - x % 8)) & 1;
                break;
            case 4:
                index = (row.at(static_cast<size_t>(x / 2)) >> (x % 2 ? 0 : 4)) & 15;
                break;
            case 8:
                index = row.at(static_cast<size_t>(x));
                break;
            default: {
                const size_t at = static_cast<size_t>(x) * (depth() / 8);
                return uint32_t{row.at(at + 2)} << 16 | uint32_t{row.at(at + 1)} << 8 | row.at(at);
            }
        }
        const auto& p = info.palette;
        return uint32_t{p[3 * index]} << 16 | uint32_t{p[3 * index + 1]} << 8 | p[3 * index + 2];
    }
};

inline thread_local int* tickCounter = nullptr;
inline void countTick() {
    if (tickCounter) ++*tickCounter;
}

// Runs info and load on the bytes as the front end does. With a file, the picture may stand at an
// offset inside it (bytes before it are 'prefix'). stopAfter makes the sink stop after that many rows.
inline Decoded decode(const Bytes& bitmap, Form form, int stopAfter = -1, const Bytes& prefix = {}) {
    Decoded d;
    d.info = pixmill::PxlCodecInfo{};
    tickCounter = &d.ticks;
    auto run = [&](pixmill::ByteStream& stream, int64_t offset) {
        pixmill::CodecCall call{d.info, stream};
        call.offset = offset;
        call.progress = &countTick;
        d.infoResult = pixmill::bmpInfo(call);
        if (d.infoResult != 0) return;
        stream.seek(offset, SEEK_SET);
        d.sink.emplace(pixmill::prepareRowTransfer(d.info), stopAfter);
        call.sink = &*d.sink;
        d.loadResult = pixmill::bmpLoad(call);
    };
    if (form == Form::File) {
        TempFolder folder;
        Bytes whole = prefix;
        whole.insert(whole.end(), bitmap.begin(), bitmap.end());
        writeFile(folder.file("picture.bmp"), whole);
        pixmill::ByteStream stream;
        if (!stream.openFile(windowsPath(folder.file("picture.bmp")).c_str(), "rb")) {
            ADD_FAILURE() << "cannot open the test file";
        } else {
            stream.seek(static_cast<int64_t>(prefix.size()), SEEK_SET);
            run(stream, static_cast<int64_t>(prefix.size()));
        }
    } else if (form == Form::Ole) {
        OleMemory memory(bitmap);
        pixmill::ByteStream stream(memory.stream);
        run(stream, 0);
    } else {
        MemoryCallbacks memory;
        memory.data = bitmap;
        pixmill::ByteStream stream(&memory.callbacks);
        run(stream, 0);
    }
    tickCounter = nullptr;
    return d;
}

// A row source over rows given top row first, each already at the image's stride.
class VectorSource final : public pixmill::RowSource {
  public:
    explicit VectorSource(std::vector<Bytes> rows) : rows_(std::move(rows)) {}
    void getRow(uint8_t* row, int indexFromTop) override {
        requested.push_back(indexFromTop);
        const Bytes& r = rows_.at(static_cast<size_t>(indexFromTop));
        std::memcpy(row, r.data(), r.size());
    }
    std::vector<int> requested;

  private:
    std::vector<Bytes> rows_;
};

}  // namespace bmp_test

#endif
