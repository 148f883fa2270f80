// Reading a regular file opened only for reading, for the codecs' byte stream.
//
// A load asks for the same first bytes several times (the format is recognised, the codec's info
// pass reads the header, the load reads it again) and seeks back between them. Through a C stream
// every seek costs a system call and drops the buffered bytes, so they are read again. This reader
// keeps a position of its own and a buffer filled with pread at it: a seek only moves the
// position, bytes still in the buffer are not read again, and long reads go straight from the
// file into the caller's memory. The file's length is taken once, when the reader is made.
#ifndef PIXMILL_FORMATS_FILE_READER_H
#define PIXMILL_FORMATS_FILE_READER_H

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pixmill {

class FileReader {
public:
    // The descriptor stays open for the reader's lifetime and is closed by its owner.
    FileReader(int descriptor, int64_t length) : descriptor_(descriptor), length_(length) {}

    // All `count` bytes or false; a short read still moves the position past the bytes it got,
    // as a C stream's does.
    bool read(void* out, uint32_t count);
    // Origin SEEK_SET, SEEK_CUR or SEEK_END; positions past the end are allowed, negative ones not.
    bool seek(int64_t offset, int origin);
    int64_t tell() const { return position_; }
    int64_t length() const { return length_; }

private:
    size_t copyBuffered(uint8_t* out, size_t count);
    // Reads up to count bytes at the position; the bytes got, 0 at the end or on an error.
    size_t readAt(uint8_t* out, size_t count);

    int descriptor_;
    int64_t length_;
    int64_t position_ = 0;
    std::unique_ptr<uint8_t[]> buffer_;  // made on the first short read
    int64_t bufferStart_ = 0;            // the file offset of buffer_[0]
    size_t buffered_ = 0;                // valid bytes in buffer_
};

}  // namespace pixmill

#endif
