// Language files written by the record-file writer's language builder, loaded from the program's
// folder or its lng sub-folder and applied to real menus and dialogs of the headless host; damaged
// tables are refused whole.
#include <gtest/gtest.h>

#include <string>

#include "store/language_file.h"
#include "store/language_string_tables.h"
#include "store/language_text_list.h"
#include "store/text_slots.h"
#include "store/vazazi_file.h"
#include "viewer/store/language_fixture.h"
#include "winplat/controls.h"
#include "winplat/dialogs.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using lect32::LanguageTables;
using lect32::LanguageTexts;

constexpr uint16_t kEnglish = 0x0409;
constexpr const char* kWindowClass = "LanguageTestWindow";

int restored = 0;
void countRestore(HWND) { ++restored; }

std::string textOf(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string menuText(HMENU menu, UINT item, UINT flags) {
    char text[128] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

class LanguageFileTest : public LanguageFileFixture {
protected:
    void SetUp() override {
        LanguageFileFixture::SetUp();
        if (setUpStopped()) return;
        restored = 0;
        lect32::SetMainMenuRestorer(countRestore);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
    }

    void TearDown() override {
        lect32::SetMainMenuRestorer(nullptr);
        LanguageFileFixture::TearDown();
    }

    // Puts a built file in the program's folder ("") or in "lng" under the language's name.
    void place(const std::string& built, const std::string& folder, uint16_t language = kEnglish) const {
        const std::string name = lect32::LanguageFileName(language);
        copyBuilt(built, folder.empty() ? name : folder + "/" + name);
    }

    // A main window whose bar has two drop-downs, "&Soubor" (commands 201, 202) and "&Zobrazit".
    static HWND mainWindow() {
        const HMENU bar = CreateMenu();
        const HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 201, "&Otev\xF8\xEDt...");
        AppendMenuA(file, MF_STRING, 202, "&Zav\xF8\xEDt");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Soubor");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Zobrazit");
        return CreateWindowExA(0, kWindowClass, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, bar,
                               nullptr, nullptr);
    }

    winplat::test::Harness harness_;
};

TEST(LanguageNamesTest, NamesAreFourLowerCaseHexDigits) {
    EXPECT_EQ(lect32::LanguageFileName(1029), "0405.clf");
    EXPECT_EQ(lect32::LanguageFileName(2057), "0809.clf");
    EXPECT_EQ(lect32::LanguageFileName(0x41B), "041b.clf");
    EXPECT_EQ(lect32::LanguageFileName(0xABCD), "abcd.clf");
    EXPECT_EQ(lect32::LanguageFileName(1), "0001.clf");
}

TEST(LanguageNamesTest, LanguagesMapToTheirDictionaries) {
    struct Case {
        uint16_t language;
        uint16_t index;
    };
    const Case cases[] = {{1029, 0}, {1051, 1}, {2057, 2}, {1031, 3}, {1033, 0xFFFF}, {0, 0xFFFF}, {1030, 0xFFFF}};
    for (const Case& c : cases) EXPECT_EQ(lect32::LanguageIdToIndex(c.language), c.index) << c.language;
}

TEST_F(LanguageFileTest, AFileInLngRenamesTheBarAndKeepsItsDropDowns) {
    place("good.clf", "lng");
    const HWND window = mainWindow();
    ASSERT_EQ(lect32::LoadLanguageFile(0, kEnglish, window), 1);
    const HMENU bar = GetMenu(window);
    EXPECT_EQ(menuText(bar, 0, MF_BYPOSITION), "&File");
    EXPECT_EQ(menuText(bar, 1, MF_BYPOSITION), "&View");
    const HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_NE(GetSubMenu(bar, 1), nullptr);
    EXPECT_EQ(GetMenuItemID(file, 0), 201u);

    LanguageTables().ApplyToMenu(file, 2);
    EXPECT_EQ(menuText(file, 201, MF_BYCOMMAND), "&Open...");
    EXPECT_EQ(menuText(file, 202, MF_BYCOMMAND), "&Close");
    EXPECT_EQ(restored, 0);
    DestroyWindow(window);
}

TEST_F(LanguageFileTest, TextsComeFromTheFileFirstOfEqualIdsWinning) {
    place("good.clf", "lng");
    ASSERT_EQ(lect32::LoadLanguageFile(0, kEnglish, nullptr), 1);
    EXPECT_STREQ(lect32::LoadLocalizedText(8), "Untitled");
    EXPECT_STREQ(lect32::LoadLocalizedText(9), "first");
}

