#include "shell/view_settings.h"

namespace lect32 {
namespace {

ViewSettings globalSettings;

}  // namespace

// The colour tables have no member initialisers (an array of equal values would have to spell
// every one out), so the constructor fills them, by index: the members are packed, and a pointer
// into them would claim an alignment they do not have.
ViewSettings::ViewSettings() {
    for (size_t i = 0; i < kCaptionColours; ++i) captionColours[i] = kSystemColour;
    for (size_t i = 0; i < kMenuColours; ++i) menuColours[i] = kSystemColour;
    for (size_t i = 0; i < kChapterColours; ++i) chapterColours[i] = kSystemColour;
    for (size_t i = 0; i < kDockColours; ++i) dockColours[i] = kSystemColour;
}

void ResetViewSettings(ViewSettings* settings) { *(settings ? settings : &globalSettings) = ViewSettings(); }

void GetViewSettings(ViewSettings& out) { out = globalSettings; }

void StoreViewSettings(const ViewSettings& settings) { globalSettings = settings; }

}  // namespace lect32
