#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_quiet.h"
#include "fuzz_scratch.h"
#include "fuzz_target.h"

namespace {

namespace fs = std::filesystem;

// The file the inputs are written to, removed when the run ends.
struct ScratchFile {
    fs::path path = fuzzScratchPath("pixmill_fuzz", ".bin");
    ~ScratchFile() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
};

const fs::path& scratch() {
    static const ScratchFile file;
    return file.path;
}

// Lends codecs a row of exactly the bytes they ask for, so the sanitizers catch a codec that
// decodes past it.
class ReadingSink final : public pixmill::RowSink {
public:
    explicit ReadingSink(const pixmill::RowLayout& layout) : layout_(layout), copy_(layout.stride) {}
    int16_t putRow(const uint8_t* row, int indexFromTop) override {
        if (indexFromTop < 0 || indexFromTop >= layout_.height) __builtin_trap();
        if (row == lent_.data()) {
            std::memcpy(copy_.data(), row, lent_.size());
        } else {
            std::memcpy(copy_.data(), row, layout_.stride);  // the sanitizers check the codec's buffer
        }
        return pixmill::kCodecOk;
    }
    uint8_t* rowTarget(int indexFromTop, size_t bytes) override {
        if (indexFromTop < 0 || indexFromTop >= layout_.height || bytes == 0 || bytes > layout_.stride) {
            return nullptr;
        }
        lent_.assign(bytes, 0);
        lent_.shrink_to_fit();
        return lent_.data();
    }

private:
    pixmill::RowLayout layout_;
    std::vector<uint8_t> copy_;
    std::vector<uint8_t> lent_;
};

class PatternSource final : public pixmill::RowSource {
public:
    void getRow(uint8_t* row, int indexFromTop) override {
        for (uint32_t i = 0; i < stride; ++i) row[i] = static_cast<uint8_t>(i * 7 + static_cast<uint32_t>(indexFromTop) * 13);
    }
    uint32_t stride = 0;
};

}  // namespace

void fuzzLoad(FuzzCodecFn info, FuzzCodecFn load, const uint8_t* data, size_t size) {
    const QuietInput quiet;  // library messages of damaged files
    {
        std::ofstream out(scratch(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    pixmill::ByteStream stream;
    if (!stream.openFile(("C:" + scratch().string()).c_str(), "rb")) return;
    pixmill::PxlCodecInfo record;
    pixmill::CodecCall call{record, stream};
    if (info(call) != pixmill::kCodecOk || record.width <= 0 || record.height <= 0) return;
    if (int64_t{record.width} * record.height > 4'000'000) return;
    stream.seek(0, SEEK_SET);
    ReadingSink sink(pixmill::prepareRowTransfer(record));
    call.sink = &sink;
    pixmill::startLoad();
    load(call);
}

FuzzBytes fuzzSeed(FuzzCodecFn save, int width, int height, int bits, int32_t option1, int16_t option2) {
    pixmill::PxlCodecInfo record;
    record.width = static_cast<int16_t>(width);
    record.height = static_cast<int16_t>(height);
    record.bitsPerPixel = static_cast<int16_t>(bits);
    record.sourceBitsPerPixel = static_cast<int16_t>(bits);  // the rows PatternSource hands out
    record.option1 = option1;
    record.option2 = option2;
    for (int i = 0; i < 256; ++i) record.setPaletteEntry(i, static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3));
    PatternSource source;
    source.stride = static_cast<uint32_t>((width * bits + 31) / 32 * 4);
    const fs::path path = scratch().string() + ".seed";
    {
        pixmill::ByteStream stream;
        if (!stream.openFile(("C:" + path.string()).c_str(), "wb")) return {};
        pixmill::CodecCall call{record, stream};
        call.source = &source;
        if (save(call) != pixmill::kCodecOk) return {};
    }
    std::ifstream in(path, std::ios::binary);
    FuzzBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::error_code ignored;
    fs::remove(path, ignored);
    return bytes;
}
