// GIF files made byte by byte for the tests: a small LZW encoder (with clears when the table is
// full, or the deferred clear that keeps a full table), a writer of raw code sequences, sub-block
// packing, and a builder of headers, colour tables, extensions and images.
#ifndef PIXMILL_TESTS_GIF_TEST_SUPPORT_H
#define PIXMILL_TESTS_GIF_TEST_SUPPORT_H

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "codec_run_support.h"
#include "formats/gif_codec.h"

namespace gif_test {

using codec_test::Bytes;
using bmp_test::put16;

// Codes of varying width, least significant bit first.
class CodeWriter {
public:
    void put(int code, int width) {
        bits_ |= static_cast<uint64_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<uint8_t>(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes finish() {
        if (count_ > 0) bytes_.push_back(static_cast<uint8_t>(bits_));
        count_ = 0;
        bits_ = 0;
        return bytes_;
    }

private:
    Bytes bytes_;
    uint64_t bits_ = 0;
    int count_ = 0;
};

enum class WhenFull { Clear, Keep };

// Encodes indexes as GIF LZW data (before sub-blocking). The code width follows the decoder's
// table, which runs one entry behind the encoder's.
inline Bytes lzwEncode(const std::vector<uint8_t>& pixels, int minimumCodeSize, WhenFull whenFull = WhenFull::Clear) {
    const int clear = 1 << minimumCodeSize, end = clear + 1;
    CodeWriter out;
    std::map<std::pair<int, uint8_t>, int> table;
    int nextFree = clear + 2, width = minimumCodeSize + 1;
    auto added = [&] {
        if (nextFree < 4096) ++nextFree;
        if (nextFree == (1 << width) + 1 && width < 12) ++width;
    };
    out.put(clear, width);
    if (pixels.empty()) {
        out.put(end, width);
        return out.finish();
    }
    int prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const uint8_t c = pixels[i];
        auto found = table.find({prefix, c});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, width);
        if (nextFree < 4096) table[{prefix, c}] = nextFree;
        added();
        if (nextFree == 4096 && whenFull == WhenFull::Clear) {
            // The decoder's table fills with its next code: start both afresh.
            out.put(clear, width);
            table.clear();
            nextFree = clear + 2;
            width = minimumCodeSize + 1;
        }
        prefix = c;
    }
    out.put(prefix, width);
    added();
    out.put(end, width);
    return out.finish();
}

// Data split into sub-blocks and ended by the zero-length one.
inline Bytes subBlocks(const Bytes& data, size_t size = 255, bool terminated = true) {
    Bytes b;
    for (size_t at = 0; at < data.size(); at += size) {
        const size_t n = std::min(size, data.size() - at);
        b.push_back(static_cast<uint8_t>(n));
        b.insert(b.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
    }
    if (terminated) b.push_back(0);
    return b;
}

// A colour for each palette entry that tells entries apart.
inline uint32_t colourOf(int i, int salt = 0) {
    return static_cast<uint32_t>(((i * 37 + salt) & 255) << 16 | ((i * 91 + 3 * salt) & 255) << 8 | ((255 - i) & 255));
}

inline void putTable(Bytes& b, int bits, int salt) {
    for (int i = 0; i < (1 << bits); ++i) {
        const uint32_t c = colourOf(i, salt);
        b.insert(b.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    }
}

struct Image {
    int left = 0, top = 0, width = 1, height = 1;
    bool interlaced = false;
    int localBits = 0;  // 0: no local table
    int localSalt = 50;
    std::vector<uint8_t> pixels;  // display order, top row first
    int minimumCodeSize = 0;      // 0: from the depth (at least 2)
    std::optional<Bytes> data;    // the sub-blocks as they stand, instead of encoding 'pixels'
    WhenFull whenFull = WhenFull::Clear;
};

// The rows in the order an interlaced image stores them.
inline std::vector<uint8_t> interlaceOrder(const std::vector<uint8_t>& pixels, int width, int height) {
    std::vector<uint8_t> out;
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) {
            out.insert(out.end(), pixels.begin() + static_cast<long>(y) * width,
                       pixels.begin() + static_cast<long>(y + 1) * width);
        }
    }
    return out;
}

class GifFile {
public:
    // globalBits 0: no global table.
    explicit GifFile(int width, int height, int globalBits = 8, const char* signature = "GIF89a", int background = 0) {
        bytes_.assign(signature, signature + 6);
        put16(bytes_, static_cast<uint32_t>(width));
        put16(bytes_, static_cast<uint32_t>(height));
        bytes_.push_back(static_cast<uint8_t>(globalBits ? 0x80 | (globalBits - 1) | (globalBits - 1) << 4 : 0));
        bytes_.push_back(static_cast<uint8_t>(background));
        bytes_.push_back(0);
        if (globalBits) putTable(bytes_, globalBits, 0);
        globalBits_ = globalBits;
    }

