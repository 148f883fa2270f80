#include "store/file_name_table.h"

#include <algorithm>
#include <cstring>

// The layer exports its path resolver but keeps its header beside its sources.
#include "winplat/paths.h"
#include "store/document_paths.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "winplat/cp1250.h"

namespace lect32 {

namespace {

// Header field offsets.
constexpr int kUses = 2;
constexpr int kFolder = 4;
constexpr int kType = 6;
constexpr int kTag = 7;
constexpr int kImage = 9;

struct Extension {
    const char* text;
    uint8_t code;
};

constexpr Extension kExtensions[] = {
    {"pcx", 1}, {"gif", 2}, {"tif", 3}, {"bmp", 4},  {"wpg", 5},   {"ico", 6},
    {"mac", 7}, {"tga", 8}, {"jpg", 9}, {"png", 10}, {"wmf", 100},
};

constexpr uint8_t kOtherExtension = 1;

}  // namespace

struct FileNameTable::Split {
    const char* folder;
    int folderLength;
    const char* name;
    int nameLength;
    uint8_t type;
};

FileNameTable::~FileNameTable() = default;

uint8_t FileNameTable::MediaTypeOf(const char* name, int length) {
    int dot = length - 1;
    while (dot >= 0 && name[dot] != '.') --dot;
    if (dot < 0) return 0;
    const char* extension = name + dot + 1;
    const size_t extensionLength = static_cast<size_t>(length - dot - 1);
    for (const Extension& row : kExtensions) {
        if (std::strlen(row.text) == extensionLength && std::memcmp(row.text, extension, extensionLength) == 0) {
            return row.code;
        }
    }
    return kOtherExtension;
}

// The folder keeps its backslash; the name is what follows the last one. Both must fit a list
// string, since a cut one would name another file.
bool FileNameTable::SplitPath(char* path, Split& out) const {
    LowerUnlessKeepCase(path);
    const size_t length = std::strlen(path);
    size_t cut = length;
    while (cut > 0 && path[cut - 1] != '\\') --cut;
    if (cut > kMaxLength || length - cut > kMaxLength) return false;
    out.folder = path;
    out.folderLength = static_cast<int>(cut);
    out.name = path + cut;
    out.nameLength = static_cast<int>(length - cut);
    out.type = MediaTypeOf(out.name, out.nameLength);
    return out.nameLength > 0;
}

uint16_t FileNameTable::Word(uint16_t index, int at) {
    const uint8_t* header = HeaderAt(index);
    return static_cast<uint16_t>(header[at] | (header[at + 1] << 8));
}

void FileNameTable::SetWord(uint16_t index, int at, uint16_t value) {
    uint8_t* header = HeaderAt(index);
    header[at] = static_cast<uint8_t>(value);
    header[at + 1] = static_cast<uint8_t>(value >> 8);
}

std::optional<uint16_t> FileNameTable::Match(const Split& split, uint16_t folder) {
    if (PathIndexCurrent() || BuildPathIndex()) {
        const auto it = pathIndex_.find(
            PathKey({split.name, static_cast<size_t>(split.nameLength)}, folder, split.type));
        if (it == pathIndex_.end()) return std::nullopt;
        return it->second.front();
    }
    // No memory for the index: the same answer by a scan.
    const uint16_t count = GetCount();
    const uint8_t* strings = StringsAt();
    for (uint16_t j = 0; j < count; ++j) {
        const uint8_t* header = HeaderAt(j);
        if (header[0] && header[1] == split.nameLength && header[kType] == split.type &&
                (header[kFolder] | (header[kFolder + 1] << 8)) == folder &&
            std::memcmp(strings, split.name, static_cast<size_t>(split.nameLength)) == 0) {
            return j;
        }
        strings += header[1];
    }
    return std::nullopt;
}

std::string FileNameTable::PathKey(std::string_view name, uint16_t folder, uint8_t type) {
    std::string key(name);
    key.push_back(static_cast<char>(folder & 0xFF));
    key.push_back(static_cast<char>(folder >> 8));
    key.push_back(static_cast<char>(type));
    return key;
}

bool FileNameTable::PathIndexCurrent() const {
    return pathIndexValid_ && stampCount_ == GetCount() && stampFree_ == GetFreeCount() && stampSize_ == GetSize();
}

void FileNameTable::StampPathIndex() {
    stampCount_ = GetCount();
    stampFree_ = GetFreeCount();
    stampSize_ = GetSize();
}

void FileNameTable::DropPathIndex() {
    pathIndex_.clear();
    pathIndexValid_ = false;
}

// Needs the block pinned.
bool FileNameTable::BuildPathIndex() {
    DropPathIndex();
    try {
        const uint16_t count = GetCount();
        pathIndex_.reserve(count);
        const uint8_t* strings = StringsAt();
        for (uint16_t j = 0; j < count; ++j) {
            const uint8_t* header = HeaderAt(j);
            if (header[0]) {
                const uint16_t folder = static_cast<uint16_t>(header[kFolder] | (header[kFolder + 1] << 8));
                const std::string_view name(reinterpret_cast<const char*>(strings), header[1]);
                pathIndex_[PathKey(name, folder, header[kType])].push_back(j);
            }
            strings += header[1];
        }
    } catch (...) {
        DropPathIndex();
        return false;
    }
    pathIndexValid_ = true;
    StampPathIndex();
    return true;
}

void FileNameTable::PathIndexAdd(uint16_t entry, const std::string& key) {
    if (!PathIndexCurrent()) return DropPathIndex();
    try {
        auto& entries = pathIndex_[key];
        entries.insert(std::lower_bound(entries.begin(), entries.end(), entry), entry);
    } catch (...) {
        DropPathIndex();
    }
}

void FileNameTable::PathIndexRemove(uint16_t entry, const std::string& key) {
    if (!PathIndexCurrent()) return DropPathIndex();
    const auto it = pathIndex_.find(key);
    if (it == pathIndex_.end()) return DropPathIndex();
    auto& entries = it->second;
    const auto at = std::lower_bound(entries.begin(), entries.end(), entry);
    if (at == entries.end() || *at != entry) return DropPathIndex();
    entries.erase(at);
    if (entries.empty()) pathIndex_.erase(it);
}

// The folder of a split path as the pool stores it: lower-cased unless the pool keeps case.
void FileNameTable::FolderText(const Split& split, char* out) const {
    std::memcpy(out, split.folder, static_cast<size_t>(split.folderLength));
    out[split.folderLength] = 0;
    if (folders_.KeepsCase()) return;
    for (char* c = out; *c; ++c) *c = static_cast<char>(winplat::cp1250::toLowerAscii(static_cast<uint8_t>(*c)));
}

// Looked up through the list itself: the pool's own Find refuses the empty text, which is the
// folder of a path without a backslash.
std::optional<uint16_t> FileNameTable::LookUpFolder(const char* folder) {
    return folders_.FindEntry(folder, static_cast<int>(std::strlen(folder)));
}

uint16_t FileNameTable::AcquireFolder(char* folder, bool& added) {
    const auto known = LookUpFolder(folder);
    added = !known;
    return known ? *known : folders_.Acquire(folder);
}

void FileNameTable::DropNewFolder(uint16_t folder, uint16_t countBefore) {
    // Appended: removing it restores the pool exactly. In a reused slot: the slot goes free again.
    folders_.Release(folder, folder >= countBefore ? 1 : 0);
}

uint16_t FileNameTable::AddPath(char* path) { return AddSplit(path, true); }

uint16_t FileNameTable::AddPathNew(char* path) { return AddSplit(path, false); }

uint16_t FileNameTable::AddSplit(char* path, bool share) {
    if (!path || !*path) return kFull;
    Split split{};
    if (!SplitPath(path, split)) return kFull;

    char folderText[kMaxLength + 1];
    FolderText(split, folderText);
    const uint16_t foldersBefore = folders_.GetCount();
    bool added;
    const uint16_t folder = AcquireFolder(folderText, added);
    if (IsAddFailure(folder)) return folder;
    // A known folder gets its use only once the entry is in place, so a failure has nothing to
    // undo there (lowering it again could delete a folder whose count had been cleared).
    auto fail = [&](uint16_t result) {
        if (added) DropNewFolder(folder, foldersBefore);
        return result;
    };

    const bool ownerLocked = IsLocked();
    std::optional<uint16_t> shared;
    if (share && HasBlock()) {
        if (!Pin()) return fail(kLockFailed);
        shared = Match(split, folder);
        if (!ownerLocked) ReleasePin();
    }
    uint16_t entry;
    if (shared) {
        entry = *shared;
    } else {
        const bool indexed = PathIndexCurrent();
        // Appended or put in a free slot: no other entry moves, so the index takes just this one.
        entry = StringList::AddString(split.name, split.nameLength, -1);
        if (IsAddFailure(entry)) return fail(entry);
        // The block was pinned by the add a moment ago and stays allocated.
        if (!Pin()) return fail(kLockFailed);
        SetWord(entry, kFolder, folder);
        HeaderAt(entry)[kType] = split.type;
        SetWord(entry, kTag, 0);
        if (!ownerLocked) ReleasePin();
        if (indexed) {
            StampPathIndex();
            PathIndexAdd(entry, PathKey({split.name, static_cast<size_t>(split.nameLength)}, folder, split.type));
        } else {
            DropPathIndex();
        }
    }
    if (!added) folders_.AddUses(folder, 1);
    AddUses(entry, 1);
    return entry;
}

uint16_t FileNameTable::ReleasePath(uint16_t index, int remove) {
    if (index >= GetCount() || !Pin()) return 0;
    const bool used = HeaderAt(index)[0] != 0;
    uint16_t uses = Word(index, kUses);
    const uint16_t folder = Word(index, kFolder);
    const uint8_t type = HeaderAt(index)[kType];
    const bool lowered = used && uses != 0 && uses != kPinned;
    if (lowered) {
        SetWord(index, kUses, --uses);
        MarkChanged();
    }
    ReleasePin();
    if (!used) return kFull;
    // Every reference holds one use of the entry and one of its folder, so each release gives up
    // both: a folder goes with the last use of its last file. Other entries hold folder indexes,
    // so a folder always leaves a free slot behind.
    if (lowered) folders_.Release(folder, 0);
    if (uses) return uses;
    // Removing shifts the entries after it, so the index starts again; a free slot leaves them.
    std::string key;
    const bool indexed = !remove && PathIndexCurrent();
    if (indexed) {
        char name[kMaxLength + 1];
        const uint16_t length = GetBytes(index, name);
        key = PathKey({name, length}, folder, type);
    }
    StringList::DeleteString(index, remove);
    if (indexed) {
        StampPathIndex();
        PathIndexRemove(index, key);
    } else {
        DropPathIndex();
    }
    return 0;
}

uint16_t FileNameTable::GetPath(int index, char* buffer) {
    buffer[0] = 0;
    if (index < 0 || index >= GetCount() || !Pin()) return 0;
    const bool used = HeaderAt(static_cast<uint16_t>(index))[0] != 0;
    const uint16_t folder = Word(static_cast<uint16_t>(index), kFolder);
    ReleasePin();
    if (!used) return 0;
    uint16_t length = folders_.GetBytes(folder, buffer);
    length = static_cast<uint16_t>(length + GetBytes(static_cast<uint16_t>(index), buffer + length));
    buffer[length] = 0;
    return length;
}

int FileNameTable::RenameFolder(uint16_t index, const Split& split) {
    const uint16_t old = GetFolderIndex(index);
    char folder[kMaxLength + 1];
    FolderText(split, folder);
    const auto found = LookUpFolder(folder);
    if (!found) return folders_.ReplaceText(old, folder);
    const uint16_t equal = *found;
    if (equal == old) return 1;
    // Merge: the entries of the old folder move to the equal one, with their uses, and the old
    // folder string goes, so that no two folder strings are the same.
    if (!Pin()) return 0;
    DropPathIndex();
    for (uint16_t j = 0; j < GetCount(); ++j) {
        if (HeaderAt(j)[0] && Word(j, kFolder) == old) SetWord(j, kFolder, equal);
    }
    MarkChanged();
    ReleasePin();
    folders_.AddUses(equal, folders_.GetUseCount(old));
    folders_.DeleteString(old, 0);
    return 1;
}

int FileNameTable::ReplacePath(uint16_t index, char* path, int keepFolder) {
    if (!path || !*path || index >= GetCount()) return 0;
    Split split{};
    if (!SplitPath(path, split)) return 0;
    if (!Pin()) return 0;
    const bool used = HeaderAt(index)[0] != 0;
    const uint16_t oldFolder = Word(index, kFolder);
    ReleasePin();
    if (!used) return 0;

    if (keepFolder) {
        if (!RenameFolder(index, split)) return 0;
        if (!ReplaceString(index, split.name, split.nameLength)) return 0;
    } else {
        char folderText[kMaxLength + 1];
        FolderText(split, folderText);
        const uint16_t foldersBefore = folders_.GetCount();
        bool added;
        const uint16_t folder = AcquireFolder(folderText, added);
        if (IsAddFailure(folder)) return 0;
        if (!ReplaceString(index, split.name, split.nameLength)) {
            if (added) DropNewFolder(folder, foldersBefore);
            return 0;
        }
        if (folder != oldFolder) {
            if (!Pin()) return 0;
            SetWord(index, kFolder, folder);
            ReleasePin();
            if (!added) folders_.AddUses(folder, 1);
            folders_.Release(oldFolder, 0);
        }
    }
    if (!Pin()) return 0;
    DropPathIndex();
    HeaderAt(index)[kType] = split.type;
    MarkChanged();
    ReleasePin();
    return 1;
}

uint16_t FileNameTable::FindPath(char* path) {
    if (!path || !*path || !HasBlock()) return kFull;
    Split split{};
    if (!SplitPath(path, split) || split.type == 0) return kFull;
    char folderText[kMaxLength + 1];
    FolderText(split, folderText);
    const auto folder = LookUpFolder(folderText);
    if (!folder) return kFull;
    const bool ownerLocked = IsLocked();
    if (!Pin()) return kFull;
    const auto found = Match(split, *folder);
    if (!ownerLocked) ReleasePin();
    return found.value_or(kFull);
}

uint16_t FileNameTable::GetFolderIndex(uint16_t index) {
    if (index >= GetCount() || !Pin()) return kFull;
    const uint16_t folder = Word(index, kFolder);
    ReleasePin();
    return folder;
}

uint8_t FileNameTable::GetMediaType(uint16_t index) {
    if (index >= GetCount() || !Pin()) return 0;
    const uint8_t type = HeaderAt(index)[kType];
    ReleasePin();
    return type;
}

uint16_t FileNameTable::GetTag(uint16_t index) {
    if (index >= GetCount() || !Pin()) return kFull;
    const uint16_t tag = Word(index, kTag);
    ReleasePin();
    return tag;
}

void FileNameTable::SetTag(uint16_t index, uint16_t tag) {
    if (index >= GetCount() || !Pin()) return;
    SetWord(index, kTag, tag);
    MarkChanged();
    ReleasePin();
}

int FileNameTable::RecordTypeOfKind(int kind) {
    switch (kind) {
    case 1: return 4;
    case 3: return 10;
    case 4: return 11;
    default: return 0;
    }
}

int FileNameTable::SaveToDocument(int kind, MemWriter* writer, VazaziFile* document) {
    if (writer) return (folders_.Save(*writer) == 1 && Save(*writer) == 1) ? 1 : 0;
    const int type = RecordTypeOfKind(kind);
    if (!type || !document) return 0;
    MemWriter record;
    record.Begin();
    const bool built = folders_.Save(record) == 1 && Save(record) == 1;
    if (record.End() != 0 || !built) return 0;
    return document->WriteRecordByType(type, 0, record) == 1 ? 1 : 0;
}

int FileNameTable::LoadFromDocument(int kind, MemReader* reader, VazaziFile* document) {
    MemReader record;
    if (!reader) {
        const int type = RecordTypeOfKind(kind);
        if (!type || !document || document->ReadRecordByType(type, 0, record) != 1) return 0;
        reader = &record;
    }
    // The table is read against the pool just loaded, so its folder indexes are checked there;
    // a half-loaded pair would name the wrong folders, so both go on failure.
    if (folders_.Load(*reader) == 1 && Load(*reader) == 1) return 1;
    folders_.Clear();
    Clear();
    return 0;
}

bool FileNameTable::AcceptsLoadedEntry(const uint8_t* header) const {
    if (!header[0]) return true;
    const uint16_t folder = static_cast<uint16_t>(header[kFolder] | (header[kFolder + 1] << 8));
    return folder < folders_.GetCount();
}

uint16_t FileNameTable::CountFolderEntries(uint16_t folder) {
    if (!HasBlock() || !Pin()) return 0;
    uint16_t found = 0;
    for (uint16_t j = 0; j < GetCount(); ++j) {
        if (HeaderAt(j)[0] && Word(j, kFolder) == folder) ++found;
    }
    ReleasePin();
    return found;
}

void FileNameTable::ClearTags() {
    if (!HasBlock() || !Pin()) return;
    for (uint16_t j = 0; j < GetCount(); ++j) SetWord(j, kTag, 0);
    MarkChanged();
    ReleasePin();
}

void FileNameTable::RecountFolders() {
    const uint16_t folderCount = folders_.GetCount();
    std::vector<uint32_t> uses(folderCount, 0);
    std::vector<bool> named(folderCount, false);
    if (HasBlock()) {
        if (!Pin()) return;  // counts left as they were rather than all cleared
        for (uint16_t j = 0; j < GetCount(); ++j) {
            const uint16_t folder = Word(j, kFolder);
            if (!HeaderAt(j)[0] || folder >= folderCount) continue;
            uses[folder] += Word(j, kUses);
            named[folder] = true;
        }
        ReleasePin();
    }
    folders_.ClearUseCounts();
    for (uint16_t f = 0; f < folderCount; ++f) {
        if (uses[f]) {
            folders_.AddUses(f, static_cast<uint16_t>(std::min<uint32_t>(uses[f], kPinned)));
        } else if (!named[f]) {
            // An entry whose use count was cleared still names its folder; only unnamed ones go.
            folders_.DeleteString(f, 0);
        }
    }
}

uint16_t FileNameTable::PurgeUnused() {
    std::vector<uint16_t> unused;
    if (HasBlock()) {
        if (!Pin()) return 0;
        for (uint16_t j = 0; j < GetCount(); ++j) {
            if (HeaderAt(j)[0] && Word(j, kUses) == 0) unused.push_back(j);
        }
        ReleasePin();
    }
    uint16_t freed = 0;
    for (const uint16_t j : unused) freed = static_cast<uint16_t>(freed + StringList::DeleteString(j, 0));
    if (freed) DropPathIndex();
    RecountFolders();
    return freed;
}

void FileNameTable::ForEachPathInUse(const std::function<void(const char* path, uint16_t index)>& visit) {
    char path[kPathBuffer];
    for (uint16_t j = 0; j < GetCount(); ++j) {
        if (GetPath(j, path)) visit(path, j);
    }
}

uint16_t FileNameTable::ConvertToLongPaths(const char* documentFolder) {
    uint16_t rewritten = 0;
    for (uint16_t j = 0; j < GetCount(); ++j) {
        char stored[kPathBuffer];
        const uint16_t length = GetPath(j, stored);
        if (!length || length >= kDocumentPathBuffer) continue;
        char work[kDocumentPathBuffer];
        std::memcpy(work, stored, length + 1u);
        // A document-relative path that cannot be expanded would be read from the drive root.
        const bool relative = work[0] == '\\' && work[1] != '\\';
        if (!ExpandDocumentRelativePath(work, documentFolder) && relative) continue;
        const std::optional<std::string> host = winplat::files::resolve(work);
        if (!host) continue;
        const std::string onDisk = winplat::files::toWindows(*host);
        if (onDisk.empty() || onDisk.size() >= kDocumentPathBuffer) continue;
        std::memcpy(work, onDisk.c_str(), onDisk.size() + 1);
        MakeDocumentRelativePath(work, documentFolder);
        if (!ReplacePath(j, work, 0)) continue;
        char now[kPathBuffer];
        GetPath(j, now);
        if (std::strcmp(now, stored) != 0) ++rewritten;
    }
    // A move gives up one use of the old folder and takes one of the new, whatever the entry's
    // use count; recounting puts all of them where the entries now are.
    if (rewritten) RecountFolders();
    return rewritten;
}

uint8_t* FileNameTable::EntryHeader(uint16_t n) {
    if (!IsLocked() || n >= GetCount()) return nullptr;
    DropPathIndex();
    return HeaderAt(n);
}

uint16_t FileNameTable::AddString(const char* bytes, int length, int index) {
    DropPathIndex();
    return StringList::AddString(bytes, length, index);
}

int FileNameTable::DeleteString(uint16_t index, int remove) {
    DropPathIndex();
    return StringList::DeleteString(index, remove);
}

int FileNameTable::ReplaceString(uint16_t index, const char* bytes, int length) {
    DropPathIndex();
    return StringList::ReplaceString(index, bytes, length);
}

void FileNameTable::Clear() {
    DropPathIndex();
    StringList::Clear();
}

int FileNameTable::Load(MemReader& reader, int type, VazaziFile* document) {
    DropPathIndex();
    return StringList::Load(reader, type, document);
}

uint16_t FileNameTable::Acquire(char* text) {
    DropPathIndex();
    return StringPool::Acquire(text);
}

uint16_t FileNameTable::AddNew(const char* text) {
    DropPathIndex();
    return StringPool::AddNew(text);
}

int FileNameTable::Release(uint16_t index, int remove) {
    DropPathIndex();
    return StringPool::Release(index, remove);
}

int FileNameTable::ReplaceText(uint16_t index, const char* text) {
    DropPathIndex();
    return StringPool::ReplaceText(index, text);
}

void ImageFileTable::SetImage(uint16_t index, uint32_t handle) {
    if (index >= GetCount() || !Pin()) return;
    uint8_t* header = HeaderAt(index);
    for (int b = 0; b < 4; ++b) header[kImage + b] = static_cast<uint8_t>(handle >> (8 * b));
    ReleasePin();
}

uint32_t ImageFileTable::GetImage(int index) {
    if (index < 0 || index >= GetCount() || !Pin()) return 0;
    const uint8_t* header = HeaderAt(static_cast<uint16_t>(index));
    uint32_t handle = 0;
    for (int b = 3; b >= 0; --b) handle = (handle << 8) | header[kImage + b];
    ReleasePin();
    return handle;
}

}  // namespace lect32
