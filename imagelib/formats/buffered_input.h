// Bytes of a file stream between a start and a known end, read a block at a time.
//
// The run-length decoders take their input a byte at a time; going to the stream for each byte
// would cost a call per byte, and reading everything at once would trust the file's size. The
// end is the file's length (or a container's), so no read is ever asked past it.
#ifndef PIXMILL_FORMATS_BUFFERED_INPUT_H
#define PIXMILL_FORMATS_BUFFERED_INPUT_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/codec.h"

namespace pixmill {

class BufferedInput {
public:
    // Reads from `start` (where the stream is moved on the first read) up to `end`.
    BufferedInput(ByteStream& stream, int64_t start, int64_t end);

    // One byte; false at the end or when the stream fails.
    bool byte(uint8_t& out) {
        if (next_ == buffer_.size() && !refill()) return false;
        out = buffer_[next_++];
        return true;
    }
    // All `count` bytes or none.
    bool bytes(uint8_t* out, size_t count);
    bool skip(uint64_t count);
    // Where the next byte comes from, in the stream's terms.
    int64_t position() const { return filePosition_ - static_cast<int64_t>(buffer_.size() - next_); }
    int64_t end() const { return end_; }

private:
    bool refill();

    ByteStream& stream_;
    int64_t filePosition_;  // of the byte after the buffer
    int64_t end_;
    bool positioned_ = false;
    std::vector<uint8_t> buffer_;
    size_t next_ = 0;
};

}  // namespace pixmill

#endif
