// What the hosts and the window manager exchange: hardware input in (the pointer moving, buttons,
// the wheel, keys and typed text, each stamped with the host clock), and out the cursor the host
// shows over its window. Events wait in the input queue, which GetMessageA and PeekMessageA read
// after the posted messages; where an event goes (which window, which message) is decided only
// when a loop takes it, since the capture and the focus may change meanwhile. The hosts call
// these on the UI thread.
#ifndef WINPLAT_SRC_USER_INPUT_FEED_H
#define WINPLAT_SRC_USER_INPUT_FEED_H

#include <cstdint>

#include "user/cursors.h"
#include "user/key_characters.h"
#include "winplat/host.h"
#include "winplat/user.h"

namespace winplat::user {

void hardwareMouseMove(POINT screen);
void hardwareButton(host::MouseButton button, bool down);
void hardwareWheel(int delta);
// A key down while the key is down already is an auto-repeat. 'textFollows': the host delivers
// the character the key types as text of its own (hardwareCharacter), so TranslateMessage makes
// none from this key-down.
void hardwareKey(UINT virtualKey, bool down, int repeatCount = 1, bool textFollows = false);
// A character typed, as a host with text input of its own delivers it (cp1250): WM_CHAR to the
// focus window.
void hardwareCharacter(uint8_t cp1250);

// The cursor to show as SetCursor and ShowCursor left it; null while it is hidden or none is set.
// Its picture is findCursor's.
HCURSOR shownCursor();

}  // namespace winplat::user

#endif
