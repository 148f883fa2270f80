#include "formats/file_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pixmill {
namespace {

// Several of libpng's chunk reads at once; the JPEG source's 64 KiB fills go around it. Kept small
// because it is taken for every file a load opens.
constexpr size_t kBufferBytes = 16384;

}  // namespace

bool FileReader::read(void* out, uint32_t count) {
    auto* to = static_cast<uint8_t*>(out);
    size_t left = count;
    const size_t buffered = copyBuffered(to, left);
    to += buffered;
    left -= buffered;
    if (left == 0) return true;
    if (left >= kBufferBytes) {
        const size_t got = readAt(to, left);
        position_ += static_cast<int64_t>(got);
        return got == left;
    }
    if (!buffer_) buffer_ = std::make_unique_for_overwrite<uint8_t[]>(kBufferBytes);
    bufferStart_ = position_;
    buffered_ = readAt(buffer_.get(), kBufferBytes);
    return copyBuffered(to, left) == left;
}

bool FileReader::seek(int64_t offset, int origin) {
    int64_t base = 0;
    if (origin == SEEK_CUR) {
        base = position_;
    } else if (origin == SEEK_END) {
        base = length_;
    } else if (origin != SEEK_SET) {
        return false;
    }
    int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) return false;
    position_ = target;
    return true;
}

size_t FileReader::copyBuffered(uint8_t* out, size_t count) {
    if (position_ < bufferStart_ || position_ - bufferStart_ >= static_cast<int64_t>(buffered_)) return 0;
    const auto at = static_cast<size_t>(position_ - bufferStart_);
    const size_t n = std::min(count, buffered_ - at);
    std::memcpy(out, buffer_.get() + at, n);
    position_ += static_cast<int64_t>(n);
    return n;
}

size_t FileReader::readAt(uint8_t* out, size_t count) {
    if (position_ >= length_) return 0;
    count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), length_ - position_));
    size_t got = 0;
    while (got < count) {
        const ssize_t n = ::pread(descriptor_, out + got, count - got, position_ + static_cast<int64_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    return got;
}

}  // namespace pixmill
