// Page names filled into real list and combo boxes of the headless desktop, filtered by the id
// list and a map, with the heading item first.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/combo_item_data.h"
#include "store/doc_string_table.h"
#include "store/id_list.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "store_test_support.h"
#include "vazazi_test_support.h"
#include "winplat/api.h"
#include "winplat/text.h"
#include "winplat/owners.h"
#include "winplat_harness/harness.h"

namespace {

using lect32::DocStringTable;
using lect32::IdList;

constexpr int kListId = 120;

struct Item {
    std::string text;
    LRESULT data;
    bool operator==(const Item&) const = default;
};

class DocStringListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(file.Create(scratch.windows("doc.vzz").c_str(), 1), 0);
        for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 256, 32767}) {
            const std::string name = "Strana " + std::to_string(n);
            ASSERT_EQ(table.WriteString(static_cast<int16_t>(n), name.c_str(), static_cast<uint8_t>(name.size())), 1);
        }
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "PageNameDialog";
        ASSERT_NE(RegisterClassA(&wc), 0);
        dialog = CreateWindowExA(0, "PageNameDialog", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(store_test::load(ids, idBytes({2, 0xFFFF, 3, 7})), 1);
    }

    static store_test::Bytes idBytes(std::vector<uint16_t> words) {
        store_test::Bytes out;
        for (uint16_t w : words) out.insert(out.end(), {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8)});
        return out;
    }

    HWND makeControl(const char* className, DWORD style) {
        HWND control = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 150, dialog,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), nullptr, nullptr);
        EXPECT_NE(control, nullptr);
        return control;
    }

    static std::vector<Item> items(HWND control, bool combo = false) {
        std::vector<Item> out;
        const LRESULT count = SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.push_back({text, SendMessageA(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA, static_cast<WPARAM>(i), 0)});
        }
        return out;
    }

    static std::vector<Item> pages(std::vector<int> numbers) {
        std::vector<Item> out;
        for (int n : numbers) out.push_back({"Strana " + std::to_string(n), n});
        return out;
    }

    winplat::test::Harness harness{{.width = 320, .height = 240, .goldenFolder = "", .diffFolder = "", .startMs = 1000}};
    vazazi_test::ScratchFolder scratch;
    lect32::VazaziFile file;
    DocStringTable table{file};
    IdList ids;
    HWND dialog = nullptr;
};

TEST_F(DocStringListTest, FiltersByTheIdList) {
    struct Case {
        uint8_t filter;
        std::vector<int> numbers;
    };
    const Case cases[] = {{DocStringTable::kFillAll, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 256, 32767}},
                          {DocStringTable::kFillNotInList, {0, 1, 2, 4, 5, 6, 8, 9, 256, 32767}},
                          {DocStringTable::kFillInList, {3, 7}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        HWND list = makeControl("LISTBOX", LBS_NOTIFY);
        ASSERT_EQ(table.FillListControl(dialog, kListId, c.filter, nullptr, &ids, ""), 1);
        EXPECT_EQ(items(list), pages(c.numbers));
        DestroyWindow(list);
    }
}

TEST_F(DocStringListTest, HeadingComesFirstWithDataMinusOne) {
    HWND combo = makeControl("COMBOBOX", CBS_DROPDOWNLIST);
    const uint8_t flags = DocStringTable::kFillCombo | DocStringTable::kFillHeading | DocStringTable::kFillInList;
    ASSERT_EQ(table.FillListControl(dialog, kListId, flags, nullptr, &ids, "Obsah"), 1);
    std::vector<Item> expected{{">>> Obsah <<<", -1}};
    for (const Item& page : pages({3, 7})) expected.push_back(page);
    EXPECT_EQ(items(combo, true), expected);
}

