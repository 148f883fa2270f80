// The block level of GIF files, shared by the info reader, the frame loader and the block
// listing: the state one parse gathers from the extensions (graphic control values, loop count,
// comment, title and text block), sub-block chains, and the listing entries.
#ifndef PIXMILL_FORMATS_GIF_BLOCKS_H
#define PIXMILL_FORMATS_GIF_BLOCKS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "formats/codec.h"

namespace pixmill {

// What the extensions read so far say. The graphic control values are not reset at an image: a
// frame without a graphic control extension of its own takes those of the last one before it.
struct GifParseState {
    int16_t delay = 0;
    uint32_t transparency = kNoTransparency;
    int16_t disposal = 0;
    int16_t repeatCount = -1;
    std::optional<std::string> comment;
    std::optional<std::string> title;
    std::optional<TextBlock> textBlock;
    bool collectTexts = false;  // titles, text blocks and comments are kept
};

// The entries of a block listing: every block is counted, entries are written while there is
// room for them.
class GifBlockListing {
public:
    GifBlockListing(PxlGifBlockEntry* entries, size_t capacity) : entries_(entries), capacity_(entries ? capacity : 0) {}

    // Counts an entry; the entry to fill in, or null when there is no room.
    PxlGifBlockEntry* add(int32_t kind, int64_t start, int64_t end);
    size_t count() const { return count_; }

private:
    PxlGifBlockEntry* entries_;
    size_t capacity_;
    size_t count_ = 0;
};

// Reads blocks from a GIF stream, keeping the listing position: where the last listed block ended.
class GifBlockReader {
public:
    GifBlockReader(ByteStream& stream, GifParseState& state, GifBlockListing* listing)
        : stream_(stream), state_(state), listing_(listing) {}

    // The next byte, -1 at the end of the file.
    int byte();
    bool read(void* out, uint32_t count) { return stream_.read(out, count); }
    bool skip(uint32_t count);
    int64_t tell() { return stream_.tell(); }
    bool seek(int64_t position) { return stream_.seek(position, SEEK_SET); }

    // Calls 'each' with every sub-block until the zero-length one; false when the file ends first
    // or a sub-block is shorter than its length byte says.
    bool forEachSubBlock(const std::function<void(const uint8_t*, size_t)>& each);
    bool skipSubBlocks() { return forEachSubBlock([](const uint8_t*, size_t) {}); }

    // Parses one extension after its introducer (0x21) and lists it.
    void readExtension();

    GifBlockListing* listing() const { return listing_; }
    int64_t listed = 0;  // where the next listed entry starts

private:
    void graphicControl(int64_t start);
    void comment(int64_t start);
    void application(int64_t start);
    void plainText(int64_t start);
    void otherExtension(int64_t start);
    PxlGifBlockEntry* list(int32_t kind, int64_t start);

    ByteStream& stream_;
    GifParseState& state_;
    GifBlockListing* listing_;
};

}  // namespace pixmill

#endif
