// AccessSystemVariable: the scripts' gate to the numbered system variables (0..68 byte switches,
// 69..766 integers, 767..1498 doubles; see drawing/system_variable_image.h). Reads give the element as a
// real; the date and time integers 12..19 are refreshed from the clock first. Writes convert the
// real (integers through SafeTrunc, switches to 0/1), apply the element's rule, and store unless
// the rule refuses; a refused write changes nothing and says nothing to the script. A NaN is
// refused everywhere; numbers outside 0..1498 are ignored.
//
// What a write does to the screen (timers, colours, readout, view) is told to the effects
// interface, which the main form fills in; by default it does nothing.
#ifndef LINEWORK_SCRIPT_SYSTEM_VARIABLES_H
#define LINEWORK_SCRIPT_SYSTEM_VARIABLES_H

#include <cstdint>
#include <functional>
#include <optional>

#include "drawing/system_variable_image.h"

namespace linework {

// Fixed elements the program's code names.
namespace sysvar {
inline constexpr int32_t kSoundSwitch = 35;       // byte
inline constexpr int32_t kLetMessagesThrough = 42;  // byte: pump and Esc test between script lines
inline constexpr int32_t kStepMode = 43;          // byte: script trace
inline constexpr int32_t kNormUpperCase = 47;     // byte
inline constexpr int32_t kTemporaryAdds = 55;     // byte
inline constexpr int32_t kYear = 12;              // integers 12..19: year, month, day, day of week, h, min, s, ms
inline constexpr int32_t kBackground = 23;        // integer; 24..278 the colour table 1..255
inline constexpr int32_t kTimer1 = 325;           // integer: Timer1 interval (ms)
inline constexpr int32_t kTimer2 = 373;           // integer: Timer2 interval (ms)
inline constexpr int32_t kFirstLayer = 375;       // integers 375..630: layer words
// Doubles 520..535: the four-point mapping's source corners 1..4 (x, y each), then its target's;
// 536 the sine below which two sides of a quadrilateral count as parallel.
inline constexpr int32_t kQuadSource = 520;
inline constexpr int32_t kQuadTarget = 528;
inline constexpr int32_t kQuadParallelTolerance = 536;
inline constexpr double kCoordinateLimit = 1e19;
}  // namespace sysvar

// A write's consequence outside the arrays.
enum class SystemVariableEffect {
    Readout,          // the coordinate readout is rewritten
    ModeButtons,      // mode buttons, grid and cursor follow the switches
    Status,           // the status panel is refreshed
    View,             // the view transform is recomputed
    SnapMarkersHide,  // before a store: snap markers erased (shown again with SnapMarkersShow)
    SnapMarkersShow,
    RubberBandsErase,
    CursorHide,       // around a store of the cursor geometry
    CursorShow,
    GridErase,
    SoundStop,
    ScriptStatus,     // the script trace panel shows the new value
    Background,       // the form's colour follows the background colour
};

class SystemVariableEffects {
public:
    virtual ~SystemVariableEffects() = default;
    virtual void Changed(SystemVariableEffect) {}
    // Timer 1 (the TIMER hook) or 2 (blinking): enabled exactly when the interval is positive.
    virtual void TimerChanged(int /*timer*/, bool /*enabled*/, uint32_t /*intervalMs*/) {}
};

// The clock's fields as the integers 12..19 hold them (day of week 0 = Sunday).
struct ClockFields {
    int32_t year, month, day, dayOfWeek, hour, minute, second, millisecond;
};

// The local time now.
ClockFields LocalClockFields();

class SystemVariables {
public:
    enum class Access { Read, Write };

    SystemVariables(SystemVariableImage& image, SystemVariableEffects& effects,
                    std::function<ClockFields()> clock = LocalClockFields)
        : image_(image), effects_(effects), clock_(std::move(clock)) {}

    // The element's value after the access; nothing for a number outside 0..1498.
    std::optional<double> AccessSystemVariable(Access access, int32_t number, double value = 0);
    double Read(int32_t number) { return AccessSystemVariable(Access::Read, number).value_or(0); }
    void Write(int32_t number, double value) { AccessSystemVariable(Access::Write, number, value); }

    SystemVariableImage& Image() { return image_; }

private:
    void WriteByte(int32_t k, double value);
    void WriteInteger(int32_t k, int32_t value);
    void WriteDouble(int32_t k, double value);
    bool IntegerAllowed(int32_t k, int32_t value) const;
    void RefreshClock();

    SystemVariableImage& image_;
    SystemVariableEffects& effects_;
    std::function<ClockFields()> clock_;
};

}  // namespace linework

#endif
