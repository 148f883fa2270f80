// A page's object records, kept in (y, x) order by the page, with a nested lock and a cursor.
//
// Not a RecordArray: that block stops at 64 KB, which is 1,129 records of 58 bytes, while no
// stored form limits a page's objects that far. The limit here is the page's text lists, which
// hold one item per object each. While the array is locked its records do not move in memory, so
// adding or removing records is refused until the last Unlock; reordering is allowed.
#ifndef LECT32_PAGE_OBJECT_ARRAY_H
#define LECT32_PAGE_OBJECT_ARRAY_H

#include <cstdint>
#include <span>
#include <vector>

#include "page/page_object.h"
#include "text/text_store.h"

namespace lect32 {

class ObjectArray {
public:
    static constexpr uint16_t kMaxObjects = TextStore::kMaxItems;

    uint16_t Count() const { return static_cast<uint16_t>(records_.size()); }
    bool Contains(int i) const { return i >= 0 && i < Count(); }
    PageObject& operator[](uint16_t i) { return records_[i]; }
    const PageObject& operator[](uint16_t i) const { return records_[i]; }
    std::span<PageObject> All() { return records_; }
    std::span<const PageObject> All() const { return records_; }

    // Record i (-1: the first) becomes the cursor; the first call locks, later ones only count.
    // Null, with nothing locked, when there is no such record.
    PageObject* Lock(int i);
    void Unlock();
    bool Locked() const { return locks_ != 0; }
    // The record the last Lock or SetCursor pointed at; null when none.
    PageObject* Cursor() { return Contains(cursor_) ? &records_[static_cast<size_t>(cursor_)] : nullptr; }
    void SetCursor(int i);

    // Where a record with this (y, x) goes: before the first whose y is greater, or whose y is
    // equal and whose x is equal or greater.
    uint16_t SortedPlace(int32_t y, int16_t x) const;
    // false (nothing changed) when locked or full.
    bool Insert(uint16_t at, const PageObject& record);
    // false when locked.
    bool Erase(uint16_t at);
    // Takes record 'from' out and puts it back at 'to' (an index of the array as it is after).
    void Move(uint16_t from, uint16_t to);
    // Drops every record and the lock.
    void Clear();

private:
    std::vector<PageObject> records_;
    uint16_t locks_ = 0;
    int cursor_ = -1;
};

}  // namespace lect32

#endif
