#include "formats/gif_codec.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "core/registry/library_state.h"
#include "formats/gif_blocks.h"
#include "formats/gif_frame_index.h"
#include "formats/gif_lzw_decoder.h"
#include "resources/pixmill_ids.h"
#include "winplat/byte_reader.h"
#include "formats/gif_writer.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: GIF");

constexpr uint32_t kHeaderSize = 13;
constexpr uint32_t kDescriptorSize = 9;
constexpr int kImageSeparator = 0x2C;
constexpr int kExtensionIntroducer = 0x21;
constexpr int kIgnoredBetweenBlocks = 0xFF;

constexpr uint8_t kTablePresent = 0x80;
constexpr uint8_t kInterlaced = 0x40;

struct Header {
    char signature[7] = {};
    int screenWidth = 0;
    int screenHeight = 0;
    uint8_t packed = 0;
    uint8_t background = 0;

    bool hasTable() const { return packed & kTablePresent; }
    int tableBits() const { return (packed & 7) + 1; }
};

struct Descriptor {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    uint8_t packed = 0;

    bool hasTable() const { return packed & kTablePresent; }
    int tableBits() const { return (packed & 7) + 1; }
    uint32_t tableBytes() const { return hasTable() ? 3u << tableBits() : 0; }
};

uint32_t tableBytes(int bits) { return 3u << bits; }

int16_t readHeader(GifBlockReader& in, Header& h) {
    uint8_t bytes[kHeaderSize];
    if (!in.read(bytes, sizeof bytes) || std::memcmp(bytes, "GIF", 3) != 0) {
        return refuse(kCodecBadFormat, "no GIF signature");
    }
    std::memcpy(h.signature, bytes, 6);
    winplat::ByteReader r(bytes + 6, kHeaderSize - 6);
    h.screenWidth = r.u16();
    h.screenHeight = r.u16();
    h.packed = r.u8();
    h.background = r.u8();
    // The record keeps sizes in 16 bits.
    if (h.screenWidth > kMaxCodecSide || h.screenHeight > kMaxCodecSide) {
        return refuse(kCodecBadFormat, "a screen wider or higher than 32767");
    }
    return kCodecOk;
}

bool readDescriptor(GifBlockReader& in, Descriptor& d) {
    uint8_t bytes[kDescriptorSize];
    if (!in.read(bytes, sizeof bytes)) return false;
    winplat::ByteReader r(bytes, sizeof bytes);
    d.left = r.u16();
    d.top = r.u16();
    d.width = r.u16();
    d.height = r.u16();
    d.packed = r.u8();
    return true;
}

// The screen's facts: the record describes the screen until the wanted frame is reached.
void describeScreen(PxlCodecInfo& info, const Header& h) {
    info.screenWidth = static_cast<int16_t>(h.screenWidth);
    info.screenHeight = static_cast<int16_t>(h.screenHeight);
    info.width = static_cast<int16_t>(h.screenWidth);
    info.height = static_cast<int16_t>(h.screenHeight);
    info.bitsPerPixel = static_cast<int16_t>(h.tableBits());
    info.whiteIndex = h.background;
    info.flags = 0;
}

// A colour table into the palette; entries past its end take the colour of entry 0.
bool readTable(GifBlockReader& in, PxlCodecInfo& info, int bits) {
    uint8_t bytes[256 * 3];
    const uint32_t size = tableBytes(bits);
    if (!in.read(bytes, size)) return false;
    const int entries = 1 << bits;
    for (int i = 0; i < 256; ++i) {
        const uint8_t* c = bytes + 3 * (i < entries ? i : 0);
        info.setPaletteEntry(i, c[0], c[1], c[2]);
    }
    return true;
}

void takeFrameValues(PxlCodecInfo& info, const Descriptor& d, const GifParseState& state) {
    info.frameLeft = static_cast<int16_t>(std::min(d.left, int{INT16_MAX}));
    info.frameTop = static_cast<int16_t>(std::min(d.top, int{INT16_MAX}));
    info.width = static_cast<int16_t>(d.width);
    info.height = static_cast<int16_t>(d.height);
    info.frameDelay = state.delay;
    info.transparency = state.transparency;
    info.controlWord = state.disposal;
}

bool acceptableFrame(const Descriptor& d) {
    return d.width > 0 && d.height > 0 && d.width <= kMaxCodecSide && d.height <= kMaxCodecSide;
}

void appendDetail(PxlCodecInfo& info, int stringId) {
    const size_t used = std::strlen(info.detailText);
    std::strncat(info.detailText, descriptionText(stringId), sizeof info.detailText - 1 - used);
}

