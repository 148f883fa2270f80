// What the form tests share: a harness (virtual clock, a 640 x 480 screen, the test face, the
// answerers) with an application made after it and gone before it, and a form to put controls on.
#ifndef TESTS_PLATFORM_FORMS_FORMS_FIXTURE_H
#define TESTS_PLATFORM_FORMS_FORMS_FIXTURE_H

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "winforms/forms.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace formstest {

inline winplat::test::Harness::Options screen() {
    winplat::test::Harness::Options options;
    options.width = 640;
    options.height = 480;
    options.goldenFolder = WINFORMS_GOLDEN_DIR;
    return options;
}

class FormsTest : public ::testing::Test {
protected:
    winplat::test::Harness h{screen()};
    std::optional<winforms::Application> app{std::in_place};

    // A shown form whose client area is 'width' x 'height' at (left, top) of the screen, without
    // a caption or frame, so screen and client coordinates differ only by the corner.
    winforms::Form& plainForm(int left = 10, int top = 10, int width = 300, int height = 200) {
        winforms::Form& form = app->CreateForm<winforms::Form>();
        form.SetBorderStyle(winforms::BorderStyle::None);
        form.SetBounds(left, top, width, height);
        form.ShowForm();
        h.pump();
        return form;
    }

    // Keys held around an action, pressed and released in the order given.
    template <class Action>
    void holding(unsigned modifiers, Action action) {
        const std::vector<UINT> keys = modifierKeys(modifiers);
        for (UINT key : keys) winplat::testing::keyDown(key);
        h.pump();
        action();
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) winplat::testing::keyUp(*it);
        h.pump();
    }

    static std::vector<UINT> modifierKeys(unsigned modifiers) {
        std::vector<UINT> keys;
        if (modifiers & winplat::test::kShift) keys.push_back(VK_SHIFT);
        if (modifiers & winplat::test::kCtrl) keys.push_back(VK_CONTROL);
        if (modifiers & winplat::test::kAlt) keys.push_back(VK_MENU);
        return keys;
    }
};

// The shift state as letters, for readable expectations: "S" Shift, "A" Alt, "C" Ctrl, "L" "R"
// "M" the buttons, "D" a double click.
inline std::string letters(winforms::ShiftState shift) {
    using winforms::Shift;
    std::string out;
    if (shift.has(Shift::Shift)) out += 'S';
    if (shift.has(Shift::Alt)) out += 'A';
    if (shift.has(Shift::Ctrl)) out += 'C';
    if (shift.has(Shift::Left)) out += 'L';
    if (shift.has(Shift::Right)) out += 'R';
    if (shift.has(Shift::Middle)) out += 'M';
    if (shift.has(Shift::Double)) out += 'D';
    return out;
}

inline const char* buttonName(winforms::MouseButton button) {
    switch (button) {
        case winforms::MouseButton::Left: return "left";
        case winforms::MouseButton::Right: return "right";
        case winforms::MouseButton::Middle: return "middle";
    }
    return "?";
}

}  // namespace formstest

#endif
