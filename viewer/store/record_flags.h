// The (compressed flag, record format version) pair of every record header.
#ifndef LECT32_STORE_RECORD_FLAGS_H
#define LECT32_STORE_RECORD_FLAGS_H

#include <cstdint>

namespace lect32 {

struct RecordFlags {
    uint8_t compressed = 0;  // 1: the body is in the chunked compressed form
    uint8_t version = 1;     // chosen by the writer of the record; parsers test it
};

}  // namespace lect32

#endif
