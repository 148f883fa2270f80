// A form shown modally returns its modal result, answered through the harness like every modal
// loop: a button with a modal result clicked, the close box, an answer ending the loop, Close.
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;
using winplat::host::ModalKind;
using winplat::host::ModalLoop;

class ModalForm : public FormsTest {
protected:
    void SetUp() override {
        main = &plainForm(0, 0, 400, 300);
        dialog = &app->CreateForm<Form>();
        dialog->SetName("Form4");
        dialog->SetCaption("System dialog");
        dialog->SetBorderStyle(BorderStyle::Dialog);
        dialog->SetBounds(100, 100, 200, 120);
        ok = &dialog->Add<Button>();
        ok->SetCaption("OK");
        ok->SetBounds(10, 10, 75, 25);
        ok->SetModalResult(mrOk);
        ok->SetParent(dialog);
    }

    // The screen point of a control's centre.
    static POINT centre(const Control& control) {
        return control.ClientToScreen({control.Width() / 2, control.Height() / 2});
    }

    Form* main = nullptr;
    Form* dialog = nullptr;
    Button* ok = nullptr;
};

TEST_F(ModalForm, AButtonWithAModalResultEndsTheLoopWithIt) {
    bool mainEnabledMeanwhile = true;
    h.answer(ModalKind::Form, "Form4", [&](const ModalLoop& loop) -> std::optional<INT_PTR> {
        EXPECT_EQ(loop.window, dialog->Handle());
        mainEnabledMeanwhile = IsWindowEnabled(main->Handle()) != FALSE;
        const POINT at = centre(*ok);
        h.click(at.x, at.y);
        return std::nullopt;
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(mainEnabledMeanwhile) << "the other forms are disabled while the modal form shows";
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->Modal());
    EXPECT_EQ(h.answersQueued(), 0u);
}

TEST_F(ModalForm, TheCloseBoxAndCloseEndItWithCancel) {
    h.answer(ModalKind::Form, "Form4", [&](const ModalLoop&) -> std::optional<INT_PTR> {
        PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
        return std::nullopt;
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    h.answer(ModalKind::Form, "Form4", [&](const ModalLoop&) -> std::optional<INT_PTR> {
        dialog->Close();
        return std::nullopt;
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(ModalForm, ACloseQueryThatSaysNoKeepsItOpen) {
    int asked = 0;
    dialog->OnCloseQuery = [&](Component&, bool& canClose) { canClose = ++asked > 1; };
    h.answer(ModalKind::Form, "Form4", [&](const ModalLoop&) -> std::optional<INT_PTR> {
        dialog->Close();
        EXPECT_TRUE(dialog->Visible()) << "the first close is refused";
        dialog->Close();
        return std::nullopt;
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
}

TEST_F(ModalForm, AnAnswerMayEndTheLoopWithAResultOfItsOwn) {
    h.answer(ModalKind::Form, "Form4", [](const ModalLoop&) -> std::optional<INT_PTR> { return mrYes; });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(dialog->GetModalResult(), mrYes);
}

TEST_F(ModalForm, AModalFormInsideAModalFormReturnsToTheFirst) {
    Form& second = app->CreateForm<Form>();
    second.SetName("Form2");
    h.answer(ModalKind::Form, "Form4", [&](const ModalLoop&) -> std::optional<INT_PTR> {
        EXPECT_EQ(second.ShowModal(), mrNo);
        EXPECT_FALSE(IsWindowEnabled(main->Handle())) << "still disabled for the outer form";
        return mrOk;
    });
    h.answer(ModalKind::Form, "Form2", [&](const ModalLoop&) -> std::optional<INT_PTR> {
        EXPECT_EQ(app->ModalLevel(), 2);
        EXPECT_FALSE(IsWindowEnabled(dialog->Handle()));
        return mrNo;
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(app->ModalLevel(), 0);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

TEST_F(ModalForm, AShownFormIsRefused) {
    winplat::testing::DebugCapture debug;
    dialog->ShowForm();
    EXPECT_EQ(dialog->ShowModal(), mrNone);
    EXPECT_TRUE(debug.contains("cannot be shown modally"));
}

}  // namespace
