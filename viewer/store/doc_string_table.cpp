#include "store/doc_string_table.h"

#include <cstring>
#include <numeric>

#include "store/disk_file.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "store/vazazi_header.h"
#include "winplat/byte_reader.h"
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

int DocStringTable::ReadString(int16_t n, char* buffer) {
    buffer[0] = '\0';
    const uint16_t slot = blockSlot(n);
    if (slot == VazaziFile::kNoSlot) return refuse(0, "string number out of range");
    if (!container_->HasRecord(static_cast<int16_t>(slot), 1)) return 0;
    // One access for the whole read: the file is opened once for locating the body and reading.
    VazaziAccess access(*container_);
    if (!access) return refuse(0, "container cannot be accessed");
    uint32_t length = 0;
    if (container_->LocateRecordBody(static_cast<int16_t>(slot), &length, 1) == 0)
        return readFromRecord(n, buffer);  // compressed (or damaged, which the full read says)
    return readFromBody(n, length, buffer);
}

// The head and the wanted string straight from the file, checked against the body's length.
int DocStringTable::readFromBody(int16_t n, uint32_t bodyLength, char* buffer) {
    VazaziAccess access(*container_);
    if (!access) return refuse(0, "container cannot be accessed");
    if (!container_->SeekToRecordBody(kRecordType, n / kSlots)) return refuse(0, "block body cannot be reached");
    std::array<uint8_t, kHeadSize> head{};
    if (bodyLength < kHeadSize || container_->file().Read(head.data(), kHeadSize) != kHeadSize)
        return refuse(0, "block shorter than its head");
    winplat::ByteReader reader(head.data(), head.size());
    reader.skip(2);
    const auto lengths = reader.view(kSlots);
    const uint16_t size = reader.u16();
    if (std::accumulate(lengths.begin(), lengths.end(), uint32_t{0}) != size || bodyLength - kHeadSize < size)
        return refuse(0, "slot lengths do not match the block");
    const int slot = n % kSlots;
    const uint8_t length = lengths[static_cast<size_t>(slot)];
    const auto before = std::accumulate(lengths.begin(), lengths.begin() + slot, int32_t{0});
    if (length == 0) return 0;
    DiskFile& file = container_->file();
    file.Seek(before, DiskFile::kCurrent);
    if (file.Read(buffer, length) != length) {
        buffer[0] = '\0';
        return refuse(0, "string bytes cannot be read");
    }
    buffer[length] = '\0';
    return length;
}

int DocStringTable::readFromRecord(int16_t n, char* buffer) {
    MemReader reader;
    if (!container_->ReadRecordByType(kRecordType, n / kSlots, reader)) return refuse(0, "block cannot be read");
    if (!ParseBlock(reader)) return 0;
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
