// The current properties saved for a scope and put back at its end: operations that add entities
// with other properties than the user's (copies keeping their own, a script's entity made from its
// variables) set them for their adders and leave the user's as they were.
#ifndef LINEWORK_DRAWING_SAVED_PROPERTIES_H
#define LINEWORK_DRAWING_SAVED_PROPERTIES_H

#include <array>
#include <cstdint>

#include "drawing/layer_table.h"

namespace linework {

class SavedProperties {
public:
    explicit SavedProperties(SystemVariableImage& variables) : variables_(variables) {
        for (int32_t i = 0; i < kCount; ++i) integers_[static_cast<size_t>(i)] = variables.Integer(CurrentProperties::kFirst + i);
        markerSize_ = variables.Double(CurrentProperties::kMarkerSize);
        patternScale_ = variables.Double(CurrentProperties::kPatternScale);
    }
    ~SavedProperties() {
        for (int32_t i = 0; i < kCount; ++i) variables_.SetInteger(CurrentProperties::kFirst + i, integers_[static_cast<size_t>(i)]);
        variables_.SetDouble(CurrentProperties::kMarkerSize, markerSize_);
        variables_.SetDouble(CurrentProperties::kPatternScale, patternScale_);
    }
    SavedProperties(const SavedProperties&) = delete;
    SavedProperties& operator=(const SavedProperties&) = delete;

private:
    static constexpr int32_t kCount = 8;
    SystemVariableImage& variables_;
    std::array<int32_t, kCount> integers_{};
    double markerSize_ = 0;
    double patternScale_ = 0;
};

}  // namespace linework

#endif
