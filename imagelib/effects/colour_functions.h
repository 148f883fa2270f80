// Per-colour functions of the effects: brightness and contrast, RGB offsets and HSV mixing. Each
// is built once per call from its settings (clamped to the dialogs' ranges) and then maps colours
// one by one or whole rows of blue, green, red pixels.
#ifndef PIXMILL_EFFECTS_COLOUR_FUNCTIONS_H
#define PIXMILL_EFFECTS_COLOUR_FUNCTIONS_H

#include <array>
#include <cstdint>

namespace pixmill::effects {

class ColourFunction {
public:
    virtual ~ColourFunction() = default;
    // Maps `count` pixels stored blue, green, red, in place.
    virtual void mapBgr(uint8_t* bgr, int count) const = 0;
};

// v' = (v - 128) * (contrast + 128) / 128 + brightness + 128 per channel, clamped to 0..255.
class BrightnessContrast final : public ColourFunction {
public:
    BrightnessContrast(int brightness, int contrast);
    void operator()(int& r, int& g, int& b) const;
    void mapBgr(uint8_t* bgr, int count) const override;

private:
    std::array<uint8_t, 256> table_{};
};

// Each channel moved by its own offset, clamped to 0..255.
class RgbOffsets final : public ColourFunction {
public:
    RgbOffsets(int red, int green, int blue);
    void operator()(int& r, int& g, int& b) const;
    void mapBgr(uint8_t* bgr, int count) const override;

private:
    std::array<uint8_t, 256> red_{}, green_{}, blue_{};
};

// The hue turns the colour by mixing each channel with the next (a third of the circle moves red
// fully to green's value); saturation scales the distance from the pixel's mean, value adds to it.
class HsvMixing final : public ColourFunction {
public:
    HsvMixing(int hue, int saturation, int value);
    void operator()(int& r, int& g, int& b) const;
    void mapBgr(uint8_t* bgr, int count) const override;

private:
    int turns_ = 0;       // whole thirds of the circle, 0..2 forward
    double keep_ = 1.0;   // share of a channel's own value in the mix (d)
    double take_ = 0.0;   // share of the next channel's value (e = 1 - d)
    double spread_ = 1.0;  // factor on the distance from the mean
    int value_ = 0;
};

}  // namespace pixmill::effects

#endif
