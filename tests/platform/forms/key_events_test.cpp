// Keys reach the focused control with the shift state; a form that previews keys sees them first
// and may consume them; Tab and Shift+Tab walk the controls in Tab order.
#include <string>
#include <vector>

#include "forms_fixture.h"

namespace {

using namespace winforms;
using formstest::FormsTest;
using winplat::test::kAlt;
using winplat::test::kCtrl;
using winplat::test::kNoModifiers;
using winplat::test::kShift;

class KeyEvents : public FormsTest {
protected:
    void SetUp() override {
        form = &plainForm();
        form->SetName("Form1");
        edit = &form->Add<Edit>();
        edit->SetName("Edit1");
        edit->SetBounds(10, 10, 120, 21);
        edit->SetParent(form);
        watch(*form);
        watch(*edit);
        edit->SetFocus();
        h.pump();
    }

    void watch(WinControl& control) {
        control.OnKeyDown = [this](Component& s, WORD& key, ShiftState shift) {
            log.push_back(s.Name() + " down " + std::to_string(key) + " " + formstest::letters(shift));
            if (s.Name() == consumeIn && key == consumeKey) key = 0;
        };
        control.OnKeyUp = [this](Component& s, WORD& key, ShiftState shift) {
            log.push_back(s.Name() + " up " + std::to_string(key) + " " + formstest::letters(shift));
        };
        control.OnKeyPress = [this](Component& s, char& key) {
            log.push_back(s.Name() + " press " + std::string(1, key));
            if (s.Name() == consumeIn && key == dropChar) key = 0;
        };
    }

    // The key events of the key (modifiers' own events left out).
    std::vector<std::string> keyLog(UINT key, unsigned modifiers) {
        log.clear();
        holding(modifiers, [&] { h.key(key); });
        std::vector<std::string> kept;
        for (const std::string& line : log) {
            if (line.find(" 16 ") == std::string::npos && line.find(" 17 ") == std::string::npos &&
                line.find(" 18 ") == std::string::npos) {
                kept.push_back(line);
            }
        }
        return kept;
    }

    Form* form = nullptr;
    Edit* edit = nullptr;
    std::vector<std::string> log;
    std::string consumeIn;
    WORD consumeKey = 0;
    char dropChar = 0;
};

struct KeyCase {
    const char* what;
    UINT key;
    unsigned modifiers;
    std::vector<std::string> expected;
};

const KeyCase kKeys[] = {
    {"a letter", 'K', kNoModifiers, {"Edit1 down 75 ", "Edit1 press k", "Edit1 up 75 "}},
    {"Shift makes it upper case", 'K', kShift, {"Edit1 down 75 S", "Edit1 press K", "Edit1 up 75 S"}},
    {"Ctrl", 'K', kCtrl, {"Edit1 down 75 C", "Edit1 press \x0B", "Edit1 up 75 C"}},
    {"Alt", 'X', kAlt, {"Edit1 down 88 A", "Edit1 up 88 A"}},
    {"Alt+Ctrl+Shift+F12", VK_F12, kAlt | kCtrl | kShift, {"Edit1 down 123 SAC", "Edit1 up 123 SAC"}},
    {"the numeric pad's decimal key", VK_DECIMAL, kNoModifiers, {"Edit1 down 110 ", "Edit1 press .", "Edit1 up 110 "}},
};

TEST_F(KeyEvents, KeysReachTheFocusedControlWithTheShiftState) {
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(keyLog(c.key, c.modifiers), c.expected);
    }
}

