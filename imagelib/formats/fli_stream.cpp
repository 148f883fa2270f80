// Playing FLI and FLC animations frame by frame: a stream reads one frame per call into its frame
// buffer and palette, and after the ring frame (the one that turns the last picture back into the
// first) goes on with the second frame.
//
// A frame is read whole (as far as the file has it) and its chunks are decoded from memory;
// damaged files end the frame with failure rather than loop or read past what is there.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"
#include "formats/fli_chunks.h"
#include "winplat/stdio_bridge.h"

using namespace pixmill;

namespace {

constexpr uint16_t kFliMagic = 0xAF11;
constexpr uint16_t kFlcMagic = 0xAF12;
constexpr uint16_t kPrefixFrame = 0xF100;
constexpr uint16_t kFrameType = 0xF1FA;
constexpr size_t kFileHeaderSize = 128;
constexpr size_t kFrameHeaderSize = 16;
constexpr size_t kChunkHeaderSize = 6;
constexpr int32_t kDefaultSpeed = 20;
// Larger frame buffers than 8192 x 8192 are refused: the sides are 16-bit, their product is not
// a size worth allocating.
constexpr size_t kMaxFramePixels = size_t{8192} * 8192;

int64_t fileLength(FILE* file) {
    const off_t here = ftello(file);
    if (fseeko(file, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end;
}

bool readAt(FILE* file, int64_t position, uint8_t* out, size_t count) {
    return fseeko(file, position, SEEK_SET) == 0 && std::fread(out, 1, count, file) == count;
}

enum class HeaderResult { Ok, Unreadable, BadMagic, BadDepth };

struct Header {
    uint16_t frames = 0, width = 0, height = 0;
    int32_t speed = kDefaultSpeed;
    int64_t firstFrame = kFileHeaderSize;
};

HeaderResult readHeader(FILE* file, Header& h) {
    uint8_t bytes[kFileHeaderSize];
    if (!readAt(file, 0, bytes, sizeof bytes)) return HeaderResult::Unreadable;
    winplat::ByteReader r(bytes, sizeof bytes);
    r.skip(4);  // the file's size
    const uint16_t magic = r.u16();
    if (magic != kFliMagic && magic != kFlcMagic) return HeaderResult::BadMagic;
    h.frames = r.u16();
    h.width = r.u16();
    h.height = r.u16();
    const uint16_t depth = r.u16();
    if (depth != 8 && depth != 0) return HeaderResult::BadDepth;
    r.skip(2);  // flags
    const uint64_t speed = r.u32();
    // FLI counts in 1/70 s, FLC in milliseconds.
    const uint64_t milliseconds = magic == kFliMagic ? speed * 1000 / 70 : speed;
    h.speed =
        milliseconds == 0 ? kDefaultSpeed : static_cast<int32_t>(std::min<uint64_t>(milliseconds, INT32_MAX));
    r.seek(80);
    h.firstFrame = magic == kFlcMagic ? r.u32() : kFileHeaderSize;
    return HeaderResult::Ok;
}

void startOver(FlicStream& s, const Header& h) {
    s.frameCount = h.frames;
    s.width = h.width;
    s.height = h.height;
    s.speed = h.speed;
    s.nextPosition = static_cast<int32_t>(std::min<int64_t>(h.firstFrame, INT32_MAX));
    s.currentFrame = 0;
    s.paletteChanged = 1;
}

struct FrameHeader {
    uint32_t size = 0;
    uint16_t type = 0;
    uint16_t chunks = 0;
};

bool readFrameHeader(FILE* file, int64_t position, FrameHeader& f) {
    uint8_t bytes[kFrameHeaderSize];
    if (!readAt(file, position, bytes, sizeof bytes)) return false;
    winplat::ByteReader r(bytes, sizeof bytes);
    f.size = r.u32();
    f.type = r.u16();
    f.chunks = r.u16();
    return f.size >= kFrameHeaderSize;
}

// The chunks of a frame whose data (after its header) are in memory.
bool decodeChunks(const std::vector<uint8_t>& data, uint16_t chunks, FlicCanvas& canvas) {
    uint64_t at = 0;
    for (int i = 0; i < chunks; ++i) {
        if (at + kChunkHeaderSize > data.size()) return false;
        winplat::ByteReader r(data.data(), data.size());
        r.seek(static_cast<size_t>(at));
        const uint32_t size = r.u32();
        const uint16_t type = r.u16();
        if (size < kChunkHeaderSize || !decodeFlicChunk(type, r, canvas)) return false;
        at += size;
    }
    return true;
}

int16_t nextFrame(FlicStream& s) {
    s.paletteChanged = 0;
    int64_t position = s.nextPosition;
    FrameHeader f;
    if (!readFrameHeader(s.file, position, f)) return 1;
    while (f.type == kPrefixFrame) {
        position += f.size;
        if (position > INT32_MAX || !readFrameHeader(s.file, position, f)) return 1;
        s.nextPosition = static_cast<int32_t>(position);
    }
    if (f.type != kFrameType) return 1;
    const int64_t dataStart = position + static_cast<int64_t>(kFrameHeaderSize);
    const int64_t available = std::max<int64_t>(0, fileLength(s.file) - dataStart);
    std::vector<uint8_t> data(static_cast<size_t>(std::min<int64_t>(f.size - kFrameHeaderSize, available)));
    if (!readAt(s.file, dataStart, data.data(), data.size())) return 1;
    FlicCanvas canvas{s.frame, s.width, s.height, s.palette, false};
    const bool decoded = decodeChunks(data, f.chunks, canvas);
    if (canvas.paletteChanged) s.paletteChanged = 1;
    const int64_t next = position + f.size;
    if (!decoded || next > INT32_MAX) return 1;
    s.nextPosition = static_cast<int32_t>(next);
    if (s.currentFrame++ == 0) s.loopPosition = s.nextPosition;
    if (s.currentFrame > s.frameCount) {
        s.nextPosition = s.loopPosition;
        s.currentFrame = 1;
    }
    return 0;
}

void freeStream(FlicStream* s) {
    if (!s) return;
    if (s->file) std::fclose(s->file);
    std::free(s->frame);
    std::free(s->palette);
    std::free(s);
}

}  // namespace

int16_t FLICFileOpen(FlicStream** out, const char* path) {
    if (!out) return -1;
    *out = nullptr;
    FILE* file = path ? winplat_fopen(path, "rb") : nullptr;
    if (!file) return -1;
    Header h;
    switch (readHeader(file, h)) {
        case HeaderResult::Ok:
            break;
        case HeaderResult::BadDepth:
            std::fclose(file);
            return 2;
        default:
            std::fclose(file);
            return 1;
    }
    const size_t pixels = size_t{h.width} * h.height;
    auto* s = static_cast<FlicStream*>(std::calloc(1, sizeof(FlicStream)));
    if (!s) {
        std::fclose(file);
        return -1;
    }
    s->file = file;
    s->palette = static_cast<uint8_t*>(std::calloc(768, 1));
    s->frame = pixels <= kMaxFramePixels ? static_cast<uint8_t*>(std::calloc(std::max<size_t>(pixels, 1), 1))
                                         : nullptr;
    if (!s->palette || !s->frame) {
        freeStream(s);
        return -1;
    }
    startOver(*s, h);
    *out = s;
    return 0;
}

int16_t FLICFileRelease(FlicStream* stream) {
    freeStream(stream);
    return 0;
}

int16_t FLICStreamGetNextFrame(FlicStream* stream) {
    if (!stream) return -1;
    try {
        return nextFrame(*stream);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

int16_t FLICStreamSetCurFrame(FlicStream* stream) {
    if (!stream) return 0;
    Header h;
    if (readHeader(stream->file, h) == HeaderResult::Ok && h.width == stream->width &&
        h.height == stream->height) {
        startOver(*stream, h);
    }
    return 0;
}

int16_t FLICStreamFillImage8(FlicStream* stream, PxlImageId id, int16_t paletteOnlyIfChanged) {
    if (!stream || id == 0) return -1;
    {
        ImageLock image = lockImage(id, Access::Write);
        if (!image || !image->header || image->bitCount() != 8) return -1;
        if (image->width() != stream->width || image->height() != stream->height) return -1;
        for (int y = 0; y < image->height(); ++y) {
            std::memcpy(rowFromTop(*image, y), stream->frame + size_t(y) * stream->width, stream->width);
        }
        if (paletteOnlyIfChanged && !stream->paletteChanged) return 0;
        for (int i = 0; i < 256; ++i) {
            const uint8_t* c = stream->palette + 3 * i;
            image->colors()[i] = RGBQUAD{c[2], c[1], c[0], 0};
        }
    }
    PXLFillDIBColorTable(id);
    return 0;
}
