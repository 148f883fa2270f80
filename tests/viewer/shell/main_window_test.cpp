// The main window of the headless desktop: reloading its menu enters the recent documents of the
// registry into the File menu, and a relayout sends it its client size.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "platform/registry/registry_fixture.h"
#include "shell/main_window.h"
#include "shell/recent_documents.h"
#include "store/registry_key.h"
#include "winplat_harness/harness.h"

namespace {

constexpr const char* kWindowClass = "MainWindowTestWindow";

struct Item {
    UINT id;
    std::string text;
    bool operator==(const Item&) const = default;
    friend void PrintTo(const Item& item, std::ostream* out) { *out << item.id << " \"" << item.text << "\""; }
};

std::vector<Item> ItemsOf(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[300] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        items.push_back({GetMenuItemID(menu, i), text});
    }
    return items;
}

const Item kSeparator{0, ""};

class MainWindowTest : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, kWindowClass, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                  MenuBar(), nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        lect32::SetMainWindow(window_);
    }

    void TearDown() override {
        lect32::SetMainWindow(nullptr);
        DestroyWindow(window_);
        RegistryTest::TearDown();
    }

    // "&Soubor" (Open, Print and Exit between separators) and "&Informace", as the reader's bar.
    static HMENU MenuBar() {
        const HMENU bar = CreateMenu();
        const HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 1002, "&Otev\xF8\xEDt...");
        AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(file, MF_STRING, 1013, "&Tisk...");
        AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(file, MF_STRING, 1005, "&Konec");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Soubor");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Informace");
        return bar;
    }

    static void StoreRecent(const std::vector<std::string>& values) {
        lect32::RegistryKey key;
        ASSERT_EQ(key.Create("MRU", true), 1);
        for (size_t n = 0; n < values.size(); ++n) key.WriteString(std::to_string(n).c_str(), values[n].c_str(), 0);
    }

    HMENU FileMenu() const { return GetSubMenu(GetMenu(window_), 0); }

    winplat::test::Harness harness_;
    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, ReloadEntersTheRecentDocumentsBeforeTheLastSeparatorNewestFirst) {
    // The list ends at the first empty value: "3" is never shown.
    StoreRecent({"C:\\Dokumenty\\Prvn\xCD.LCN", "D:\\Druhy.lcn", "", "C:\\skryty.lcn"});
    lect32::ReloadMainMenu();
    const std::vector<Item> expected = {{1002, "&Otev\xF8\xEDt..."},
                                        kSeparator,
                                        {1013, "&Tisk..."},
                                        kSeparator,
                                        {1100, "&1  c:\\dokumenty\\prvn\xED.lcn"},
                                        {1101, "&2  d:\\druhy.lcn"},
                                        kSeparator,
                                        {1005, "&Konec"}};
    EXPECT_EQ(ItemsOf(FileMenu()), expected);

    // Again: the old entries and their separator go first, so nothing doubles.
    lect32::ReloadMainMenu();
    EXPECT_EQ(ItemsOf(FileMenu()), expected);
}

TEST_F(MainWindowTest, SixEntriesAtMost) {
    StoreRecent({"a1", "a2", "a3", "a4", "a5", "a6", "a7"});
    lect32::BuildRecentDocumentsMenu();
    const std::vector<Item> items = ItemsOf(FileMenu());
    ASSERT_EQ(items.size(), 5u + 7u);
    EXPECT_EQ(items[4], (Item{1100, "&1  a1"}));
    EXPECT_EQ(items[9], (Item{1105, "&6  a6"}));
    EXPECT_EQ(items[10], kSeparator);
    EXPECT_EQ(items[11].id, 1005u);
}

TEST_F(MainWindowTest, AnEmptyListLeavesNoSeparatorOfItsOwn) {
    StoreRecent({"C:\\a.lcn"});
    lect32::ReloadMainMenu();
    ASSERT_EQ(GetMenuItemCount(FileMenu()), 7);
    StoreRecent({""});
    lect32::ReloadMainMenu();
    EXPECT_EQ(ItemsOf(FileMenu()), (std::vector<Item>{{1002, "&Otev\xF8\xEDt..."},
                                                      kSeparator,
                                                      {1013, "&Tisk..."},
                                                      kSeparator,
                                                      {1005, "&Konec"}}));
}

TEST_F(MainWindowTest, WithoutTheKeyTheMenuStaysAsItIs) {
    lect32::ReloadMainMenu();
    EXPECT_EQ(GetMenuItemCount(FileMenu()), 5);
}

TEST_F(MainWindowTest, RelayoutSendsTheClientSizeAndRepaints) {
    harness_.logMessages(window_);
    lect32::RelayoutMainWindow();
    RECT client{};
    GetClientRect(window_, &client);
    bool sized = false;
    for (const auto& logged : harness_.messages(window_)) {
        if (logged.message != WM_SIZE) continue;
        sized = true;
        EXPECT_EQ(logged.wParam, static_cast<WPARAM>(SIZE_RESTORED));
        EXPECT_EQ(LOWORD(logged.lParam), client.right);
        EXPECT_EQ(HIWORD(logged.lParam), client.bottom);
    }
    EXPECT_TRUE(sized);
    const std::vector<UINT> numbers = harness_.messageNumbers(window_);
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), static_cast<UINT>(WM_PAINT)), numbers.end());
}

TEST_F(MainWindowTest, WithoutAMainWindowNothingHappens) {
    StoreRecent({"C:\\a.lcn"});
    lect32::SetMainWindow(nullptr);
    lect32::ReloadMainMenu();
    lect32::RelayoutMainWindow();
    EXPECT_EQ(GetMenuItemCount(FileMenu()), 5);
}

}  // namespace
