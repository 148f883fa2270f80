#include "formats/bmi_codec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "core/registry/library_state.h"
#include "formats/converted_image.h"
#include "resources/pixmill_ids.h"
#include "winplat/byte_reader.h"
#include "winplat/debug.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: BMI");

constexpr char kMagic[] = "TarvoBMIa";
constexpr uint32_t kMagicCompared = 8;  // the last letter is a variant mark older files differ in
constexpr uint32_t kHeaderSize = 21;
constexpr uint32_t kEntrySize = 6;
constexpr uint32_t kFrameHeaderSize = 16;
constexpr uint32_t kWrittenEntries = 6;
constexpr uint32_t kTransparencyEntrySize = 28;
constexpr uint32_t kMaxChunk = 65535;  // chunk sizes and lengths are 16-bit

constexpr uint16_t kBlockFrame = 1;
constexpr uint16_t kBlockComment = 3;
constexpr uint16_t kBlockTransparency = 5;
constexpr uint16_t kBlockRotation = 7;
constexpr uint16_t kBlockEnd = 255;

constexpr uint8_t kChunkStored = 0;
constexpr uint8_t kChunkZlib = 1;

constexpr uint32_t kChunkHeadSize = 3;
// Deflate's densest code spends two bits on a copy of 258 bytes, the longest.
constexpr uint64_t kMostBytesFromADeflateByte = 1032;

constexpr char kCommentText[] = "This file was created by TARVO software, Inc.";
constexpr uint16_t kCommentWord = 4000;

// Depths whose rows travel unchanged between a frame and an image.
bool supportedBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

bool validSide(int side) { return side > 0 && side <= kMaxCodecSide; }

