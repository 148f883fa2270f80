// The index tables of a record file, kept in memory with the lookups that placing records needs:
// the first record (in table order) with enough slack, the record ending at an offset, the record
// starting at an offset, whether a range is free, the first free numbered slot. Each is O(log n).
#ifndef LECT32_STORE_VAZAZI_INDEX_H
#define LECT32_STORE_VAZAZI_INDEX_H

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace lect32 {

struct IndexEntry {
    uint8_t used = 0;
    uint32_t offset = 0;
    uint32_t length = 0;  // record header + body
    uint32_t slack = 0;   // free bytes right after the record that belong to it
    uint8_t reserved = 0;

    uint64_t end() const { return uint64_t{offset} + length + slack; }
};

// The two bytes of a record's stored header that say how its body is kept: the compressed flag
// and the record format version.
struct StoredForm {
    uint8_t compressed = 0;
    uint8_t version = 0;
};

struct SlotRef {
    int table = 0;  // 1 or 2
    int index = 0;
    bool operator==(const SlotRef&) const = default;
};

class VazaziIndex {
public:
    // Takes both tables as read from the file. Used entries that fall outside the data area,
    // are shorter than a record header, or overlap another record are marked damaged: they stay
    // in the tables (and are written back unchanged) but take no part in placement.
    void reset(std::vector<IndexEntry> table1, std::vector<IndexEntry> table2, uint64_t dataStart,
               uint64_t dataEnd, uint32_t headerSize);

    size_t size(int table) const { return table == 1 ? table1_.size() : table2_.size(); }
    const IndexEntry& entry(SlotRef slot) const { return table(slot.table)[slot.index]; }
    bool damaged(SlotRef slot) const { return damaged_.count(position(slot)) != 0; }
    bool anyDamaged() const { return !damaged_.empty(); }

    void set(SlotRef slot, const IndexEntry& entry);
    void growTable2(size_t count);

    std::optional<SlotRef> findSlack(uint32_t atLeast) const;
    std::optional<SlotRef> findEndingAt(uint64_t end) const;
    std::optional<SlotRef> findStartingAt(uint32_t offset) const;
    // No record other than 'self' overlaps [start, start + count).
    bool rangeFree(uint64_t start, uint64_t count, SlotRef self) const;
    std::optional<int> firstFreeNumbered() const;
    size_t usedNumbered() const { return table2_.size() - freeNumbered_.size(); }

    // A record's stored form, once its header was read and found to name its slot: a record is
    // then read without reading its header again. Forgotten when the entry changes.
    std::optional<StoredForm> knownForm(SlotRef slot) const;
    void rememberForm(SlotRef slot, StoredForm form);

private:
    std::vector<IndexEntry>& table(int t) { return t == 1 ? table1_ : table2_; }
    const std::vector<IndexEntry>& table(int t) const { return t == 1 ? table1_ : table2_; }
    size_t position(SlotRef slot) const { return slot.table == 1 ? size_t(slot.index) : table1_.size() + slot.index; }
    SlotRef slotAt(size_t position) const;
    void link(SlotRef slot);
    void unlink(SlotRef slot);
    // Slack tree: the largest slack in each subtree of slot positions (table 1, then table 2).
    void resizeTree();
    void setSlackAt(size_t position, uint32_t slack);

    std::vector<IndexEntry> table1_;
    std::vector<IndexEntry> table2_;
    std::set<size_t> damaged_;
    std::map<uint32_t, SlotRef> byOffset_;
    std::unordered_map<uint64_t, SlotRef> byEnd_;
    std::set<int> freeNumbered_;
    std::vector<uint32_t> slackTree_;
    size_t leaves_ = 0;
    // Per slot position: 0 unknown, else kKnownForm | compressed | version << 8.
    static constexpr uint32_t kKnownForm = 0x10000;
    std::vector<uint32_t> forms_;
};

}  // namespace lect32

#endif
