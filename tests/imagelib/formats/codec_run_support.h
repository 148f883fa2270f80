// Runs any codec's info reader and loader on bytes the way the front end does (info, back to the
// picture's start, load), through a file (with the picture at an offset inside it), an OLE
// stream or callbacks; the sink keeps every row. Builds on the bitmap tests' helpers.
#ifndef PIXMILL_TESTS_CODEC_RUN_SUPPORT_H
#define PIXMILL_TESTS_CODEC_RUN_SUPPORT_H

#include <array>
#include <optional>

#include "bmp_test_support.h"
#include "formats/format_registry.h"

namespace codec_test {

using bmp_test::Bytes;
using bmp_test::Decoded;
using bmp_test::Form;

struct RunOptions {
    int stopAfter = -1;   // the sink stops after this many rows
    Bytes prefix;         // bytes before the picture in the file
    int16_t wantedFrame = 0;
    int16_t gifFrameWord = 1;  // as loads start it
    bool withEntries = false;  // hand the codec a transparency entry array
};

inline RunOptions wantedFrame(int16_t frame) {
    RunOptions o;
    o.wantedFrame = frame;
    return o;
}
inline RunOptions stopAfter(int rows) {
    RunOptions o;
    o.stopAfter = rows;
    return o;
}
inline RunOptions atOffset(Bytes prefix) {
    RunOptions o;
    o.prefix = std::move(prefix);
    return o;
}

struct CodecRun : Decoded {
    std::array<PxlTransparencyEntry, 10> entries{};
    int32_t entryCount = -1;
    int64_t positionAfterInfo = -1;  // stream kinds
    int64_t positionAfterLoad = -1;
};

inline CodecRun runCodec(pixmill::CodecFn info, pixmill::CodecFn load, const Bytes& bytes, Form form,
                    const RunOptions& options = {}) {
    CodecRun d;
    d.info = pixmill::PxlCodecInfo{};
    d.info.wantedFrame = options.wantedFrame;
    d.info.gifFrameWord = options.gifFrameWord;
    bmp_test::tickCounter = &d.ticks;
    auto go = [&](pixmill::ByteStream& stream, int64_t offset) {
        pixmill::CodecCall call{d.info, stream};
        call.offset = offset;
        call.progress = &bmp_test::countTick;
        if (options.withEntries) {
            d.entryCount = 0;
            call.entries = d.entries.data();
            call.entryCount = &d.entryCount;
        }
        d.infoResult = info(call);
        if (!stream.isFile()) d.positionAfterInfo = stream.tell();
        if (d.infoResult != 0) return;
        stream.seek(offset, SEEK_SET);
        d.sink.emplace(pixmill::prepareRowTransfer(d.info), options.stopAfter);
        call.sink = &*d.sink;
        d.loadResult = load(call);
        if (!stream.isFile()) d.positionAfterLoad = stream.tell();
    };
    if (form == Form::File) {
        bmp_test::TempFolder folder;
        Bytes whole = options.prefix;
        whole.insert(whole.end(), bytes.begin(), bytes.end());
        bmp_test::writeFile(folder.file("picture"), whole);
        pixmill::ByteStream stream;
        if (!stream.openFile(bmp_test::windowsPath(folder.file("picture")).c_str(), "rb")) {
            ADD_FAILURE() << "cannot open the test file";
        } else {
            stream.seek(static_cast<int64_t>(options.prefix.size()), SEEK_SET);
            go(stream, static_cast<int64_t>(options.prefix.size()));
        }
    } else if (form == Form::Ole) {
        bmp_test::OleMemory memory(bytes);
        pixmill::ByteStream stream(memory.stream);
        go(stream, 0);
    } else {
        bmp_test::MemoryCallbacks memory;
        memory.data = bytes;
        pixmill::ByteStream stream(&memory.callbacks);
        go(stream, 0);
    }
    bmp_test::tickCounter = nullptr;
    return d;
}

// The picture's pixel indexes (or colours, 0x00RRGGBB, above 8 bits) row by row from the top.
inline std::vector<uint32_t> pixelValues(const Decoded& d) {
    std::vector<uint32_t> out;
    const int depth = d.depth();
    for (int y = 0; y < d.info.height; ++y) {
        const Bytes& row = d.sink->rows().at(static_cast<size_t>(y));
        for (int x = 0; x < d.info.width; ++x) {
            const size_t at = static_cast<size_t>(x);
            switch (depth) {
                case 1:
                    out.push_back((row.at(at / 8) >> (7 - at % 8)) & 1);
                    break;
                case 4:
                    out.push_back((row.at(at / 2) >> (at % 2 ? 0 : 4)) & 15);
                    break;
                case 8:
                    out.push_back(row.at(at));
                    break;
                default:
                    out.push_back(d.rgb(x, y));
                    break;
            }
        }
    }
    return out;
}

}  // namespace codec_test

#endif
