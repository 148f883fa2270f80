#include "store/vazazi_index.h"

#include <algorithm>

namespace lect32 {

void VazaziIndex::reset(std::vector<IndexEntry> table1, std::vector<IndexEntry> table2, uint64_t dataStart,
                        uint64_t dataEnd, uint32_t headerSize) {
    table1_ = std::move(table1);
    table2_ = std::move(table2);
    damaged_.clear();
    byOffset_.clear();
    byEnd_.clear();
    freeNumbered_.clear();
    forms_.assign(table1_.size() + table2_.size(), 0);
    leaves_ = 0;
    resizeTree();

    // Spans (record and slack) of the sound records, by offset, to find overlaps.
    std::vector<std::pair<uint64_t, size_t>> spans;
    const size_t total = table1_.size() + table2_.size();
    for (size_t p = 0; p < total; ++p) {
        const SlotRef slot = slotAt(p);
        const IndexEntry& e = entry(slot);
        if (!e.used) {
            if (slot.table == 2) freeNumbered_.insert(slot.index);
            continue;
        }
        if (e.length < headerSize || e.offset < dataStart || e.end() > dataEnd) {
            damaged_.insert(p);
            continue;
        }
        spans.emplace_back(e.offset, p);
    }
    std::sort(spans.begin(), spans.end());
    uint64_t reached = 0;
    for (const auto& [offset, p] : spans) {
        const IndexEntry& e = entry(slotAt(p));
        if (offset < reached) {
            damaged_.insert(p);
            continue;
        }
        reached = e.end();
        link(slotAt(p));
    }
}

SlotRef VazaziIndex::slotAt(size_t position) const {
    if (position < table1_.size()) return {1, static_cast<int>(position)};
    return {2, static_cast<int>(position - table1_.size())};
}

void VazaziIndex::link(SlotRef slot) {
    const IndexEntry& e = entry(slot);
    byOffset_[e.offset] = slot;
    byEnd_[e.end()] = slot;
    setSlackAt(position(slot), e.slack);
}

void VazaziIndex::unlink(SlotRef slot) {
    const IndexEntry& e = entry(slot);
    if (auto it = byOffset_.find(e.offset); it != byOffset_.end() && it->second == slot) byOffset_.erase(it);
    if (auto it = byEnd_.find(e.end()); it != byEnd_.end() && it->second == slot) byEnd_.erase(it);
    setSlackAt(position(slot), 0);
}

void VazaziIndex::set(SlotRef slot, const IndexEntry& value) {
    const size_t p = position(slot);
    const bool wasDamaged = damaged_.erase(p) != 0;
    if (entry(slot).used && !wasDamaged) unlink(slot);
    table(slot.table)[slot.index] = value;
    forms_[p] = 0;
    if (value.used) link(slot);
    if (slot.table == 2) {
        if (value.used) {
            freeNumbered_.erase(slot.index);
        } else {
            freeNumbered_.insert(slot.index);
        }
    }
}

void VazaziIndex::growTable2(size_t count) {
    while (table2_.size() < count) {
        freeNumbered_.insert(static_cast<int>(table2_.size()));
        table2_.emplace_back();
    }
    forms_.resize(table1_.size() + table2_.size(), 0);
    if (table1_.size() + table2_.size() > leaves_) resizeTree();
}

std::optional<StoredForm> VazaziIndex::knownForm(SlotRef slot) const {
    const uint32_t form = forms_[position(slot)];
    if (!(form & kKnownForm)) return std::nullopt;
    return StoredForm{static_cast<uint8_t>(form), static_cast<uint8_t>(form >> 8)};
}

void VazaziIndex::rememberForm(SlotRef slot, StoredForm form) {
    forms_[position(slot)] = kKnownForm | form.compressed | uint32_t{form.version} << 8;
}

void VazaziIndex::resizeTree() {
    size_t needed = 1;
    while (needed < table1_.size() + table2_.size()) needed *= 2;
    // Room to grow, so a table that grows one entry at a time rebuilds rarely.
    leaves_ = std::max(needed, leaves_ * 2);
    slackTree_.assign(2 * leaves_, 0);
    const size_t total = table1_.size() + table2_.size();
    for (size_t p = 0; p < total; ++p) {
        const SlotRef slot = slotAt(p);
        const IndexEntry& e = entry(slot);
        if (e.used && !damaged_.count(p)) slackTree_[leaves_ + p] = e.slack;
    }
    for (size_t i = leaves_ - 1; i >= 1; --i) slackTree_[i] = std::max(slackTree_[2 * i], slackTree_[2 * i + 1]);
}

void VazaziIndex::setSlackAt(size_t position, uint32_t slack) {
    size_t i = leaves_ + position;
    slackTree_[i] = slack;
    for (i /= 2; i >= 1; i /= 2) slackTree_[i] = std::max(slackTree_[2 * i], slackTree_[2 * i + 1]);
}

std::optional<SlotRef> VazaziIndex::findSlack(uint32_t atLeast) const {
    if (atLeast == 0 || slackTree_[1] < atLeast) return std::nullopt;
    size_t i = 1;
    while (i < leaves_) i = slackTree_[2 * i] >= atLeast ? 2 * i : 2 * i + 1;
    return slotAt(i - leaves_);
}

std::optional<SlotRef> VazaziIndex::findEndingAt(uint64_t end) const {
    auto it = byEnd_.find(end);
    if (it == byEnd_.end()) return std::nullopt;
    return it->second;
}

std::optional<SlotRef> VazaziIndex::findStartingAt(uint32_t offset) const {
    auto it = byOffset_.find(offset);
    if (it == byOffset_.end()) return std::nullopt;
    return it->second;
}

bool VazaziIndex::rangeFree(uint64_t start, uint64_t count, SlotRef self) const {
    // Records never overlap each other, so only the last record starting before the range's end
    // can reach into it.
    auto it = byOffset_.lower_bound(static_cast<uint32_t>(std::min<uint64_t>(start + count, UINT32_MAX)));
    if (start + count > UINT32_MAX) it = byOffset_.end();
    while (it != byOffset_.begin()) {
        --it;
        if (it->second == self) continue;
        const IndexEntry& e = entry(it->second);
        return uint64_t{e.offset} + e.length <= start;
    }
    return true;
}

std::optional<int> VazaziIndex::firstFreeNumbered() const {
    if (freeNumbered_.empty()) return std::nullopt;
    return *freeNumbered_.begin();
}

}  // namespace lect32
