// Reading, writing and deleting the records of a record file.
//
// Placement keeps the file's own rules: a record stays where it is when it fits (or is the last
// one), else goes into another record's slack, else behind the data area, else into the end of
// the gap. Freed space becomes the gap (first record), leaves the file (last record) or becomes
// the slack of the record before it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "store/vazazi_header.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr uint8_t kRecordMagic[4] = {0xFF, 0xFE, 0xFF, 0xFE};
constexpr uint32_t kCopyBuffer = 64000;
constexpr winplat::Refuser refuse("lect32: record file");

}  // namespace

enum class PlaceKind { InPlace, IntoSlack, Append, FromGap };

struct VazaziFile::Placement {
    PlaceKind kind = PlaceKind::Append;
    uint32_t offset = 0;
    uint32_t available = 0;  // bytes the record may use there (in place, or the host's slack)
    SlotRef host;            // IntoSlack: the record whose slack is taken
};

bool VazaziFile::validSlot(int table, int index) const {
    return (table == 1 || table == 2) && index >= 0 && size_t(index) < index_->size(table);
}

bool VazaziFile::writeAt(uint32_t offset, const void* data, uint32_t count) {
    wrote();
    file_.Seek(static_cast<int32_t>(offset), DiskFile::kBegin);
    return file_.Write(data, count) == count;
}

bool VazaziFile::writeEntry(int table, int index, const IndexEntry& entry) {
    const auto bytes = encodeEntry(entry);
    index_->set({table, index}, entry);
    return writeAt(static_cast<uint32_t>(header_->entryOffset(table, index)), bytes.data(), kEntrySize);
}

// The stored header of a record: magic, slot index, table, compressed flag, version. A header
// that does not name the entry's own slot means the entry points at something else.
bool VazaziFile::readRecordHeader(const IndexEntry& entry, uint8_t (&header)[9]) {
    file_.Seek(static_cast<int32_t>(entry.offset), DiskFile::kBegin);
    return file_.Read(header, sizeof header) == sizeof header;
}

bool VazaziFile::zeroRecordHeader(uint32_t offset) {
    const std::vector<uint8_t> zeros(header_->recordHeaderSize, 0);
    return writeAt(offset, zeros.data(), static_cast<uint32_t>(zeros.size()));
}

namespace {

bool headerNames(const uint8_t (&header)[9], int table, int index) {
    return std::memcmp(header, kRecordMagic, 4) == 0 && (header[4] | (header[5] << 8)) == index &&
           header[6] == table;
}

// Any non-zero compressed byte means the chunked form.
BodyStamp stampOf(const uint8_t (&header)[9]) {
    return {header[7] ? BodyForm::Chunked : BodyForm::Plain, header[8]};
}

void putHeader(uint8_t (&header)[9], SlotRef slot, StoredForm form) {
    std::memcpy(header, kRecordMagic, 4);
    header[4] = static_cast<uint8_t>(slot.index);
    header[5] = static_cast<uint8_t>(slot.index >> 8);
    header[6] = static_cast<uint8_t>(slot.table);
    header[7] = form.compressed;
    header[8] = form.version;
}

}  // namespace

bool VazaziFile::namedHeader(SlotRef slot, const IndexEntry& entry, uint8_t (&header)[9]) {
    if (const auto form = index_->knownForm(slot)) {
        putHeader(header, slot, *form);
        return true;
    }
    if (!readRecordHeader(entry, header) || !headerNames(header, slot.table, slot.index)) return false;
    index_->rememberForm(slot, StoredForm{header[7], header[8]});
    return true;
}

int VazaziFile::ReadRecord(int table, int16_t index, MemReader& reader) {
    // The access comes first: a file changed on disk brings new tables.
    VazaziAccess access(*this);
    if (!access || !validSlot(table, index)) return 0;
    const SlotRef slot{table, index};
    const IndexEntry& entry = index_->entry(slot);
    if (!entry.used || index_->damaged(slot)) return 0;
    uint8_t header[9];
    if (!namedHeader(slot, entry, header)) {
        return refuse(0, "record header does not match its entry");
    }
    file_.Seek(static_cast<int32_t>(entry.offset + header_->recordHeaderSize), DiskFile::kBegin);
    return reader.LoadFromFile(file_, entry.length - header_->recordHeaderSize, stampOf(header), knownSize());
}

