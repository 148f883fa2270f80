// The saved object block of a text frame's page, little-endian:
//   byte format (2 written), u16 object count, s16 current object, byte record size r (58),
//   per object r bytes of its record, u16 length and the attribute slots, u16 length and the
//   content (non-empty for text frames only); from format 2 a flags byte (1 written), and when
//   its bit 0 is set the four saved page values (s16, byte, s16, byte).
#include <algorithm>

#include "page/page.h"
#include "store/mem_writer.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: saved objects");

constexpr uint32_t kHeadSize = 6;
constexpr uint32_t kPerObject = PageObject::kSize + 4;
constexpr uint32_t kTailSize = 7;
constexpr uint8_t kValuesFlag = 1;

struct BlockHead {
    uint8_t format = 0;
    uint16_t count = 0;
    int16_t current = -1;
    uint8_t recordSize = 0;
};

BlockHead readHead(winplat::ByteReader& in) {
    BlockHead head;
    head.format = in.u8();
    head.count = in.u16();
    head.current = in.i16();
    head.recordSize = in.u8();
    return head;
}

// One object of the block: a record of the block's size read over a new record's values.
bool readObject(winplat::ByteReader& in, uint8_t recordSize, StagedObject& object) {
    const size_t kept = std::min<size_t>(recordSize, PageObject::kSize);
    if (!object.record.ReadPrefix(in, kept) || !in.skip(recordSize - kept)) return false;
    const std::span<const uint8_t> attributes = in.view(in.u16());
    object.content = in.view(in.u16());
    if (!in.ok()) return false;
    const std::span<const uint8_t> whole = attributes.first(WholeSlotsLength(attributes));
    object.attributes.assign(whole.begin(), whole.end());
    return true;
}

bool readObjects(winplat::ByteReader& in, const BlockHead& head, std::vector<StagedObject>& staged) {
    staged.reserve(std::min<size_t>(head.count, in.remaining() / (size_t{head.recordSize} + 4)));
    for (uint16_t i = 0; i < head.count; ++i) {
        StagedObject object;
        if (!readObject(in, head.recordSize, object)) return false;
        staged.push_back(std::move(object));
    }
    return true;
}

uint8_t kindsFlags(const PageObject& o) {
    uint8_t flags = 1;
    if (o.IsPicture()) flags |= o.active ? 4 : 2;
    if (o.Is(ObjectKind::Button)) flags |= 4;
    if (o.IsMedia()) flags |= 8;
    return flags;
}

}  // namespace

uint32_t Page::GetSavedSize() {
    uint32_t size = kHeadSize + kTailSize;
    for (uint16_t i = 0; i < GetCount(); ++i) {
        size += kPerObject + static_cast<uint32_t>(CopyAttributes(i).size());
        if (objects_[i].Is(ObjectKind::TextFrame)) size += static_cast<uint32_t>(CopySecondText(i).size());
    }
    return size;
}

uint32_t Page::SaveObjects(MemWriter& writer) {
    const uint32_t start = writer.GetLength();
    writer.WriteByte(kBlockFormat);
    writer.WriteWord(GetCount());
    writer.WriteShort(current_);
    writer.WriteByte(static_cast<uint8_t>(PageObject::kSize));
    for (uint16_t i = 0; i < GetCount(); ++i) {
        const PageObject::Bytes record = objects_[i].Encode();
        writer.WriteBytes(record.data(), static_cast<uint16_t>(record.size()));
        for (const std::vector<uint8_t>& text :
             {CopyAttributes(i), objects_[i].Is(ObjectKind::TextFrame) ? CopySecondText(i) : std::vector<uint8_t>{}}) {
            writer.WriteWord(static_cast<uint16_t>(text.size()));
            writer.WriteBytesLong(text.data(), static_cast<uint32_t>(text.size()));
        }
    }
    writer.WriteByte(kValuesFlag);
    writer.WriteShort(savedValues_.first);
    writer.WriteByte(savedValues_.second);
    writer.WriteShort(savedValues_.third);
    writer.WriteByte(savedValues_.fourth);
    return writer.error() ? 0 : writer.GetLength() - start;
}

bool Page::LoadObjects(std::span<const uint8_t> block) {
    // A block without the page values (format 1) leaves them as they were before the load.
    const SavedPageValues before = savedValues_;
    FreeObjects(true);
    savedValues_ = before;
    winplat::ByteReader in(block);
    const BlockHead head = readHead(in);
    std::vector<StagedObject> staged;
    if (!in.ok() || !readObjects(in, head, staged)) return refuse(false, "the block ends inside its objects");
    SavedPageValues values = savedValues_;
    if (head.format >= 2 && (in.u8() & kValuesFlag)) {
        values.first = in.i16();
        values.second = in.u8();
        values.third = in.i16();
        values.fourth = in.u8();
    }
    if (!in.ok()) return refuse(false, "the block ends inside its page values");
    // What an object held on the page it was saved from is not this page's to release.
    for (StagedObject& object : staged) object.record.ClearRunTimeState();
    if (!takeObjects(staged, false, false)) {
        savedValues_ = before;
        return false;
    }
    savedValues_ = values;
    current_ = objects_.Contains(head.current) ? head.current : kNone;
    firstChange_ = 0;
    draggedIndex_ = kNone;
    return true;
}

bool Page::ScanSavedKinds(std::span<const uint8_t> block, uint8_t& flags) {
    winplat::ByteReader in(block);
    const BlockHead head = readHead(in);
    uint8_t found = 0;
    for (uint16_t i = 0; i < head.count && in.ok(); ++i) {
        StagedObject object;
        if (!readObject(in, head.recordSize, object)) break;
        found |= kindsFlags(object.record);
    }
    if (!in.ok()) return refuse(false, "the block ends inside its objects");
    flags |= found;
    return true;
}

}  // namespace lect32
