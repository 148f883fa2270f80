// The coordinate readout of the status bar: the cursor's place as the user asked to see it,
// absolute, relative to the user origin, or polar from the reference point while a rubber band
// is shown; or, during an object selection and a scale drag, what those show instead.
#ifndef LINEWORK_DISPLAY_COORDINATE_READOUT_H
#define LINEWORK_DISPLAY_COORDINATE_READOUT_H

#include <cstdint>
#include <string>

#include "drawing/geometry.h"

namespace linework {

struct ReadoutSettings {
    bool selectionReadout = true;    // the selection text during an object selection
    bool display = true;             // off: the readout is empty
    bool relative = false;           // the cursor minus the user origin
    bool alwaysPolar = false;
    bool polarWhileDragging = true;  // polar while a rubber band is shown
    bool unitNames = true;
    bool flipX = false, flipY = false, swap = false;
    // Prefix characters; a code below 32 means none.
    int polarPrefix = 'R', relativePrefix = 'U', absolutePrefix = 'G';
    char polarSeparator = '<';
    int lengthDecimals = 1;
    // The angle's format: negative the shortest general text, otherwise field width in bits
    // 8-15 and decimals in bits 0-7.
    int angleFormat = 3;
    int angleUnit = 0;       // 0 degrees ("st"), 1 grads ("gr"), other radians ("rad")
    int32_t subUnits = 0;    // sub-units of a unit; 0: lengths are plain numbers
    std::string majorUnit = "m", minorUnit = "cm";
};

struct ReadoutState {
    bool selecting = false;      // an object selection waits
    std::string selectionText;
    bool scaleDrag = false;      // a scale drag without a rubber band
    double scaleFactor = 1;
    bool rubberBandShown = false;
    Point cursor, reference, userOrigin;
};

// The text of status panel 2.
std::string FormatReadout(const ReadoutState& state, const ReadoutSettings& settings);

// A number by a format word (as dimensions format theirs): negative the shortest general text;
// otherwise fixed with the field width of bits 8-15 and the decimals of bits 0-7; "." as the
// decimal separator.
std::string FormatReadoutNumber(int formatWord, double value);
// A length with the settings' decimals, or with sub-units as whole part and fraction x factor.
std::string FormatLength(double value, const ReadoutSettings& settings);
// "st", "gr" or "rad" by the angle unit.
const char* AngleUnitName(int angleUnit);

}  // namespace linework

#endif
