#include "store/doc_string_table.h"

#include <cstring>
#include <numeric>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "store/vazazi_header.h"
#include "winplat/memory.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: document strings");

bool validSlot(int slot) { return slot >= 0 && slot < DocStringTable::kSlots; }

// The record slot of the block holding string n; kNoSlot for a negative number.
uint16_t blockSlot(int16_t n) {
    return n < 0 ? VazaziFile::kNoSlot : VazaziFile::GetDirectorySlot(DocStringTable::kRecordType, n / DocStringTable::kSlots);
}

}  // namespace

void DocStringTable::ClearBlock() {
    readBlock_ = kNoBlock;
    pin_.reset();
    bytes_.reset();
    header_ = 0;
    lengths_.fill(0);
    size_ = 0;
}

int DocStringTable::LockBlock() {
    if (locked()) return 1;
    if (!bytes_) return 0;
    pin_ = winplat::GlobalPin(bytes_.get());
    return locked() ? 1 : 0;
}

int DocStringTable::UnlockBlock() {
    pin_.reset();
    return 1;
}

uint32_t DocStringTable::GetSlotOffset(int slot) const {
    if (slot <= 0) return 0;
    const auto end = lengths_.begin() + std::min(slot, kSlots);
    return std::accumulate(lengths_.begin(), end, uint32_t{0});
}

int DocStringTable::GetSlot(int slot, char* buffer) const {
    buffer[0] = '\0';
    if (!validSlot(slot)) return refuse(0, "slot out of range");
    const uint8_t length = lengths_[static_cast<size_t>(slot)];
    if (length == 0) return 0;
    winplat::GlobalPin pin(bytes_.get());
    if (!pin) return refuse(0, "string bytes cannot be locked");
    std::memcpy(buffer, pin.as<uint8_t>() + GetSlotOffset(slot), length);
    buffer[length] = '\0';
    return length;
}

// Keeps the block locked across the move when it was locked before.
bool DocStringTable::resizeBytes(uint32_t size) {
    const bool wasLocked = locked();
    pin_.reset();
    if (size == 0) {
        bytes_.reset();
    } else if (!bytes_) {
        bytes_.reset(GlobalAlloc(GMEM_MOVEABLE, size));
    } else if (!GlobalReAlloc(bytes_.get(), size, GMEM_MOVEABLE)) {
        if (wasLocked) LockBlock();
        return refuse(false, "string bytes cannot grow");
    }
    if (size != 0 && !bytes_) return refuse(false, "no memory for string bytes");
    if (wasLocked) LockBlock();
    return true;
}

int DocStringTable::SetSlot(int slot, const char* bytes, uint8_t length) {
    if (!validSlot(slot)) return refuse(0, "slot out of range");
    readBlock_ = kNoBlock;  // the held block is no longer what the document holds
    const uint32_t offset = GetSlotOffset(slot);
    const uint8_t old = lengths_[static_cast<size_t>(slot)];
    const uint32_t tail = size_ - offset - old;
    const uint32_t newSize = size_ - old + length;
    if (newSize > size_ && !resizeBytes(newSize)) return 0;
    if (newSize != 0) {
        winplat::GlobalPin pin(bytes_.get());
        if (!pin) return refuse(0, "string bytes cannot be locked");
        uint8_t* data = pin.as<uint8_t>();
        std::memmove(data + offset + length, data + offset + old, tail);
        if (length) std::memcpy(data + offset, bytes, length);
    }
    // Shrinking after the move cannot fail in a way that loses the bytes: the block keeps its size.
    if (newSize < size_) resizeBytes(newSize);
    lengths_[static_cast<size_t>(slot)] = length;
    size_ = static_cast<uint16_t>(newSize);
    return 1;
}

