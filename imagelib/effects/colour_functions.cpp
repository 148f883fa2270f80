// The three colour functions. Brightness/contrast and the offsets act on each channel alone, so
// they are tables of 256 values built once per call; HSV mixing works on the whole pixel.
#include "effects/colour_functions.h"

#include <algorithm>
#include <cmath>

namespace pixmill::effects {

namespace {

// Settings past the dialogs' ranges would overflow the arithmetic.
constexpr int kSettingLimit = 127;

int limited(int setting) { return std::clamp(setting, -kSettingLimit, kSettingLimit); }

uint8_t toByte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

std::array<uint8_t, 256> offsetTable(int offset) {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = toByte(v + limited(offset));
    return table;
}

// The angle factor is slightly above pi, so a whole third of the circle leaves a trace of the
// channel's own value (d is about 3e-12 there), too small to move a rounded result; kept so the
// mixing of other angles matches what the library always gave.
constexpr double kHalfTurn = 3.141596;

}  // namespace

BrightnessContrast::BrightnessContrast(int brightness, int contrast) {
    const int b = limited(brightness);
    const int c = limited(contrast);
    for (int v = 0; v < 256; ++v) table_[v] = toByte((v - 128) * (c + 128) / 128 + b + 128);
}

void BrightnessContrast::operator()(int& r, int& g, int& b) const {
    r = table_[toByte(r)];
    g = table_[toByte(g)];
    b = table_[toByte(b)];
}

void BrightnessContrast::mapBgr(uint8_t* bgr, int count) const {
    std::transform(bgr, bgr + 3 * static_cast<size_t>(count), bgr, [this](uint8_t v) { return table_[v]; });
}

RgbOffsets::RgbOffsets(int red, int green, int blue)
    : red_(offsetTable(red)), green_(offsetTable(green)), blue_(offsetTable(blue)) {}

void RgbOffsets::operator()(int& r, int& g, int& b) const {
    r = red_[toByte(r)];
    g = green_[toByte(g)];
    b = blue_[toByte(b)];
}

void RgbOffsets::mapBgr(uint8_t* bgr, int count) const {
    for (int x = 0; x < count; ++x, bgr += 3) {
        bgr[0] = blue_[bgr[0]];
        bgr[1] = green_[bgr[1]];
        bgr[2] = red_[bgr[2]];
    }
}

HsvMixing::HsvMixing(int hue, int saturation, int value) : value_(limited(value)) {
    // Whole thirds of the circle are channel rotations; the rest (0..120 degrees) is mixed.
    int n = hue % 360;
    int forward = 0;
    while (n > 120) {
        ++forward;
        n -= 120;
    }
    while (n < 0) {
        --forward;
        n += 120;
    }
    turns_ = (forward % 3 + 3) % 3;
    keep_ = (std::cos(n * kHalfTurn / 120) + 1) / 2;
    take_ = 1 - keep_;
    const int s = limited(saturation);
    spread_ = s < 0 ? (s + 127) / 128.0 : s / 64.0 + 1;
}

void HsvMixing::operator()(int& r, int& g, int& b) const {
    for (int t = 0; t < turns_; ++t) {
        const int red = r;
        r = g;
        g = b;
        b = red;
    }
    const int r1 = static_cast<int>(take_ * g + keep_ * r + 0.5);
    const int g1 = static_cast<int>(take_ * b + keep_ * g + 0.5);
    const int b1 = static_cast<int>(take_ * r + keep_ * b + 0.5);
    const int mean = (r1 + g1 + b1) / 3;
    // Rounded to nearest: truncating towards zero would lift every channel below the mean by one
    // even with nothing asked, and a whole turn would no longer be a plain rotation.
    const auto spread = [&](int c) {
        return toByte(mean + static_cast<int>(std::floor((c - mean) * spread_ + 0.5)) + value_);
    };
    r = spread(r1);
    g = spread(g1);
    b = spread(b1);
}

void HsvMixing::mapBgr(uint8_t* bgr, int count) const {
    for (int x = 0; x < count; ++x, bgr += 3) {
        int r = bgr[2], g = bgr[1], b = bgr[0];
        (*this)(r, g, b);
        bgr[0] = static_cast<uint8_t>(b);
        bgr[1] = static_cast<uint8_t>(g);
        bgr[2] = static_cast<uint8_t>(r);
    }
}

}  // namespace pixmill::effects
