// MessageBeep: the host plays the sound (the screen host) or counts it (tests); without a host
// hook it goes to the debug output.
#include <string>

#include "winplat/host.h"
#include "winplat/user.h"

BOOL MessageBeep(UINT type) {
    if (winplat::host::Beeper* beeper = winplat::host::beeper()) {
        beeper->beep(type);
    } else {
        winplat::host::log("MessageBeep " + std::to_string(type));
    }
    return TRUE;
}
