// The paths of the outside files a document refers to (pictures, sounds, linked documents). Each
// path is split into a folder, kept once in a companion StringPool of folders (the string ends
// with its backslash), and a file name kept here with the folder's index, a media-type code from
// the extension and a free 16-bit tag. Entries are shared and counted: every reference holds one
// use on its entry and one on its folder.
// Entry header (little-endian, part of the stored block):
//   u8 used, u8 name length, u16 use count, u16 folder index, u8 media type, u16 tag
// ImageFileTable adds a u32 image handle (the picture loaded from the file); it is memory only.
// Stored form of a table: the folder pool's stored form followed by the table's.
#ifndef LECT32_STORE_FILE_NAME_TABLE_H
#define LECT32_STORE_FILE_NAME_TABLE_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/string_pool.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

class FileNameTable : public StringPool {
public:
    // Folder string + file name + terminator.
    static constexpr size_t kPathBuffer = 2 * kMaxLength + 1;

    // The folder pool belongs to the caller and outlives the table.
    explicit FileNameTable(StringPool& folders) : FileNameTable(folders, 9) {}
    ~FileNameTable() override;

    // Media-type code of a file name: from the text after the last dot (0 without one); the
    // extension is compared as it is, so callers lower-case it first unless case is kept.
    static uint8_t MediaTypeOf(const char* name, int length);

    // Lower-cases 'path' in place unless keep-case is set. Returns the entry index or 0xFFFF
    // (empty path or file name, a folder or name over 255 bytes) or the add's failure value, with
    // the table and the folder pool unchanged.
    uint16_t AddPath(char* path);
    // Gives up one use; at the last the entry goes (remove: indexes shift; else a free slot) and
    // so does its use of the folder. Returns the uses left; 0 when 'index' is out of range; 0xFFFF
    // when the entry was already a free slot.
    uint16_t ReleasePath(uint16_t index, int remove);
    // buffer: kPathBuffer bytes. Out of range or a free slot: an empty string and 0.
    uint16_t GetPath(int index, char* buffer);
    // Gives the entry a new path. keepFolder clear: the entry moves to the new folder (the old
    // one's use is given up); set: the entry's folder string itself is renamed, taking every entry
    // of that folder along (merged into an equal folder already in the pool). The media type
    // follows the new extension; the tag stays. 1 on success, 0 otherwise (nothing changed).
    int ReplacePath(uint16_t index, char* path, int keepFolder);
    // 0xFFFF for an empty path or name, a name without a dot, an unknown folder, or no such entry.
    uint16_t FindPath(char* path);

    uint16_t GetFolderIndex(uint16_t index);
    uint8_t GetMediaType(uint16_t index);
    uint16_t GetTag(uint16_t index);  // 0xFFFF out of range
    void SetTag(uint16_t index, uint16_t tag);

    // kind 1, 3, 4 name document records 4, 10, 11. With a writer / reader the stored form goes
    // through it; without one it is record (type, 0) of 'document'. 1 when both lists succeed.
    int SaveToDocument(int kind, MemWriter* writer, VazaziFile* document = nullptr);
    int LoadFromDocument(int kind, MemReader* reader, VazaziFile* document = nullptr);
    static int RecordTypeOfKind(int kind);

    // Editing side.
    // As AddPath, but always a new entry, even beside an equal one.
    uint16_t AddPathNew(char* path);
    // Used entries naming this folder.
    uint16_t CountFolderEntries(uint16_t folder);
    void ClearTags();
    // Every folder's use count becomes the sum of its entries' use counts (saturating), as each
    // reference holds one use of both. Folders left at 0 that no entry names become free slots.
    void RecountFolders();
    // Used entries with use count 0 become free slots (indexes of the others stay), then
    // RecountFolders. Returns the number freed.
    uint16_t PurgeUnused();
    // Hands each used entry's full path and index to 'visit', in entry order; the list box of
    // the file dialog will be filled through it (item data = entry index).
    void ForEachPathInUse(const std::function<void(const char* path, uint16_t index)>& visit);
    // Rewrites every path as the file on disk is really named, relative to 'documentFolder' (a
    // path inside the folder, or the folder with a trailing '\') where it lies in it. Entries
    // whose file is missing, or whose path would not fit, stay. Returns the entries rewritten.
    uint16_t ConvertToLongPaths(const char* documentFolder);

    // The header of entry n inside the block, for code that walks the table directly: valid
    // while the table is locked (Lock / LockPermanently), null when it is not or n is out of
    // range. Bytes 0 and 1 belong to the list; writing folder or media type there is seen by
    // lookups because the path index is dropped here.
    uint8_t* EntryHeader(uint16_t n);

    // The list's own changes reach the entries behind the path index, so through the table they
    // drop it; it is rebuilt on the next lookup.
    uint16_t AddString(const char* bytes, int length, int index = -1);
    int DeleteString(uint16_t index, int remove);
    int ReplaceString(uint16_t index, const char* bytes, int length);
    void Clear();
    int Load(MemReader& reader, int type = -1, VazaziFile* document = nullptr);
    uint16_t Acquire(char* text);
    uint16_t AddNew(const char* text);
    int Release(uint16_t index, int remove);
    int ReplaceText(uint16_t index, const char* text);

    StringPool& folders() { return folders_; }

protected:
    FileNameTable(StringPool& folders, uint16_t headerSize) : StringPool(headerSize), folders_(folders) {}
    // A stored entry must name a folder of the pool loaded beside it.
    bool AcceptsLoadedEntry(const uint8_t* header) const override;

private:
    struct Split;
    bool SplitPath(char* path, Split& out) const;
    // The used entry with this name, folder and media type, if any. Needs a pin.
    std::optional<uint16_t> Match(const Split& split, uint16_t folder);
    void FolderText(const Split& split, char* out) const;
    std::optional<uint16_t> LookUpFolder(const char* folder);
    // The folder's index in the pool, added (added set) when it was not there; an add's failure
    // value when it could not be.
    uint16_t AcquireFolder(char* folder, bool& added);
    // Undoes the Acquire of a folder that was just added.
    void DropNewFolder(uint16_t folder, uint16_t countBefore);
    int RenameFolder(uint16_t index, const Split& split);
    uint16_t Word(uint16_t index, int at);
    void SetWord(uint16_t index, int at, uint16_t value);
    uint16_t AddSplit(char* path, bool share);

    // Path index beside the block, never stored: (name, folder, media type) to the used entries
    // with it in ascending order, so the first is what a scan from the start finds. Built on the
    // first lookup, kept in step by adds and releases, dropped by any other change. The list's
    // count, free count and size at the last step catch changes made through a base reference.
    static std::string PathKey(std::string_view name, uint16_t folder, uint8_t type);
    bool PathIndexCurrent() const;
    void StampPathIndex();
    bool BuildPathIndex();
    void PathIndexAdd(uint16_t entry, const std::string& key);
    void PathIndexRemove(uint16_t entry, const std::string& key);
    void DropPathIndex();

    std::unordered_map<std::string, std::vector<uint16_t>> pathIndex_;
    bool pathIndexValid_ = false;
    uint16_t stampCount_ = 0;
    uint16_t stampFree_ = 0;
    uint32_t stampSize_ = 0;

    StringPool& folders_;
};

class ImageFileTable : public FileNameTable {
public:
    explicit ImageFileTable(StringPool& folders) : FileNameTable(folders, 13) {}

    void SetImage(uint16_t index, uint32_t handle);
    uint32_t GetImage(int index);  // 0 out of range
};

}  // namespace lect32

#endif
