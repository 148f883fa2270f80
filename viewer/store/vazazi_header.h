// The fixed parts of a record file (header and table header) as the file object keeps them.
#ifndef LECT32_STORE_VAZAZI_HEADER_H
#define LECT32_STORE_VAZAZI_HEADER_H

#include <array>
#include <cstdint>

#include "store/vazazi_file.h"
#include "store/vazazi_index.h"

namespace lect32 {

constexpr uint16_t kDefaultCapacity1 = 150;
constexpr uint16_t kDefaultBound1 = 141;
constexpr uint8_t kEntrySize = 14;
constexpr uint8_t kRecordHeaderSize = 9;

inline void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline std::array<uint8_t, kEntrySize> encodeEntry(const IndexEntry& e) {
    std::array<uint8_t, kEntrySize> b{};
    b[0] = e.used;
    put32(&b[1], e.offset);
    put32(&b[5], e.length);
    put32(&b[9], e.slack);
    b[13] = e.reserved;
    return b;
}

struct VazaziFile::Header {
    std::array<uint8_t, kHeaderSize> bytes{};
    uint16_t capacity1 = kDefaultCapacity1;
    uint16_t bound1 = kDefaultBound1;
    uint16_t count2 = 0;
    uint16_t reserved1 = 0;
    uint8_t entrySize = kEntrySize;
    uint8_t recordHeaderSize = kRecordHeaderSize;
    uint32_t gap = 0;
    uint32_t dataLength = 0;
    uint32_t reserved2 = 0;

    uint64_t table2Offset() const { return kTable1Offset + uint64_t{entrySize} * capacity1; }
    uint64_t entryOffset(int table, int index) const {
        return (table == 1 ? kTable1Offset : table2Offset()) + uint64_t{entrySize} * index;
    }
    uint64_t dataStart() const { return table2Offset() + uint64_t{entrySize} * count2 + gap; }
    uint64_t dataEnd() const { return dataStart() + dataLength; }

    std::array<uint8_t, kTableHeaderSize> encodeTableHeader() const {
        std::array<uint8_t, kTableHeaderSize> b{};
        put16(&b[0], capacity1);
        put16(&b[2], bound1);
        put16(&b[4], count2);
        put16(&b[6], reserved1);
        b[8] = entrySize;
        b[9] = recordHeaderSize;
        put32(&b[10], gap);
        put32(&b[14], dataLength);
        put32(&b[18], reserved2);
        return b;
    }
};

// Keeps a record file's handle open for a scope; every failure path ends what it began.
class VazaziAccess {
public:
    explicit VazaziAccess(VazaziFile& file) : file_(file), ok_(file.BeginAccess() != 0) {}
    ~VazaziAccess() { file_.EndAccess(); }
    VazaziAccess(const VazaziAccess&) = delete;
    VazaziAccess& operator=(const VazaziAccess&) = delete;
    explicit operator bool() const { return ok_; }

private:
    VazaziFile& file_;
    bool ok_;
};

}  // namespace lect32

#endif
