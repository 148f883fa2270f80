// The program's own message box answered through the harness: texts, pictures, captions,
// beeps, its remembered place, and the questions asked when the main form closes.
#include "ui/main_form_fixture.h"

namespace linework::test {
namespace {

TEST_F(MainFormTest, EachEntryPointShowsItsPictureCaptionsAndBeep) {
    CopyKit();
    Start();
    winplat::testing::BeepCounter beeps;
    MessageBoxes& boxes = form->Boxes();

    BoxSeen info;
    AnswerBox(1, &info);
    boxes.ShowInfoMessage("Hotovo");
    EXPECT_EQ(info.text, "Hotovo");
    EXPECT_EQ(info.caption, "Linework");
    EXPECT_EQ(info.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(info.pictureWidth, 32);

    BoxSeen error;
    AnswerBox(1, &error);
    boxes.ShowErrorMessage("Soubor chyb\xED");
    EXPECT_EQ(error.caption, "Chyba");
    EXPECT_EQ(error.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(error.pictureWidth, 32);

    BoxSeen question;
    AnswerBox(3, &question);
    EXPECT_EQ(boxes.AskConfirmation("Opravdu?", "Dotaz"), 3);
    EXPECT_EQ(question.caption, "Dotaz");
    EXPECT_EQ(question.buttons, (std::vector<std::string>{"Ano", "Ne", "Storno"}));

    AnswerBox(2);
    EXPECT_TRUE(boxes.AskInfoQuestion("Pokra\xE8ovat?"));
    AnswerBox(1);
    EXPECT_FALSE(boxes.AskInfoQuestion("Pokra\xE8ovat?"));
    AnswerBox(0);
    EXPECT_EQ(boxes.AskConfirmation("Zav\xF8\xEDt?", ""), 0) << "a box closed without a button";

    EXPECT_EQ(beeps.types(), (std::vector<UINT>{MB_ICONEXCLAMATION, MB_ICONQUESTION, MB_ICONQUESTION}));
}

TEST_F(MainFormTest, EmptyTextsNeedNoBox) {
    Start();
    winplat::testing::BeepCounter beeps;
    EXPECT_EQ(form->Boxes().AskConfirmation("", "x"), 1);
    EXPECT_EQ(form->Boxes().Result(), 1);
    EXPECT_TRUE(form->Boxes().AskInfoQuestion(""));
    form->Boxes().ShowInfoMessage("");
    EXPECT_EQ(beeps.count(), 0u);
    EXPECT_EQ(h.unexpectedModalLoops(), 0);
}

TEST_F(MainFormTest, BeepsAreOffWithTheBeepSwitchAndMissingPicturesAreLeftOut) {
    Start();
    form->Engine().image.SetByte(kBeepSwitch, 0);
    winplat::testing::BeepCounter beeps;
    BoxSeen seen;
    AnswerBox(1, &seen);
    form->Boxes().ShowErrorMessage("x");
    EXPECT_EQ(beeps.count(), 0u);
    EXPECT_EQ(seen.pictureWidth, 0) << "no BMP folder: no picture";
    EXPECT_EQ(seen.caption, "lkt8") << "the error caption is message 7";
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"lkt1"}));
}

TEST_F(MainFormTest, TheSaveQuestionIsAskedOnlyAfterALoad) {
    CopyKit();
    Start();
    SystemVariableImage& image = form->Engine().image;
    EXPECT_FALSE(form->Boxes().AskSaveQuestion("A.LKD")) << "no drawing loaded: no box";
    image.SetByte(kDrawingLoadedFlag, 1);
    BoxSeen seen;
    AnswerBox(2, &seen);
    EXPECT_TRUE(form->Boxes().AskSaveQuestion("A.LKD"));
    EXPECT_EQ(seen.text, "Ulo\x9eit zm\xECny v\xFDkresu? A.LKD");
    EXPECT_EQ(image.Byte(kDrawingLoadedFlag), 0);
}

TEST_F(MainFormTest, TheBoxReappearsWhereTheUserLeftIt) {
    Start();
    SystemVariableImage& image = form->Engine().image;
    h.answer(winplat::host::ModalKind::Form, "Form2", [this](const winplat::host::ModalLoop&) -> std::optional<INT_PTR> {
        picker->SetBounds(40, 50, picker->Width(), picker->Height());
        picker->Buttons(1).Click();
        return std::nullopt;
    });
    form->Boxes().ShowInfoMessage("a");
    EXPECT_EQ(image.Integer(kBoxPositionPair), 40);
    EXPECT_EQ(image.Integer(kBoxPositionPair + 1), 50);
    POINT shownAt{};
    h.answer(winplat::host::ModalKind::Form, "Form2", [&](const winplat::host::ModalLoop&) -> std::optional<INT_PTR> {
        shownAt = {picker->Left(), picker->Top()};
        picker->Buttons(1).Click();
        return std::nullopt;
    });
    form->Boxes().ShowInfoMessage("b");
    EXPECT_EQ(shownAt.x, 40);
    EXPECT_EQ(shownAt.y, 50);
}

TEST(MessageBoxPlace, CentredWhenNegativeAndKeptOnTheScreen) {
    struct Case {
        int left, top;
        LONG x, y;
    };
    const SIZE box{200, 100};
    const SIZE screen{800, 600};
    const Case cases[] = {
        {-1, -1, 300, 250}, {10, 20, 10, 20},     {-1, 20, 300, 20},   {600, 500, 600, 500},
        {601, 500, 600, 500}, {600, 501, 600, 500}, {5000, 4000, 600, 500}, {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const POINT at = PlaceMessageBox(c.left, c.top, box, screen);
        EXPECT_EQ(at.x, c.x) << c.left << "," << c.top;
        EXPECT_EQ(at.y, c.y) << c.left << "," << c.top;
    }
    const POINT bigger = PlaceMessageBox(10, 10, {900, 700}, screen);
    EXPECT_EQ(bigger.x, 0) << "a box larger than the screen goes to its corner";
    EXPECT_EQ(bigger.y, 0);
}

TEST_F(MainFormTest, ClosingAnUnmodifiedDrawingAsksOnlyWhetherToEnd) {
    CopyKit();
    RecordingDrafting drafting;
    Start(&drafting);
    BoxSeen seen;
    AnswerBox(2, &seen);
    form->Close();
    EXPECT_EQ(seen.text, form->Texts().Message(134));
    EXPECT_FALSE(form->Closing()) << "no: the program stays";
    AnswerBox(1);
    form->Close();
    EXPECT_TRUE(form->Closing());
}

TEST_F(MainFormTest, AModifiedDrawingIsNeverDroppedWithoutTheUserChoosingIt) {
    CopyKit();
    RecordingDrafting drafting;
    drafting.modified = true;
    Start(&drafting);
    std::vector<std::string> asked;
    auto answer = [&](int button) {
        h.answer(winplat::host::ModalKind::Form, "Form2", [&, button](const winplat::host::ModalLoop&)
                     -> std::optional<INT_PTR> {
            asked.push_back(picker->Label1().Caption());
            picker->Buttons(button).Click();
            return std::nullopt;
        });
    };
    // Save (fails, said so), save again (fails), then cancel: still open.
    answer(1);
    answer(1);
    answer(1);
    answer(1);
    answer(3);
    form->Close();
    const std::string save = form->Texts().Message(133);
    const std::string notSaved = form->Texts().Message(kDrawingNotSavedMessage);
    EXPECT_EQ(asked, (std::vector<std::string>{save, notSaved, save, notSaved, save}));
    EXPECT_FALSE(form->Closing());
    // Don't save, then yes to the end.
    asked.clear();
    answer(2);
    answer(1);
    form->Close();
    EXPECT_EQ(asked, (std::vector<std::string>{save, form->Texts().Message(134)}));
    EXPECT_TRUE(form->Closing());
}

TEST_F(MainFormTest, AScriptEndingWithQuitAsksBeforeTheProgramEnds) {
    CopyKit();
    Start();
    BoxSeen seen;
    AnswerBox(1, &seen);
    form->MenuItemAt(0, 0).Click();  // Soubor / Konec: "quit"
    EXPECT_EQ(seen.text, form->Texts().Message(134));
    EXPECT_TRUE(form->Closing());
}

TEST_F(MainFormTest, AScriptErrorShowsTheErrorBox) {
    CopyKit();
    WriteFile("LK.LKP", "A = 1 / 0\r\nstop\r\n");
    BoxSeen seen;
    AnswerBox(1, &seen);
    Start();
    EXPECT_EQ(seen.caption, "Chyba");
    EXPECT_EQ(seen.text, "Division by zero\r\non LKP line 1:1");
}

}  // namespace
}  // namespace linework::test