    GifFile& control(int delay, int disposal = 0, int transparent = -1) {
        bytes_.insert(bytes_.end(), {0x21, 0xF9, 4});
        bytes_.push_back(static_cast<uint8_t>((disposal & 7) << 2 | (transparent >= 0 ? 1 : 0)));
        put16(bytes_, static_cast<uint32_t>(delay));
        bytes_.push_back(static_cast<uint8_t>(transparent >= 0 ? transparent : 0));
        bytes_.push_back(0);
        return *this;
    }
    GifFile& comment(const std::string& text, size_t piece = 255) {
        bytes_.insert(bytes_.end(), {0x21, 0xFE});
        const Bytes b = subBlocks(Bytes(text.begin(), text.end()), piece);
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    GifFile& application(const std::string& identifier, const std::vector<Bytes>& blocks) {
        bytes_.insert(bytes_.end(), {0x21, 0xFF, static_cast<uint8_t>(identifier.size())});
        bytes_.insert(bytes_.end(), identifier.begin(), identifier.end());
        for (const Bytes& block : blocks) {
            bytes_.push_back(static_cast<uint8_t>(block.size()));
            bytes_.insert(bytes_.end(), block.begin(), block.end());
        }
        bytes_.push_back(0);
        return *this;
    }
    GifFile& loop(int count, const std::string& identifier = "NETSCAPE2.0") {
        return application(identifier, {Bytes{1, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)}});
    }
    GifFile& plainText() {
        bytes_.insert(bytes_.end(), {0x21, 0x01, 12, 0, 0, 0, 0, 10, 0, 10, 0, 8, 8, 1, 0});
        const Bytes b = subBlocks(Bytes{'h', 'e', 'l', 'l', 'o'});
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    GifFile& raw(const Bytes& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    GifFile& image(const Image& im) {
        bytes_.push_back(0x2C);
        put16(bytes_, static_cast<uint32_t>(im.left));
        put16(bytes_, static_cast<uint32_t>(im.top));
        put16(bytes_, static_cast<uint32_t>(im.width));
        put16(bytes_, static_cast<uint32_t>(im.height));
        bytes_.push_back(static_cast<uint8_t>((im.localBits ? 0x80 | (im.localBits - 1) : 0) | (im.interlaced ? 0x40 : 0)));
        if (im.localBits) putTable(bytes_, im.localBits, im.localSalt);
        const int depth = im.localBits ? im.localBits : std::max(globalBits_, 1);
        const int code = im.minimumCodeSize ? im.minimumCodeSize : std::max(depth, 2);
        bytes_.push_back(static_cast<uint8_t>(code));
        if (im.data) {
            bytes_.insert(bytes_.end(), im.data->begin(), im.data->end());
        } else {
            const std::vector<uint8_t> order =
                im.interlaced ? interlaceOrder(im.pixels, im.width, im.height) : im.pixels;
            const Bytes b = subBlocks(lzwEncode(order, code, im.whenFull));
            bytes_.insert(bytes_.end(), b.begin(), b.end());
        }
        return *this;
    }
    Bytes done() const {
        Bytes b = bytes_;
        b.push_back(0x3B);
        return b;
    }
    const Bytes& soFar() const { return bytes_; }

private:
    Bytes bytes_;
    int globalBits_ = 8;
};

// Pixels whose value tells the position, within 'colours' indexes.
inline std::vector<uint8_t> pattern(int width, int height, int colours, int salt = 0) {
    std::vector<uint8_t> p;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) p.push_back(static_cast<uint8_t>((x * 3 + y * 7 + salt + (x * y) / 5) % colours));
    }
    return p;
}

// Four frames that differ in size, place, depth, interlacing, timing and texts, with filler bytes,
// a plain-text block and texts after the last image.
inline Bytes fourFrames() {
    Image a;
    a.width = 12;
    a.height = 9;
    a.pixels = pattern(12, 9, 16);
    Image b;
    b.left = 3;
    b.top = 2;
    b.width = 5;
    b.height = 6;
    b.localBits = 3;
    b.interlaced = true;
    b.pixels = pattern(5, 6, 8, 2);
    Image c;
    c.left = 1;
    c.width = 7;
    c.height = 3;
    c.pixels = pattern(7, 3, 16, 5);
    Image d;
    d.top = 4;
    d.width = 4;
    d.height = 4;
    d.localBits = 2;
    d.localSalt = 9;
    d.pixels = pattern(4, 4, 4, 1);
    const std::string title = "KVATITLE4.0", textBlock = "KVATEXTI4.0";
    Bytes fields(85, 7);
    return GifFile(12, 9, 4)
        .loop(3)
        .control(5, 1)
        .comment("first")
        .image(a)
        .raw({0xFF, 0xFF})
        .control(7, 2, 3)
        .application(textBlock, {fields, Bytes{'h', 'i'}})
        .image(b)
        .comment("between")
        .plainText()
        .image(c)
        .control(9, 3)
        .image(d)
        .application(title, {Bytes{'a', '|', 'b', '|', '|', 'd'}})
        .comment("after")
        .done();
}

// A file's modification time in nanoseconds, read and set.
inline int64_t modifiedNs(const std::filesystem::path& file) {
    struct stat facts {};
    EXPECT_EQ(::stat(file.c_str(), &facts), 0);
    return int64_t{facts.st_mtim.tv_sec} * 1'000'000'000 + facts.st_mtim.tv_nsec;
}

inline void setModifiedNs(const std::filesystem::path& file, int64_t ns) {
    const timespec times[2] = {{0, UTIME_OMIT}, {ns / 1'000'000'000, ns % 1'000'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

inline codec_test::CodecRun readGif(const Bytes& bytes, int16_t frame = 0, int stopAfter = -1) {
    codec_test::RunOptions o;
    o.wantedFrame = frame;
    o.stopAfter = stopAfter;
    return codec_test::runCodec(pixmill::gifInfo, pixmill::gifLoad, bytes, bmp_test::Form::File, o);
}

}  // namespace gif_test

#endif
