// Text a host types itself (SDL text input): characters as WM_CHAR, and key-downs whose character
// comes that way make none of their own.
#include "input_fixture.h"
#include "user/hardware_input.h"

namespace window_test {
namespace {

class TextInputTest : public InputTest {};

std::vector<std::pair<UINT, WPARAM>> keyboardMessages(HWND window) {
    std::vector<std::pair<UINT, WPARAM>> out;
    for (const Received& r : recorder().received) {
        if (r.window == window && r.message >= WM_KEYFIRST && r.message <= WM_KEYLAST) out.emplace_back(r.message, r.wParam);
    }
    return out;
}

TEST_F(TextInputTest, TypedCharactersGoToTheFocusWindow) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    SetFocus(window);
    recorder().clear();
    winplat::testing::typeCharacter('\x9A');  // š
    winplat::testing::typeCharacter('x');
    pump();
    EXPECT_EQ(keyboardMessages(window), (std::vector<std::pair<UINT, WPARAM>>{{WM_CHAR, 0x9A}, {WM_CHAR, 'x'}}));
}

TEST_F(TextInputTest, AKeyWhoseTextFollowsMakesNoCharacterOfItsOwn) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    SetFocus(window);
    recorder().clear();
    // The Czech number row: the key is VK '2', the text "ě" comes from the host.
    winplat::user::hardwareKey('2', true, 1, true);
    winplat::user::hardwareCharacter(0xEC);
    winplat::user::hardwareKey('2', false);
    // A key without text of the host's still types through TranslateMessage.
    winplat::user::hardwareKey('A', true);
    winplat::user::hardwareKey('A', false);
    pump();
    EXPECT_EQ(keyboardMessages(window), (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, '2'},
                                                                             {WM_CHAR, 0xEC},
                                                                             {WM_KEYUP, '2'},
                                                                             {WM_KEYDOWN, 'A'},
                                                                             {WM_CHAR, 'a'},
                                                                             {WM_KEYUP, 'A'}}));
}

TEST_F(TextInputTest, ACharacterOfZeroIsRefused) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    SetFocus(window);
    recorder().clear();
    winplat::testing::typeCharacter('\0');
    pump();
    EXPECT_TRUE(keyboardMessages(window).empty());
}

}  // namespace
}  // namespace window_test