int DocStringTable::ParseBlock(MemReader& reader) {
    ClearBlock();
    uint16_t header = 0;
    uint16_t size = 0;
    std::array<uint8_t, kSlots> lengths{};
    reader.ReadWord(header);
    reader.ReadBytes(lengths.data(), kSlots);
    reader.ReadWord(size);
    if (reader.overrun()) return refuse(0, "block shorter than its head");
    if (std::accumulate(lengths.begin(), lengths.end(), uint32_t{0}) != size)
        return refuse(0, "slot lengths do not add up to the block size");
    if (reader.remaining() < size) return refuse(0, "block shorter than its string bytes");
    if (size != 0) {
        bytes_.reset(GlobalAlloc(GMEM_MOVEABLE, size));
        winplat::GlobalPin pin(bytes_.get());
        if (!pin) {
            bytes_.reset();
            return refuse(0, "no memory for string bytes");
        }
        reader.ReadBytesLong(pin.data(), size);
    }
    header_ = header;
    lengths_ = lengths;
    size_ = size;
    return 1;
}

int DocStringTable::BuildBlock(MemWriter& writer) const {
    writer.Begin();
    writer.WriteWord(header_);
    writer.WriteBytes(lengths_.data(), kSlots);
    writer.WriteWord(size_);
    if (size_ != 0) {
        winplat::GlobalPin pin(bytes_.get());
        if (!pin) return refuse(0, "string bytes cannot be locked");
        writer.WriteBytesLong(pin.data(), size_);
    }
    writer.End();
    return writer.GetLength() != 0 ? 1 : 0;
}

int DocStringTable::ForEachString(const StringVisitor& visit) {
    char text[kBufferSize];
    for (int block = 0; block < kBlocks; ++block) {
        MemReader reader;
        if (!container_->ReadRecordByType(kRecordType, block, reader)) continue;
        if (!ParseBlock(reader)) return 0;
        if (size_ == 0) continue;
        // One pin and a running offset for the whole block, rather than a sum of the lengths
        // before each slot.
        const winplat::GlobalPin pin(bytes_.get());
        if (!pin) return refuse(0, "string bytes cannot be locked");
        const uint8_t* bytes = pin.as<uint8_t>();
        uint32_t offset = 0;
        for (int slot = 0; slot < kSlots; ++slot) {
            const uint8_t length = lengths_[static_cast<size_t>(slot)];
            if (length == 0) continue;
            std::memcpy(text, bytes + offset, length);
            text[length] = '\0';
            offset += length;
            if (!visit(block * kSlots + slot, text, length)) return 1;
        }
    }
    return 1;
}

// The held block serves one read after another: it is loaded again only for another block or
// once the document changed (written, or changed on disk, which the access looks for first).
int DocStringTable::ReadString(int16_t n, char* buffer) {
    buffer[0] = '\0';
    const uint16_t slot = blockSlot(n);
    if (slot == VazaziFile::kNoSlot) return refuse(0, "string number out of range");
    VazaziAccess access(*container_);
    if (!container_->HasRecord(static_cast<int16_t>(slot), 1)) return 0;
    if (!access) return refuse(0, "container cannot be accessed");
    const int block = n / kSlots;
    if (readBlock_ != block || readGeneration_ != container_->generation()) {
        MemReader reader;
        if (!container_->ReadRecordByType(kRecordType, block, reader)) return refuse(0, "block cannot be read");
        if (!ParseBlock(reader)) return 0;
        readBlock_ = block;
        readGeneration_ = container_->generation();
    }
    return GetSlot(n % kSlots, buffer);
}

int DocStringTable::WriteString(int16_t n, const char* bytes, uint8_t length) {
    const uint16_t slot = blockSlot(n);
    if (slot == VazaziFile::kNoSlot) return refuse(0, "string number out of range");
    if (container_->HasRecord(static_cast<int16_t>(slot), 1)) {
        MemReader reader;
        if (!container_->ReadRecordByType(kRecordType, n / kSlots, reader)) return refuse(0, "block cannot be read");
        if (!ParseBlock(reader)) return 0;
    } else {
        ClearBlock();
    }
    if (!SetSlot(n % kSlots, bytes, length)) return 0;
    MemWriter writer;
    if (!BuildBlock(writer)) return refuse(0, "block cannot be built");
    return container_->WriteRecordByType(kRecordType, n / kSlots, writer) ? 1 : 0;
}

}  // namespace lect32
