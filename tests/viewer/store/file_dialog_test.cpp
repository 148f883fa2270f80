// The reader's open and save dialogs on the headless host's common dialogs, on a temporary drive:
// the filter strings split at their last character, save dialogs taking new names, and the folder
// and file type remembered between dialogs (and left alone by a cancel).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "store/file_dialog.h"
#include "temp_drive.h"
#include "winplat/commdlg.h"
#include "winplat/controls.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"
#include "winplat/files.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using lect32::RunFileDialog;

constexpr const char* kSave = "GetSaveFileName";
constexpr const char* kOpen = "GetOpenFileName";

std::string itemText(HWND dialog, int id) {
    char text[300] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> comboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[300] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// A visible pop-up window of a class of its own name.
HWND popup(const char* className, HWND owner) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, owner, nullptr, nullptr,
                           nullptr);
}

LRESULT chosenType(HWND dialog) { return SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0); }

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

class FileDialogTest : public ::testing::Test {
protected:
    filetest::TempDrive drive;
    winplat::test::Harness h;
    char path[lect32::kFileDialogPathSize] = "kept";
    uint8_t type = 77;

    void SetUp() override {
        lect32::ResetFileDialogMemory();
        drive.file("docs/a.lcn");
        drive.file("docs/b.lnp");
        drive.file("docs/pic.bmp");
        drive.folder("other");
        ASSERT_TRUE(SetCurrentDirectoryA("T:\\other"));
    }
    void TearDown() override {
        lect32::ResetFileDialogMemory();
        EXPECT_EQ(h.answersQueued(), 0u) << "an answer was left: its dialog never came";
    }
    // An answer that first moves the file type down by 'steps' in the type list, as the keyboard would.
    winplat::test::DialogAnswer chooseType(const char* loop, int steps) {
        winplat::test::DialogAnswer answer =
            h.expectCommonDialog(loop).call([](HWND dialog) { SetFocus(GetDlgItem(dialog, cmb1)); });
        for (int i = 0; i < steps; ++i) answer.key(VK_DOWN);
        return answer;
    }
    int run(int kind, const char* title = nullptr, HWND owner = nullptr) {
        return RunFileDialog(kind, path, sizeof path, &type, title, owner);
    }
};

