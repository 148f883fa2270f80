// MessageBoxA answered in the headless host: the button sets, the default button, Esc, the owner
// and the look.
#include <gtest/gtest.h>

#include "../controls/control_parent.h"
#include "winplat/dialogs.h"
#include "winplat/testing.h"

namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::test::Harness;

TEST(MessageBox, EachButtonSetAnsweredGivesThePressedButton) {
    const struct {
        UINT type;
        int pressed;
    } cases[] = {
        {MB_OK, IDOK},         {MB_OKCANCEL, IDOK},     {MB_OKCANCEL, IDCANCEL},   {MB_YESNO, IDYES},
        {MB_YESNO, IDNO},      {MB_YESNOCANCEL, IDYES}, {MB_YESNOCANCEL, IDNO},    {MB_YESNOCANCEL, IDCANCEL},
        {MB_RETRYCANCEL, IDRETRY}, {MB_RETRYCANCEL, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " pressed " << c.pressed);
        Harness h(control_test::smallScreen());
        h.answerMessageBox("Ulo\x9eit zm\xECny?", c.pressed);
        EXPECT_EQ(MessageBoxA(nullptr, "Ulo\x9eit zm\xECny?", "Editor", c.type), c.pressed);
    }
}

// Answers a box with keys, through the box's own keyboard handling.
Harness::Action keys(std::vector<UINT> pressed) {
    return [pressed](const ModalLoop& loop) -> std::optional<INT_PTR> {
        for (UINT key : pressed) {
            winplat::testing::keyDown(key);
            winplat::testing::keyUp(key);
        }
        (void)loop;
        return std::nullopt;
    };
}

TEST(MessageBox, TheDefaultButtonFlagDecidesWhatEnterGives) {
    const struct {
        UINT type;
        int enter;
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first is the default
        {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        Harness h(control_test::smallScreen());
        h.answer(ModalKind::MessageBox, "Pokra\xE8ovat?", keys({VK_RETURN}));
        EXPECT_EQ(MessageBoxA(nullptr, "Pokra\xE8ovat?", nullptr, c.type), c.enter);
    }
}

TEST(MessageBox, EscapeCancelsOnlyABoxThatCanBeCancelled) {
    const struct {
        UINT type;
        std::vector<UINT> keys;
        int result;
    } cases[] = {
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {VK_ESCAPE}, IDCANCEL},
        {MB_OK, {VK_ESCAPE}, IDOK},
        // Esc does nothing in a yes/no box: the Enter after it answers.
        {MB_YESNO | MB_DEFBUTTON2, {VK_ESCAPE, VK_RETURN}, IDNO},
        // Tab moves to the next button and Enter presses the focused one.
        {MB_YESNOCANCEL, {VK_TAB, VK_RETURN}, IDNO},
        // The buttons are one group: the arrows move within it, wrapping round.
        {MB_YESNOCANCEL, {VK_RIGHT, VK_RETURN}, IDNO},
        {MB_YESNOCANCEL, {VK_LEFT, VK_RETURN}, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " keys " << c.keys.size());
        Harness h(control_test::smallScreen());
        h.answer(ModalKind::MessageBox, "Text", keys(c.keys));
        EXPECT_EQ(MessageBoxA(nullptr, "Text", nullptr, c.type), c.result);
    }
}

TEST(MessageBox, TheOwnerWaitsDisabledAndTheIconBeeps) {
    Harness h(control_test::smallScreen());
    const HWND owner = control_test::makeParent(200, 100);
    bool ownerDisabled = false;
    std::string caption;
    h.answer(ModalKind::MessageBox, "Soubor nelze otev\xF8\xEDt.", [&](const ModalLoop& loop) -> std::optional<INT_PTR> {
        ownerDisabled = !IsWindowEnabled(owner);
        caption = h.windowInfo(loop.window).text;
        EXPECT_EQ(GetWindow(loop.window, GW_OWNER), owner);
        return IDOK;
    });
    EXPECT_EQ(MessageBoxA(owner, "Soubor nelze otev\xF8\xEDt.", nullptr, MB_ICONEXCLAMATION), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(caption, "Chyba");
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(h.beeps(), 1u);
}

TEST(MessageBox, TheLook) {
    Harness h(control_test::smallScreen());
    h.answer(ModalKind::MessageBox, "Dokument byl zm\xECn\xECn.\nUlo\x9eit zm\xECny p\xF8" "ed zav\xF8" "en\xEDm?",
             [&h](const ModalLoop& loop) -> std::optional<INT_PTR> {
                 h.expectImage(h.windowImage(loop.window, false), "message_box_question");
                 return IDCANCEL;
             });
    EXPECT_EQ(MessageBoxA(nullptr, "Dokument byl zm\xECn\xECn.\nUlo\x9eit zm\xECny p\xF8" "ed zav\xF8" "en\xEDm?",
                          "Editor", MB_YESNOCANCEL | MB_ICONQUESTION),
              IDCANCEL);
}

}  // namespace
