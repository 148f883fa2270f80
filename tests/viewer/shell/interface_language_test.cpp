// The interface language: the languages offered in a real combo box of the headless desktop, from
// language files that the record-file writer builds, and the language file the view settings name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "shell/interface_language.h"
#include "shell/main_window.h"
#include "shell/view_settings.h"
#include "store/language_file.h"
#include "store/language_text_list.h"
#include "viewer/store/language_fixture.h"
#include "winplat/controls.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kWindowClass = "InterfaceLanguageTestWindow";

struct Item {
    std::string text;
    LRESULT data;
    bool operator==(const Item&) const = default;
    friend void PrintTo(const Item& item, std::ostream* out) { *out << "\"" << item.text << "\" " << item.data; }
};

std::vector<Item> ItemsOf(HWND combo) {
    std::vector<Item> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back({text, SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)});
    }
    return items;
}

const Item kUndefined{"<nedefinov\xE1no>", 0};
const Item kCzech{"\xC8" "e\x9Atina", 1029};

class InterfaceLanguageTest : public LanguageFileFixture {
protected:
    void SetUp() override {
        LanguageFileFixture::SetUp();
        if (setUpStopped()) return;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
        dialog_ = CreateWindowExA(0, kWindowClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(dialog_, nullptr);
    }

    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        lect32::SetMainWindow(nullptr);
        lect32::ResetViewSettings();
        LanguageFileFixture::TearDown();
    }

    HWND combo(DWORD style = 0) const {
        return CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | style, 0, 0, 200, 150,
                               dialog_, reinterpret_cast<HMENU>(INT_PTR{101}), nullptr, nullptr);
    }

    winplat::test::Harness harness_;
    HWND dialog_ = nullptr;
};

TEST_F(InterfaceLanguageTest, TheComboOffersCzechAndEachLanguageFileOfLngByItsTitle) {
    copyBuilt("good.clf", "lng/0409.clf");
    copyBuilt("other.clf", "lng/041B.CLF");
    copyBuilt("good.clf", "0405.clf");         // the program's own folder is not searched
    copyBuilt("good.clf", "lng/0809.txt");     // nor other names of lng
    fs::create_directories(scratch_.host("lng/0407.clf"));  // nor folders
    const HWND box = combo();
    EXPECT_EQ(lect32::FillLanguageCombo(box, true), 4);
    EXPECT_EQ(ItemsOf(box), (std::vector<Item>{kUndefined, kCzech, {"English", 0x409}, {"Other", 0x41B}}));
}

TEST_F(InterfaceLanguageTest, WithoutTheUndefinedEntryCzechComesFirst) {
    copyBuilt("other.clf", "lng/041b.clf");
    const HWND box = combo();
    EXPECT_EQ(lect32::FillLanguageCombo(box, false), 2);
    EXPECT_EQ(ItemsOf(box), (std::vector<Item>{kCzech, {"Other", 0x41B}}));
}

TEST_F(InterfaceLanguageTest, NoLanguageFolderLeavesTheBuiltInEntries) {
    fs::remove_all(scratch_.host("lng"));
    const HWND box = combo();
    EXPECT_EQ(lect32::FillLanguageCombo(box, true), 2);
    EXPECT_EQ(ItemsOf(box), (std::vector<Item>{kUndefined, kCzech}));
}

// A file too short for a header has no title: its name stands in. A name that is no hexadecimal
// number gives item data 0.
TEST_F(InterfaceLanguageTest, UnreadableTitlesAndOddNames) {
    std::ofstream(scratch_.host("lng/0405.clf")) << "VAZ";
    copyBuilt("other.clf", "lng/czech.clf");
    const HWND box = combo();
    EXPECT_EQ(lect32::FillLanguageCombo(box, false), 3);
    EXPECT_EQ(ItemsOf(box), (std::vector<Item>{kCzech, {"0405.clf", 0x405}, {"Other", 0}}));
}

// The title is read from byte 10 of the header, at most 199 characters of it.
TEST_F(InterfaceLanguageTest, TitlesAreCutAt199Characters) {
    std::string header(10, 'V');
    header += std::string(250, 'T');
    std::ofstream(scratch_.host("lng/0c0a.clf"), std::ios::binary) << header;
    const HWND box = combo();
    lect32::FillLanguageCombo(box, false);
    const std::vector<Item> items = ItemsOf(box);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1], (Item{std::string(199, 'T'), 0xC0A}));
}

TEST_F(InterfaceLanguageTest, TheViewSettingsChooseTheLanguageFile) {
    copyBuilt("good.clf", "lng/0409.clf");
    lect32::ViewSettings settings;
    settings.languageId = 0x409;
    lect32::StoreViewSettings(settings);
    EXPECT_EQ(lect32::LoadInterfaceLanguage(0), 1);
    EXPECT_GT(lect32::LanguageTexts().GetCount(), 0);

    settings.languageId = 0x405;  // no such file: back to the built-in texts
    lect32::StoreViewSettings(settings);
    EXPECT_EQ(lect32::LoadInterfaceLanguage(0), 0);
    EXPECT_EQ(lect32::LanguageTexts().GetCount(), 0);
}

// Dropping the language texts reloads the main window's menu, which enters the recent documents.
TEST_F(InterfaceLanguageTest, ClearingTheTextsReloadsTheMainMenu) {
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1002, "&Otev\xF8\xEDt...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, 1005, "&Konec");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Soubor");
    const HWND main = CreateWindowExA(0, kWindowClass, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                      nullptr, bar, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    lect32::SetMainWindow(main);
    harness_.logMessages(main);
    EXPECT_EQ(lect32::LoadInterfaceLanguage(0), 1);  // language 0: the built-in texts
    const std::vector<UINT> numbers = harness_.messageNumbers(main);
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), static_cast<UINT>(WM_SIZE)), numbers.end());
    lect32::SetMainWindow(nullptr);
    DestroyWindow(main);
}

}  // namespace
