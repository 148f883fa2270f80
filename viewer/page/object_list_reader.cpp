// The objects of a page record, little-endian: byte version, u16 count, then per object
//   version 5 and later: the record's first 36 bytes, u16 length and the attribute slots, u16
//     length and the content (a text frame's);
//   version 4 and older: the record's first 29 bytes, the 8-byte old parameters, the 8-byte old
//     link block, u16 z-order; from version 2 a u16 length and the hot-spot list (versions 2 and
//     3 in the old form of 18-byte shapes).
// Every length and count is held to the record's bytes: the whole list is read before any of it
// reaches the page, and a list that does not fit leaves the page empty.
#include <algorithm>

#include "page/hotspot_list.h"
#include "page/old_object_forms.h"
#include "page/page.h"
#include "store/file_name_table.h"
#include "store/mem_reader.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page objects");

// The fewest bytes an object of the version takes: what the count may claim at most.
size_t smallestObject(uint8_t version) {
    if (version >= 5) return PageObject::kStoredSize + 4;
    return PageObject::kOldStoredSize + 2 * kOldBlockSize + 2 + (version >= 2 ? 2 : 0);
}

// The hot-spot list of versions 2-4 as slot 3; a list of no shapes is no list.
void appendHotspots(std::span<const uint8_t> stored, uint8_t version, std::vector<uint8_t>& attributes) {
    if (version >= 4) {
        if (HotspotList(stored).Count() > 0) AppendSlot(attributes, Slot::HotSpots, stored);
        return;
    }
    const std::vector<uint8_t> converted = ConvertOldHotspotList(stored);
    if (!converted.empty()) AppendSlot(attributes, Slot::HotSpots, converted);
}

bool readCurrentForm(winplat::ByteReader& in, uint8_t version, StagedObject& object) {
    object.record.ReadPrefix(in, PageObject::kStoredSize);
    const std::span<const uint8_t> slots = in.view(in.u16());
    object.content = in.view(in.u16());
    if (!in.ok()) return false;
    const std::span<const uint8_t> whole = slots.first(WholeSlotsLength(slots));
    object.attributes.assign(whole.begin(), whole.end());
    if (version == 5 && object.record.Is(ObjectKind::Button)) ConvertOldButtonSlot(object.attributes);
    return true;
}

bool readOldForm(winplat::ByteReader& in, uint8_t version, StagedObject& object) {
    std::array<uint8_t, kOldBlockSize> parameters{};
    std::array<uint8_t, kOldBlockSize> link{};
    object.record.ReadPrefix(in, PageObject::kOldStoredSize);
    in.bytes(parameters.data(), parameters.size());
    in.bytes(link.data(), link.size());
    object.record.z = in.i16();
    const std::span<const uint8_t> hotspots = version >= 2 ? in.view(in.u16()) : std::span<const uint8_t>{};
    if (!in.ok()) return false;
    appendHotspots(hotspots, version, object.attributes);
    ConvertOldParameters(object.record, parameters, version, object.attributes);
    ConvertOldLink(link, object.attributes);
    return true;
}

// What reading sets whatever the stored bytes: a new showing of the object.
void startShowing(PageObject& record) {
    record.ClearRunTimeState();
    record.copied = 0;
    record.disabled = 0;
    record.savedY = 0;
    if (record.Is(ObjectKind::VectorPicture)) record.active = 0;
}

bool readList(winplat::ByteReader& in, std::vector<StagedObject>& staged) {
    const uint8_t version = in.u8();
    const uint16_t count = in.u16();
    if (!in.ok()) return refuse(false, "the list ends before its count");
    if (count > ObjectArray::kMaxObjects) return refuse(false, "more objects than a page holds");
    if (size_t{count} * smallestObject(version) > in.remaining()) return refuse(false, "more objects than the record holds");
    staged.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        StagedObject object;
        const bool read = version >= 5 ? readCurrentForm(in, version, object) : readOldForm(in, version, object);
        if (!read) return refuse(false, "an object runs past the record");
        startShowing(object.record);
        staged.push_back(std::move(object));
    }
    return true;
}

}  // namespace

bool Page::ReadObjects(winplat::ByteReader& in, bool measure, FileNameTable* otherPictures) {
    FreeObjects(true);
    std::vector<StagedObject> staged;
    if (!readList(in, staged)) return false;
    if (otherPictures) {
        char path[FileNameTable::kPathBuffer];
        for (StagedObject& object : staged) {
            PageObject& o = object.record;
            if (o.picture < 0 || !(o.IsPicture() || o.Is(ObjectKind::Button))) continue;
            otherPictures->GetPath(o.picture, path);
            const uint16_t index = path[0] ? pictures().AddPath(path) : 0xFFFF;
            o.picture = index == 0xFFFF ? int16_t{-1} : static_cast<int16_t>(index);
        }
    }
    if (!takeObjects(staged, true, measure)) return false;
    Renumber();
    current_ = kNone;
    activeText_ = kNone;
    return true;
}

bool Page::ReadObjects(MemReader& reader, bool measure, FileNameTable* otherPictures) {
    winplat::ByteReader in(reader.data() + reader.position(), reader.remaining());
    const bool read = ReadObjects(in, measure, otherPictures);
    reader.Skip(static_cast<uint32_t>(in.position()));
    return read;
}

}  // namespace lect32
