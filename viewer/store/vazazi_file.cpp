#include "store/vazazi_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_header.h"
#include "store/vazazi_index.h"
#include "store/viewer_texts.h"
#include "winplat/base.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"
#include "winplat/time.h"

namespace lect32 {
namespace {

constexpr char kMagic[6] = {'V', 'A', 'Z', 'A', 'Z', 'I'};
constexpr uint16_t kFormatVersion = 4;
constexpr int kMaxNumbered = 32767;

// Table-1 slot of each record type; type 0 takes its sub-index (string-table blocks 0..127).
constexpr std::array<uint16_t, 15> kDirectory = {0,   128, 129, 130, 131, 132, 133, 134,
                                                 VazaziFile::kNoSlot, 135, 136, 137, 138, 139, 140};

constexpr winplat::Refuser refuse("lect32: record file");

IndexEntry decodeEntry(winplat::ByteReader& in) {
    IndexEntry e;
    e.used = in.u8();
    e.offset = in.u32();
    e.length = in.u32();
    e.slack = in.u32();
    e.reserved = in.u8();
    return e;
}

// The title of a new file: its name up to the first dot, capitalised the way file names were
// shown, or the untitled text when the path has no folder or the name no dot.
std::string titleFromPath(const std::string& path) {
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) {
        const std::string name = path.substr(slash + 1);
        const size_t dot = name.find('.');
        if (dot != std::string::npos) {
            std::string title = name.substr(0, std::min<size_t>(dot, 255));
            if (title.size() > 1) CharLowerBuffA(title.data() + 1, static_cast<DWORD>(title.size() - 1));
            return title;
        }
    }
    return untitledDocumentText();
}

}  // namespace

VazaziFile::VazaziFile() : header_(std::make_unique<Header>()), index_(std::make_unique<VazaziIndex>()) {}

VazaziFile::~VazaziFile() { file_.Close(); }

uint32_t VazaziFile::dataStart() const { return static_cast<uint32_t>(header_->dataStart()); }

int VazaziFile::Create(const char* path, uint8_t kind) {
    Close();
    if (!path || !file_.Create(path, DiskFile::kReadWrite)) return 2;
    Header fresh;
    std::memcpy(fresh.bytes.data(), kMagic, sizeof kMagic);
    fresh.bytes[6] = 20;
    put16(&fresh.bytes[7], kFormatVersion);
    fresh.bytes[9] = kind;
    const std::string title = titleFromPath(path);
    std::memcpy(&fresh.bytes[10], title.data(), std::min<size_t>(title.size(), 255));

    std::vector<uint8_t> image(kTable1Offset + size_t{kEntrySize} * kDefaultCapacity1, 0);
    std::memcpy(image.data(), fresh.bytes.data(), kHeaderSize);
    const auto table = fresh.encodeTableHeader();
    std::memcpy(image.data() + kHeaderSize, table.data(), table.size());
    const bool written = file_.Write(image.data(), static_cast<uint32_t>(image.size())) == image.size();
    ++generation_;
    if (!written) {
        file_.Close();
        return 2;
    }
    remember();

    *header_ = fresh;
    index_->reset(std::vector<IndexEntry>(kDefaultCapacity1), {}, header_->dataStart(), header_->dataEnd(),
                  kRecordHeaderSize);
    path_ = path;
    base_ = 0;
    length_ = 0;
    open_ = true;
    useCount_ = 0;
    return 0;
}

int VazaziFile::Open(const char* path, bool writable, uint32_t base, uint32_t length) {
    Close();
    if (!path) return 0;
    path_ = path;
    writable_ = writable;
    base_ = base;
    length_ = length;
    ++generation_;
    if (!file_.Open(path, writable ? DiskFile::kReadWrite : DiskFile::kRead, base, length)) return 0;
    if (!readHeaders()) {
        file_.Close();
        path_.clear();
        return 0;
    }
    remember();
    open_ = true;
    useCount_ = 0;
    return 1;
}

// Looking costs a system call, which would outweigh the read it guards: the stamp is looked at
// once per tick of the host clock, so a run of reads pays for one look.
bool VazaziFile::current() {
    if (file_.IsOpen() && stamp_.named) {
        const DWORD now = GetTickCount();
        if (now == lookedAt_) return true;
        lookedAt_ = now;
        if (file_.GetStamp() == stamp_) return true;
    }
    return reopen();
}

bool VazaziFile::reopen() {
    ++generation_;
    if (!file_.Open(path_.c_str(), writable_ ? DiskFile::kReadWrite : DiskFile::kRead, base_, length_)) {
        return refuse(false, "the changed file cannot be opened again");
    }
    if (!readHeaders()) {
        file_.Close();
        return refuse(false, "the changed file is no longer a record file");
    }
    remember();
    return true;
}

void VazaziFile::remember() {
    stamp_ = file_.GetStamp();
    lookedAt_ = GetTickCount();
    sizeKnown_ = stamp_.named;
    // Measured as GetSize does: a window by its length, and a file of 4 GB or more as empty.
    sizeSeen_ = file_.windowLength() != 0 ? file_.windowLength() : stamp_.size < 0xFFFFFFFFu ? stamp_.size : 0;
}

uint64_t VazaziFile::knownSize() const { return sizeKnown_ ? sizeSeen_ : file_.GetSize(); }

void VazaziFile::wrote() {
    wrote_ = true;
    sizeKnown_ = false;
    ++generation_;
}

