// The demonstration form, one control of every kind, drawn headless with the test face and
// compared with its golden image; then changed (a speed button down, a check box cleared, a status
// text, a label) and compared again.
#include "demo_form.h"
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

class FormTree : public FormsTest {
protected:
    void SetUp() override {
        demo = forms_demo::buildDemoForm(*app, 20, 20);
        form = demo.form;
        form->ShowForm();
        h.pump();
    }

    forms_demo::DemoForm demo;
    Form* form = nullptr;
};

TEST_F(FormTree, EveryKindOfControlDrawsAsItsGolden) {
    h.expectImage(h.windowImage(form->Handle(), false), "form_tree");
}

TEST_F(FormTree, ChangesRedrawOnlyWhatChanged) {
    const winplat::test::Image before = h.windowImage(form->Handle(), false);
    demo.speeds[1]->SetDown(true);
    demo.check->SetChecked(false);
    demo.status->SetPanelText(0, "Bod:");
    demo.label->SetCaption("1:100");
    h.pump();
    const winplat::test::Image after = h.windowImage(form->Handle(), false);
    h.expectImage(after, "form_tree_changed");
    EXPECT_NE(before, after);
}

}  // namespace
