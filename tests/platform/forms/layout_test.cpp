// Aligned children fill their parent's client area in child order, edges first; a resize lays
// them out again; a panel's bevels are kept clear.
#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

struct Placed {
    Align align;
    int width, height;
};

TEST_F(FormsTest, AlignedControlsTakeTheEdgesInOrderAndTheRestFillsTheMiddle) {
    Form& form = plainForm(10, 10, 300, 200);
    const Placed placed[] = {
        {Align::Top, 0, 20}, {Align::Bottom, 0, 24}, {Align::Left, 97, 0},
        {Align::Right, 122, 0}, {Align::Client, 0, 0}, {Align::Bottom, 0, 19},
    };
    std::vector<Control*> controls;
    for (const Placed& p : placed) {
        Panel& panel = form.Add<Panel>();
        panel.SetBounds(5, 5, p.width, p.height);
        panel.SetAlign(p.align);
        panel.SetParent(&form);
        controls.push_back(&panel);
    }
    // In a 300 x 200 client area: the bottom ones (the second above the first) before the sides,
    // the client control in what is left.
    const RECT expected[] = {{0, 0, 300, 20}, {0, 176, 300, 200}, {0, 20, 97, 157}, {178, 20, 300, 157},
                             {97, 20, 178, 157}, {0, 157, 300, 176}};
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(i);
        const RECT r = controls[i]->BoundsRect();
        EXPECT_EQ(r.left, expected[i].left);
        EXPECT_EQ(r.top, expected[i].top);
        EXPECT_EQ(r.right, expected[i].right);
        EXPECT_EQ(r.bottom, expected[i].bottom);
    }
    form.SetBounds(10, 10, 400, 250);
    h.pump();
    EXPECT_EQ(controls[4]->Width(), 400 - 97 - 122);
    EXPECT_EQ(controls[4]->Height(), 250 - 20 - 24 - 19);
    EXPECT_EQ(controls[1]->Top(), 226);
    // A hidden control gives its room back.
    controls[0]->Hide();
    EXPECT_EQ(controls[4]->Top(), 0);
}

TEST_F(FormsTest, APanelsBevelsAreKeptClearOfItsChildren) {
    Form& form = plainForm();
    Panel& panel = form.Add<Panel>();
    panel.SetBounds(0, 0, 100, 50);
    panel.SetParent(&form);
    Label& label = form.Add<Label>();
    label.SetAlign(Align::Client);
    label.SetParent(&panel);
    EXPECT_EQ(label.Left(), 1);
    EXPECT_EQ(label.Width(), 98);
    panel.SetBevelInner(BevelCut::Lowered);
    EXPECT_EQ(label.Left(), 2);
    EXPECT_EQ(label.Height(), 46);
}

}  // namespace
