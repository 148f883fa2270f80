// Menus: a main menu's item chosen from the bar and a popup menu opened at a point run their
// items' OnClick; the items' states and breaks reach the platform's menus; hundreds of items are
// built without a platform menu until one is shown.
#include <string>
#include <vector>

#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;
using winplat::host::ModalKind;
using winplat::host::ModalLoop;

class Menus : public FormsTest {
protected:
    MenuItem& item(Component& owner, MenuItem& parent, const std::string& caption) {
        MenuItem& made = owner.Add<MenuItem>();
        made.SetCaption(caption);
        made.OnClick = [this](Component& s) { clicked.push_back(static_cast<MenuItem&>(s).Caption()); };
        parent.Add(made);
        return made;
    }
    std::vector<std::string> clicked;
};

TEST_F(Menus, AnItemChosenFromTheBarRunsItsHandler) {
    Form& form = app->CreateForm<Form>();
    form.SetBounds(0, 0, 300, 200);
    MainMenu& menu = form.Add<MainMenu>();
    MenuItem& top = item(form, menu.Items(), "&Soubor");
    item(form, top, "&Nov\xFD");
    MenuItem& open = item(form, top, "&Otev\xF8\xEDt");
    form.SetMenu(&menu);
    form.ShowForm();
    h.pump();
    // The bar lies below the caption: its first item starts at the client's left edge.
    const POINT client = form.ClientToScreen({0, 0});
    // The drop-down's loop is named by the bar item that opened it.
    h.answer(ModalKind::PopupMenu, "Soubor", [&](const ModalLoop&) -> std::optional<INT_PTR> { return open.Command(); });
    h.click(client.x + 8, client.y - GetSystemMetrics(SM_CYMENU) / 2);
    EXPECT_EQ(h.answersQueued(), 0u);
    EXPECT_EQ(clicked, (std::vector<std::string>{"&Otev\xF8\xEDt"}));
}

TEST_F(Menus, APopupAtAPointRunsTheChosenItem) {
    Form& form = plainForm();
    PopupMenu& popup = form.Add<PopupMenu>();
    item(form, popup.Items(), "ppm1");
    MenuItem& second = item(form, popup.Items(), "ppm2");
    int popped = 0;
    popup.OnPopup = [&](Component&) { ++popped; };
    POINT shownAt{};
    h.answer(ModalKind::PopupMenu, "ppm1", [&](const ModalLoop& loop) -> std::optional<INT_PTR> {
        RECT r{};
        GetWindowRect(loop.window, &r);
        shownAt = {r.left, r.top};
        return second.Command();
    });
    EXPECT_TRUE(popup.Popup(120, 90));
    EXPECT_EQ(popped, 1);
    EXPECT_EQ(shownAt.x, 120);
    EXPECT_EQ(shownAt.y, 90);
    EXPECT_EQ(clicked, (std::vector<std::string>{"ppm2"}));
    h.answer(ModalKind::PopupMenu, "ppm1", [](const ModalLoop&) -> std::optional<INT_PTR> { return 0; });
    EXPECT_FALSE(popup.Popup(120, 90)) << "nothing chosen";
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(Menus, APopupIsPlacedByItsAlignment) {
    Form& form = plainForm();
    PopupMenu& popup = form.Add<PopupMenu>();
    item(form, popup.Items(), "ppm1");
    struct Case {
        PopupAlignment alignment;
        int expectedLeft;  // in menu widths from the point: 0, -1 or -1/2
        int halves;
    };
    const Case cases[] = {{PopupAlignment::Left, 0, 0}, {PopupAlignment::Right, -1, 0}, {PopupAlignment::Center, 0, -1}};
    for (const Case& c : cases) {
        popup.SetAlignment(c.alignment);
        RECT shown{};
        h.answer(ModalKind::PopupMenu, "ppm1", [&](const ModalLoop& loop) -> std::optional<INT_PTR> {
            GetWindowRect(loop.window, &shown);
            return 0;
        });
        popup.Popup(300, 90);
        const int width = shown.right - shown.left;
        ASSERT_GT(width, 0);
        EXPECT_EQ(shown.left, 300 + c.expectedLeft * width + (c.halves * width) / 2) << static_cast<int>(c.alignment);
        EXPECT_EQ(shown.top, 90);
    }
}

TEST_F(Menus, StatesAndBreaksReachThePlatformMenu) {
    Form& form = plainForm();
    PopupMenu& popup = form.Add<PopupMenu>();
    MenuItem& a = item(form, popup.Items(), "a");
    MenuItem& b = item(form, popup.Items(), "b");
    MenuItem& c = item(form, popup.Items(), "c");
    MenuItem& d = item(form, popup.Items(), "d");
    item(form, popup.Items(), "-");
    b.SetChecked(true);
    c.SetEnabled(false);
    d.SetBreak(MenuBreak::BarBreak);
    HMENU menu = popup.Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), 0u);
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_MENUBARBREAK);
    EXPECT_TRUE(GetMenuState(menu, 4, MF_BYPOSITION) & MF_SEPARATOR);
    // A change of a made menu's leaf reaches it in place.
    a.SetChecked(true);
    c.SetEnabled(true);
    EXPECT_EQ(popup.Handle(), menu);
    EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);
    // A hidden item leaves the menu.
    b.SetVisible(false);
    menu = popup.Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    char text[8]{};
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "c");
}

TEST_F(Menus, ADisabledItemDoesNotRun) {
    Form& form = plainForm();
    PopupMenu& popup = form.Add<PopupMenu>();
    MenuItem& a = item(form, popup.Items(), "a");
    a.SetEnabled(false);
    a.Click();
    EXPECT_TRUE(clicked.empty());
}

TEST_F(Menus, TwelveTimesThirtyTwoItemsWaitForTheFormToShow) {
    Form& form = app->CreateForm<Form>();
    form.SetBounds(0, 0, 640, 480);
    MainMenu& menu = form.Add<MainMenu>();
    form.SetMenu(&menu);
    for (int top = 0; top < 12; ++top) {
        MenuItem& heading = item(form, menu.Items(), std::string(1, static_cast<char>('a' + top)));
        for (int i = 0; i < 32; ++i) item(form, heading, "mm" + std::to_string(top * 32 + i + 1));
    }
    EXPECT_EQ(GetMenu(form.Handle()), nullptr) << "nothing is made while the form is hidden";
    form.ShowForm();
    HMENU bar = GetMenu(form.Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 12);
    HMENU third = GetSubMenu(bar, 2);
    ASSERT_EQ(GetMenuItemCount(third), 32);
    char text[8]{};
    GetMenuStringA(third, 4, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "mm69") << "item 5 of the third menu";
}

TEST_F(Menus, AnItemCannotHoldItsOwnParent) {
    winplat::testing::DebugCapture debug;
    Form& form = plainForm();
    MenuItem& outer = form.Add<MenuItem>();
    MenuItem& inner = form.Add<MenuItem>();
    outer.Add(inner);
    inner.Add(outer);
    EXPECT_EQ(inner.Parent(), &outer);
    EXPECT_EQ(outer.Parent(), nullptr);
    EXPECT_TRUE(debug.contains("cannot hold the item it lies in"));
}

}  // namespace
