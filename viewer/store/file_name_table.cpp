#include "store/file_name_table.h"

#include <cstring>

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

uint16_t FileNameTable::Match(const Split& split, uint16_t folder) const {
    const uint16_t count = GetCount();
    const uint8_t* strings = HeaderAt(0) + uint32_t{count} * GetHeaderSize();
    for (uint16_t j = 0; j < count; ++j) {
        const uint8_t* header = HeaderAt(j);
        if (header[0] && header[1] == split.nameLength && header[kType] == split.type &&
                (header[kFolder] | (header[kFolder + 1] << 8)) == folder &&
            std::memcmp(strings, split.name, static_cast<size_t>(split.nameLength)) == 0) {
            return j;
        }
        strings += header[1];
    }
    return kFull;
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
uint16_t FileNameTable::LookUpFolder(const char* folder) {
    return folders_.StringList::Find(folder, static_cast<int>(std::strlen(folder)));
}

void FileNameTable::DropNewFolder(uint16_t folder, uint16_t countBefore) {
    // Appended: removing it restores the pool exactly. In a reused slot: the slot goes free again.
    folders_.Release(folder, folder >= countBefore ? 1 : 0);
}

uint16_t FileNameTable::AddPath(char* path) {
    if (!path || !*path) return kFull;
    Split split{};
    if (!SplitPath(path, split)) return kFull;

    char folderText[kMaxLength + 1];
    FolderText(split, folderText);
    const uint16_t foldersBefore = folders_.GetCount();
    uint16_t folder = LookUpFolder(folderText);
    const bool added = folder == kFull;
    if (added) {
        folder = folders_.Acquire(folderText);
        if (folder >= kLockFailed) return folder;
    }
    // A known folder gets its use only once the entry is in place, so a failure has nothing to
    // undo there (lowering it again could delete a folder whose count had been cleared).
    auto fail = [&](uint16_t result) {
        if (added) DropNewFolder(folder, foldersBefore);
        return result;
    };

    const bool ownerLocked = IsLocked();
    uint16_t entry = kFull;
    if (HasBlock()) {
        if (!Pin()) return fail(kLockFailed);
        entry = Match(split, folder);
        if (!ownerLocked) ReleasePin();
    }
    if (entry == kFull) {
        entry = AddString(split.name, split.nameLength, -1);
        if (entry >= kLockFailed) return fail(entry);
        // The block was pinned by the add a moment ago and stays allocated.
        if (!Pin()) return fail(kLockFailed);
        SetWord(entry, kFolder, folder);
        HeaderAt(entry)[kType] = split.type;
        SetWord(entry, kTag, 0);
        if (!ownerLocked) ReleasePin();
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
    DeleteString(index, remove);
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
    const uint16_t equal = LookUpFolder(folder);
    if (equal == old) return 1;
    if (equal == kFull) return folders_.ReplaceText(old, folder);
    // Merge: the entries of the old folder move to the equal one, with their uses, and the old
    // folder string goes, so that no two folder strings are the same.
    if (!Pin()) return 0;
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
        uint16_t folder = LookUpFolder(folderText);
        const bool added = folder == kFull;
        if (added) {
            folder = folders_.Acquire(folderText);
            if (folder >= kLockFailed) return 0;
        }
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
    const uint16_t folder = LookUpFolder(folderText);
    if (folder == kFull) return kFull;
    const bool ownerLocked = IsLocked();
    if (!Pin()) return kFull;
    const uint16_t found = Match(split, folder);
    if (!ownerLocked) ReleasePin();
    return found;
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
