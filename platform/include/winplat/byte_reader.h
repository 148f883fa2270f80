// The one bounded reader for stored data: little-endian fields read one by one from a byte range.
//
// A read past the end yields 0 and marks the reader failed; the mark stays, so a parser reads a
// group of fields and checks ok() once. Nothing is ever read outside the range.
#ifndef WINPLAT_BYTE_READER_H
#define WINPLAT_BYTE_READER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace winplat {

class ByteReader {
public:
    ByteReader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(data ? size : 0) {}
    explicit ByteReader(std::span<const uint8_t> bytes) : ByteReader(bytes.data(), bytes.size()) {}

    bool ok() const { return ok_; }
    size_t size() const { return size_; }
    size_t position() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    bool has(size_t count) const { return count <= remaining(); }

    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    int8_t i8() { return static_cast<int8_t>(u8()); }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() { return static_cast<int32_t>(u32()); }

    // Copies count bytes out; on failure copies nothing.
    bool bytes(void* out, size_t count) {
        if (!ok_ || !has(count)) return fail();
        if (count) std::memcpy(out, data_ + pos_, count);
        pos_ += count;
        return true;
    }
    // A view of the next count bytes, valid as long as the underlying data; empty on failure.
    std::span<const uint8_t> view(size_t count) {
        if (!ok_ || !has(count)) {
            fail();
            return {};
        }
        std::span<const uint8_t> out(data_ + pos_, count);
        pos_ += count;
        return out;
    }
    bool skip(size_t count) {
        if (!ok_ || !has(count)) return fail();
        pos_ += count;
        return true;
    }
    bool seek(size_t position) {
        if (!ok_ || position > size_) return fail();
        pos_ = position;
        return true;
    }

private:
    uint64_t take(size_t count) {
        if (!ok_ || !has(count)) {
            fail();
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i) value |= uint64_t{data_[pos_ + i]} << (8 * i);
        pos_ += count;
        return value;
    }
    bool fail() {
        ok_ = false;
        return false;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace winplat

#endif