VazaziFile::Placement VazaziFile::choosePlace(int table, int index, const IndexEntry& old, uint32_t size) const {
    Placement place;
    const bool atEnd = old.used && old.end() == header_->dataEnd();
    if (old.used && (uint64_t{old.length} + old.slack >= size || atEnd)) {
        place.kind = PlaceKind::InPlace;
        place.offset = old.offset;
        place.available = old.length + old.slack;
        return place;
    }
    if (auto host = index_->findSlack(size); host && !(host->table == table && host->index == index)) {
        const IndexEntry& h = index_->entry(*host);
        place.kind = PlaceKind::IntoSlack;
        place.offset = h.offset + h.length;
        place.available = h.slack;
        place.host = *host;
        return place;
    }
    if (header_->gap < size) {
        place.kind = PlaceKind::Append;
        place.offset = static_cast<uint32_t>(header_->dataEnd());
        return place;
    }
    place.kind = PlaceKind::FromGap;
    place.offset = static_cast<uint32_t>(header_->dataStart() - size);
    return place;
}

int VazaziFile::WriteRecord(int table, int16_t index, MemWriter& writer, const RecordFlags* flags) {
    if (!open_ || !writable_ || (table != 1 && table != 2) || index < 0) return 0;
    VazaziAccess access(*this);
    if (!access || index_->anyDamaged()) return 0;
    if (table == 2 && size_t(index) >= index_->size(2) && !growTable2(uint32_t(index) + 1 - header_->count2)) return 0;
    if (!validSlot(table, index)) return 0;

    const SlotRef slot{table, index};
    const IndexEntry old = index_->entry(slot);
    const uint32_t hsize = header_->recordHeaderSize;
    const uint64_t size64 = uint64_t{writer.GetLength()} + hsize;
    if (writer.error() || header_->dataEnd() + size64 > UINT32_MAX) return 0;
    const auto size = static_cast<uint32_t>(size64);

    std::vector<uint8_t> record(size, 0);
    uint8_t stored[9];
    if (old.used && !index_->damaged(slot) && namedHeader(slot, old, stored)) {
        std::memcpy(record.data(), stored, sizeof stored);
    } else {
        std::memcpy(record.data(), kRecordMagic, 4);
        record[4] = static_cast<uint8_t>(index);
        record[5] = static_cast<uint8_t>(index >> 8);
        record[6] = static_cast<uint8_t>(table);
        record[7] = 0;
        record[8] = 1;
    }
    if (flags) {
        record[7] = flags->compressed;
        record[8] = flags->version;
    }
    if (writer.GetLength() && writer.CopyTo(record.data() + hsize) != writer.GetLength()) return 0;

    const Placement place = choosePlace(table, index, old, size);
    if (!index_->rangeFree(place.offset, size, slot)) return 0;
    if (!writeAt(place.offset, record.data(), size)) return 0;

    Header& h = *header_;
    const uint64_t oldDataStart = h.dataStart();
    IndexEntry fresh{1, place.offset, size, 0, old.used ? old.reserved : uint8_t{0}};
    switch (place.kind) {
        case PlaceKind::InPlace:
            if (old.end() == h.dataEnd()) {
                h.dataLength = static_cast<uint32_t>(uint64_t{place.offset} + size - oldDataStart);
                if (uint64_t{place.offset} + size < old.end()) {
                    wrote();
                    file_.SetEnd(static_cast<uint32_t>(h.dataEnd()));
                }
            } else {
                fresh.slack = place.available - size;
            }
            break;
        case PlaceKind::IntoSlack: {
            IndexEntry host = index_->entry(place.host);
            host.slack = 0;
            writeEntry(place.host.table, place.host.index, host);
            fresh.slack = place.available - size;
            break;
        }
        case PlaceKind::Append:
            h.dataLength += size;
            break;
        case PlaceKind::FromGap:
            h.gap -= size;
            h.dataLength += size;
            break;
    }
    const bool moved = place.kind != PlaceKind::InPlace && old.used;
    const uint32_t oldSpace = old.length + old.slack;
    if (moved) {
        zeroRecordHeader(old.offset);
        if (old.offset == oldDataStart) {
            if (place.kind == PlaceKind::FromGap) {
                fresh.slack = oldSpace;  // the freed first record lies right behind the new one
            } else {
                h.gap += oldSpace;  // the old first place joins the gap
                h.dataLength -= oldSpace;
            }
        }
    }
    if (!writeEntry(table, index, fresh)) return 0;
    index_->rememberForm(slot, StoredForm{record[7], record[8]});
    if (moved && old.offset != oldDataStart) {
        // The record now ending where the old one began (possibly the moved record itself, when it
        // went into its neighbour's slack) takes the old space.
        if (auto before = index_->findEndingAt(old.offset)) {
            IndexEntry previous = index_->entry(*before);
            previous.slack += oldSpace;
            writeEntry(before->table, before->index, previous);
        }
    }
    if (table == 1 && index >= h.bound1) h.bound1 = static_cast<uint16_t>(index + 1);
    return writeTableHeader() ? 1 : 0;
}

