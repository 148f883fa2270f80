// SHBrowseForFolderA on a temporary drive, the item lists it returns and the task allocator.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "file_dialog_fixture.h"
#include "winplat/files.h"
#include "winplat/shell.h"

namespace {

using commdlg_test::listItems;
using commdlg_test::windowText;
using filetest::TempDrive;
using winplat::test::Harness;

struct TaskFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using OwnedList = std::unique_ptr<ITEMIDLIST, TaskFree>;

std::string pathOf(LPCITEMIDLIST list) {
    char path[MAX_PATH] = "not written";
    return SHGetPathFromIDListA(list, path) ? path : std::string("(none: ") + path + ")";
}

class FolderBrowser : public ::testing::Test {
  protected:
    TempDrive drive;
    Harness h{commdlg_test::screen()};
    char name[MAX_PATH] = {};
    BROWSEINFOA info{};

    void SetUp() override {
        drive.folder("notes/old");
        drive.folder("notes/Nov\xC3\xA9");  // "Nové" on disk in UTF-8
        drive.file("notes/a.txt");
        info.pszDisplayName = name;
        info.lpszTitle = "Vyberte slo\x9Eku pro pozn\xE1mky";
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        ASSERT_TRUE(SetCurrentDirectoryA("T:\\notes"));
    }
};

TEST_F(FolderBrowser, ATypedFolderIsReturnedAsAnItemListWithItsName) {
    h.answerFolder("t:\\NOTES\\old");
    const OwnedList list(SHBrowseForFolderA(&info));
    ASSERT_TRUE(list);
    EXPECT_EQ(pathOf(list.get()), "T:\\notes\\old");
    EXPECT_STREQ(name, "old");
}

TEST_F(FolderBrowser, TheTitleAndTheCurrentFolderAreShownAndASelectedSubfolderIsTaken) {
    std::string title, shown;
    std::vector<std::string> folders;
    h.expectCommonDialog("SHBrowseForFolder")
        .call([&](HWND dialog) {
            title = windowText(GetDlgItem(dialog, stc1 + 1));
            shown = windowText(GetDlgItem(dialog, stc1));
            folders = listItems(dialog, lst2);
            SendDlgItemMessageA(dialog, lst2, LB_SETCURSEL, 1, 0);
        })
        .press(IDOK);
    const OwnedList list(SHBrowseForFolderA(&info));
    EXPECT_EQ(title, "Vyberte slo\x9Eku pro pozn\xE1mky");
    EXPECT_EQ(shown, "T:\\notes");
    EXPECT_EQ(folders, (std::vector<std::string>{"..", "Nov\xE9", "old"}));
    EXPECT_EQ(pathOf(list.get()), "T:\\notes\\Nov\xE9");
}

TEST_F(FolderBrowser, AMissingFolderIsRefusedAndCancelGivesNoList) {
    h.answerFolder("T:\\nowhere");
    h.answerMessageBox("T:\\nowhere\nSlo\x9Eka neexistuje.", IDOK);
    h.expectCommonDialog("SHBrowseForFolder").press(IDCANCEL);
    EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
    EXPECT_STREQ(name, "");
}

TEST_F(FolderBrowser, ARootListKeepsTheBrowserBelowIt) {
    const OwnedList root(SHBrowseForFolderA(nullptr));
    EXPECT_FALSE(root);
    h.answerFolder("T:\\notes");
    const OwnedList notes(SHBrowseForFolderA(&info));
    ASSERT_TRUE(notes);
    info.pidlRoot = notes.get();
    std::vector<std::string> folders;
    h.expectCommonDialog("SHBrowseForFolder")
        .call([&](HWND dialog) { folders = listItems(dialog, lst2); })
        .type(edt1, "..")
        .press(IDOK);
    h.answerMessageBox(IDOK);
    h.expectCommonDialog("SHBrowseForFolder").type(edt1, "old").press(IDOK);
    const OwnedList chosen(SHBrowseForFolderA(&info));
    EXPECT_EQ(folders, (std::vector<std::string>{"Nov\xE9", "old"}));  // no way up
    EXPECT_EQ(pathOf(chosen.get()), "T:\\notes\\old");
}

TEST(ItemList, ForeignOrDamagedListsGiveNoPath) {
    const struct {
        std::vector<unsigned char> bytes;
        const char* path;  // none: refused
    } cases[] = {
        {{5, 0, 'T', ':', '\\', 0, 0}, "T:\\"},
        {{5, 0, 'T', ':', '\\', 1, 0}, nullptr},              // no end item
        {{4, 0, 'T', ':', 0, 0}, nullptr},                    // too short for a path
        {{5, 0, 't', ':', '\\', 0, 0}, nullptr},              // not our absolute form
        {{6, 0, 'T', ':', '\\', 0, 0, 0}, nullptr},           // a zero inside the path
        {{0, 0}, nullptr},                                    // the empty list
        {{0x08, 0x01, 'T', ':', '\\', 0, 0}, nullptr},        // longer than any path
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> bytes = c.bytes;
        bytes.resize(300, 0xAA);  // room for an over-long read to stay in bounds of the test
        const auto* list = reinterpret_cast<LPCITEMIDLIST>(bytes.data());
        EXPECT_EQ(pathOf(list), c.path ? std::string(c.path) : std::string("(none: )")) << bytes.size();
    }
    EXPECT_EQ(pathOf(nullptr), "(none: )");
}

TEST(TaskMemory, TheShellAllocatorFreesWhatCallsHandOut) {
    IMalloc* allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    ASSERT_NE(allocator, nullptr);
    void* block = CoTaskMemAlloc(40);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, 40);
    EXPECT_GE(allocator->GetSize(block), 40u);
    block = allocator->Realloc(block, 400);
    ASSERT_NE(block, nullptr);
    allocator->Free(block);  // the sanitizer's leak check sees anything left
    allocator->Release();
    EXPECT_EQ(SHGetMalloc(nullptr), E_INVALIDARG);
}

}  // namespace
