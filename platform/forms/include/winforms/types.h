// The small value types the form library's events and properties share: the shift state of a
// mouse or key event, the mouse buttons, modal results, alignment and cursors.
#ifndef WINFORMS_TYPES_H
#define WINFORMS_TYPES_H

#include <cstdint>
#include <functional>

#include "winplat/types.h"
#include "winplat/user.h"

namespace winforms {

class Component;

// The keys and buttons held during an event. Double marks the second click of a double click.
enum class Shift : unsigned { Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32, Double = 64 };

class ShiftState {
public:
    constexpr ShiftState() = default;
    constexpr ShiftState(Shift one) : bits_(static_cast<unsigned>(one)) {}
    constexpr bool has(Shift flag) const { return (bits_ & static_cast<unsigned>(flag)) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr unsigned bits() const { return bits_; }
    constexpr ShiftState operator|(ShiftState other) const { return fromBits(bits_ | other.bits_); }
    constexpr ShiftState& operator|=(ShiftState other) { bits_ |= other.bits_; return *this; }
    constexpr bool operator==(const ShiftState&) const = default;
    static constexpr ShiftState fromBits(unsigned bits) {
        ShiftState state;
        state.bits_ = bits;
        return state;
    }

    // Shift, Ctrl and Alt as the keyboard holds them for the message being handled.
    static ShiftState ofKeyboard();
    // The MK_ flags of a mouse message, with Alt from the keyboard.
    static ShiftState ofMouse(WPARAM keys);

private:
    unsigned bits_ = 0;
};

constexpr ShiftState operator|(Shift a, Shift b) { return ShiftState(a) | ShiftState(b); }

enum class MouseButton : uint8_t { Left, Right, Middle };

// What ShowModal returns; a button with a modal result sets its form's on a click.
enum ModalResult : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7
};

// Where a control goes when its parent lays out its children: docked to an edge, filling what
// is left, or where its bounds say.
enum class Align : uint8_t { None, Top, Bottom, Left, Right, Client };

enum class Alignment : uint8_t { LeftJustify, RightJustify, Center };

// Mouse pointers a control or the screen may show; Default leaves it to the control's parent.
enum class Cursor : int8_t { Default, None, Arrow, Cross, IBeam, HourGlass, SizeAll, SizeNS, SizeWE, Hand, No, UpArrow };

// The events' shapes. The sender comes first, as the handlers of several controls share one.
using NotifyEvent = std::function<void(Component& sender)>;
using MouseEvent = std::function<void(Component& sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component& sender, ShiftState shift, int x, int y)>;
// delta in WHEEL_DELTA units (120 a notch, positive away from the user), at a screen point; set
// handled to keep the wheel from the control under the form.
using MouseWheelEvent = std::function<void(Component& sender, ShiftState shift, int delta, POINT at, bool& handled)>;
// key is a virtual-key code; setting it to 0 consumes the key.
using KeyEvent = std::function<void(Component& sender, WORD& key, ShiftState shift)>;
// key is a cp1250 character; setting it to 0 drops it.
using KeyPressEvent = std::function<void(Component& sender, char& key)>;

}  // namespace winforms

#endif
