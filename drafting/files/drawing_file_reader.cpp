#include "files/drawing_file_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "drawing/block_definitions.h"
#include "drawing/deletion_and_undo.h"
#include "drawing/entity_geometry.h"
#include "drawing/file_handle.h"
#include "drawing/file_names.h"
#include "drawing/pcx_row_index.h"
#include "drawing/text_helpers.h"
#include "files/older_records.h"
#include "winplat/base.h"
#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace linework {
namespace {

using namespace entity_field;
namespace df = drawing_file;

constexpr winplat::Refuser refuse("linework: drawing file");

constexpr int32_t kStatusWord = 8;              // integer
constexpr int32_t kLevelOptions = 312;          // integer: 0x1000 file carries levels, 0x800 keep them
constexpr int32_t kTakeSettingsSwitch = 8;      // byte
constexpr int32_t kNoInUseMarkSwitch = 7;       // byte
constexpr int32_t kBlocksAddedSwitch = 4;       // byte
constexpr int32_t kDrawingLoadedSwitch = 44;    // byte
constexpr int32_t kFirstHeaderDouble = 16;
constexpr uint32_t kFileHasLevels = 0x1000;
constexpr uint32_t kKeepFileLevels = 0x800;
constexpr size_t kMaxDrawingName = 127;

enum class Stop { None, FormatError, OutOfMemory };

// Scales, turns and moves a copy as an insert's entities are, and gives it the reference's layer
// where it lies on layer 0, and the reference's colour, width and highlight where those are set.
void TransformThroughReference(EntityRecord& copy, const EntityRecord& reference) {
    double sx = reference.Double(kXScale);
    double sy = reference.Double(kYScale);
    double angle = reference.Double(kRotation);
    double ox = reference.Double(kReferenceX);
    double oy = reference.Double(kReferenceY);
    double cosA = std::cos(angle);
    double sinA = std::sin(angle);
    ForEachPointOffset(copy, [&](size_t at) {
        double x = copy.Double(at) * sx;
        double y = copy.Double(at + 8) * sy;
        copy.SetDouble(at, ox + x * cosA - y * sinA);
        copy.SetDouble(at + 8, oy + x * sinA + y * cosA);
    });
    copy.SetByte(kKindAndFlags, static_cast<uint8_t>(copy.KindAndFlags() | (reference.KindAndFlags() & 1)));
    if (copy.Layer() == 0) copy.SetByte(kLayer, reference.Layer());
    if (reference.Colour() != 0) copy.SetByte(kColour, reference.Colour());
    if (reference.Width() != 0) copy.SetByte(kWidth, reference.Width());
}

// One load: the file's bytes, where the reading stands, and what the load has added.
class Load {
public:
    Load(DrawingFileContext& context, const LoadRequest& request, std::span<const uint8_t> file,
         const std::string& fileName)
        : c_(context), request_(request), reader_(file), fileName_(fileName) {}

    int32_t Run();

private:
    bool ReadSignature();
    void ReadHeaderBlocks();
    void ReadSettingBlocks();
    void AfterSettings();
    void ReadBlockSection();
    void ReadEntitySection();
    void Close();

    // A length word; false at the end of the file.
    bool ReadLength(int16_t& length);
    // The record of 'length' stored bytes into the work record; its memory size, 0 on a format
    // error (stop_ says so).
    size_t ReadRecord(int16_t length, bool inBlock);
    // Check and fix; false when the record is dropped (stop_ set when the load must stop).
    bool CheckRecord(size_t& size, bool inBlock);
    bool ResolveInsertName(bool inBlock);
    bool LocateNamedFile(size_t& size, size_t nameOffset);
    void Keep(std::span<const uint8_t> record);
    void DrawThroughReference(std::span<const uint8_t> record);
    BlockHandle ReadBlockHeader(int16_t length);
    void LinkBlock(BlockHandle block);
    void DropUnusedBlocks();
    void FormatError(std::string_view why) {
        refuse.log(why);
        stop_ = Stop::FormatError;
    }