uint32_t rowStride(int width, int bits) {
    return static_cast<uint32_t>((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32 * 4);
}

uint32_t paletteEntries(int bits) { return bits <= 8 ? 1u << bits : 0; }

// The stream's length, -1 when it cannot tell; the stream is left at 'back'.
int64_t streamLength(ByteStream& s, int64_t back) {
    if (s.isFile()) return s.fileLength();
    if (!s.seek(0, SEEK_END)) return -1;
    const int64_t end = s.tell();
    s.seek(back, SEEK_SET);
    return end;
}

// What a frame header says.
struct Frame {
    int width = 0;
    int height = 0;
    int bits = 0;
    uint16_t paletteFlag = 0;
    uint32_t chunkSize = 0;
    uint32_t stride = 0;
};

// The fewest bytes the chunks of a frame can take: each has its head, and its data make at most
// kMostBytesFromADeflateByte bytes of rows a byte (stored data one).
uint64_t fewestFrameBytes(const Frame& f) {
    const uint64_t rowsPerChunk = f.chunkSize / f.stride;
    const uint64_t chunks = (static_cast<uint64_t>(f.height) + rowsPerChunk - 1) / rowsPerChunk;
    const uint64_t rowBytes = uint64_t{f.stride} * static_cast<uint64_t>(f.height);
    return chunks * kChunkHeadSize + rowBytes / kMostBytesFromADeflateByte;
}

// Reads the frame headers and blocks of one picture for an info read or a load.
class Reader {
public:
    Reader(CodecCall& call, bool loading) : call_(call), s_(call.stream), base_(call.offset), loading_(loading) {}

    int16_t run() {
        // The record may already describe the rows the sink takes (an info read came first); a
        // frame that no longer matches them is refused rather than mis-delivered.
        known_ = {call_.info.width, call_.info.height, call_.info.bitsPerPixel};
        if (int16_t r = readHeader(); r != kCodecOk) return r;
        if (int16_t r = walkDirectory(); r != kCodecOk) return r;
        // no such frame
        if (loading_ && !decoded_) {
            return refuse(kCodecBadFormat, "the wanted frame is not in the picture");
        }
        call_.info.frameCount = static_cast<int16_t>(std::min(frames_, int{INT16_MAX}));
        s_.seek(base_ + end_, SEEK_SET);
        return kCodecOk;
    }

private:
    struct Known {
        int16_t width, height, bits;
    };

    bool readAt(int64_t position, void* out, uint32_t count) {
        return s_.seek(position, SEEK_SET) && s_.read(out, count);
    }

    void describe(int width, int height, int bits) {
        PxlCodecInfo& info = call_.info;
        info.width = static_cast<int16_t>(width);
        info.height = static_cast<int16_t>(height);
        info.bitsPerPixel = static_cast<int16_t>(bits);
        info.whiteIndex = 0;
        info.imageBytes = reportedImageBytes(width, height, bits, ImageBytesRule::AlignedRows);
    }

    // Palette entries into the record (info reads) or skipped (loads).
    int16_t takePalette(int64_t position, int bits) {
        const uint32_t entries = paletteEntries(bits);
        if (loading_) {
            // Skipped by reading it: a seek past the end would not tell that it is missing.
            uint8_t skipped[256 * 4];
            if (!readAt(position, skipped, entries * 4)) {
                return refuse(kCodecReadError, "the palette is cut off");
            }
            return kCodecOk;
        }
        uint8_t bytes[256 * 4];
        if (!readAt(position, bytes, entries * 4)) return refuse(kCodecReadError, "the palette is cut off");
        winplat::ByteReader r(bytes, entries * 4);
        for (uint32_t i = 0; i < entries; ++i) {
            const uint8_t blue = r.u8(), green = r.u8(), red = r.u8();
            r.u8();
            call_.info.setPaletteEntry(static_cast<int>(i), red, green, blue);
        }
        return kCodecOk;
    }

    int16_t readHeader() {
        uint8_t bytes[kHeaderSize];
        if (!readAt(base_, bytes, sizeof bytes) || std::memcmp(bytes, kMagic, kMagicCompared) != 0) {
            return refuse(kCodecBadFormat, "no BMI signature");
        }
        winplat::ByteReader r(bytes + 9, kHeaderSize - 9);
        const int width = r.u16(), height = r.u16();
        const uint16_t paletteFlag = r.u16();
        const int bits = r.u16();
        const uint16_t one = r.u16();
        entries_ = r.u16();
        if (one == 0 || !validSide(width) || !validSide(height) || !supportedBits(bits)) {
            return refuse(kCodecBadFormat, "a size, depth or version outside what the format has");
        }
        call_.info.setDetail("");
        describe(width, height, bits);
        directory_ = base_ + kHeaderSize;
        if (paletteFlag == 1 && bits <= 8) {
            if (int16_t result = takePalette(directory_, bits); result != kCodecOk) return result;
            directory_ += 4 * paletteEntries(bits);
        }
        return kCodecOk;
    }

    int16_t walkDirectory() {
        for (uint32_t i = 0; i < entries_; ++i) {
            uint8_t bytes[kEntrySize];
            if (!readAt(directory_ + int64_t{kEntrySize} * i, bytes, sizeof bytes)) {
                return refuse(kCodecReadError, "the directory is cut off");
            }
            winplat::ByteReader r(bytes, sizeof bytes);
            const uint16_t type = r.u16();
            const int64_t block = base_ + r.u32();
            int16_t result = kCodecOk;
            switch (type) {
                case kBlockEnd:
                    end_ = block - base_;
                    break;
                case kBlockFrame:
                    if (frames_ == call_.info.wantedFrame) result = readFrame(block);
                    ++frames_;
                    break;
                case kBlockTransparency:
                    if (call_.entries && call_.entryCount) result = readTransparency(block);
                    break;
                case kBlockRotation:
                    result = readRotation(block);
                    break;
                default:
                    break;  // the comment, and blocks of later versions
            }
            if (result != kCodecOk) return result;
        }
        return kCodecOk;
    }

    int16_t readTransparency(int64_t block) {
        uint8_t countBytes[4];
        if (!readAt(block, countBytes, sizeof countBytes)) {
            return refuse(kCodecReadError, "the transparency block is cut off");
        }
        int32_t count = winplat::ByteReader(countBytes, sizeof countBytes).i32();
        if (count < 0 || count > kMaxTransparencyEntries) count = kMaxTransparencyEntries;
        uint8_t bytes[kMaxTransparencyEntries * kTransparencyEntrySize];
        const uint32_t size = static_cast<uint32_t>(count) * kTransparencyEntrySize;
        if (!s_.read(bytes, size)) return refuse(kCodecReadError, "the transparency entries are cut off");
        winplat::ByteReader r(bytes, size);
        for (int32_t i = 0; i < count; ++i) {
            PxlTransparencyEntry& e = call_.entries[i];
            e.red = r.i32();
            e.green = r.i32();
            e.blue = r.i32();
            e.tolerance = r.i32();
            e.kind = r.i32();
            e.seedX = r.i32();
            e.seedY = r.i32();
        }
        *call_.entryCount = count;
        return kCodecOk;
    }

    int16_t readRotation(int64_t block) {
        uint8_t bytes[4];
        if (!readAt(block, bytes, sizeof bytes)) {
            return refuse(kCodecReadError, "the rotation block is cut off");
        }
        const int32_t angle = winplat::ByteReader(bytes, sizeof bytes).i32();
        call_.info.rotationAngle = static_cast<int16_t>(std::clamp<int32_t>(angle, INT16_MIN, INT16_MAX));
        return kCodecOk;
    }

    int16_t readFrame(int64_t block) {
        uint8_t bytes[kFrameHeaderSize];
        if (!readAt(block, bytes, sizeof bytes)) {
            return refuse(kCodecBadFormat, "the frame header is cut off");
        }
        winplat::ByteReader r(bytes, sizeof bytes);
        Frame f;
        f.width = r.u16();
        f.height = r.u16();
        f.bits = r.u16();
        f.paletteFlag = r.u16();
        const uint16_t compressionWord = r.u16();
        const uint32_t imageBytes = r.u32();
        f.chunkSize = r.u16();
        if (!validSide(f.width) || !validSide(f.height) || !supportedBits(f.bits)) {
            return refuse(kCodecBadFormat, "a frame size or depth outside what the format has");
        }
        f.stride = rowStride(f.width, f.bits);
        if (uint64_t{f.stride} * static_cast<uint64_t>(f.height) != imageBytes) {
            return refuse(kCodecBadFormat, "the frame's image size does not match its rows");
        }
        // Rows never span chunks: a chunk must hold one row at least.
        if (f.chunkSize == 0 || f.chunkSize < f.stride) {
            return refuse(kCodecBadFormat, "a chunk size smaller than a row");
        }
        describe(f.width, f.height, f.bits);
        call_.info.setDetail(
            descriptionText(compressionWord == 1 ? res::kDetailLzwCompression : res::kDetailNoCompression));
        int64_t rows = block + kFrameHeaderSize;
        if (f.paletteFlag != 0 && f.bits <= 8) {
            if (int16_t result = takePalette(rows, f.bits); result != kCodecOk) return result;
            rows += 4 * paletteEntries(f.bits);
        }
        // Known before an image is made for the frame: the rest of the stream cannot fill it.
        const int64_t end = streamLength(s_, rows);
        if (end >= 0 && (end < rows || fewestFrameBytes(f) > static_cast<uint64_t>(end - rows))) {
            return refuse(kCodecReadError, "the stream is too short for the frame its header claims");
        }
        if (!loading_) return kCodecOk;
        if (known_.width != 0 && (known_.width != f.width || known_.height != f.height || known_.bits != f.bits)) {
            return refuse(kCodecBadFormat, "the frame no longer matches the one its info read described");
        }
        if (!s_.seek(rows, SEEK_SET)) return refuse(kCodecReadError, "the frame's rows cannot be reached");
        const int16_t result = decodeRows(f);
        decoded_ = result == kCodecOk;
        return result;
    }

    // Reads the next chunk into 'unpacked'; its byte count, or nothing when the chunk is bad.
    std::optional<uint32_t> nextChunk(const Frame& f, std::vector<uint8_t>& packed, std::vector<uint8_t>& unpacked) {
        uint8_t head[3];
        if (!s_.read(head, sizeof head)) return std::nullopt;
        winplat::ByteReader r(head, sizeof head);
        const uint32_t length = r.u16();
        const uint8_t kind = r.u8();
        // The writer never makes a chunk longer than the chunk size, compressed or not.
        if (length == 0 || length > f.chunkSize) return std::nullopt;
        uLongf produced = 0;
        if (kind == kChunkStored) {
            if (!s_.read(unpacked.data(), length)) return std::nullopt;
            produced = length;
        } else if (kind == kChunkZlib) {
            if (!s_.read(packed.data(), length)) return std::nullopt;
            produced = f.chunkSize;
            const int z = uncompress(unpacked.data(), &produced, packed.data(), length);
            if (z != Z_OK && z != Z_BUF_ERROR) return std::nullopt;
        } else {
            return std::nullopt;
        }
        if (produced == 0 || produced % f.stride != 0) return std::nullopt;  // whole rows only
        return static_cast<uint32_t>(produced);
    }

    int16_t decodeRows(const Frame& f) {
        if (!call_.sink) return refuse(kCodecBadFormat, "a load without a row sink");
        std::vector<uint8_t> packed(f.chunkSize), unpacked(f.chunkSize);
        uint32_t have = 0, used = 0;
        for (int row = 0; row < f.height; ++row) {
            if (used == have) {
                const std::optional<uint32_t> chunk = nextChunk(f, packed, unpacked);
                if (!chunk) return refuse(kCodecReadError, "a damaged or missing chunk");
                have = *chunk;
                used = 0;
            }
            call_.tick();
            if (call_.sink->putRow(unpacked.data() + used, row) != kCodecOk) return kCodecStopped;
            used += f.stride;
        }
        return kCodecOk;
    }

    CodecCall& call_;
    ByteStream& s_;
    int64_t base_;
    bool loading_;
    Known known_{};
    uint32_t entries_ = 0;
    int64_t directory_ = 0;
    int64_t end_ = 0;
    int frames_ = 0;
    bool decoded_ = false;
};

// Little-endian fields gathered before they are written.
class Fields {
public:
    void u8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) { put(v, 2); }
    void u32(uint32_t v) { put(v, 4); }
    void text(const char* s, size_t count) { bytes_.insert(bytes_.end(), s, s + count); }
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    bool writeTo(ByteStream& s) const { return s.write(bytes_.data(), static_cast<uint32_t>(bytes_.size())); }
    size_t size() const { return bytes_.size(); }

private:
    void put(uint32_t v, int count) {
        for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};

void putPalette(Fields& out, const PxlCodecInfo& info, int bits) {
    for (uint32_t i = 0; i < paletteEntries(bits); ++i) {
        out.u8(info.palette[3 * i + 2]);
        out.u8(info.palette[3 * i + 1]);
        out.u8(info.palette[3 * i]);
        out.u8(0);
    }
}

bool writeEntry(ByteStream& s, int64_t at, uint16_t type, int64_t offset) {
    Fields entry;
    entry.u16(type);
    entry.u32(static_cast<uint32_t>(offset));
    return s.seek(at, SEEK_SET) && entry.writeTo(s);
}

// What a save writes: the picture's facts and where its rows come from.
struct Picture {
    int width = 0;
    int height = 0;
    int bits = 0;
    uint32_t stride = 0;
    RowSource* rows = nullptr;
};

class Writer {
public:
    Writer(CodecCall& call, const Picture& picture) : call_(call), s_(call.stream), p_(picture) {}

    int16_t newPicture() {
        const int64_t base = call_.offset;
        const PxlCodecInfo& info = call_.info;
        Fields head;
        head.text(kMagic, 9);
        head.u16(static_cast<uint32_t>(p_.width));
        head.u16(static_cast<uint32_t>(p_.height));
        head.u16(p_.bits <= 8 ? 1 : 0);
        head.u16(static_cast<uint32_t>(p_.bits));
        head.u16(1);
        head.u16(kWrittenEntries);
        putPalette(head, info, p_.bits);
        const int64_t directory = base + static_cast<int64_t>(head.size());
        head.zeros(kWrittenEntries * kEntrySize);
        if (!s_.seek(base, SEEK_SET) || !head.writeTo(s_)) {
            return refuse(kCodecWriteError, "the header could not be written");
        }

        const int64_t comment = s_.tell() - base;
        Fields blocks;
        blocks.u16(0);
        blocks.u32(sizeof kCommentText);
        blocks.u16(kCommentWord);
        blocks.text(kCommentText, sizeof kCommentText);
        const int64_t transparency = comment + static_cast<int64_t>(blocks.size());
        const int32_t count = call_.entries && call_.entryCount
                                  ? std::clamp<int32_t>(*call_.entryCount, 0, kMaxTransparencyEntries)
                                  : 0;
        blocks.u32(static_cast<uint32_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            const PxlTransparencyEntry& e = call_.entries[i];
            for (int32_t v : {e.red, e.green, e.blue, e.tolerance, e.kind, e.seedX, e.seedY}) {
                blocks.u32(static_cast<uint32_t>(v));
            }
        }
        const int64_t rotation = comment + static_cast<int64_t>(blocks.size());
        blocks.u32(static_cast<uint32_t>(int32_t{info.rotationAngle}));
        const int64_t frame = comment + static_cast<int64_t>(blocks.size());
        if (!blocks.writeTo(s_)) return refuse(kCodecWriteError, "the directory could not be written");
        if (int16_t r = writeFrame(); r != kCodecOk) return r;
        const int64_t end = s_.tell() - base;
        if (end > UINT32_MAX) return refuse(kCodecWriteError, "the picture would outgrow 32-bit offsets");

        const int64_t spare = directory + 4 * kEntrySize;
        const bool written = writeEntry(s_, directory, kBlockComment, comment) &&
                             writeEntry(s_, directory + kEntrySize, kBlockTransparency, transparency) &&
                             writeEntry(s_, directory + 2 * kEntrySize, kBlockRotation, rotation) &&
                             writeEntry(s_, directory + 3 * kEntrySize, kBlockFrame, frame) &&
                             writeEntry(s_, spare, kBlockComment, comment) &&
                             writeEntry(s_, spare + kEntrySize, kBlockEnd, end) && s_.seek(base + end, SEEK_SET);
        if (!written) return refuse(kCodecWriteError, "the frame could not be written");
        if (call_.append) *call_.append = FrameAppendState{base, spare, end, false};
        return kCodecOk;
    }

    // The frame goes after the picture's data first; only then does the spare directory entry
    // name it and the end entry move, so a failed append leaves a readable picture.
    int16_t appendFrame() {
        FrameAppendState& state = *call_.append;
        const int64_t frame = state.endOffset;
        if (!s_.seek(state.base + frame, SEEK_SET)) {
            return refuse(kCodecWriteError, "the appended frame's place cannot be reached");
        }
        if (int16_t r = writeFrame(); r != kCodecOk) return r;
        const int64_t end = s_.tell() - state.base;
        if (end > UINT32_MAX) return refuse(kCodecWriteError, "the picture would outgrow 32-bit offsets");
        const bool written = writeEntry(s_, state.directorySlot, kBlockFrame, frame) &&
                             writeEntry(s_, state.directorySlot + kEntrySize, kBlockEnd, end) &&
                             s_.seek(state.base + end, SEEK_SET);
        if (!written) return refuse(kCodecWriteError, "the appended frame could not be written");
        state.directorySlot += kEntrySize;
        state.endOffset = end;
        state.spareUsed = true;
        return kCodecOk;
    }

private:
    int16_t writeFrame() {
        const uint32_t chunkSize = bmiChunkSize(p_.stride);
        Fields head;
        head.u16(static_cast<uint32_t>(p_.width));
        head.u16(static_cast<uint32_t>(p_.height));
        head.u16(static_cast<uint32_t>(p_.bits));
        head.u16(p_.bits <= 8 ? 1 : 0);
        head.u16(1);
        head.u32(p_.stride * static_cast<uint32_t>(p_.height));
        head.u16(chunkSize);
        putPalette(head, call_.info, p_.bits);
        if (!head.writeTo(s_)) return refuse(kCodecWriteError, "the frame header could not be written");

        std::vector<uint8_t> raw(chunkSize), packed(chunkSize);
        uint32_t gathered = 0;
        for (int row = 0; row < p_.height; ++row) {
            call_.tick();
            p_.rows->getRow(raw.data() + gathered, row);
            gathered += p_.stride;
            if (gathered + p_.stride > chunkSize || row == p_.height - 1) {
                if (!writeChunk(raw.data(), gathered, packed)) {
                    return refuse(kCodecWriteError, "a chunk could not be written");
                }
                gathered = 0;
            }
        }
        return kCodecOk;
    }

    // Compressed when zlib makes it fit the chunk size, stored as it is otherwise.
    bool writeChunk(const uint8_t* rows, uint32_t count, std::vector<uint8_t>& packed) {
        uLongf length = packed.size();
        const bool compressed = compress(packed.data(), &length, rows, count) == Z_OK;
        Fields head;
        head.u16(compressed ? static_cast<uint32_t>(length) : count);
        head.u8(compressed ? kChunkZlib : kChunkStored);
        return head.writeTo(s_) && s_.write(compressed ? packed.data() : rows, compressed ? length : count);
    }

    CodecCall& call_;
    ByteStream& s_;
    Picture p_;
};

// Puts an IStream or callback stream back where it stood when the work it watches fails, also
// when running out of memory ends that work early. Files are left alone: the front end drops them.
class StreamRewind {
public:
    StreamRewind(ByteStream& s, int64_t to) : s_(s), to_(to) {}
    ~StreamRewind() {
        if (rewind_ && !s_.isFile()) s_.seek(to_, SEEK_SET);
    }
    StreamRewind(const StreamRewind&) = delete;
    StreamRewind& operator=(const StreamRewind&) = delete;

    // The work's result; the stream goes back after a failure, or always when asked to.
    int16_t finish(int16_t result, bool always = false) {
        rewind_ = always || result != kCodecOk;
        return result;
    }

private:
    ByteStream& s_;
    int64_t to_;
    bool rewind_ = true;
};

// A stream goes back to the picture's start after a failure, and after an info read of an
// IStream; otherwise it stands at the end of the picture's data.
int16_t read(CodecCall& call, bool loading) {
    ByteStream& s = call.stream;
    const int64_t base = call.offset;
    StreamRewind rewind(s, base);
    if (!loading) {
        call.info.flags = 0;
        call.info.frameCount = 1;
        call.info.fileSize = static_cast<int32_t>(std::clamp<int64_t>(streamLength(s, base), 0, INT32_MAX));
    }
    return rewind.finish(Reader(call, loading).run(), !loading && s.isOle());
}

int16_t readInfo(CodecCall& call) { return read(call, false); }

int16_t load(CodecCall& call) { return read(call, true); }

int16_t write(CodecCall& call) {
    const PxlCodecInfo& info = call.info;
    Picture p;
    p.width = info.width;
    p.height = info.height;
    p.bits = info.bitsPerPixel;
    p.rows = call.source;
    std::optional<ConvertedImage> converted;
    if (needsTwentyFourBits(p.bits)) {
        converted.emplace(call.imageId, 24);
        if (!converted->ok()) return refuse(kCodecNoMemory, "the image could not be converted to 24 bits");
        p.bits = 24;
        p.rows = &*converted;
    }
    if (!validSide(p.width) || !validSide(p.height) || !supportedBits(p.bits)) {
        return refuse(kCodecBadFormat, "a size or depth the format cannot hold");
    }
    p.stride = rowStride(p.width, p.bits);
    // a row must fit a 16-bit chunk
    if (p.stride > kMaxChunk) {
        return refuse(kCodecBadFormat, "rows longer than a chunk can hold");
    }

    Writer writer(call, p);
    if (info.wantedFrame == 0) return writer.newPicture();
    // Appending needs the directory of a picture just written with its spare entry still free.
    FrameAppendState* state = call.append;
    if (!state || state->directorySlot == 0 || state->endOffset == 0 || state->spareUsed) {
        return refuse(kCodecBadFormat, "no picture with a free directory entry to append a frame to");
    }
    return writer.appendFrame();
}

// A file is thrown away by the front end; a stream is put back where the save began.
int16_t save(CodecCall& call) {
    StreamRewind rewind(call.stream, call.stream.tell());
    return rewind.finish(write(call));
}

// A file must carry this writer's variant mark too; on a stream the signature before it is enough.
bool recognise(const ContentProbe& probe) {
    return std::memcmp(probe.bytes, kMagic, probe.onStream ? kMagicCompared : sizeof kMagic - 1) == 0;
}

}  // namespace

constexpr FormatCodec bmiCodec{refuse, recognise, Recognition::Signature, readInfo, load, save,
                               FileNeed::None};

uint32_t bmiChunkSize(uint32_t stride) {
    uint64_t size = stride < 200 ? 4000 : 20 * uint64_t{stride};
    size = std::min<uint64_t>(size, 32000);
    return static_cast<uint32_t>(std::max<uint64_t>(size, stride));
}


}  // namespace pixmill
