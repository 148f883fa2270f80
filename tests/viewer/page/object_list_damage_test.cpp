// Damaged object lists of the document writer, read into a page under the sanitizers: a list
// whose counts or lengths pass its record leaves the page empty, a slot or hot-spot list that
// passes its own item is cut there, and nothing is read outside the record.
#include <algorithm>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "page/hotspot_geometry.h"
#include "page/page.h"
#include "page_test_support.h"
#include "store/vazazi_file.h"

namespace {

using page_test::Bytes;

struct Variant {
    std::string file;
    int page = 0;
    std::string fails;
    std::string damage;
};

// The writer's damaged copies of a reference document, with what each damages (damaged.json,
// read by its "name", "index", "fails" and "damage" lines).
std::vector<Variant> damagedCopies(const std::filesystem::path& folder, const std::string& source,
                                   const std::string& how) {
    std::vector<Variant> variants;
    if (!tool_runner::run(page_test::writer() + " damage " + source + " " + tool_runner::quoted(folder) + " " + how))
        return variants;
    std::ifstream manifest(folder / "damaged.json");
    std::string line;
    Variant v;
    const auto value = [&](const std::string& key) {
        const size_t at = line.find("\"" + key + "\": ");
        if (at == std::string::npos) return std::string();
        std::string rest = line.substr(at + key.size() + 4);
        if (!rest.empty() && rest.back() == ',') rest.pop_back();
        if (rest.size() >= 2 && rest.front() == '"') rest = rest.substr(1, rest.size() - 2);
        return rest;
    };
    while (std::getline(manifest, line)) {
        if (const std::string name = value("name"); !name.empty()) {
            v = Variant{};
            v.file = (folder / name).string();
        }
        if (const std::string index = value("index"); !index.empty()) v.page = std::stoi(index);
        if (const std::string fails = value("fails"); !fails.empty()) v.fails = fails;
        if (const std::string damage = value("damage"); !damage.empty()) {
            v.damage = damage;
            variants.push_back(v);
        }
    }
    return variants;
}

class ObjectListDamageTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_DOCUMENT_WRITER(); }

    // Reads the damaged page's objects; false when the store itself refuses the record.
    bool readPage(const Variant& v, lect32::Page& page, bool& read) {
        lect32::VazaziFile file;
        lect32::MemReader reader;
        std::string path = "C:" + v.file;
        std::replace(path.begin(), path.end(), '/', '\\');
        if (file.Open(path.c_str(), false) != 1 || file.ReadRecord(2, static_cast<int16_t>(v.page), reader) != 1)
            return false;
        page_test::skipToObjects(reader);
        read = page.ReadObjects(reader, true);
        return true;
    }

    vazazi_test::ScratchFolder scratch;
};

TEST_F(ObjectListDamageTest, EveryDamagedListFailsCleanlyOrIsCutAtItsItem) {
    const std::vector<Variant> variants = damagedCopies(scratch.host("objects"), "old-formats", "--objects");
    ASSERT_GT(variants.size(), 40u);
    std::map<std::string, int> seen;
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.damage);
        page_test::TestPage t;
        bool read = false;
        ASSERT_TRUE(readPage(v, t.page, read));
        if (v.fails == "parse") {
            EXPECT_FALSE(read);
            EXPECT_EQ(t.page.GetCount(), 0) << "nothing half-read stays";
            ++seen[v.damage.find("0x") != std::string::npos ? "count" : v.damage.find("cut to") != std::string::npos ? "cut" : "length"];
            continue;
        }
        ASSERT_EQ(v.fails, "cut");
        ASSERT_TRUE(read);
        ASSERT_GT(t.page.GetCount(), 0);
        // "objects.object<N>.slots.slot<K>.length set to ...": object N (its item N) lost slot K.
        const size_t objectAt = v.damage.find("object", 8) + 6;
        const auto item = static_cast<int16_t>(std::stoi(v.damage.substr(objectAt)));
        const int16_t i = t.page.FindByAttributeIndex(item);
        ASSERT_GE(i, 0);
        const Bytes attributes = t.page.CopyAttributes(static_cast<uint16_t>(i));
        EXPECT_EQ(lect32::WholeSlotsLength(attributes), attributes.size());
        if (const size_t slotAt = v.damage.find(".slots.slot"); slotAt != std::string::npos) {
            const auto number = static_cast<lect32::Slot>(std::stoi(v.damage.substr(slotAt + 11)));
            EXPECT_FALSE(lect32::FindSlot(attributes, number).has_value());
            ++seen["slot past its item"];
        } else {
            // A hot-spot count past its list: the shapes there are, and no more, are tested.
            const Bytes spots = t.page.CopySlot(static_cast<uint16_t>(i), lect32::Slot::HotSpots);
            for (int y = -1; y < 12; ++y) {
                for (int x = -1; x < 12; ++x) lect32::HitTestHotspots(spots, x, y);
            }
            EXPECT_LE(lect32::HotspotList(spots).Count(), 1);
            ++seen["spots"];
        }
    }
    for (const char* kind : {"count", "cut", "length", "slot past its item", "spots"}) EXPECT_GT(seen[kind], 0) << kind;
}

// The writer's seeded damage anywhere in a page record with pictures of every kind: reading what
// is left where the objects would be never fails other than cleanly.
TEST_F(ObjectListDamageTest, SeededDamageAnywhereInThePageIsReadCleanly) {
    for (const char* source : {"pictures", "links"}) {
        SCOPED_TRACE(source);
        const std::vector<Variant> variants =
            damagedCopies(scratch.host(source), source, "--seed 7 --count 40");
        ASSERT_FALSE(variants.empty());
        for (const Variant& v : variants) {
            SCOPED_TRACE(v.damage);
            page_test::TestPage t;
            bool read = false;
            if (v.fails != "parse" || !readPage(v, t.page, read)) continue;
            if (!read) {
                EXPECT_EQ(t.page.GetCount(), 0);
            }
            for (uint16_t i = 0; i < t.page.GetCount(); ++i) {
                const Bytes attributes = t.page.CopyAttributes(i);
                EXPECT_EQ(lect32::WholeSlotsLength(attributes), attributes.size());
            }
        }
    }
}

}  // namespace
