// A page's objects under fuzzing. The first byte chooses what the rest is: the object list of a
// page record (read into a page), a text frame's saved object block (loaded into a page), or one
// object's hot-spot list (hit-tested and made into regions).
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); a
// page that took a list or block holds only whole attribute slots, saves a block that loads back
// to the very same bytes and whose scan agrees, lists every object in both orders, and lets text
// flow down past all its objects; a refused list or block leaves the page empty.
//
// Seeds: blocks and lists the page itself saves, and the document writer's object lists of every
// version and saved blocks (tools/fuzz_page_seeds.py).
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "page/hotspot_geometry.h"
#include "page/page.h"
#include "store/mem_writer.h"
#include "support/quiet_page_tables.h"

namespace {

enum Kind : uint8_t { kObjectList, kSavedBlock, kHotspots, kKinds };

using Body = std::span<const uint8_t>;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

using Tables = page_support::QuietTables;

FuzzBytes saved(lect32::Page& page) {
    lect32::MemWriter writer;
    writer.Begin();
    const uint32_t length = page.SaveObjects(writer);
    writer.End();
    FuzzBytes bytes(length);
    if (length) writer.CopyTo(bytes.data());
    return bytes;
}

void hitTest(Body spots) {
    for (int y = -2; y < 40; y += 5) {
        for (int x = -2; x < 40; x += 5) check(lect32::HitTestHotspots(spots, x, y) < int{lect32::HotspotList(spots).Count()});
    }
}

// What must hold of a page that took its objects.
void checkPage(lect32::Page& page, Tables& tables) {
    for (uint16_t i = 0; i < page.GetCount(); ++i) {
        const std::vector<uint8_t> attributes = page.CopyAttributes(i);
        check(lect32::WholeSlotsLength(attributes) == attributes.size());
        hitTest(page.CopySlot(i, lect32::Slot::HotSpots));
        (void)page.GetPlacement(i);
        (void)page.GetButton(i);
        (void)page.GetFrame(i);
        (void)page.GetScroller(i);
    }
    for (bool topFirst : {false, true}) {
        std::vector<uint16_t> order = page.BuildOrder(topFirst);
        std::sort(order.begin(), order.end());
        check(order.size() == page.GetCount() && std::adjacent_find(order.begin(), order.end()) == order.end());
    }
    lect32::TextLine line;
    int32_t y = INT32_MIN / 2;
    uint16_t first = 0;
    for (int n = 0; n <= 3 * page.GetCount() + 2 && line.kind != lect32::TextLine::Kind::NoObjects; ++n) {
        first = page.FitTextLine(y, line, 12, first);
        check(line.height > 0);
        y = line.height == lect32::TextLine::kUnlimited ? y : line.top + line.height;
    }
    check(line.kind == lect32::TextLine::Kind::NoObjects);

    const FuzzBytes block = saved(page);
    check(block.size() == page.GetSavedSize());
    uint8_t kinds = 0;
    check(lect32::Page::ScanSavedKinds(block, kinds) && (kinds != 0) == (page.GetCount() != 0));
    // Loaded back, the objects are the same but for their item numbers, which follow the block's
    // order; the block the copy saves loads to itself.
    lect32::Page again(tables.services());
    check(again.LoadObjects(block) && again.GetCount() == page.GetCount());
    for (uint16_t i = 0; i < page.GetCount(); ++i) {
        lect32::PageObject one = page.Object(i), other = again.Object(i);
        one.attribute = other.attribute = 0;
        check(one.Encode() == other.Encode() && page.CopyAttributes(i) == again.CopyAttributes(i));
    }
    const FuzzBytes copy = saved(again);
    lect32::Page third(tables.services());
    check(third.LoadObjects(copy) && saved(third) == copy);
}

void fuzzList(Body body) {
    Tables tables;
    lect32::Page page(tables.services());
    winplat::ByteReader in(body);
    if (!page.ReadObjects(in, true)) {
        check(page.GetCount() == 0);
        return;
    }
    checkPage(page, tables);
}

void fuzzBlock(Body body) {
    Tables tables;
    lect32::Page page(tables.services());
    uint8_t kinds = 0;
    const bool scanned = lect32::Page::ScanSavedKinds(body, kinds);
    if (!page.LoadObjects(body)) {
        check(page.GetCount() == 0);
        return;
    }
    check(scanned);
    checkPage(page, tables);
}

void fuzzHotspots(Body body) {
    hitTest(body);
    const lect32::HotspotList shapes(body);
    for (uint16_t i = 0; i <= shapes.Count(); ++i) {
        winplat::OwnedRegion region;
        int top = 0, bottom = 0;
        const int made = lect32::BuildHotspotRegion(body, i, 3, 4, region, top, bottom);
        check(i < shapes.Count() || made == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;
    if (size == 0) return 0;
    const Body body(data + 1, size - 1);
    switch (static_cast<Kind>(data[0] % kKinds)) {
    case kObjectList: fuzzList(body); break;
    case kSavedBlock: fuzzBlock(body); break;
    case kHotspots: fuzzHotspots(body); break;
    case kKinds: break;
    }
    return 0;
}

namespace {

FuzzBytes tagged(Kind kind, const FuzzBytes& body) {
    FuzzBytes bytes{kind};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

void word(FuzzBytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

FuzzBytes slot(uint8_t number, const FuzzBytes& data) {
    FuzzBytes out{number};
    word(out, static_cast<int>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// A rectangle and a triangle, the second with a link.
FuzzBytes hotspots() {
    FuzzBytes list{0};
    word(list, 2);
    for (int shape = 0; shape < 2; ++shape) {
        for (int v : {0, 0, 20, 20}) word(list, v + 5 * shape);
        list.push_back(static_cast<uint8_t>(2 * shape));
        list.push_back(0);
        list.push_back(static_cast<uint8_t>(shape));
        for (uint8_t b : {2, 1, 0, 0, 0, 3, 0}) list.push_back(b);
        word(list, shape ? 0 : -1);
        FuzzBytes extra;
        if (shape) {
            word(extra, 3);
            extra.push_back(0);
            for (int v : {5, 5, 25, 5, 15, 25}) word(extra, v);
        }
        word(list, static_cast<int>(extra.size()));
        list.insert(list.end(), extra.begin(), extra.end());
    }
    return list;
}

// A page of one object of each kind with slots of every kind.
void fill(lect32::Page& page) {
    const FuzzBytes spots = slot(3, hotspots());
    for (uint8_t kind : {1, 2, 3, 4, 5, 7}) {
        lect32::PageObject o;
        o.kind = kind;
        o.x = static_cast<int16_t>(kind * 30);
        o.y = kind % 3 * 40;
        o.width = 60;
        o.height = 50;
        o.flow = kind % 3;
        o.placement = kind % 4;
        FuzzBytes attributes = slot(1, {2, 1, 0, 0, 0, 3});
        const FuzzBytes record(kind == 7 ? 18 : kind == 5 ? 15 : kind == 3 || kind == 4 ? 4 : 7, 1);
        for (const FuzzBytes& part : {slot(2, record), spots, slot(6, FuzzBytes(18, 2))}) {
            attributes.insert(attributes.end(), part.begin(), part.end());
        }
        page.InsertObject(o, attributes, kind == 5 ? FuzzBytes{3, 0, 0} : FuzzBytes{});
    }
}

// The page's records written as an object list of version 6: each record's first 36 bytes, then
// its two items.
FuzzBytes listOf(lect32::Page& page) {
    FuzzBytes list{6};
    word(list, page.GetCount());
    for (uint16_t i = 0; i < page.GetCount(); ++i) {
        const lect32::PageObject::Bytes record = page.Object(i).Encode();
        list.insert(list.end(), record.begin(), record.begin() + lect32::PageObject::kStoredSize);
        for (const std::vector<uint8_t>& item : {page.CopyAttributes(i), page.CopySecondText(i)}) {
            word(list, static_cast<int>(item.size()));
            list.insert(list.end(), item.begin(), item.end());
        }
    }
    return list;
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    Tables tables;
    lect32::Page page(tables.services());
    fill(page);
    return {tagged(kObjectList, listOf(page)), tagged(kSavedBlock, saved(page)), tagged(kHotspots, hotspots())};
}
