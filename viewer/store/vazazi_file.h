// The record file ("VAZAZI"): a header, two index tables and a data area of variable-length
// records. Documents, packages, companion containers, language files and the notes file are
// record files; one can lie inside a larger file at a base offset.
//
// Records of table 1 are typed (RecordDirectory); records of table 2 are numbered. The object
// keeps both index tables in memory with indexes of its own, so that placing a record costs
// O(log n) instead of a scan of every entry; the file is always written through.
//
// One handle stays open from Open (or Create) to Close, and what a record's header says is read
// once. The first access of a run of accesses looks at the file's stamp, at most once per tick of
// the host clock: a file changed on disk (written, cut, or replaced by another under its name) is
// opened again and its tables read anew by the first access begun after the clock moved on.
#ifndef LECT32_STORE_VAZAZI_FILE_H
#define LECT32_STORE_VAZAZI_FILE_H

#include <cstdint>
#include <memory>
#include <string>

#include "store/disk_file.h"
#include "store/record_flags.h"
#include "store/vazazi_index.h"

namespace lect32 {

class MemReader;
class MemWriter;

class VazaziFile {
public:
    static constexpr uint16_t kNoSlot = 0xFFFF;
    static constexpr uint32_t kHeaderSize = 266;
    static constexpr uint32_t kTableHeaderSize = 22;
    static constexpr uint32_t kTable1Offset = kHeaderSize + kTableHeaderSize;  // 288

    VazaziFile();
    ~VazaziFile();
    VazaziFile(const VazaziFile&) = delete;
    VazaziFile& operator=(const VazaziFile&) = delete;

    // 0 on success, 2 when the file cannot be created.
    int Create(const char* path, uint8_t kind);
    int Open(const char* path, bool writable, uint32_t base = 0, uint32_t length = 0);
    void Close();
    bool IsOpen() const { return open_; }

    int BeginAccess();
    void EndAccess();
    uint16_t useCount() const { return useCount_; }
    // Changes whenever what the object knows of the file may have changed: the file opened,
    // written through this object, or seen changed on disk. Equal values mean equal records.
    uint32_t generation() const { return generation_; }

    void GetTitle(char* out) const;  // at most 255 characters and a terminator
    int RewriteHeader();
    void GetPath(char* out) const;   // MAX_PATH bytes
    // The format version in the file's header (0 when none is open).
    uint16_t formatVersion() const;

    int ReadRecord(int table, int16_t index, MemReader& reader);
    int WriteRecord(int table, int16_t index, MemWriter& writer, const RecordFlags* flags = nullptr);
    static uint16_t GetDirectorySlot(int type, int subindex);
    int ReadRecordByType(int type, int subindex, MemReader& reader);
    int WriteRecordByType(int type, int subindex, MemWriter& writer, const RecordFlags* flags = nullptr);
    // Positions the file (already accessed) at the body of a typed record.
    int SeekToRecordBody(int type, int subindex);
    // Absolute offset of an uncompressed body in the disk file and its length; 0 when the slot is
    // free or the body is compressed (then the caller extracts it).
    uint32_t LocateRecordBody(int16_t index, uint32_t* length, int table = 2);
    int ExportRecordToFile(int16_t index, const char* path, int table = 2);
    bool HasRecord(int16_t index, int table = 2) const;
    uint16_t GetNumberedRecordCount() const;
    uint16_t CountUsedNumberedRecords(uint8_t* map = nullptr) const;
    int16_t AllocateNumberedSlot();
    int DeleteRecord(int table, int16_t index);
    int CheckIntegrity() { return 0; }

    DiskFile& file() { return file_; }
    uint32_t dataStart() const;
    uint32_t base() const { return base_; }

private:
    struct Header;
    struct Placement;
    bool readHeaders();
    // The file as it is on disk: opened again, and its tables read anew, when its stamp changed.
    bool current();
    bool reopen();
    // The stamp as it is now, looked at now.
    void remember();
    // The file's size as last seen, or as it is now when nothing was seen since the last write.
    uint64_t knownSize() const;
    // Everything written through the object changes its generation and, at the end of the
    // access, the stamp it knows.
    void wrote();
    bool writeTableHeader();
    bool validSlot(int table, int index) const;
    bool writeEntry(int table, int index, const IndexEntry& entry);
    bool readRecordHeader(const IndexEntry& entry, uint8_t (&header)[9]);
    // The record's stored header when it names its slot (read once, then known): false when it
    // cannot be read or names another slot.
    bool namedHeader(SlotRef slot, const IndexEntry& entry, uint8_t (&header)[9]);
    bool zeroRecordHeader(uint32_t offset);
    bool writeAt(uint32_t offset, const void* data, uint32_t count);
    bool growTable2(uint32_t entries);
    bool moveFirstRecord();
    Placement choosePlace(int table, int index, const IndexEntry& old, uint32_t size) const;

    std::string path_;
    DiskFile file_;
    uint32_t base_ = 0;
    uint32_t length_ = 0;
    bool open_ = false;
    bool writable_ = true;
    bool wrote_ = false;
    uint16_t useCount_ = 0;
    uint32_t generation_ = 0;
    FileStamp stamp_;
    DWORD lookedAt_ = 0;  // host clock tick of the last look at the stamp
    // The file's size (as DiskFile::GetSize measures it) from the last look at its stamp, while
    // nothing was written since: a read checks its record against it instead of asking again.
    uint64_t sizeSeen_ = 0;
    bool sizeKnown_ = false;
    std::unique_ptr<Header> header_;
    std::unique_ptr<VazaziIndex> index_;
};

}  // namespace lect32

#endif