TEST_F(KeyEvents, AFormPreviewingKeysSeesThemFirstAndMayConsumeThem) {
    form->SetKeyPreview(true);
    EXPECT_EQ(keyLog('K', kNoModifiers),
              (std::vector<std::string>{"Form1 down 75 ", "Edit1 down 75 ", "Form1 press k", "Edit1 press k",
                                        "Form1 up 75 ", "Edit1 up 75 "}));
    consumeIn = "Form1";
    consumeKey = 'K';
    dropChar = 'j';
    EXPECT_EQ(keyLog('K', kNoModifiers),
              (std::vector<std::string>{"Form1 down 75 ", "Form1 press k", "Edit1 press k", "Form1 up 75 ",
                                        "Edit1 up 75 "}))
        << "a consumed key down does not reach the edit; its character still comes";
    EXPECT_EQ(keyLog('J', kNoModifiers),
              (std::vector<std::string>{"Form1 down 74 ", "Edit1 down 74 ", "Form1 press j", "Form1 up 74 ",
                                        "Edit1 up 74 "}));
    EXPECT_EQ(edit->Text(), "kk") << "both k typed (the consumed key down still types), the j dropped";
}

TEST_F(KeyEvents, WithoutPreviewTheFormSeesNothingOfAControlsKeys) {
    EXPECT_EQ(keyLog('A', kNoModifiers), (std::vector<std::string>{"Edit1 down 65 ", "Edit1 press a", "Edit1 up 65 "}));
}

TEST_F(KeyEvents, AConsumedCharacterIsNotTyped) {
    consumeIn = "Edit1";
    dropChar = 'b';
    h.key('A');
    h.key('B');
    h.key('C');
    EXPECT_EQ(edit->Text(), "ac");
    EXPECT_EQ(edit->Caption(), "ac") << "the caption follows the typed text";
}

class TabOrder : public FormsTest {
protected:
    void SetUp() override {
        form = &plainForm();
        first = &make<Edit>("Edit1", 10);
        button = &make<Button>("Button1", 40);
        panel = &make<Panel>("Panel1", 70);
        inside = &form->Add<Edit>();
        inside->SetName("Edit2");
        inside->SetParent(panel);
        check = &make<CheckBox>("CheckBox1", 140);
        first->SetFocus();
        h.pump();
    }

    template <class T>
    T& make(const char* name, int top) {
        T& control = form->Add<T>();
        control.SetName(name);
        control.SetTop(top);
        control.SetParent(form);
        return control;
    }

    std::string focusName() const {
        WinControl* focused = WinControl::FromHandle(h.focus());
        return focused ? focused->Name() : "(none)";
    }

    // The focus after each press of Tab (Shift+Tab backwards).
    std::vector<std::string> walk(int presses, bool backwards = false) {
        std::vector<std::string> names;
        for (int i = 0; i < presses; ++i) {
            h.key(VK_TAB, backwards ? kShift : kNoModifiers);
            names.push_back(focusName());
        }
        return names;
    }

    Form* form = nullptr;
    Edit* first = nullptr;
    Button* button = nullptr;
    Panel* panel = nullptr;
    Edit* inside = nullptr;
    CheckBox* check = nullptr;
};

TEST_F(TabOrder, TabWalksTheControlsInOrderIntoContainersAndRoundAgain) {
    EXPECT_EQ(walk(5), (std::vector<std::string>{"Button1", "Edit2", "CheckBox1", "Edit1", "Button1"}));
    EXPECT_EQ(walk(2, true), (std::vector<std::string>{"Edit1", "CheckBox1"}));
    EXPECT_EQ(first->Text(), "") << "no tab character is typed";
}

TEST_F(TabOrder, HiddenDisabledAndNonStopControlsAreSkipped) {
    button->SetEnabled(false);
    check->Hide();
    EXPECT_EQ(walk(2), (std::vector<std::string>{"Edit2", "Edit1"}));
    panel->Hide();  // its edit with it
    EXPECT_EQ(walk(1), (std::vector<std::string>{"Edit1"})) << "the only stop left keeps the focus";
    button->SetEnabled(true);
    button->SetTabStop(false);
    EXPECT_EQ(walk(1), (std::vector<std::string>{"Edit1"}));
}

TEST_F(TabOrder, TheOrderCanBeChanged) {
    check->SetTabOrder(0);
    EXPECT_EQ(check->TabOrder(), 0);
    EXPECT_EQ(first->TabOrder(), 1);
    EXPECT_EQ(walk(4), (std::vector<std::string>{"Button1", "Edit2", "CheckBox1", "Edit1"}));
    EXPECT_EQ(form->ActiveControl(), first);
}

}  // namespace