    DrawingFileContext& c_;
    const LoadRequest& request_;
    winplat::ByteReader reader_;
    std::string fileName_;
    std::array<uint8_t, df::kWorkRecordSize> work_{};
    bool older_ = false;
    bool levels_ = false;
    bool keepLevels_ = false;
    bool takeSettings_ = false;
    bool markInUse_ = false;
    bool wasEmpty_ = false;
    Stop stop_ = Stop::None;
    std::vector<BlockHandle> added_;  // blocks this load added, in file order
    BlockHandle asked_ = 0;
    BlockHandle reading_ = 0;  // the block whose members are being read
    EntityHandle oldHead_ = 0;  // the first entity before the load
    EntityHandle lastLoaded_ = 0;
    std::string relocatedFolder_;
};

bool Load::ReadLength(int16_t& length) {
    if (!reader_.has(2)) return false;
    length = reader_.i16();
    return true;
}

bool Load::ReadSignature() {
    auto signature = reader_.view(df::kSignatureSize);
    std::string_view text(reinterpret_cast<const char*>(signature.data()), signature.size());
    if (reader_.ok() && text == df::kCurrentSignature) return true;
    if (reader_.ok() && text == df::kOlderSignature) {
        older_ = true;
        return true;
    }
    return false;
}

void Load::ReadHeaderBlocks() {
    for (int block = 1; block <= 3; ++block) {
        int16_t length = 0;
        if (!ReadLength(length) || length <= 0) continue;
        auto bytes = reader_.view(static_cast<size_t>(length));
        if (block == 3 && request_.reference) {
            // Cut to the doubles from 16 to the end of the array.
            size_t room = 8 * static_cast<size_t>(SystemVariableImage::kDoubleCount - kFirstHeaderDouble);
            size_t count = std::min(bytes.size(), room);
            std::copy_n(bytes.begin(), count,
                        c_.variables.Bytes().begin() + SystemVariableImage::kDoubleOffset + 8 * kFirstHeaderDouble);
        }
    }
}

void Load::ReadSettingBlocks() {
    struct Slot {
        size_t size;
        bool olderToo;
        std::span<uint8_t> target;
    };
    std::array<uint8_t, df::kScaleRangesSize> ranges{};
    Slot slots[] = {
        {df::kS1Size, false, c_.variables.BlockBytes(SystemVariableImage::kS1)},
        {df::kS2Size, false, c_.variables.BlockBytes(SystemVariableImage::kS2)},
        {df::kS3Size, false, c_.variables.BlockBytes(SystemVariableImage::kS3)},
        {df::kEndSymbolTableSize, true, c_.tables.endSymbols},
        {df::kScaleRangesSize, true, ranges},
    };
    for (size_t i = 0; i < std::size(slots); ++i) {
        const Slot& slot = slots[i];
        int16_t length = 0;
        if (!ReadLength(length) || length <= 0) continue;
        auto bytes = reader_.view(static_cast<size_t>(length));
        bool take = takeSettings_ && (slot.olderToo || !older_) && bytes.size() == slot.size && reader_.ok();
        if (!take) continue;
        std::copy(bytes.begin(), bytes.end(), slot.target.begin());
        if (i == 4) c_.tables.scaleRanges.Load(ranges);
    }
}

void Load::AfterSettings() {
    LayerTable layers(c_.variables);
    for (int layer = 0; layer < kLayerCount; ++layer) {
        uint32_t word = layers.Word(static_cast<uint8_t>(layer));
        if (((word >> 16) & 7) == 7) layers.SetWord(static_cast<uint8_t>(layer), word & ~0x60000u);
    }
    if (c_.inUse && fileName_ != c_.currentDrawing) c_.inUse->Clear(c_.currentDrawing);
    c_.currentDrawing = fileName_.substr(0, kMaxDrawingName);
    c_.variables.SetByte(kTakeSettingsSwitch, 0);
    if (!older_) c_.messages.SettingsTaken();
}

BlockHandle Load::ReadBlockHeader(int16_t length) {
    auto bytes = reader_.view(static_cast<size_t>(-static_cast<int32_t>(length)));
    if (!reader_.ok()) {
        FormatError("a block header runs past the end of the file");
        return 0;
    }
    winplat::ByteReader header(bytes);
    std::string name;
    Point base;
    if (older_) {
        size_t k = header.u8();
        auto chars = header.view(k);
        name.assign(reinterpret_cast<const char*>(chars.data()), chars.size());
        if (k < df::kOlderBlockNameRoom) header.skip(df::kOlderBlockNameRoom - k);
        base.x = std::bit_cast<double>(static_cast<uint64_t>(header.u32()) | static_cast<uint64_t>(header.u32()) << 32);
        base.y = std::bit_cast<double>(static_cast<uint64_t>(header.u32()) | static_cast<uint64_t>(header.u32()) << 32);
    } else {
        base.x = std::bit_cast<double>(static_cast<uint64_t>(header.u32()) | static_cast<uint64_t>(header.u32()) << 32);
        base.y = std::bit_cast<double>(static_cast<uint64_t>(header.u32()) | static_cast<uint64_t>(header.u32()) << 32);
        auto chars = header.view(header.u8());
        name.assign(reinterpret_cast<const char*>(chars.data()), chars.size());
    }
    if (!header.ok()) {
        FormatError("a block header is shorter than its name and base point");
        return 0;
    }
    bool duplicate = !request_.reference && FindBlockDef(c_.drawing, name) != 0;
    if (duplicate) {
        if (c_.warnDuplicateBlocks) c_.messages.ShowInfo(df::kMessageDuplicateBlock, name);
        return 0;  // its records are read and dropped
    }
    BlockHandle block = AddBlockDef(c_.drawing, std::move(name), base);
    LinkBlock(block);
    return block;
}

// AddBlockDef put the block at the head; file order wants it after the blocks this load added.
void Load::LinkBlock(BlockHandle block) {
    if (!added_.empty()) {
        Drawing& d = c_.drawing;
        d.blockHead = d.Block(block).next;
        BlockDef& previous = d.Block(added_.back());
        d.Block(block).next = previous.next;
        previous.next = block;
    }
    added_.push_back(block);
}

size_t Load::ReadRecord(int16_t length, bool inBlock) {
    auto stored = reader_.view(static_cast<size_t>(length));
    if (!reader_.ok()) {
        FormatError("a record runs past the end of the file");
        return 0;
    }
    if (older_) {
        float level = 0;
        std::span<const uint8_t> rest = stored;
        if (levels_ && !inBlock) {
            if (rest.size() < 4) return FormatError("an older record is shorter than its level"), 0;
            std::memcpy(&level, rest.data(), 4);
            rest = rest.subspan(4);
        }
        size_t size = TranslateOlderRecord(rest, level, inBlock, c_.variables, work_);
        if (size == 0) FormatError("an older record of an unknown kind or too large");
        return size;
    }
    const size_t headLacked = levels_ && !inBlock ? 4 : 8;
    const size_t size = stored.size() + headLacked;
    if (size > df::kWorkRecordSize) return FormatError("a record larger than 4116 bytes"), 0;
    std::fill_n(work_.begin(), headLacked, 0);
    std::copy(stored.begin(), stored.end(), work_.begin() + static_cast<ptrdiff_t>(headLacked));
    return size;
}

bool Load::ResolveInsertName(bool inBlock) {
    std::string name;
    if (older_) {
        auto fixed = reader_.view(df::kOlderInsertNameSize);
        if (!reader_.ok()) return FormatError("an insert's block name runs past the end of the file"), false;
        size_t length = std::min<size_t>(fixed[0], df::kOlderInsertNameSize - 1);
        name.assign(reinterpret_cast<const char*>(fixed.data() + 1), length);
    } else {
        size_t length = reader_.has(1) ? reader_.u8() : 0;
        auto chars = reader_.view(length);
        if (!reader_.ok()) return FormatError("an insert's block name runs past the end of the file"), false;
        name.assign(reinterpret_cast<const char*>(chars.data()), chars.size());
    }
    BlockHandle block = FindBlockDef(c_.drawing, name);
    if (block == 0) {
        c_.messages.ShowError(df::kMessageUnknownBlock, name);
        return false;
    }
    // A member inserting the block being read, or one that inserts it, would make the block
    // contain itself: the insert is dropped.
    if (inBlock && reading_ != 0 && BlockUsesBlock(c_.drawing, c_.drawing.Block(reading_).name, block)) {
        refuse.log("a block inserts itself");
        return false;
    }
    std::memcpy(work_.data() + kBlock, &block, 4);
    return true;
}

bool FileExists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The name stored at 'nameOffset' must name a file that is there; a missing one is looked for in
// the folder of an earlier answer, then asked for. A new name replaces the stored one.
bool Load::LocateNamedFile(size_t& size, size_t nameOffset) {
    std::string name(reinterpret_cast<const char*>(work_.data() + nameOffset + 1), work_[nameOffset]);
    std::string found = name;
    if (!FileExists(found)) {
        std::string bare = name.substr(GetFileNamePart(true, name).size());
        found = relocatedFolder_.empty() ? std::string() : relocatedFolder_ + bare;
        if (found.empty() || !FileExists(found)) {
            std::string title = c_.messages.MessageText(df::kMessageLocateFile);
            if (title.empty()) return false;
            title += name;
            c_.messages.ShowPrompt(title);
            found = c_.relocator.AskForFile(title, GetFileNamePart(false, name));
            if (found.empty()) return false;
        }
        relocatedFolder_ = GetFileNamePart(true, found);
    }
    if (found != name) {
        if (found.size() > 255 || nameOffset + 1 + found.size() > df::kWorkRecordSize) return false;
        work_[nameOffset] = static_cast<uint8_t>(found.size());
        std::memcpy(work_.data() + nameOffset + 1, found.data(), found.size());
        size = nameOffset + 1 + found.size();
    }
    return true;
}

bool Load::CheckRecord(size_t& size, bool inBlock) {
    std::span<uint8_t> record(work_.data(), size);
    if (EntityRecordSize(record) != size) return FormatError("a record's size does not match its contents"), false;
    uint8_t kind = work_[kKindAndFlags] & 0xF0;
    switch (kind) {
        case 0x10:
            if (work_[kLastVertex] != 0 && (work_[kStyle] & 7) == 7) work_[kStyle] &= ~0x06;
            break;
        case 0x20:
            if (work_[kArcLineType] > 6) work_[kArcLineType] = 1;
            break;
        case 0x70: return false;
        case 0xA0:
            if (!ResolveInsertName(inBlock)) return false;
            break;
        case 0xE0:
        case 0xF0: {
            if (inBlock || request_.reference) break;
            if (!LocateNamedFile(size, kind == 0xE0 ? kReferenceName : kImageName)) return false;
            break;
        }
        default: break;
    }
    work_[kKindAndFlags] &= ~0x03;
    return true;
}

// Links the record into the drawing list behind those this load linked before, all ahead of the
// entity that was first before the load.
void Load::Keep(std::span<const uint8_t> record) {
    Drawing& d = c_.drawing;
    EntityHandle entity = d.entities.AddBytes(record);
    if (entity == 0) {
        d.memoryError = true;
        stop_ = Stop::OutOfMemory;
        return;
    }
    EntityRecord& kept = d[entity];
    if (!keepLevels_) kept.Store<float>(kLevel, static_cast<float>(DefaultEntityLevel()));
    if (kept.Kind() == EntityKind::RasterImage) {
        uint16_t flags = kept.Load<uint16_t>(kImageFlags);
        kept.Store<uint32_t>(kRowTable, 0);
        PcxImageInfo info = ReadPcxImage(std::string(kept.ShortString(kImageName)), false, flags);
        kept.Store<uint16_t>(kImageFlags, info.flags);
        if (info.rows) {
            kept.Store<int16_t>(kLastColumn, info.lastColumn);
            kept.Store<int16_t>(kLastRow, info.lastRow);
            AttachRowTable(d, kept, std::move(*info.rows));
        }
    }
    kept.SetNext(oldHead_);
    if (lastLoaded_ == 0) {
        d.head = entity;
    } else {
        d[lastLoaded_].SetNext(entity);
    }
    lastLoaded_ = entity;
    if (kept.Kind() == EntityKind::DrawingReference) {
        c_.holdsReferences = true;
    } else {
        c_.draw.DrawEntity(d, kept, request_.drawMode);
    }
}

void Load::ReadBlockSection() {
    int16_t length = 0;
    if (!ReadLength(length)) return;
    while (length < 0 && stop_ == Stop::None) {
        BlockHandle block = ReadBlockHeader(length);
        if (stop_ != Stop::None) return;
        reading_ = block;
        if (!ReadLength(length)) return;
        while (length > 0 && stop_ == Stop::None) {
            size_t size = ReadRecord(length, true);
            if (size == 0) return;
            if (CheckRecord(size, true) && block != 0) {
                if (AppendToBlock(c_.drawing, block, EntityRecord::FromBytes({work_.data(), size})) == 0) {
                    stop_ = Stop::OutOfMemory;
                    return;
                }
            }
            if (stop_ != Stop::None || !ReadLength(length)) return;
        }
        if (block != 0 && !request_.blockName.empty() && c_.drawing.Block(block).name == request_.blockName) {
            asked_ = block;
            return;
        }
    }
}

void Load::ReadEntitySection() {
    int16_t length = 0;
    while (stop_ == Stop::None && ReadLength(length)) {
        if (length <= 0) return FormatError("a length of 0 or less inside the entity section");
        size_t size = ReadRecord(length, false);
        if (size == 0) return;
        if (!CheckRecord(size, false)) continue;
        std::span<const uint8_t> record(work_.data(), size);
        if (request_.reference) {
            DrawThroughReference(record);
        } else {
            Keep(record);
        }
    }
}

void Load::DrawThroughReference(std::span<const uint8_t> record) {
    if ((record[kKindAndFlags] & 0xF0) == 0xE0) return;
    EntityRecord copy = EntityRecord::FromBytes(record);
    if (!copy) return;
    TransformThroughReference(copy, *request_.reference);
    c_.draw.DrawEntity(c_.drawing, copy, request_.drawMode);
}

void Load::DropUnusedBlocks() {
    for (BlockHandle block : added_) {
        bool keep = false;
        if (!request_.reference && asked_ != 0) {
            keep = block == asked_ || BlockUsesBlock(c_.drawing, c_.drawing.Block(block).name, asked_);
        }
        if (!keep) FreeBlockDef(c_.drawing, block);
    }
}

void Load::Close() {
    if (markInUse_ && c_.inUse) c_.inUse->Mark(fileName_);
    if (!request_.blockName.empty() || request_.reference) DropUnusedBlocks();
    if (stop_ == Stop::FormatError) {
        c_.messages.ShowError(df::kMessageDamaged, {});
        c_.variables.SetInteger(kStatusWord, df::kStatusFormatError);
    } else {
        c_.variables.SetInteger(kStatusWord, 0);
    }
    if (request_.reference) return;
    c_.variables.SetByte(kDrawingLoadedSwitch, 1);
    if (!added_.empty()) c_.variables.SetByte(kBlocksAddedSwitch, 1);
    if (c_.drawing.head != 0) c_.undo.SetUndoOperation(undo_code::kLoad);
    if (takeSettings_ && wasEmpty_) c_.variables.SetByte(kBlocksAddedSwitch, 0);
}

int32_t Load::Run() {
    takeSettings_ = !request_.reference && request_.blockName.empty() && c_.variables.Byte(kTakeSettingsSwitch) != 0;
    if (takeSettings_ && c_.variables.Byte(kNoInUseMarkSwitch) == 0) {
        if (c_.inUse && c_.inUse->Marked(fileName_) && fileName_ != c_.currentDrawing) {
            c_.messages.ShowInfo(df::kMessageInUse, fileName_);
        } else {
            markInUse_ = true;
        }
    }
    if (!ReadSignature()) {
        c_.messages.ShowError(df::kMessageDamaged, {});
        refuse.log("not a drawing file: unknown signature");
        c_.variables.SetInteger(kStatusWord, df::kStatusUnknownSignature);
        return df::kStatusUnknownSignature;
    }
    wasEmpty_ = c_.drawing.head == 0 && c_.drawing.blockHead == 0;
    ReadHeaderBlocks();
    int16_t levelFlag = 0;
    ReadLength(levelFlag);
    levels_ = levelFlag != 0;
    uint32_t options = static_cast<uint32_t>(c_.variables.Integer(kLevelOptions));
    options = levels_ ? options | kFileHasLevels : options & ~kFileHasLevels;
    c_.variables.SetInteger(kLevelOptions, static_cast<int32_t>(options));
    keepLevels_ = levels_ && (options & kKeepFileLevels) != 0;
    ReadSettingBlocks();
    if (takeSettings_) AfterSettings();
    // Erased entities wait in the list until deletions are committed; a load commits them first.
    if (!request_.reference) FreeErasedEntities(c_.drawing);
    oldHead_ = c_.drawing.head;
    ReadBlockSection();
    if (request_.blockName.empty() && stop_ == Stop::None) ReadEntitySection();
    Close();
    return c_.variables.Integer(kStatusWord);
}

int32_t IoResultOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return 2;
        case ERROR_PATH_NOT_FOUND: return 3;
        case ERROR_ACCESS_DENIED: return 5;
    }
    return static_cast<int32_t>(error);
}

