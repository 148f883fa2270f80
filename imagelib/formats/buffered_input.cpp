#include "formats/buffered_input.h"

#include <algorithm>
#include <cstring>

namespace pixmill {
namespace {

constexpr int64_t kBlock = 65536;

}  // namespace

BufferedInput::BufferedInput(ByteStream& stream, int64_t start, int64_t end)
    : stream_(stream), filePosition_(start), end_(std::max(start, end)) {}

bool BufferedInput::refill() {
    const int64_t left = end_ - filePosition_;
    if (left <= 0) return false;
    if (!positioned_) {
        if (!stream_.seek(filePosition_, SEEK_SET)) return false;
        positioned_ = true;
    }
    const auto size = static_cast<size_t>(std::min(left, kBlock));
    buffer_.resize(size);
    next_ = 0;
    if (!stream_.read(buffer_.data(), static_cast<uint32_t>(size))) {
        buffer_.clear();
        end_ = filePosition_;  // a failing stream gives nothing more
        return false;
    }
    filePosition_ += static_cast<int64_t>(size);
    return true;
}

bool BufferedInput::bytes(uint8_t* out, size_t count) {
    if (static_cast<uint64_t>(end_ - position()) < count) return false;
    while (count > 0) {
        if (next_ == buffer_.size() && !refill()) return false;
        const size_t n = std::min(count, buffer_.size() - next_);
        std::memcpy(out, buffer_.data() + next_, n);
        next_ += n;
        out += n;
        count -= n;
    }
    return true;
}

bool BufferedInput::skip(uint64_t count) {
    if (static_cast<uint64_t>(end_ - position()) < count) return false;
    const size_t inBuffer = buffer_.size() - next_;
    if (count <= inBuffer) {
        next_ += static_cast<size_t>(count);
        return true;
    }
    // Past the buffer: start afresh further on.
    filePosition_ = position() + static_cast<int64_t>(count);
    buffer_.clear();
    next_ = 0;
    positioned_ = false;
    return true;
}

}  // namespace pixmill