// What an index recorded by an earlier info pass spares a pass that wants one frame: the frames
// before it and those after it. A pass that goes past every image ends as it would without the
// index, so only what those images leave behind is taken from the index.
class KnownFrames {
public:
    KnownFrames() = default;
    KnownFrames(const GifFrameIndex& index, int wanted) : index_(&index), wanted_(wanted) {}

    explicit operator bool() const { return index_ != nullptr; }
    const GifFrameIndex& index() const { return *index_; }

    // Moves to the blocks before the wanted image, with the values in force there.
    bool toWanted(GifBlockReader& in, GifParseState& state, int& image) const {
        const GifFrameIndex::Mark& mark = index_->mark(wanted_);
        GifFrameIndex::restore(mark, state);
        image = wanted_;
        return in.seek(mark.start);
    }
    // True when the pass has just passed the wanted image and stands where the index says the
    // next blocks start.
    bool pastWanted(int image, GifBlockReader& in) const {
        return index_ && image == wanted_ + 1 && in.tell() == index_->mark(image).start;
    }
    // Moves on to the blocks after the last image.
    bool toEnd(GifBlockReader& in, GifParseState& state, int& image) const {
        image = index_->frameCount();
        const GifFrameIndex::Mark& mark = index_->mark(image);
        GifFrameIndex::restore(mark, state);
        return in.seek(mark.start);
    }

private:
    const GifFrameIndex* index_ = nullptr;
    int wanted_ = 0;
};

// The index's help for a pass that wants frame 'wanted': only when the index describes the file
// as it is now and holds that frame.
KnownFrames knownFrames(const GifFrameIndex* index, bool described, int wanted) {
    if (!index || !described || wanted < 0 || wanted >= index->frameCount()) return {};
    return KnownFrames(*index, wanted);
}

// One image block of the info pass, after its separator at 'separator'; a recording index takes
// the image.
int16_t infoImage(GifBlockReader& in, CodecCall& call, GifParseState& state, int index, int64_t separator,
                  GifFrameIndex* recording) {
    PxlCodecInfo& info = call.info;
    Descriptor d;
    if (!readDescriptor(in, d)) return refuse(kCodecReadError, "an image descriptor is cut off");
    const bool wanted = index == info.wantedFrame;
    if (wanted) {
        if (!acceptableFrame(d)) return refuse(kCodecBadFormat, "a frame size this reader does not take");
        takeFrameValues(info, d, state);
        info.flags = d.packed;
        if (d.hasTable()) {
            if (!readTable(in, info, d.tableBits())) {
                return refuse(kCodecReadError, "a local colour table is cut off");
            }
            info.bitsPerPixel = static_cast<int16_t>(d.tableBits());
        }
        info.imageBytes =
            reportedImageBytes(d.width, d.height, info.bitsPerPixel, ImageBytesRule::LegacyByteColumns);
    } else if (d.hasTable()) {
        in.skip(d.tableBytes());
    }
    GifBlockListing* listing = in.listing();
    const int64_t afterTable = in.tell();
    if (d.hasTable() && listing) {
        if (PxlGifBlockEntry* e = listing->add(PXL_GIF_BLOCK_LOCAL_TABLE, separator, separator + d.tableBytes())) {
            e->value = d.tableBits();
        }
    }
    // no minimum code size
    if (in.byte() < 0) {
        return refuse(kCodecBadFormat, "an image without its minimum code size");
    }
    const bool dataWhole = in.skipSubBlocks();
    if (wanted && index == 0) {
        info.repeatCount = state.repeatCount;
        appendDetail(info, (d.packed & kInterlaced) ? res::kDetailLzwInterlacedSuffix
                                                    : res::kDetailLzwCompressionSuffix);
        if ((info.transparency >> 24) == 1) appendDetail(info, res::kDetailTransparentSuffix);
    }
    const int64_t end = in.tell();
    if (listing) {
        // With a local table the image entry starts after the table and counts the separator and
        // descriptor in its length.
        const int64_t start = d.hasTable() ? afterTable : separator;
        const int64_t length = d.hasTable() ? end - afterTable + 1 + kDescriptorSize : end - separator;
        if (PxlGifBlockEntry* e = listing->add(PXL_GIF_BLOCK_IMAGE, start, start + length)) {
            e->width = d.width;
            e->height = d.height;
        }
    }
    in.listed = end;
    if (recording) recording->addImage(d.packed, dataWhole, end, state);
    return kCodecOk;
}

