// The script functions that need the main form: its file dialogs, its pop-up menu and the waits
// for a key, each answered through the harness as a person would answer them.
#include "ui/form_script_services.h"
#include "ui/main_form_fixture.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"

namespace linework::test {
namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::test::Harness;

class FormServicesTest : public MainFormTest {
protected:
    // Runs script lines as a hook file does and gives the error it left ("" for none).
    std::string RunLines(const std::string& lines) {
        WriteFile("T.LKP", lines + "\r\nstop\r\n");
        EXPECT_TRUE(form->RunScriptFile("T"));
        return form->Engine().LastError();
    }
    std::string Line(int n) { return form->Engine().store.GetTextLine(n); }
    double Var(char letter) { return form->Engine().variables.Letter(letter); }
};

TEST_F(FormServicesTest, TheOpenDialogGivesTheChosenNameAndNothingWhenCancelled) {
    Start();
    const std::string chosen = WindowsFolder(folder.path()) + "PLAN.LKD";
    h.answerOpenFile(chosen);
    EXPECT_EQ(RunLines("900$ = foname \"*.LKD\" \"LKD\""), "");
    EXPECT_EQ(Line(900), chosen);
    EXPECT_EQ(form->OpenDialog1().Filter(), "*.LKD|*.LKD") << "a bare pattern names itself";
    EXPECT_EQ(form->OpenDialog1().DefaultExt(), "LKD");
    h.expectCommonDialog("GetOpenFileName").press(IDCANCEL);
    EXPECT_EQ(RunLines("900$ = foname \"Kresby|*.LKD\" \"LKD\""), "");
    EXPECT_EQ(Line(900), "");
    EXPECT_EQ(form->OpenDialog1().Filter(), "Kresby|*.LKD");
}

TEST_F(FormServicesTest, TheSaveDialogStartsInTheProgramFolderWithTheStartName) {
    Start();
    std::string shownName;
    h.expectCommonDialog("GetSaveFileName").call([&](HWND dialog) {
        char text[MAX_PATH] = {};
        GetDlgItemTextA(dialog, edt1, text, sizeof text);
        shownName = text;
    }).press(IDOK);
    EXPECT_EQ(RunLines("901$ = fsname \"*.DXF\" \"DXF\" \"VYKRES\""), "");
    EXPECT_EQ(shownName, "VYKRES");
    EXPECT_EQ(Line(901), WindowsFolder(folder.path()) + "VYKRES.DXF") << "in the program folder, extension added";
}

TEST_F(FormServicesTest, ThePopupMenuShowsTheFirstItemsAtThePointAndGivesTheChoice) {
    Start();
    for (int i = 1; i <= 5; ++i) form->PopupItem(i).SetCaption("Volba " + std::to_string(i));
    RECT shown{};
    int itemsShown = 0;
    h.answer(ModalKind::PopupMenu, "Volba 1", [&](const ModalLoop& loop) -> std::optional<INT_PTR> {
        GetWindowRect(loop.window, &shown);
        itemsShown = GetMenuItemCount(form->PopupMenu1().Handle());
        return form->PopupItem(3).Command();
    });
    EXPECT_EQ(RunLines("M = pumenu 4 0 200 150"), "");
    EXPECT_EQ(Var('M'), 3);
    EXPECT_EQ(itemsShown, 4) << "the fifth item has a caption but lies beyond the count";
    EXPECT_EQ(shown.left, 200);
    EXPECT_EQ(shown.top, 150);
    EXPECT_EQ(form->PopupMenu1().Alignment(), winforms::PopupAlignment::Left);

    h.answer(ModalKind::PopupMenu, "Volba 1", [](const ModalLoop&) -> std::optional<INT_PTR> { return 0; });
    EXPECT_EQ(RunLines("M = pumenu 2 1 200 150"), "");
    EXPECT_EQ(Var('M'), 0) << "nothing chosen";
    EXPECT_EQ(form->PopupMenu1().Alignment(), winforms::PopupAlignment::Right);
    h.answer(ModalKind::PopupMenu, "Volba 1", [&](const ModalLoop&) -> std::optional<INT_PTR> {
        return form->PopupItem(1).Command();
    });
    EXPECT_EQ(RunLines("M = pumenu 2 3 200 150"), "");
    EXPECT_EQ(Var('M'), 1);
    EXPECT_EQ(form->PopupMenu1().Alignment(), winforms::PopupAlignment::Right) << "3 leaves the alignment";
    EXPECT_EQ(RunLines("M = pumenu 0"), "") << "no item to show: no menu, no answer needed";
    EXPECT_EQ(Var('M'), 0);
}

// Presses a key on the command line from inside the key wait.
Harness::Action Press(Harness& h, UINT key) {
    return [&h, key](const ModalLoop&) -> std::optional<INT_PTR> {
        h.key(key);
        return std::nullopt;
    };
}

TEST_F(FormServicesTest, AKeyWaitEndsOnlyOnOneOfItsKeysAndTakesIt) {
    Start();
    h.answer(ModalKind::Form, kKeyWaitName, Press(h, 'C'));
    h.answer(ModalKind::Form, kKeyWaitName, Press(h, 'B'));
    EXPECT_EQ(RunLines("K = kbd 65 66"), "");
    EXPECT_EQ(Var('K'), 'B');
    EXPECT_EQ(h.answersQueued(), 0u) << "the key C did not end the wait";
    EXPECT_EQ(form->LastKey(), 0) << "the key was taken";
    EXPECT_EQ(RunLines("K = kbd"), "") << "without keys: no wait";
    EXPECT_EQ(Var('K'), 0);
}

TEST_F(FormServicesTest, EscEndsAKeyWaitAndTheScript) {
    Start();
    h.answer(ModalKind::Form, kKeyWaitName, Press(h, VK_ESCAPE));
    EXPECT_EQ(RunLines("L = 1; K = kbd 13\r\nL = 2"), "");
    EXPECT_EQ(Var('L'), 1) << "the run stopped after the wait";
    EXPECT_EQ(Var('K'), VK_ESCAPE);
}

TEST_F(FormServicesTest, HandleWithoutNamesIsTheMainForm) {
    Start();
    EXPECT_EQ(RunLines("H = handle"), "");
    EXPECT_EQ(static_cast<uintptr_t>(Var('H')), reinterpret_cast<uintptr_t>(form->Handle()));
}

}  // namespace
}  // namespace linework::test
