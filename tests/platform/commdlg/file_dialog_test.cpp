// The open and save dialogs answered headlessly through their controls on a temporary drive.
#include <gtest/gtest.h>

#include <cstring>

#include "file_dialog_fixture.h"
#include "winplat/files.h"

namespace {

using commdlg_test::itemCentre;
using commdlg_test::listItems;
using commdlg_test::Record;
using commdlg_test::windowText;
using filetest::TempDrive;
using winplat::test::Harness;

class FileDialog : public ::testing::Test {
  protected:
    TempDrive drive;
    Harness h{commdlg_test::screen()};

    void SetUp() override {
        drive.file("docs/a.lcn", "a");
        drive.file("docs/b.lcn", "b");
        drive.file("docs/c.txt", "c");
        drive.file("docs/pic.bmp", "p");
        drive.folder("docs/sub");
    }
};

TEST_F(FileDialog, TypingAPathChoosesItAndFillsTheRecord) {
    Record r;
    h.answerOpenFile("T:\\docs\\a.lcn");
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_STREQ(r.file, "T:\\docs\\a.lcn");
    EXPECT_STREQ(r.title, "a.lcn");
    EXPECT_EQ(r.ofn.nFileOffset, 8);
    EXPECT_EQ(r.ofn.nFileExtension, 10);
    EXPECT_EQ(r.ofn.nFilterIndex, 1u);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialog, ANameTypedIsTakenInTheInitialFolderWithTheDefaultExtension) {
    Record r;
    r.ofn.lpstrInitialDir = "t:/DOCS";
    r.ofn.lpstrDefExt = "lcn";
    h.answerOpenFile("B");
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_STREQ(r.file, "T:\\docs\\B.lcn");
    // The chosen folder became the current one, as OFN_NOCHANGEDIR was not given.
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(current, "T:\\docs");
}

TEST_F(FileDialog, NoChangeDirKeepsTheCurrentFolder) {
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\"));
    Record r("Dokument\0*.lcn\0", OFN_HIDEREADONLY | OFN_NOCHANGEDIR);
    h.answerOpenFile("T:\\docs\\a.lcn");
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(current, "T:\\");
}

TEST_F(FileDialog, ClickingInTheFileListChoosesTheFile) {
    Record r;
    r.ofn.lpstrInitialDir = "T:\\docs";
    std::vector<std::string> shown;
    h.expectCommonDialog("GetOpenFileName")
        .call([&](HWND dialog) {
            shown = listItems(dialog, lst1);
            const POINT p = itemCentre(dialog, lst1, 1);
            h.click(p.x, p.y);
        })
        .press(IDOK);
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_EQ(shown, (std::vector<std::string>{"a.lcn", "b.lcn"}));
    EXPECT_STREQ(r.file, "T:\\docs\\b.lcn");
}

TEST_F(FileDialog, DoubleClicksEnterAFolderAndChooseAFile) {
    drive.file("docs/sub/inner.lcn");
    Record r;
    r.ofn.lpstrInitialDir = "T:\\docs";
    std::vector<std::string> folders, files;
    h.expectCommonDialog("GetOpenFileName").call([&](HWND dialog) {
        folders = listItems(dialog, lst2);
        const POINT sub = itemCentre(dialog, lst2, 1);
        h.doubleClick(sub.x, sub.y);
        files = listItems(dialog, lst1);
        const POINT inner = itemCentre(dialog, lst1, 0);
        h.doubleClick(inner.x, inner.y);
    });
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_EQ(folders, (std::vector<std::string>{"..", "sub"}));
    EXPECT_EQ(files, (std::vector<std::string>{"inner.lcn"}));
    EXPECT_STREQ(r.file, "T:\\docs\\sub\\inner.lcn");
}

TEST_F(FileDialog, SwitchingTheTypeFiltersTheListAndIsReturned) {
    Record r("Dokument\0*.lcn\0Obr\xE1zky a texty\0*.bmp;*.TXT\0V\x9A" "e\0*.*\0");
    r.ofn.lpstrInitialDir = "T:\\docs";
    std::vector<std::string> before, after;
    h.expectCommonDialog("GetOpenFileName")
        .call([&](HWND dialog) { before = listItems(dialog, lst1); })
        .call([](HWND dialog) { SetFocus(GetDlgItem(dialog, cmb1)); })
        .key(VK_DOWN)
        .call([&](HWND dialog) { after = listItems(dialog, lst1); })
        .type(edt1, "c.txt")
        .press(IDOK);
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_EQ(before, (std::vector<std::string>{"a.lcn", "b.lcn"}));
    EXPECT_EQ(after, (std::vector<std::string>{"c.txt", "pic.bmp"}));
    EXPECT_EQ(r.ofn.nFilterIndex, 2u);
}

TEST_F(FileDialog, APatternTypedInTheNameFiltersTheListAndKeepsTheDialogOpen) {
    Record r;
    r.ofn.lpstrInitialDir = "T:\\docs";
    std::vector<std::string> shown;
    h.expectCommonDialog("GetOpenFileName")
        .type(edt1, "*.bmp")
        .press(IDOK)
        .call([&](HWND dialog) { shown = listItems(dialog, lst1); })
        .type(edt1, "pic.bmp")
        .press(IDOK);
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_EQ(shown, (std::vector<std::string>{"pic.bmp"}));
    EXPECT_STREQ(r.file, "T:\\docs\\pic.bmp");
}

TEST_F(FileDialog, TheDrivesListHoldsTheConfiguredDrives) {
    Record r;
    std::vector<std::string> drives;
    h.expectCommonDialog("GetOpenFileName")
        .call([&](HWND dialog) {
            const auto count = SendDlgItemMessageA(dialog, cmb2, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                char text[16] = {};
                SendDlgItemMessageA(dialog, cmb2, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                drives.emplace_back(text);
            }
        })
        .press(IDCANCEL);
    EXPECT_FALSE(GetOpenFileNameA(&r.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(drives, (std::vector<std::string>{"C:", "T:"}));
    EXPECT_EQ(r.file[0], '\0');
}

TEST_F(FileDialog, TheCaptionIsTheTitleGivenOrTheCzechDefault) {
    const struct {
        bool save;
        const char* title;
        const char* caption;
    } cases[] = {
        {false, nullptr, "Otev\xF8\xEDt"},
        {true, nullptr, "Ulo\x9Eit jako"},
        {true, "Exportovat", "Exportovat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Record r;
        r.ofn.lpstrTitle = c.title;
        std::string caption;
        h.expectCommonDialog(c.save ? "GetSaveFileName" : "GetOpenFileName")
            .call([&](HWND dialog) { caption = windowText(dialog); })
            .press(IDCANCEL);
        EXPECT_FALSE(c.save ? GetSaveFileNameA(&r.ofn) : GetOpenFileNameA(&r.ofn));
        EXPECT_EQ(caption, c.caption);
    }
}

TEST_F(FileDialog, SavingOverAnExistingFileAsksAndNoKeepsTheDialogOpen) {
    Record r("Dokument\0*.lcn\0", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    h.answerSaveFile("T:\\docs\\a.lcn");
    h.answerMessageBox("T:\\docs\\a.lcn ji\x9E existuje.\nChcete jej nahradit?", IDNO);
    h.answerSaveFile("T:\\docs\\new.lcn");
    ASSERT_TRUE(GetSaveFileNameA(&r.ofn));
    EXPECT_STREQ(r.file, "T:\\docs\\new.lcn");

    Record again("Dokument\0*.lcn\0", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    h.answerSaveFile("T:\\docs\\a.lcn");
    h.answerMessageBox(IDYES);
    ASSERT_TRUE(GetSaveFileNameA(&again.ofn));
    EXPECT_STREQ(again.file, "T:\\docs\\a.lcn");
}

TEST_F(FileDialog, WithoutTheOverwritePromptAnExistingFileIsTakenUnasked) {
    Record r("Dokument\0*.lcn\0", OFN_HIDEREADONLY);
    h.answerSaveFile("T:\\docs\\a.lcn");
    ASSERT_TRUE(GetSaveFileNameA(&r.ofn));
    EXPECT_STREQ(r.file, "T:\\docs\\a.lcn");
}

TEST_F(FileDialog, MustExistFlagsRefuseAMissingNameWithAWarning) {
    const struct {
        DWORD flags;
        const char* typed;
        const char* warning;  // none: the name is taken
    } cases[] = {
        {OFN_FILEMUSTEXIST, "T:\\docs\\none.lcn",
         "T:\\docs\\none.lcn\nSoubor nebyl nalezen.\nZkontrolujte, zda je zad\xE1n spr\xE1vn\xFD n\xE1zev souboru."},
        {OFN_PATHMUSTEXIST, "T:\\nowhere\\a.lcn",
         "T:\\nowhere\\a.lcn\nCesta neexistuje.\nZkontrolujte, zda je zad\xE1na spr\xE1vn\xE1 cesta."},
        {OFN_FILEMUSTEXIST, "T:\\nowhere\\a.lcn",
         "T:\\nowhere\\a.lcn\nCesta neexistuje.\nZkontrolujte, zda je zad\xE1na spr\xE1vn\xE1 cesta."},
        {OFN_PATHMUSTEXIST, "T:\\docs\\none.lcn", nullptr},
        {0, "T:\\nowhere\\a.lcn", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Record r("Dokument\0*.lcn\0", OFN_HIDEREADONLY | c.flags);
        h.answerOpenFile(c.typed);
        if (c.warning) {
            h.answerMessageBox(c.warning, IDOK);
            h.expectCommonDialog("GetOpenFileName").press(IDCANCEL);
        }
        EXPECT_EQ(GetOpenFileNameA(&r.ofn), c.warning ? FALSE : TRUE);
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        if (!c.warning) {
            EXPECT_STREQ(r.file, c.typed);
        }
    }
}

TEST_F(FileDialog, APathLongerThanTheBufferGivesTheSizeItNeeds) {
    // "T:\docs\a.lcn" is 13 characters and needs 14 bytes.
    for (const DWORD size : {13u, 14u}) {
        SCOPED_TRACE(size);
        Record r;
        r.ofn.nMaxFile = size;
        h.answerOpenFile("T:\\docs\\a.lcn");
        const BOOL chosen = GetOpenFileNameA(&r.ofn);
        if (size == 13) {
            EXPECT_FALSE(chosen);
            EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
            EXPECT_EQ(static_cast<unsigned char>(r.file[0]) | (static_cast<unsigned char>(r.file[1]) << 8), 14);
        } else {
            EXPECT_TRUE(chosen);
            EXPECT_STREQ(r.file, "T:\\docs\\a.lcn");
        }
    }
}

TEST_F(FileDialog, RecordsOfAnotherSizeOrWithUnofferedFlagsAreRefused) {
    const struct {
        DWORD size;
        DWORD flags;
        DWORD error;
    } cases[] = {
        {75, 0, CDERR_STRUCTSIZE},
        {77, 0, CDERR_STRUCTSIZE},
        {OPENFILENAME_SIZE_VERSION_400A, OFN_ENABLEHOOK, CDERR_NOHOOK},
        {OPENFILENAME_SIZE_VERSION_400A, OFN_ENABLETEMPLATE, CDERR_NOTEMPLATE},
        {OPENFILENAME_SIZE_VERSION_400A, OFN_ALLOWMULTISELECT, CDERR_INITIALIZATION},
    };
    for (const auto& c : cases) {
        Record r("Dokument\0*.lcn\0", c.flags);
        r.ofn.lStructSize = c.size;
        EXPECT_FALSE(GetOpenFileNameA(&r.ofn));
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.size << " " << c.flags;
    }
    Record full;
    full.ofn.lStructSize = sizeof(OPENFILENAMEA);
    h.answerOpenFile("T:\\docs\\a.lcn");
    EXPECT_TRUE(GetOpenFileNameA(&full.ofn));
}

TEST_F(FileDialog, TheReadOnlyBoxIsShownUnlessHiddenAndReturned) {
    Record r("Dokument\0*.lcn\0", 0);
    bool visible = false;
    h.expectCommonDialog("GetOpenFileName")
        .call([&](HWND dialog) { visible = IsWindowVisible(GetDlgItem(dialog, chx1)); })
        .check(chx1)
        .type(edt1, "T:\\docs\\a.lcn")
        .press(IDOK);
    ASSERT_TRUE(GetOpenFileNameA(&r.ofn));
    EXPECT_TRUE(visible);
    EXPECT_TRUE(r.ofn.Flags & OFN_READONLY);
}

}  // namespace