int16_t readInfo(CodecCall& call) {
    GifBlockListing* listing = call.gifListing;
    ByteStream& stream = call.stream;
    PxlCodecInfo& info = call.info;
    info.setDetail("");
    info.fileSize = static_cast<int32_t>(std::min<int64_t>(stream.fileLength(), INT32_MAX));
    if (!stream.seek(call.offset, SEEK_SET)) {
        return refuse(kCodecReadError, "the picture's start cannot be reached");
    }

    GifParseState state;
    GifBlockReader in(stream, state, listing);
    Header h;
    if (int16_t r = readHeader(in, h); r != kCodecOk) return r;
    info.setDetail(h.signature);
    describeScreen(info, h);
    if (listing) {
        if (PxlGifBlockEntry* e = listing->add(PXL_GIF_BLOCK_HEADER, call.offset, call.offset + kHeaderSize)) {
            e->width = h.screenWidth;
            e->height = h.screenHeight;
            std::memcpy(e->text, h.signature, sizeof h.signature);
        }
    }
    info.setPaletteEntry(0, 0, 0, 0);
    info.setPaletteEntry(1, 255, 255, 255);
    if (h.hasTable()) {
        if (!readTable(in, info, h.tableBits())) {
            return refuse(kCodecReadError, "the global colour table is cut off");
        }
        if (listing) {
            const int64_t start = call.offset + kHeaderSize;
            if (PxlGifBlockEntry* e = listing->add(PXL_GIF_BLOCK_GLOBAL_TABLE, start, start + tableBytes(h.tableBits()))) {
                e->value = h.tableBits();
            }
        }
    }
    in.listed = in.tell();

    // A listing lists every block, so it neither takes the index's help nor records one. Without
    // an index describing the file, this pass records it.
    GifFrameIndex* frames = listing ? nullptr : call.gifFrames;
    const bool described = frames && frames->describes(stream, call.offset);
    const KnownFrames known = knownFrames(frames, described, info.wantedFrame);
    GifFrameIndex* recording = nullptr;
    if (frames && !described) {
        if (const std::optional<FileIdentity> file = stream.fileIdentity()) {
            frames->start(*file, call.offset, in.tell(), state);
            recording = frames;
        }
    }
    int index = 0;
    if (known && !known.toWanted(in, state, index)) {
        return refuse(kCodecReadError, "the indexed frames cannot be reached");
    }
    for (;;) {
        const int b = in.byte();
        if (b == kImageSeparator) {
            if (int16_t r = infoImage(in, call, state, index, in.listed, recording); r != kCodecOk) return r;
            ++index;
            if (known.pastWanted(index, in) && !known.toEnd(in, state, index)) {
                return refuse(kCodecReadError, "the blocks after the indexed frames cannot be reached");
            }
        } else if (b == kExtensionIntroducer) {
            in.readExtension();
        } else if (b != kIgnoredBetweenBlocks) {
            break;  // the trailer, any other byte, or the end of the file
        }
    }
    info.frameCount = static_cast<int16_t>(std::min(index, int{INT16_MAX}));
    if (recording) recording->finish();
    return kCodecOk;
}

// Decodes the wanted frame's data. Damaged data inside whole sub-blocks is not passed on: such a
// frame keeps the rows decoded so far. A file that ends inside the data, a stop asked by the sink
// and a lack of memory are.
int16_t loadImageData(GifBlockReader& in, CodecCall& call, const Descriptor& d, int minimumCodeSize,
                      const RowLayout& layout) {
    if (!acceptableFrame(d)) return refuse(kCodecBadFormat, "a frame size this reader does not take");
    GifImageShape shape;
    shape.width = d.width;
    shape.height = d.height;
    shape.interlaced = d.packed & kInterlaced;
    shape.out = layout;  // the rows the sink was made for, whatever this frame claims
    shape.whiteIndex = call.info.whiteIndex;
    const GifDecodeResult decoded = decodeGifImage(call.stream, minimumCodeSize, shape, *call.sink, call.progress);
    if (decoded.code == kCodecStopped || decoded.code == kCodecReadError) {
        return decoded.code;
    }
    if (!decoded.terminatorRead) in.skipSubBlocks();
    return kCodecOk;
}

