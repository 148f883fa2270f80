#include "store/id_list.h"

#include <cstring>

#include "store/doc_string_table.h"

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: id list");

// The word array's block holds at most 65535 bytes.
constexpr uint16_t kMaxIds = 32767;

}  // namespace

void IdList::Clear() {
    ids_.Clear();
    current_ = kNone;
}

int16_t IdList::GetAt(uint16_t i) { return static_cast<int16_t>(ids_.GetWord(i, 0)); }

int IdList::Contains(int16_t id) {
    const uint16_t at = ids_.Find(static_cast<uint16_t>(id));
    if (at == 0xFFFF) return 0;
    return at == 0 ? 2 : 1;
}

void IdList::MarkInMap(uint8_t* map) {
    for (uint16_t i = 0; i < ids_.GetCount(); ++i) {
        const int16_t id = GetAt(i);
        if (id >= 0) map[id] = 1;  // an int16 that is not negative is below kMapSize
        else refuse.log("id outside the string numbers");
    }
}

int IdList::Load(MemReader& reader) {
    Clear();
    uint16_t count = 0;
    uint16_t current = 0;
    reader.ReadWord(count);
    reader.ReadWord(current);
    if (reader.overrun()) return refuse(0, "list shorter than its head");
    if (count > kMaxIds) return refuse(0, "more ids than the list can hold");
    if (reader.remaining() < uint32_t{count} * 2) return refuse(0, "list shorter than its count");
    if (!ids_.Allocate(count)) return refuse(0, "no memory for the ids");
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t id = 0;
        reader.ReadWord(id);
        ids_.SetWord(i, 0, id);
    }
    current_ = Contains(static_cast<int16_t>(current)) ? static_cast<int16_t>(current) : kNone;
    return 1;
}

int IdList::Save(MemWriter& writer) {
    writer.WriteWord(ids_.GetCount());
    writer.WriteShort(current_);
    for (uint16_t i = 0; i < ids_.GetCount(); ++i) writer.WriteWord(ids_.GetWord(i, 0));
    return writer.error() ? 0 : 1;
}

int IdList::rewrite() {
    if (!owner_) return refuse(0, "no document keeps the list");
    return owner_->RewriteRecord();
}

int IdList::Add(int16_t id) {
    if (id < 0) return refuse(-1, "id outside the string numbers");
    const uint16_t at = ids_.Find(static_cast<uint16_t>(id));
    if (at != 0xFFFF) return at;
    if (ids_.GetCount() >= kMaxIds) return refuse(-1, "the list is full");
    if (ids_.AppendWord(static_cast<uint16_t>(id)) == 0xFFFF) return refuse(-1, "no memory for the id");
    return rewrite();
}

int IdList::Remove(int16_t id) {
    const uint16_t at = ids_.Find(static_cast<uint16_t>(id));
    if (at == 0xFFFF) return -1;
    if (!ids_.Delete(at)) return refuse(0, "no memory to remove the id");
    return rewrite();
}

int IdList::SetCurrent(int16_t id) {
    current_ = id;
    return rewrite();
}

int16_t IdList::FindByName(const char* text) {
    if (!owner_) return refuse(kNone, "no document keeps the list");
    DocStringTable names(owner_->Document());
    char name[DocStringTable::kBufferSize];
    for (uint16_t i = 0; i < ids_.GetCount(); ++i) {
        const int16_t id = GetAt(i);
        if (id < 0) continue;  // not a string number: it has no name
        names.ReadString(id, name);
        if (std::strcmp(name, text) == 0) return id;
    }
    return kNone;
}

}  // namespace lect32
