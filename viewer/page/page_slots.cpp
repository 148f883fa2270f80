// The attribute slots of a page's objects, by attribute index and by object through typed records.
#include <algorithm>
#include <cstring>

#include "page/field_codec.h"
#include "page/page.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: object slots");

bool isItem(const TextStore& list, int16_t t) { return t >= 0 && t < list.GetItemCount(); }

void putWord(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

std::optional<SlotPlace> Page::findSlot(int16_t t, Slot k) {
    if (!isItem(attributes_, t)) return std::nullopt;
    const auto n = static_cast<uint16_t>(t);
    const uint16_t length = attributes_.GetItemLength(n);
    if (length == 0) return std::nullopt;
    const uint8_t* bytes = attributes_.LockItem(n);
    if (!bytes) return std::nullopt;
    const std::optional<SlotPlace> place = FindSlot({bytes, length}, k);
    attributes_.UnlockItem(n);
    return place;
}

uint16_t Page::GetSlotLength(int16_t t, Slot k) {
    const std::optional<SlotPlace> place = findSlot(t, k);
    return place ? place->length : 0;
}

int Page::SetSlotSize(int16_t t, Slot k, uint16_t n) {
    if (!isItem(attributes_, t)) return refuse(0, "no such object text");
    const auto item = static_cast<uint16_t>(t);
    const uint16_t length = attributes_.GetItemLength(item);
    const std::optional<SlotPlace> place = findSlot(t, k);
    if (!place) {
        if (uint32_t{length} + kSlotHeader + n > TextStore::kMaxBlockBytes) return refuse(0, "the slot does not fit its item");
        std::vector<uint8_t> slot(kSlotHeader + n, 0);
        slot[0] = static_cast<uint8_t>(k);
        putWord(&slot[1], n);
        return attributes_.InsertBytes(item, length, slot.data(), static_cast<uint16_t>(slot.size()));
    }
    if (place->length == n) return 1;
    const auto end = static_cast<uint16_t>(place->data() + place->length);
    if (n > place->length) {
        const std::vector<uint8_t> zeros(n - place->length, 0);
        if (attributes_.InsertBytes(item, end, zeros.data(), static_cast<uint16_t>(zeros.size())) != 1) return 0;
    } else if (attributes_.DeleteBytes(item, static_cast<uint16_t>(place->data() + n), static_cast<uint16_t>(place->length - n)) != 1) {
        return 0;
    }
    uint8_t* bytes = attributes_.LockItem(item);
    if (!bytes) return 0;
    putWord(bytes + place->header + 1, n);
    attributes_.UnlockItem(item);
    return 1;
}

uint8_t* Page::LockSlot(int16_t t, Slot k) {
    const std::optional<SlotPlace> place = findSlot(t, k);
    if (!place) return nullptr;
    uint8_t* bytes = attributes_.LockItem(static_cast<uint16_t>(t));
    return bytes ? bytes + place->data() : nullptr;
}

void Page::UnlockSlot(int16_t t) {
    if (isItem(attributes_, t)) attributes_.UnlockItem(static_cast<uint16_t>(t));
}

std::vector<uint8_t> Page::CopySlot(uint16_t i, Slot k) {
    const int16_t t = GetAttributeIndex(i);
    const uint16_t length = GetSlotLength(t, k);
    const uint8_t* data = length ? LockSlot(t, k) : nullptr;
    if (!data) return {};
    std::vector<uint8_t> bytes(data, data + length);
    UnlockSlot(t);
    return bytes;
}

bool Page::SetSlot(uint16_t i, Slot k, std::span<const uint8_t> data) {
    const int16_t t = GetAttributeIndex(i);
    if (data.size() > kMaxSlotData) return refuse(false, "slot data longer than an item holds");
    if (SetSlotSize(t, k, static_cast<uint16_t>(data.size())) != 1) return false;
    if (data.empty()) return true;
    uint8_t* at = LockSlot(t, k);
    if (!at) return false;
    std::memcpy(at, data.data(), data.size());
    UnlockSlot(t);
    return true;
}

template <class Record>
Record Page::getRecord(uint16_t i, Record defaults) {
    const std::vector<uint8_t> stored = CopySlot(i, Record::kSlot);
    return stored.empty() ? defaults : field_codec::DecodeOver(defaults, stored);
}

template <class Record>
bool Page::setRecord(uint16_t i, const Record& record, size_t written) {
    const int16_t t = GetAttributeIndex(i);
    if (SetSlotSize(t, Record::kSlot, Record::kSize) != 1) return false;
    uint8_t* at = LockSlot(t, Record::kSlot);
    if (!at) return false;
    const auto bytes = field_codec::Encode(record);
    std::memcpy(at, bytes.data(), std::min(written, bytes.size()));
    UnlockSlot(t);
    return true;
}

PlacementRecord Page::GetPlacement(uint16_t i) { return getRecord(i, PlacementRecord{}); }

bool Page::SetPlacement(uint16_t i, const PlacementRecord& record) {
    const auto old = field_codec::Encode(GetPlacement(i));
    if (!setRecord(i, record)) return false;
    const auto now = field_codec::Encode(record);
    if (!std::equal(old.begin(), old.begin() + 4, now.begin())) painter().LayOutObject(i);
    return true;
}

MediaRecord Page::GetMedia(uint16_t i) { return getRecord(i, MediaRecord{}); }

bool Page::SetMedia(uint16_t i, const MediaRecord& record) { return setRecord(i, record, MediaRecord::kWritten); }

FrameRecord Page::GetFrame(uint16_t i) {
    FrameRecord defaults;
    if (objects_.Contains(i)) {
        defaults.width = objects_[i].width;
        defaults.height = objects_[i].height;
    }
    return getRecord(i, defaults);
}

bool Page::SetFrame(uint16_t i, const FrameRecord& record) { return setRecord(i, record); }

ButtonRecord Page::GetButton(uint16_t i) { return getRecord(i, ButtonRecord{}); }

bool Page::SetButton(uint16_t i, const ButtonRecord& record) {
    const ButtonRecord old = GetButton(i);
    if (!setRecord(i, record)) return false;
    if (old.tail0 != record.tail0 || old.tail1 != record.tail1) painter().LayOutObject(i);
    return true;
}

ScrollerRecord Page::GetScroller(uint16_t i) { return getRecord(i, ScrollerRecord{}); }

bool Page::SetScroller(uint16_t i, const ScrollerRecord& record) { return setRecord(i, record); }

}  // namespace lect32