// The heading's data -1 is 0xFFFF as 16 bits: it must be passed over, not found.
TEST_F(DocStringListTest, ComboItemIsFoundByItsNumberPastTheHeading) {
    HWND combo = makeControl("COMBOBOX", CBS_DROPDOWNLIST);
    const uint8_t flags = DocStringTable::kFillCombo | DocStringTable::kFillHeading | DocStringTable::kFillAll;
    ASSERT_EQ(table.FillListControl(dialog, kListId, flags, nullptr, &ids, "Obsah"), 1);
    const std::vector<std::pair<uint16_t, uint16_t>> cases{{0, 1}, {7, 8}, {256, 11}, {32767, 12}, {0xFFFF, 0xFFFF},
                                                           {10, 0xFFFF}};
    for (const auto& [id, index] : cases) EXPECT_EQ(lect32::FindComboItemByData(combo, id), index) << id;
    // A data value wider than 16 bits is compared by its low half.
    SendMessageA(combo, CB_SETITEMDATA, 2, 0x10009);
    EXPECT_EQ(lect32::FindComboItemByData(combo, 9), 2);
}

TEST_F(DocStringListTest, ComboWithoutItemsOrCountFindsNothing) {
    HWND combo = makeControl("COMBOBOX", CBS_DROPDOWNLIST);
    EXPECT_EQ(lect32::FindComboItemByData(combo, 0), 0xFFFF);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Strana 0"));
    SendMessageA(combo, CB_SETITEMDATA, 0, 0);
    EXPECT_EQ(lect32::FindComboItemByData(combo, 0), 0);
    EXPECT_EQ(lect32::FindComboItemByData(nullptr, 0), 0xFFFF);
}

TEST_F(DocStringListTest, MapKeepsOnlyItsMarkedNumbers) {
    HWND list = makeControl("LISTBOX", 0);
    std::vector<uint8_t> map(IdList::kMapSize, 0);
    map[5] = map[256] = map[300] = 1;
    ASSERT_EQ(table.FillListControl(dialog, kListId, DocStringTable::kFillNotInList, map.data(), &ids, ""), 1);
    EXPECT_EQ(items(list), pages({5, 256}));
}

// The extent is that of the widest text in the measuring font, whichever item it is.
TEST_F(DocStringListTest, HorizontalExtentFollowsTheWidestText) {
    const std::string wide = "A much wider page name than the others";
    ASSERT_EQ(table.WriteString(4, wide.c_str(), static_cast<uint8_t>(wide.size())), 1);
    HWND list = makeControl("LISTBOX", WS_HSCROLL);
    ASSERT_EQ(table.FillListControl(dialog, kListId, DocStringTable::kFillHeading, nullptr, &ids, ""), 1);
    winplat::BorrowedDc dc(dialog);
    winplat::GdiObject<HFONT> font(CreateFontA(-MulDiv(8, GetDeviceCaps(dc.get(), LOGPIXELSY), 72), 0, 0, 0, FW_BOLD,
                                               0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
    winplat::Selection selection(dc.get(), font.get());
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size));
    SIZE other{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc.get(), "Strana 32767", 12, &other));
    ASSERT_GT(size.cx, other.cx);
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), size.cx + 2);
}

TEST_F(DocStringListTest, DamagedBlockEndsTheFillWithZero) {
    store_test::Bytes bad(260, 0);
    bad[2] = 5;  // a length with no size and no bytes
    lect32::MemWriter writer;
    vazazi_test::fill(writer, bad);
    ASSERT_EQ(file.WriteRecordByType(0, 1, writer), 1);
    HWND list = makeControl("LISTBOX", 0);
    EXPECT_EQ(table.FillListControl(dialog, kListId, DocStringTable::kFillAll, nullptr, &ids, ""), 0);
    EXPECT_EQ(items(list), pages({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(DocStringListTest, ClosedDocumentFillsNothing) {
    HWND list = makeControl("LISTBOX", 0);
    file.Close();
    EXPECT_EQ(table.FillListControl(dialog, kListId, DocStringTable::kFillAll, nullptr, &ids, ""), 1);
    EXPECT_TRUE(items(list).empty());
}

}  // namespace