// Reads and checks header, table header and both tables; nothing of them is trusted.
bool VazaziFile::readHeaders() {
    std::array<uint8_t, kTable1Offset> head{};
    file_.Seek(0, DiskFile::kBegin);
    if (file_.Read(head.data(), kTable1Offset) != kTable1Offset) return refuse(false, "shorter than its headers");
    if (std::memcmp(head.data(), kMagic, sizeof kMagic) != 0) return refuse(false, "no VAZAZI magic");
    Header h;
    std::memcpy(h.bytes.data(), head.data(), kHeaderSize);
    winplat::ByteReader in(head.data() + kHeaderSize, kTableHeaderSize);
    h.capacity1 = in.u16();
    h.bound1 = in.u16();
    h.count2 = in.u16();
    h.reserved1 = in.u16();
    h.entrySize = in.u8();
    h.recordHeaderSize = in.u8();
    h.gap = in.u32();
    h.dataLength = in.u32();
    h.reserved2 = in.u32();
    if (h.entrySize < kEntrySize || h.recordHeaderSize < kRecordHeaderSize) {
        return refuse(false, "entry or record header size");
    }
    if (h.count2 > kMaxNumbered || h.dataEnd() > UINT32_MAX) return refuse(false, "table sizes");
    const uint64_t tablesBytes = h.table2Offset() + uint64_t{h.entrySize} * h.count2 - kTable1Offset;
    if (tablesBytes > file_.GetSize()) return refuse(false, "tables longer than the file");
    std::vector<uint8_t> tables(static_cast<size_t>(tablesBytes));
    if (file_.Read(tables.data(), static_cast<uint32_t>(tables.size())) != tables.size()) {
        return refuse(false, "tables cut short");
    }
    auto decodeTable = [&](uint64_t start, size_t count) {
        std::vector<IndexEntry> entries(count);
        for (size_t i = 0; i < count; ++i) {
            winplat::ByteReader e(tables.data() + (start - kTable1Offset) + i * h.entrySize, kEntrySize);
            entries[i] = decodeEntry(e);
        }
        return entries;
    };
    *header_ = h;
    index_->reset(decodeTable(kTable1Offset, h.capacity1), decodeTable(h.table2Offset(), h.count2), h.dataStart(),
                  h.dataEnd(), h.recordHeaderSize);
    return true;
}

void VazaziFile::Close() {
    file_.Close();
    sizeKnown_ = false;
    open_ = false;
    useCount_ = 0;
    ++generation_;
}

int VazaziFile::BeginAccess() {
    if (!open_) return 0;
    if (++useCount_ > 1) return 1;
    return current() ? 1 : 0;
}

// What this object wrote is no change on disk: the stamp after its writes is the one to compare.
void VazaziFile::EndAccess() {
    if (useCount_ == 0) return;
    if (--useCount_ == 0 && wrote_) {
        remember();
        wrote_ = false;
    }
}

void VazaziFile::GetTitle(char* out) const {
    if (!out) return;
    const char* title = reinterpret_cast<const char*>(&header_->bytes[10]);
    const size_t n = strnlen(title, 255);
    std::memcpy(out, title, n);
    out[n] = '\0';
}

void VazaziFile::GetPath(char* out) const {
    if (!out) return;
    const size_t n = open_ ? std::min<size_t>(path_.size(), MAX_PATH - 1) : 0;
    std::memcpy(out, path_.data(), n);
    out[n] = '\0';
}

uint16_t VazaziFile::formatVersion() const {
    return open_ ? static_cast<uint16_t>(header_->bytes[7] | header_->bytes[8] << 8) : 0;
}

int VazaziFile::RewriteHeader() {
    VazaziAccess access(*this);
    if (!access || !writable_) return 0;
    put16(&header_->bytes[7], kFormatVersion);
    wrote();
    file_.Seek(0, DiskFile::kBegin);
    return file_.Write(header_->bytes.data(), kHeaderSize) == kHeaderSize;
}

bool VazaziFile::writeTableHeader() {
    const auto bytes = header_->encodeTableHeader();
    wrote();
    file_.Seek(kHeaderSize, DiskFile::kBegin);
    return file_.Write(bytes.data(), kTableHeaderSize) == kTableHeaderSize;
}

uint16_t VazaziFile::GetDirectorySlot(int type, int subindex) {
    if (type < 0 || type >= static_cast<int>(kDirectory.size())) return kNoSlot;
    if (type == 0) return (subindex >= 0 && subindex < 128) ? static_cast<uint16_t>(subindex) : kNoSlot;
    return kDirectory[type];
}

bool VazaziFile::HasRecord(int16_t index, int table) const {
    if (!open_ || index < 0 || (table != 1 && table != 2)) return false;
    const size_t bound = table == 1 ? std::min<size_t>(header_->bound1, index_->size(1)) : index_->size(2);
    return size_t(index) < bound && index_->entry({table, index}).used;
}

uint16_t VazaziFile::GetNumberedRecordCount() const { return open_ ? header_->count2 : 0; }

uint16_t VazaziFile::CountUsedNumberedRecords(uint8_t* map) const {
    if (!open_) return 0;
    if (map) {
        for (size_t i = 0; i < index_->size(2); ++i) map[i] = index_->entry({2, int(i)}).used ? 1 : 0;
    }
    return static_cast<uint16_t>(index_->usedNumbered());
}

}  // namespace lect32