// The whole file, read-only; empty and 'status' set when it cannot be read.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes, FileStamp& stamp, int32_t& status) {
    FileHandle file = OpenForReading(name);
    if (!file) {
        status = IoResultOf(GetLastError());
        return false;
    }
    DWORD high = 0;
    DWORD low = GetFileSize(file.get(), &high);
    uint64_t size = static_cast<uint64_t>(high) << 32 | low;
    if (size > (uint64_t{1} << 31)) {
        status = 100;  // a drawing beyond 2 GB is nothing this reader made
        return false;
    }
    FILETIME written{};
    GetFileTime(file.get(), nullptr, nullptr, &written);
    stamp = {static_cast<uint64_t>(written.dwHighDateTime) << 32 | written.dwLowDateTime, size};
    bytes.resize(static_cast<size_t>(size));
    DWORD read = 0;
    if (size != 0 && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr) || read != size)) {
        status = 100;  // the I/O result of a short read
        return false;
    }
    return true;
}

// A referenced drawing's parse, from the cache when the file has not changed.
std::shared_ptr<const ParsedReference> ParseReference(DrawingFileContext& context, const std::string& name,
                                                      std::span<const uint8_t> bytes, const FileStamp& stamp) {
    if (context.references) {
        if (auto found = context.references->Find(name, stamp)) return found;
    }
    auto parsed = std::make_shared<ParsedReference>();
    SystemVariableImage scratch;
    DrawingTables tables;
    UndoRecorder undo;
    DrawingFileContext inner{.drawing = parsed->drawing, .variables = scratch, .tables = tables, .undo = undo,
                             .programFolder = context.programFolder};
    LoadRequest plain;
    plain.fileName = name;
    parsed->status = LoadDrawingBytes(inner, plain, bytes, name);
    // The drawing list of a parse runs in file order already; header block 3 as the file has it.
    winplat::ByteReader reader(bytes);
    reader.skip(df::kSignatureSize);
    for (int block = 1; block <= 3 && reader.ok(); ++block) {
        int16_t length = reader.has(2) ? reader.i16() : 0;
        if (length <= 0) continue;
        auto view = reader.view(static_cast<size_t>(length));
        if (block == 3) parsed->header3.assign(view.begin(), view.end());
    }
    if (context.references) context.references->Keep(name, stamp, parsed);
    return parsed;
}

