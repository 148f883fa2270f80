#include "page/page.h"

#include <algorithm>
#include <numeric>

#include "store/document_tables.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page");

ObjectMedia& defaultMedia() {
    static ObjectMedia media;
    return media;
}

PagePainter& defaultPainter() {
    static PagePainter painter;
    return painter;
}

// Puts the bytes into item n (empty before); false when the list cannot take them.
bool fillItem(TextStore& list, uint16_t n, std::span<const uint8_t> bytes) {
    if (bytes.empty()) return true;
    if (bytes.size() > TextStore::kMaxBlockBytes) return false;
    return list.InsertBytes(n, 0, bytes.data(), static_cast<uint16_t>(bytes.size())) == 1;
}

std::vector<uint8_t> itemBytes(TextStore& list, int16_t n) {
    if (n < 0 || n >= list.GetItemCount()) return {};
    const std::string bytes = list.CopyItem(static_cast<uint16_t>(n));
    return {bytes.begin(), bytes.end()};
}

}  // namespace

Page::Page(PageServices services) : services_(std::move(services)) {}

Page::~Page() = default;

ObjectMedia& Page::media() { return services_.media ? *services_.media : defaultMedia(); }
PagePainter& Page::painter() { return services_.painter ? *services_.painter : defaultPainter(); }
FileNameTable& Page::pictures() { return services_.pictures ? *services_.pictures : documentFileNames(); }
ImageFileTable& Page::cache() { return services_.cache ? *services_.cache : pictureCache(); }

PageObject* Page::SetCurrent(int i) {
    objects_.SetCursor(i);
    return objects_.Cursor();
}

void Page::GetObject(int i, PageObject& out) const {
    if (objects_.Contains(i)) out = objects_[static_cast<uint16_t>(i)];
}

int Page::GetObjectChecked(int i, PageObject& out) const {
    if (!objects_.Contains(i)) return 0;
    out = objects_[static_cast<uint16_t>(i)];
    return 1;
}

void Page::SetObject(int i, const PageObject& record) {
    if (objects_.Contains(i)) objects_[static_cast<uint16_t>(i)] = record;
}

int Page::UpdateObject(int i, const PageObject& record) {
    if (!objects_.Contains(i)) return 0;
    const auto index = static_cast<uint16_t>(i);
    const bool relayout = objects_[index].LayoutDiffers(record);
    objects_[index] = record;
    MeasureObject(index);
    painter().LayOutObject(index);
    return relayout ? 1 : 0;
}

int16_t Page::GetAttributeIndex(int i) const {
    return objects_.Contains(i) ? objects_[static_cast<uint16_t>(i)].attribute : kNone;
}

int16_t Page::FindByAttributeIndex(int16_t attribute) const {
    const auto all = objects_.All();
    const auto found = std::find_if(all.begin(), all.end(), [&](const PageObject& o) { return o.attribute == attribute; });
    return found == all.end() ? kNone : static_cast<int16_t>(found - all.begin());
}

std::vector<uint8_t> Page::CopyAttributes(uint16_t i) { return itemBytes(attributes_, GetAttributeIndex(i)); }

std::vector<uint8_t> Page::CopySecondText(uint16_t i) { return itemBytes(contents_, GetAttributeIndex(i)); }

bool Page::SetSecondText(uint16_t i, std::span<const uint8_t> content) {
    const int16_t t = GetAttributeIndex(i);
    if (t < 0) return refuse(false, "the object has no text items");
    const auto n = static_cast<uint16_t>(t);
    const uint16_t old = contents_.GetItemLength(n);
    if (old && contents_.DeleteBytes(n, 0, old) != 1) return refuse(false, "the content cannot be replaced");
    return fillItem(contents_, n, content) || refuse(false, "the content does not fit the page's text list");
}

// Two items of the same number, one in each text list; the number, or kNoItem with both lists
// as they were.
uint16_t Page::addItems(std::span<const uint8_t> attributes, std::span<const uint8_t> content) {
    const uint16_t item = attributes_.AddItem();
    if (item == TextStore::kNoItem) return refuse(TextStore::kNoItem, "the object texts take no further item");
    const uint16_t second = contents_.AddItem();
    if (second != item || !fillItem(attributes_, item, attributes) || !fillItem(contents_, item, content)) {
        if (second != TextStore::kNoItem) contents_.DeleteItem(second);
        attributes_.DeleteItem(item);
        return refuse(TextStore::kNoItem, "the object's texts do not fit the page's text lists");
    }
    return item;
}

int Page::addObject(PageObject record, std::span<const uint8_t> attributes, std::span<const uint8_t> content) {
    if (GetCount() >= ObjectArray::kMaxObjects) return refuse(kNone, "the page holds as many objects as it can");
    const uint16_t item = addItems(attributes, content);
    if (item == TextStore::kNoItem) return kNone;
    record.attribute = static_cast<int16_t>(item);
    const uint16_t place = objects_.SortedPlace(record.y, record.x);
    if (!objects_.Insert(place, record)) {
        contents_.DeleteItem(item);
        attributes_.DeleteItem(item);
        return kNone;
    }
    return place;
}

// Items are numbered in the list's order. Sorted, each record is measured first, so that the page
// stays in the (y, x) order of the places objects are shown at, and of objects at one place the
// one read later comes first: the order inserting each in turn gives, in one sort.
bool Page::takeObjects(std::vector<StagedObject>& staged, bool sorted, bool measure) {
    if (staged.size() > ObjectArray::kMaxObjects) return refuse(false, "more objects than a page holds");
    layoutWidth_ = area_.TextWidth();
    for (StagedObject& s : staged) {
        const uint16_t item = addItems(s.attributes, s.content);
        if (item == TextStore::kNoItem) {
            FreeObjects(true);
            return false;
        }
        s.record.attribute = static_cast<int16_t>(item);
        if (measure) s.record.x = s.record.PlacedX(layoutWidth_);
    }
    std::vector<uint32_t> order(staged.size());
    std::iota(order.begin(), order.end(), 0u);
    if (sorted) {
        std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            const PageObject& one = staged[a].record;
            const PageObject& other = staged[b].record;
            if (one.y != other.y) return one.y < other.y;
            if (one.x != other.x) return one.x < other.x;
            return a > b;
        });
    }
    for (uint32_t k : order) {
        if (!objects_.Insert(GetCount(), staged[k].record)) {
            FreeObjects(true);
            return false;
        }
    }
    return true;
}

bool Page::removeObject(uint16_t i) {
    const int16_t t = objects_[i].attribute;
    if (!objects_.Erase(i)) return false;
    if (t < 0 || t >= attributes_.GetItemCount()) return true;
    attributes_.DeleteItem(static_cast<uint16_t>(t));
    contents_.DeleteItem(static_cast<uint16_t>(t));
    for (PageObject& o : objects_.All()) {
        if (o.attribute > t) --o.attribute;
    }
    return true;
}

}  // namespace lect32
