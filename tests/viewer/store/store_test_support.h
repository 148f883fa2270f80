// Shared pieces of the container tests: a container's stored form and a load from stored bytes,
// and the bytes a memory block holds.
#ifndef LECT32_TESTS_STORE_TEST_SUPPORT_H
#define LECT32_TESTS_STORE_TEST_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "winplat/memory.h"

namespace store_test {

using Bytes = std::vector<uint8_t>;

// What 'save' (a call on a writer that answers 1 when done) writes.
template <class Save>
Bytes savedBy(Save save) {
    lect32::MemWriter writer;
    writer.Begin();
    EXPECT_EQ(save(writer), 1);
    writer.End();
    Bytes bytes(writer.GetLength());
    writer.CopyTo(bytes.data());
    return bytes;
}

// What 'load' (a call on a reader) answers for the bytes.
template <class Load>
int loadedBy(const Bytes& bytes, Load load) {
    lect32::MemReader reader;
    EXPECT_EQ(reader.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())), 1);
    return load(reader);
}

// The stored form of a container with Save(MemWriter&).
template <class Container>
Bytes saved(Container& container) {
    return savedBy([&](lect32::MemWriter& writer) { return container.Save(writer); });
}

// A container with Load(MemReader&) loaded from the bytes: what Load answers.
template <class Container>
int load(Container& container, const Bytes& bytes) {
    return loadedBy(bytes, [&](lect32::MemReader& reader) { return container.Load(reader); });
}

// The block's first 'size' bytes; none for no block.
inline Bytes blockBytes(HGLOBAL block, size_t size) {
    if (!block) return {};
    const auto* data = static_cast<const uint8_t*>(GlobalLock(block));
    Bytes out(data, data + size);
    GlobalUnlock(block);
    return out;
}

// Every byte of the block, spare room included.
inline Bytes blockBytes(HGLOBAL block) {
    return block ? blockBytes(block, GlobalSize(block)) : Bytes{};
}

inline unsigned lockCount(HGLOBAL block) {
    return GlobalFlags(block) & GMEM_LOCKCOUNT;
}

}  // namespace store_test

#endif