// Moves the record at the start of the data area out of the way, so the gap grows by its space.
bool VazaziFile::moveFirstRecord() {
    Header& h = *header_;
    const auto first = index_->findStartingAt(static_cast<uint32_t>(h.dataStart()));
    if (!first) return false;
    const IndexEntry entry = index_->entry(*first);
    std::vector<uint8_t> bytes(entry.length);
    file_.Seek(static_cast<int32_t>(entry.offset), DiskFile::kBegin);
    if (file_.Read(bytes.data(), entry.length) != entry.length) return false;

    IndexEntry moved = entry;
    uint32_t freed = entry.length + entry.slack;
    const auto host = index_->findSlack(entry.length);
    if (host && *host == *first) {
        // Into its own slack: only its old place becomes gap.
        moved.offset = entry.offset + entry.length;
        moved.slack = entry.slack - entry.length;
        freed = entry.length;
    } else if (host) {
        IndexEntry hostEntry = index_->entry(*host);
        moved.offset = hostEntry.offset + hostEntry.length;
        moved.slack = hostEntry.slack - entry.length;
        hostEntry.slack = 0;
        if (!writeAt(moved.offset, bytes.data(), entry.length)) return false;
        writeEntry(host->table, host->index, hostEntry);
    } else {
        moved.offset = static_cast<uint32_t>(h.dataEnd());
        moved.slack = 0;
        h.dataLength += entry.length;
    }
    if (!host || *host == *first) {
        if (!writeAt(moved.offset, bytes.data(), entry.length)) return false;
    }
    zeroRecordHeader(entry.offset);
    h.gap += freed;
    h.dataLength -= freed;
    return writeEntry(first->table, first->index, moved) && writeTableHeader();
}

bool VazaziFile::growTable2(uint32_t entries) {
    Header& h = *header_;
    if (entries == 0) return true;
    if (uint32_t{h.count2} + entries > 32767) return false;
    const uint64_t needed = uint64_t{entries} * h.entrySize;
    while (h.gap < needed && h.dataLength > 0) {
        if (!moveFirstRecord()) return false;
    }
    // An empty data area simply starts later.
    h.gap = h.gap >= needed ? static_cast<uint32_t>(h.gap - needed) : 0;
    const std::vector<uint8_t> zeros(static_cast<size_t>(needed), 0);
    if (!writeAt(static_cast<uint32_t>(h.entryOffset(2, h.count2)), zeros.data(), static_cast<uint32_t>(needed))) {
        return false;
    }
    h.count2 = static_cast<uint16_t>(h.count2 + entries);
    index_->growTable2(h.count2);
    return writeTableHeader();
}