TEST_F(LanguageFileTest, TheProgramFolderComesBeforeLng) {
    place("good.clf", "lng");
    place("other.clf", "");
    ASSERT_EQ(lect32::LoadLanguageFile(0, kEnglish, nullptr), 1);
    EXPECT_STREQ(lect32::LoadLocalizedText(8), "Other");
}

TEST_F(LanguageFileTest, DialogTablesSetTheCaptionAndControls) {
    place("good.clf", "");
    ASSERT_EQ(lect32::LoadLanguageFile(0, kEnglish, nullptr), 1);
    const HWND dialog = CreateWindowExA(0, kWindowClass, "Hledat", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                        nullptr, nullptr, nullptr);
    const HWND cancel = CreateWindowExA(0, "BUTTON", "Storno", WS_CHILD | BS_PUSHBUTTON, 0, 0, 60, 20, dialog,
                                        reinterpret_cast<HMENU>(INT_PTR{2}), nullptr, nullptr);
    const HWND words = CreateWindowExA(0, "BUTTON", "Cel\xE1 slova", WS_CHILD | BS_CHECKBOX, 0, 30, 60, 20, dialog,
                                       reinterpret_cast<HMENU>(INT_PTR{101}), nullptr, nullptr);
    // Tables at or beyond the count change nothing.
    lect32::TranslateDialog(dialog, 3);
    lect32::TranslateDialog(dialog, 0xFFFF);
    EXPECT_EQ(textOf(dialog), "Hledat");
    lect32::TranslateDialog(dialog, 0);
    EXPECT_EQ(textOf(dialog), "Find");
    EXPECT_EQ(textOf(cancel), "Cancel");
    EXPECT_EQ(textOf(words), "Whole words");
    DestroyWindow(dialog);
}

TEST_F(LanguageFileTest, LanguageZeroNeverTouchesTheDisk) {
    place("good.clf", "", 0);   // a file named 0000.clf is not read
    LanguageTexts().AddText(3308, "stale", 5);
    EXPECT_EQ(lect32::LoadLanguageFile(0, 0, nullptr), 1);
    EXPECT_EQ(LanguageTables().GetCount(), 0);
    EXPECT_EQ(LanguageTexts().GetCount(), 0);
    EXPECT_EQ(restored, 1);
}

TEST_F(LanguageFileTest, AMissingFileRestoresTheBuiltInTexts) {
    place("good.clf", "lng");
    ASSERT_EQ(lect32::LoadLanguageFile(0, kEnglish, nullptr), 1);
    EXPECT_EQ(lect32::LoadLanguageFile(0, 0x0405, nullptr), 0);
    EXPECT_EQ(LanguageTables().GetCount(), 0);
    EXPECT_STREQ(lect32::LoadLocalizedText(8), "Beze jm\xE9na");
    EXPECT_EQ(restored, 1);
}

TEST_F(LanguageFileTest, DamagedFilesAreRefusedWholeAndTheBarStays) {
    const char* damaged[] = {"directory_past_block.clf", "offset_past_block.clf", "entry_past_block.clf",
                             "zero_past_block.clf",      "unterminated.clf",      "short_block.clf",
                             "short_text_list.clf",      "no_record.clf"};
    const HWND window = mainWindow();
    for (const char* name : damaged) {
        SCOPED_TRACE(name);
        place("other.clf", "");
        ASSERT_EQ(lect32::LoadLanguageFile(0, kEnglish, nullptr), 1);
        ASSERT_EQ(LanguageTables().GetCount(), 2);
        place(name, "");
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(lect32::LoadLanguageFile(0, kEnglish, window), 0);
        EXPECT_EQ(LanguageTables().GetCount(), 0);
        EXPECT_EQ(LanguageTexts().GetCount(), 0);
        EXPECT_EQ(menuText(GetMenu(window), 0, MF_BYPOSITION), "&Soubor");
        EXPECT_TRUE(quiet.contains("lect32: language")) << quiet.text();
    }
    DestroyWindow(window);
}

constexpr UINT kCounted = WM_USER + 5;
int counted = 0;
LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCounted) ++counted;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(PumpMessagesTest, TakesAtMostNMessages) {
    winplat::test::Harness harness;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = countingProcedure;
    windowClass.lpszClassName = "PumpCountingWindow";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "PumpCountingWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    for (int i = 0; i < 3; ++i) PostMessageA(window, kCounted, 0, 0);
    counted = 0;
    lect32::PumpMessages(0);
    EXPECT_EQ(counted, 0);
    lect32::PumpMessages(2);
    EXPECT_EQ(counted, 2);
    lect32::PumpMessages(5);   // more turns than messages: the rest pass with nothing taken
    EXPECT_EQ(counted, 3);
    DestroyWindow(window);
}

}  // namespace
