#include "script/system_variables.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "drawing/angles.h"
#include "drawing/number_input.h"
#include "winplat/refusal.h"

namespace linework {

namespace {

constexpr winplat::Refuser refuse("linework: system variables");

using Effect = SystemVariableEffect;

bool In(int32_t k, int32_t low, int32_t high) { return k >= low && k <= high; }

// A layer word: colour bits 0-7, width 8-15, line type 16-23 (0..6), flags above; no colour or
// width of 0, and none of the bits the program keeps for itself.
bool ValidLayerWord(int32_t word) {
    auto bits = static_cast<uint32_t>(word);
    return (bits & 0xFF) != 0 && ((bits >> 8) & 0xFF) != 0 && ((bits >> 16) & 0xFF) < 7 && (bits & 0x2F000000u) == 0;
}

}  // namespace

ClockFields LocalClockFields() {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
            local.tm_hour,        local.tm_min,     local.tm_sec,  static_cast<int32_t>(ms)};
}

void SystemVariables::RefreshClock() {
    ClockFields now = clock_();
    const int32_t fields[] = {now.year, now.month, now.day, now.dayOfWeek, now.hour, now.minute, now.second,
                              now.millisecond};
    for (int32_t i = 0; i < 8; ++i) image_.SetInteger(sysvar::kYear + i, fields[i]);
}

std::optional<double> SystemVariables::AccessSystemVariable(Access access, int32_t number, double value) {
    if (!In(number, 0, SystemVariableImage::kLastNumber)) return refuse(std::nullopt, "no such system variable");
    bool write = access == Access::Write;
    if (write && std::isnan(value)) {
        refuse.log("NaN is no value of a system variable");
        write = false;
    }
    if (number < SystemVariableImage::kFirstIntegerNumber) {
        if (write) WriteByte(number, value);
        return image_.Byte(number);
    }
    if (number < SystemVariableImage::kFirstDoubleNumber) {
        int32_t k = number - SystemVariableImage::kFirstIntegerNumber;
        if (write) {
            WriteInteger(k, SafeTrunc(value));
        } else if (In(k, sysvar::kYear, sysvar::kYear + 7)) {
            RefreshClock();
        }
        return image_.Integer(k);
    }
    int32_t k = number - SystemVariableImage::kFirstDoubleNumber;
    if (write) WriteDouble(k, value);
    return image_.Double(k);
}

void SystemVariables::WriteByte(int32_t k, double value) {
    if (k <= 5) return refuse.log("byte switches 0..5 are read-only");
    uint8_t on = value != 0 ? 1 : 0;
    if (k == 63) effects_.Changed(Effect::SnapMarkersHide);
    image_.SetByte(k, on);
    if (on && (k == 66 || k == 67)) image_.SetByte(k == 66 ? 67 : 66, 0);
    if (k == 63) effects_.Changed(Effect::SnapMarkersShow);
    if (In(k, 9, 17)) effects_.Changed(Effect::Readout);
    if (k == sysvar::kSoundSwitch && !on) effects_.Changed(Effect::SoundStop);
    if (k == sysvar::kStepMode) effects_.Changed(Effect::ScriptStatus);
    if (k == 56) effects_.Changed(Effect::Status);
    if (k == 62) effects_.Changed(Effect::View);
    if (In(k, 65, 68)) effects_.Changed(Effect::ModeButtons);
}

bool SystemVariables::IntegerAllowed(int32_t k, int32_t v) const {
    if (In(k, 0, 22)) return false;
    if (In(k, 24, 278)) return v != image_.Integer(sysvar::kBackground);
    if (In(k, 292, 294) || k == 374) return v >= 0;
    if (In(k, 302, 305)) return v >= 33;
    if (In(k, 326, 330) || In(k, 633, 636) || k == 694) return In(v, 0, 255);
    if (k == 331 || k == 332 || k == 638 || k == 639) return v < 32;
    if (k == 361) return In(v, 1, 255);
    if (k == 364) return std::abs(static_cast<int64_t>(v)) < 256;
    if (In(k, sysvar::kFirstLayer, sysvar::kFirstLayer + 255)) return ValidLayerWord(v);
    if (k == 637) return v < 7;
    if (k == 640 || k == 695) return v < 16;
    if (In(k, 641, 690)) {
        int32_t place = (k - 641) % 5;
        if (place == 0 && v < 0) return false;
        if (place == 4 && v >= 7) return false;
        return v < 256;
    }
    if (k == 691) return v < 3;
    return true;
}

void SystemVariables::WriteInteger(int32_t k, int32_t v) {
    if (!IntegerAllowed(k, v)) return refuse.log("value refused by the integer's rule");
    if (k == sysvar::kBackground) {
        // The colour that becomes the background gives its table entries the old background.
        int32_t old = image_.Integer(k);
        for (int32_t entry = 24; entry <= 278; ++entry)
            if (image_.Integer(entry) == v) image_.SetInteger(entry, old);
        image_.SetInteger(k, v);
        effects_.Changed(Effect::Background);
        effects_.Changed(Effect::Status);
        return;
    }
    if (k == 288) effects_.Changed(Effect::RubberBandsErase);
    bool cursor = In(k, 289, 294);
    if (cursor) effects_.Changed(Effect::CursorHide);
    if (k == 334) v = (v & 0xFF00) | (image_.Integer(k) & ~0xFF00);
    image_.SetInteger(k, v);
    if (cursor) effects_.Changed(Effect::CursorShow);
    if (k == sysvar::kTimer1 || k == sysvar::kTimer2)
        effects_.TimerChanged(k == sysvar::kTimer1 ? 1 : 2, v > 0, v > 0 ? static_cast<uint32_t>(v) : 0);
    if (k == 374 || k == 691) effects_.Changed(Effect::Readout);
    if (In(k, sysvar::kFirstLayer, sysvar::kFirstLayer + 255)) effects_.Changed(Effect::Status);
}

void SystemVariables::WriteDouble(int32_t k, double value) {
    value = std::clamp(value, -sysvar::kCoordinateLimit, sysvar::kCoordinateLimit);
    bool positive = k == 0 || k == 551 || k == 554 || k == 555 || k == 567 || In(k, 570, 573) || In(k, 579, 585);
    if (positive && !(value > 0)) return refuse.log("the double must be positive");
    if (k == 566) value = NormalizeAngle(value);
    bool snap = In(k, 562, 565);
    if (k == 581 || k == 582) effects_.Changed(Effect::GridErase);
    if (snap) effects_.Changed(Effect::SnapMarkersHide);
    image_.SetDouble(k, value);
    if (snap) effects_.Changed(Effect::SnapMarkersShow);
    if (k == 2 || k == 3) effects_.Changed(Effect::Readout);
    if (k == 580) effects_.Changed(Effect::Status);
    if (In(k, 581, 584)) effects_.Changed(Effect::ModeButtons);
    if (In(k, 585, 694)) effects_.Changed(Effect::View);
}

}  // namespace linework