TEST_F(FileDialogTest, EachKindShowsItsFilterSplitAtTheLastCharacterInItsDialog) {
    struct Case {
        int kind;
        const char* loop;
        std::vector<std::string> types;
    };
    const std::vector<Case> cases = {
        {1, kSave, {"ASCII (*.TXT)", "HTML"}},
        {10, kSave, {"Dokument Tarvo Lecternu (*.LCN)"}},
        {11,
         kSave,
         {"Bal\xED\xE8"
          "ek dokument\xF9 (*.LNP)"}},
        {12, kSave, {"U\x9Eivatelsk\xFD slovn\xEDk (*.DIC)"}},
        {13,
         kSave,
         {"V\x9A"
          "echny soubory"}},
        {20,
         kOpen,
         {"Podporovan\xE9 form\xE1ty", "Dokument Tarvo Lecternu (*.LCN)",
          "Bal\xED\xE8"
          "ek Dokument\xF9 (*.LNP)"}},
        {21, kOpen, {"Rich Text Format (*.RTF)"}},
        {22, kOpen, {"Dokument Tarvo Lecternu (*.LCN)"}},
        {0, kOpen, {"ASCII (*.TXT)", "Rich Text Format (*.RTF)", "Text602 (*.TXT)"}},
        {99, kOpen, {"ASCII (*.TXT)", "Rich Text Format (*.RTF)", "Text602 (*.TXT)"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> shown;
        h.expectCommonDialog(c.loop)
            .call([&](HWND dialog) { shown = comboItems(dialog, cmb1); })
            .press(IDCANCEL);
        EXPECT_EQ(run(c.kind), 0) << "kind " << c.kind;
        EXPECT_EQ(shown, c.types) << "kind " << c.kind;
        EXPECT_EQ(h.unexpectedModalLoops(), 0) << "kind " << c.kind << " wants a " << c.loop << " dialog";
    }
}

TEST_F(FileDialogTest, SaveKindsTakeANameThatDoesNotExistYetWithTheirDefaultExtension) {
    struct Case {
        int kind;
        const char* expected;
    };
    for (const Case& c :
         {Case{1, "T:\\docs\\new.lcn"}, Case{10, "T:\\docs\\new.lcn"}, Case{11, "T:\\docs\\new.lnp"},
          Case{12, "T:\\docs\\new.dic"}, Case{13, "T:\\docs\\new.lcn"}}) {
        h.answerSaveFile("T:\\docs\\new");
        ASSERT_EQ(run(c.kind), 1) << "kind " << c.kind;
        EXPECT_STREQ(path, c.expected) << "kind " << c.kind;
        EXPECT_EQ(h.unexpectedModalLoops(), 0) << "kind " << c.kind << " asked for an existing file";
    }
}

TEST_F(FileDialogTest, SaveKindsStillAskBeforeOverwritingAFile) {
    h.answerSaveFile("T:\\docs\\a.lcn");
    h.answerMessageBox(IDYES);
    ASSERT_EQ(run(lect32::kSaveDocument), 1);
    EXPECT_STREQ(path, "T:\\docs\\a.lcn");
    EXPECT_EQ(h.answersQueued(), 0u) << "the overwrite question was not asked";
}

TEST_F(FileDialogTest, OpenKindsRefuseANameThatDoesNotExistAndStayOpen) {
    for (const int kind : {int{lect32::kOpenDocumentOrPackage}, int{lect32::kOpenDocument}, 0}) {
        SCOPED_TRACE(kind);
        h.answerOpenFile("T:\\docs\\missing.lcn");
        h.answerMessageBox(IDOK);
        h.expectCommonDialog(kOpen).press(IDCANCEL);
        EXPECT_EQ(run(kind), 0);
        EXPECT_STREQ(path, "kept");
        EXPECT_EQ(h.answersQueued(), 0u) << "the missing file was taken without a warning";
    }
}

TEST_F(FileDialogTest, TheCopyDialogStartsWithTheGivenNameAndTheOthersEmpty) {
    std::string copyName, saveName;
    std::strcpy(path, "T:\\docs\\pic.bmp");
    h.expectCommonDialog(kSave).call([&](HWND dialog) { copyName = itemText(dialog, edt1); }).press(IDCANCEL);
    EXPECT_EQ(run(lect32::kSaveCopy), 0);
    h.expectCommonDialog(kSave).call([&](HWND dialog) { saveName = itemText(dialog, edt1); }).press(IDCANCEL);
    EXPECT_EQ(run(lect32::kSaveDocument), 0);
    EXPECT_EQ(copyName, "pic.bmp");
    EXPECT_EQ(saveName, "*.lcn") << "an empty name shows the type's patterns";
}

TEST_F(FileDialogTest, TheFileTypeChosenIsHandedBackAndOfferedAgainInThatKindOnly) {
    chooseType(kOpen, 2).type(edt1, "T:\\docs\\b.lnp").press(IDOK);
    ASSERT_EQ(run(lect32::kOpenDocumentOrPackage), 1);
    EXPECT_EQ(type, 3);
    LRESULT sameKind = -1, otherKind = -1;
    h.expectCommonDialog(kOpen).call([&](HWND dialog) { otherKind = chosenType(dialog); }).press(IDCANCEL);
    EXPECT_EQ(run(0), 0);
    h.expectCommonDialog(kOpen).call([&](HWND dialog) { sameKind = chosenType(dialog); }).press(IDCANCEL);
    EXPECT_EQ(run(lect32::kOpenDocumentOrPackage), 0);
    EXPECT_EQ(sameKind, 2);
    EXPECT_EQ(otherKind, 0);
}

TEST_F(FileDialogTest, ACancelLeavesTheBufferTheTypeAndTheRememberedStateAsTheyWere) {
    chooseType(kOpen, 1).type(edt1, "T:\\docs\\a.lcn").press(IDOK);
    ASSERT_EQ(run(lect32::kOpenDocumentOrPackage), 1);
    ASSERT_EQ(type, 2);
    std::strcpy(path, "kept");
    type = 77;
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\other"));
    chooseType(kOpen, 1).type(edt1, "T:\\other\\x.lcn").press(IDCANCEL);
    EXPECT_EQ(run(lect32::kOpenDocumentOrPackage), 0);
    EXPECT_STREQ(path, "kept");
    EXPECT_EQ(type, 77);
    std::string folder;
    LRESULT typeShown = -1;
    h.expectCommonDialog(kOpen)
        .call([&](HWND dialog) {
            folder = itemText(dialog, stc1);
            typeShown = chosenType(dialog);
        })
        .press(IDCANCEL);
    EXPECT_EQ(run(lect32::kOpenDocumentOrPackage), 0);
    EXPECT_EQ(lower(folder), "t:\\docs");
    EXPECT_EQ(typeShown, 1);
}

// The folder of a chosen file is offered again only when its last backslash lies within the
// first 100 characters: "T:\" and a folder of 96 characters put it at position 99.
TEST_F(FileDialogTest, TheChosenFolderIsOfferedAgainOnlyWhenItsBackslashLiesBelow100) {
    struct Case {
        size_t folderLength;
        bool offered;
    };
    for (const Case c : {Case{96, true}, Case{97, false}}) {
        const std::string folder(c.folderLength, 'f');
        drive.folder(folder);
        const std::string chosen = "T:\\" + folder + "\\new.lcn";
        ASSERT_EQ(chosen.rfind('\\'), c.folderLength + 3);
        h.answerSaveFile(chosen);
        ASSERT_EQ(run(lect32::kSaveDocument), 1);
        ASSERT_EQ(std::string(path), chosen);
        ASSERT_TRUE(SetCurrentDirectoryA("T:\\other"));
        std::string shown;
        h.expectCommonDialog(kSave)
            .call([&](HWND dialog) { shown = itemText(dialog, stc1); })
            .press(IDCANCEL);
        EXPECT_EQ(run(lect32::kSaveDocument), 0);
        EXPECT_EQ(lower(shown), c.offered ? "t:\\" + folder : "t:\\other")
            << "backslash at " << c.folderLength + 3;
    }
}

TEST_F(FileDialogTest, APathLongerThanTheCallersBufferIsRefusedAndChangesNothing) {
    char small[16] = "kept";
    h.answerOpenFile("T:\\docs\\a.lcn");
    EXPECT_EQ(RunFileDialog(lect32::kOpenDocument, small, 13, &type, nullptr, nullptr), 0);
    EXPECT_STREQ(small, "kept");
    EXPECT_EQ(type, 77);
    h.answerOpenFile("T:\\docs\\a.lcn");
    EXPECT_EQ(RunFileDialog(lect32::kOpenDocument, small, 14, &type, nullptr, nullptr), 1);
    EXPECT_STREQ(small, "T:\\docs\\a.lcn");
}

TEST_F(FileDialogTest, TheMainWindowOwnsADialogWithoutAnOwnerAndTheTitleIsTheCaption) {
    const HWND mainWindow = popup("Lcn4v:Main", nullptr);
    const HWND other = popup("FileDialogTestPane", mainWindow);
    ASSERT_TRUE(mainWindow && other);
    HWND owner = nullptr, givenOwner = nullptr;
    std::string caption;
    h.expectCommonDialog(kOpen)
        .call([&](HWND dialog) {
            owner = GetWindow(dialog, GW_OWNER);
            char text[64] = {};
            GetWindowTextA(dialog, text, sizeof text);
            caption = text;
        })
        .press(IDCANCEL);
    EXPECT_EQ(run(lect32::kOpenDocument, "Vyberte dokument"), 0);
    h.expectCommonDialog(kOpen)
        .call([&](HWND dialog) { givenOwner = GetWindow(dialog, GW_OWNER); })
        .press(IDCANCEL);
    EXPECT_EQ(run(lect32::kOpenDocument, nullptr, other), 0);
    EXPECT_EQ(owner, mainWindow);
    EXPECT_EQ(caption, "Vyberte dokument");
    EXPECT_EQ(givenOwner, other);
}

}  // namespace