int16_t VazaziFile::AllocateNumberedSlot() {
    VazaziAccess access(*this);
    if (!access) return -1;
    if (auto free = index_->firstFreeNumbered()) return static_cast<int16_t>(*free);
    if (!writable_ || index_->anyDamaged() || !growTable2(1)) return -1;
    return static_cast<int16_t>(header_->count2 - 1);
}

int VazaziFile::DeleteRecord(int table, int16_t index) {
    if (!open_ || !writable_) return 0;
    VazaziAccess access(*this);
    if (!access || index_->anyDamaged() || !validSlot(table, index)) return 0;
    const IndexEntry old = index_->entry({table, index});
    if (!old.used) return 0;
    Header& h = *header_;
    const uint32_t space = old.length + old.slack;
    const bool first = old.offset == h.dataStart();
    const bool last = !first && old.end() == h.dataEnd();
    // Whoever takes the space is found before anything changes, so a failure changes nothing.
    SlotRef before;
    if (!first) {
        const auto found = index_->findEndingAt(old.offset);
        if (!found) return 0;
        before = *found;
    }
    if (!writeEntry(table, index, IndexEntry{})) return 0;
    if (first) {
        h.gap += space;
        h.dataLength -= space;
    } else if (last) {
        IndexEntry previous = index_->entry(before);
        h.dataLength -= space + previous.slack;
        previous.slack = 0;
        writeEntry(before.table, before.index, previous);
        wrote();
        file_.SetEnd(static_cast<uint32_t>(h.dataEnd()));
    } else {
        IndexEntry previous = index_->entry(before);
        previous.slack += space;
        writeEntry(before.table, before.index, previous);
    }
    return writeTableHeader() ? 1 : 0;
}

int VazaziFile::ReadRecordByType(int type, int subindex, MemReader& reader) {
    const uint16_t slot = GetDirectorySlot(type, subindex);
    return slot == kNoSlot ? 0 : ReadRecord(1, static_cast<int16_t>(slot), reader);
}

int VazaziFile::WriteRecordByType(int type, int subindex, MemWriter& writer, const RecordFlags* flags) {
    const uint16_t slot = GetDirectorySlot(type, subindex);
    return slot == kNoSlot ? 0 : WriteRecord(1, static_cast<int16_t>(slot), writer, flags);
}

int VazaziFile::SeekToRecordBody(int type, int subindex) {
    const uint16_t slot = GetDirectorySlot(type, subindex);
    if (!open_ || slot == kNoSlot || !validSlot(1, slot)) return 0;
    const IndexEntry& entry = index_->entry({1, slot});
    if (!entry.used || index_->damaged({1, slot})) return 0;
    file_.Seek(static_cast<int32_t>(entry.offset + header_->recordHeaderSize), DiskFile::kBegin);
    return 1;
}

uint32_t VazaziFile::LocateRecordBody(int16_t index, uint32_t* length, int table) {
    if (length) *length = 0;
    VazaziAccess access(*this);
    if (!access || !validSlot(table, index)) return 0;
    const SlotRef slot{table, index};
    const IndexEntry& entry = index_->entry(slot);
    if (!entry.used || index_->damaged(slot)) return 0;
    uint8_t header[9];
    if (!namedHeader(slot, entry, header)) return 0;
    if (stampOf(header).form == BodyForm::Chunked) return 0;  // only an extraction gives the real bytes
    if (length) *length = entry.length - header_->recordHeaderSize;
    return base_ + entry.offset + header_->recordHeaderSize;
}

int VazaziFile::ExportRecordToFile(int16_t index, const char* path, int table) {
    MemReader body;
    if (!ReadRecord(table, index, body)) return 0;
    DiskFile out;
    if (!out.Create(path, DiskFile::kWrite)) return 0;
    uint32_t written = 0;
    while (written < body.size()) {
        const uint32_t count = std::min(kCopyBuffer, body.size() - written);
        if (out.Write(body.data() + written, count) != count) break;
        written += count;
    }
    out.Close();
    return written == body.size() ? 1 : 0;
}

}  // namespace lect32