int16_t loadFrame(CodecCall& call) {
    ByteStream& stream = call.stream;
    PxlCodecInfo& info = call.info;
    const RowLayout layout = prepareRowTransfer(info);
    if (!stream.seek(call.offset, SEEK_SET)) {
        return refuse(kCodecReadError, "the picture's start cannot be reached");
    }

    GifParseState state;
    state.collectTexts = info.gifFrameWord != 0;
    GifBlockReader in(stream, state, nullptr);
    Header h;
    if (int16_t r = readHeader(in, h); r != kCodecOk) return r;
    describeScreen(info, h);
    if (h.hasTable() && !in.skip(tableBytes(h.tableBits()))) {
        return refuse(kCodecReadError, "the global colour table is cut off");
    }

    GifFrameIndex* frames = call.gifFrames;
    const bool described = frames && frames->describes(stream, call.offset);
    const KnownFrames known = knownFrames(frames, described, info.wantedFrame);
    int index = 0;
    if (known && !known.toWanted(in, state, index)) {
        return refuse(kCodecReadError, "the indexed frames cannot be reached");
    }
    for (;;) {
        const int b = in.byte();
        if (b == kExtensionIntroducer) {
            in.readExtension();
            continue;
        }
        if (b == kIgnoredBetweenBlocks) continue;
        if (b != kImageSeparator) break;
        Descriptor d;
        if (!readDescriptor(in, d)) return refuse(kCodecReadError, "an image descriptor is cut off");
        const bool wanted = index == info.wantedFrame;
        if (wanted) {
            takeFrameValues(info, d, state);
            if (state.comment) info.comment = state.comment;
            if (state.textBlock) info.textBlock = state.textBlock;
            if (d.hasTable()) info.bitsPerPixel = static_cast<int16_t>(d.tableBits());
        }
        // Texts before an image belong to it.
        state.comment.reset();
        state.textBlock.reset();
        state.title.reset();
        if (d.hasTable() && !in.skip(d.tableBytes())) {
            return refuse(kCodecBadFormat, "a local colour table is cut off");
        }
        const int minimumCodeSize = in.byte();
        if (minimumCodeSize < 0) return refuse(kCodecBadFormat, "an image without its minimum code size");
        info.flags = d.packed;
        if (wanted) {
            if (int16_t r = loadImageData(in, call, d, minimumCodeSize, layout); r != kCodecOk) return r;
        } else if (!in.skipSubBlocks()) {
            return refuse(kCodecBadFormat, "an earlier frame's data break off");
        }
        ++index;
        if (known.pastWanted(index, in)) {
            // The images after the wanted one as this pass would find them: the last one leaves
            // its packed byte, and fails the load when its data breaks off.
            const GifFrameIndex& frames = known.index();
            if (index < frames.frameCount()) {
                info.flags = frames.lastPacked();
                if (frames.lastDataBroken()) {
                    return refuse(kCodecBadFormat, "the last frame's data break off");
                }
            }
            if (!known.toEnd(in, state, index)) {
                return refuse(kCodecReadError, "the blocks after the indexed frames cannot be reached");
            }
        }
    }
    // Texts after the last image belong to the whole animation.
    if (info.wantedFrame == 0) {
        if (state.comment) info.text = state.comment;
        if (state.title) info.title = state.title;
    }
    return kCodecOk;
}

bool recognise(const ContentProbe& probe) { return std::memcmp(probe.bytes, "GIF", 3) == 0; }

}  // namespace

constexpr FormatCodec gifCodec{refuse, recognise, Recognition::Signature, readInfo, loadFrame, writeGifFrame,
                               FileNeed::ToRead};

int16_t gifReadInfo(CodecCall& call, PxlGifBlockEntry* entries, size_t capacity, size_t& count) {
    GifBlockListing listing(entries, capacity);
    call.gifListing = &listing;
    const int16_t result = gifInfo(call);
    call.gifListing = nullptr;
    count = listing.count();
    return result;
}

size_t listGifBlocks(const char* path, PxlGifBlockEntry* entries, size_t capacity) {
    ByteStream file;
    if (!file.openFile(path, "rb")) return 0;
    PxlCodecInfo info;
    info.gifFrameWord = 0;
    CodecCall call{info, file};
    size_t count = 0;
    return gifReadInfo(call, entries, capacity, count) == kCodecOk ? count : 0;
}

}  // namespace pixmill

int16_t PXLGetGifDetails(const char* path, PxlGifBlockEntry* entries) {
    // The export takes no capacity: callers size the array with a first call without one, and
    // the count is 16-bit, so that is all that is ever written.
    const size_t capacity = INT16_MAX;
    return static_cast<int16_t>(std::min<size_t>(pixmill::listGifBlocks(path, entries, capacity), capacity));
}