// Draws every entity of the parse through the reference.
void DrawReference(DrawingFileContext& context, const LoadRequest& request, const ParsedReference& parsed) {
    size_t room = 8 * static_cast<size_t>(SystemVariableImage::kDoubleCount - kFirstHeaderDouble);
    size_t count = std::min(parsed.header3.size(), room);
    std::copy_n(parsed.header3.begin(), count,
                context.variables.Bytes().begin() + SystemVariableImage::kDoubleOffset + 8 * kFirstHeaderDouble);
    const Drawing& d = parsed.drawing;
    ForEachEntity(d, d.head, [&](EntityHandle at) {
        const EntityRecord& record = d[at];
        if (record.Kind() == EntityKind::DrawingReference) return;
        EntityRecord copy = EntityRecord::FromBytes(record.Bytes());
        if (!copy) return;
        TransformThroughReference(copy, *request.reference);
        context.draw.DrawEntity(d, copy, request.drawMode);
    });
}

}  // namespace

DrawingMessages& DrawingFileContext::NoMessages() {
    static DrawingMessages none;
    return none;
}

int32_t LoadDrawingBytes(DrawingFileContext& context, const LoadRequest& request, std::span<const uint8_t> file,
                         const std::string& fileName) {
    context.variables.SetInteger(kStatusWord, df::kStatusLoading);
    Load load(context, request, file, fileName);
    return load.Run();
}

int32_t LoadDrawing(DrawingFileContext& context, const LoadRequest& request) {
    context.variables.SetInteger(kStatusWord, df::kStatusLoading);
    std::string name = CompleteFileName(".LKD", request.fileName, context.programFolder);
    if (name.empty()) return df::kStatusLoading;
    std::vector<uint8_t> bytes;
    FileStamp stamp;
    int32_t status = 0;
    if (!ReadWholeFile(name, bytes, stamp, status)) {
        refuse.log("the drawing file cannot be read");
        context.variables.SetInteger(kStatusWord, status);
        return status;
    }
    if (request.reference) {
        auto parsed = ParseReference(context, name, bytes, stamp);
        DrawReference(context, request, *parsed);
        context.variables.SetInteger(kStatusWord, parsed->status);
        return parsed->status;
    }
    return LoadDrawingBytes(context, request, bytes, name);
}

}  // namespace linework
